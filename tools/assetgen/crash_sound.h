// The crash sound: a low thud under a burst of scraping noise, dying away in under half a
// second.
#pragma once

#include <cstdint>
#include <vector>

namespace velko::assetgen {

inline constexpr int kCrashSampleRate = 22050;

std::vector<std::int16_t> SynthesiseCrash();

}  // namespace velko::assetgen
