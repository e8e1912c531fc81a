#include "assets/asset_reader_support.h"

#include <algorithm>

namespace velko::testing {
namespace {

int Le16(const FileBytes& b, size_t at) {
  return static_cast<std::int16_t>(b[at] | (b[at + 1] << 8));
}

std::uint32_t Le32(const FileBytes& b, size_t at) {
  return static_cast<std::uint32_t>(b[at]) | (static_cast<std::uint32_t>(b[at + 1]) << 8) |
         (static_cast<std::uint32_t>(b[at + 2]) << 16) |
         (static_cast<std::uint32_t>(b[at + 3]) << 24);
}

bool Tag(const FileBytes& b, size_t at, const char* tag) {
  for (int i = 0; i < 4; ++i)
    if (b[at + i] != static_cast<std::uint8_t>(tag[i])) return false;
  return true;
}

std::uint32_t Be32(const FileBytes& b, size_t at) {
  return (static_cast<std::uint32_t>(b[at]) << 24) | (static_cast<std::uint32_t>(b[at + 1]) << 16) |
         (static_cast<std::uint32_t>(b[at + 2]) << 8) | static_cast<std::uint32_t>(b[at + 3]);
}

// Bit by bit, as the PNG book gives it: slow and plainly right.
std::uint32_t BitwiseCrc32(const FileBytes& b, size_t from, size_t to) {
  std::uint32_t c = 0xFFFFFFFFu;
  for (size_t i = from; i < to; ++i) {
    c ^= b[i];
    for (int k = 0; k < 8; ++k) c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1)));
  }
  return ~c;
}

std::uint32_t PlainAdler32(const FileBytes& b) {
  std::uint32_t a = 1, s = 0;
  for (std::uint8_t v : b) {
    a = (a + v) % 65521;
    s = (s + a) % 65521;
  }
  return (s << 16) | a;
}

// A stored signed byte s stands for the component s + 128.
int Component(std::uint8_t stored) {
  return static_cast<std::int8_t>(stored) + 128;
}

}  // namespace

std::optional<ReadMap> ReadLevelMap(const FileBytes& bytes) {
  if (bytes.size() < 8) return std::nullopt;
  ReadMap map;
  map.columns = Le16(bytes, 0);
  map.rows = Le16(bytes, 2);
  if (map.columns <= 0 || map.rows <= 0) return std::nullopt;
  const size_t cellCount = static_cast<size_t>(map.columns) * map.rows;
  const size_t countAt = 6 + 4 * cellCount;
  if (bytes.size() < countAt + 2) return std::nullopt;
  for (size_t i = 0; i < cellCount; ++i) map.tiles.push_back(Le16(bytes, 6 + 4 * i));
  const int n = Le16(bytes, countAt);
  if (n < 0 || bytes.size() != countAt + 2 + static_cast<size_t>(n)) return std::nullopt;
  for (int t = 0; t < n; ++t)
    map.collisionTypes.push_back(static_cast<std::int8_t>(bytes[countAt + 2 + t]));
  return map;
}

std::optional<ReadPicture> ReadPackage(const FileBytes& bytes, bool alternative) {
  if (bytes.size() < 4) return std::nullopt;
  ReadPicture picture;
  picture.width = Le16(bytes, 0);
  picture.height = Le16(bytes, 2);
  if (picture.width <= 0 || picture.height <= 0) return std::nullopt;
  const size_t count = static_cast<size_t>(picture.width) * picture.height;
  if (bytes.size() != 4 + 3 * count) return std::nullopt;
  picture.pixels.resize(count);
  size_t at = 4;
  for (int x = 0; x < picture.width; ++x) {
    for (int y = 0; y < picture.height; ++y, at += 3) {
      ReadRgb c{Component(bytes[at]), Component(bytes[at + 1]), Component(bytes[at + 2])};
      if (alternative) c = {c.r >> 1, c.g >> 1, c.b};
      picture.pixels[static_cast<size_t>(y) * picture.width + x] = c;
    }
  }
  return picture;
}

std::optional<ReadPicture> ReadBmp24(const FileBytes& bytes) {
  if (bytes.size() < 54 || bytes[0] != 'B' || bytes[1] != 'M') return std::nullopt;
  if (Le32(bytes, 10) != 54 || Le32(bytes, 14) != 40) return std::nullopt;
  if (Le16(bytes, 26) != 1 || Le16(bytes, 28) != 24 || Le32(bytes, 30) != 0) return std::nullopt;
  ReadPicture picture;
  picture.width = static_cast<std::int32_t>(Le32(bytes, 18));
  picture.height = static_cast<std::int32_t>(Le32(bytes, 22));
  if (picture.width <= 0 || picture.height <= 0) return std::nullopt;  // bottom-up only
  const size_t rowBytes = (static_cast<size_t>(picture.width) * 3 + 3) / 4 * 4;
  if (bytes.size() != 54 + rowBytes * picture.height || Le32(bytes, 2) != bytes.size())
    return std::nullopt;
  picture.pixels.resize(static_cast<size_t>(picture.width) * picture.height);
  for (int fileRow = 0; fileRow < picture.height; ++fileRow) {
    const size_t rowAt = 54 + rowBytes * fileRow;
    const int y = picture.height - 1 - fileRow;
    for (int x = 0; x < picture.width; ++x) {
      const size_t at = rowAt + 3 * x;
      picture.pixels[static_cast<size_t>(y) * picture.width + x] = {bytes[at + 2], bytes[at + 1],
                                                                    bytes[at]};
    }
  }
  return picture;
}

