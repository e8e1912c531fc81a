// The start-up and shutdown sequence over services whose starts and key results are scripted,
// so each failure path can be taken whatever the platform can do.
#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "game/game.h"
#include "platform/headless/headless_platform.h"
#include "services/services.h"
#include "support/headless_game.h"
#include "support/temp_dir.h"

namespace velko {
namespace {

struct Script {
  int32_t audio = 1;
  int32_t screen = 1;
  int32_t keyboard = 1;
  bool dialogOpens = true;
  bool dialogClosed = false;  // the player closes the dialog instead of OK
  int32_t screenOpen = 1;
  int32_t textured = 1;
  int32_t texturedCreate = 1;
  int32_t alternative = 0;  // the "Couleurs alterr\xE9es" box as the dialog leaves it
  // Bytes of the level's two files beside the program (a 1 x 1 map, a 1 x 1 picture); none
  // leaves the file out.
  std::optional<std::string> levelMap =
      std::string("\x01\x00\x01\x00\x00\x00\x00\x00\x01\x00\x00", 11);
  std::optional<std::string> levelPicture = std::string("\x01\x00\x01\x00\x7F\x7F\x7F", 7);
};

class ScriptedServices : public Services {
 public:
  ScriptedServices(platform::Platform& platform, Script script)
      : Services(platform), script_(script) {}

  std::vector<std::string> calls;
  // The loading screen and the loads, in order, up to the car's rotatable form.
  std::vector<std::string> loading;

  int32_t AudioStart() override { return Note("AudioStart", script_.audio); }
  int32_t ScreenStart() override {
    if (script_.screen != 0) Services::ScreenStart();  // a real screen for the loading screen
    return Note("ScreenStart", script_.screen);
  }
  int32_t KeyboardStart() override { return Note("KeyboardStart", script_.keyboard); }
  int32_t TexturedSpriteStart() override { return Note("TexturedSpriteStart", script_.textured); }
  WindowHandle WindowOpen(int32_t number, int32_t, int32_t, int32_t, int32_t, uint32_t,
                          const std::string&) override {
    Note("WindowOpen " + std::to_string(number), 0);
    return script_.dialogOpens ? static_cast<WindowHandle>(number) : 0;
  }
  int32_t EventWait() override { return script_.dialogClosed ? 16 : 13100; }
  int32_t EventGadgetNumber() override { return 2; }
  int32_t EventKind() override { return 0; }
  std::string GadgetTextGet(int32_t) override { return "16 bits"; }
  int32_t GadgetStateGet(int32_t number) override { return number == 4 ? script_.alternative : 0; }
  void ScreenFill(int32_t red, int32_t green, int32_t blue) override {
    Load("ScreenFill " + Numbers({red, green, blue}));
    Services::ScreenFill(red, green, blue);
  }
  // The drawing of the loading screen itself; what the loaders draw later is theirs.
  DrawTarget* ScreenDrawTarget() override {
    screenTarget_ = Services::ScreenDrawTarget();
    return screenTarget_;
  }
  std::uintptr_t DrawBegin(DrawTarget* target) override {
    const bool onScreen = target != nullptr && target == screenTarget_;
    if (!presented_) Load(onScreen ? "DrawBegin screen" : "DrawBegin other");
    return Services::DrawBegin(target);
  }
  void DrawString(const std::string& text) override {
    if (!presented_) Load("DrawString " + text);
    Services::DrawString(text);
  }
  void DrawEnd() override {
    if (!presented_) Load("DrawEnd");
    Services::DrawEnd();
  }
  SurfaceHandle ScreenPresent() override {
    Load("ScreenPresent");
    presented_ = screenOpened_;
    return Services::ScreenPresent();
  }
  int32_t DataFileOpen(int32_t number, const std::string& name) override {
    Load("DataFileOpen " + std::to_string(number) + " " + name);
    return Services::DataFileOpen(number, name);
  }
  void SpriteSetKeyColour(int32_t number, int32_t red, int32_t green, int32_t blue) override {
    if (number == 1) Load("SpriteSetKeyColour 1 " + Numbers({red, green, blue}));
    Services::SpriteSetKeyColour(number, red, green, blue);
  }
  int32_t ScreenOpen(int32_t width, int32_t height, int32_t depth,
                     const std::string& title) override {
    screenOpened_ = true;
    if (script_.screenOpen != 0 && Services::ScreenOpen(width, height, depth, title) == 0) {
      return Note("ScreenOpen failed", 0);
    }
    return Note("ScreenOpen " + std::to_string(depth), script_.screenOpen);
  }
  std::uintptr_t AudioLoadWave(int32_t number, const std::string& name) override {
    Load("AudioLoadWave " + std::to_string(number) + " " + name);
    return static_cast<std::uintptr_t>(
        Note("AudioLoadWave " + std::to_string(number) + " " + name, 1));
  }
  SurfaceHandle SpriteLoadFile(int32_t number, const std::string& name, int32_t mode) override {
    Load("SpriteLoadFile " + std::to_string(number) + " " + name + " " + std::to_string(mode));
    Note("SpriteLoadFile " + std::to_string(number) + " " + name + " " + std::to_string(mode), 0);
    return 0;
  }
  int32_t TexturedSpriteCreate(int32_t q, int32_t n) override {
    Load("TexturedSpriteCreate " + std::to_string(q) + " " + std::to_string(n));
    loadingDone_ = true;
    return Note("TexturedSpriteCreate " + std::to_string(q) + " " + std::to_string(n),
                script_.texturedCreate);
  }
  // Escape is held from the first snapshot on, so the frame loop ends after one pass.
  int32_t KeyIsDown(int32_t code) override { return code == 1 ? 1 : 0; }
  void ServicesShutDown() override {
    Note("ServicesShutDown", 0);
    Services::ServicesShutDown();
  }

