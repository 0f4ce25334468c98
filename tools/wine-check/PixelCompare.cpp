#include <cstdio>
#include <memory>

#include "EditorChecks.h"
#include "image_loaders.h"
#include "lice.h"

namespace {

struct Label
{
  const char* name;
  int left, top, right, bottom;
};

// The product editor's text controls: the scale under and over each knob, the version line.
constexpr Label kLabels[] = {
    {"Delay 1ms/40ms", 38, 147, 152, 160}, {"Delay 20ms", 56, 52, 134, 65},
    {"Wet Mix -10dB/+10dB", 215, 147, 329, 160}, {"Wet Mix 0dB", 233, 52, 311, 65},
    {"version", 56, 196, 312, 209},
};
// The knobs and the switch, which reach into the labels under the knobs.
constexpr Label kControls[] = {
    {"Delay knob", 56, 73, 134, 151}, {"Wet Mix knob", 233, 73, 311, 151}, {"Pan switch", 159, 96, 206, 117}};
// Glyphs may reach a little past their rectangle (text is drawn without clipping).
constexpr int kOverhang = 3;

bool InsideALabel(int x, int y)
{
  for (const Label& l : kLabels)
    if (x >= l.left - kOverhang && x < l.right + kOverhang && y >= l.top - kOverhang && y < l.bottom + kOverhang)
      return true;
  return false;
}

bool OnAControl(int x, int y)
{
  for (const Label& c : kControls)
    if (x >= c.left && x < c.right && y >= c.top && y < c.bottom) return true;
  return false;
}

// The commonest colour along the label's border rows: the backdrop behind its text.
std::uint32_t BackdropOf(const std::vector<std::uint32_t>& pixels, int width, const Label& l)
{
  std::vector<std::pair<std::uint32_t, int>> counts;
  for (int x = l.left; x < l.right; ++x)
    for (int y : {l.top - kOverhang - 1, l.bottom + kOverhang})
    {
      if (OnAControl(x, y)) continue;
      const std::uint32_t p = pixels[size_t(y) * width + x];
      bool found = false;
      for (auto& c : counts)
        if (c.first == p) found = ++c.second;
      if (!found) counts.push_back({p, 1});
    }
  std::pair<std::uint32_t, int> best{0, 0};
  for (const auto& c : counts)
    if (c.second > best.second) best = c;
  return best.first;
}

// Text darkens its label: a pixel well away from the backdrop in any channel.
bool FarFrom(std::uint32_t a, std::uint32_t b)
{
  for (int shift = 0; shift < 24; shift += 8)
  {
    const int d = int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF);
    if (d > 48 || d < -48) return true;
  }
  return false;
}

}  // namespace

bool LoadReference(const char* path, int width, int height, std::vector<std::uint32_t>& pixels)
{
  std::unique_ptr<LICE_IBitmap> image(LICE::DecodePngFile(path));
  if (!image || image->Width() != width || image->Height() != height) return false;
  pixels.clear();
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) pixels.push_back(image->PixelData()[size_t(y) * image->RowStride() + x] & 0xFFFFFFu);
  return true;
}

PixelComparison CompareOutsideLabels(const std::vector<std::uint32_t>& shown,
                                     const std::vector<std::uint32_t>& reference, int width, int height)
{
  PixelComparison result;
  if (shown.size() != size_t(width) * height || reference.size() != shown.size())
  {
    result.differing = width * height;
    return result;
  }
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
    {
      const size_t i = size_t(y) * width + x;
      if (InsideALabel(x, y) || shown[i] == reference[i]) continue;
      if (result.differing++ == 0)
      {
        char text[96];
        std::snprintf(text, sizeof text, ", first at (%d, %d): %06X vs %06X", x, y, unsigned(shown[i]),
                      unsigned(reference[i]));
        result.firstDifference = text;
      }
    }
  for (const Label& l : kLabels)
  {
    const std::uint32_t backdrop = BackdropOf(shown, width, l);
    int textPixels = 0;
    for (int y = l.top; y < l.bottom; ++y)
      for (int x = l.left; x < l.right; ++x)
        if (!OnAControl(x, y) && FarFrom(shown[size_t(y) * width + x], backdrop)) ++textPixels;
    if (textPixels < 10) result.labelsWithoutText += std::string(result.labelsWithoutText.empty() ? ": " : ", ") + l.name;
  }
  return result;
}
