#include "game/demo_file.h"

#include <algorithm>

#include "game/demo_digest.h"
#include "platform/file_system.h"

namespace velko {
namespace {

// Record tags. A clock reading that moved by 0..191 ms is one byte.
constexpr uint8_t kLastSmallStep = 0xBF;
constexpr uint8_t kClock = 0xC0;        // then the step, zigzag varint
constexpr uint8_t kPollSame = 0xC1;     // a fresh snapshot equal to the last
constexpr uint8_t kPollFailed = 0xC2;   // the keys could not be read
constexpr uint8_t kPollChanged = 0xC3;  // then a count (0 for 256) and (code, state) pairs
constexpr uint8_t kEnd = 0xFF;
constexpr std::size_t kChunkHead = 8;  // length, checksum
constexpr std::size_t kMaxVarintBytes = 10;
constexpr std::size_t kMaxTextBytes = 4096;

void PutLe(std::vector<uint8_t>& out, uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

void PutVarint(std::vector<uint8_t>& out, uint64_t value) {
  while (value >= 0x80) {
    out.push_back(static_cast<uint8_t>(value | 0x80));
    value >>= 7;
  }
  out.push_back(static_cast<uint8_t>(value));
}

uint64_t ZigZag(int64_t value) {
  return (static_cast<uint64_t>(value) << 1) ^ static_cast<uint64_t>(value >> 63);
}

int64_t UnZigZag(uint64_t value) {
  return static_cast<int64_t>(value >> 1) ^ -static_cast<int64_t>(value & 1);
}

// Reads little-endian values off the front of a span; every read checks what is left.
class Input {
 public:
  explicit Input(std::span<const uint8_t> bytes) : bytes_(bytes) {}
  std::size_t Left() const { return bytes_.size() - at_; }
  std::size_t At() const { return at_; }
  bool Le(uint64_t& value, int bytes) {
    if (Left() < static_cast<std::size_t>(bytes)) return false;
    value = 0;
    for (int i = 0; i < bytes; ++i)
      value |= uint64_t{bytes_[at_ + static_cast<std::size_t>(i)]} << (8 * i);
    at_ += static_cast<std::size_t>(bytes);
    return true;
  }
  bool Bytes(std::size_t count, std::span<const uint8_t>& out) {
    if (Left() < count) return false;
    out = bytes_.subspan(at_, count);
    at_ += count;
    return true;
  }
  bool Varint(uint64_t& value) {
    value = 0;
    for (std::size_t i = 0; i < kMaxVarintBytes; ++i) {
      if (Left() == 0) return false;
      const uint8_t byte = bytes_[at_++];
      value |= uint64_t{byte & 0x7Fu} << (7 * i);
      if ((byte & 0x80) == 0) return true;
    }
    return false;
  }

 private:
  std::span<const uint8_t> bytes_;
  std::size_t at_ = 0;
};

uint32_t Checksum(std::span<const uint8_t> bytes) {
  return static_cast<uint32_t>(Digest(bytes));
}

std::vector<uint8_t> EncodeHeader(const DemoHeader& header) {
  std::vector<uint8_t> out(std::begin(kDemoMagic), std::end(kDemoMagic));
  PutLe(out, header.format, 2);
  const std::string version = header.gameVersion.substr(0, 255);
  out.push_back(static_cast<uint8_t>(version.size()));
  out.insert(out.end(), version.begin(), version.end());
  for (uint64_t digest : header.digests) PutLe(out, digest, 8);
  const std::string folder = header.levelFolder.substr(0, kMaxTextBytes);
  PutLe(out, folder.size(), 2);
  out.insert(out.end(), folder.begin(), folder.end());
  out.push_back(static_cast<uint8_t>(header.dialogEnd));
  PutLe(out, static_cast<uint32_t>(header.settings.windowed), 4);
  out.push_back(static_cast<uint8_t>(header.settings.colourDepth));
  out.push_back(static_cast<uint8_t>(header.settings.alternativeColours));
  PutLe(out, static_cast<uint32_t>(header.settings.force75Hz), 4);
  PutLe(out, header.randomSeed, 4);
  out.push_back(header.soundAvailable != 0 ? 1 : 0);
  PutLe(out, Checksum(out), 4);
  return out;
}

bool DecodeHeader(Input& in, DemoHeader& header, std::string& error) {
  std::span<const uint8_t> magic;
  if (!in.Bytes(sizeof kDemoMagic, magic) ||
      !std::equal(magic.begin(), magic.end(), std::begin(kDemoMagic))) {
    error = "ce n'est pas une d\xE9mo de Velko (elle ne commence pas par VELKODEM)";
    return false;
  }
  uint64_t value = 0;
  if (!in.Le(value, 2)) {
    error =
        "ab\xEEm\xE9"
        "e : son en-t\xEAte est coup\xE9";
    return false;
  }
  header.format = static_cast<uint16_t>(value);
  if (header.format == 0 || header.format > kDemoFormat) {
    error =
        "faite par un jeu plus r\xE9"
        "cent : format " +
        std::to_string(header.format) + ", ce jeu lit les formats 1 \xE0 " +
        std::to_string(kDemoFormat);
    return false;
  }
  std::span<const uint8_t> text;
  uint64_t length = 0;
  bool whole = in.Le(length, 1) && in.Bytes(length, text);
  if (whole) header.gameVersion.assign(text.begin(), text.end());
  for (uint64_t& digest : header.digests) whole = whole && in.Le(digest, 8);
  whole = whole && in.Le(length, 2) && length <= kMaxTextBytes && in.Bytes(length, text);
  if (whole) header.levelFolder.assign(text.begin(), text.end());
  uint64_t end = 0, windowed = 0, depth = 0, alternative = 0, force75 = 0, seed = 0, sound = 0;
  whole = whole && in.Le(end, 1) && in.Le(windowed, 4) && in.Le(depth, 1) &&
          in.Le(alternative, 1) && in.Le(force75, 4) && in.Le(seed, 4) && in.Le(sound, 1);
  uint64_t checksum = 0;
  if (!whole || !in.Le(checksum, 4)) {
    error =
        "ab\xEEm\xE9"
        "e : son en-t\xEAte est coup\xE9";
    return false;
  }
  if (end > static_cast<uint64_t>(DisplayModeOutcome::Closed)) {
    error =
        "ab\xEEm\xE9"
        "e : la fin du dialogue (" +
        std::to_string(end) + ") n'existe pas";
    return false;
  }
  header.dialogEnd = static_cast<DisplayModeOutcome>(end);
  header.settings.windowed = static_cast<int32_t>(static_cast<uint32_t>(windowed));
  header.settings.colourDepth = static_cast<int8_t>(depth);
  header.settings.alternativeColours = static_cast<int8_t>(alternative);
  header.settings.force75Hz = static_cast<int32_t>(static_cast<uint32_t>(force75));
  header.randomSeed = static_cast<uint32_t>(seed);
  header.soundAvailable = sound != 0 ? 1 : 0;
  return true;
}

// Checks one chunk's records: every tag known, every count and value whole, nothing after the
// end. Sets `ended` at the end record.
bool CheckRecords(std::span<const uint8_t> records, bool& ended, std::string& error) {
  Input in(records);
  while (in.Left() > 0) {
    if (ended) {
      error =
          "ab\xEEm\xE9"
          "e : elle continue apr\xE8s sa fin";
      return false;
    }
    uint64_t tag = 0;
    in.Le(tag, 1);
    if (tag <= kLastSmallStep || tag == kPollSame || tag == kPollFailed) continue;
    uint64_t value = 0;
    std::span<const uint8_t> pairs;
    if (tag == kClock) {
      if (!in.Varint(value)) {
        error =
            "ab\xEEm\xE9"
            "e : une lecture de l'horloge est coup\xE9"
            "e";
        return false;
      }
    } else if (tag == kPollChanged) {
      if (!in.Le(value, 1) || !in.Bytes((value == 0 ? 256 : value) * 2, pairs)) {
        error =
            "ab\xEEm\xE9"
            "e : une lecture des touches est coup\xE9"
            "e";
        return false;
      }
    } else if (tag == kEnd) {
      ended = true;
    } else {
      error =
          "ab\xEEm\xE9"
          "e : donn\xE9"
          "e inconnue " +
          std::to_string(tag);
      return false;
    }
  }
  return true;
}

}  // namespace

std::optional<DemoTape> ReadDemo(std::span<const uint8_t> bytes, std::string& error) {
  if (bytes.size() > kMaxDemoBytes) {
    error = "trop grande : " + std::to_string(bytes.size()) + " octets, au plus " +
            std::to_string(kMaxDemoBytes);
    return std::nullopt;
  }
  DemoTape tape;
  Input in(bytes);
  const std::size_t headerStart = in.At();
  if (!DecodeHeader(in, tape.header, error)) return std::nullopt;
  const std::size_t checksumAt = in.At() - 4;
  if (Checksum(bytes.subspan(headerStart, checksumAt - headerStart)) !=
      static_cast<uint32_t>(bytes[checksumAt] | bytes[checksumAt + 1] << 8 |
                            bytes[checksumAt + 2] << 16 |
                            static_cast<uint32_t>(bytes[checksumAt + 3]) << 24)) {
    error =
        "ab\xEEm\xE9"
        "e : son en-t\xEAte ne correspond pas \xE0 sa somme de contr\xF4le";
    return std::nullopt;
  }
  bool ended = false;
  while (in.Left() > 0) {
    uint64_t length = 0, checksum = 0;
    std::span<const uint8_t> records;
    if (!in.Le(length, 4) || !in.Le(checksum, 4) || !in.Bytes(length, records)) {
      // The last chunk was being written when the recording stopped: what came before plays.
      break;
    }
    if (Checksum(records) != checksum) {
      error =
          "ab\xEEm\xE9"
          "e : le bloc \xE0 l'octet " +
          std::to_string(in.At() - records.size() - kChunkHead) +
          " ne correspond pas \xE0 sa somme de contr\xF4le";
      return std::nullopt;
    }
    if (!CheckRecords(records, ended, error)) return std::nullopt;
    tape.records.insert(tape.records.end(), records.begin(), records.end());
  }
  tape.finished = ended;
  return tape;
}

DemoEvent DemoCursor::Next() {
  DemoEvent event;
  if (at_ >= records_.size()) return event;
  const uint8_t tag = records_[at_++];
  if (tag <= kLastSmallStep) {
    clock_ = static_cast<int32_t>(static_cast<uint32_t>(clock_) + tag);
    return {DemoEvent::Kind::Clock, clock_};
  }
  if (tag == kClock) {
    Input in(records_.subspan(at_));
    uint64_t step = 0;
    in.Varint(step);  // checked when the tape was read
    at_ += in.At();
    clock_ =
        static_cast<int32_t>(static_cast<uint32_t>(clock_) + static_cast<uint32_t>(UnZigZag(step)));
    return {DemoEvent::Kind::Clock, clock_};
  }
  if (tag == kPollSame) return {DemoEvent::Kind::Poll, 1};
  if (tag == kPollFailed) return {DemoEvent::Kind::Poll, 0};
  if (tag == kPollChanged) {
    const std::size_t count = records_[at_] == 0 ? 256 : records_[at_];
    ++at_;
    for (std::size_t i = 0; i < count; ++i, at_ += 2) keys_[records_[at_]] = records_[at_ + 1];
    return {DemoEvent::Kind::Poll, 1};
  }
  at_ = records_.size();  // the end record
  return event;
}

DemoWriter::~DemoWriter() {
  if (file_ >= 0) files::Close(file_);
}

bool DemoWriter::Open(const std::string& pathUtf8) {
  file_ = files::OpenForWriting(pathUtf8);
  return file_ >= 0;
}

void DemoWriter::Header(const DemoHeader& header) {
  if (file_ < 0 || headerWritten_) return;
  const std::vector<uint8_t> bytes = EncodeHeader(header);
  failed_ = failed_ || !files::WriteAll(file_, bytes.data(), bytes.size());
  headerWritten_ = true;
}

void DemoWriter::Clock(int32_t reading) {
  if (!headerWritten_) return;
  const int64_t step = int64_t{reading} - (haveClock_ ? lastClock_ : 0);
  if (step >= 0 && step <= kLastSmallStep) {
    chunk_.push_back(static_cast<uint8_t>(step));
  } else {
    chunk_.push_back(kClock);
    // The clock wraps at 2^32: the step that gets there modulo 2^32, the shorter way.
    PutVarint(chunk_, ZigZag(static_cast<int32_t>(static_cast<uint32_t>(step))));
  }
  if (!haveClock_) flushedAt_ = reading;
  lastClock_ = reading;
  haveClock_ = true;
  // A second of play at most is only in memory.
  if (static_cast<uint32_t>(reading - flushedAt_) >= 1000u) Flush();
}

void DemoWriter::Poll(int32_t result, const std::array<uint8_t, 256>& keys) {
  if (!headerWritten_) return;
  if (result == 0) {
    chunk_.push_back(kPollFailed);
    return;
  }
  std::vector<uint8_t> pairs;
  for (std::size_t code = 0; code < keys.size(); ++code) {
    if (keys[code] == lastKeys_[code]) continue;
    pairs.push_back(static_cast<uint8_t>(code));
    pairs.push_back(keys[code]);
  }
  lastKeys_ = keys;
  if (pairs.empty()) {
    chunk_.push_back(kPollSame);
    return;
  }
  chunk_.push_back(kPollChanged);
  chunk_.push_back(static_cast<uint8_t>(pairs.size() / 2));  // 256 changes wrap to 0
  chunk_.insert(chunk_.end(), pairs.begin(), pairs.end());
}

void DemoWriter::Flush() {
  flushedAt_ = lastClock_;
  if (file_ < 0 || chunk_.empty()) return;
  // One write a chunk: a kill between two writes leaves a whole chunk or a cut last one.
  std::vector<uint8_t> bytes;
  PutLe(bytes, chunk_.size(), 4);
  PutLe(bytes, Checksum(chunk_), 4);
  bytes.insert(bytes.end(), chunk_.begin(), chunk_.end());
  failed_ = failed_ || !files::WriteAll(file_, bytes.data(), bytes.size());
  chunk_.clear();
}

bool DemoWriter::Finish() {
  if (file_ < 0) return false;
  if (headerWritten_) {
    chunk_.push_back(kEnd);
    Flush();
  }
  const bool closed = files::Close(file_);
  file_ = -1;
  return closed && !failed_ && headerWritten_;
}

}  // namespace velko
