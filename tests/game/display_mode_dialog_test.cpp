// The display-mode dialog over the real window, gadget and preferences services, driven by
// scripted player input on the headless platform.
#include "game/display_mode_dialog.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "platform/headless/headless_platform.h"
#include "services/services.h"
#include "services/windows/dialog_script.h"
#include "support/temp_dir.h"
#include "support/window_test_support.h"

namespace velko {
namespace {

constexpr const char* kTitle = "Project Velko Alpha 0.5";

std::string SettingsFile(const char* fullScreen, const char* mode, const char* alternative,
                         const char* force75) {
  return std::string("[ScreenMode]\r\nFullScreen = ") + fullScreen + "\r\nMode = " + mode +
         "\r\nAlternatives Colors = " + alternative + "\r\n75hz = " + force75 + "\r\n";
}

class DialogRun {
 public:
  DialogRun() : spy_(Options(dir_)), services_(spy_) { services_.StartUp(); }

  testing::TempDir& Dir() { return dir_; }
  platform::HeadlessPlatform& Platform() { return spy_.Headless(); }
  testing::SpyPlatform& Spy() { return spy_; }
  Services& Svc() { return services_; }

  // Runs the dialog with the scripted actions; the outcome and what the game would keep.
  DisplayModeOutcome Run(const std::string& actions, int16_t width = 800, int16_t height = 600) {
    std::string error;
    script_ = DialogScript::Parse(actions, error);
    EXPECT_TRUE(script_.has_value()) << error;
    Platform().SetEventSource(
        [this](platform::InputEvent& event) { return script_->Next(services_.Windows(), event); });
    services_.ScreenStart();
    return ChooseDisplayMode(services_, width, height, kTitle, "screen.ini", settings);
  }
  bool RanOut() const { return script_ && script_->RanOut(); }

  GameSettings settings;

