#include "services/sound/sound_service.h"

namespace velko {

// Placeholder until sound is built: no device.
SoundService::SoundService(platform::Platform& platform, const ProgramDirectory& directory)
    : platform_(platform), directory_(directory) {}
SoundService::~SoundService() = default;
int32_t SoundService::AudioStart() {
  return 0;
}
std::uintptr_t SoundService::AudioLoadWave(int32_t, const std::string&) {
  return 0;
}
std::uintptr_t SoundService::AudioFromWaveImage(int32_t, std::span<const uint8_t>) {
  return 0;
}
void SoundService::AudioPlay(int32_t, int32_t) {}
void SoundService::AudioPlayOnce(int32_t) {}
void SoundService::AudioFree(int32_t) {}
void SoundService::AudioStop() {}

}  // namespace velko
