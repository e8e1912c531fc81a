#include "services/text/text.h"

#include <algorithm>
#include <cstdio>

namespace velko {

std::string TextFromInt(int32_t value) {
  return std::to_string(value);
}

int32_t IntFromText(std::string_view text) {
  bool negative = false;
  if (!text.empty() && text.front() == '-') {
    negative = true;
    text.remove_prefix(1);
  }
  // Every character counts as a digit of (code - 48) mod 256, wrapping in 32 bits: "1a" is 59.
  uint32_t total = 0;
  for (char c : text) {
    const uint32_t digit = static_cast<uint8_t>(static_cast<uint8_t>(c) - 48u);
    total = total * 10u + digit;
  }
  if (negative) total = 0u - total;
  return static_cast<int32_t>(total);
}

std::string TextHead(std::string_view text, int32_t count) {
  if (count <= 0) return {};
  return std::string(text.substr(0, static_cast<size_t>(count)));
}

std::string TextAlignRight(std::string_view text, int32_t width, std::string_view fill) {
  if (width <= 0) return {};
  const size_t field = static_cast<size_t>(width);
  const size_t kept = std::min(text.size(), field);
  const size_t padding = field - kept;
  // An empty fill string puts its terminator in front, which ends the text there.
  if (padding > 0 && fill.empty()) return {};
  std::string result(padding, fill.empty() ? ' ' : fill.front());
  result.append(text.substr(0, kept));
  return result;
}

int32_t TextEquals(std::string_view a, std::string_view b) {
  return a == b ? 1 : 0;
}

int32_t ColourCompose(int32_t red, int32_t green, int32_t blue) {
  return static_cast<int32_t>(static_cast<uint32_t>(red) + static_cast<uint32_t>(green) * 256u +
                              static_cast<uint32_t>(blue) * 65536u);
}

}  // namespace velko
