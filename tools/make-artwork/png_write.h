// Writes a bitmap as an 8-bit PNG with libpng: RGB (alpha dropped) or RGBA.
#pragma once

#include <string>

#include "bitmap.h"

namespace Artwork {

// Answers false (with a message in *error) when the file cannot be written.
bool WritePng(const std::string& path, const LICE_IBitmap& bitmap, bool withAlpha,
              std::string* error);

}  // namespace Artwork
