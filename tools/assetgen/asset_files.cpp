#include "assetgen/asset_files.h"

#include <fstream>
#include <iterator>

namespace velko::assetgen {
namespace {

void PutU8(Bytes& out, std::uint8_t v) {
  out.push_back(v);
}

void PutLe16(Bytes& out, std::uint16_t v) {
  out.push_back(static_cast<std::uint8_t>(v & 0xFF));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void PutLe32(Bytes& out, std::uint32_t v) {
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<std::uint8_t>(v >> shift));
}

void PutTag(Bytes& out, const char (&tag)[5]) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(tag[i]));
}

// The package's signed byte for a 0..255 component: the component less 128, which is the
// component with its top bit flipped.
std::uint8_t PackageByte(std::uint8_t component) {
  return component ^ 0x80;
}

}  // namespace

Bytes EncodeLevelMap(int columns, int rows, std::span<const MapCell> cells,
                     std::span<const std::int8_t> collisionTypes) {
  Bytes out;
  out.reserve(8 + cells.size() * 4 + collisionTypes.size());
  PutLe16(out, static_cast<std::uint16_t>(columns));
  PutLe16(out, static_cast<std::uint16_t>(rows));
  PutU8(out, 0);  // two reserved bytes the game skips
  PutU8(out, 0);
  for (const MapCell& cell : cells) {
    PutLe16(out, static_cast<std::uint16_t>(cell.tile));
    PutLe16(out, static_cast<std::uint16_t>(cell.extra));
  }
  PutLe16(out, static_cast<std::uint16_t>(collisionTypes.size()));
  for (std::int8_t type : collisionTypes) PutU8(out, static_cast<std::uint8_t>(type));
  return out;
}

Bytes EncodePackage(const RgbImage& image) {
  Bytes out;
  out.reserve(4 + static_cast<size_t>(image.Width()) * image.Height() * 3);
  PutLe16(out, static_cast<std::uint16_t>(image.Width()));
  PutLe16(out, static_cast<std::uint16_t>(image.Height()));
  for (int x = 0; x < image.Width(); ++x) {
    for (int y = 0; y < image.Height(); ++y) {
      Rgb c = image.At(x, y);
      PutU8(out, PackageByte(c.r));
      PutU8(out, PackageByte(c.g));
      PutU8(out, PackageByte(c.b));
    }
  }
  return out;
}

Bytes EncodeBmp24(const RgbImage& image) {
  const int width = image.Width();
  const int height = image.Height();
  const int rowBytes = (width * 3 + 3) / 4 * 4;
  const std::uint32_t imageSize = static_cast<std::uint32_t>(rowBytes) * height;
  Bytes out;
  out.reserve(54 + imageSize);
  PutU8(out, 'B');
  PutU8(out, 'M');
  PutLe32(out, 54 + imageSize);
  PutLe16(out, 0);
  PutLe16(out, 0);
  PutLe32(out, 54);
  PutLe32(out, 40);
  PutLe32(out, static_cast<std::uint32_t>(width));
  PutLe32(out, static_cast<std::uint32_t>(height));  // positive: bottom row first
  PutLe16(out, 1);
  PutLe16(out, 24);
  PutLe32(out, 0);
  PutLe32(out, imageSize);
  PutLe32(out, 2835);  // 72 dots per inch
  PutLe32(out, 2835);
  PutLe32(out, 0);
  PutLe32(out, 0);
  for (int y = height - 1; y >= 0; --y) {
    for (int x = 0; x < width; ++x) {
      Rgb c = image.At(x, y);
      PutU8(out, c.b);
      PutU8(out, c.g);
      PutU8(out, c.r);
    }
    for (int pad = width * 3; pad < rowBytes; ++pad) PutU8(out, 0);
  }
  return out;
}

Bytes EncodeWav16Mono(std::span<const std::int16_t> samples, int sampleRate) {
  const std::uint32_t dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
  Bytes out;
  out.reserve(44 + dataBytes);
  PutTag(out, "RIFF");
  PutLe32(out, 36 + dataBytes);
  PutTag(out, "WAVE");
  PutTag(out, "fmt ");
  PutLe32(out, 16);
  PutLe16(out, 1);  // PCM
  PutLe16(out, 1);  // mono
  PutLe32(out, static_cast<std::uint32_t>(sampleRate));
  PutLe32(out, static_cast<std::uint32_t>(sampleRate) * 2);
  PutLe16(out, 2);
  PutLe16(out, 16);
  PutTag(out, "data");
  PutLe32(out, dataBytes);
  for (std::int16_t s : samples) PutLe16(out, static_cast<std::uint16_t>(s));
  return out;
}

bool WriteBytes(const std::filesystem::path& path, const Bytes& bytes) {
  // A file that already holds these bytes is left alone, so a rebuild that finds every
  // asset intact touches nothing.
  {
    std::ifstream in(path, std::ios::binary);
    if (in) {
      const Bytes present{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
      if (present == bytes) return true;
    }
  }
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) return false;
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out.flush());
}

}  // namespace velko::assetgen
