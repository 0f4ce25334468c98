// make-artwork [--fast] OUTPUT_DIR [VERSION]: draws the editor's four pictures at 1x and at
// 2x and writes them as OUTPUT_DIR/kyvBrindlow.png, switch.png, knob.png and splash.png, and
// the same names with "@2x" before the extension. The files are packed as small as the
// encoder can (they are carried inside every module); --fast packs them once, for checks
// that look at the pixels only.
#include <cstdio>
#include <cstring>
#include <string>

#include "artwork.h"
#include "png_write.h"

int main(int argc, char** argv) {
  const bool fast = argc > 1 && std::strcmp(argv[1], "--fast") == 0;
  const int first = fast ? 2 : 1;
  if (argc - first < 1 || argc - first > 2) {
    std::fprintf(stderr, "usage: %s [--fast] OUTPUT_DIR [VERSION]\n", argv[0]);
    return 2;
  }
  const std::string dir = argv[first];
  const std::string version = argc > first + 1 ? argv[first + 1] : "1.03";
  const PngFile::Effort effort = fast ? PngFile::Effort::kFast : PngFile::Effort::kSmallest;
  for (const int k : {1, 2}) {
    const std::string suffix = k == 1 ? ".png" : "@" + std::to_string(k) + "x.png";
    struct Output {
      const char* name;
      std::unique_ptr<LICE_MemBitmap> bitmap;
      bool alpha;
    } outputs[] = {
        {"kyvBrindlow", Artwork::DrawBackground(k), false},
        {"switch", Artwork::DrawSwitchStrip(k), true},
        {"knob", Artwork::DrawKnobStrip(k), true},
        {"splash", Artwork::DrawSplash(version, k), false},
    };
    for (const Output& out : outputs) {
      std::string error;
      if (!PngFile::Write(dir + "/" + out.name + suffix, *out.bitmap, out.alpha, &error, effort)) {
        std::fprintf(stderr, "make-artwork: %s\n", error.c_str());
        return 1;
      }
    }
  }
  return 0;
}
