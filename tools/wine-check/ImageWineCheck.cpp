// Checks the raster library's Windows-only paths to its decoders under Wine: PNG and
// JPEG images read from the program's own resource section, and the same images read
// from files whose names need more than the system code page (UTF-8 names opened as
// UTF-16). Each decode is compared with the reference dump of the test images
// (tests/lice_image/images); the dumps travel as resources too.
//
// Exits 0 when every check passes, 1 otherwise. Run under Wine by tools/test-windows.sh.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "image_loaders.h"
#include "lice.h"
#include "resources.h"

namespace {

// The test images carried as resources (tools/wine-check/CMakeLists.txt): the image
// under its format's type, its reference dump under the same id as "RGBA" or "RGB".
struct TestImage
{
  enum Format { kPng, kJpeg };
  const char* name;
  int id;
  Format format;
  int width, height;
  int channels;   // in the reference dump
  int tolerance;  // per channel: the reference JPEG decoder may choose another IDCT
};

constexpr TestImage kImages[] = {
    {"rgba8", 1, TestImage::kPng, 13, 9, 4, 0},
    {"palette4_trns_interlaced", 2, TestImage::kPng, 13, 9, 4, 0},
    {"rgb16", 3, TestImage::kPng, 13, 9, 4, 0},
    {"color", 11, TestImage::kJpeg, 24, 17, 3, 1},
    {"progressive", 12, TestImage::kJpeg, 24, 17, 3, 1},
    {"gray", 13, TestImage::kJpeg, 24, 17, 3, 1},
};

int gFailures = 0;

void Check(bool ok, const std::string& what)
{
  std::printf("%s: %s\n", ok ? "ok  " : "FAIL", what.c_str());
  if (!ok) ++gFailures;
}

using Bitmap = std::unique_ptr<LICE_IBitmap>;

struct Resource
{
  const unsigned char* bytes = nullptr;
  size_t size = 0;
};

Resource ModuleResource(int id, const char* type)
{
  Resource r;
  if (!LICE_FindModuleResource(GetModuleHandleW(nullptr), id, type, &r.bytes, &r.size)) r = Resource();
  return r;
}

PixelWord PixelAt(const LICE_IBitmap& bm, int x, int y)
{
  const int row = bm.IsBottomUp() ? bm.Height() - 1 - y : y;
  return bm.PixelData()[x + static_cast<ptrdiff_t>(row) * bm.RowStride()];
}

// Compares with a dump of `channels` bytes per pixel (R, G, B[, A]; opaque without A),
// each channel within `tolerance`. Describes the first difference in `why`.
bool MatchesDump(const LICE_IBitmap* bm, const TestImage& image, const Resource& dump, std::string& why)
{
  if (!bm) return why = "not decoded", false;
  if (bm->Width() != image.width || bm->Height() != image.height) return why = "wrong size", false;
  if (dump.size != size_t(image.width) * image.height * image.channels) return why = "reference dump missing", false;
  for (int y = 0; y < image.height; ++y)
    for (int x = 0; x < image.width; ++x)
    {
      const unsigned char* e = dump.bytes + (size_t(y) * image.width + x) * image.channels;
      const PixelWord p = PixelAt(*bm, x, y);
      const int got[4] = {int(p >> 16 & 0xFF), int(p >> 8 & 0xFF), int(p & 0xFF), int(p >> 24)};
      const int want[4] = {e[0], e[1], e[2], image.channels == 4 ? e[3] : 0xFF};
      for (int c = 0; c < 4; ++c)
        if (std::abs(got[c] - want[c]) > image.tolerance)
        {
          char text[96];
          std::snprintf(text, sizeof text, "pixel (%d,%d) is %08X", x, y, unsigned(p));
          return why = text, false;
        }
    }
  return true;
}

void CheckDecode(const TestImage& image, LICE_IBitmap* decoded, const char* how)
{
  Bitmap bm(decoded);
  std::string why;
  const bool ok = MatchesDump(bm.get(), image, ModuleResource(image.id, image.channels == 4 ? "RGBA" : "RGB"), why);
  Check(ok, std::string(image.name) + " " + how + (ok ? "" : ": " + why));
}

std::string ToUtf8(const std::wstring& wide)
{
  const int n = WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
  if (n <= 0) return std::string();
  std::string utf8(size_t(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, &utf8[0], n, nullptr, nullptr);
  utf8.resize(size_t(n) - 1);
  return utf8;
}

// Writes the image's bytes to a temporary file with a name outside any code page and
// returns the name (UTF-16), or an empty name on failure.
std::wstring WriteUnicodeNamedCopy(const TestImage& image, const Resource& data)
{
  wchar_t dir[MAX_PATH];
  if (!GetTempPathW(MAX_PATH, dir)) return std::wstring();
  std::wstring name = std::wstring(dir) + L"Brindlow \u00e4\u00f8\u00df \u6f22\u5b57 \u2713 " +
                      std::wstring(image.name, image.name + std::char_traits<char>::length(image.name)) +
                      (image.format == TestImage::kPng ? L".png" : L".jpg");
  FILE* f = _wfopen(name.c_str(), L"wb");
  if (!f) return std::wstring();
  const bool written = std::fwrite(data.bytes, 1, data.size, f) == data.size;
  std::fclose(f);
  return written ? name : std::wstring();
}

void CheckImage(const TestImage& image)
{
  const bool png = image.format == TestImage::kPng;
  HMODULE self = GetModuleHandleW(nullptr);
  CheckDecode(image, png ? LICE::DecodePngResource(self, image.id) : LICE::DecodeJpegResource(self, image.id),
              "from the resource section");

  const std::wstring wideName = WriteUnicodeNamedCopy(image, ModuleResource(image.id, png ? "PNG" : "JPG"));
  Check(!wideName.empty(), std::string(image.name) + " copied to a file with a Unicode name");
  if (wideName.empty()) return;
  const std::string name = ToUtf8(wideName);
  CheckDecode(image, png ? LICE::DecodePngFile(name.c_str()) : LICE::DecodeJpegFile(name.c_str()),
              "from a file with a Unicode name");
  DeleteFileW(wideName.c_str());
}

}  // namespace

int main()
{
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  for (const TestImage& image : kImages) CheckImage(image);

  HMODULE self = GetModuleHandleW(nullptr);
  Bitmap missing(LICE::DecodePngResource(self, 999));
  Check(!missing, "a missing PNG resource decodes to nothing");
  Bitmap wrongType(LICE::DecodeJpegResource(self, kImages[0].id));
  Check(!wrongType, "a PNG is not found as a JPEG resource");
  Bitmap noFile(LICE::DecodeJpegFile("C:\\no such folder\\\xc3\xa4.jpg"));
  Check(!noFile, "a missing file decodes to nothing");

  std::printf("%s: %d check(s) failed\n", gFailures ? "FAILED" : "PASSED", gFailures);
  return gFailures ? 1 : 0;
}