std::optional<ReadWave> ReadCanonicalWave(const FileBytes& bytes) {
  if (bytes.size() < 44 || !Tag(bytes, 0, "RIFF") || !Tag(bytes, 8, "WAVE") ||
      !Tag(bytes, 12, "fmt ") || Le32(bytes, 16) != 16 || !Tag(bytes, 36, "data"))
    return std::nullopt;
  const std::uint32_t dataBytes = Le32(bytes, 40);
  if (Le32(bytes, 4) != 36 + dataBytes || bytes.size() != 44 + dataBytes) return std::nullopt;
  ReadWave wave;
  wave.formatTag = Le16(bytes, 20);
  wave.channels = Le16(bytes, 22);
  wave.sampleRate = static_cast<int>(Le32(bytes, 24));
  wave.byteRate = Le32(bytes, 28);
  wave.blockAlign = Le16(bytes, 32);
  wave.bitsPerSample = Le16(bytes, 34);
  for (size_t at = 44; at + 1 < bytes.size(); at += 2)
    wave.samples.push_back(static_cast<std::int16_t>(Le16(bytes, at)));
  return wave;
}

std::optional<ReadRgbaPicture> ReadStoredPng(const FileBytes& bytes) {
  static constexpr std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (bytes.size() < 8 || !std::equal(kSignature, kSignature + 8, bytes.begin()))
    return std::nullopt;
  ReadRgbaPicture picture;
  FileBytes zlib;
  bool ended = false;
  for (size_t at = 8; !ended;) {
    if (bytes.size() < at + 12) return std::nullopt;
    const size_t length = Be32(bytes, at);
    if (bytes.size() < at + 12 + length) return std::nullopt;
    if (BitwiseCrc32(bytes, at + 4, at + 8 + length) != Be32(bytes, at + 8 + length))
      return std::nullopt;
    const size_t data = at + 8;
    if (Tag(bytes, at + 4, "IHDR")) {
      if (at != 8 || length != 13) return std::nullopt;
      picture.width = static_cast<int>(Be32(bytes, data));
      picture.height = static_cast<int>(Be32(bytes, data + 4));
      const FileBytes rest(bytes.begin() + data + 8, bytes.begin() + data + 13);
      if (rest != FileBytes{8, 6, 0, 0, 0}) return std::nullopt;
    } else if (Tag(bytes, at + 4, "IDAT")) {
      zlib.insert(zlib.end(), bytes.begin() + data, bytes.begin() + data + length);
    } else if (Tag(bytes, at + 4, "IEND")) {
      ended = length == 0 && at + 12 == bytes.size();
      if (!ended) return std::nullopt;
    } else {
      return std::nullopt;
    }
    at += 12 + length;
  }
  if (picture.width <= 0 || picture.height <= 0 || zlib.size() < 6) return std::nullopt;
  if ((zlib[0] & 0x0F) != 8 || (zlib[0] * 256 + zlib[1]) % 31 != 0 || (zlib[1] & 0x20) != 0)
    return std::nullopt;
  FileBytes raw;
  size_t at = 2;
  for (bool last = false; !last;) {
    if (zlib.size() < at + 5 || (zlib[at] & 0x06) != 0) return std::nullopt;  // stored only
    last = (zlib[at] & 1) != 0;
    const size_t length = zlib[at + 1] | (zlib[at + 2] << 8);
    const size_t complement = zlib[at + 3] | (zlib[at + 4] << 8);
    if ((length ^ 0xFFFF) != complement || zlib.size() < at + 5 + length) return std::nullopt;
    raw.insert(raw.end(), zlib.begin() + at + 5, zlib.begin() + at + 5 + length);
    at += 5 + length;
  }
  if (zlib.size() != at + 4 || Be32(zlib, at) != PlainAdler32(raw)) return std::nullopt;
  const size_t rowBytes = static_cast<size_t>(picture.width) * 4;
  if (raw.size() != (rowBytes + 1) * picture.height) return std::nullopt;
  for (int y = 0; y < picture.height; ++y) {
    const auto row = raw.begin() + static_cast<std::ptrdiff_t>(y * (rowBytes + 1));
    if (*row != 0) return std::nullopt;  // filter None
    picture.rgba.insert(picture.rgba.end(), row + 1, row + 1 + rowBytes);
  }
  return picture;
}

}  // namespace velko::testing
