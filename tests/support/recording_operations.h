// An `Operations` for the frame-step tests: a clock that moves by a set time at each present,
// scripted keys, sprites that are only sizes, and a log of the drawing calls. Data files go
// to a real FileService when one is given.
#pragma once

#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "services/files/file_service.h"
#include "services/operations.h"

namespace velko::testing {

class RecordingOperations : public Operations {
 public:
  // Clock and keys.
  int32_t now = 1000;
  int32_t frameMs = 16;
  int polls = 0;
  // Keys held in the snapshot of poll n (counted from 1).
  std::function<std::set<int32_t>(int poll)> keysForPoll;
  std::set<int32_t> held;
  std::set<int32_t> seenDown;

  // Results the tests choose.
  int32_t sceneBegins = 1;
  std::function<int32_t()> random = [] { return 4; };
  std::set<std::string> existingFiles;  // for DataFileSize
  std::set<std::string> folders;
  std::map<int32_t, std::pair<int32_t, int32_t>> sprites;  // number -> width, height
  FileService* files = nullptr;

  // What happened.
  std::vector<std::string> log;
  bool logDrawing = true;
  std::vector<std::string> savedShots;
  std::vector<std::string> strings;
  int plays = 0;
  int presents = 0;

  int32_t AudioStart() override { return 1; }
  int32_t ScreenStart() override { return 1; }
  int32_t KeyboardStart() override { return 1; }
  int32_t TexturedSpriteStart() override { return 1; }

  WindowHandle WindowOpen(int32_t, int32_t, int32_t, int32_t, int32_t, uint32_t,
                          const std::string&) override {
    return 0;
  }
  void WindowClose(int32_t) override {}
  void WindowActivate() override {}
  int32_t EventWait() override { return 0; }
  int32_t EventPoll() override { return 0; }
  int32_t EventGadgetNumber() override { return 0; }
  int32_t EventKind() override { return 0; }
  void GadgetList(WindowHandle) override {}
  WindowHandle GadgetText(int32_t, int32_t, int32_t, int32_t, int32_t, const std::string&,
                          uint32_t) override {
    return 0;
  }
  WindowHandle GadgetButton(int32_t, int32_t, int32_t, int32_t, int32_t, const std::string&,
                            uint32_t) override {
    return 0;
  }
  WindowHandle GadgetCheckBox(int32_t, int32_t, int32_t, int32_t, int32_t, const std::string&,
                              uint32_t) override {
    return 0;
  }
  WindowHandle GadgetDropDown(int32_t, int32_t, int32_t, int32_t, int32_t, uint32_t) override {
    return 0;
  }
  void GadgetItemAdd(int32_t, int32_t, const std::string&) override {}
  int32_t GadgetStateGet(int32_t) override { return 0; }
  void GadgetStateSet(int32_t, int32_t) override {}
  std::string GadgetTextGet(int32_t) override { return {}; }

  int32_t PreferencesOpen(const std::string&) override { return 0; }
  int32_t PreferencesCreate(const std::string&) override { return 0; }
  void PreferencesClose() override {}
  int32_t PreferenceGroup(const std::string&) override { return 0; }
  std::string PreferenceReadText(const std::string&, const std::string& fallback) override {
    return fallback;
  }
  void PreferenceWriteText(const std::string&, const std::string&) override {}

  void ScreenRequestRefresh(int32_t) override {}
  int32_t ScreenOpen(int32_t, int32_t, int32_t, const std::string&) override { return 1; }
  int32_t ScreenOpenInWindow(WindowHandle, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t,
                             int32_t) override {
    return 1;
  }
  // The back buffer is handle 1; a sprite that exists is a target of its own.
  SurfaceHandle ScreenSelectTarget(int32_t number) override {
    Log("ScreenSelectTarget " + std::to_string(number));
    return number >= 0 && sprites.count(number) != 0 ? 1000 + static_cast<SurfaceHandle>(number)
                                                     : 1;
  }
  void ScreenFill(int32_t r, int32_t g, int32_t b) override {
    Log("ScreenFill " + std::to_string(r) + " " + std::to_string(g) + " " + std::to_string(b));
  }
  SurfaceHandle ScreenPresent() override {
    Log("ScreenPresent");
    ++presents;
    now = static_cast<int32_t>(static_cast<uint32_t>(now) +
                               static_cast<uint32_t>(frameMs));  // wraps as the counter does
    return 1;
  }

