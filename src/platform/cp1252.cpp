#include "platform/platform.h"

namespace velko::platform {
namespace {

// Code points of the bytes 0x80..0x9F; 0 where Windows-1252 leaves the byte undefined.
constexpr char32_t kHighControls[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

void AppendUtf8(std::string& out, char32_t code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

char32_t CodePointOf(char c) {
  const auto byte = static_cast<unsigned char>(c);
  if (byte < 0x80 || byte >= 0xA0) return byte;
  const char32_t code = kHighControls[byte - 0x80];
  return code != 0 ? code : 0xFFFD;  // undefined in Windows-1252
}

}  // namespace

std::string Utf8FromCp1252(std::string_view text) {
  std::string out;
  out.reserve(text.size() * 2);
  for (char c : text) AppendUtf8(out, CodePointOf(c));
  return out;
}

std::u16string Utf16FromCp1252(std::string_view text) {
  // Every code point of Windows-1252 lies in the basic plane: one UTF-16 unit each.
  std::u16string out;
  out.reserve(text.size());
  for (char c : text) out += static_cast<char16_t>(CodePointOf(c));
  return out;
}

}  // namespace velko::platform
