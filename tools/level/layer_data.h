// The gids of a layer or chunk as Tiled stores them: CSV, or base64 of little-endian 32-bit
// values, uncompressed or compressed with zlib, gzip or zstd.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace velko::level {

// Exactly `count` gids (the count is bounded by the caller); LevelError with `where` otherwise.
std::vector<std::uint32_t> DecodeCsvGids(std::string_view text, std::int64_t count,
                                         const std::string& where);
std::vector<std::uint32_t> DecodeBase64Gids(std::string_view text, const std::string& compression,
                                            std::int64_t count, const std::string& where);

}  // namespace velko::level
