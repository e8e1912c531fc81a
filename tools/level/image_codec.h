// Reads the pictures tilesets name (PNG through libpng, BMP through the game's own reader) and
// writes PNG, bounding every size a header gives before anything is allocated.
#pragma once

#include <cstdint>
#include <string>

#include "level/level_files.h"
#include "level/picture.h"

namespace velko::level {

// Refused: any side over maxSide or more than maxPixels pixels, said in the error with the
// limit named. `name` is the file, for the messages.
RgbaPicture DecodeImage(const Bytes& bytes, const std::string& name, std::int64_t maxSide,
                        std::int64_t maxPixels);

// An 8-bit RGB PNG of the picture.
Bytes EncodePngRgb(const RgbPicture& picture);

}  // namespace velko::level
