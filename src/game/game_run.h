// One run of the game as a program's entry asks for it: played, recorded into a demo, or a
// demo played back; with a trace of every frame when asked. Every entry (Linux, Windows, the
// web page, velko-sim) runs the game through here.
#pragma once

#include <string>

#include "game/demo_services.h"
#include "game/game.h"
#include "platform/platform.h"

namespace velko {

struct RunRequest {
  GameOptions game;
  std::string recordFile;  // write a demo of the run here (UTF-8 path)
  std::string playFile;    // play this demo back instead of playing
  std::string traceFile;   // write a trace line per frame here ("-": standard output)
  PlaybackPace pace;       // how a demo is played back
  std::string gameVersion = "0.5";
  // Called after each frame as the trace is (tests, velko-sim).
  FrameObserver observer;
  // Called once the services have started, before the game runs (velko-sim's dialog script).
  std::function<void(Services&)> servicesStarted;
};

// The exit code: the game's (0), or 2 when the run could not be made as asked (a demo that
// cannot be played here, a file that cannot be written); the reason then went to the player
// and to standard error.
int RunGame(platform::Platform& platform, const RunRequest& request);

// Reads a demo and checks it against the data files this game would play it on: null, with
// the reason (Windows-1252), for a demo that cannot be played here.
std::optional<DemoTape> LoadDemoFor(const ProgramDirectory& directory, const std::string& pathUtf8,
                                    const GameOptions& options, std::string& reason);

}  // namespace velko
