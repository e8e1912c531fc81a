// Loading the level map: the generated circuit beside the shortest damaged files, whose
// headers announce millions of values past their end (each should cost no more than the
// circuit itself).
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "data/level_map.h"
#include "platform/headless/headless_platform.h"
#include "services/services.h"

namespace {

namespace fs = std::filesystem;

// The generated circuit's map, written beside the benchmark by the build.
std::string GeneratedMap() {
  std::ifstream in(fs::read_symlink("/proc/self/exe").parent_path() / "level.map",
                   std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void LoadMap(benchmark::State& state, const std::string& bytes) {
  std::string pattern = (fs::temp_directory_path() / "velko-bench-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) {
    state.SkipWithError("no temporary folder");
    return;
  }
  const fs::path dir = pattern;
  std::ofstream(dir / "level.map", std::ios::binary) << bytes;
  velko::platform::HeadlessOptions options;
  options.executablePath = (dir / "velko").string();
  options.echoMessages = false;
  velko::platform::HeadlessPlatform platform(options);
  velko::Services services(platform);
  services.StartUp();
  for (auto _ : state) {
    velko::LevelData level;
    std::string error;
    benchmark::DoNotOptimize(velko::LevelMapRead(services, level, error));
  }
  fs::remove_all(dir);
}

void BM_LevelMapGenerated(benchmark::State& state) {
  const std::string map = GeneratedMap();
  if (map.empty()) {
    state.SkipWithError("no generated level.map beside the benchmark");
    return;
  }
  LoadMap(state, map);
}
void BM_LevelMapTwoBytes(benchmark::State& state) {
  LoadMap(state, std::string("\x04\x07", 2));
}
void BM_LevelMapFourByteHeader(benchmark::State& state) {
  LoadMap(state, std::string("\xFF\x7F\x7F\x00", 4));
}

BENCHMARK(BM_LevelMapGenerated)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LevelMapTwoBytes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LevelMapFourByteHeader)->Unit(benchmark::kMillisecond);

}  // namespace
