// velko-trig-check: runs the game's ExactSin and ExactCos on every float32 of a range (by
// default [-1, 7], every angle the game can pass) against MPFR at 200 bits rounded to the
// nearest double, and counts how often the C library's sin and cos miss that value too.
// MPFR runs once for x and -x.
//
//   velko-trig-check [--from A] [--to B] [--step S] [--threads N] [--misses FILE]
//   velko-trig-check --tables    prints the constant tables of exact_trig.cpp from MPFR
//
// The arguments the C library gets wrong go to FILE ("hex bits of x, sin|cos, expected hex
// bits"), and the hardest arguments found (nearest to halfway between two doubles) are
// printed with their expected bit patterns, ready for a test table. --step S takes one float
// in S (a sample of a wide range). Exits 1 on any miss of the game's routine.
#include <mpfr.h>

#include <algorithm>
#include <atomic>
#include <bit>
#include <chrono>
#include <cinttypes>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "services/text/exact_trig.h"

namespace {

constexpr mpfr_prec_t kPrecision = 200;

// Floats ordered by value as consecutive integers: -0 and +0 are neighbours.
int64_t OrderOf(float x) {
  const uint32_t bits = std::bit_cast<uint32_t>(x);
  return (bits >> 31) ? -static_cast<int64_t>(bits & 0x7FFFFFFFu) - 1 : int64_t{bits};
}

float FloatOf(int64_t order) {
  return order < 0 ? std::bit_cast<float>(static_cast<uint32_t>(-(order + 1)) | 0x80000000u)
                   : std::bit_cast<float>(static_cast<uint32_t>(order));
}

uint64_t BitsOf(double d) {
  return std::bit_cast<uint64_t>(d);
}

// An argument whose exact value lies close to halfway between two doubles.
struct HardCase {
  float x = 0;
  double expected = 0;
  double margin = 1;  // distance to the halfway point, in ulps of the result
};

struct Tally {
  uint64_t count = 0;
  uint64_t ownSinWrong = 0;
  uint64_t ownCosWrong = 0;
  uint64_t libSinWrong = 0;
  uint64_t libCosWrong = 0;
  std::vector<HardCase> hardSin;
  std::vector<HardCase> hardCos;
};

constexpr size_t kHardKept = 12;

void KeepHard(std::vector<HardCase>& hard, const HardCase& c) {
  if (hard.size() == kHardKept && c.margin >= hard.back().margin) return;
  if (hard.size() == kHardKept) hard.pop_back();
  hard.insert(
      std::upper_bound(hard.begin(), hard.end(), c,
                       [](const HardCase& a, const HardCase& b) { return a.margin < b.margin; }),
      c);
}

class Checker {
 public:
  Checker() { mpfr_inits2(kPrecision, x_, s_, c_, d_, static_cast<mpfr_ptr>(nullptr)); }
  ~Checker() { mpfr_clears(x_, s_, c_, d_, static_cast<mpfr_ptr>(nullptr)); }
  Checker(const Checker&) = delete;
  Checker& operator=(const Checker&) = delete;

  // The reference values; margin in ulps from the halfway point for each.
  void Reference(float x, double& sine, double& cosine, double& sineMargin, double& cosineMargin) {
    mpfr_set_flt(x_, x, MPFR_RNDN);
    mpfr_sin_cos(s_, c_, x_, MPFR_RNDN);
    sine = mpfr_get_d(s_, MPFR_RNDN);
    cosine = mpfr_get_d(c_, MPFR_RNDN);
    sineMargin = Margin(s_, sine);
    cosineMargin = Margin(c_, cosine);
  }

 private:
  double Margin(mpfr_t exact, double rounded) {
    if (rounded == 0.0) return 0.5;
    mpfr_sub_d(d_, exact, rounded, MPFR_RNDN);
    const double off = mpfr_get_d(d_, MPFR_RNDN);
    const double next = std::nextafter(rounded, off > 0 ? INFINITY : -INFINITY);
    return 0.5 - std::fabs(off / (next - rounded));
  }

