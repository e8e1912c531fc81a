#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <filesystem>
#include <string>

#include "data/level_map.h"
#include "data/picture_package.h"
#include "fuzz/fuzz_entries.h"
#include "game/demo_digest.h"
#include "game/demo_file.h"
#include "game/demo_services.h"
#include "game/game.h"
#include "platform/headless/headless_platform.h"
#include "services/services.h"

namespace velko::fuzzing {
namespace {

constexpr char kTitle[] = "Velko";
constexpr int32_t kScreenWidth = 200;
constexpr int32_t kScreenHeight = 150;

// The program's directory of every input, made once per process on tmpfs so that writing each
// input costs no disk; VELKO_FUZZ_TMP names the folder to make it in.
class ProgramFolder {
 public:
  static const ProgramFolder& Get() {
    static const ProgramFolder folder;
    return folder;
  }

  std::string ExecutablePath() const { return path_ + "/velko"; }

  bool Write(const char* name, Input bytes) const {
    if (path_.empty()) return false;
    const std::string file = path_ + "/" + name;
    const int descriptor = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (descriptor < 0) return false;
    size_t done = 0;
    while (done < bytes.size()) {
      const ssize_t wrote = ::write(descriptor, bytes.data() + done, bytes.size() - done);
      if (wrote < 0 && errno == EINTR) continue;
      if (wrote <= 0) break;
      done += static_cast<size_t>(wrote);
    }
    return ::close(descriptor) == 0 && done == bytes.size();
  }

 private:
  ProgramFolder() {
    std::string base;
    if (const char* chosen = std::getenv("VELKO_FUZZ_TMP"); chosen != nullptr && *chosen != 0) {
      base = chosen;
    } else if (std::error_code error; std::filesystem::is_directory("/dev/shm", error)) {
      base = "/dev/shm";
    } else {
      base = std::filesystem::temp_directory_path().string();
    }
    std::string pattern = base + "/velko-fuzz-XXXXXX";
    if (::mkdtemp(pattern.data()) != nullptr) path_ = pattern;
  }
  ~ProgramFolder() {
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
  }
  ProgramFolder(const ProgramFolder&) = delete;
  ProgramFolder& operator=(const ProgramFolder&) = delete;

  std::string path_;
};

platform::HeadlessOptions OptionsFor(bool audio) {
  platform::HeadlessOptions options;
  options.executablePath = ProgramFolder::Get().ExecutablePath();
  options.audioAvailable = audio;
  options.echoMessages = false;
  options.keepFrames = false;
  return options;
}

// A fresh run of the services for each input, so that an input found alone replays alone.
struct Session {
  explicit Session(bool audio = false) : platform(OptionsFor(audio)), ops(platform) {
    ops.StartUp();
  }
  // A screen at the depth the input chose. The readers never look at its size, and the
  // game's 800 x 600 buffer, made anew for each input, cost most of each run.
  bool OpenScreen(int depth) {
    return ops.ScreenStart() != 0 &&
           ops.ScreenOpen(kScreenWidth, kScreenHeight, depth, kTitle) != 0;
  }

