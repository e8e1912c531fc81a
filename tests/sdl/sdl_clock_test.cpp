// The Linux clock: the millisecond counter counts from the system's start (it seeds the random
// generator, so it must differ from run to run), and differences of its readings are right
// across the 2^32 wrap.
#include <gtest/gtest.h>
#include <time.h>

#include <cstdint>

#include "platform/sdl/sdl_platform.h"

namespace velko::platform {
namespace {

std::uint32_t BootMilliseconds() {
  timespec now{};
  ::clock_gettime(CLOCK_BOOTTIME, &now);
  return static_cast<std::uint32_t>(static_cast<std::uint64_t>(now.tv_sec) * 1000u +
                                    static_cast<std::uint64_t>(now.tv_nsec) / 1'000'000u);
}

TEST(SdlClockTest, TicksCountFromTheSystemsStartNotFromTheProgramsStart) {
  SdlPlatform platform;
  const std::uint32_t before = BootMilliseconds();
  const std::uint32_t tick = platform.TickCount();
  const std::uint32_t after = BootMilliseconds();
  // Unsigned differences: right even if the counter wraps between the readings. A count
  // from the program's start (a few milliseconds here) lies far outside.
  EXPECT_LE(tick - before, after - before);
}

}  // namespace
}  // namespace velko::platform
