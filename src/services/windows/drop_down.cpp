// The drop-down list: a sunken field showing the chosen item, an arrow button, and a list
// that drops down below the field over the other controls. No text can be typed into it.
#include <algorithm>

#include "services/windows/list_control.h"

namespace velko::gadgets {
namespace {

constexpr int kArrowWidth = 16;

class DropDown final : public ListControl {
 public:
  DropDown(WindowHandle handle, int32_t id, platform::Rect rect, uint32_t style, TextCache& texts)
      : ListControl(GadgetKind::DropDown, handle, id, rect, {}, style, texts) {}

  void TextSet(const std::string& text) override {
    if (text.empty()) {
      selected_ = -1;
      return;
    }
    // The first item beginning with the text; no match leaves the choice as it was.
    const int32_t found = FindItem(text, true);
    if (found >= 0) selected_ = found;
  }
  void ItemRemove(int32_t position) override {
    ListControl::ItemRemove(position);
    hot_ = std::min(hot_, ItemCount() - 1);
  }
  void ItemsClear() override {
    ListControl::ItemsClear();
    hot_ = -1;
    top_ = 0;
  }

  bool HitTest(int x, int y) const override { return Visible() && Contains(Field(), x, y); }
  platform::Rect Face() const override { return Field(); }
  bool Dropped() const override { return dropped_; }
  bool OverlayContains(int x, int y) const override {
    return dropped_ && Contains(ListArea(), x, y);
  }
  std::optional<platform::Rect> ItemRect(int32_t position) const override {
    if (!dropped_) return std::nullopt;
    const platform::Rect list = ListArea();
    return platform::Rect{list.x + 1, list.y + 1 + (position - top_) * ItemHeight(), list.width - 2,
                          ItemHeight()};
  }

  void MouseDown(ControlEvents& events, int x, int y) override {
    if (dropped_ && Contains(ListArea(), x, y)) {
      Hover(events, x, y);
      tracking_ = true;
      return;
    }
    if (dropped_) {
      CloseUp(events, false);
      return;
    }
    Drop(events);
    tracking_ = true;
  }
  void MouseMove(ControlEvents& events, int x, int y) override {
    if (dropped_) Hover(events, x, y);
  }
  void MouseUp(ControlEvents& events, int x, int y) override {
    if (!tracking_) return;
    tracking_ = false;
    // Released over an item: that item is chosen. Released on the field: the list stays.
    if (dropped_ && Contains(ListArea(), x, y) && RowAt(y) >= 0) {
      hot_ = RowAt(y);
      CloseUp(events, true);
    }
  }

  // The keys of the standard drop-down list. Closed, the arrows change the choice at once and
  // F4 or Alt+arrow opens the list; open, the arrows move the highlight, Enter (or F4,
  // Alt+arrow) takes it, Escape gives it up.
  void KeyDown(ControlEvents& events, const KeyPress& key) override {
    const int k = key.scanCode;
    const bool arrowUp = k == keys::kUp || k == keys::kLeft;
    const bool arrowDown = k == keys::kDown || k == keys::kRight;
    if (!dropped_) {
      if (k == keys::kF4 || (key.alt && (k == keys::kDown || k == keys::kUp))) {
        Drop(events);
      } else if (ItemCount() == 0) {
        return;
      } else if (arrowUp) {
        Choose(events, InRange(selected_) ? std::max(selected_ - 1, 0) : 0);
      } else if (arrowDown) {
        Choose(events, InRange(selected_) ? std::min(selected_ + 1, ItemCount() - 1) : 0);
      } else if (k == keys::kPageUp) {
        Choose(events, std::max((InRange(selected_) ? selected_ : 0) - VisibleRows() + 1, 0));
      } else if (k == keys::kPageDown) {
        Choose(events,
               std::min((InRange(selected_) ? selected_ : 0) + VisibleRows() - 1, ItemCount() - 1));
      } else if (k == keys::kHome) {
        Choose(events, 0);
      } else if (k == keys::kEnd) {
        Choose(events, ItemCount() - 1);
      }
      return;
    }
    if (k == keys::kEscape) {
      CloseUp(events, false);
    } else if (k == keys::kReturn || k == keys::kNumpadEnter || k == keys::kF4 ||
               (key.alt && (k == keys::kUp || k == keys::kDown))) {
      CloseUp(events, true);
    } else if (arrowDown) {
      MoveHot(events, hot_ + 1);
    } else if (arrowUp) {
      MoveHot(events, hot_ - 1);
    } else if (k == keys::kPageDown) {
      MoveHot(events, hot_ + VisibleRows() - 1);
    } else if (k == keys::kPageUp) {
      MoveHot(events, hot_ - VisibleRows() + 1);
    } else if (k == keys::kHome) {
      MoveHot(events, 0);
    } else if (k == keys::kEnd) {
      MoveHot(events, ItemCount() - 1);
    }
  }
  void FocusLost(ControlEvents& events) override {
    tracking_ = false;
    if (dropped_) CloseUp(events, false);
  }

