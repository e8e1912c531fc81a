// Numbered sounds from PCM WAV files; playing one restarts it from its beginning.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "platform/platform.h"
#include "services/files/program_directory.h"

namespace velko {

class SoundService {
 public:
  SoundService(platform::Platform& platform, const ProgramDirectory& directory);
  ~SoundService();

  int32_t AudioStart();
  std::uintptr_t AudioLoadWave(int32_t number, const std::string& fileName);
  std::uintptr_t AudioFromWaveImage(int32_t number, std::span<const uint8_t> image);
  void AudioPlay(int32_t number, int32_t loop);
  void AudioPlayOnce(int32_t number);
  void AudioFree(int32_t number);
  void AudioStop();

 private:
  platform::Platform& platform_;
  const ProgramDirectory& directory_;
};

}  // namespace velko
