// The kinds with a plain look: static text, frames, string fields, list boxes and panels.
// They keep their state, text and items; only the list box answers the mouse and keys.
#include <algorithm>
#include <vector>

#include "services/windows/list_control.h"

namespace velko::gadgets {
namespace {

constexpr uint32_t kCentred = 1;       // SS_CENTER
constexpr uint32_t kRightAligned = 2;  // SS_RIGHT

class TextControl final : public Control {
 public:
  TextControl(WindowHandle handle, int32_t id, platform::Rect rect, std::string text,
              uint32_t style, bool sunken, TextCache& texts)
      : Control(GadgetKind::Text, handle, id, rect, std::move(text), style, texts),
        sunken_(sunken) {}

  bool TakesFocus() const override { return false; }
  bool HitTest(int, int) const override { return false; }  // clicks fall through to the window

  void Paint(Canvas& canvas, bool) const override {
    canvas.Fill(rect_, kButtonFace);
    platform::Rect area = rect_;
    if (sunken_) {
      canvas.SunkenEdge(rect_);
      area = Inset(rect_, 2);
    }
    // Static text wraps at word boundaries, line under line from the top.
    int y = area.y;
    const int lineHeight = texts_.LineHeight();
    const std::vector<std::string> lines = texts_.Wrap(text_, area.width);
    // A line that starts inside the area is shown whole, as when the font is taller than the
    // one the layout was made for.
    const int startingInside = std::min(static_cast<int>(lines.size()),
                                        (area.height + lineHeight - 1) / std::max(lineHeight, 1));
    area.height = std::max(area.height, startingInside * lineHeight);
    for (const std::string& line : lines) {
      const int width = texts_.Width(line);
      int x = area.x;
      if ((Style() & 3) == kCentred) x += (area.width - width) / 2;
      if ((Style() & 3) == kRightAligned) x += area.width - width;
      PaintLabel(canvas, line, x, y, area);
      y += lineHeight;
    }
  }

 private:
  bool sunken_;
};

class Frame final : public Control {
 public:
  Frame(WindowHandle handle, int32_t id, platform::Rect rect, std::string text, uint32_t style,
        bool groupBox, TextCache& texts)
      : Control(GadgetKind::Frame, handle, id, rect, std::move(text), style, texts),
        groupBox_(groupBox) {}

  bool TakesFocus() const override { return false; }
  bool HitTest(int, int) const override { return false; }

  void Paint(Canvas& canvas, bool) const override {
    if (!groupBox_) {
      canvas.SunkenEdge(rect_);
      return;
    }
    // An etched rectangle with its title cut into the top edge.
    const int half = texts_.LineHeight() / 2;
    const platform::Rect box{rect_.x, rect_.y + half, rect_.width, rect_.height - half};
    canvas.Border(box, kButtonShadow, kButtonHighlight);
    canvas.Border(Inset(box, 1), kButtonHighlight, kButtonShadow);
    if (text_.empty()) return;
    const int width = texts_.Width(text_);
    canvas.Fill({rect_.x + 7, rect_.y, width + 4, texts_.LineHeight()}, kButtonFace);
    PaintLabel(canvas, text_, rect_.x + 9, rect_.y, rect_);
  }

 private:
  bool groupBox_;
};

class StringField final : public Control {
 public:
  StringField(WindowHandle handle, int32_t id, platform::Rect rect, std::string text,
              uint32_t style, bool sunken, TextCache& texts)
      : Control(GadgetKind::String, handle, id, rect, std::move(text), style, texts),
        sunken_(sunken) {}

  void Paint(Canvas& canvas, bool focused) const override {
    platform::Rect area = rect_;
    if (sunken_) {
      canvas.SunkenEdge(rect_);
      area = Inset(rect_, 2);
    }
    canvas.Fill(area, Enabled() ? kWindowBackground : kButtonFace);
    const int lineHeight = texts_.LineHeight();
    PaintLabel(canvas, text_, area.x + 2, area.y + (area.height - lineHeight) / 2, area);
    if (focused) {
      // The caret after the text.
      const int caretX = std::min(area.x + 2 + texts_.Width(text_), area.x + area.width - 1);
      canvas.VerticalLine(caretX, area.y + (area.height - lineHeight) / 2, lineHeight, kWindowText);
    }
  }