  SurfaceHandle SpriteCreate(int32_t number, int32_t width, int32_t height, int32_t) override {
    sprites[number] = {width, height};
    return 1;
  }
  SurfaceHandle SpriteLoadFile(int32_t, const std::string&, int32_t) override { return 0; }
  SurfaceHandle SpriteGrab(int32_t number, int32_t x, int32_t y, int32_t width,
                           int32_t height) override {
    Log("SpriteGrab " + std::to_string(number) + " " + std::to_string(x) + " " + std::to_string(y) +
        " " + std::to_string(width) + " " + std::to_string(height));
    sprites[number] = {width, height};
    return 1;
  }
  void SpriteSetKeyColour(int32_t number, int32_t r, int32_t g, int32_t b) override {
    Log("SpriteSetKeyColour " + std::to_string(number) + " " + std::to_string(r) + " " +
        std::to_string(g) + " " + std::to_string(b));
  }
  void SpriteShow(int32_t number, int32_t x, int32_t y) override {
    Log("SpriteShow " + std::to_string(number) + " " + std::to_string(x) + " " + std::to_string(y));
  }
  void SpriteFree(int32_t number) override {
    Log("SpriteFree " + std::to_string(number));
    sprites.erase(number);
  }
  int32_t SpriteGetWidth(int32_t number) override {
    auto found = sprites.find(number);
    return found == sprites.end() ? 0 : found->second.first;
  }
  int32_t SpriteGetHeight(int32_t number) override {
    auto found = sprites.find(number);
    return found == sprites.end() ? 0 : found->second.second;
  }
  int32_t SpriteSaveBmp(int32_t number, const std::string& fileName) override {
    Log("SpriteSaveBmp " + std::to_string(number) + " " + fileName);
    savedShots.push_back(fileName);
    existingFiles.insert(fileName);
    return 1;
  }

  int32_t TexturedSpriteCreate(int32_t, int32_t) override { return 1; }
  void TexturedSpriteRotate(int32_t number, int32_t degrees, int32_t source) override {
    Log("TexturedSpriteRotate " + std::to_string(number) + " " + std::to_string(degrees) + " " +
        std::to_string(source));
  }
  int32_t TexturedSceneBegin() override { return sceneBegins; }
  void TexturedSpriteShow(int32_t number, int32_t x, int32_t y, int32_t opacity) override {
    Log("TexturedSpriteShow " + std::to_string(number) + " " + std::to_string(x) + " " +
        std::to_string(y) + " " + std::to_string(opacity));
  }
  void TexturedSceneEnd() override { Log("TexturedSceneEnd"); }

  DrawTarget* ScreenDrawTarget() override { return nullptr; }
  DrawTarget* SpriteDrawTarget(int32_t) override { return nullptr; }
  std::uintptr_t DrawBegin(DrawTarget*) override { return 0; }
  void DrawString(const std::string& text) override {
    Log("DrawString " + text);
    strings.push_back(text);
  }
  void DrawPixel(int32_t, int32_t, int32_t) override {}
  void DrawEnd() override {}

  int32_t KeyboardPoll() override {
    ++polls;
    for (int32_t code : held) seenDown.insert(code);
    held = keysForPoll ? keysForPoll(polls) : std::set<int32_t>{};
    for (int32_t code : held) seenDown.insert(code);
    return 1;
  }
  int32_t KeyIsDown(int32_t code) override { return held.count(code) != 0 ? 1 : 0; }
  int32_t KeyWasLetGo(int32_t code) override {
    if (held.count(code) != 0 || seenDown.count(code) == 0) return 0;
    seenDown.erase(code);
    return 1;
  }

  std::uintptr_t AudioLoadWave(int32_t, const std::string&) override { return 1; }
  void AudioPlayOnce(int32_t number) override {
    Log("AudioPlayOnce " + std::to_string(number));
    ++plays;
  }

  int32_t DataFileOpen(int32_t number, const std::string& name) override {
    Log("DataFileOpen " + std::to_string(number) + " " + name);
    return files != nullptr ? files->DataFileOpen(number, name) : 0;
  }
  int32_t DataFileReadInt8() override { return files != nullptr ? files->DataFileReadInt8() : 0; }
  int32_t DataFileReadInt16() override { return files != nullptr ? files->DataFileReadInt16() : 0; }
  void DataFileClose(int32_t number) override {
    Log("DataFileClose " + std::to_string(number));
    if (files != nullptr) files->DataFileClose(number);
  }
  int32_t DataFileSize(const std::string& name) override {
    if (files != nullptr) return files->DataFileSize(name);
    if (folders.count(name) != 0) return -2;
    return existingFiles.count(name) != 0 ? 100 : -1;
  }

  void RandomReseed(uint32_t) override {}
  int32_t RandomUpTo(int32_t) override { return random(); }
  int32_t MillisecondsNow() override { return now; }
  int32_t MessageShow(const std::string& title, const std::string& text, uint32_t) override {
    Log("MessageShow " + title + ": " + text);
    return 1;
  }
  void ProblemReport(const std::string& line) override { Log("ProblemReport " + line); }
  void ServicesShutDown() override {}

  void Log(std::string entry) {
    if (logDrawing) log.push_back(std::move(entry));
  }
  size_t CountPrefix(const std::string& prefix) const {
    size_t count = 0;
    for (const std::string& entry : log) count += entry.rfind(prefix, 0) == 0 ? 1 : 0;
    return count;
  }
};

}  // namespace velko::testing
