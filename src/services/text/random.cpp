#include "services/text/random.h"

#include <bit>

namespace velko {

void RandomGenerator::Reseed(uint32_t seed) {
  uint32_t s = seed;
  for (auto& word : words_) {
    s = s * 2891336453u + 1u;
    word = s;
  }
  p1_ = 0;
  p2_ = 10;
  for (int i = 0; i < 31; ++i) Step();
}

uint64_t RandomGenerator::Step() {
  uint32_t& first = words_[2 * p1_];
  uint32_t& second = words_[2 * p1_ + 1];
  const uint32_t x = std::rotl(first, 19) + words_[2 * p2_];
  const uint32_t y = std::rotl(second, 27) + words_[2 * p2_ + 1];
  first = y;
  second = x;
  p1_ = p1_ == 0 ? 16 : p1_ - 1;
  p2_ = p2_ == 0 ? 16 : p2_ - 1;
  return (static_cast<uint64_t>(x) << 32) | y;
}

int32_t RandomGenerator::UpTo(int32_t maximum) {
  const uint64_t x = Step();  // the step runs even for an invalid maximum
  if (maximum < 0) return static_cast<int32_t>(0x80000000u);
  const auto range = static_cast<unsigned __int128>(static_cast<uint64_t>(maximum) + 1u);
  return static_cast<int32_t>(static_cast<uint64_t>((x * range) >> 64));
}

}  // namespace velko
