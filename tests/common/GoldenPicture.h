#pragma once
// Comparing a picture with the expected one pixel by pixel, and leaving behind what a
// person needs to see why they differ: next to the expected file EXPECTED.png go
// EXPECTED.got.png (the picture as drawn now) and EXPECTED.diff.png (matching pixels
// faded to grey, differing ones in red, brighter the larger the difference).
#include <string>

#include "bitmap.h"

namespace golden
{
struct Difference
{
  bool sizesDiffer = false;
  int pixels = 0;       // pixels whose words differ
  int largest = 0;      // largest difference of one channel (0 ... 255)
  int firstX = -1, firstY = -1;
};

// Compares every pixel (all four channels).
Difference Compare(const LICE_IBitmap& got, const LICE_IBitmap& expected);

// Writes the got and difference pictures next to `expectedPath` and answers a message
// that says how they differ and where the pictures are. Empty when they do not differ.
std::string Report(const LICE_IBitmap& got, const LICE_IBitmap& expected, const std::string& expectedPath);

// Compares `got` with the PNG at `expectedPath`; empty on a match, else the report.
// A missing expected file is reported with where the picture got was written, so a new
// expected picture can be reviewed and committed.
std::string MatchesFile(const LICE_IBitmap& got, const std::string& expectedPath);
} // namespace golden
