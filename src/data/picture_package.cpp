#include "data/picture_package.h"

#include <algorithm>

namespace velko {
namespace {

constexpr int32_t kFileNumber = 1;
constexpr int64_t kHeaderBytes = 4;
// A package shorter than its picture is painted up to 1024 x 1024 pixels only (4 MiB at 32
// bits, as much again once cut into tiles): a damaged header alone must not make a
// quarter-gigabyte picture and paint it for seconds. A package holding its whole picture
// loads at any size.
constexpr int64_t kMaxShortPackagePixels = int64_t{1} << 20;

// Colour value of one stored triple: each byte is the component with its top bit inverted.
// The alternative mode halves red and green and keeps blue whole.
int32_t ColourOf(int32_t a, int32_t b, int32_t c, bool alternative) {
  int32_t red = a + 128;
  int32_t green = b + 128;
  const int32_t blue = c + 128;
  if (alternative) {
    red >>= 1;
    green >>= 1;
  }
  return red + green * 256 + blue * 65536;
}

// Reads the triples of file 1 in their column order and plots those inside clipWidth x
// clipHeight. The file's reads do not see its end: past it they repeat the last byte read.
// Once the triples the file holds are used up, the stale triple is taken once and repeated
// without further reads, so a package announcing far more than it holds costs nothing more.
void PaintTriples(Operations& ops, int32_t width, int32_t height, int32_t clipWidth,
                  int32_t clipHeight, int64_t triplesInFile, bool alternative) {
  int64_t triplesRead = 0;
  bool haveStale = false;
  int32_t stale[3] = {0, 0, 0};
  const int32_t columns = std::min(width, clipWidth);
  for (int32_t x = 0; x < columns; ++x) {
    for (int32_t y = 0; y < height; ++y) {
      // Past the end and below the sprite nothing is left to read or draw in this column.
      if (haveStale && y >= clipHeight) break;
      int32_t triple[3];
      if (triplesRead < triplesInFile || !haveStale) {
        for (int32_t& value : triple) value = ops.DataFileReadInt8();
        if (triplesRead >= triplesInFile) {
          // The first read past the end: from here on every byte is the last one read.
          haveStale = true;
          stale[0] = stale[1] = stale[2] = triple[2];
        }
        ++triplesRead;
      } else {
        std::copy(std::begin(stale), std::end(stale), std::begin(triple));
      }
      if (y < clipHeight)
        ops.DrawPixel(x, y, ColourOf(triple[0], triple[1], triple[2], alternative));
    }
  }
}

int64_t TriplesInFile(Operations& ops, const std::string& fileName) {
  const int64_t size = ops.DataFileSize(fileName);
  return size > kHeaderBytes ? (size - kHeaderBytes) / 3 : 0;
}

}  // namespace

int32_t LoadPackageSprite(Operations& ops, int32_t number, const std::string& fileName,
                          int32_t alternative, std::string* refusal) {
  if (ops.DataFileOpen(kFileNumber, fileName) == 0) return 0;
  const int32_t width = static_cast<int16_t>(ops.DataFileReadInt16());
  const int32_t height = static_cast<int16_t>(ops.DataFileReadInt16());
  // A package shorter than its header is still painted, the pixels past its end taking what
  // reads past the end give: one wrong pixel rather than a black circuit. Refused: a picture
  // too large to make at all (by the sprite's creation), and a short one beyond the budget.
  const int64_t triples = TriplesInFile(ops, fileName);
  const int64_t pixels = static_cast<int64_t>(width) * height;
  if (width > 0 && height > 0 && pixels > triples && pixels > kMaxShortPackagePixels) {
    // Emptied as a refused creation would, but keeping the old size: a record left with the
    // announced size would have tiles cut from a picture of that size.
    ops.SpriteFree(number);
    ops.DataFileClose(kFileNumber);
    if (refusal != nullptr) {
      *refusal = fileName + ": holds " + std::to_string(triples) + " of the " +
                 std::to_string(width) + " x " + std::to_string(height) +
                 " pixels it announces, too many to make up";
    }
    return 0;
  }
  const SurfaceHandle sprite = ops.SpriteCreate(number, width, height, 0);
  if (sprite == 0) {
    ops.DataFileClose(kFileNumber);
    if (refusal != nullptr) {
      *refusal = fileName + ": a picture of " + std::to_string(width) + " x " +
                 std::to_string(height) + " pixels cannot be made";
    }
    return 0;
  }
  if (ops.DrawBegin(ops.SpriteDrawTarget(number)) != 0) {
    // The mode is a one-byte flag: only the low 8 bits of the argument count.
    PaintTriples(ops, width, height, width, height, triples, static_cast<int8_t>(alternative) != 0);
  }
  ops.DrawEnd();
  ops.DataFileClose(kFileNumber);
  return static_cast<int32_t>(sprite != 0);
}

int32_t PaintPackageOnSprite(Operations& ops, int32_t number, const std::string& fileName) {
  const int32_t opened = ops.DataFileOpen(kFileNumber, fileName);
  if (opened == 0) return 0;
  const int32_t width = static_cast<int16_t>(ops.DataFileReadInt16());
  const int32_t height = static_cast<int16_t>(ops.DataFileReadInt16());
  // Painted over the sprite as it is, clipped to it: a larger package leaves out what falls
  // outside, a smaller one leaves the rest of the sprite as it was.
  if (ops.DrawBegin(ops.SpriteDrawTarget(number)) != 0) {
    PaintTriples(ops, width, height, ops.SpriteGetWidth(number), ops.SpriteGetHeight(number),
                 TriplesInFile(ops, fileName), true);
  }
  ops.DrawEnd();
  ops.DataFileClose(kFileNumber);
  return opened;
}

}  // namespace velko
