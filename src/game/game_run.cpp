#include "game/game_run.h"

#include <memory>
#include <vector>

#include "game/demo_digest.h"
#include "game/trace_writer.h"
#include "platform/file_system.h"

namespace velko {
namespace {

constexpr int kCannotRun = 2;

// The path of each file a demo depends on, as this game would open it.
std::array<std::string, kDemoDataFiles.size()> DataFilePaths(const ProgramDirectory& directory,
                                                             const GameOptions& options) {
  std::array<std::string, kDemoDataFiles.size()> paths;
  for (std::size_t i = 0; i < paths.size(); ++i) {
    const std::string name = kDemoDataFiles[i];
    const bool ofTheCircuit = name == "level.map" || name == "level.bpb";
    paths[i] = directory.Resolve(ofTheCircuit ? LevelFileName(options, name) : name);
  }
  return paths;
}

std::optional<std::vector<uint8_t>> ReadWholeFile(const std::string& pathUtf8) {
  const int file = files::OpenForReading(pathUtf8);
  if (file < 0) return std::nullopt;
  std::vector<uint8_t> bytes;
  const files::Info info = files::InfoOfOpen(file);
  // One byte over the limit is enough to refuse the file as too large.
  if (info.kind != files::Kind::File || info.size < 0 ||
      static_cast<uint64_t>(info.size) > kMaxDemoBytes) {
    bytes.resize(info.kind == files::Kind::File ? kMaxDemoBytes + 1 : 0);
  } else {
    bytes.resize(static_cast<std::size_t>(info.size));
  }
  std::size_t got = 0;
  while (got < bytes.size()) {
    const int64_t n = files::ReadSome(file, bytes.data() + got, bytes.size() - got);
    if (n <= 0) break;
    got += static_cast<std::size_t>(n);
  }
  files::Close(file);
  bytes.resize(got);
  return bytes;
}

// Tells the player, and whoever started the game, that the run could not be made.
int CannotRun(platform::Platform& platform, const std::string& text) {
  platform.ReportProblem(platform::Utf8FromCp1252(text));
  platform.MessageBox(kErrorTitle, text);
  return kCannotRun;
}

}  // namespace

std::optional<DemoTape> LoadDemoFor(const ProgramDirectory& directory, const std::string& pathUtf8,
                                    const GameOptions& options, std::string& reason) {
  const std::optional<std::vector<uint8_t>> bytes = ReadWholeFile(pathUtf8);
  if (!bytes) {
    reason = "introuvable ou illisible";
    return std::nullopt;
  }
  std::optional<DemoTape> tape = ReadDemo(*bytes, reason);
  if (!tape) return std::nullopt;
  GameOptions played = options;
  if (played.levelFolder.empty()) played.levelFolder = tape->header.levelFolder;
  const auto paths = DataFilePaths(directory, played);
  std::string differ;
  for (std::size_t i = 0; i < paths.size(); ++i) {
    if (FileDigest(paths[i]) == tape->header.digests[i]) continue;
    differ += std::string(differ.empty() ? "" : ", ") + kDemoDataFiles[i];
  }
  if (!differ.empty()) {
    reason = "faite sur d'autres fichiers : " + differ + " diff\xE8rent de ceux de la d\xE9mo";
    if (!tape->header.levelFolder.empty()) reason += " (circuit " + tape->header.levelFolder + ")";
    return std::nullopt;
  }
  return tape;
}

int RunGame(platform::Platform& platform, const RunRequest& request) {
  GameOptions options = request.game;
  std::unique_ptr<Services> services;
  std::optional<DemoTape> tape;
  DemoWriter writer;
  if (!request.playFile.empty()) {
    // Read before anything is shown: a demo this game cannot play shows nothing.
    std::string reason;
    tape = LoadDemoFor(ProgramDirectoryOf(platform), request.playFile, options, reason);
    if (!tape) return CannotRun(platform, "D\xE9mo " + request.playFile + " : " + reason);
    if (options.levelFolder.empty()) options.levelFolder = tape->header.levelFolder;
    options.answeredDialog = DialogChoice{tape->header.dialogEnd, tape->header.settings};
    services = std::make_unique<PlaybackServices>(platform, *tape, request.pace);
  } else if (!request.recordFile.empty()) {
    if (!writer.Open(request.recordFile)) {
      return CannotRun(platform,
                       "Impossible d'\xE9"
                       "crire la d\xE9mo " +
                           request.recordFile);
    }
    services = std::make_unique<RecordingServices>(platform, writer);
    Services& recorded = *services;
    const std::string version = request.gameVersion;
    options.dialogEnded = [&writer, &recorded, version](const DialogChoice& dialog,
                                                        const GameOptions& played) {
      DemoHeader header;
      header.gameVersion = version;
      header.levelFolder = played.levelFolder;
      const auto paths = DataFilePaths(recorded.Directory(), played);
      for (std::size_t i = 0; i < paths.size(); ++i) header.digests[i] = FileDigest(paths[i]);
      header.dialogEnd = dialog.outcome;
      header.settings = dialog.settings;
      header.randomSeed = recorded.RandomSeed();
      header.soundAvailable = static_cast<RecordingServices&>(recorded).SoundAvailable();
      writer.Header(header);
    };
  } else {
    services = std::make_unique<Services>(platform);
  }

  // Opened once the demo is known to play: a refused demo writes no trace either.
  TraceWriter trace;
  if (!request.traceFile.empty() && !trace.Open(request.traceFile)) {
    return CannotRun(platform,
                     "Impossible d'\xE9"
                     "crire la trace " +
                         request.traceFile);
  }
  FrameObserver observer = [&trace, &request](const GameState& state, long frame) {
    trace.Write(state, frame);
    if (request.observer) request.observer(state, frame);
  };

  services->StartUp();
  if (tape) services->RandomReseed(tape->header.randomSeed);
  if (request.servicesStarted) request.servicesStarted(*services);
  Game game(*services, observer, options);
  const int code = game.Run();
  bool complete = trace.Close();
  if (!request.recordFile.empty()) complete = writer.Finish() && complete;
  if (tape && static_cast<PlaybackServices&>(*services).Diverged()) {
    platform.ReportProblem("the demo does not follow this game: it was not made on this build");
  }
  if (!complete) {
    platform.ReportProblem("the trace or the demo could not be written whole");
    return kCannotRun;
  }
  return code;
}

}  // namespace velko
