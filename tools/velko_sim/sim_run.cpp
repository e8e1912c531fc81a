#include "sim_run.h"

#include <cstdio>
#include <optional>

#include "game/game.h"
#include "platform/headless/headless_platform.h"
#include "platform/headless/key_script.h"
#include "services/services.h"
#include "services/windows/dialog_script.h"
#include "sim_keys.h"
#include "trace_writer.h"

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

  Services services(platform);

  std::string dialogError;
  std::optional<DialogScript> dialog = DialogScript::Parse(options.dialogActions, dialogError);
  if (!dialog) return Fail("--dialog: " + dialogError);
  // The actions answer the display-mode dialog (window 1) only; later waits get nothing.
  platform.SetEventSource([&dialog, &services](platform::InputEvent& event) {
    if (services.Windows().WindowHandleOf(kDialogWindow) == 0) return false;
    return dialog->Next(services.Windows(), event);
  });

  TraceWriter trace;
  if (!options.traceFile.empty() && !trace.Open(options.traceFile)) {
    return Fail("cannot create trace file " + options.traceFile);
  }
  services.StartUp();
  Game game(services, [&trace](const GameState& state, long frame) { trace.Write(state, frame); });
  const int code = game.Run();
  const bool traceWritten = trace.Close();

  if (dialog->RanOut()) return Fail("the --dialog actions ran out before the dialog ended");
  if (!traceWritten) return Fail("could not write the trace to " + options.traceFile);
  return code;
}

}  // namespace velko::sim
