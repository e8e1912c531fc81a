#include "services/windows/list_control.h"

#include <algorithm>
#include <cctype>

namespace velko::gadgets {
namespace {

bool SameLetter(char a, char b) {
  return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
}

}  // namespace

void ListControl::ItemAdd(int32_t position, const std::string& text) {
  const int32_t count = ItemCount();
  if (position < -1 || position > count) return;
  if (position == -1) position = count;
  items_.insert(items_.begin() + position, text);
  marks_.insert(marks_.begin() + position, 0);
  if (selected_ >= position) ++selected_;
}

void ListControl::ItemRemove(int32_t position) {
  if (!InRange(position)) return;
  items_.erase(items_.begin() + position);
  marks_.erase(marks_.begin() + position);
  if (selected_ == position) selected_ = -1;
  if (selected_ > position) --selected_;
}

void ListControl::ItemsClear() {
  items_.clear();
  marks_.clear();
  selected_ = -1;
}

int32_t ListControl::FindItem(const std::string& text, bool prefix) const {
  for (size_t i = 0; i < items_.size(); ++i) {
    const std::string& item = items_[i];
    const bool found =
        prefix ? item.size() >= text.size() &&
                     std::equal(text.begin(), text.end(), item.begin(), SameLetter)
               : std::equal(item.begin(), item.end(), text.begin(), text.end(), SameLetter);
    if (found) return static_cast<int32_t>(i);
  }
  return -1;
}

}  // namespace velko::gadgets
