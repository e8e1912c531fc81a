// The game's random generator: RANROT type B with rotations 19 and 27 over 17 pairs of words.
#pragma once

#include <array>
#include <cstdint>

namespace velko {

class RandomGenerator {
 public:
  void Reseed(uint32_t seed);
  // A whole number from 0 to maximum inclusive; -2147483648 for a negative maximum.
  int32_t UpTo(int32_t maximum);

 private:
  uint64_t Step();

  std::array<uint32_t, 34> words_{};
  int p1_ = 0;
  int p2_ = 10;
};

}  // namespace velko
