// Numbered top-level windows, their gadgets (controls) and the event model the display-mode
// dialog waits on. Window 2 is the native window a windowed screen presents into.
//
// The controls are drawn by the service itself into each window's client pixels and driven by
// the platform's mouse and key events; a wait takes one platform event, lets the window and
// its controls handle it, and returns the event it produced or the window message it was.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <set>
#include <string>

#include "platform/platform.h"
#include "services/memory/object_table.h"
#include "services/operations.h"
#include "services/windows/canvas.h"
#include "services/windows/control.h"
#include "services/windows/event_state.h"
#include "services/windows/gadget_window.h"

namespace velko {

class WindowService {
 public:
  explicit WindowService(platform::Platform& platform);
  ~WindowService();
  WindowService(const WindowService&) = delete;
  WindowService& operator=(const WindowService&) = delete;

  void Start();  // window table and event state
  void GadgetsStart();

  // Windows.
  WindowHandle WindowOpen(int32_t number, int32_t x, int32_t y, int32_t width, int32_t height,
                          uint32_t flags, const std::string& title);
  void WindowClose(int32_t number);
  void WindowActivate();
  WindowHandle WindowHandleOf(int32_t number) const;
  int32_t EventWait();
  int32_t EventPoll();
  int32_t EventGadgetNumber() const;
  int32_t EventKind() const;
  int32_t EventWindowNumber() const;  // −1 when the event window is not in the table
  int64_t EventSecondParameter() const { return events_.secondParameter; }

  // Gadget creation, one operation per kind: the control handle, or 0.
  void GadgetList(WindowHandle window);
  WindowHandle GadgetText(int32_t number, int32_t x, int32_t y, int32_t width, int32_t height,
                          const std::string& text, uint32_t flags);
  WindowHandle GadgetButton(int32_t number, int32_t x, int32_t y, int32_t width, int32_t height,
                            const std::string& text, uint32_t flags);
  WindowHandle GadgetCheckBox(int32_t number, int32_t x, int32_t y, int32_t width, int32_t height,
                              const std::string& text, uint32_t flags);
  WindowHandle GadgetOption(int32_t number, int32_t x, int32_t y, int32_t width, int32_t height,
                            const std::string& text, uint32_t flags);
  WindowHandle GadgetDropDown(int32_t number, int32_t x, int32_t y, int32_t width, int32_t height,
                              uint32_t flags);
  WindowHandle GadgetListBox(int32_t number, int32_t x, int32_t y, int32_t width, int32_t height,
                             uint32_t flags);
  WindowHandle GadgetString(int32_t number, int32_t x, int32_t y, int32_t width, int32_t height,
                            const std::string& text, uint32_t flags);
  WindowHandle GadgetFrame(int32_t number, int32_t x, int32_t y, int32_t width, int32_t height,
                           const std::string& text, uint32_t flags);
  WindowHandle GadgetPanel(int32_t number, int32_t x, int32_t y, int32_t width, int32_t height);

  // Gadget operations, dispatched through the kind; unknown numbers do nothing.
  void GadgetItemAdd(int32_t number, int32_t position, const std::string& text);
  void GadgetItemRemove(int32_t number, int32_t position);
  void GadgetItemsClear(int32_t number);
  int32_t GadgetItemCount(int32_t number);
  int32_t GadgetItemStateGet(int32_t number, int32_t position);
  void GadgetItemStateSet(int32_t number, int32_t position, int32_t state);
  std::string GadgetItemTextGet(int32_t number, int32_t position);
  void GadgetItemTextSet(int32_t number, int32_t position, const std::string& text);
  int32_t GadgetStateGet(int32_t number);
  void GadgetStateSet(int32_t number, int32_t state);
  std::string GadgetTextGet(int32_t number);
  void GadgetTextSet(int32_t number, const std::string& text);
  void GadgetFree(int32_t number);
  void GadgetEnable(int32_t number, bool enabled);
  void GadgetShow(int32_t number, bool visible);
  WindowHandle GadgetHandle(int32_t number) const;

  // Where things are, for scripted input: a gadget's face and the rows of its open list, in
  // client coordinates.
  std::optional<platform::Rect> GadgetFaceRect(int32_t number) const;
  std::optional<platform::Rect> GadgetItemRect(int32_t number, int32_t position) const;
  // The native window id of a window number, 0 when it is not open.
  std::uint32_t NativeIdOf(int32_t number) const;
  // The control that has the keyboard focus in a window, 0 for none.
  WindowHandle FocusedControl(int32_t number) const;
  // The client pixels last painted for a window, null when it is not open.
  const gadgets::Canvas* ClientPixels(int32_t number) const;
  bool ClassRegistered(const std::string& name) const { return classes_.count(name) != 0; }
  int32_t WindowCapacity() const { return windows_.Capacity(); }
  int32_t GadgetCapacity() const { return gadgets_.Capacity(); }

  // The native window behind a handle this service made, or null.
  platform::NativeWindow* NativeFor(WindowHandle window);

  // Shutdown: closes every window from the highest number down to 0.
  void CloseAll();

 private:
  struct WindowRecord {
    WindowHandle handle = 0;
    int32_t shortcutCount = 0;  // Tab and Shift+Tab once open
    std::unique_ptr<gadgets::GadgetWindow> window;
  };
  struct GadgetRecord {
    WindowHandle control = 0;
    gadgets::GadgetKind kind = gadgets::GadgetKind::Text;
  };
  const WindowRecord* RecordOf(int32_t number) const;
  gadgets::GadgetWindow* WindowByHandle(WindowHandle handle) const;
  WindowRecord* RecordByNativeId(std::uint32_t id);
  const GadgetRecord& GadgetEntry(int32_t number) const;
  // The live control behind a gadget number and the window holding it.
  gadgets::Control* ControlOf(int32_t number, gadgets::GadgetWindow** window = nullptr) const;
  template <typename Make>
  WindowHandle CreateGadget(int32_t number, gadgets::GadgetKind kind, Make make);
  void Changed(gadgets::GadgetWindow* window);
  int32_t TakeEvent(bool wait);
  void Dispatch(const platform::InputEvent& event);

  platform::Platform& platform_;
  gadgets::TextCache texts_;
  ObjectTable<WindowRecord> windows_;
  ObjectTable<GadgetRecord> gadgets_;
  GadgetRecord spareGadget_;  // what numbers beyond the gadget table read
  std::set<std::string> classes_;
  gadgets::EventState events_;
  WindowHandle currentWindow_ = 0;
  WindowHandle gadgetParent_ = 0;
  WindowHandle nextHandle_ = 0x100;
  int optionRun_ = 0;
  bool optionRunOpen_ = false;
  bool altHeld_ = false;
};

}  // namespace velko
