#include "game/game.h"

#include "data/level_map.h"
#include "data/picture_package.h"

namespace velko {

std::string LevelFileName(const GameOptions& options, const std::string& name) {
  const std::string& folder = options.levelFolder;
  if (folder.empty()) return name;
  // A bare name is a circuit that comes with the game, in its levels folder.
  if (folder.find_first_of("/\\") == std::string::npos) return "levels/" + folder + "/" + name;
  return folder.back() == '/' || folder.back() == '\\' ? folder + name : folder + "/" + name;
}

Game::Game(Operations& operations, FrameObserver observer, GameOptions options)
    : ops_(operations), observer_(std::move(observer)), options_(std::move(options)) {}

void Game::Fatal(const std::string& text) {
  ops_.MessageShow(kErrorTitle, text, 0);
}

bool Game::RequireDataFile(const std::string& name) {
  if (ops_.DataFileSize(name) > 0) return true;
  Fatal(kMissingDataFile + name);
  return false;
}

int Game::Run() {
  if (StartAndLoad()) FrameLoopRun(ops_, state_, observer_);
  ops_.ServicesShutDown();
  return 0;
}

bool Game::StartAndLoad() {
  state_.soundAvailable = ops_.AudioStart();
  if (state_.soundAvailable == 0) Fatal(kNoSound);  // the game goes on, silent
  if (ops_.ScreenStart() == 0) {
    Fatal(kNoDirectX);
    return false;
  }
  if (ops_.KeyboardStart() == 0) {
    Fatal(kNoDirectX);
    return false;
  }
  DialogChoice dialog;
  if (options_.answeredDialog) {
    dialog = *options_.answeredDialog;
    if (dialog.outcome == DisplayModeOutcome::ScreenOpened) {
      dialog.outcome = OpenScreenFor(ops_, 800, 600, kGameTitle, dialog.settings);
    }
  } else {
    dialog.outcome = ChooseDisplayMode(ops_, 800, 600, kGameTitle, "screen.ini", dialog.settings);
  }
  state_.settings = dialog.settings;
  if (options_.levelFolderAtLoad) options_.levelFolder = options_.levelFolderAtLoad();
  if (options_.dialogEnded) options_.dialogEnded(dialog, options_);
  switch (dialog.outcome) {
    case DisplayModeOutcome::ScreenOpened:
      break;
    case DisplayModeOutcome::ScreenFailed:
      Fatal(kScreenFailed);
      return false;
    case DisplayModeOutcome::Closed:
      return false;
  }
  if (ops_.TexturedSpriteStart() == 0) {
    Fatal(kNoDirectX);
    return false;
  }

  // Loading screen, left up while the data loads.
  ops_.ScreenFill(0, 0, 0);
  ops_.DrawBegin(ops_.ScreenDrawTarget());
  ops_.DrawString("Chargement...");
  ops_.DrawEnd();
  ops_.ScreenPresent();

  if (state_.settings.alternativeColours == 1) state_.alternativeColoursCopy = 1;
  if (state_.soundAvailable != 0) ops_.AudioLoadWave(1, "choc.wav");

  const std::string mapName = LevelFileName(options_, "level.map");
  if (!RequireDataFile(mapName)) return false;
  std::string levelError;
  if (!LevelMapRead(ops_, state_.level, levelError, mapName)) {
    Fatal(levelError);
    return false;
  }

  state_.nextTileSprite = 100;
  const std::string pictureName = LevelFileName(options_, "level.bpb");
  if (!RequireDataFile(pictureName)) return false;
  std::string refusal;
  if (LoadPackageSprite(ops_, 0, pictureName, state_.alternativeColoursCopy, &refusal) == 0 &&
      !refusal.empty()) {
    // The circuit then shows black; whoever made the picture is told why.
    ops_.ProblemReport(refusal + "; the circuit is drawn black");
  }
  TilesCut(ops_, state_.level, state_.nextTileSprite);

  ops_.SpriteLoadFile(1, "car.bmp", 4);
  if (state_.alternativeColoursCopy == 1) {
    PaintPackageOnSprite(ops_, 1, "car.bpb");
    ops_.SpriteSetKeyColour(1, 0, 127, 0);
  } else {
    ops_.SpriteSetKeyColour(1, 0, 255, 0);
  }
  if (ops_.TexturedSpriteCreate(1, 1) == 0) {
    Fatal(kBadPackage);
    return false;
  }

  CarState& car = state_.car;
  car.heading = 270.0f;
  car.speed = 0.0f;
  car.screenX = 300.0f;
  car.screenY = 400.0f;
  state_.clock.moveStartTick = ops_.MillisecondsNow();
  car.scrollX = 0.0f;
  car.scrollY = 0.0f;
  state_.crash.carOpacity = 255;
  state_.clock.framesPerSecond = 0;
  state_.clock.fpsStartTick = ops_.MillisecondsNow();
  return true;
}

}  // namespace velko
