#include "data/picture_package.h"

namespace velko {

// Placeholder until packages are read.
int32_t LoadPackageSprite(Operations&, int32_t, const std::string&, int32_t) {
  return 0;
}
int32_t PaintPackageOnSprite(Operations&, int32_t, const std::string&) {
  return 0;
}

}  // namespace velko
