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
    // The hardest of the exhaustive run: within 3e-8 ulp of halfway between two doubles.
    {0x35A80000, false, 0x3EB4FFFFFFFFF9F9},  // 1.25169754e-06
    {0x35D80000, false, 0x3EBAFFFFFFFFF330},  // 1.60932541e-06
    {0x3DD20A78, false, 0x3FBA35882D12BF82},  // 0.10255903
    {0x3DF953C4, false, 0x3FBF16C6ED8F4F10},  // 0.121741802
    {0x407E5C91, false, 0xBFE7ACA12850B933},  // 3.97439981
    {0x407720E0, false, 0xBFE51860FC5C570A},  // 3.86138153
    {0x39EAB2A4, false, 0x3F3D56546F8FB51B},  // 0.000447650556
    {0x344E0E8E, false, 0x3E89C1D1BFFFFFD4},  // 1.919054e-07
    {0x3F20EA0C, true, 0x3FE9E2400180659E},  // 0.628571272
    {0x3446E079, true, 0x3FEFFFFFFFFFFF66},  // 1.85218497e-07
    {0x33624630, true, 0x3FEFFFFFFFFFFFF4},  // 5.26835606e-08
    {0x38DCA0D5, true, 0x3FEFFFFFFD076CB3},  // 0.000105203748
    {0x3E775FF1, true, 0x3FEF121EBFDBA780},  // 0.241576925
    {0x3A794929, true, 0x3FEFFFFF0D409A89},  // 0.00095094979
    {0x3747BB6A, true, 0x3FEFFFFFFFF642B2},  // 1.190496e-05
    {0x34F429F4, true, 0x3FEFFFFFFFFFFC5C},  // 4.54790666e-07
    // A spread of the 269,873 arguments where glibc misses (sin 198,680, cos 71,193).
    {0xBF7FE822, false, 0xBFEAEBB7C92C17AC},  // -0.999635816
    {0xBF293724, true, 0x3FE9429A3695C74F},  // -0.660997629
    {0xBEE2896B, false, 0xBFDB66F52F6F688F},  // -0.442454666
    {0xBEA8B8A0, false, 0xBFD4B5E40F931639},  // -0.329533577
    {0xBE74DE66, false, 0xBFCE51557EE0BF85},  // -0.239129633
    {0xBE548F95, false, 0xBFCA613464F9B451},  // -0.207578972
    {0xBE33BD51, false, 0xBFC65A2CEEF7ADD1},  // -0.175526872
    {0xBE1333D8, true, 0x3FEFAB80B56B6C3F},  // -0.143752456
    {0xBDD58A97, false, 0xBFBAA4F2D94D967B},  // -0.104268245
    {0x3D6EF5B6, false, 0x3FADDA6080DB18D7},  // 0.058339797
    {0x3E0426C8, false, 0x3FC0791E6DCCADB3},  // 0.129054189
    {0x3E24BB6E, false, 0x3FC480B8986C08C7},  // 0.160871238
    {0x3E4561A4, false, 0x3FC8852A3D410E99},  // 0.192755282
    {0x3E65EAD9, false, 0x3FCC7FB196607A6B},  // 0.224528685
    {0x3E8DA0D2, false, 0x3FD17A86A10984C9},  // 0.276617587
    {0x3EC99C93, false, 0x3FD88E21FF448FFB},  // 0.393772691
    {0x3F03244D, false, 0x3FDF5EC5AB142847},  // 0.512272656
    {0x3F5A7D8B, false, 0x3FE81D41B270AE95},  // 0.853478134
    {0x3FA26DB3, true, 0x3FD3065685C1E3D9},  // 1.26897275
    {0x3FE274AC, true, 0xBFC93A4217D37C1D},  // 1.76918554
    {0x401FB906, false, 0x3FE34311A4DB6EB3},  // 2.49566793
    {0x405C4608, false, 0xBFD2ECA5B0A720E9},  // 3.44177437
    {0x409E2B5E, true, 0x3FCD3B48BEC442F7},  // 4.94279385
    {0x40DFFE4B, true, 0x3FE82116B0770C86},  // 6.99979162
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
      const int64_t order = first + span * i / range.samples + (int64_t{i} * 7919) % 101;
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
