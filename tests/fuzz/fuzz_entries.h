// One entry per file the game reads, each taking the bytes of that file and reading them
// through the game's own operations over the real services on the headless platform. The
// libFuzzer targets and the replay test both call these, so a kept input is replayed on
// exactly the path that found it.
//
// Each entry says whether the game took the file, and what the input broke beyond what the
// sanitizers see: a broken promise of the reader, such as reading the system without bound.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "data/level_map.h"

namespace velko::fuzzing {

using Input = std::span<const std::uint8_t>;

struct Outcome {
  bool accepted = false;  // the game took the file (loaded, read, or found its values)
  std::string broken;     // empty when every promise held
};

// "car.bmp": loaded as the game loads the car, then shown and turned once.
Outcome FuzzBmp(Input input);
// "choc.wav": loaded as the crash sound and played.
Outcome FuzzWave(Input input);
// "screen.ini": the four values the display-mode dialog reads.
Outcome FuzzSettings(Input input);
// "level.map": read, cut against a small tile picture, and looked up around its edges.
Outcome FuzzLevelMap(Input input);
// The same, keeping the level read.
Outcome ReadLevelMap(Input input, LevelData& level);
// "level.bpb" and "car.bpb": loaded as the tile picture and painted over a 64 x 64 car.
Outcome FuzzPackage(Input input);

// A Tiled map for velko-level's import: the input is the map, then any files it names, each
// after a line "@@file NAME" (tilesets, PNG and BMP pictures), all held in memory.
Outcome FuzzImport(Input input);

// A demo (".vdm"): read, then played back by the game over a small circuit to its end.
Outcome FuzzDemo(Input input);

// The entry for a target name (bmp, wav, settings, levelmap, package, import, demo), or null.
using Entry = Outcome (*)(Input);
Entry EntryNamed(std::string_view target);

// The screen depth an input is read at: 32 when its bits hold an odd number of ones, else 16,
// so that any one-bit change of an input tries the other depth.
int DepthFor(Input input);

}  // namespace velko::fuzzing
