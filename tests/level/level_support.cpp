#include "level/level_support.h"

#include <png.h>
#include <zlib.h>
#include <zstd.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "support/temp_dir.h"

namespace velko::level::testing {
namespace {

std::string Slurp(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string Base64(const Bytes& bytes) {
  static constexpr char kDigits[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  for (size_t i = 0; i < bytes.size(); i += 3) {
    const std::uint32_t n = (bytes[i] << 16) | (i + 1 < bytes.size() ? bytes[i + 1] << 8 : 0) |
                            (i + 2 < bytes.size() ? bytes[i + 2] : 0);
    out += kDigits[(n >> 18) & 63];
    out += kDigits[(n >> 12) & 63];
    out += i + 1 < bytes.size() ? kDigits[(n >> 6) & 63] : '=';
    out += i + 2 < bytes.size() ? kDigits[n & 63] : '=';
  }
  return out;
}

Bytes Deflate(const Bytes& raw, bool gzip) {
  z_stream stream{};
  if (deflateInit2(&stream, 9, Z_DEFLATED, gzip ? 31 : 15, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
    throw std::runtime_error("deflateInit2");
  }
  Bytes out(deflateBound(&stream, raw.size()));
  stream.next_in = const_cast<Bytef*>(raw.data());
  stream.avail_in = static_cast<uInt>(raw.size());
  stream.next_out = out.data();
  stream.avail_out = static_cast<uInt>(out.size());
  deflate(&stream, Z_FINISH);
  out.resize(stream.total_out);
  deflateEnd(&stream);
  return out;
}

}  // namespace

ToolRun RunCommand(const std::string& command) {
  velko::testing::TempDir dir;
  ToolRun run;
  const std::string line =
      command + " >" + dir.File("out").string() + " 2>" + dir.File("err").string();
  const int status = std::system(line.c_str());
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.out = Slurp(dir.File("out"));
  run.err = Slurp(dir.File("err"));
  return run;
}

ToolRun RunLevelTool(const std::string& arguments) {
  return RunCommand(std::string("'") + VELKO_LEVEL_TOOL + "' " + arguments);
}

bool HaveTiled() {
  return RunCommand("{ command -v tiled && command -v tmxrasterizer; }").status == 0;
}

bool RunTiled(const std::string& program, const std::string& arguments) {
  // Offscreen, with its settings in a folder of its own.
  const ToolRun run = RunCommand("QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=/tmp HOME=/tmp " +
                                 program + " " + arguments);
  return run.status == 0;
}

std::string EncodeGids(const std::vector<std::uint32_t>& gids, const std::string& encoding,
                       const std::string& compression) {
  if (encoding == "csv") {
    std::string out;
    for (size_t i = 0; i < gids.size(); ++i) out += (i ? "," : "") + std::to_string(gids[i]);
    return out;
  }
  Bytes raw;
  for (std::uint32_t gid : gids)
    for (int shift = 0; shift < 32; shift += 8)
      raw.push_back(static_cast<std::uint8_t>(gid >> shift));
  if (compression == "zlib" || compression == "gzip") raw = Deflate(raw, compression == "gzip");
  if (compression == "zstd") {
    Bytes out(ZSTD_compressBound(raw.size()));
    out.resize(ZSTD_compress(out.data(), out.size(), raw.data(), raw.size(), 3));
    raw = out;
  }
  return Base64(raw);
}

void WritePng(const std::filesystem::path& path, const RgbaPicture& picture) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(picture.width);
  image.height = static_cast<png_uint_32>(picture.height);
  image.format = PNG_FORMAT_RGBA;
  if (png_image_write_to_file(&image, path.c_str(), 0, picture.pixels.data(), 0, nullptr) == 0) {
    throw std::runtime_error("cannot write " + path.string());
  }
}

void WriteBmp24(const std::filesystem::path& path, const RgbaPicture& picture) {
  const int rowBytes = (picture.width * 3 + 3) / 4 * 4;
  Bytes out;
  const auto put = [&](std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
  };
  out.push_back('B');
  out.push_back('M');
  put(54 + rowBytes * picture.height, 4);
  put(0, 4);
  put(54, 4);
  put(40, 4);
  put(picture.width, 4);
  put(picture.height, 4);
  put(1, 2);
  put(24, 2);
  put(0, 4);
  put(rowBytes * picture.height, 4);
  for (int i = 0; i < 4; ++i) put(0, 4);
  for (int y = picture.height - 1; y >= 0; --y) {
    for (int x = 0; x < picture.width; ++x) {
      const Rgba p = picture.At(x, y);
      out.insert(out.end(), {p.b, p.g, p.r});
    }
    for (int pad = picture.width * 3; pad < rowBytes; ++pad) out.push_back(0);
  }
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
}

void WriteText(const std::filesystem::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

Bytes ReadBytes(const std::filesystem::path& path) {
  const std::string text = Slurp(path);
  return Bytes(text.begin(), text.end());
}

LevelFiles ReadLevelDir(const std::filesystem::path& dir) {
  return ParseLevel(ReadBytes(dir / "level.map"), ReadBytes(dir / "level.bpb"));
}

RgbPicture TilePicture(const LevelFiles& level, int tile) {
  RgbPicture out(kTileSide, kTileSide);
  const int perRow = level.PictureColumns();
  for (int y = 0; y < kTileSide; ++y)
    for (int x = 0; x < kTileSide; ++x)
      out.At(x, y) =
          level.picture.At((tile % perRow) * kTileSide + x, (tile / perRow) * kTileSide + y);
  return out;
}

}  // namespace velko::level::testing
