#include "services/sprites/sprite_service.h"

#include <algorithm>
#include <vector>

#include "platform/file_system.h"
#include "services/screen/pixel_ops.h"
#include "services/screen/screen_service.h"
#include "services/sprites/bmp_codec.h"

namespace velko {
namespace {

SurfaceHandle HandleOf(const std::shared_ptr<PixelBuffer>& buffer) {
  return reinterpret_cast<SurfaceHandle>(buffer.get());
}

// Larger files than this are not read into memory: no picture the sprites can hold needs it.
constexpr std::int64_t kMaxImageFileBytes =
    std::int64_t{4} * kMaxBufferPixels + (std::int64_t{1} << 20);

// Reads a whole regular file; nothing when it cannot be opened or read.
std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::string& path) {
  const int descriptor = files::OpenForReading(path);
  if (descriptor < 0) return std::nullopt;
  const files::Info info = files::InfoOfOpen(descriptor);
  std::optional<std::vector<std::uint8_t>> result;
  if (info.kind == files::Kind::File && info.size >= 0 && info.size <= kMaxImageFileBytes) {
    std::vector<std::uint8_t> bytes(static_cast<size_t>(info.size));
    size_t got = 0;
    while (got < bytes.size()) {
      const std::int64_t n = files::ReadSome(descriptor, bytes.data() + got, bytes.size() - got);
      if (n <= 0) break;
      got += static_cast<size_t>(n);
    }
    bytes.resize(got);
    result = std::move(bytes);
  }
  files::Close(descriptor);
  return result;
}

}  // namespace

SpriteService::SpriteService(ScreenService& screen, const ProgramDirectory& directory)
    : screen_(screen), directory_(directory) {}

SpriteService::~SpriteService() = default;

void SpriteService::Reset() {
  table_ = ObjectTable<SpriteRecord>(50, 50, 1);
  defaultKeyColour_ = 0;
}

SpriteRecord* SpriteService::MakeRecord(int32_t number, int32_t width, int32_t height,
                                        int32_t depth, int32_t mode) {
  if (!table_.Grow(number)) return nullptr;
  SpriteRecord& record = *table_.Make(number);
  SpriteFree(number);
  record = SpriteRecord{};
  record.width = static_cast<int16_t>(width);
  record.height = static_cast<int16_t>(height);
  record.depth = static_cast<int16_t>(depth);
  record.mode = static_cast<int16_t>(mode);
  record.clipWidth = record.width;
  record.clipHeight = record.height;
  // Sizes a record cannot hold exactly, or a buffer may not take, are refused.
  if (!PixelBuffer::SizeAllowed(width, height)) return &record;
  if (mode == SpriteModeRaw) {
    // One byte per pixel of 8-bit data only.
    if (depth != 0 && depth != 8) return &record;
    auto block = std::make_shared<PixelBuffer>(width, height, 8);
    if (block->Valid()) record.surface = std::move(block);
    record.depth = -2;
    return &record;
  }
  // Surfaces take the display's format; an 8-bit picture would need an 8-bit screen, and
  // pictures of 16 bits or more load on any screen of 16 bits or more.
  const int32_t screenDepth = screen_.Depth();
  if (!screen_.Started() || (screenDepth != 16 && screenDepth != 32)) return &record;
  if (depth != 0 && depth != screenDepth && !(depth >= 16 && screenDepth >= 16)) return &record;
  auto surface = std::make_shared<PixelBuffer>(width, height, screenDepth);
  if (surface->Valid()) record.surface = std::move(surface);
  return &record;
}

SurfaceHandle SpriteService::SpriteCreate(int32_t number, int32_t width, int32_t height,
                                          int32_t mode) {
  if (number < 0) return 0;
  SpriteRecord* record = MakeRecord(number, width, height, screen_.Depth(), mode);
  if (record == nullptr) return 0;
  // New buffers start black (pixel value 0); a surface takes the default key colour.
  if (record->IsSurface()) record->surface->keyColour = defaultKeyColour_;
  return HandleOf(record->surface);
}

SurfaceHandle SpriteService::SpriteLoadFile(int32_t number, const std::string& fileName,
                                            int32_t mode) {
  if (number < 0) return 0;
  // A file that cannot be opened or read leaves the sprite as it was.
  std::optional<std::vector<std::uint8_t>> image = ReadWholeFile(directory_.Resolve(fileName));
  if (!image) return 0;
  return SpriteLoadImage(number, *image, mode, fileName);
}

