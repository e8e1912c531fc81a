// Every operation the game calls on the media and system services, under its own name. The
// start-up, the display-mode dialog, the loaders and the frame loop are written against this
// interface only; `Services` carries it out over a platform.
//
// Results follow one rule: 0 (or a null handle) is failure, anything else success. Texts are
// std::string holding Windows-1252 bytes.
#pragma once

#include <cstdint>
#include <string>

#include "services/text/text.h"

namespace velko {

using WindowHandle = std::uint32_t;    // 0: no window
using SurfaceHandle = std::uintptr_t;  // 0: no surface
struct DrawTarget;

class Operations {
 public:
  virtual ~Operations() = default;

  // Starts that can fail.
  virtual int32_t AudioStart() = 0;
  virtual int32_t ScreenStart() = 0;
  virtual int32_t KeyboardStart() = 0;
  virtual int32_t TexturedSpriteStart() = 0;

  // Windows and gadgets.
  virtual WindowHandle WindowOpen(int32_t number, int32_t x, int32_t y, int32_t width,
                                  int32_t height, uint32_t flags, const std::string& title) = 0;
  virtual void WindowClose(int32_t number) = 0;
  virtual void WindowActivate() = 0;
  virtual int32_t EventWait() = 0;
  virtual int32_t EventPoll() = 0;
  virtual int32_t EventGadgetNumber() = 0;
  virtual int32_t EventKind() = 0;
  virtual void GadgetList(WindowHandle window) = 0;
  virtual WindowHandle GadgetText(int32_t number, int32_t x, int32_t y, int32_t width,
                                  int32_t height, const std::string& text, uint32_t flags) = 0;
  virtual WindowHandle GadgetButton(int32_t number, int32_t x, int32_t y, int32_t width,
                                    int32_t height, const std::string& text, uint32_t flags) = 0;
  virtual WindowHandle GadgetCheckBox(int32_t number, int32_t x, int32_t y, int32_t width,
                                      int32_t height, const std::string& text, uint32_t flags) = 0;
  virtual WindowHandle GadgetDropDown(int32_t number, int32_t x, int32_t y, int32_t width,
                                      int32_t height, uint32_t flags) = 0;
  virtual void GadgetItemAdd(int32_t number, int32_t position, const std::string& text) = 0;
  virtual int32_t GadgetStateGet(int32_t number) = 0;
  virtual void GadgetStateSet(int32_t number, int32_t state) = 0;
  virtual std::string GadgetTextGet(int32_t number) = 0;

  // Preferences.
  virtual int32_t PreferencesOpen(const std::string& fileName) = 0;
  virtual int32_t PreferencesCreate(const std::string& fileName) = 0;
  virtual void PreferencesClose() = 0;
  virtual int32_t PreferenceGroup(const std::string& group) = 0;
  virtual std::string PreferenceReadText(const std::string& key,
                                         const std::string& defaultText) = 0;
  virtual void PreferenceWriteText(const std::string& key, const std::string& value) = 0;

  // Screen.
  virtual void ScreenRequestRefresh(int32_t rate) = 0;
  virtual int32_t ScreenOpen(int32_t width, int32_t height, int32_t depth,
                             const std::string& title) = 0;
  virtual int32_t ScreenOpenInWindow(WindowHandle window, int32_t x, int32_t y, int32_t width,
                                     int32_t height, int32_t stretch, int32_t rightMargin,
                                     int32_t bottomMargin) = 0;
  virtual SurfaceHandle ScreenSelectTarget(int32_t number) = 0;
  virtual void ScreenFill(int32_t red, int32_t green, int32_t blue) = 0;
  virtual SurfaceHandle ScreenPresent() = 0;

  // Sprites.
  virtual SurfaceHandle SpriteCreate(int32_t number, int32_t width, int32_t height,
                                     int32_t mode) = 0;
  virtual SurfaceHandle SpriteLoadFile(int32_t number, const std::string& fileName,
                                       int32_t mode) = 0;
  virtual SurfaceHandle SpriteGrab(int32_t number, int32_t x, int32_t y, int32_t width,
                                   int32_t height) = 0;
  virtual void SpriteSetKeyColour(int32_t number, int32_t red, int32_t green, int32_t blue) = 0;
  virtual void SpriteShow(int32_t number, int32_t x, int32_t y) = 0;
  virtual void SpriteFree(int32_t number) = 0;
  virtual int32_t SpriteGetWidth(int32_t number) = 0;
  virtual int32_t SpriteGetHeight(int32_t number) = 0;
  virtual int32_t SpriteSaveBmp(int32_t number, const std::string& fileName) = 0;

  // Rotated sprites.
  virtual int32_t TexturedSpriteCreate(int32_t texturedNumber, int32_t spriteNumber) = 0;
  virtual void TexturedSpriteRotate(int32_t texturedNumber, int32_t degrees,
                                    int32_t sizeSource) = 0;
  virtual int32_t TexturedSceneBegin() = 0;
  virtual void TexturedSpriteShow(int32_t texturedNumber, int32_t x, int32_t y,
                                  int32_t opacity) = 0;
  virtual void TexturedSceneEnd() = 0;

  // Drawing.
  virtual DrawTarget* ScreenDrawTarget() = 0;
  virtual DrawTarget* SpriteDrawTarget(int32_t number) = 0;
  virtual std::uintptr_t DrawBegin(DrawTarget* target) = 0;
  virtual void DrawString(const std::string& text) = 0;
  virtual void DrawPixel(int32_t x, int32_t y, int32_t colour) = 0;
  virtual void DrawEnd() = 0;

  // Keyboard.
  virtual int32_t KeyboardPoll() = 0;
  virtual int32_t KeyIsDown(int32_t code) = 0;
  virtual int32_t KeyWasLetGo(int32_t code) = 0;

  // Sound.
  virtual std::uintptr_t AudioLoadWave(int32_t number, const std::string& fileName) = 0;
  virtual void AudioPlayOnce(int32_t number) = 0;

  // Data files.
  virtual int32_t DataFileOpen(int32_t number, const std::string& fileName) = 0;
  virtual int32_t DataFileReadInt8() = 0;
  virtual int32_t DataFileReadInt16() = 0;
  virtual void DataFileClose(int32_t number) = 0;
  virtual int32_t DataFileSize(const std::string& fileName) = 0;

  // Numbers, time and messages (the pure text operations are in services/text/text.h).
  virtual void RandomReseed(uint32_t seed) = 0;
  virtual int32_t RandomUpTo(int32_t maximum) = 0;
  virtual int32_t MillisecondsNow() = 0;
  virtual int32_t MessageShow(const std::string& title, const std::string& text,
                              uint32_t flags) = 0;
  // One line on standard error, for whoever started the game; the player sees nothing.
  virtual void ProblemReport(const std::string& line) = 0;

  // Releases every service in the fixed order; safe to call more than once.
  virtual void ServicesShutDown() = 0;
};

}  // namespace velko
