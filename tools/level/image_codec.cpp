#include "level/image_codec.h"

#include <png.h>

#include <cstring>
#include <memory>

#include "level/level_error.h"
#include "services/screen/pixel_buffer.h"
#include "services/sprites/bmp_codec.h"

namespace velko::level {
namespace {

void CheckSize(const std::string& name, std::int64_t width, std::int64_t height,
               std::int64_t maxSide, std::int64_t maxPixels) {
  if (width <= 0 || height <= 0) {
    throw LevelError(name + ": empty picture (" + std::to_string(width) + " x " +
                     std::to_string(height) + ")");
  }
  if (width > maxSide || height > maxSide || width * height > maxPixels) {
    throw LevelError(name + ": picture of " + std::to_string(width) + " x " +
                     std::to_string(height) + " pixels is over the game's limit (" +
                     std::to_string(maxSide) + " pixels a side, " + std::to_string(maxPixels) +
                     " pixels in all)");
  }
}

RgbaPicture DecodePng(const Bytes& bytes, const std::string& name, std::int64_t maxSide,
                      std::int64_t maxPixels) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  // Frees libpng's state on every way out.
  const auto release = [](png_image* i) { png_image_free(i); };
  std::unique_ptr<png_image, decltype(release)> guard(&image, release);
  if (png_image_begin_read_from_memory(&image, bytes.data(), bytes.size()) == 0) {
    throw LevelError(name + ": not a readable PNG (" + image.message + ")");
  }
  CheckSize(name, image.width, image.height, maxSide, maxPixels);
  image.format = PNG_FORMAT_RGBA;
  RgbaPicture picture(static_cast<int>(image.width), static_cast<int>(image.height));
  static_assert(sizeof(Rgba) == 4);
  if (png_image_finish_read(&image, nullptr, picture.pixels.data(), 0, nullptr) == 0) {
    throw LevelError(name + ": broken PNG (" + image.message + ")");
  }
  return picture;
}

RgbaPicture DecodeBmp(const Bytes& bytes, const std::string& name, std::int64_t maxSide,
                      std::int64_t maxPixels) {
  const std::optional<BmpHeader> header = ReadBmpHeader(bytes);
  if (!header) {
    throw LevelError(name +
                     ": not a BMP the game reads (uncompressed, bottom-up, 16, 24 or 32 bits)");
  }
  if (header->bitCount == 8) {
    throw LevelError(name + ": 8-bit BMP pictures are not read; save it with 24 bits");
  }
  CheckSize(name, header->width, header->height, maxSide, maxPixels);
  PixelBuffer buffer(header->width, header->height, 32);
  if (!buffer.Valid() || !DecodeBmpPixels(bytes, *header, buffer.View())) {
    throw LevelError(name + ": BMP pixels could not be read");
  }
  const Surface view = buffer.View();
  RgbaPicture picture(header->width, header->height);
  for (int y = 0; y < picture.height; ++y) {
    for (int x = 0; x < picture.width; ++x) {
      const std::uint32_t v = view.Get(x, y);
      picture.At(x, y) = {static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 8),
                          static_cast<std::uint8_t>(v), 255};
    }
  }
  return picture;
}

}  // namespace

RgbaPicture DecodeImage(const Bytes& bytes, const std::string& name, std::int64_t maxSide,
                        std::int64_t maxPixels) {
  static constexpr std::uint8_t kPngMagic[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (bytes.size() >= sizeof kPngMagic &&
      std::memcmp(bytes.data(), kPngMagic, sizeof kPngMagic) == 0) {
    return DecodePng(bytes, name, maxSide, maxPixels);
  }
  if (bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M') {
    return DecodeBmp(bytes, name, maxSide, maxPixels);
  }
  throw LevelError(name + ": neither a PNG nor a BMP picture");
}

Bytes EncodePngRgb(const RgbPicture& picture) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(picture.width);
  image.height = static_cast<png_uint_32>(picture.height);
  image.format = PNG_FORMAT_RGB;
  static_assert(sizeof(Rgb) == 3);
  png_alloc_size_t size = 0;
  if (png_image_write_to_memory(&image, nullptr, &size, 0, picture.pixels.data(), 0, nullptr) ==
      0) {
    throw LevelError(std::string("cannot encode the PNG picture: ") + image.message);
  }
  Bytes out(size);
  if (png_image_write_to_memory(&image, out.data(), &size, 0, picture.pixels.data(), 0, nullptr) ==
      0) {
    throw LevelError(std::string("cannot encode the PNG picture: ") + image.message);
  }
  out.resize(size);
  return out;
}

}  // namespace velko::level
