// One frame of the game composed on the back buffer, at 16 and 32 bits, beside a plain copy
// of a 32-bit 800 x 600 frame as the machine's yardstick: clear, 18 x 14 tiles (252 copies,
// clipped at the edges), the rotated car and the status line.
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <vector>

#include "platform/headless/headless_platform.h"
#include "services/services.h"
#include "services/sprites/sprite_service.h"

namespace velko {
namespace {

class FrameScene {
 public:
  explicit FrameScene(int depth) : platform_(Options()), services_(platform_) {
    services_.StartUp();
    services_.ScreenStart();
    services_.ScreenOpen(800, 600, depth, "bench");
    // Eight tile pictures, each a 50 x 50 sprite with a pattern.
    for (int tile = 0; tile < 8; ++tile) {
      services_.SpriteCreate(100 + tile, 50, 50, SpriteModeDefault);
      services_.DrawBegin(services_.SpriteDrawTarget(100 + tile));
      for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 50; ++x) services_.DrawPixel(x, y, (x * 5 + tile * 30) | (y * 5) << 8);
      services_.DrawEnd();
    }
    // The car: 64 x 64 in texture mode, its lower corners keyed out.
    services_.SpriteCreate(1, 64, 64, SpriteModeTexture);
    services_.DrawBegin(services_.SpriteDrawTarget(1));
    for (int y = 0; y < 64; ++y)
      for (int x = 0; x < 64; ++x)
        services_.DrawPixel(x, y, (y > 48 && (x < 10 || x > 53)) ? 0x00FF00 : 0x2040C0);
    services_.DrawEnd();
    services_.SpriteSetKeyColour(1, 0, 255, 0);
    services_.TexturedSpriteStart();
    services_.TexturedSpriteCreate(1, 1);
  }

  void Compose(int frame) {
    services_.ScreenFill(0, 0, 0);
    const int restX = frame % 50;
    const int restY = (frame * 3) % 50;
    for (int i = 0; i < 18; ++i)
      for (int j = 0; j < 14; ++j)
        services_.SpriteShow(100 + (i + j) % 8, 50 * (i - 1) - restX, 50 * (j - 1) - restY);
    if (services_.TexturedSceneBegin() != 0) {
      services_.TexturedSpriteRotate(1, (frame * 7) % 360, 0);
      services_.TexturedSpriteShow(1, 368, 268, frame % 2 == 0 ? 255 : 200);
      services_.TexturedSceneEnd();
    }
    services_.DrawBegin(services_.ScreenDrawTarget());
    services_.DrawString("FPS: 60 DevantType1: 0 DevantType2: 0 DevantType3: 0");
    services_.DrawEnd();
  }

  const void* BackPixels() { return services_.Screen().BackBuffer()->View().pixels; }

 private:
  static platform::HeadlessOptions Options() {
    platform::HeadlessOptions options;
    // Frames are seen, so each one is composed in full (nothing is presented here).
    options.keepFrames = true;
    options.echoMessages = false;
    return options;
  }
  platform::HeadlessPlatform platform_;
  Services services_;
};

void BM_ComposeFrame(benchmark::State& state) {
  FrameScene scene(static_cast<int>(state.range(0)));
  int frame = 0;
  for (auto _ : state) {
    scene.Compose(frame++);
    benchmark::DoNotOptimize(scene.BackPixels());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_ComposeFrame)->Arg(16)->Arg(32)->Unit(benchmark::kMicrosecond);

// The physical yardstick: one memcpy of a 32-bit 800 x 600 frame.
void BM_MemcpyFrame32(benchmark::State& state) {
  std::vector<std::uint8_t> from(800 * 600 * 4, 1);
  std::vector<std::uint8_t> to(800 * 600 * 4, 0);
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), from.size());
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(from.size()));
}
BENCHMARK(BM_MemcpyFrame32)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace velko

BENCHMARK_MAIN();
