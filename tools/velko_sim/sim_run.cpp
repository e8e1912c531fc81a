#include "sim_run.h"

#include <cstdio>
#include <optional>

#include "game/game_run.h"
#include "platform/headless/headless_platform.h"
#include "platform/headless/key_script.h"
#include "services/windows/dialog_script.h"
#include "sim_keys.h"

namespace velko::sim {
namespace {

constexpr int kUsageError = 2;
constexpr int32_t kDialogWindow = 1;

int Fail(const std::string& message) {
  std::fprintf(stderr, "velko-sim: %s\n", message.c_str());
  return kUsageError;
}

}  // namespace

int RunSim(const SimOptions& options) {
  std::string error;
  std::optional<platform::KeyScript> keys = LoadKeyScript(options, error);
  if (!keys) return Fail(error);

  platform::HeadlessOptions headless;
  headless.executablePath = options.directory + "/velko";
  headless.startMs = options.startMs;
  headless.frameMs = options.frameMs;
  headless.desktopDepth = options.desktopDepth;
  headless.audioAvailable = options.sound;
  headless.echoMessages = true;
  headless.keepFrames = false;
  platform::HeadlessPlatform platform(headless);
  platform.SetKeySource([&keys](int poll, std::array<std::uint8_t, 256>& snapshot) {
    keys->Snapshot(poll, snapshot);
  });

  std::string dialogError;
  std::optional<DialogScript> dialog = DialogScript::Parse(options.dialogActions, dialogError);
  if (!dialog) return Fail("--dialog: " + dialogError);
  // The actions answer the display-mode dialog (window 1) only; later waits get nothing. A demo
  // played back brings its own answer.
  WindowService* windows = nullptr;
  platform.SetEventSource([&dialog, &windows](platform::InputEvent& event) {
    if (windows == nullptr || windows->WindowHandleOf(kDialogWindow) == 0) return false;
    return dialog->Next(*windows, event);
  });

  RunRequest request;
  request.game.levelFolder = options.levelFolder;
  request.traceFile = options.traceFile;
  request.playFile = options.demoFile;
  request.recordFile = options.recordFile;
  request.pace = {.recordedPace = false, .escapeStops = false};
  request.servicesStarted = [&windows](Services& services) { windows = &services.Windows(); };
  const int code = RunGame(platform, request);
  if (code != 0) return code;
  if (options.demoFile.empty() && dialog->RanOut()) {
    return Fail("the --dialog actions ran out before the dialog ended");
  }
  return code;
}

}  // namespace velko::sim
