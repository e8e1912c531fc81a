// Strings and numbers: decimal text, heads, right alignment, comparison and colour values.
// Texts are Windows-1252 bytes in std::string; an empty string stands for a null one.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace velko {

std::string TextFromInt(int32_t value);
int32_t IntFromText(std::string_view text);
std::string TextHead(std::string_view text, int32_t count);
// Right-aligns in exactly `width` characters, filling with the first character of `fill`.
std::string TextAlignRight(std::string_view text, int32_t width, std::string_view fill = " ");
int32_t TextEquals(std::string_view a, std::string_view b);
int32_t ColourCompose(int32_t red, int32_t green, int32_t blue);

}  // namespace velko
