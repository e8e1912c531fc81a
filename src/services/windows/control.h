// One gadget: a control drawn by the service itself inside a window's client area. The
// virtual functions are the kind's operation table; the base class gives every slot its
// fallback, so each kind only writes what it does differently.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/platform.h"
#include "platform/scan_codes.h"
#include "services/operations.h"
#include "services/windows/canvas.h"

namespace velko::gadgets {

enum class GadgetKind { Text, Button, CheckBox, Option, DropDown, ListBox, String, Frame, Panel };

// Window style bits the controls keep from their creation flags.
inline constexpr uint32_t kStyleTabStop = 0x00010000;
inline constexpr uint32_t kStyleGroup = 0x00020000;
inline constexpr uint32_t kStyleDisabled = 0x08000000;
inline constexpr uint32_t kStyleVisible = 0x10000000;

// Notification codes a control sends its window (the event type of a gadget event).
inline constexpr int32_t kClicked = 0;
inline constexpr int32_t kSelectionChanged = 1;
inline constexpr int32_t kDoubleClicked = 2;
inline constexpr int32_t kDroppedDown = 7;
inline constexpr int32_t kClosedUp = 8;

// DirectInput scan codes of the keys the controls understand.
namespace keys = platform::scan;

struct KeyPress {
  int scanCode = 0;
  bool shift = false;
  bool alt = false;
};

// What a control reports back while it handles input.
struct ControlEvents {
  bool notified = false;
  int32_t code = 0;           // the last notification; it wins, as with several WM_COMMANDs
  bool repaint = false;       // the control's look changed
  bool optionTicked = false;  // an option was chosen: the others of its run are cleared
  void Notify(int32_t notification) {
    notified = true;
    code = notification;
    repaint = true;
  }
};

class Control {
 public:
  Control(GadgetKind kind, WindowHandle handle, int32_t id, platform::Rect rect, std::string text,
          uint32_t style, TextCache& texts);
  virtual ~Control();
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  GadgetKind Kind() const { return kind_; }
  WindowHandle Handle() const { return handle_; }
  int32_t Id() const { return id_; }  // the gadget number it was created under
  const platform::Rect& Bounds() const { return rect_; }
  uint32_t Style() const { return style_; }
  bool Enabled() const { return (style_ & kStyleDisabled) == 0; }
  bool Visible() const { return (style_ & kStyleVisible) != 0; }
  void SetEnabled(bool enabled);
  void SetVisible(bool visible);
  bool TabStop() const { return (style_ & kStyleTabStop) != 0; }
  int OptionRun() const { return optionRun_; }
  void SetOptionRun(int run) { optionRun_ = run; }

  // Operation table slots (fallbacks here).
  virtual int32_t StateGet() const { return 0; }
  virtual void StateSet(int32_t) {}
  virtual std::string TextGet() const;  // the window text, at most 5000 characters
  virtual void TextSet(const std::string& text) { text_ = text; }
  virtual void ItemAdd(int32_t, const std::string&) {}
  virtual void ItemRemove(int32_t) {}
  virtual void ItemsClear() {}
  virtual int32_t ItemCount() const { return 0; }
  virtual int32_t ItemStateGet(int32_t) const { return 0; }
  virtual void ItemStateSet(int32_t, int32_t) {}
  virtual std::string ItemTextGet(int32_t) const { return {}; }
  virtual void ItemTextSet(int32_t, const std::string&) {}

  // Look and feel.
  virtual bool TakesFocus() const { return true; }  // by a click
  virtual bool HitTest(int x, int y) const;         // mouse goes to it (static text: never)
  // The part drawn while nothing is dropped: a drop-down's field, otherwise the bounds.
  virtual platform::Rect Face() const { return rect_; }
  virtual void Paint(Canvas& canvas, bool focused) const = 0;
  // Drawn after every control: a list that has dropped down over the others.
  virtual void PaintOverlay(Canvas&) const {}
  virtual bool Dropped() const { return false; }
  virtual bool OverlayContains(int, int) const { return false; }
  virtual void CloseUp(ControlEvents&, bool) {}
  // Where item `position` of a dropped or listed control is drawn, in client coordinates.
  virtual std::optional<platform::Rect> ItemRect(int32_t) const { return std::nullopt; }

  virtual void MouseDown(ControlEvents&, int, int) {}
  virtual void MouseMove(ControlEvents&, int, int) {}
  virtual void MouseUp(ControlEvents&, int, int) {}
  virtual void KeyDown(ControlEvents&, const KeyPress&) {}
  virtual void KeyUp(ControlEvents&, const KeyPress&) {}
  virtual void FocusLost(ControlEvents&) {}

 protected:
  // The label, black when enabled and grey when not, clipped to `clip`.
  void PaintLabel(Canvas& canvas, const std::string& text, int x, int y,
                  const platform::Rect& clip) const;
  TextCache& texts_;
  std::string text_;
  platform::Rect rect_;

 private:
  GadgetKind kind_;
  WindowHandle handle_;
  int32_t id_;
  uint32_t style_;
  int optionRun_ = 0;
};

// The kinds. Style is the full window style the kind computed from the creation flags.
std::unique_ptr<Control> MakeTextControl(WindowHandle handle, int32_t id, platform::Rect rect,
                                         std::string text, uint32_t style, bool sunken,
                                         TextCache& texts);
std::unique_ptr<Control> MakeButton(WindowHandle handle, int32_t id, platform::Rect rect,
                                    std::string text, uint32_t style, TextCache& texts);
std::unique_ptr<Control> MakeCheckBox(WindowHandle handle, int32_t id, platform::Rect rect,
                                      std::string text, uint32_t style, TextCache& texts);
std::unique_ptr<Control> MakeOption(WindowHandle handle, int32_t id, platform::Rect rect,
                                    std::string text, uint32_t style, TextCache& texts);
std::unique_ptr<Control> MakeDropDown(WindowHandle handle, int32_t id, platform::Rect rect,
                                      uint32_t style, TextCache& texts);
std::unique_ptr<Control> MakeListBox(WindowHandle handle, int32_t id, platform::Rect rect,
                                     uint32_t style, TextCache& texts);
std::unique_ptr<Control> MakeString(WindowHandle handle, int32_t id, platform::Rect rect,
                                    std::string text, uint32_t style, bool sunken,
                                    TextCache& texts);
std::unique_ptr<Control> MakeFrame(WindowHandle handle, int32_t id, platform::Rect rect,
                                   std::string text, uint32_t style, bool groupBox,
                                   TextCache& texts);
std::unique_ptr<Control> MakePanel(WindowHandle handle, int32_t id, platform::Rect rect,
                                   uint32_t style, TextCache& texts);

}  // namespace velko::gadgets
