#include "game/display_mode_dialog.h"

namespace velko {
namespace {

constexpr int32_t kDialogWindow = 1;
constexpr int32_t kGameWindow = 2;
constexpr uint32_t kDialogFlags = 0x00CA0001;      // caption, system menu, minimise box, centred
constexpr uint32_t kGameWindowFlags = 0x00C00001;  // caption only, centred
constexpr uint32_t kDefaultPushButton = 1;
constexpr int32_t kCloseEvent = 16;

}  // namespace

DisplayModeOutcome ChooseDisplayMode(Operations& ops, int16_t width, int16_t height,
                                     const std::string& title, const std::string& settingsFile,
                                     GameSettings& settings) {
  const WindowHandle dialog = ops.WindowOpen(kDialogWindow, 0, 0, 300, 180, kDialogFlags, title);
  if (dialog == 0) return DisplayModeOutcome::ScreenFailed;

  ops.GadgetList(dialog);
  ops.GadgetText(3, 50, 10, 200, 30, "Veillez choisir votre mode d'affichage :", 0);
  ops.GadgetDropDown(1, 75, 45, 130, 100, 0);
  ops.GadgetItemAdd(1, 0, "16 bits");
  ops.GadgetItemAdd(1, 1, "32 bits");
  // Gadget 3 again: the label stays on screen and the number now names the check box.
  ops.GadgetCheckBox(3, 80, 80, 150, 20,
                     "Mode fenestr\xE9 (" + TextFromInt(width) + "*" + TextFromInt(height) + ")",
                     0);
  ops.GadgetCheckBox(4, 80, 100, 150, 20,
                     "Couleurs alterr\xE9"
                     "es",
                     0);
  ops.GadgetCheckBox(5, 80, 120, 200, 20, "Forcer Ecran \xE0 75 Hz", 0);
  ops.GadgetButton(2, 120, 145, 60, 20, "OK", kDefaultPushButton);
  ops.WindowActivate();

  ops.PreferencesOpen(settingsFile);
  ops.PreferenceGroup("ScreenMode");
  const std::string fullScreen = ops.PreferenceReadText("FullScreen", "TRUE");
  const std::string mode = ops.PreferenceReadText("Mode", "16");
  const std::string alternative = ops.PreferenceReadText("Alternatives Colors", "FALSE");
  const std::string force75 = ops.PreferenceReadText("75hz", "FALSE");
  ops.PreferencesClose();

  if (TextEquals(fullScreen, "FALSE")) ops.GadgetStateSet(3, 1);
  if (TextEquals(mode, "16")) ops.GadgetStateSet(1, 0);
  if (TextEquals(mode, "32")) ops.GadgetStateSet(1, 1);
  ops.GadgetStateSet(4, TextEquals(alternative, "TRUE") ? 1 : 0);
  ops.GadgetStateSet(5, TextEquals(force75, "TRUE") ? 1 : 0);

  enum class Outcome { Waiting, Accepted, Cancelled };
  Outcome outcome = Outcome::Waiting;
  std::string chosen;
  while (outcome == Outcome::Waiting) {
    const int32_t event = ops.EventWait();
    if (event == 0) {
      // Nothing can ever arrive any more (the event source is gone): treat as closed.
      outcome = Outcome::Cancelled;
      break;
    }
    // The OK button was clicked: the event gadget is kept between events, but the kind is
    // reset by every wait, so only the click itself matches.
    if (ops.EventGadgetNumber() == 2 && ops.EventKind() == 0) {
      chosen = ops.GadgetTextGet(1);
      if (TextEquals(chosen, "")) {
        ops.MessageShow("Il faut choisir un mode d'affichage !",
                        "Avec \xE7"
                        "a on va pas aller loin.",
                        0);
      } else {
        outcome = Outcome::Accepted;
      }
    }
    if (event == kCloseEvent) outcome = Outcome::Cancelled;
  }

  settings.colourDepth = static_cast<int8_t>(IntFromText(TextHead(chosen, 2)));
  settings.windowed = ops.GadgetStateGet(3);
  settings.alternativeColours = static_cast<int8_t>(ops.GadgetStateGet(4));
  settings.force75Hz = ops.GadgetStateGet(5);
  ops.WindowClose(kDialogWindow);

  if (outcome == Outcome::Cancelled) return DisplayModeOutcome::Closed;

  if (ops.PreferencesCreate(settingsFile) != 0) {
    ops.PreferenceGroup("ScreenMode");
    ops.PreferenceWriteText("FullScreen", settings.windowed != 0 ? "FALSE" : "TRUE");
    ops.PreferenceWriteText("Mode", TextFromInt(settings.colourDepth));
    ops.PreferenceWriteText("Alternatives Colors",
                            settings.alternativeColours != 0 ? "TRUE" : "FALSE");
    ops.PreferenceWriteText("75hz", settings.force75Hz != 0 ? "TRUE" : "FALSE");
    ops.PreferencesClose();
  }
  return OpenScreenFor(ops, width, height, title, settings);
}

DisplayModeOutcome OpenScreenFor(Operations& ops, int16_t width, int16_t height,
                                 const std::string& title, const GameSettings& settings) {
  if (settings.windowed == 1) {
    const WindowHandle window =
        ops.WindowOpen(kGameWindow, 0, 0, width, height, kGameWindowFlags, title);
    if (window == 0) return DisplayModeOutcome::ScreenFailed;
    return ops.ScreenOpenInWindow(window, 0, 0, width, height, 0, 0, 0) != 0
               ? DisplayModeOutcome::ScreenOpened
               : DisplayModeOutcome::ScreenFailed;
  }
  if (settings.force75Hz != 0) ops.ScreenRequestRefresh(75);
  return ops.ScreenOpen(width, height, settings.colourDepth, title) != 0
             ? DisplayModeOutcome::ScreenOpened
             : DisplayModeOutcome::ScreenFailed;
}

}  // namespace velko
