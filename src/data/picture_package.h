// Picture packages (".bpb"): a width, a height and one colour triple per pixel, column by
// column, each byte the component with its top bit inverted.
#pragma once

#include <cstdint>
#include <string>

#include "services/operations.h"

namespace velko {

int32_t LoadPackageSprite(Operations& operations, int32_t number, const std::string& fileName,
                          int32_t alternative);
int32_t PaintPackageOnSprite(Operations& operations, int32_t number, const std::string& fileName);

}  // namespace velko
