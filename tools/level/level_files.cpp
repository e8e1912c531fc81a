#include "level/level_files.h"

#include "level/level_error.h"

namespace velko::level {
namespace {

class Reader {
 public:
  Reader(const Bytes& bytes, const char* name) : bytes_(bytes), name_(name) {}

  // Fails unless `count` more bytes are there: every size comes from the file itself.
  void Need(std::int64_t count, const char* what) const {
    if (count < 0 || count > static_cast<std::int64_t>(bytes_.size() - at_)) {
      throw LevelError(std::string(name_) + ": the file ends before " + what + " (" +
                       std::to_string(bytes_.size()) + " bytes)");
    }
  }
  std::uint8_t U8() { return bytes_[at_++]; }
  std::int16_t I16() {
    const auto low = bytes_[at_];
    const auto high = bytes_[at_ + 1];
    at_ += 2;
    return static_cast<std::int16_t>(low | (high << 8));
  }
  Bytes Rest() const {
    return Bytes(bytes_.begin() + static_cast<std::ptrdiff_t>(at_), bytes_.end());
  }

 private:
  const Bytes& bytes_;
  const char* name_;
  size_t at_ = 0;
};

void Put16(Bytes& out, std::int16_t v) {
  out.push_back(static_cast<std::uint8_t>(v & 0xFF));
  out.push_back(static_cast<std::uint8_t>((static_cast<std::uint16_t>(v) >> 8) & 0xFF));
}

}  // namespace

LevelFiles ParseLevel(const Bytes& map, const Bytes& package) {
  LevelFiles level;
  Reader m(map, "level.map");
  m.Need(6, "its header");
  level.columns = m.I16();
  level.rows = m.I16();
  level.reserved[0] = m.U8();
  level.reserved[1] = m.U8();
  const std::int64_t cells = level.CellCount();
  m.Need(cells * 4 + 2, "its cells and tile count");
  level.cells.resize(static_cast<size_t>(cells));
  for (Cell& cell : level.cells) {
    cell.tile = m.I16();
    cell.extra = m.I16();
  }
  const std::int16_t records = m.I16();
  if (records < 0) {
    throw LevelError("level.map: negative tile record count " + std::to_string(records));
  }
  if (records > 0) {
    m.Need(records, "its collision types");
    for (int t = 0; t < records; ++t)
      level.collisionTypes.push_back(static_cast<std::int8_t>(m.U8()));
  }
  level.mapTrailer = m.Rest();

  Reader p(package, "level.bpb");
  p.Need(4, "its header");
  level.pictureWidth = p.I16();
  level.pictureHeight = p.I16();
  if (level.pictureWidth > 0 && level.pictureHeight > 0) {
    const std::int64_t pixels = std::int64_t{level.pictureWidth} * level.pictureHeight;
    p.Need(pixels * 3, "its pixels");
    level.picture = RgbPicture(level.pictureWidth, level.pictureHeight);
    for (int x = 0; x < level.pictureWidth; ++x) {
      for (int y = 0; y < level.pictureHeight; ++y) {
        Rgb& c = level.picture.At(x, y);
        // Each component is stored with its top bit inverted.
        c.r = p.U8() ^ 0x80;
        c.g = p.U8() ^ 0x80;
        c.b = p.U8() ^ 0x80;
      }
    }
  }
  level.packageTrailer = p.Rest();
  return level;
}

Bytes EncodeLevelMap(const LevelFiles& level) {
  Bytes out;
  out.reserve(8 + level.cells.size() * 4 + level.collisionTypes.size() + level.mapTrailer.size());
  Put16(out, level.columns);
  Put16(out, level.rows);
  out.push_back(level.reserved[0]);
  out.push_back(level.reserved[1]);
  for (const Cell& cell : level.cells) {
    Put16(out, cell.tile);
    Put16(out, cell.extra);
  }
  Put16(out, static_cast<std::int16_t>(level.collisionTypes.size()));
  for (std::int8_t type : level.collisionTypes) out.push_back(static_cast<std::uint8_t>(type));
  out.insert(out.end(), level.mapTrailer.begin(), level.mapTrailer.end());
  return out;
}

Bytes EncodeLevelPackage(const LevelFiles& level) {
  Bytes out;
  out.reserve(4 + level.picture.pixels.size() * 3 + level.packageTrailer.size());
  Put16(out, level.pictureWidth);
  Put16(out, level.pictureHeight);
  for (int x = 0; x < level.picture.width; ++x) {
    for (int y = 0; y < level.picture.height; ++y) {
      const Rgb c = level.picture.At(x, y);
      out.push_back(c.r ^ 0x80);
      out.push_back(c.g ^ 0x80);
      out.push_back(c.b ^ 0x80);
    }
  }
  out.insert(out.end(), level.packageTrailer.begin(), level.packageTrailer.end());
  return out;
}

std::string CollisionName(int type) {
  switch (type) {
    case 0:
      return "libre";
    case 1:
      return "solide";
    case 2:
    case 4:
      return "demi-gauche";
    case 3:
    case 5:
      return "demi-droite";
    default:
      return {};
  }
}

}  // namespace velko::level
