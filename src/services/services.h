// All media and system services of one run, started and shut down in their fixed order. The
// game reaches them only through `Operations`.
#pragma once

#include <string>
#include <vector>

#include "platform/platform.h"
#include "services/drawing/drawing_service.h"
#include "services/files/file_service.h"
#include "services/files/program_directory.h"
#include "services/keyboard/keyboard_service.h"
#include "services/operations.h"
#include "services/preferences/preferences_service.h"
#include "services/screen/screen_service.h"
#include "services/sound/sound_service.h"
#include "services/sprites/sprite_service.h"
#include "services/sprites/textured_sprite_service.h"
#include "services/text/random.h"
#include "services/windows/window_service.h"

namespace velko {

// Where the game's files are for the program the platform runs.
ProgramDirectory ProgramDirectoryOf(platform::Platform& platform);

class Services : public Operations {
 public:
  explicit Services(platform::Platform& platform);
  ~Services() override;
  Services(const Services&) = delete;
  Services& operator=(const Services&) = delete;

  // The services that cannot fail, in their order: windows, drawing, preferences, files,
  // gadgets, and the random generator seeded from the millisecond counter.
  void StartUp();

  int32_t AudioStart() override;
  int32_t ScreenStart() override;
  int32_t KeyboardStart() override;
  int32_t TexturedSpriteStart() override;

  WindowHandle WindowOpen(int32_t number, int32_t x, int32_t y, int32_t width, int32_t height,
                          uint32_t flags, const std::string& title) override;
  void WindowClose(int32_t number) override;
  void WindowActivate() override;
  int32_t EventWait() override;
  int32_t EventPoll() override;
  int32_t EventGadgetNumber() override;
  int32_t EventKind() override;
  void GadgetList(WindowHandle window) override;
  WindowHandle GadgetText(int32_t number, int32_t x, int32_t y, int32_t width, int32_t height,
                          const std::string& text, uint32_t flags) override;
  WindowHandle GadgetButton(int32_t number, int32_t x, int32_t y, int32_t width, int32_t height,
                            const std::string& text, uint32_t flags) override;
  WindowHandle GadgetCheckBox(int32_t number, int32_t x, int32_t y, int32_t width, int32_t height,
                              const std::string& text, uint32_t flags) override;
  WindowHandle GadgetDropDown(int32_t number, int32_t x, int32_t y, int32_t width, int32_t height,
                              uint32_t flags) override;
  void GadgetItemAdd(int32_t number, int32_t position, const std::string& text) override;
  int32_t GadgetStateGet(int32_t number) override;
  void GadgetStateSet(int32_t number, int32_t state) override;
  std::string GadgetTextGet(int32_t number) override;

  int32_t PreferencesOpen(const std::string& fileName) override;
  int32_t PreferencesCreate(const std::string& fileName) override;
  void PreferencesClose() override;
  int32_t PreferenceGroup(const std::string& group) override;
  std::string PreferenceReadText(const std::string& key, const std::string& defaultText) override;
  void PreferenceWriteText(const std::string& key, const std::string& value) override;

  void ScreenRequestRefresh(int32_t rate) override;
  int32_t ScreenOpen(int32_t width, int32_t height, int32_t depth,
                     const std::string& title) override;
  int32_t ScreenOpenInWindow(WindowHandle window, int32_t x, int32_t y, int32_t width,
                             int32_t height, int32_t stretch, int32_t rightMargin,
                             int32_t bottomMargin) override;
  SurfaceHandle ScreenSelectTarget(int32_t number) override;
  void ScreenFill(int32_t red, int32_t green, int32_t blue) override;
  SurfaceHandle ScreenPresent() override;

  SurfaceHandle SpriteCreate(int32_t number, int32_t width, int32_t height, int32_t mode) override;
  SurfaceHandle SpriteLoadFile(int32_t number, const std::string& fileName, int32_t mode) override;
  SurfaceHandle SpriteGrab(int32_t number, int32_t x, int32_t y, int32_t width,
                           int32_t height) override;
  void SpriteSetKeyColour(int32_t number, int32_t red, int32_t green, int32_t blue) override;
  void SpriteShow(int32_t number, int32_t x, int32_t y) override;
  void SpriteFree(int32_t number) override;
  int32_t SpriteGetWidth(int32_t number) override;
  int32_t SpriteGetHeight(int32_t number) override;
  int32_t SpriteSaveBmp(int32_t number, const std::string& fileName) override;

  int32_t TexturedSpriteCreate(int32_t texturedNumber, int32_t spriteNumber) override;
  void TexturedSpriteRotate(int32_t texturedNumber, int32_t degrees, int32_t sizeSource) override;
  int32_t TexturedSceneBegin() override;
  void TexturedSpriteShow(int32_t texturedNumber, int32_t x, int32_t y, int32_t opacity) override;
  void TexturedSceneEnd() override;

  DrawTarget* ScreenDrawTarget() override;
  DrawTarget* SpriteDrawTarget(int32_t number) override;
  std::uintptr_t DrawBegin(DrawTarget* target) override;
  void DrawString(const std::string& text) override;
  void DrawPixel(int32_t x, int32_t y, int32_t colour) override;
  void DrawEnd() override;

  int32_t KeyboardPoll() override;
  int32_t KeyIsDown(int32_t code) override;
  int32_t KeyWasLetGo(int32_t code) override;

  std::uintptr_t AudioLoadWave(int32_t number, const std::string& fileName) override;
  void AudioPlayOnce(int32_t number) override;

  int32_t DataFileOpen(int32_t number, const std::string& fileName) override;
  int32_t DataFileReadInt8() override;
  int32_t DataFileReadInt16() override;
  void DataFileClose(int32_t number) override;
  int32_t DataFileSize(const std::string& fileName) override;

  void RandomReseed(uint32_t seed) override;
  int32_t RandomUpTo(int32_t maximum) override;
  int32_t MillisecondsNow() override;
  int32_t MessageShow(const std::string& title, const std::string& text, uint32_t flags) override;
  void ProblemReport(const std::string& line) override;

  void ServicesShutDown() override;

  const ProgramDirectory& Directory() const { return directory_; }
  // The seed the random generator was last given.
  uint32_t RandomSeed() const { return randomSeed_; }
  platform::Platform& Platform() { return platform_; }
  WindowService& Windows() { return windows_; }
  ScreenService& Screen() { return screen_; }
  SpriteService& Sprites() { return sprites_; }
  TexturedSpriteService& TexturedSprites() { return textured_; }
  DrawingService& Drawing() { return drawing_; }
  KeyboardService& Keyboard() { return keyboard_; }
  SoundService& Sound() { return sound_; }
  FileService& Files() { return files_; }
  PreferencesService& Preferences() { return preferences_; }

 private:
  platform::Platform& platform_;
  ProgramDirectory directory_;
  WindowService windows_;
  PreferencesService preferences_;
  FileService files_;
  ScreenService screen_;
  SpriteService sprites_;
  TexturedSpriteService textured_;
  DrawingService drawing_;
  KeyboardService keyboard_;
  SoundService sound_;
  RandomGenerator random_;
  uint32_t randomSeed_ = 0;
  bool shutDown_ = false;
};

}  // namespace velko
