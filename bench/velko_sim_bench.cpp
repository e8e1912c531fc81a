// velko-sim on the generated 60 x 50 level for 100,000 frames: the time a long replay takes
// and the runner's peak resident memory (targets: well under a minute, under 64 MiB).
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

fs::path BuildDirectory() {
  return fs::read_symlink("/proc/self/exe").parent_path();
}

struct ChildRun {
  int status = -1;
  double seconds = 0.0;
  long peakKiB = 0;
};

ChildRun RunChild(const std::vector<std::string>& arguments) {
  std::vector<char*> argv;
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  ChildRun run;
  const auto start = std::chrono::steady_clock::now();
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::execv(argv[0], argv.data());
    ::_exit(127);
  }
  if (pid < 0) return run;
  int status = 0;
  rusage usage{};
  ::wait4(pid, &status, 0, &usage);
  run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.peakKiB = usage.ru_maxrss;
  return run;
}

// A drive that keeps the car busy: full speed, turns, walls, skids and stops.
constexpr char kDrive[] =
    "1 UP down\n"
    "400 RIGHT down\n420 RIGHT up\n"
    "3000 LEFT down\n3050 LEFT up\n"
    "9000 DOWN down\n9100 DOWN up\n"
    "20000 RIGHT down\n20100 RIGHT up\n"
    "50000 LEFT down\n50060 LEFT up\n";

void BM_VelkoSim100kFrames(benchmark::State& state) {
  const fs::path build = BuildDirectory();
  std::string pattern = (fs::temp_directory_path() / "velko-bench-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) {
    state.SkipWithError("no temporary directory");
    return;
  }
  const fs::path dir = pattern;
  const ChildRun assets = RunChild({(build / "velko-assetgen").string(), dir.string()});
  if (assets.status != 0) {
    state.SkipWithError("velko-assetgen did not write the level");
    fs::remove_all(dir);
    return;
  }
  std::ofstream(dir / "drive.keys") << kDrive;
  ChildRun run;
  for (auto _ : state) {
    run = RunChild({(build / "velko-sim").string(), dir.string(), "--keys",
                    (dir / "drive.keys").string(), "--frames", "100000", "--trace",
                    (dir / "trace.csv").string()});
    state.SetIterationTime(run.seconds);
  }
  if (run.status != 0) state.SkipWithError("velko-sim failed");
  state.counters["frames_per_s"] = 100000.0 / run.seconds;
  state.counters["peak_rss_MiB"] = static_cast<double>(run.peakKiB) / 1024.0;
  state.counters["trace_MiB"] =
      static_cast<double>(fs::file_size(dir / "trace.csv")) / (1024.0 * 1024.0);
  fs::remove_all(dir);
}

BENCHMARK(BM_VelkoSim100kFrames)->Unit(benchmark::kSecond)->UseManualTime()->Iterations(1);

}  // namespace
