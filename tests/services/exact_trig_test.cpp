// The game's sine and cosine against the nearest double. The table holds the hardest cases the
// exhaustive run over [-1, 7] found (velko-trig-check: nearest to halfway between two doubles)
// and arguments the C library gets wrong, with their bit patterns from MPFR, so that the
// Windows build checks them too. Natively a spread sample is compared with MPFR itself.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

#include "services/text/exact_trig.h"

#ifdef VELKO_WITH_MPFR
#include <mpfr.h>
#endif

namespace velko {
namespace {

struct TrigCase {
  uint32_t x;         // float bits
  bool cosine;        // else sine
  uint64_t expected;  // double bits
};

// clang-format off
constexpr TrigCase kHardCases[] = {
    // The ends of the range and the zeros.
    {0xBF800000, false, 0xBFEAED548F090CEE}, {0xBF800000, true, 0x3FE14A280FB5068C},
    {0x40E00000, false, 0x3FE50608C26D0A08}, {0x40E00000, true, 0x3FE81FF79ED92017},
    {0x00000000, false, 0x0000000000000000}, {0x80000000, false, 0x8000000000000000},
    {0x00000000, true, 0x3FF0000000000000},  {0x80000000, true, 0x3FF0000000000000},
    // The smallest subnormal and the largest float.
    {0x80000001, false, 0xB6A0000000000000}, {0x00000001, true, 0x3FF0000000000000},
    {0x7F7FFFFF, false, 0xBFE0B33665089575}, {0xFF7FFFFF, true, 0x3FEB4BF2C79BDFCE},
    // MinGW's cos gives 1, glibc's sin 0x3FD37823684A0E9A.
    {0x32350544, true, 0x3FEFFFFFFFFFFFFF}, {0x3E9E4337, false, 0x3FD37823684A0E99},
    // HARD_CASES
};
// clang-format on

TEST(ExactTrigTest, HardCasesRoundToTheNearestDouble) {
  for (const TrigCase& c : kHardCases) {
    const float x = std::bit_cast<float>(c.x);
    const double got = c.cosine ? ExactCos(x) : ExactSin(x);
    EXPECT_EQ(std::bit_cast<uint64_t>(got), c.expected)
        << (c.cosine ? "cos " : "sin ") << std::hexfloat << x << " gave " << got;
  }
}

TEST(ExactTrigTest, InfinityAndNanGiveNan) {
  const float inf = std::numeric_limits<float>::infinity();
  for (const float x : {inf, -inf, std::numeric_limits<float>::quiet_NaN(),
                        -std::numeric_limits<float>::quiet_NaN()}) {
    EXPECT_TRUE(std::isnan(ExactSin(x))) << x;
    EXPECT_TRUE(std::isnan(ExactCos(x))) << x;
  }
}

#ifdef VELKO_WITH_MPFR

// Floats ordered by value as consecutive integers.
float FloatOf(int64_t order) {
  return order < 0 ? std::bit_cast<float>(static_cast<uint32_t>(-(order + 1)) | 0x80000000u)
                   : std::bit_cast<float>(static_cast<uint32_t>(order));
}

int64_t OrderOf(float x) {
  const uint32_t bits = std::bit_cast<uint32_t>(x);
  return (bits >> 31) ? -static_cast<int64_t>(bits & 0x7FFFFFFFu) - 1 : int64_t{bits};
}

class MpfrReference {
 public:
  MpfrReference() { mpfr_inits2(200, x_, s_, c_, static_cast<mpfr_ptr>(nullptr)); }
  ~MpfrReference() { mpfr_clears(x_, s_, c_, static_cast<mpfr_ptr>(nullptr)); }
  MpfrReference(const MpfrReference&) = delete;
  MpfrReference& operator=(const MpfrReference&) = delete;

  // Counts the arguments where either function misses the nearest double.
  int Misses(float x) {
    mpfr_set_flt(x_, x, MPFR_RNDN);
    mpfr_sin_cos(s_, c_, x_, MPFR_RNDN);
    const double sine = mpfr_get_d(s_, MPFR_RNDN);
    const double cosine = mpfr_get_d(c_, MPFR_RNDN);
    const bool sinOk = std::bit_cast<uint64_t>(ExactSin(x)) == std::bit_cast<uint64_t>(sine);
    const bool cosOk = std::bit_cast<uint64_t>(ExactCos(x)) == std::bit_cast<uint64_t>(cosine);
    if (!sinOk || !cosOk)
      ADD_FAILURE() << std::hexfloat << x << (sinOk ? "" : " sin") << (cosOk ? "" : " cos");
    return (sinOk && cosOk) ? 0 : 1;
  }

 private:
  mpfr_t x_, s_, c_;
};

TEST(ExactTrigTest, SpreadSampleMatchesMpfr) {
  MpfrReference reference;
  struct Range {
    float from;
    float to;
    int samples;
  };
  // Every angle the game passes lies in [-1, 7]; beyond it a thinner sample, up to the
  // largest float, checks the large-argument reduction.
  const Range ranges[] = {{-1.0f, 7.0f, 300000},
                          {7.0f, std::numeric_limits<float>::max(), 20000},
                          {-std::numeric_limits<float>::max(), -7.0f, 20000}};
  int misses = 0;
  int checked = 0;
  for (const Range& range : ranges) {
    const int64_t first = OrderOf(range.from);
    const int64_t span = OrderOf(range.to) - first;
    for (int i = 0; i <= range.samples; ++i) {
      // An odd stride through the range, so the low bits vary from sample to sample.
      const int64_t order = first + span * i / range.samples + (i * 7919) % 101;
      misses += reference.Misses(FloatOf(std::min(order, first + span)));
      ++checked;
    }
  }
  // The C library's misses from the exhaustive run, tried with their neighbours.
  for (const TrigCase& c : kHardCases) {
    const int64_t order = OrderOf(std::bit_cast<float>(c.x));
    for (int64_t d = -2; d <= 2; ++d) {
      const float y = FloatOf(order + d);
      if (!std::isfinite(y)) continue;
      misses += reference.Misses(y);
      ++checked;
    }
  }
  EXPECT_EQ(misses, 0) << "of " << checked;
}

#endif

}  // namespace
}  // namespace velko
