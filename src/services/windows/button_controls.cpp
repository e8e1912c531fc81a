// Push buttons, check boxes and option buttons: pressed by a click (mouse down and up inside)
// or by Space on the focused control, which reports the click to the window.
#include <algorithm>
#include <cmath>

#include "services/windows/control.h"

namespace velko::gadgets {
namespace {

constexpr uint32_t kDefaultPushButton = 1;
constexpr int kBoxSize = 13;
constexpr int kLabelGap = 4;

// Shared pressing logic: armed by mouse down or Space down, fired by the matching release.
class PressableControl : public Control {
 public:
  using Control::Control;

  void MouseDown(ControlEvents& events, int, int) override {
    tracking_ = true;
    SetPressed(events, true);
  }
  void MouseMove(ControlEvents& events, int x, int y) override {
    if (tracking_) SetPressed(events, Contains(rect_, x, y));
  }
  void MouseUp(ControlEvents& events, int x, int y) override {
    if (!tracking_) return;
    tracking_ = false;
    SetPressed(events, false);
    if (Contains(rect_, x, y)) Fire(events);
  }
  void KeyDown(ControlEvents& events, const KeyPress& key) override {
    if (key.scanCode != keys::kSpace || tracking_) return;
    spaceHeld_ = true;
    SetPressed(events, true);
  }
  void KeyUp(ControlEvents& events, const KeyPress& key) override {
    if (key.scanCode != keys::kSpace || !spaceHeld_) return;
    spaceHeld_ = false;
    SetPressed(events, false);
    Fire(events);
  }
  void FocusLost(ControlEvents& events) override {
    spaceHeld_ = false;
    tracking_ = false;
    SetPressed(events, false);
  }

 protected:
  virtual void Fire(ControlEvents& events) { events.Notify(kClicked); }
  bool Pressed() const { return pressed_; }

 private:
  void SetPressed(ControlEvents& events, bool pressed) {
    if (pressed_ == pressed) return;
    pressed_ = pressed;
    events.repaint = true;
  }
  bool pressed_ = false;
  bool tracking_ = false;
  bool spaceHeld_ = false;
};

class Button final : public PressableControl {
 public:
  Button(WindowHandle handle, int32_t id, platform::Rect rect, std::string text, uint32_t style,
         TextCache& texts)
      : PressableControl(GadgetKind::Button, handle, id, rect, std::move(text), style, texts) {}

  // A push button has no check state: reading it gives 0 and setting it does nothing.
  int32_t StateGet() const override { return 0; }

  void Paint(Canvas& canvas, bool focused) const override {
    platform::Rect face = rect_;
    canvas.Fill(face, kButtonFace);
    const bool isDefault = (Style() & 0xF) == kDefaultPushButton;
    if (isDefault) {
      canvas.Border(face, kFrameBlack, kFrameBlack);
      face = Inset(face, 1);
    }
    if (Pressed()) {
      canvas.PushedEdge(face);
    } else {
      canvas.RaisedEdge(face);
    }
    const platform::TextRaster& raster = texts_.Line(text_);
    const int shift = Pressed() ? 1 : 0;
    const int x = rect_.x + (rect_.width - raster.width) / 2 + shift;
    const int y = rect_.y + (rect_.height - raster.height) / 2 + shift;
    PaintLabel(canvas, text_, x, y, Inset(face, 2));
    if (focused) canvas.DottedRect(Inset(face, 3));
  }
};

class CheckBox : public PressableControl {
 public:
  CheckBox(GadgetKind kind, WindowHandle handle, int32_t id, platform::Rect rect, std::string text,
           uint32_t style, TextCache& texts)
      : PressableControl(kind, handle, id, rect, std::move(text), style, texts) {}

  int32_t StateGet() const override { return state_; }
  void StateSet(int32_t state) override { state_ = state != 0 ? 1 : 0; }

  void Paint(Canvas& canvas, bool focused) const override {
    canvas.Fill(rect_, kButtonFace);
    const int boxY = rect_.y + (rect_.height - kBoxSize) / 2;
    PaintMark(canvas, rect_.x, boxY);
    const platform::TextRaster& raster = texts_.Line(text_);
    const int labelX = rect_.x + kBoxSize + kLabelGap;
    const int labelY = rect_.y + (rect_.height - raster.height) / 2;
    // The label may run past the control's right edge: the system font can be wider than
    // the one the layout was made for, and a cut label reads worse than a long one.
    const platform::Rect labelClip{rect_.x, rect_.y, std::max(canvas.Width() - rect_.x, 0),
                                   rect_.height};
    PaintLabel(canvas, text_, labelX, labelY, labelClip);
    if (focused && !text_.empty()) {
      const platform::Rect around{labelX - 1, labelY, raster.width + 2, raster.height};
      canvas.DottedRect(Intersect(around, labelClip));
    }
  }

 protected:
  void Fire(ControlEvents& events) override {
    state_ = state_ == 0 ? 1 : 0;
    events.Notify(kClicked);
  }
  virtual void PaintMark(Canvas& canvas, int x, int y) const {
    const platform::Rect box{x, y, kBoxSize, kBoxSize};
    canvas.SunkenEdge(box);
    canvas.Fill(Inset(box, 2), Pressed() || !Enabled() ? kButtonFace : kWindowBackground);
    if (state_ != 0) canvas.Tick(x + 3, y + 3, Enabled() ? kWindowText : kGreyText);
  }
  int32_t state_ = 0;
};

class Option final : public CheckBox {
 public:
  Option(WindowHandle handle, int32_t id, platform::Rect rect, std::string text, uint32_t style,
         TextCache& texts)
      : CheckBox(GadgetKind::Option, handle, id, rect, std::move(text), style, texts) {}

 protected:
  void Fire(ControlEvents& events) override {
    state_ = 1;
    events.optionTicked = true;
    events.Notify(kClicked);
  }
  void PaintMark(Canvas& canvas, int x, int y) const override {
    // A round well: shadowed on its upper left half, lit on its lower right.
    constexpr double kCentre = 5.5;
    for (int row = 0; row < 12; ++row) {
      for (int column = 0; column < 12; ++column) {
        const double dx = column - kCentre;
        const double dy = row - kCentre;
        const double distance = std::sqrt(dx * dx + dy * dy);
        if (distance > 6.0) continue;
        Colour colour = Pressed() || !Enabled() ? kButtonFace : kWindowBackground;
        if (distance > 4.2) colour = dx + dy < 0 ? kButtonShadow : kButtonHighlight;
        if (state_ != 0 && distance < 2.0) colour = Enabled() ? kWindowText : kGreyText;
        canvas.Pixel(x + column, y + row, colour);
      }
    }
  }
};

}  // namespace

std::unique_ptr<Control> MakeButton(WindowHandle handle, int32_t id, platform::Rect rect,
                                    std::string text, uint32_t style, TextCache& texts) {
  return std::make_unique<Button>(handle, id, rect, std::move(text), style, texts);
}

std::unique_ptr<Control> MakeCheckBox(WindowHandle handle, int32_t id, platform::Rect rect,
                                      std::string text, uint32_t style, TextCache& texts) {
  return std::make_unique<CheckBox>(GadgetKind::CheckBox, handle, id, rect, std::move(text), style,
                                    texts);
}

std::unique_ptr<Control> MakeOption(WindowHandle handle, int32_t id, platform::Rect rect,
                                    std::string text, uint32_t style, TextCache& texts) {
  return std::make_unique<Option>(handle, id, rect, std::move(text), style, texts);
}

}  // namespace velko::gadgets
