// Writes a bitmap as an 8-bit PNG with libpng: RGB (alpha dropped) or RGBA. Shared by the
// artwork generator and brindlow-render's pictures (editor snapshot, response plot).
#pragma once

#include <string>

#include "bitmap.h"

namespace PngFile {

// kFast: one encoding with libpng's row filters (snapshots, test output). kSmallest: several
// encodings, the smallest file kept (the artwork carried inside every module); the pixels
// are the same either way.
enum class Effort { kFast, kSmallest };

// Answers false (with a message in *error) when the file cannot be written.
bool Write(const std::string& path, const LICE_IBitmap& bitmap, bool withAlpha,
           std::string* error, Effort effort = Effort::kFast);

}  // namespace PngFile
