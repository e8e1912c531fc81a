// One top-level window of the service: its native window, its controls in creation order,
// the keyboard focus, the mouse capture, and the client pixels they are painted into.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "platform/platform.h"
#include "services/windows/canvas.h"
#include "services/windows/control.h"

namespace velko::gadgets {

// A notification a control sent while the window handled one input event.
struct Notification {
  int32_t gadget = 0;  // the control's identifier (its gadget number at creation)
  int32_t code = 0;
};

class GadgetWindow {
 public:
  GadgetWindow(WindowHandle handle, std::unique_ptr<platform::NativeWindow> native, int clientWidth,
               int clientHeight);

  WindowHandle Handle() const { return handle_; }
  platform::NativeWindow& Native() { return *native_; }
  const Canvas& Pixels() const { return canvas_; }

  Control& Add(std::unique_ptr<Control> control);
  void Remove(WindowHandle control);
  Control* Find(WindowHandle control) const;
  const std::vector<std::unique_ptr<Control>>& Controls() const { return controls_; }
  const Control* Focus() const { return focus_; }

  // Input in client coordinates; each returns the last notification sent, if any.
  std::optional<Notification> MouseDown(int x, int y);
  std::optional<Notification> MouseMove(int x, int y);
  std::optional<Notification> MouseUp(int x, int y);
  std::optional<Notification> KeyDown(const KeyPress& key);
  std::optional<Notification> KeyUp(const KeyPress& key);
  // The window's shortcuts, Tab and Shift+Tab.
  std::optional<Notification> MoveFocus(bool forward);
  std::optional<Notification> SetFocus(Control* control);
  // The window lost the keyboard: held keys and open lists are dropped.
  std::optional<Notification> Deactivated();

  void Invalidate() { dirty_ = true; }
  // Paints and presents the client area when its look changed (or when forced, after the
  // platform lost it). Windows without gadgets are left alone: a screen may present there.
  void Repaint(bool force = false);

 private:
  Control* ControlAt(int x, int y) const;
  Control* DroppedControl() const;
  std::optional<Notification> Finish(Control* source, const ControlEvents& events);

  WindowHandle handle_;
  std::unique_ptr<platform::NativeWindow> native_;
  Canvas canvas_;
  std::vector<std::unique_ptr<Control>> controls_;
  Control* focus_ = nullptr;
  Control* capture_ = nullptr;
  bool dirty_ = true;
};

}  // namespace velko::gadgets