 private:
  static platform::HeadlessOptions Options(const testing::TempDir& dir) {
    platform::HeadlessOptions options;
    options.executablePath = dir.ExecutablePath();
    options.echoMessages = false;
    return options;
  }
  testing::TempDir dir_;
  testing::SpyPlatform spy_;
  Services services_;
  std::optional<DialogScript> script_;
};

struct PrefillCase {
  const char* name;
  const char* file;  // null: no settings file
  int32_t windowed;
  int8_t colourDepth;
  int8_t alternativeColours;
  int32_t force75Hz;
};

class DialogPrefillTest : public ::testing::TestWithParam<PrefillCase> {};

TEST_P(DialogPrefillTest, OkAtOnceKeepsWhatTheFileSaid) {
  const PrefillCase& c = GetParam();
  DialogRun run;
  if (c.file != nullptr) run.Dir().Write("screen.ini", c.file);
  const DisplayModeOutcome outcome = run.Run("ok");
  EXPECT_NE(outcome, DisplayModeOutcome::Closed);
  EXPECT_EQ(run.settings.windowed, c.windowed);
  EXPECT_EQ(run.settings.colourDepth, c.colourDepth);
  EXPECT_EQ(run.settings.alternativeColours, c.alternativeColours);
  EXPECT_EQ(run.settings.force75Hz, c.force75Hz);
  EXPECT_TRUE(run.Platform().Messages().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Values, DialogPrefillTest,
    ::testing::Values(PrefillCase{"NoFile", nullptr, 0, 16, 0, 0},
                      PrefillCase{"AllSet",
                                  "[ScreenMode]\r\nFullScreen = FALSE\r\nMode = 32\r\n"
                                  "Alternatives Colors = TRUE\r\n75hz = TRUE\r\n",
                                  1, 32, 1, 1},
                      PrefillCase{"LowerCaseValuesCountAsNot",
                                  "[ScreenMode]\r\nFullScreen = false\r\nMode = 32\r\n"
                                  "Alternatives Colors = true\r\n75hz = True\r\n",
                                  0, 32, 0, 0},
                      PrefillCase{"KeysIgnoreCase",
                                  "[ScreenMode]\r\nFULLSCREEN = FALSE\r\nmode = 32\r\n", 1, 32, 0,
                                  0},
                      PrefillCase{"OtherGroupOnly",
                                  "[Other]\r\nFullScreen = FALSE\r\nMode = 32\r\n", 0, 16, 0, 0},
                      PrefillCase{"FullScreenTrue",
                                  "[ScreenMode]\r\nFullScreen = TRUE\r\nMode = 16\r\n", 0, 16, 0,
                                  0}),
    [](const ::testing::TestParamInfo<PrefillCase>& info) { return info.param.name; });

struct WriteCase {
  const char* name;
  const char* actions;
  std::string expected;
};

class DialogWriteTest : public ::testing::TestWithParam<WriteCase> {};

TEST_P(DialogWriteTest, WritesTheFiveLines) {
  const WriteCase& c = GetParam();
  DialogRun run;
  EXPECT_NE(run.Run(c.actions), DisplayModeOutcome::Closed);
  EXPECT_EQ(run.Dir().Read("screen.ini"), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Values, DialogWriteTest,
    ::testing::Values(
        WriteCase{"Defaults", "ok", SettingsFile("TRUE", "16", "FALSE", "FALSE")},
        WriteCase{"ThirtyTwoBits", "select:1,ok", SettingsFile("TRUE", "32", "FALSE", "FALSE")},
        WriteCase{"Windowed", "toggle:3,ok", SettingsFile("FALSE", "16", "FALSE", "FALSE")},
        WriteCase{"Everything", "toggle:4,toggle:5,select:1,ok",
                  SettingsFile("TRUE", "32", "TRUE", "TRUE")},
        WriteCase{"WindowedKeeps75Hz", "toggle:3,toggle:5,ok",
                  SettingsFile("FALSE", "16", "FALSE", "TRUE")},
        WriteCase{"ToggledTwice", "toggle:4,toggle:4,ok",
                  SettingsFile("TRUE", "16", "FALSE", "FALSE")},
        WriteCase{"KeyboardTicksWindowed", "tab,tab,space,ok",
                  SettingsFile("FALSE", "16", "FALSE", "FALSE")},
        WriteCase{"KeyboardPressesOk", "shift-tab,space",
                  SettingsFile("TRUE", "16", "FALSE", "FALSE")},
        WriteCase{"KeyboardOnTheLastBox", "shift-tab,shift-tab,shift-tab,space,tab,tab,space",
                  SettingsFile("TRUE", "16", "TRUE", "FALSE")}),
    [](const ::testing::TestParamInfo<WriteCase>& info) { return info.param.name; });

struct OpenCase {
  const char* name;
  const char* actions;
  bool windowed;
  int depth;        // full screen only
  int refreshRate;  // full screen only; 0: the display's default
};

class DialogOpenTest : public ::testing::TestWithParam<OpenCase> {};

TEST_P(DialogOpenTest, OpensTheScreenAsChosen) {
  const OpenCase& c = GetParam();
  DialogRun run;
  EXPECT_EQ(run.Run(c.actions), DisplayModeOutcome::ScreenOpened);
  EXPECT_EQ(run.Svc().Screen().Windowed(), c.windowed);
  if (c.windowed) {
    // Depth and 75 Hz play no part: window 2 is the screen, and no mode is asked for.
    EXPECT_TRUE(run.Spy().fullScreens.empty());
    EXPECT_NE(run.Svc().Windows().WindowHandleOf(2), 0u);
    return;
  }
  ASSERT_EQ(run.Spy().fullScreens.size(), 1u);
  const platform::DisplayMode& mode = run.Spy().fullScreens[0];
  EXPECT_EQ(mode.width, 800);
  EXPECT_EQ(mode.height, 600);
  EXPECT_EQ(mode.depth, c.depth);
  EXPECT_EQ(mode.refreshRate, c.refreshRate);
}

INSTANTIATE_TEST_SUITE_P(
    Values, DialogOpenTest,
    ::testing::Values(OpenCase{"Defaults", "ok", false, 16, 0},
                      OpenCase{"ThirtyTwoBits", "select:1,ok", false, 32, 0},
                      OpenCase{"Forced75Hz", "toggle:5,ok", false, 16, 75},
                      OpenCase{"ThirtyTwoBitsAt75Hz", "select:1,toggle:5,ok", false, 32, 75},
                      OpenCase{"Windowed", "toggle:3,ok", true, 0, 0},
                      OpenCase{"WindowedIgnores75Hz", "toggle:3,toggle:5,select:1,ok", true, 0, 0}),
    [](const ::testing::TestParamInfo<OpenCase>& info) { return info.param.name; });

TEST(DisplayModeDialogTest, OkWithoutAModeShowsTheMessageAndGoesOn) {
  DialogRun run;
  run.Dir().Write("screen.ini", SettingsFile("TRUE", "24", "FALSE", "FALSE"));
  EXPECT_NE(run.Run("ok,select:0,ok"), DisplayModeOutcome::Closed);
  ASSERT_EQ(run.Platform().Messages().size(), 1u);
  EXPECT_EQ(run.Platform().Messages()[0],
            "Il faut choisir un mode d'affichage !: Avec \xC3\xA7"
            "a on va pas aller loin.");
  EXPECT_EQ(run.settings.colourDepth, 16);
  EXPECT_EQ(run.Dir().Read("screen.ini"), SettingsFile("TRUE", "16", "FALSE", "FALSE"));
}

TEST(DisplayModeDialogTest, TheMessageComesBackAtEveryOkWithoutAMode) {
  DialogRun run;
  run.Dir().Write("screen.ini", SettingsFile("TRUE", "24", "FALSE", "FALSE"));
  EXPECT_EQ(run.Run("ok,ok"), DisplayModeOutcome::Closed);  // the actions ran out
  EXPECT_TRUE(run.RanOut());
  EXPECT_EQ(run.Platform().Messages().size(), 2u);
  EXPECT_EQ(run.Dir().Read("screen.ini"), SettingsFile("TRUE", "24", "FALSE", "FALSE"));
}

TEST(DisplayModeDialogTest, TheCloseBoxLeavesTheFileAsItWas) {
  for (const char* actions : {"close", "toggle:3,select:1,close"}) {
    DialogRun run;
    const std::string before = "; mine\r\n" + SettingsFile("FALSE", "32", "TRUE", "FALSE");
    run.Dir().Write("screen.ini", before);
    EXPECT_EQ(run.Run(actions), DisplayModeOutcome::Closed) << actions;
    EXPECT_EQ(run.Dir().Read("screen.ini"), before) << actions;
    EXPECT_TRUE(run.Platform().Messages().empty()) << actions;
    EXPECT_EQ(run.Svc().Windows().WindowHandleOf(1), 0u) << actions;
    EXPECT_EQ(run.Svc().Windows().WindowHandleOf(2), 0u) << actions;
  }
}

TEST(DisplayModeDialogTest, EnterDoesNotPressOk) {
  DialogRun run;
  EXPECT_EQ(run.Run("tab,tab,tab,tab,tab,enter"), DisplayModeOutcome::Closed);
  EXPECT_TRUE(run.RanOut());
  EXPECT_FALSE(run.Dir().Exists("screen.ini"));
}

TEST(DisplayModeDialogTest, WindowedOpensWindowTwoWithTheGameSize) {
  DialogRun run;
  run.Run("toggle:3,ok");
  const WindowHandle game = run.Svc().Windows().WindowHandleOf(2);
  ASSERT_NE(game, 0u);
  const platform::Rect client = run.Svc().Windows().NativeFor(game)->ClientRect();
  EXPECT_EQ(client.width, 800);
  EXPECT_EQ(client.height, 600);
  EXPECT_EQ(run.Svc().Windows().WindowHandleOf(1), 0u);
}

TEST(DisplayModeDialogTest, FullScreenOpensNoWindowTwo) {
  DialogRun run;
  run.Run("ok");
  EXPECT_EQ(run.Svc().Windows().WindowHandleOf(2), 0u);
  EXPECT_EQ(run.Svc().Windows().WindowHandleOf(1), 0u);
}

TEST(DisplayModeDialogTest, TheDialogHasItsGadgetsWhereTheyBelong) {
  DialogRun run;
  WindowService& windows = run.Svc().Windows();
  bool looked = false;
  run.Platform().SetEventSource([&](platform::InputEvent& event) {
    if (looked) return false;
    looked = true;
    const WindowHandle dialog = windows.WindowHandleOf(1);
    EXPECT_NE(dialog, 0u);
    const platform::Rect client = windows.NativeFor(dialog)->ClientRect();
    EXPECT_EQ(client.width, 300);
    EXPECT_EQ(client.height, 180);
    struct Place {
      int32_t gadget;
      platform::Rect face;
    };
    const Place places[] = {{3, {80, 80, 150, 20}},
                            {4, {80, 100, 150, 20}},
                            {5, {80, 120, 200, 20}},
                            {2, {120, 145, 60, 20}}};
    for (const Place& p : places) {
      const platform::Rect face = windows.GadgetFaceRect(p.gadget).value_or(platform::Rect{});
      EXPECT_EQ(face.x, p.face.x) << p.gadget;
      EXPECT_EQ(face.y, p.face.y) << p.gadget;
      EXPECT_EQ(face.width, p.face.width) << p.gadget;
      EXPECT_EQ(face.height, p.face.height) << p.gadget;
    }
    const platform::Rect list = windows.GadgetFaceRect(1).value_or(platform::Rect{});
    EXPECT_EQ(list.x, 75);
    EXPECT_EQ(list.y, 45);
    EXPECT_EQ(list.width, 130);
    EXPECT_EQ(windows.GadgetItemCount(1), 2);
    EXPECT_EQ(windows.GadgetItemTextGet(1, 0), "16 bits");
    EXPECT_EQ(windows.GadgetItemTextGet(1, 1), "32 bits");
    EXPECT_EQ(windows.GadgetTextGet(3), "Mode fenestr\xE9 (640*480)");
    EXPECT_EQ(windows.GadgetTextGet(4),
              "Couleurs alterr\xE9"
              "es");
    EXPECT_EQ(windows.GadgetTextGet(5), "Forcer Ecran \xE0 75 Hz");
    EXPECT_EQ(windows.GadgetTextGet(2), "OK");
    // The label, made as gadget 3 before the check box, is still painted.
    const gadgets::Canvas* pixels = windows.ClientPixels(1);
    bool ink = false;
    for (int y = 10; y < 40 && pixels != nullptr; ++y) {
      for (int x = 50; x < 250; ++x) ink = ink || pixels->At(x, y) == gadgets::kWindowText;
    }
    EXPECT_TRUE(ink);
    event = {};
    event.type = platform::EventType::Close;
    event.windowId = windows.NativeIdOf(1);
    return true;
  });
  run.Svc().ScreenStart();
  EXPECT_EQ(ChooseDisplayMode(run.Svc(), 640, 480, kTitle, "screen.ini", run.settings),
            DisplayModeOutcome::Closed);
  EXPECT_TRUE(looked);
}

TEST(DisplayModeDialogTest, NoDialogWindowFailsAtOnce) {
  testing::TempDir dir;
  platform::HeadlessOptions options;
  options.executablePath = dir.ExecutablePath();
  options.echoMessages = false;
  testing::SpyPlatform spy(options);
  spy.refuseWindows = true;
  Services services(spy);
  services.StartUp();
  GameSettings settings;
  EXPECT_EQ(ChooseDisplayMode(services, 800, 600, kTitle, "screen.ini", settings),
            DisplayModeOutcome::ScreenFailed);
  EXPECT_TRUE(spy.Headless().Messages().empty());
  EXPECT_FALSE(dir.Exists("screen.ini"));
}

}  // namespace
}  // namespace velko
