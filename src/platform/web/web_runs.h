// What the next run of the game plays, as the player chose it around the game in the page
// (velko_runs.js): the circuit, whether the run is offered as a demo to download, and a demo
// dropped onto the page to watch.
#pragma once

#include <string>

namespace velko::platform {

// Every run the player drives is recorded here; the page offers it when asked to.
inline constexpr char kRecordedDemo[] = "/velko/demo.vdm";

// The path of a demo dropped onto the page and not watched yet, now taken; "" when none waits.
std::string TakeDroppedDemo();
// True when a demo was dropped during the run that just ended: it is watched at once.
bool DemoDropped();
// A run starts: the player may choose (false), or watches a demo (true).
void RunStarting(bool watching);
// The circuit chosen, asked when the dialog has ended: "" for the game's own, a circuit's
// name, or the folder of the uploaded files.
std::string LevelFolderChosen();
// The run ended; `demoRecorded`: it was driven and recorded whole.
void RunEnded(bool demoRecorded);

}  // namespace velko::platform
