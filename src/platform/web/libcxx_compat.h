// Debian's Emscripten brings libc++ 13, which lacks std::bit_cast; the compiler has the
// builtin it is made of. Included ahead of every source of the web build.
#pragma once

#include <bit>

#if defined(_LIBCPP_VERSION) && _LIBCPP_VERSION < 14000
namespace std {
template <class To, class From>
constexpr To bit_cast(const From& from) noexcept {
  return __builtin_bit_cast(To, from);
}
}  // namespace std
#endif