 private:
  bool sunken_;
};

class ListBox final : public ListControl {
 public:
  ListBox(WindowHandle handle, int32_t id, platform::Rect rect, uint32_t style, TextCache& texts)
      : ListControl(GadgetKind::ListBox, handle, id, rect, {}, style, texts) {}

  void TextSet(const std::string& text) override { selected_ = FindItem(text, false); }
  int32_t ItemStateGet(int32_t position) const override {
    if (!InRange(position)) return 0;
    return position == selected_ || Marked(position) ? 1 : 0;
  }
  void ItemStateSet(int32_t position, int32_t state) override {
    if (InRange(position)) SetMark(position, state != 0);
  }
  void ItemTextSet(int32_t position, const std::string& text) override {
    if (InRange(position)) SetItem(position, text);
  }
  std::optional<platform::Rect> ItemRect(int32_t position) const override {
    const platform::Rect inside = Inset(rect_, 2);
    return platform::Rect{inside.x, inside.y + position * ItemHeight(), inside.width, ItemHeight()};
  }

  void MouseDown(ControlEvents& events, int, int y) override {
    const int32_t row = (y - rect_.y - 2) / ItemHeight();
    if (y >= rect_.y + 2 && InRange(row)) Choose(events, row);
  }
  void KeyDown(ControlEvents& events, const KeyPress& key) override {
    if (ItemCount() == 0) return;
    if (key.scanCode == keys::kDown) Choose(events, std::min(selected_ + 1, ItemCount() - 1));
    if (key.scanCode == keys::kUp) Choose(events, std::max(selected_ - 1, 0));
    if (key.scanCode == keys::kHome) Choose(events, 0);
    if (key.scanCode == keys::kEnd) Choose(events, ItemCount() - 1);
  }

  void Paint(Canvas& canvas, bool focused) const override {
    canvas.SunkenEdge(rect_);
    const platform::Rect inside = Inset(rect_, 2);
    canvas.Fill(inside, Enabled() ? kWindowBackground : kButtonFace);
    for (int32_t i = 0; i < ItemCount(); ++i) {
      const platform::Rect row = *ItemRect(i);
      if (row.y >= inside.y + inside.height) break;
      if (ItemStateGet(i) != 0) canvas.Fill(Intersect(row, inside), kSelection);
      PaintLabel(canvas, Item(i), row.x + 2, row.y + 1, inside);
      if (focused && i == std::max(selected_, 0)) canvas.DottedRect(Intersect(row, inside));
    }
  }

 private:
  int ItemHeight() const { return texts_.LineHeight() + 2; }
  void Choose(ControlEvents& events, int32_t position) {
    if (position == selected_) return;
    selected_ = position;
    // A list box's selection change is reported with type 0.
    events.Notify(0);
  }
};

// Tabs along the top; the state is the current tab. The pages themselves are left to the
// windows created over it.
class Panel final : public Control {
 public:
  Panel(WindowHandle handle, int32_t id, platform::Rect rect, uint32_t style, TextCache& texts)
      : Control(GadgetKind::Panel, handle, id, rect, {}, style, texts) {}