  // Closes the list; `accept` takes the highlighted item as the new choice.
  void CloseUp(ControlEvents& events, bool accept) override {
    if (!dropped_) return;
    dropped_ = false;
    tracking_ = false;
    events.Notify(kClosedUp);
    if (accept && InRange(hot_) && hot_ != selected_) {
      selected_ = hot_;
      events.Notify(kSelectionChanged);
    }
  }

  void Paint(Canvas& canvas, bool focused) const override {
    const platform::Rect field = Field();
    canvas.SunkenEdge(field);
    const platform::Rect inside = Inset(field, 2);
    canvas.Fill(inside, Enabled() ? kWindowBackground : kButtonFace);
    const platform::Rect arrow{inside.x + inside.width - kArrowWidth, inside.y, kArrowWidth,
                               inside.height};
    canvas.Fill(arrow, kButtonFace);
    if (dropped_) {
      canvas.PushedEdge(arrow);
    } else {
      canvas.RaisedEdge(arrow);
    }
    const int shift = dropped_ ? 1 : 0;
    canvas.DownArrow(arrow.x + arrow.width / 2 + shift, arrow.y + arrow.height / 2 + shift,
                     Enabled() ? kWindowText : kGreyText);
    const platform::Rect textArea{inside.x, inside.y, inside.width - kArrowWidth, inside.height};
    const platform::Rect highlight = Inset(textArea, 1);
    if (focused && !dropped_) canvas.Fill(highlight, kSelection);
    if (InRange(selected_)) {
      const platform::TextRaster& raster = texts_.Line(Item(selected_));
      PaintLabel(canvas, Item(selected_), textArea.x + 2,
                 textArea.y + (textArea.height - raster.height) / 2, highlight);
    }
    if (focused && !dropped_) canvas.DottedRect(highlight);
  }

  void PaintOverlay(Canvas& canvas) const override {
    if (!dropped_) return;
    const platform::Rect list = ListArea();
    canvas.Border(list, kFrameBlack, kFrameBlack);
    canvas.Fill(Inset(list, 1), kWindowBackground);
    const platform::Rect rows = Inset(list, 1);
    for (int32_t i = top_; i < ItemCount() && i < top_ + VisibleRows(); ++i) {
      const platform::Rect row = *ItemRect(i);
      if (i == hot_) canvas.Fill(row, kSelection);
      const platform::TextRaster& raster = texts_.Line(Item(i));
      PaintLabel(canvas, Item(i), row.x + 2, row.y + (row.height - raster.height) / 2,
                 Intersect(row, rows));
    }
  }

 private:
  int ItemHeight() const { return texts_.LineHeight() + 2; }
  // The field alone is the control; the height it was given includes the dropped list.
  platform::Rect Field() const { return {rect_.x, rect_.y, rect_.width, ItemHeight() + 6}; }
  int VisibleRows() const {
    const int room = std::max((rect_.height - Field().height - 2) / ItemHeight(), 1);
    return std::clamp(ItemCount(), 1, room);
  }
  platform::Rect ListArea() const {
    const platform::Rect field = Field();
    return {field.x, field.y + field.height, field.width, VisibleRows() * ItemHeight() + 2};
  }
  int32_t RowAt(int y) const {
    const int32_t row = top_ + (y - ListArea().y - 1) / ItemHeight();
    return InRange(row) && y > ListArea().y ? row : -1;
  }
  void Drop(ControlEvents& events) {
    dropped_ = true;
    hot_ = InRange(selected_) ? selected_ : (ItemCount() > 0 ? 0 : -1);
    top_ = 0;
    ScrollTo(hot_);
    events.Notify(kDroppedDown);
  }
  void Hover(ControlEvents& events, int x, int y) {
    if (!Contains(ListArea(), x, y)) return;
    const int32_t row = RowAt(y);
    if (row >= 0 && row != hot_) {
      hot_ = row;
      events.repaint = true;
    }
  }
  void MoveHot(ControlEvents& events, int32_t position) {
    if (ItemCount() == 0) return;
    hot_ = std::clamp(position, 0, ItemCount() - 1);
    ScrollTo(hot_);
    events.repaint = true;
  }
  void ScrollTo(int32_t position) {
    if (position < 0) return;
    if (position < top_) top_ = position;
    if (position >= top_ + VisibleRows()) top_ = position - VisibleRows() + 1;
  }
  void Choose(ControlEvents& events, int32_t position) {
    if (position == selected_) return;
    selected_ = position;
    events.Notify(kSelectionChanged);
  }

  int32_t hot_ = -1;
  int32_t top_ = 0;
  bool dropped_ = false;
  bool tracking_ = false;
};

}  // namespace

std::unique_ptr<Control> MakeDropDown(WindowHandle handle, int32_t id, platform::Rect rect,
                                      uint32_t style, TextCache& texts) {
  return std::make_unique<DropDown>(handle, id, rect, style, texts);
}

}  // namespace velko::gadgets