  mpfr_t x_, s_, c_, d_;
};

struct Misses {
  std::mutex lock;
  FILE* file = nullptr;
  int ownShown = 0;
};

// Checks the routine and the C library on x against the nearest doubles.
void CheckOne(float x, double sine, double cosine, Tally& tally, std::vector<std::string>& lines,
              Misses& misses) {
  ++tally.count;
  const bool ownSin = BitsOf(velko::ExactSin(x)) == BitsOf(sine);
  const bool ownCos = BitsOf(velko::ExactCos(x)) == BitsOf(cosine);
  const bool libSin = BitsOf(std::sin(static_cast<double>(x))) == BitsOf(sine);
  const bool libCos = BitsOf(std::cos(static_cast<double>(x))) == BitsOf(cosine);
  tally.ownSinWrong += !ownSin;
  tally.ownCosWrong += !ownCos;
  tally.libSinWrong += !libSin;
  tally.libCosWrong += !libCos;
  char line[96];
  const uint32_t xBits = std::bit_cast<uint32_t>(x);
  if (!libSin) {
    std::snprintf(line, sizeof line, "%08" PRIX32 " sin %016" PRIX64 "\n", xBits, BitsOf(sine));
    lines.emplace_back(line);
  }
  if (!libCos) {
    std::snprintf(line, sizeof line, "%08" PRIX32 " cos %016" PRIX64 "\n", xBits, BitsOf(cosine));
    lines.emplace_back(line);
  }
  if (!ownSin || !ownCos) {
    std::lock_guard<std::mutex> hold(misses.lock);
    if (misses.ownShown++ < 50) {
      std::fprintf(stderr, "MISS x=%a (%08" PRIX32 "): sin %a want %a, cos %a want %a\n",
                   static_cast<double>(x), xBits, velko::ExactSin(x), sine, velko::ExactCos(x),
                   cosine);
    }
  }
}

// The floats of [from, to) (orders) within the whole range [first, end). A negative x whose
// opposite is in the range too is checked along with it: rounding to nearest is symmetric, so
// the reference for -x is (-sin x, cos x), and MPFR runs once for both.
void CheckRange(int64_t from, int64_t to, int64_t step, int64_t first, int64_t end, Tally& tally,
                Misses& misses) {
  Checker checker;
  std::vector<std::string> lines;
  for (int64_t order = from; order < to; order += step) {
    const float x = FloatOf(order);
    const int64_t twin = OrderOf(-x);
    const bool twinInRange = twin >= first && twin < end;
    if (order < 0 && twinInRange) continue;
    double sine = 0, cosine = 0, sineMargin = 0, cosineMargin = 0;
    checker.Reference(x, sine, cosine, sineMargin, cosineMargin);
    KeepHard(tally.hardSin, {x, sine, sineMargin});
    KeepHard(tally.hardCos, {x, cosine, cosineMargin});
    CheckOne(x, sine, cosine, tally, lines, misses);
    if (order >= 0 && twinInRange) CheckOne(-x, -sine, cosine, tally, lines, misses);
  }
  if (misses.file && !lines.empty()) {
    std::lock_guard<std::mutex> hold(misses.lock);
    for (const std::string& line : lines) std::fputs(line.c_str(), misses.file);
  }
}

void Merge(Tally& into, const Tally& part) {
  into.count += part.count;
  into.ownSinWrong += part.ownSinWrong;
  into.ownCosWrong += part.ownCosWrong;
  into.libSinWrong += part.libSinWrong;
  into.libCosWrong += part.libCosWrong;
  for (const HardCase& c : part.hardSin) KeepHard(into.hardSin, c);
  for (const HardCase& c : part.hardCos) KeepHard(into.hardCos, c);
}

void PrintHard(const char* name, const std::vector<HardCase>& hard) {
  std::printf("hardest %s arguments (margin to halfway, ulps):\n", name);
  for (const HardCase& c : hard) {
    std::printf("  {0x%08" PRIX32 ", 0x%016" PRIX64 "},  // %.9g  %.3g\n",
                std::bit_cast<uint32_t>(c.x), BitsOf(c.expected), static_cast<double>(c.x),
                c.margin);
  }
}

// The constants of exact_trig.cpp, so they can be checked or made again.
void PrintTables() {
  mpfr_t a, t;
  mpfr_inits2(1000, a, t, static_cast<mpfr_ptr>(nullptr));
  mpfr_const_pi(a, MPFR_RNDN);
  mpfr_ui_div(a, 2, a, MPFR_RNDN);
  std::printf("2/pi words:");
  for (int i = 0; i < 12; ++i) {
    mpfr_mul_2ui(a, a, 32, MPFR_RNDN);
    mpfr_floor(t, a);
    std::printf(" 0x%08lX,", mpfr_get_ui(t, MPFR_RNDN));
    mpfr_sub(a, a, t, MPFR_RNDN);
  }
  std::printf("\npi/2 in pieces of 50, 50 and 53 bits:");
  mpfr_const_pi(a, MPFR_RNDN);
  mpfr_div_2ui(a, a, 1, MPFR_RNDN);
  for (const mpfr_prec_t bits : {50, 50, 53}) {
    mpfr_set_prec(t, bits);
    mpfr_set(t, a, MPFR_RNDN);
    std::printf(" %a,", mpfr_get_d(t, MPFR_RNDN));
    mpfr_sub(a, a, t, MPFR_RNDN);
  }
  mpfr_set_prec(t, 1000);
  mpfr_const_pi(a, MPFR_RNDN);
  mpfr_ui_div(a, 2, a, MPFR_RNDN);
  std::printf("\n2/pi: %a\nsin, cos of i/64 as hi, lo:\n", mpfr_get_d(a, MPFR_RNDN));
  for (int i = 0; i < 52; ++i) {
    mpfr_set_d(t, i / 64.0, MPFR_RNDN);
    std::printf("    {");
    for (const bool cosine : {false, true}) {
      if (cosine) {
        mpfr_cos(a, t, MPFR_RNDN);
      } else {
        mpfr_sin(a, t, MPFR_RNDN);
      }
      const double hi = mpfr_get_d(a, MPFR_RNDN);
      mpfr_sub_d(a, a, hi, MPFR_RNDN);
      std::printf("%a, %a%s", hi, mpfr_get_d(a, MPFR_RNDN), cosine ? "},\n" : ", ");
    }
  }
  std::printf("(-1)^(n/2) / n!, as hi, lo:\n");
  for (unsigned n = 0; n <= 28; ++n) {
    mpfr_fac_ui(t, n, MPFR_RNDN);
    mpfr_ui_div(a, 1, t, MPFR_RNDN);
    if ((n / 2) % 2 == 1) mpfr_neg(a, a, MPFR_RNDN);
    const double hi = mpfr_get_d(a, MPFR_RNDN);
    mpfr_sub_d(a, a, hi, MPFR_RNDN);
    std::printf("  %2u: {%a, %a},\n", n, hi, mpfr_get_d(a, MPFR_RNDN));
  }
  mpfr_clears(a, t, static_cast<mpfr_ptr>(nullptr));
}

}  // namespace

