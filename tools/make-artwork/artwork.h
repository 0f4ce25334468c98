// The product's four pictures, drawn at any integer scale k (device pixels per panel unit)
// from the same shapes. Sizes and frame layout are the panel's (KyvBrindlowLayout.h) times k:
// background 366 x 212 (opaque), switch 47 x 42 (two 47 x 21 frames, with alpha),
// knob 78 x 5070 (65 frames of 78 x 78, with alpha), splash 225 x 90 (opaque).
#pragma once

#include <memory>
#include <string>

#include "KyvBrindlowLayout.h"
#include "bitmap.h"

namespace Artwork {

constexpr int kKnobFrames = KyvBrindlowLayout::kKnobFrames;
constexpr int kKnobSize = KyvBrindlowLayout::kKnobSize;
constexpr double kKnobSweep = 270.0;  // degrees from minimum to maximum

// Pointer angle of a knob frame in degrees, 0 at twelve o'clock, clockwise positive.
double KnobAngle(int frame);

std::unique_ptr<LICE_MemBitmap> DrawBackground(int k);
std::unique_ptr<LICE_MemBitmap> DrawSwitchStrip(int k);
std::unique_ptr<LICE_MemBitmap> DrawKnobStrip(int k);
std::unique_ptr<LICE_MemBitmap> DrawSplash(const std::string& version, int k);

}  // namespace Artwork
