#include "GoldenPicture.h"

#include <cstdlib>
#include <memory>
#include <sstream>

#include "image_loaders.h"
#include "lice.h"
#include "png_write.h"

namespace golden
{
namespace
{
int ChannelDelta(PixelWord a, PixelWord b)
{
  int largest = 0;
  for (int shift = 0; shift < 32; shift += 8)
  {
    const int d = std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF));
    if (d > largest) largest = d;
  }
  return largest;
}

std::string Sibling(const std::string& expectedPath, const char* suffix)
{
  const size_t dot = expectedPath.rfind('.');
  const size_t slash = expectedPath.find_last_of("/\\");
  const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
  return (hasExtension ? expectedPath.substr(0, dot) : expectedPath) + suffix;
}

// Grey for equal pixels (a quarter of their brightness, so the layout stays visible), red
// for differing ones (at least half intensity, so a difference of one shows).
void DrawDiffPicture(const LICE_IBitmap& got, const LICE_IBitmap& expected, LICE_MemBitmap& diff)
{
  const int w = got.Width() > expected.Width() ? got.Width() : expected.Width();
  const int h = got.Height() > expected.Height() ? got.Height() : expected.Height();
  diff.SetSize(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
    {
      const bool inGot = x < got.Width() && y < got.Height();
      const bool inExpected = x < expected.Width() && y < expected.Height();
      PixelWord out;
      if (!inGot || !inExpected)
        out = LICE::Rgba(0, 0, 255, 255); // outside one of the two: blue
      else
      {
        const PixelWord a = LICE::FetchPixel(&got, x, y), b = LICE::FetchPixel(&expected, x, y);
        if (a == b)
        {
          const int grey = (LICE::Red(b) + LICE::Green(b) + LICE::Blue(b)) / 12;
          out = LICE::Rgba(grey, grey, grey, 255);
        }
        else
        {
          out = LICE::Rgba(128 + ChannelDelta(a, b) / 2, 0, 0, 255);
        }
      }
      diff.PixelData()[y * diff.RowStride() + x] = out;
    }
}
} // namespace

Difference Compare(const LICE_IBitmap& got, const LICE_IBitmap& expected)
{
  Difference d;
  if (got.Width() != expected.Width() || got.Height() != expected.Height())
  {
    d.sizesDiffer = true;
    return d;
  }
  for (int y = 0; y < got.Height(); ++y)
    for (int x = 0; x < got.Width(); ++x)
    {
      const PixelWord a = LICE::FetchPixel(&got, x, y), b = LICE::FetchPixel(&expected, x, y);
      if (a == b) continue;
      if (d.pixels++ == 0)
      {
        d.firstX = x;
        d.firstY = y;
      }
      const int delta = ChannelDelta(a, b);
      if (delta > d.largest) d.largest = delta;
    }
  return d;
}

std::string Report(const LICE_IBitmap& got, const LICE_IBitmap& expected, const std::string& expectedPath)
{
  const Difference d = Compare(got, expected);
  if (!d.sizesDiffer && d.pixels == 0) return std::string();
  std::ostringstream message;
  if (d.sizesDiffer)
    message << "the picture is " << got.Width() << "x" << got.Height() << ", " << expectedPath << " is "
            << expected.Width() << "x" << expected.Height();
  else
    message << d.pixels << " pixels differ from " << expectedPath << " (first at " << d.firstX << ", " << d.firstY
            << "; largest channel difference " << d.largest << ")";
  const std::string gotPath = Sibling(expectedPath, ".got.png");
  const std::string diffPath = Sibling(expectedPath, ".diff.png");
  std::string error;
  if (PngFile::Write(gotPath, got, true, &error))
    message << "\n  got:        " << gotPath;
  else
    message << "\n  the picture got could not be written: " << error;
  LICE_MemBitmap diff;
  DrawDiffPicture(got, expected, diff);
  if (PngFile::Write(diffPath, diff, false, &error))
    message << "\n  difference: " << diffPath << " (red: differing pixels)";
  else
    message << "\n  the difference picture could not be written: " << error;
  return message.str();
}

std::string MatchesFile(const LICE_IBitmap& got, const std::string& expectedPath)
{
  std::unique_ptr<LICE_IBitmap> expected(LICE::DecodePngFile(expectedPath.c_str()));
  if (expected) return Report(got, *expected, expectedPath);
  const std::string gotPath = Sibling(expectedPath, ".got.png");
  std::string error;
  if (!PngFile::Write(gotPath, got, true, &error)) return "cannot read " + expectedPath + ", and " + error;
  return "cannot read " + expectedPath + "; the picture got is in " + gotPath;
}
} // namespace golden
