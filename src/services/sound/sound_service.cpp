#include "services/sound/sound_service.h"

#include <fstream>
#include <iterator>
#include <new>
#include <vector>

#include "platform/file_system.h"
#include "services/sound/wave_image.h"

namespace velko {
namespace {

// The whole file, or nothing when it cannot be opened or read.
bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes) {
  std::ifstream in(files::PathFromUtf8(path), std::ios::binary);
  if (!in) return false;
  in.seekg(0, std::ios::end);
  const std::streamoff size = in.tellg();
  if (size < 0) return false;
  in.seekg(0, std::ios::beg);
  try {
    bytes.resize(static_cast<size_t>(size));
  } catch (const std::bad_alloc&) {
    return false;
  }
  in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size));
  return static_cast<std::streamoff>(in.gcount()) == size;
}

}  // namespace

SoundService::SoundService(platform::Platform& platform, const ProgramDirectory& directory)
    : platform_(platform), directory_(directory) {}

SoundService::~SoundService() {
  AudioStop();
}

int32_t SoundService::AudioStart() {
  if (device_) return 1;
  sounds_ = ObjectTable<int>(kInitialCapacity, kGrowthStep, kSpareRecords);
  device_ = platform_.OpenAudio();
  return device_ ? 1 : 0;
}

std::uintptr_t SoundService::AudioLoadWave(int32_t number, const std::string& fileName) {
  if (!device_) return 0;
  std::vector<uint8_t> image;
  if (!ReadWholeFile(directory_.Resolve(fileName), image)) return 0;
  if (!LooksLikeWave(image)) return 0;
  return AudioFromWaveImage(number, image);
}

std::uintptr_t SoundService::AudioFromWaveImage(int32_t number, std::span<const uint8_t> image) {
  if (!device_ || !sounds_.Grow(number)) return 0;
  const std::optional<WaveImage> wave = ParseWaveImage(image);
  if (!wave) return 0;
  const int buffer = device_->CreateBuffer(wave->format, wave->samples);
  if (buffer == 0) return 0;
  AudioFree(number);
  *sounds_.Make(number) = buffer;
  return static_cast<std::uintptr_t>(buffer);
}

void SoundService::AudioPlay(int32_t number, int32_t loop) {
  const int buffer = BufferOf(number);
  if (buffer == 0) return;
  device_->Play(buffer, loop != 0);
}

void SoundService::AudioPlayOnce(int32_t number) {
  AudioPlay(number, 0);
}

void SoundService::AudioFree(int32_t number) {
  int* record = sounds_.Find(number);
  if (record == nullptr || *record == 0) return;
  if (device_) device_->FreeBuffer(*record);
  *record = 0;
}

void SoundService::AudioStop() {
  for (int32_t number = 0; number < sounds_.Capacity(); ++number) AudioFree(number);
  // Nothing plays after the shutdown: the device goes with the sounds.
  device_.reset();
}

int SoundService::BufferOf(int32_t number) const {
  const int* record = sounds_.Find(number);
  if (record == nullptr || !device_) return 0;
  return *record;
}

}  // namespace velko