  platform::HeadlessPlatform platform;
  Services ops;
};

// A broken promise, with the two numbers that show it.
Outcome Broken(const char* what, int64_t a = 0, int64_t b = 0) {
  return {false, std::string(what) + " (" + std::to_string(a) + ", " + std::to_string(b) + ")"};
}

Outcome Took(bool accepted) {
  return {accepted, {}};
}

// Reads of the system that reading a file of `size` bytes to its end may take: each read fills
// the 64 KiB read-ahead, and the one that finds the end is the last.
int64_t MaxSystemReads(size_t size) {
  return static_cast<int64_t>(size / 65535) + 2;
}

bool HasSurface(Services& ops, int32_t number) {
  const SpriteRecord* record = ops.Sprites().Find(number);
  return record != nullptr && record->surface != nullptr;
}

}  // namespace

int DepthFor(Input input) {
  int ones = 0;
  for (const std::uint8_t byte : input) ones += std::popcount(byte);
  return (ones & 1) != 0 ? 32 : 16;
}

Outcome FuzzBmp(Input input) {
  const int depth = DepthFor(input);
  Session session;
  Services& ops = session.ops;
  if (!session.OpenScreen(depth) || ops.TexturedSpriteStart() == 0) return Broken("no screen");
  if (!ProgramFolder::Get().Write("car.bmp", input)) return Broken("car.bmp not written");

  if (ops.SpriteLoadFile(1, "car.bmp", SpriteModeTexture) == 0) {
    return HasSurface(ops, 1) ? Broken("a refused car.bmp left a sprite") : Took(false);
  }
  const int64_t width = ops.SpriteGetWidth(1);
  const int64_t height = ops.SpriteGetHeight(1);
  // Every pixel is at least one byte of the file: a larger sprite came from nowhere.
  if (width <= 0 || height <= 0 || width * height > static_cast<int64_t>(input.size())) {
    return Broken("car.bmp made a sprite larger than its file holds", width, height);
  }
  const int loadedDepth = ops.Sprites().Find(1)->surface->Depth();
  if (loadedDepth != depth) return Broken("the car missed the screen's depth", depth, loadedDepth);
  ops.SpriteSetKeyColour(1, 0, 255, 0);
  // The game gives up with a message when the car cannot be turned.
  if (ops.TexturedSpriteCreate(1, 1) == 0) return Took(true);
  // The first frame's car, then one turned off the axes.
  for (const int32_t heading : {270, 40}) {
    if (ops.TexturedSceneBegin() == 0) return Broken("no scene");
    ops.TexturedSpriteRotate(1, heading, 0);
    ops.TexturedSpriteShow(1, kScreenWidth / 2, kScreenHeight / 2, 255);
    ops.TexturedSceneEnd();
  }
  ops.SpriteShow(1, 10, 10);
  return Took(true);
}

Outcome FuzzWave(Input input) {
  Session session(true);
  Services& ops = session.ops;
  if (ops.AudioStart() == 0) return Broken("no sound");
  if (!ProgramFolder::Get().Write("choc.wav", input)) return Broken("choc.wav not written");

  const auto& buffers = session.platform.AudioBuffers();
  if (ops.AudioLoadWave(1, "choc.wav") == 0) {
    return buffers.empty() ? Took(false) : Broken("a refused choc.wav left a sound");
  }
  if (buffers.size() != 1) return Broken("one load made other sounds", buffers.size());
  // Samples lie after the RIFF header, the format chunk and the data chunk's header.
  const size_t samples = buffers.begin()->second.size();
  constexpr size_t kHeaders = 44;
  if (samples == 0 || samples + kHeaders > input.size()) {
    return Broken("choc.wav gave more samples than it holds", samples, input.size());
  }
  ops.AudioPlayOnce(1);
  if (session.platform.Plays().size() != 1) return Broken("the crash sound did not play");
  return Took(true);
}

Outcome FuzzSettings(Input input) {
  if (!ProgramFolder::Get().Write("screen.ini", input)) return Broken("screen.ini not written");
  Session session;
  Services& ops = session.ops;
  if (ops.PreferencesOpen("screen.ini") == 0) return Broken("an existing screen.ini did not open");
  const bool grouped = ops.PreferenceGroup("ScreenMode") != 0;
  struct Read {
    const char* key;
    const char* fallback;
  };
  const std::string_view text(reinterpret_cast<const char*>(input.data()), input.size());
  for (const Read& read : {Read{"FullScreen", "TRUE"}, Read{"Mode", "16"},
                           Read{"Alternatives Colors", "FALSE"}, Read{"75hz", "FALSE"}}) {
    const std::string value = ops.PreferenceReadText(read.key, read.fallback);
    if (value.find_first_of("\r\n") != std::string::npos) {
      return Broken("a value runs over its line", value.size());
    }
    if (value != read.fallback && text.find(value) == std::string_view::npos) {
      return Broken("a value is not in screen.ini", value.size());
    }
  }
  ops.PreferencesClose();
  return Took(grouped);
}

Outcome FuzzLevelMap(Input input) {
  LevelData level;
  return ReadLevelMap(input, level);
}

Outcome ReadLevelMap(Input input, LevelData& level) {
  Session session;
  Services& ops = session.ops;
  if (!session.OpenScreen(DepthFor(input))) return Broken("no screen");
  if (!ProgramFolder::Get().Write("level.map", input)) return Broken("level.map not written");

  std::string error;
  const int64_t readsBefore = ops.Files().SystemReads();
  const bool read = LevelMapRead(ops, level, error);
  // However much a header announces, the file is read to its end once and no more.
  const int64_t reads = ops.Files().SystemReads() - readsBefore;
  if (reads > MaxSystemReads(input.size())) {
    return Broken("level.map took more reads of the system than its size needs", reads,
                  input.size());
  }
  if (!read) {
    return error.find("level.map") == std::string::npos
               ? Broken("the refusal does not name level.map")
               : Took(false);
  }
  const TileGrid& grid = level.grid;
  const int64_t columns = std::max(grid.columns, 0) + 1;
  const int64_t rows = std::max(grid.rows, 0) + 1;
  if (grid.storedColumns != columns || grid.storedRows != rows) {
    return Broken("the stored grid is not the announced one", grid.storedColumns, grid.storedRows);
  }
  // A short file must not be held at its header's size: its read cells, their column's spare
  // row and the spare element at most.
  if (columns * rows > kMaxGridCells ||
      static_cast<int64_t>(grid.cells.Size()) > std::max<int64_t>(input.size(), 4) * rows + 1) {
    return Broken("the grid holds more cells than the file", columns * rows, grid.cells.Size());
  }

  // Cut as the game does, from a tile picture of 3 x 2 tiles.
  if (ops.SpriteCreate(0, 3 * kTileSize, 2 * kTileSize, 0) == 0) return Broken("no picture");
  int32_t nextTileSprite = 100;
  TilesCut(ops, level, nextTileSprite);
  // Look-ups on both sides of every edge of the grid, where the probes and the view may go:
  // outside the stored cells lies free ground.
  for (const int64_t c : {int64_t{-1}, int64_t{0}, columns - 2, columns - 1, columns}) {
    for (const int64_t r : {int64_t{-1}, int64_t{0}, rows - 2, rows - 1, rows}) {
      const int8_t type = CollisionTypeAt(level, c, r);
      const bool outside = c < 0 || r < 0 || c >= columns || r >= rows;
      if (outside && type != 0) return Broken("solid ground outside the grid", c, r);
    }
  }
  return Took(true);
}

Outcome FuzzPackage(Input input) {
  Session session;
  Services& ops = session.ops;
  if (!session.OpenScreen(DepthFor(input))) return Broken("no screen");
  if (!ProgramFolder::Get().Write("level.bpb", input) ||
      !ProgramFolder::Get().Write("car.bpb", input)) {
    return Broken("packages not written");
  }
  const int32_t alternative = static_cast<int32_t>(input.size() & 1);

  int64_t readsBefore = ops.Files().SystemReads();
  const int32_t loaded = LoadPackageSprite(ops, 0, "level.bpb", alternative);
  int64_t reads = ops.Files().SystemReads() - readsBefore;
  if (reads > MaxSystemReads(input.size())) {
    return Broken("level.bpb took more reads of the system than its size needs", reads,
                  input.size());
  }
  if ((loaded != 0) != HasSurface(ops, 0)) {
    return Broken("the tile picture's result and sprite disagree", loaded, HasSurface(ops, 0));
  }
  LevelData level;
  level.tiles = DimArray<TileDef>::Create1D(8);
  int32_t nextTileSprite = 100;
  TilesCut(ops, level, nextTileSprite);

  // The car in the alternative colours: painted over as it is, never resized.
  if (ops.SpriteCreate(1, 64, 64, SpriteModeTexture) == 0) return Broken("no car");
  readsBefore = ops.Files().SystemReads();
  PaintPackageOnSprite(ops, 1, "car.bpb");
  reads = ops.Files().SystemReads() - readsBefore;
  if (reads > MaxSystemReads(input.size())) {
    return Broken("car.bpb took more reads of the system than its size needs", reads, input.size());
  }
  if (ops.SpriteGetWidth(1) != 64 || ops.SpriteGetHeight(1) != 64) {
    return Broken("painting resized the car", ops.SpriteGetWidth(1), ops.SpriteGetHeight(1));
  }
  return Took(loaded != 0);
}

// The input with its header's and its chunks' checksums made to match, where its layout lets
// them be found: mutations then reach the records and the playback, not only the checks.
std::vector<std::uint8_t> WithChecksumsMended(Input input) {
  std::vector<std::uint8_t> bytes(input.begin(), input.end());
  const auto put32 = [&bytes](std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
      bytes[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
  };
  const auto get = [&bytes](std::size_t at, int count) {
    std::uint64_t value = 0;
    for (int i = 0; i < count; ++i)
      value |= std::uint64_t{bytes[at + static_cast<std::size_t>(i)]} << (8 * i);
    return value;
  };
  // Tag 8, format 2, version 1 + V, digests 32, folder 2 + F, dialog 11, seed 4, sound 1.
  std::size_t at = 10;
  if (bytes.size() < at + 1) return bytes;
  at += 1 + get(at, 1) + 32;
  if (bytes.size() < at + 2) return bytes;
  at += 2 + get(at, 2) + 16;
  if (bytes.size() < at + 4) return bytes;
  put32(at, static_cast<std::uint32_t>(Digest(Input(bytes.data(), at))));
  at += 4;
  while (bytes.size() >= at + 8) {
    const std::uint64_t length = get(at, 4);
    if (bytes.size() - at - 8 < length) break;
    put32(at + 4, static_cast<std::uint32_t>(Digest(Input(bytes.data() + at + 8, length))));
    at += 8 + length;
  }
  return bytes;
}

Outcome FuzzDemo(Input input) {
  std::string reason;
  const std::vector<std::uint8_t> mended = WithChecksumsMended(input);
  // Odd inputs are read as they are, even ones mended: both the checks and the records.
  const bool mend = !input.empty() && (input.back() & 1) == 0;
  const std::optional<DemoTape> tape = ReadDemo(mend ? Input(mended) : input, reason);
  if (!tape) return reason.empty() ? Broken("a demo refused without a reason") : Took(false);
  if (tape->records.size() > input.size()) {
    return Broken("the tape holds more records than the file", tape->records.size(), input.size());
  }
  // The circuit it plays on: a wall across row 2 of a 20 x 12 map, a plain car; written once.
  static const bool written = [] {
    std::vector<std::uint8_t> map = {20, 0, 12, 0, 0, 0};
    for (int c = 0; c < 20; ++c) {
      for (int r = 0; r < 12; ++r)
        map.insert(map.end(), {static_cast<std::uint8_t>(r == 2), 0, 0, 0});
    }
    map.insert(map.end(), {2, 0, 0, 1});
    const std::vector<std::uint8_t> picture = {1, 0, 1, 0, 0x7F, 0x7F, 0x7F};
    std::vector<std::uint8_t> car = {'B', 'M', 0x36, 0x30, 0, 0, 0, 0,  0, 0, 54, 0, 0, 0,  40,
                                     0,   0,   0,    64,   0, 0, 0, 64, 0, 0, 0,  1, 0, 24, 0};
    car.resize(54 + 64 * 64 * 3, 0x80);
    return ProgramFolder::Get().Write("level.map", map) &&
           ProgramFolder::Get().Write("level.bpb", picture) &&
           ProgramFolder::Get().Write("car.bmp", car);
  }();
  if (!written) return Broken("the circuit was not written");
  platform::HeadlessPlatform platform(OptionsFor(false));
  PlaybackServices services(platform, *tape, {.recordedPace = false, .escapeStops = false});
  services.StartUp();
  services.RandomReseed(tape->header.randomSeed);
  GameOptions options;
  options.answeredDialog = DialogChoice{tape->header.dialogEnd, tape->header.settings};
  int64_t frames = 0;
  Game game(
      services, [&frames](const GameState&, long) { ++frames; }, options);
  game.Run();
  // Every frame polls the keys once, and each poll takes a record: the game ends with the tape.
  if (frames > static_cast<int64_t>(tape->records.size()) + 2) {
    return Broken("the game played on past the demo", frames, tape->records.size());
  }
  return Took(true);
}

Entry EntryNamed(std::string_view target) {
  struct Named {
    std::string_view name;
    Entry entry;
  };
  static constexpr Named kEntries[] = {{"bmp", FuzzBmp},           {"wav", FuzzWave},
                                       {"settings", FuzzSettings}, {"levelmap", FuzzLevelMap},
                                       {"package", FuzzPackage},   {"import", FuzzImport},
                                       {"demo", FuzzDemo}};
  for (const Named& named : kEntries) {
    if (named.name == target) return named.entry;
  }
  return nullptr;
}

}  // namespace velko::fuzzing
