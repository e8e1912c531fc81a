// Digests of the data files a demo depends on: XXH3-64, a checksum to catch a demo played on
// other data, not a seal.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace velko {

uint64_t Digest(std::span<const uint8_t> bytes);

// The digest of a file's bytes (UTF-8 path), 0 when it cannot be read.
uint64_t FileDigest(const std::string& pathUtf8);

}  // namespace velko
