// The item list of the controls that hold one (the drop-down list and the list box): the
// items, the chosen one and the marks, kept in step as items come and go.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "services/windows/control.h"

namespace velko::gadgets {

class ListControl : public Control {
 public:
  using Control::Control;

  int32_t StateGet() const override { return selected_; }
  void StateSet(int32_t position) override { selected_ = InRange(position) ? position : -1; }
  std::string TextGet() const override { return InRange(selected_) ? Item(selected_) : ""; }
  // Inserts at `position`, or at the end for -1; the chosen item stays chosen.
  void ItemAdd(int32_t position, const std::string& text) override;
  // The choice moves with the items after it, and is lost with its own item.
  void ItemRemove(int32_t position) override;
  void ItemsClear() override;
  int32_t ItemCount() const override { return static_cast<int32_t>(items_.size()); }
  std::string ItemTextGet(int32_t position) const override {
    return InRange(position) ? Item(position) : "";
  }

 protected:
  bool InRange(int32_t position) const { return position >= 0 && position < ItemCount(); }
  const std::string& Item(int32_t position) const { return items_[static_cast<size_t>(position)]; }
  // The first item equal to `text` (or beginning with it), letter case ignored; -1 for none.
  int32_t FindItem(const std::string& text, bool prefix) const;
  bool Marked(int32_t position) const { return marks_[static_cast<size_t>(position)] != 0; }
  void SetMark(int32_t position, bool marked) {
    marks_[static_cast<size_t>(position)] = marked ? 1 : 0;
  }
  void SetItem(int32_t position, const std::string& text) {
    items_[static_cast<size_t>(position)] = text;
  }

  int32_t selected_ = -1;

 private:
  std::vector<std::string> items_;
  std::vector<char> marks_;
};

}  // namespace velko::gadgets