SurfaceHandle SpriteService::SpriteLoadImage(int32_t number, std::span<const std::uint8_t> image,
                                             int32_t mode, const std::string& fileName) {
  if (!table_.Grow(number)) return 0;
  SpriteFree(number);
  const std::optional<BmpHeader> header = ReadBmpHeader(image);
  if (!header) return 0;
  SpriteRecord* made = MakeRecord(number, header->width, header->height, header->bitCount, mode);
  if (made == nullptr || made->surface == nullptr) return 0;
  SpriteRecord& record = *made;
  record.fileName = fileName;
  const bool copied = DecodeBmpPixels(image, *header, record.surface->View());
  if (!record.IsSurface()) return copied ? HandleOf(record.surface) : 0;
  record.surface->keyColour = defaultKeyColour_;
  return copied ? HandleOf(record.surface) : 0;
}

SurfaceHandle SpriteService::SpriteGrab(int32_t number, int32_t x, int32_t y, int32_t width,
                                        int32_t height) {
  if (number < 0) return 0;
  SpriteRecord* made = MakeRecord(number, width, height, 0, SpriteModeDefault);
  if (made == nullptr || made->surface == nullptr) return 0;
  SpriteRecord& record = *made;
  // Only the part of the rectangle inside the current target is copied; the rest stays black.
  if (const std::shared_ptr<PixelBuffer>& target = screen_.Target(); target != nullptr) {
    Surface from = target->View();
    from.width = std::min(from.width, screen_.TargetWidth());
    from.height = std::min(from.height, screen_.TargetHeight());
    CopyRect(record.surface->View(), 0, 0, from, {x, y, width, height});
  }
  record.surface->keyColour = defaultKeyColour_;
  return HandleOf(record.surface);
}

void SpriteService::SpriteSetKeyColour(int32_t number, int32_t red, int32_t green, int32_t blue) {
  const uint32_t key = PackColour(screen_.Depth(), red, green, blue);
  if (number < 0) {
    defaultKeyColour_ = key;
    return;
  }
  SpriteRecord* record = table_.Find(number);
  if (record != nullptr && record->IsSurface()) record->surface->keyColour = key;
}

void SpriteService::SpriteShow(int32_t number, int32_t x, int32_t y) {
  if (!screen_.Active()) return;
  const SpriteRecord* record = table_.Find(number);
  if (record == nullptr || !record->IsSurface()) return;
  const int32_t targetWidth = screen_.TargetWidth();
  const int32_t targetHeight = screen_.TargetHeight();
  int32_t w = record->width;
  int32_t h = record->height;
  if (x >= targetWidth || y >= targetHeight || x <= -w || y <= -h) return;
  if (x + w > targetWidth) w = targetWidth - x;
  if (y + h > targetHeight) h = targetHeight - y;
  int32_t skipX = 0;
  int32_t skipY = 0;
  if (x < 0) {
    skipX = -x;
    x = 0;
  }
  if (y < 0) {
    skipY = -y;
    y = 0;
  }
  const PixelRect source{skipX + record->clipX, skipY + record->clipY, w - skipX, h - skipY};
  screen_.CopyToTarget(record->surface, source, x, y);
}

void SpriteService::SpriteFree(int32_t number) {
  SpriteRecord* record = table_.Find(number);
  if (record == nullptr || record->surface == nullptr) return;
  // The size and mode stay readable after the free.
  record->surface.reset();
  record->fileName.reset();
}

int32_t SpriteService::SpriteGetWidth(int32_t number) {
  const SpriteRecord* record = table_.Find(number);
  return record != nullptr ? record->width : 0;
}

int32_t SpriteService::SpriteGetHeight(int32_t number) {
  const SpriteRecord* record = table_.Find(number);
  return record != nullptr ? record->height : 0;
}

int32_t SpriteService::SpriteSaveBmp(int32_t number, const std::string& fileName) {
  const SpriteRecord* record = table_.Find(number);
  if (record == nullptr || !record->IsSurface() || record->mode == SpriteModeRaw) return 0;
  const std::string path = directory_.Resolve(fileName);
  directory_.PrepareFolderFor(path);
  const int descriptor = files::OpenForWriting(path);
  if (descriptor < 0) return 0;
  // Depths without a 24-bit conversion leave the file created and empty.
  const std::vector<std::uint8_t> file = EncodeBmp24(record->surface->View());
  const bool written = !file.empty() && files::WriteAll(descriptor, file.data(), file.size());
  files::Close(descriptor);
  return written ? 1 : 0;
}

void SpriteService::SpriteFreeAll() {
  for (int32_t number = 0; number < table_.Capacity(); ++number) SpriteFree(number);
}

std::shared_ptr<PixelBuffer> SpriteService::TargetSurface(int32_t number, int32_t& clipWidth,
                                                          int32_t& clipHeight) {
  const SpriteRecord* record = table_.Find(number);
  if (record == nullptr || !record->IsSurface()) return nullptr;
  clipWidth = record->clipWidth;
  clipHeight = record->clipHeight;
  return record->surface;
}

}  // namespace velko
