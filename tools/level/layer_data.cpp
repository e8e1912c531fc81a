#include "level/layer_data.h"

#include <zlib.h>
#include <zstd.h>

#include <cctype>
#include <memory>

#include "level/level_error.h"

namespace velko::level {
namespace {

using Bytes = std::vector<std::uint8_t>;

int Base64Value(char c) {
  if (c >= 'A' && c <= 'Z') return c - 'A';
  if (c >= 'a' && c <= 'z') return c - 'a' + 26;
  if (c >= '0' && c <= '9') return c - '0' + 52;
  if (c == '+') return 62;
  if (c == '/') return 63;
  return -1;
}

Bytes DecodeBase64(std::string_view text, const std::string& where) {
  Bytes out;
  out.reserve(text.size() / 4 * 3);
  std::uint32_t bits = 0;
  int held = 0;
  bool padding = false;
  for (char c : text) {
    if (std::isspace(static_cast<unsigned char>(c))) continue;
    if (c == '=') {
      padding = true;
      continue;
    }
    const int value = Base64Value(c);
    if (value < 0 || padding) throw LevelError(where + ": layer data is not valid base64");
    bits = (bits << 6) | static_cast<std::uint32_t>(value);
    held += 6;
    if (held >= 8) {
      held -= 8;
      out.push_back(static_cast<std::uint8_t>(bits >> held));
    }
  }
  return out;
}

// Inflates zlib (or gzip) data into at most `limit` bytes, so a small input cannot make a
// large allocation.
Bytes Inflate(const Bytes& in, bool gzip, size_t limit, const std::string& where) {
  z_stream stream{};
  if (inflateInit2(&stream, gzip ? 15 + 16 : 15) != Z_OK) {
    throw LevelError(where + ": cannot start zlib");
  }
  const auto end = [](z_stream* s) { inflateEnd(s); };
  std::unique_ptr<z_stream, decltype(end)> guard(&stream, end);
  Bytes out(limit + 1);
  stream.next_in = const_cast<Bytef*>(in.data());
  stream.avail_in = static_cast<uInt>(in.size());
  stream.next_out = out.data();
  stream.avail_out = static_cast<uInt>(out.size());
  const int result = inflate(&stream, Z_FINISH);
  if (result != Z_STREAM_END && !(result == Z_BUF_ERROR && stream.avail_out == 0)) {
    throw LevelError(where + ": layer data is not valid " + (gzip ? "gzip" : "zlib") + " (" +
                     (stream.msg != nullptr ? stream.msg : "cut short") + ")");
  }
  out.resize(out.size() - stream.avail_out);
  return out;
}

Bytes Unzstd(const Bytes& in, size_t limit, const std::string& where) {
  std::unique_ptr<ZSTD_DCtx, size_t (*)(ZSTD_DCtx*)> context(ZSTD_createDCtx(), ZSTD_freeDCtx);
  if (!context) throw LevelError(where + ": cannot start zstd");
  Bytes out(limit + 1);
  ZSTD_inBuffer input{in.data(), in.size(), 0};
  ZSTD_outBuffer output{out.data(), out.size(), 0};
  size_t result = 1;
  while (input.pos < input.size && output.pos < output.size) {
    result = ZSTD_decompressStream(context.get(), &output, &input);
    if (ZSTD_isError(result)) {
      throw LevelError(where + ": layer data is not valid zstd (" + ZSTD_getErrorName(result) +
                       ")");
    }
    if (result == 0 && input.pos == input.size) break;
  }
  if (result != 0 && output.pos < output.size) {
    throw LevelError(where + ": zstd layer data is cut short");
  }
  out.resize(output.pos);
  return out;
}

}  // namespace

std::vector<std::uint32_t> DecodeCsvGids(std::string_view text, std::int64_t count,
                                         const std::string& where) {
  std::vector<std::uint32_t> gids;
  gids.reserve(static_cast<size_t>(count));
  size_t at = 0;
  while (at < text.size()) {
    while (at < text.size() && (std::isspace(static_cast<unsigned char>(text[at])) != 0)) ++at;
    if (at == text.size()) break;
    std::uint64_t value = 0;
    const size_t start = at;
    while (at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])) != 0) {
      value = value * 10 + static_cast<std::uint64_t>(text[at] - '0');
      if (value > 0xFFFFFFFFu) throw LevelError(where + ": gid out of range in the CSV data");
      ++at;
    }
    if (at == start) throw LevelError(where + ": CSV layer data holds something other than gids");
    if (static_cast<std::int64_t>(gids.size()) == count) {
      throw LevelError(where + ": CSV layer data holds more than the " + std::to_string(count) +
                       " cells of the layer");
    }
    gids.push_back(static_cast<std::uint32_t>(value));
    while (at < text.size() && (std::isspace(static_cast<unsigned char>(text[at])) != 0)) ++at;
    if (at < text.size() && text[at] == ',') ++at;
  }
  if (static_cast<std::int64_t>(gids.size()) != count) {
    throw LevelError(where + ": CSV layer data holds " + std::to_string(gids.size()) +
                     " gids for " + std::to_string(count) + " cells");
  }
  return gids;
}

std::vector<std::uint32_t> DecodeBase64Gids(std::string_view text, const std::string& compression,
                                            std::int64_t count, const std::string& where) {
  const size_t expected = static_cast<size_t>(count) * 4;
  Bytes raw = DecodeBase64(text, where);
  if (compression == "zlib" || compression == "gzip") {
    raw = Inflate(raw, compression == "gzip", expected, where);
  } else if (compression == "zstd") {
    raw = Unzstd(raw, expected, where);
  } else if (!compression.empty()) {
    throw LevelError(where + ": unknown layer compression \"" + compression + "\"");
  }
  if (raw.size() != expected) {
    throw LevelError(where + ": layer data holds " + std::to_string(raw.size()) + " bytes for " +
                     std::to_string(count) + " cells");
  }
  std::vector<std::uint32_t> gids(static_cast<size_t>(count));
  for (size_t i = 0; i < gids.size(); ++i) {
    gids[i] = static_cast<std::uint32_t>(raw[i * 4]) |
              (static_cast<std::uint32_t>(raw[i * 4 + 1]) << 8) |
              (static_cast<std::uint32_t>(raw[i * 4 + 2]) << 16) |
              (static_cast<std::uint32_t>(raw[i * 4 + 3]) << 24);
  }
  return gids;
}

}  // namespace velko::level
