// Deterministic pseudo-random numbers for painting and synthesis: the same seed gives the same
// bytes on every build, which the standard library's distributions do not promise.
#pragma once

#include <cstdint>

namespace velko::assetgen {

// SplitMix64: small, fast and good enough for textures and noise.
class RandomStream {
 public:
  explicit RandomStream(std::uint64_t seed) : state_(seed) {}

  std::uint64_t Next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  // Uniform in [0, 1).
  double Unit() { return static_cast<double>(Next() >> 11) * (1.0 / 9007199254740992.0); }
  // Uniform in [-1, 1).
  double Signed() { return Unit() * 2.0 - 1.0; }
  // Uniform integer in [0, n).
  int Below(int n) { return n <= 0 ? 0 : static_cast<int>(Next() % static_cast<std::uint64_t>(n)); }

 private:
  std::uint64_t state_;
};

// A stable hash of a few integers, to seed per-tile or per-cell streams.
inline std::uint64_t HashInts(std::uint64_t a, std::uint64_t b = 0, std::uint64_t c = 0) {
  RandomStream s(a * 0x100000001B3ull ^ (b << 21) ^ (c << 42) ^ 0xC0FFEEull);
  s.Next();
  return s.Next();
}

}  // namespace velko::assetgen
