#include "platform/web/web_runs.h"

#include <emscripten.h>

#include <array>

// Calls into the page script velko_runs.js.
EM_JS(int, velko_take_demo, (char* out, int size), { return VelkoRuns.takeDemo(out, size); });
EM_JS(int, velko_demo_dropped, (), { return VelkoRuns.demoDropped(); });
EM_JS(void, velko_run_starting, (int watching), { VelkoRuns.runStarting(watching); });
EM_JS(int, velko_level_folder, (char* out, int size), { return VelkoRuns.levelFolder(out, size); });
EM_JS(void, velko_run_ended, (int demoRecorded), { VelkoRuns.runEnded(demoRecorded); });

namespace velko::platform {
namespace {

// A path the page writes into `out`: its length, or -1 when it does not fit.
template <typename Call>
std::string PathFromPage(Call call) {
  std::array<char, 1024> buffer{};
  const int length = call(buffer.data(), static_cast<int>(buffer.size()));
  if (length <= 0 || length >= static_cast<int>(buffer.size())) return {};
  return std::string(buffer.data(), static_cast<std::size_t>(length));
}

}  // namespace

std::string TakeDroppedDemo() {
  return PathFromPage(velko_take_demo);
}

bool DemoDropped() {
  return velko_demo_dropped() != 0;
}

void RunStarting(bool watching) {
  velko_run_starting(watching ? 1 : 0);
}

std::string LevelFolderChosen() {
  return PathFromPage(velko_level_folder);
}

void RunEnded(bool demoRecorded) {
  velko_run_ended(demoRecorded ? 1 : 0);
}

}  // namespace velko::platform
