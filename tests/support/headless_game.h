// A whole game over the headless platform, as tests run it: the program in a test's folder,
// the dialog answered by scripted actions, Escape held from the first frame.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <string>

#include "game/game.h"
#include "platform/headless/headless_platform.h"
#include "services/services.h"
#include "services/windows/dialog_script.h"
#include "support/temp_dir.h"

namespace velko::testing {

class HeadlessGame {
 public:
  HeadlessGame(const TempDir& program, const std::string& dialogActions)
      : platform_(OptionsFor(program)), services_(platform_) {
    platform_.SetKeySource([](int, std::array<std::uint8_t, 256>& keys) { keys[1] = 0x80; });
    std::string error;
    dialog_ = DialogScript::Parse(dialogActions, error);
    EXPECT_TRUE(dialog_) << error;
    platform_.SetEventSource([this](platform::InputEvent& event) {
      return dialog_ && services_.Windows().WindowHandleOf(1) != 0 &&
             dialog_->Next(services_.Windows(), event);
    });
    services_.StartUp();
  }

  // Runs the game to its end; its exit code. `state` gets the game's state at the end.
  int Run(const GameOptions& options = {}, GameState* state = nullptr) {
    Game game(services_, {}, options);
    const int code = game.Run();
    if (state != nullptr) *state = game.State();
    return code;
  }

  platform::HeadlessPlatform& Platform() { return platform_; }
  Services& Ops() { return services_; }

 private:
  static platform::HeadlessOptions OptionsFor(const TempDir& program) {
    platform::HeadlessOptions options;
    options.executablePath = program.ExecutablePath();
    options.echoMessages = false;
    return options;
  }

  platform::HeadlessPlatform platform_;
  Services services_;
  std::optional<DialogScript> dialog_;
};

}  // namespace velko::testing
