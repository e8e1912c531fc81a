#include "game/demo_digest.h"

#include <vector>

#include "platform/file_system.h"

// Debian's xxhash, header-only: every build compiles the same hash.
#define XXH_INLINE_ALL
#include <xxhash.h>

namespace velko {

uint64_t Digest(std::span<const uint8_t> bytes) {
  return XXH3_64bits(bytes.data(), bytes.size());
}

uint64_t FileDigest(const std::string& pathUtf8) {
  const int file = files::OpenForReading(pathUtf8);
  if (file < 0) return 0;
  XXH3_state_t state;
  XXH3_64bits_reset(&state);
  std::vector<uint8_t> buffer(std::size_t{1} << 16);
  bool whole = true;
  for (;;) {
    const int64_t got = files::ReadSome(file, buffer.data(), buffer.size());
    if (got < 0) whole = false;
    if (got <= 0) break;
    XXH3_64bits_update(&state, buffer.data(), static_cast<std::size_t>(got));
  }
  files::Close(file);
  return whole ? XXH3_64bits_digest(&state) : 0;
}

}  // namespace velko