  int32_t StateGet() const override { return tabs_.empty() ? -1 : current_; }
  void StateSet(int32_t tab) override {
    if (tab >= 0 && tab < ItemCount()) current_ = tab;
  }
  std::string TextGet() const override {
    return current_ < ItemCount() ? tabs_[static_cast<size_t>(current_)] : "";
  }
  void ItemAdd(int32_t position, const std::string& text) override {
    const int32_t count = ItemCount();
    if (position < 0 || position > count) position = count;
    tabs_.insert(tabs_.begin() + position, text);
  }
  void ItemRemove(int32_t position) override {
    if (position < 0 || position >= ItemCount()) return;
    tabs_.erase(tabs_.begin() + position);
    current_ = std::clamp(current_, 0, std::max(ItemCount() - 1, 0));
  }
  void ItemsClear() override {
    tabs_.clear();
    current_ = 0;
  }
  int32_t ItemCount() const override { return static_cast<int32_t>(tabs_.size()); }
  std::string ItemTextGet(int32_t position) const override {
    return position >= 0 && position < ItemCount() ? tabs_[static_cast<size_t>(position)] : "";
  }
  void ItemTextSet(int32_t position, const std::string& text) override {
    if (position >= 0 && position < ItemCount()) tabs_[static_cast<size_t>(position)] = text;
  }

  void MouseDown(ControlEvents& events, int x, int y) override {
    for (int32_t i = 0; i < ItemCount(); ++i) {
      if (!Contains(TabRect(i), x, y) || i == current_) continue;
      current_ = i;
      events.Notify(0);
      return;
    }
  }

  void Paint(Canvas& canvas, bool focused) const override {
    const int tabHeight = texts_.LineHeight() + 6;
    const platform::Rect page{rect_.x, rect_.y + tabHeight, rect_.width, rect_.height - tabHeight};
    canvas.Fill(rect_, kButtonFace);
    canvas.RaisedEdge(page);
    for (int32_t i = 0; i < ItemCount(); ++i) {
      const platform::Rect tab = TabRect(i);
      canvas.Border({tab.x, tab.y, tab.width, tab.height + 1}, kButtonHighlight, kDarkShadow);
      if (i == current_) canvas.HorizontalLine(tab.x + 1, page.y, tab.width - 2, kButtonFace);
      const std::string& text = tabs_[static_cast<size_t>(i)];
      PaintLabel(canvas, text, tab.x + 6, tab.y + 3, tab);
      if (focused && i == current_) canvas.DottedRect(Inset(tab, 2));
    }
  }

 private:
  platform::Rect TabRect(int32_t index) const {
    int x = rect_.x;
    for (int32_t i = 0; i < index; ++i) x += texts_.Width(tabs_[static_cast<size_t>(i)]) + 12;
    return {x, rect_.y, texts_.Width(tabs_[static_cast<size_t>(index)]) + 12,
            texts_.LineHeight() + 6};
  }

  std::vector<std::string> tabs_;
  int32_t current_ = 0;
};

}  // namespace

std::unique_ptr<Control> MakeTextControl(WindowHandle handle, int32_t id, platform::Rect rect,
                                         std::string text, uint32_t style, bool sunken,
                                         TextCache& texts) {
  return std::make_unique<TextControl>(handle, id, rect, std::move(text), style, sunken, texts);
}

std::unique_ptr<Control> MakeFrame(WindowHandle handle, int32_t id, platform::Rect rect,
                                   std::string text, uint32_t style, bool groupBox,
                                   TextCache& texts) {
  return std::make_unique<Frame>(handle, id, rect, std::move(text), style, groupBox, texts);
}

std::unique_ptr<Control> MakeString(WindowHandle handle, int32_t id, platform::Rect rect,
                                    std::string text, uint32_t style, bool sunken,
                                    TextCache& texts) {
  return std::make_unique<StringField>(handle, id, rect, std::move(text), style, sunken, texts);
}

std::unique_ptr<Control> MakeListBox(WindowHandle handle, int32_t id, platform::Rect rect,
                                     uint32_t style, TextCache& texts) {
  return std::make_unique<ListBox>(handle, id, rect, style, texts);
}

std::unique_ptr<Control> MakePanel(WindowHandle handle, int32_t id, platform::Rect rect,
                                   uint32_t style, TextCache& texts) {
  return std::make_unique<Panel>(handle, id, rect, style, texts);
}

}  // namespace velko::gadgets