int main(int argc, char** argv) {
  float from = -1.0f;
  float to = 7.0f;
  int threads = 2;
  int64_t step = 1;
  const char* missesPath = nullptr;
  for (int i = 1; i < argc; ++i) {
    const std::string option = argv[i];
    const bool hasValue = i + 1 < argc;
    if (option == "--tables") {
      PrintTables();
      return 0;
    } else if (option == "--from" && hasValue) {
      from = std::strtof(argv[++i], nullptr);
    } else if (option == "--to" && hasValue) {
      to = std::strtof(argv[++i], nullptr);
    } else if (option == "--step" && hasValue) {
      step = std::max<int64_t>(1, std::atoll(argv[++i]));
    } else if (option == "--threads" && hasValue) {
      threads = std::max(1, std::atoi(argv[++i]));
    } else if (option == "--misses" && hasValue) {
      missesPath = argv[++i];
    } else {
      std::fprintf(stderr,
                   "usage: velko-trig-check [--from A] [--to B] [--step S] [--threads N]"
                   " [--misses FILE]"
                   " | --tables\n");
      return 2;
    }
  }
  Misses misses;
  if (missesPath && !(misses.file = std::fopen(missesPath, "w"))) {
    std::perror(missesPath);
    return 2;
  }
  // Both ends included; work handed out in blocks so the threads finish together.
  const int64_t first = OrderOf(from);
  const int64_t end = OrderOf(to) + 1;
  const int64_t kBlock = step << 20;
  std::atomic<int64_t> next{first};
  std::atomic<int64_t> done{0};
  std::vector<Tally> tallies(static_cast<size_t>(threads));
  const auto start = std::chrono::steady_clock::now();
  std::vector<std::thread> workers;
  for (int t = 0; t < threads; ++t) {
    workers.emplace_back([&, t] {
      for (;;) {
        const int64_t block = next.fetch_add(kBlock);
        if (block >= end) return;
        const int64_t blockEnd = std::min(block + kBlock, end);
        CheckRange(block, blockEnd, step, first, end, tallies[static_cast<size_t>(t)], misses);
        const int64_t total = done.fetch_add(blockEnd - block) + (blockEnd - block);
        if ((total / kBlock) % 64 == 0 || blockEnd == end) {
          const double seconds =
              std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
          std::fprintf(stderr, "%.1f %% after %.0f s\n", 100.0 * total / (end - first), seconds);
        }
      }
    });
  }
  for (std::thread& worker : workers) worker.join();
  if (misses.file) std::fclose(misses.file);
  Tally all;
  for (const Tally& part : tallies) Merge(all, part);
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("floats in [%a, %a]: %" PRIu64 ", %d threads, %.0f s\n", static_cast<double>(from),
              static_cast<double>(to), all.count, threads, seconds);
  std::printf("ExactSin wrong: %" PRIu64 "\nExactCos wrong: %" PRIu64 "\n", all.ownSinWrong,
              all.ownCosWrong);
  std::printf("C library sin wrong: %" PRIu64 "\nC library cos wrong: %" PRIu64 "\n",
              all.libSinWrong, all.libCosWrong);
  PrintHard("sin", all.hardSin);
  PrintHard("cos", all.hardCos);
  return all.ownSinWrong + all.ownCosWrong == 0 ? 0 : 1;
}
