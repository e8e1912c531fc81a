// Picture packages (".bpb"): a width, a height and one colour triple per pixel, column by
// column, each byte the component with its top bit inverted.
#pragma once

#include <cstdint>
#include <string>

#include "services/operations.h"

namespace velko {

// 0 when the file cannot be opened or its picture made; `refusal`, when given, then says why
// a picture was not made (in English, for standard error).
int32_t LoadPackageSprite(Operations& operations, int32_t number, const std::string& fileName,
                          int32_t alternative, std::string* refusal = nullptr);
int32_t PaintPackageOnSprite(Operations& operations, int32_t number, const std::string& fileName);

}  // namespace velko
