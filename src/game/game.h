// One run of the game: start-up, loading, the frame loop and shutdown.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include "game/display_mode_dialog.h"
#include "game/frame_loop.h"

#include "game/game_state.h"
#include "services/operations.h"

namespace velko {

inline constexpr char kErrorTitle[] = "Erreur";
inline constexpr char kNoSound[] = "Le programme ne peut pas jouer des sons";
inline constexpr char kNoDirectX[] = "DirectX 7 n'est pas install\xE9 sur votre machine";
inline constexpr char kScreenFailed[] =
    "Impossible d'ouvrir l'\xE9"
    "cran avec les parametres actuels.";
inline constexpr char kBadPackage[] = "Package incorect";
// A missing or empty circuit would leave a silent black world: the player is told which file.
inline constexpr char kMissingDataFile[] = "Fichier introuvable ou vide : ";
inline constexpr char kGameTitle[] = "Project Velko Alpha 0.5";

// How the display-mode dialog ended, and what it chose.
struct DialogChoice {
  DisplayModeOutcome outcome = DisplayModeOutcome::ScreenOpened;
  GameSettings settings;
};

// How the program was asked to play.
struct GameOptions {
  // Where level.map and level.bpb come from: "" for the game's own circuit, a bare name for a
  // circuit of its levels folder, or an absolute folder (UTF-8).
  std::string levelFolder;
  // When given, asked for the folder as the loading starts (the web page lets the player pick
  // a circuit while the dialog waits).
  std::function<std::string()> levelFolderAtLoad;
  // A dialog answered already (a demo played back): it is not shown, and the screen opens as
  // it chose. settings.ini is left as it is.
  std::optional<DialogChoice> answeredDialog;
  // Told how the dialog ended, as soon as it has, with the options the game then plays with
  // (a demo being recorded).
  std::function<void(const DialogChoice&, const GameOptions&)> dialogEnded;
};

// The name the game opens a file of the circuit under ("level.map", "level.bpb").
std::string LevelFileName(const GameOptions& options, const std::string& name);

class Game {
 public:
  // `operations` must have run its services' StartUp already.
  explicit Game(Operations& operations, FrameObserver observer = {}, GameOptions options = {});

  // Runs to the end and shuts the services down; the process's exit code is always 0.
  int Run();

  const GameState& State() const { return state_; }

 private:
  bool StartAndLoad();  // false: shut down now
  void Fatal(const std::string& text);
  // False, after telling the player, when the data file is missing, empty or a folder.
  bool RequireDataFile(const std::string& name);

  Operations& ops_;
  FrameObserver observer_;
  GameOptions options_;
  GameState state_;
};

}  // namespace velko