 private:
  int32_t Note(const std::string& call, int32_t result) {
    calls.push_back(call);
    return result;
  }
  // Only what happens once the screen is open and before the frame loop.
  void Load(const std::string& call) {
    if (screenOpened_ && !loadingDone_) loading.push_back(call);
  }
  static std::string Numbers(std::initializer_list<int32_t> values) {
    std::string text;
    for (int32_t value : values) {
      if (!text.empty()) text += ' ';
      text += std::to_string(value);
    }
    return text;
  }
  Script script_;
  bool screenOpened_ = false;
  bool loadingDone_ = false;
  bool presented_ = false;
  DrawTarget* screenTarget_ = nullptr;
};

struct Outcome {
  int exitCode = -1;
  std::vector<std::string> messages;
  std::vector<std::string> calls;
  std::vector<std::string> loading;
};

Outcome RunWith(const Script& script) {
  testing::TempDir dir;
  if (script.levelMap) dir.Write("level.map", *script.levelMap);
  if (script.levelPicture) dir.Write("level.bpb", *script.levelPicture);
  platform::HeadlessOptions options;
  options.executablePath = dir.ExecutablePath();
  options.echoMessages = false;
  platform::HeadlessPlatform platform(options);
  ScriptedServices services(platform, script);
  services.StartUp();
  Game game(services);
  Outcome outcome;
  outcome.exitCode = game.Run();
  outcome.messages = platform.Messages();
  outcome.calls = services.calls;
  outcome.loading = services.loading;
  return outcome;
}

bool Called(const Outcome& outcome, const std::string& call) {
  return std::find(outcome.calls.begin(), outcome.calls.end(), call) != outcome.calls.end();
}

TEST(StartupSequenceTest, EachFailureShowsItsMessageAndEndsWithExitCodeZero) {
  const std::string directX = "Erreur: DirectX 7 n'est pas install\xC3\xA9 sur votre machine";
  const std::string noSound = "Erreur: Le programme ne peut pas jouer des sons";
  const std::string noScreen =
      "Erreur: Impossible d'ouvrir l'\xC3\xA9"
      "cran avec les parametres actuels.";
  const std::string badPackage = "Erreur: Package incorect";
  const std::string noMap = "Erreur: Fichier introuvable ou vide : level.map";
  const std::string noPicture = "Erreur: Fichier introuvable ou vide : level.bpb";
  struct Case {
    const char* what;
    Script script;
    std::vector<std::string> messages;
    const char* lastStart;  // the last start or load that ran
  };
  const Case cases[] = {
      {"no screen", {.screen = 0}, {directX}, "ScreenStart"},
      {"no keyboard", {.keyboard = 0}, {directX}, "KeyboardStart"},
      {"no sound and no screen", {.audio = 0, .screen = 0}, {noSound, directX}, "ScreenStart"},
      {"dialog window refused", {.dialogOpens = false}, {noScreen}, "WindowOpen 1"},
      {"screen does not open", {.screenOpen = 0}, {noScreen}, "ScreenOpen 16"},
      {"no rotated sprites", {.textured = 0}, {directX}, "TexturedSpriteStart"},
      {"car not made", {.texturedCreate = 0}, {badPackage}, "TexturedSpriteCreate 1 1"},
      {"dialog closed", {.dialogClosed = true}, {}, "WindowOpen 1"},
      {"no level.map", {.levelMap = std::nullopt}, {noMap}, "AudioLoadWave 1 choc.wav"},
      {"empty level.map", {.levelMap = ""}, {noMap}, "AudioLoadWave 1 choc.wav"},
      {"no level.bpb", {.levelPicture = std::nullopt}, {noPicture}, "AudioLoadWave 1 choc.wav"},
  };
  for (const Case& c : cases) {
    const Outcome outcome = RunWith(c.script);
    EXPECT_EQ(outcome.exitCode, 0) << c.what;
    EXPECT_EQ(outcome.messages, c.messages) << c.what;
    ASSERT_GE(outcome.calls.size(), 2u) << c.what;
    EXPECT_EQ(outcome.calls[outcome.calls.size() - 2], c.lastStart) << c.what;
    EXPECT_EQ(outcome.calls.back(), "ServicesShutDown") << c.what;
  }
}

TEST(StartupSequenceTest, StartsAndLoadsInOrder) {
  const Outcome outcome = RunWith({});
  const std::vector<std::string> expected = {"AudioStart",
                                             "ScreenStart",
                                             "KeyboardStart",
                                             "WindowOpen 1",
                                             "ScreenOpen 16",
                                             "TexturedSpriteStart",
                                             "AudioLoadWave 1 choc.wav",
                                             "SpriteLoadFile 1 car.bmp 4",
                                             "TexturedSpriteCreate 1 1",
                                             "ServicesShutDown"};
  EXPECT_EQ(outcome.calls, expected);
  EXPECT_TRUE(outcome.messages.empty());
}

TEST(StartupSequenceTest, ShowsTheLoadingScreenThenLoadsInOrderInEachColourMode) {
  struct Case {
    const char* what;
    Script script;
    std::vector<std::string> loading;
  };
  const std::vector<std::string> loadingScreen = {"ScreenFill 0 0 0", "DrawBegin screen",
                                                  "DrawString Chargement...", "DrawEnd",
                                                  "ScreenPresent"};
  auto after = [&](std::vector<std::string> rest) {
    std::vector<std::string> all = loadingScreen;
    all.insert(all.end(), rest.begin(), rest.end());
    return all;
  };
  const Case cases[] = {
      {"plain colours",
       {},
       after({"AudioLoadWave 1 choc.wav", "DataFileOpen 1 level.map", "DataFileOpen 1 level.bpb",
              "SpriteLoadFile 1 car.bmp 4", "SpriteSetKeyColour 1 0 255 0",
              "TexturedSpriteCreate 1 1"})},
      {"alternative colours",
       {.alternative = 1},
       after({"AudioLoadWave 1 choc.wav", "DataFileOpen 1 level.map", "DataFileOpen 1 level.bpb",
              "SpriteLoadFile 1 car.bmp 4", "DataFileOpen 1 car.bpb",
              "SpriteSetKeyColour 1 0 127 0", "TexturedSpriteCreate 1 1"})},
      {"alternative colours without sound",
       {.audio = 0, .alternative = 1},
       after({"DataFileOpen 1 level.map", "DataFileOpen 1 level.bpb", "SpriteLoadFile 1 car.bmp 4",
              "DataFileOpen 1 car.bpb", "SpriteSetKeyColour 1 0 127 0",
              "TexturedSpriteCreate 1 1"})},
  };
  for (const Case& c : cases) EXPECT_EQ(RunWith(c.script).loading, c.loading) << c.what;
}

TEST(StartupSequenceTest, WithoutSoundTheCrashSoundIsNotLoaded) {
  const Outcome outcome = RunWith({.audio = 0});
  EXPECT_EQ(outcome.messages,
            std::vector<std::string>{"Erreur: Le programme ne peut pas jouer des sons"});
  EXPECT_FALSE(Called(outcome, "AudioLoadWave 1 choc.wav"));
  EXPECT_TRUE(Called(outcome, "TexturedSpriteCreate 1 1"));
}

// A whole game over the headless platform, to Escape in the first frame: what the platform
// sees given back at the end shows the shutdown's order (windows, then the sound, then the
// screen), and a second shutdown gives back nothing more.
TEST(StartupSequenceTest, ShutsTheServicesDownInTheirFixedOrderOnce) {
  struct Case {
    const char* dialog;
    std::vector<std::string> releasedAtShutdown;
  };
  const Case cases[] = {
      // The game's window (2) is a window of the window service; the full screen is the screen's.
      {"toggle:3,ok", {"window 2", "audio"}},
      {"ok", {"audio", "window 2"}},
  };
  for (const Case& c : cases) {
    testing::TempDir dir;
    dir.Write("level.map", std::string("\x01\x00\x01\x00\x00\x00\x00\x00\x01\x00\x00", 11));
    dir.Write("level.bpb", std::string("\x01\x00\x01\x00\x7F\x7F\x7F", 7));
    testing::HeadlessGame game(dir, c.dialog);
    ASSERT_EQ(game.Run(), 0);
    // The dialog (window 1) went when it was answered.
    std::vector<std::string> released = game.Platform().Releases();
    ASSERT_FALSE(released.empty()) << c.dialog;
    EXPECT_EQ(released.front(), "window 1") << c.dialog;
    released.erase(released.begin());
    EXPECT_EQ(released, c.releasedAtShutdown) << c.dialog;
    game.Ops().ServicesShutDown();
    EXPECT_EQ(game.Platform().Releases().size(), c.releasedAtShutdown.size() + 1) << c.dialog;
  }
}

}  // namespace
}  // namespace velko
