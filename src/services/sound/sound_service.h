// Numbered sounds from PCM WAV files; playing one restarts it from its beginning.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "platform/platform.h"
#include "services/files/program_directory.h"
#include "services/memory/object_table.h"

namespace velko {

class SoundService {
 public:
  SoundService(platform::Platform& platform, const ProgramDirectory& directory);
  ~SoundService();
  SoundService(const SoundService&) = delete;
  SoundService& operator=(const SoundService&) = delete;

  // Non-zero when sounds can be played, 0 when no audio device can be had.
  int32_t AudioStart();
  // The sound of a WAV file of the program's directory under `number`: non-zero on success;
  // on failure the number keeps what it held.
  std::uintptr_t AudioLoadWave(int32_t number, const std::string& fileName);
  std::uintptr_t AudioFromWaveImage(int32_t number, std::span<const uint8_t> image);
  // Stops the sound, rewinds it and starts it once (loop 0) or looping; an empty number does
  // nothing.
  void AudioPlay(int32_t number, int32_t loop);
  void AudioPlayOnce(int32_t number);
  void AudioFree(int32_t number);
  void AudioStop();

  int32_t Capacity() const { return sounds_.Capacity(); }
  // The device buffer held by `number`, 0 when none.
  int BufferOf(int32_t number) const;

 private:
  static constexpr int32_t kInitialCapacity = 50;
  static constexpr int32_t kGrowthStep = 50;
  static constexpr int32_t kSpareRecords = 1;

  platform::Platform& platform_;
  const ProgramDirectory& directory_;
  std::unique_ptr<platform::AudioDevice> device_;
  // Device buffer ids by sound number, 0 for none.
  ObjectTable<int> sounds_{kInitialCapacity, kGrowthStep, kSpareRecords};
};

}  // namespace velko
