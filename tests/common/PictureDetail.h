// Telling a picture drawn at 2x from a 1x picture enlarged: rectangles of pictures as
// plain pixels, their 2 x 2 shrink and 2x enlargements, and the measure of detail that
// the artwork's and the editor's tests share.
#pragma once

#include <array>
#include <string>
#include <vector>

class LICE_IBitmap;

namespace picture_detail
{
// A rectangle of a picture, four channels per pixel (red, green, blue, alpha).
struct Region
{
  int width = 0, height = 0;
  std::vector<std::array<int, 4>> pixels;
  const std::array<int, 4>& At(int x, int y) const { return pixels[size_t(y) * width + x]; }
};

Region Crop(const LICE_IBitmap* bitmap, int x0, int y0, int width, int height);
// Each 2 x 2 block averaged into one pixel.
Region Shrink(const Region& r);
// A 1x picture enlarged to 2x, each pixel repeated (nearest) or interpolated (bilinear).
Region Enlarge(const Region& r, bool bilinear);
double MeanDifference(const Region& a, const Region& b);
// A picture drawn at 2x keeps its edges one device pixel wide: twice as many steps along
// every edge as at 1x, each as high, so about twice the squared steps between neighbours
// (an interpolated enlargement spreads each step over two pixels and has about as many as
// the 1x picture), and some of its edges fall inside the 2 x 2 blocks (a repeated-pixel
// enlargement has none there; edges on the panel's unit grid fall across them). |why|
// gets the figures.
bool DrawnAt2x(const Region& twoX, const Region& oneX, std::string* why);
} // namespace picture_detail
