#include "services/windows/control.h"

namespace velko::gadgets {

namespace {
constexpr size_t kMaxWindowText = 5000;
}

Control::Control(GadgetKind kind, WindowHandle handle, int32_t id, platform::Rect rect,
                 std::string text, uint32_t style, TextCache& texts)
    : texts_(texts),
      text_(std::move(text)),
      rect_(rect),
      kind_(kind),
      handle_(handle),
      id_(id),
      style_(style) {}

Control::~Control() = default;

void Control::SetEnabled(bool enabled) {
  style_ = enabled ? (style_ & ~kStyleDisabled) : (style_ | kStyleDisabled);
}

void Control::SetVisible(bool visible) {
  style_ = visible ? (style_ | kStyleVisible) : (style_ & ~kStyleVisible);
}

std::string Control::TextGet() const {
  return text_.substr(0, kMaxWindowText);
}

bool Control::HitTest(int x, int y) const {
  return Visible() && Contains(rect_, x, y);
}

void Control::PaintLabel(Canvas& canvas, const std::string& text, int x, int y,
                         const platform::Rect& clip) const {
  const platform::TextRaster& raster = texts_.Line(text);
  if (!Enabled()) {
    // The engraved look of disabled text: white below right, grey on top.
    canvas.Text(raster, x + 1, y + 1, kButtonHighlight, clip);
    canvas.Text(raster, x, y, kGreyText, clip);
    return;
  }
  canvas.Text(raster, x, y, kWindowText, clip);
}

}  // namespace velko::gadgets
