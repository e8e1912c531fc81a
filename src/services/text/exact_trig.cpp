// Plain IEEE double arithmetic only (no libm, compiled without contraction into FMA), so every
// build gives the same bits. A float is reduced by pi/2 to about 106 bits (Cody and Waite below
// 8, an exact integer product with 2/pi above); a quick estimate from a table of sin and cos
// at i/64 settles the rounding unless it lies too near halfway between two doubles, and then
// a double-double series of about 100 bits decides.
#include "services/text/exact_trig.h"

#include <bit>
#include <cstdint>
#include <limits>

namespace velko {
namespace {

// The tables below come from MPFR (velko-trig-check --tables prints them).

// 2/pi in binary, 32 bits a word: the first 384 bits after the point.
constexpr uint32_t kTwoOverPi[12] = {0xA2F9836E, 0x4E441529, 0xFC2757D1, 0xF534DDC0,
                                     0xDB629599, 0x3C439041, 0xFE5163AB, 0xDEBBC561,
                                     0xB7246E3A, 0x424DD2E0, 0x06492EEA, 0x09D1921C};

// pi/2 as the sum of three doubles, the first two of 50 bits so that k times them is exact
// for k up to 7.
constexpr double kHalfPi[3] = {0x1.921fb54442d18p+0, 0x1.1a62633145c08p-54,
                               -0x1.1f1976b7ed8fcp-106};
constexpr double kTwoOverPiDouble = 0x1.45f306dc9c883p-1;

// sin and cos of i/64 for i = 0 to 51, each as the nearest double-double.
struct TableRow {
  double sinHi;
  double sinLo;
  double cosHi;
  double cosLo;
};
constexpr TableRow kTable[52] = {
    {0x0p+0, 0x0p+0, 0x1p+0, 0x0p+0},
    {0x1.fffaaaaeeeed5p-7, -0x1.2ab639a9f0776p-63, 0x1.fff000155549fp-1, 0x1.28a28a03a5ef3p-55},
    {0x1.ffeaaaeeee86fp-6, -0x1.cd406fb224ae2p-60, 0x1.ffc00155527d3p-1, -0x1.3b54492d89b5bp-55},
    {0x1.7fdc01032fba9p-5, -0x1.599bdf46e997ap-59, 0x1.ff7006bfdf99fp-1, -0x1.8b3b560648d5fp-56},
    {0x1.ffaaaeeed4edbp-5, -0x1.2d16d32684b69p-59, 0x1.ff0015549f4d3p-1, 0x1.328387b99426fp-55},
    {0x1.3facb12d1755bp-4, -0x1.921915299468bp-58, 0x1.fe7034129ef6fp-1, -0x1.cbf4337c96f97p-57},
    {0x1.7f701032550e4p-4, 0x1.afc2d1800501ap-60, 0x1.fdc06bf7e6b9bp-1, 0x1.31902b535f8dbp-55},
    {0x1.bf1b78568391dp-4, 0x1.e91841dea4cc8p-58, 0x1.fcf0c800e99b1p-1, 0x1.ea3d786d186acp-57},
    {0x1.feaaeee86ee36p-4, -0x1.afcb2bcc6f03bp-59, 0x1.fc015527d5bd3p-1, 0x1.b68f35094efb8p-55},
    {0x1.1f0d3d7afceafp-3, -0x1.6ef95099769a5p-57, 0x1.faf22263c4bd3p-1, -0x1.52ace133a2769p-58},
    {0x1.3eb312c5d66cbp-3, 0x1.47d666b66cb91p-57, 0x1.f9c340a7cc428p-1, 0x1.c5b6b063b7462p-55},
    {0x1.5e44fcfa126f3p-3, -0x1.6f443063f89b6p-57, 0x1.f874c2e1eecf6p-1, -0x1.c6514e1332b16p-55},
    {0x1.7dc102fbaf2b5p-3, 0x1.5ab50e23c97c3p-59, 0x1.f706bdf9ece1cp-1, -0x1.698c80c36dcb4p-55},
    {0x1.9d252d0cec312p-3, 0x1.9c43d80b1137dp-58, 0x1.f57948cff6797p-1, 0x1.e3a0d3e03b1d4p-57},
    {0x1.bc6f84edc6199p-3, 0x1.9c1a56a7b0cabp-57, 0x1.f3cc7c3b3d16ep-1, -0x1.21a3ad28a3494p-57},
    {0x1.db9e15fb5a5dp-3, -0x1.32e20d6cc6fc2p-57, 0x1.f20073086649fp-1, 0x1.b940416c1984bp-56},
    {0x1.faaeed4f31577p-3, -0x1.15d88508e32b8p-57, 0x1.f01549f7deea1p-1, 0x1.d3c1e99e5cafdp-55},
    {0x1.0cd00cef36436p-2, -0x1.9fb0a0c93e2b4p-56, 0x1.ee0b1fbc0f11cp-1, -0x1.bfd2380bbc3b1p-59},
    {0x1.1c37d64c6b876p-2, 0x1.46076fe0dcff4p-56, 0x1.ebe214f76efa8p-1, -0x1.02f9f12ba543ep-55},
    {0x1.2b8ddc43eb49fp-2, 0x1.1553899f2d807p-57, 0x1.e99a4c3a7cd83p-1, -0x1.2264b1bc53ce8p-55},
    {0x1.3ad129769d3d8p-2, 0x1.03d550487839ap-63, 0x1.e733ea0193d4p-1, -0x1.6428b3546ce13p-55},
    {0x1.4a00c9b0f3d2p-2, 0x1.823ba6bb08eadp-56, 0x1.e4af14b2a449cp-1, -0x1.68ca02e8a6833p-55},
    {0x1.591bc9fa2f597p-2, 0x1.7c74bac3fe0cbp-57, 0x1.e20bf49acd6c1p-1, -0x1.660aec7ef636bp-58},
    {0x1.682138a38d7f7p-2, -0x1.d889202444aadp-56, 0x1.df4ab3ebd875ep-1, -0x1.e2d8a7e6736c4p-55},
    {0x1.7710255764214p-2, -0x1.6ead7314bb6cep-57, 0x1.dc6b7eb995912p-1, 0x1.4b364776dcd35p-58},
    {0x1.85e7a12826949p-2, 0x1.8a40e9b5facep-56, 0x1.d96e82f71a9dcp-1, 0x1.ff61bd5d2039dp-55},
    {0x1.94a6be9f546c5p-2, -0x1.69ce13e683f58p-56, 0x1.d653f073e404p-1, -0x1.76236434bec37p-55},
    {0x1.a34c91cc50ccap-2, -0x1.a310e3b50cecdp-58, 0x1.d31bf8d8d7c06p-1, 0x1.e60dd3089cbddp-56},
    {0x1.b1d8305321617p-2, -0x1.ae242cb99f519p-56, 0x1.cfc6cfa52ad9fp-1, 0x1.8b5b5508f2a0dp-55},
    {0x1.c048b17b140a3p-2, 0x1.19fe6757e9fa7p-57, 0x1.cc54aa2b2972ep-1, 0x1.4ee162ba83a98p-57},
    {0x1.ce9d2e3d4a51fp-2, -0x1.2fc8a12dae298p-57, 0x1.c8c5bf8ce1a84p-1, 0x1.ab3d1a1590123p-56},
    {0x1.dcd4c15329c9ap-2, 0x1.0d4c6e171fd9ap-56, 0x1.c51a48b8b175ep-1, -0x1.1bbb43b9aa88p-57},
    {0x1.eaee8744b05fp-2, -0x1.789b43c9b027dp-58, 0x1.c1528065b7d5p-1, -0x1.892111312e828p-55},
    {0x1.f8e99e76abc97p-2, 0x1.9d950af2d00a3p-58, 0x1.bd6ea310294f5p-1, 0x1.31bbcc88c109dp-56},
    {0x1.0362939c69955p-1, -0x1.2d8cd78397b01p-55, 0x1.b96eeef58840ep-1, 0x1.45a3cc78fadep-58},
    {0x1.0a4021e9e1001p-1, -0x1.6f643a13914f6p-55, 0x1.b553a410c104ep-1, 0x1.8ff7947027a15p-58},
    {0x1.110d0c4b69c3bp-1, 0x1.d918998809981p-55, 0x1.b11d04162a4c6p-1, 0x1.1dd561efbc0c2p-56},
    {0x1.17c8e5f2eedbp-1, 0x1.35e57102e2488p-57, 0x1.accb526f69de5p-1, 0x1.8fb6a8dd6b6ccp-55},
    {0x1.1e7343236574cp-1, 0x1.22a3fa4f41d5ap-56, 0x1.a85ed4373e02dp-1, 0x1.9be06385ec792p-57},
    {0x1.250bb93788bbbp-1, 0x1.ea3d02457bccep-56, 0x1.a3d7d0352bdcfp-1, -0x1.68dbaeca19669p-55},
    {0x1.2b91dea88421ep-1, -0x1.fa371db216abp-55, 0x1.9f368ed912f85p-1, -0x1.1d200c5791606p-55},
    {0x1.32054b148bc4fp-1, 0x1.f6b42095a135bp-55, 0x1.9a7b5a36a6514p-1, 0x1.722cfcc9fa7a9p-55},
    {0x1.386597456282bp-1, -0x1.10fada93b07a8p-56, 0x1.95a67e00cb1fdp-1, -0x1.0befda21f862dp-55},
    {0x1.3eb25d36cd53ap-1, -0x1.be570e1570fcp-58, 0x1.90b84784ddaf7p-1, -0x1.0feb10ab93b87p-56},
    {0x1.44eb381cf386bp-1, -0x1.3ed6c1e6a5505p-55, 0x1.8bb105a5dc9p-1, 0x1.863e03e9474c1p-55},
    {0x1.4b0fc46aab761p-1, 0x1.0da05738cc59cp-61, 0x1.869108d77a6c6p-1, 0x1.338ffe2bfe9ddp-56},
    {0x1.511f9fd7b351cp-1, -0x1.5c0e861c48831p-55, 0x1.8158a31916d5dp-1, -0x1.de8b90b8228dep-57},
    {0x1.571a6966d59b3p-1, 0x1.c843b4d0fb197p-58, 0x1.7c0827f09e54fp-1, -0x1.c73d6d72aee68p-57},
    {0x1.5cffc16bf8f0dp-1, 0x1.96cb370eb578ap-55, 0x1.769fec655211fp-1, -0x1.827d5cf8c68c5p-57},
    {0x1.62cf49921ac79p-1, -0x1.edd9855b6241ap-55, 0x1.712046fa77678p-1, 0x1.425b0a5029c81p-55},
    {0x1.6888a4e134b2fp-1, -0x1.6b7d37644d5e6p-55, 0x1.6b898fa9efb5dp-1, 0x1.15ac786ccf4b2p-56},
    {0x1.6e2b77c40bde1p-1, -0x1.0e729857fad53p-56, 0x1.65dc1fdeb8cbap-1, -0x1.97c1b47337c77p-58},
};

// Taylor coefficients in u = r^2: sin r = r * sum kSin[n] u^n, cos r = sum kCos[n] u^n, each
// the nearest double-double to (-1)^n / (2n+1)! and (-1)^n / (2n)!. From the tenth term on the
// terms are below 2^-54 of the result and plain doubles carry them.
struct Coefficient {
  double hi;
  double lo;
};
constexpr int kDoubleDoubleTerms = 9;
constexpr Coefficient kSin[14] = {
    {0x1p+0, 0x0p+0},
    {-0x1.5555555555555p-3, -0x1.5555555555555p-57},
    {0x1.1111111111111p-7, 0x1.1111111111111p-63},
    {-0x1.a01a01a01a01ap-13, -0x1.a01a01a01a01ap-73},
    {0x1.71de3a556c734p-19, -0x1.c154f8ddc6cp-73},
    {-0x1.ae64567f544e4p-26, 0x1.c062e06d1f209p-80},
    {0x1.6124613a86d09p-33, 0x1.f28e0cc748ebep-87},
    {-0x1.ae7f3e733b81fp-41, -0x1.1d8656b0ee8cbp-97},
    {0x1.952c77030ad4ap-49, 0x1.ac981465ddc6cp-103},
    {-0x1.2f49b46814157p-57, -0x1.2650f61dbdcb4p-112},
    {0x1.71b8ef6dcf572p-66, -0x1.d043ae40c4647p-120},
    {-0x1.761b41316381ap-75, 0x1.3423c7d91404fp-130},
    {0x1.3f3ccdd165fa9p-84, -0x1.58ddadf344487p-139},
    {-0x1.d1ab1c2dccea3p-94, -0x1.054d0c78aea14p-149},
};
constexpr Coefficient kCos[15] = {
    {0x1p+0, 0x0p+0},
    {-0x1p-1, 0x0p+0},
    {0x1.5555555555555p-5, 0x1.5555555555555p-59},
    {-0x1.6c16c16c16c17p-10, 0x1.f49f49f49f49fp-65},
    {0x1.a01a01a01a01ap-16, 0x1.a01a01a01a01ap-76},
    {-0x1.27e4fb7789f5cp-22, -0x1.cbbc05b4fa99ap-76},
    {0x1.1eed8eff8d898p-29, -0x1.2aec959e14c06p-83},
    {-0x1.93974a8c07c9dp-37, -0x1.05d6f8a2efd1fp-92},
    {0x1.ae7f3e733b81fp-45, 0x1.1d8656b0ee8cbp-101},
    {-0x1.6827863b97d97p-53, -0x1.eec01221a8b0bp-107},
    {0x1.e542ba4020225p-62, 0x1.ea72b4afe3c2fp-120},
    {-0x1.0ce396db7f853p-70, 0x1.aebcdbd20331cp-124},
    {0x1.f2cf01972f578p-80, -0x1.9ada5fcc1ab14p-135},
    {-0x1.88e85fc6a4e5ap-89, 0x1.71c37ebd1654p-143},
    {0x1.0a18a2635085dp-98, 0x1.b9e2e28e1aa54p-153},
};

// A value as hi + lo, |lo| at most half an ulp of hi.
struct Dd {
  double hi;
  double lo;
};

// |a| >= |b| (or a == 0).
Dd FastTwoSum(double a, double b) {
  const double s = a + b;
  return {s, b - (s - a)};
}

Dd TwoSum(double a, double b) {
  const double s = a + b;
  const double bb = s - a;
  return {s, (a - (s - bb)) + (b - bb)};
}

// Dekker's exact product, without relying on a fused multiply-add.
Dd TwoProduct(double a, double b) {
  constexpr double kSplitter = 134217729.0;  // 2^27 + 1
  const double ca = kSplitter * a;
  const double aHi = ca - (ca - a);
  const double aLo = a - aHi;
  const double cb = kSplitter * b;
  const double bHi = cb - (cb - b);
  const double bLo = b - bHi;
  const double p = a * b;
  return {p, ((aHi * bHi - p) + aHi * bLo + aLo * bHi) + aLo * bLo};
}

Dd Multiply(Dd a, Dd b) {
  Dd p = TwoProduct(a.hi, b.hi);
  p.lo += a.hi * b.lo + a.lo * b.hi;
  return FastTwoSum(p.hi, p.lo);
}

// Only where the two hardly cancel, as in the series below (each term is under a tenth of
// the one before).
Dd Add(Dd a, Coefficient b) {
  Dd s = TwoSum(a.hi, b.hi);
  s.lo += a.lo + b.lo;
  return FastTwoSum(s.hi, s.lo);
}

double PowerOfTwo(int exponent) {  // normal range only
  return std::bit_cast<double>(static_cast<uint64_t>(1023 + exponent) << 52);
}

// 32 bits of 2/pi from bit `first` on (bit 1 is the first after the point; bits at 0 and
// before are zero).
uint32_t TwoOverPiBits(int first) {
  const int bit = first - 1 + 32;  // position in the table with one zero word in front
  if (bit < 0) return 0;
  const auto word = [](int index) { return index == 0 ? 0u : kTwoOverPi[index - 1]; };
  const int index = bit / 32;
  const uint64_t pair = (uint64_t{word(index)} << 32) | word(index + 1);
  return static_cast<uint32_t>(pair >> (32 - bit % 32));
}

// An angle as quadrant * pi/2 + r, |r| <= pi/4 (and a hair).
struct Reduced {
  int quadrant;
  Dd r;
};

// Any finite |x| >= 0.78125 (used from 8 up). x = m 2^e exactly, and x / (2pi) mod 1 =
// m * (the fraction of 2^(e-2) 2/pi) mod 1, taken to 224 bits: r keeps 106 significant bits
// down to |r| of 2^-90.
Reduced ReduceLarge(uint32_t magnitudeBits) {
  constexpr int kLimbs = 7;
  const uint32_t m = (magnitudeBits & 0x7FFFFFu) | 0x800000u;
  const int e = static_cast<int>(magnitudeBits >> 23) - 150;
  uint32_t z[kLimbs];
  uint64_t carry = 0;
  for (int k = kLimbs - 1; k >= 0; --k) {
    const uint64_t t = uint64_t{m} * TwoOverPiBits(e - 1 + 32 * k) + carry;
    z[k] = static_cast<uint32_t>(t);
    carry = t >> 32;
  }
  // z is a quarter turn count / 4: its top two bits are the quadrant, the rest the fraction.
  int quadrant = static_cast<int>(z[0] >> 30);
  uint32_t f[kLimbs];
  for (int k = 0; k < kLimbs; ++k) f[k] = (z[k] << 2) | (k + 1 < kLimbs ? z[k + 1] >> 30 : 0u);
  const bool negative = (f[0] >> 31) != 0;
  if (negative) {  // past half a quadrant: the next one, minus (1 - f)
    quadrant = (quadrant + 1) & 3;
    uint64_t borrow = 1;
    for (int k = kLimbs - 1; k >= 0; --k) {
      const uint64_t t = uint64_t{static_cast<uint32_t>(~f[k])} + borrow;
      f[k] = static_cast<uint32_t>(t);
      borrow = t >> 32;
    }
  }
  int lead = 0;
  while (lead < kLimbs && f[lead] == 0) ++lead;
  if (lead == kLimbs) return {quadrant, {0.0, 0.0}};
  const auto limb = [&f](int k) { return k < kLimbs ? uint64_t{f[k]} : uint64_t{0}; };
  uint64_t a = (limb(lead) << 32) | limb(lead + 1);
  uint64_t b = (limb(lead + 2) << 32) | limb(lead + 3);
  const int shift = std::countl_zero(a);
  if (shift > 0) {
    a = (a << shift) | (b >> (64 - shift));
    b <<= shift;
  }
  // The fraction, of magnitude 2^(-32 lead - shift - 1) and up, as three exact pieces.
  const int scale = -32 * lead - shift;
  const double f1 = static_cast<double>(a >> 11) * PowerOfTwo(scale - 53);
  const double f2 = static_cast<double>(((a & 0x7FFu) << 42) | (b >> 22)) * PowerOfTwo(scale - 106);
  const double f3 = static_cast<double>(b & 0x3FFFFFu) * PowerOfTwo(scale - 128);
  // r = f * pi/2.
  Dd r = TwoProduct(f1, kHalfPi[0]);
  r.lo +=
      (f1 * kHalfPi[2] + (f3 * kHalfPi[0] + f2 * kHalfPi[1])) + (f1 * kHalfPi[1] + f2 * kHalfPi[0]);
  r = FastTwoSum(r.hi, r.lo);
  if (negative) r = {-r.hi, -r.lo};
  return {quadrant, r};
}

// |x| below 8: Cody and Waite's subtraction, x - k P1 and k P2 exact, k at most 5.
Reduced ReduceSmall(float magnitude) {
  const double x = magnitude;
  const int k = static_cast<int>(x * kTwoOverPiDouble + 0.5);
  const double kd = k;
  const double a = x - kd * kHalfPi[0];
  Dd r = TwoSum(a, -kd * kHalfPi[1]);
  r.lo -= kd * kHalfPi[2];
  return {k & 3, FastTwoSum(r.hi, r.lo)};
}

Reduced Reduce(uint32_t magnitudeBits) {
  const float magnitude = std::bit_cast<float>(magnitudeBits);
  return magnitude < 8.0f ? ReduceSmall(magnitude) : ReduceLarge(magnitudeBits);
}

template <int N>
Dd Series(const Coefficient (&c)[N], Dd u) {
  double tail = c[N - 1].hi;
  for (int n = N - 2; n >= kDoubleDoubleTerms; --n) tail = tail * u.hi + c[n].hi;
  Dd p{tail, 0.0};
  for (int n = kDoubleDoubleTerms - 1; n >= 0; --n) p = Add(Multiply(p, u), c[n]);
  return p;
}

// About 100 bits, for the arguments the quick estimate cannot settle.
double AccurateSin(Dd r) {
  const Dd s = Multiply(r, Series(kSin, Multiply(r, r)));
  return s.hi + s.lo;
}

double AccurateCos(Dd r) {
  const Dd c = Series(kCos, Multiply(r, r));
  return c.hi + c.lo;
}

// The quick estimate is within 2^-63 of the result (relative); 2^-61 leaves room.
constexpr double kQuickError = 0x1p-61;

// sin or cos of r (|r| <= pi/4 and a little) from the table row nearest |r| and short series
// in the distance t to it. Returns false when the estimate lies too near halfway between two
// doubles to round it safely.
bool QuickValue(Dd r, bool cosine, double& value) {
  const bool negative = r.hi < 0.0;
  const double rHi = negative ? -r.hi : r.hi;
  const double rLo = negative ? -r.lo : r.lo;
  const int i = static_cast<int>(rHi * 64.0 + 0.5);
  const TableRow& row = kTable[i];
  const double t = rHi - i * 0x1p-6;  // exact
  const double u = t * t;
  // sin t - t and cos t - 1 (|t| <= 2^-7): the terms left out are below 2^-70.
  const double sinRest = t * u * (kSin[1].hi + u * (kSin[2].hi + u * kSin[3].hi));
  const double cosRest = u * (kCos[1].hi + u * (kCos[2].hi + u * kCos[3].hi));
  Dd v;
  if (cosine) {
    // cos(a + t) = cos a + cos a (cos t - 1) - sin a (t + sin t - t)
    const Dd p = TwoProduct(row.sinHi, t);
    v = TwoSum(row.cosHi, -p.hi);
    v.lo += ((row.cosLo - p.lo) - ((row.sinHi + row.cosHi * t) * rLo + row.sinLo * t)) +
            (row.cosHi * cosRest - row.sinHi * sinRest);
  } else {
    // sin(a + t) = sin a + sin a (cos t - 1) + cos a (t + sin t - t)
    const Dd p = TwoProduct(row.cosHi, t);
    v = TwoSum(row.sinHi, p.hi);
    v.lo += ((row.sinLo + p.lo) + ((row.cosHi - row.sinHi * t) * rLo + row.cosLo * t)) +
            (row.cosHi * sinRest + row.sinHi * cosRest);
    if (negative) v = {-v.hi, -v.lo};
  }
  v = FastTwoSum(v.hi, v.lo);
  const double error = (v.hi < 0.0 ? -v.hi : v.hi) * kQuickError;
  value = v.hi + (v.lo - error);
  return value == v.hi + (v.lo + error);
}

double SinOrCos(Dd r, bool cosine, bool negate) {
  double value = 0.0;
  if (!QuickValue(r, cosine, value)) value = cosine ? AccurateCos(r) : AccurateSin(r);
  return negate ? -value : value;
}

bool IsInfOrNan(uint32_t bits) {
  return (bits & 0x7F800000u) == 0x7F800000u;
}

}  // namespace

double ExactSin(float radians) {
  const uint32_t bits = std::bit_cast<uint32_t>(radians);
  if (IsInfOrNan(bits)) return std::numeric_limits<double>::quiet_NaN();
  if (radians == 0.0f) return static_cast<double>(radians);  // keeps the sign of -0
  // sin |x| is sin r, cos r, -sin r, -cos r by quadrant; the sine is odd.
  const Reduced x = Reduce(bits & 0x7FFFFFFFu);
  const bool negate = (x.quadrant >= 2) != (radians < 0.0f);
  return SinOrCos(x.r, (x.quadrant & 1) != 0, negate);
}

double ExactCos(float radians) {
  const uint32_t bits = std::bit_cast<uint32_t>(radians);
  if (IsInfOrNan(bits)) return std::numeric_limits<double>::quiet_NaN();
  // cos |x| is cos r, -sin r, -cos r, sin r by quadrant.
  const Reduced x = Reduce(bits & 0x7FFFFFFFu);
  return SinOrCos(x.r, (x.quadrant & 1) == 0, x.quadrant == 1 || x.quadrant == 2);
}

}  // namespace velko
