// The game's correctly rounded sine and cosine beside the C library's, per call and per frame.
// A frame asks for 40: the move (2), the probes' cells (6), the half-tile tests (24: four
// tile types, three probes, a sine and a cosine each) and the car's four corners (8).
#include <benchmark/benchmark.h>

#include <array>
#include <cmath>

#include "services/text/exact_trig.h"

namespace {

// Angles as the game passes them: headings in radians, side probes 34 degrees off.
std::array<float, 1024> Angles() {
  std::array<float, 1024> angles{};
  for (size_t i = 0; i < angles.size(); ++i) {
    angles[i] = static_cast<float>(-1.0 + 8.0 * static_cast<double>(i) / angles.size());
  }
  return angles;
}

double LibrarySin(float x) {
  return std::sin(static_cast<double>(x));
}
double LibraryCos(float x) {
  return std::cos(static_cast<double>(x));
}

template <double (*Function)(float)>
void PerCall(benchmark::State& state) {
  const std::array<float, 1024> angles = Angles();
  size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(Function(angles[i]));
    i = (i + 1) & 1023;
  }
}
BENCHMARK(PerCall<velko::ExactSin>)->Name("ExactSin");
BENCHMARK(PerCall<velko::ExactCos>)->Name("ExactCos");
BENCHMARK(PerCall<LibrarySin>)->Name("std::sin");
BENCHMARK(PerCall<LibraryCos>)->Name("std::cos");

// A sine and a cosine; the angle is hidden from the optimiser, which could otherwise share the
// C library's results between the repeated angles (the game's own calls it cannot see into).
template <double (*Sin)(float), double (*Cos)(float)>
double Pair(float angle) {
  benchmark::DoNotOptimize(angle);
  return Sin(angle) + Cos(angle);
}

// One frame's 20 sine and cosine pairs, as the frame asks for them.
template <double (*Sin)(float), double (*Cos)(float)>
void PerFrame(benchmark::State& state) {
  const std::array<float, 1024> angles = Angles();
  constexpr float kSide = 0.5934119f;  // 34 degrees
  size_t i = 0;
  for (auto _ : state) {
    const float heading = angles[i];
    const float probes[3] = {heading, heading + kSide, heading - kSide};
    double sum = Pair<Sin, Cos>(heading);                   // the move
    for (const float a : probes) sum += Pair<Sin, Cos>(a);  // the probes' cells
    for (int type = 0; type < 4; ++type) {                  // the half-tile tests
      for (const float a : probes) sum += Pair<Sin, Cos>(a);
    }
    float corner = heading;  // the car's corners, a quarter turn of 1.575 apart
    for (int k = 0; k < 4; ++k, corner += 1.575f) sum += Pair<Sin, Cos>(corner);
    benchmark::DoNotOptimize(sum);
    i = (i + 1) & 1023;
  }
}
BENCHMARK(PerFrame<velko::ExactSin, velko::ExactCos>)->Name("FrameTrig/Exact");
BENCHMARK(PerFrame<LibrarySin, LibraryCos>)->Name("FrameTrig/Library");

}  // namespace
