#include "services/services.h"

#include <cstdlib>
#include <optional>

#include "platform/platform.h"

namespace velko {

ProgramDirectory ProgramDirectoryOf(platform::Platform& platform) {
  return ProgramDirectory::Locate(platform.ExecutablePath(),
                                  [](const char* name) -> std::optional<std::string> {
                                    const char* value = std::getenv(name);
                                    if (value == nullptr) return std::nullopt;
                                    return std::string(value);
                                  });
}

Services::Services(platform::Platform& platform)
    : platform_(platform),
      directory_(ProgramDirectoryOf(platform)),
      windows_(platform),
      preferences_(directory_),
      files_(directory_),
      screen_(platform, windows_),
      sprites_(screen_, directory_),
      textured_(screen_, sprites_),
      drawing_(platform, screen_, sprites_),
      keyboard_(platform),
      sound_(platform, directory_) {
  screen_.AttachSprites(sprites_);
}

Services::~Services() {
  ServicesShutDown();
}

void Services::StartUp() {
  windows_.Start();
  drawing_.DrawingStart();
  // Preferences and files need no start beyond their construction.
  windows_.GadgetsStart();
  Services::RandomReseed(platform_.TickCount());
}

void Services::ServicesShutDown() {
  if (shutDown_) return;
  shutDown_ = true;
  windows_.CloseAll();
  textured_.TexturedSpriteFreeAll();
  preferences_.PreferencesClose();
  // Data files left open stay open until the process ends.
  keyboard_.KeyboardStop();
  sound_.AudioStop();
  screen_.ScreenStop();
}

int32_t Services::AudioStart() {
  return sound_.AudioStart();
}
int32_t Services::ScreenStart() {
  return screen_.ScreenStart();
}
int32_t Services::KeyboardStart() {
  return keyboard_.KeyboardStart();
}
int32_t Services::TexturedSpriteStart() {
  return textured_.TexturedSpriteStart();
}

WindowHandle Services::WindowOpen(int32_t number, int32_t x, int32_t y, int32_t width,
                                  int32_t height, uint32_t flags, const std::string& title) {
  return windows_.WindowOpen(number, x, y, width, height, flags, title);
}
void Services::WindowClose(int32_t number) {
  windows_.WindowClose(number);
}
void Services::WindowActivate() {
  windows_.WindowActivate();
}
int32_t Services::EventWait() {
  return windows_.EventWait();
}
int32_t Services::EventPoll() {
  return windows_.EventPoll();
}
int32_t Services::EventGadgetNumber() {
  return windows_.EventGadgetNumber();
}
int32_t Services::EventKind() {
  return windows_.EventKind();
}
void Services::GadgetList(WindowHandle window) {
  windows_.GadgetList(window);
}
WindowHandle Services::GadgetText(int32_t number, int32_t x, int32_t y, int32_t width,
                                  int32_t height, const std::string& text, uint32_t flags) {
  return windows_.GadgetText(number, x, y, width, height, text, flags);
}
WindowHandle Services::GadgetButton(int32_t number, int32_t x, int32_t y, int32_t width,
                                    int32_t height, const std::string& text, uint32_t flags) {
  return windows_.GadgetButton(number, x, y, width, height, text, flags);
}
WindowHandle Services::GadgetCheckBox(int32_t number, int32_t x, int32_t y, int32_t width,
                                      int32_t height, const std::string& text, uint32_t flags) {
  return windows_.GadgetCheckBox(number, x, y, width, height, text, flags);
}
WindowHandle Services::GadgetDropDown(int32_t number, int32_t x, int32_t y, int32_t width,
                                      int32_t height, uint32_t flags) {
  return windows_.GadgetDropDown(number, x, y, width, height, flags);
}
void Services::GadgetItemAdd(int32_t number, int32_t position, const std::string& text) {
  windows_.GadgetItemAdd(number, position, text);
}
int32_t Services::GadgetStateGet(int32_t number) {
  return windows_.GadgetStateGet(number);
}
void Services::GadgetStateSet(int32_t number, int32_t state) {
  windows_.GadgetStateSet(number, state);
}
std::string Services::GadgetTextGet(int32_t number) {
  return windows_.GadgetTextGet(number);
}

int32_t Services::PreferencesOpen(const std::string& fileName) {
  return preferences_.PreferencesOpen(fileName);
}
int32_t Services::PreferencesCreate(const std::string& fileName) {
  return preferences_.PreferencesCreate(fileName);
}
void Services::PreferencesClose() {
  preferences_.PreferencesClose();
}
int32_t Services::PreferenceGroup(const std::string& group) {
  return preferences_.PreferenceGroup(group);
}
std::string Services::PreferenceReadText(const std::string& key, const std::string& defaultText) {
  return preferences_.PreferenceReadText(key, defaultText);
}
void Services::PreferenceWriteText(const std::string& key, const std::string& value) {
  preferences_.PreferenceWriteText(key, value);
}

void Services::ScreenRequestRefresh(int32_t rate) {
  screen_.ScreenRequestRefresh(rate);
}
int32_t Services::ScreenOpen(int32_t width, int32_t height, int32_t depth,
                             const std::string& title) {
  return screen_.ScreenOpen(width, height, depth, title);
}
int32_t Services::ScreenOpenInWindow(WindowHandle window, int32_t x, int32_t y, int32_t width,
                                     int32_t height, int32_t stretch, int32_t rightMargin,
                                     int32_t bottomMargin) {
  return screen_.ScreenOpenInWindow(window, x, y, width, height, stretch, rightMargin,
                                    bottomMargin);
}
SurfaceHandle Services::ScreenSelectTarget(int32_t number) {
  return screen_.ScreenSelectTarget(number);
}
void Services::ScreenFill(int32_t red, int32_t green, int32_t blue) {
  screen_.ScreenFill(red, green, blue);
}
SurfaceHandle Services::ScreenPresent() {
  return screen_.ScreenPresent();
}

SurfaceHandle Services::SpriteCreate(int32_t number, int32_t width, int32_t height, int32_t mode) {
  return sprites_.SpriteCreate(number, width, height, mode);
}
SurfaceHandle Services::SpriteLoadFile(int32_t number, const std::string& fileName, int32_t mode) {
  return sprites_.SpriteLoadFile(number, fileName, mode);
}
SurfaceHandle Services::SpriteGrab(int32_t number, int32_t x, int32_t y, int32_t width,
                                   int32_t height) {
  return sprites_.SpriteGrab(number, x, y, width, height);
}
void Services::SpriteSetKeyColour(int32_t number, int32_t red, int32_t green, int32_t blue) {
  sprites_.SpriteSetKeyColour(number, red, green, blue);
}
void Services::SpriteShow(int32_t number, int32_t x, int32_t y) {
  sprites_.SpriteShow(number, x, y);
}
void Services::SpriteFree(int32_t number) {
  sprites_.SpriteFree(number);
}
int32_t Services::SpriteGetWidth(int32_t number) {
  return sprites_.SpriteGetWidth(number);
}
int32_t Services::SpriteGetHeight(int32_t number) {
  return sprites_.SpriteGetHeight(number);
}
int32_t Services::SpriteSaveBmp(int32_t number, const std::string& fileName) {
  return sprites_.SpriteSaveBmp(number, fileName);
}

int32_t Services::TexturedSpriteCreate(int32_t texturedNumber, int32_t spriteNumber) {
  return textured_.TexturedSpriteCreate(texturedNumber, spriteNumber);
}
void Services::TexturedSpriteRotate(int32_t texturedNumber, int32_t degrees, int32_t sizeSource) {
  textured_.TexturedSpriteRotate(texturedNumber, degrees, sizeSource);
}
int32_t Services::TexturedSceneBegin() {
  return textured_.TexturedSceneBegin();
}
void Services::TexturedSpriteShow(int32_t texturedNumber, int32_t x, int32_t y, int32_t opacity) {
  textured_.TexturedSpriteShow(texturedNumber, x, y, opacity);
}
void Services::TexturedSceneEnd() {
  textured_.TexturedSceneEnd();
}

DrawTarget* Services::ScreenDrawTarget() {
  return drawing_.ScreenDrawTarget();
}
DrawTarget* Services::SpriteDrawTarget(int32_t number) {
  return drawing_.SpriteDrawTarget(number);
}
std::uintptr_t Services::DrawBegin(DrawTarget* target) {
  return drawing_.DrawBegin(target);
}
void Services::DrawString(const std::string& text) {
  drawing_.DrawString(text);
}
void Services::DrawPixel(int32_t x, int32_t y, int32_t colour) {
  drawing_.DrawPixel(x, y, colour);
}
void Services::DrawEnd() {
  drawing_.DrawEnd();
}

int32_t Services::KeyboardPoll() {
  return keyboard_.KeyboardPoll();
}
int32_t Services::KeyIsDown(int32_t code) {
  return keyboard_.KeyIsDown(code);
}
int32_t Services::KeyWasLetGo(int32_t code) {
  return keyboard_.KeyWasLetGo(code);
}

std::uintptr_t Services::AudioLoadWave(int32_t number, const std::string& fileName) {
  return sound_.AudioLoadWave(number, fileName);
}
void Services::AudioPlayOnce(int32_t number) {
  sound_.AudioPlayOnce(number);
}

int32_t Services::DataFileOpen(int32_t number, const std::string& fileName) {
  return files_.DataFileOpen(number, fileName);
}
int32_t Services::DataFileReadInt8() {
  return files_.DataFileReadInt8();
}
int32_t Services::DataFileReadInt16() {
  return files_.DataFileReadInt16();
}
void Services::DataFileClose(int32_t number) {
  files_.DataFileClose(number);
}
int32_t Services::DataFileSize(const std::string& fileName) {
  return files_.DataFileSize(fileName);
}

void Services::RandomReseed(uint32_t seed) {
  randomSeed_ = seed;
  random_.Reseed(seed);
}
int32_t Services::RandomUpTo(int32_t maximum) {
  return random_.UpTo(maximum);
}
int32_t Services::MillisecondsNow() {
  return static_cast<int32_t>(platform_.TickCount());
}
int32_t Services::MessageShow(const std::string& title, const std::string& text, uint32_t) {
  return platform_.MessageBox(title, text);
}

void Services::ProblemReport(const std::string& line) {
  platform_.ReportProblem(line);
}

}  // namespace velko
