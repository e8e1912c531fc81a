// The state of one run of the game, held by `Game` and handed to the frame steps.
#pragma once

#include <cstdint>
#include <string>

#include "data/level_map.h"

namespace velko {

struct CarState {
  float heading = 270.0f;  // degrees; 0 right, 90 down the screen
  float headingRadians = 0.0f;
  float speed = 0.0f;  // pixels per millisecond
  float screenX = 300.0f;
  float screenY = 400.0f;
  float scrollX = 0.0f;
  float scrollY = 0.0f;
  int8_t canMove = 0;
};

struct FrameClock {
  int32_t fpsStartTick = 0;
  int32_t fpsInterval = 0;
  int32_t framesPerSecond = 0;
  int32_t moveStartTick = 0;
  int32_t frameMs = 0;
  float moveDistance = 0.0f;
  float turnStep = 0.0f;
};

struct DriverInput {
  int8_t accelerating = 0;
  int8_t steering = 0;
  int32_t quitRequested = 0;
};

struct ViewState {
  int16_t scrollCellX = 0;
  int16_t scrollCellY = 0;
  int32_t scrollRestX = 0;
  int32_t scrollRestY = 0;
};

struct ProbeState {
  int32_t probeCellX[3] = {0, 0, 0};
  int32_t probeCellY[3] = {0, 0, 0};
  int8_t DevantType1 = 0;
  int8_t DevantType2 = 0;
  int8_t DevantType3 = 0;
  int16_t probeX = 0;
  int16_t probeY = 0;
  int16_t edgeX = 0;
  int16_t edgeY = 0;
  int8_t insideX = 0;
  int8_t insideY = 0;
  int8_t blocked = 0;
};

struct CrashState {
  int32_t crashCount = 0;
  int32_t bounceTick = 0;
  int32_t stopTick = 0;
  uint8_t carOpacity = 255;
};

struct GameSettings {
  int32_t windowed = 0;
  int8_t colourDepth = 0;
  int8_t alternativeColours = 0;
  int32_t force75Hz = 0;
};

struct GameState {
  GameSettings settings;
  int32_t soundAvailable = 0;
  int32_t alternativeColoursCopy = 0;
  int32_t nextTileSprite = 0;
  LevelData level;
  CarState car;
  FrameClock clock;
  DriverInput input;
  ViewState view;
  ProbeState probes;
  CrashState crash;
  std::string shotName;
  int32_t crashSoundsPlayed = 0;  // for the runner's trace
};

}  // namespace velko
