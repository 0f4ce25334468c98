// make-artwork OUTPUT_DIR [VERSION]: draws the editor's four pictures and writes them as
// OUTPUT_DIR/kyvBrindlow.png, switch.png, knob.png and splash.png.
#include <cstdio>
#include <string>

#include "artwork.h"
#include "png_write.h"

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "usage: %s OUTPUT_DIR [VERSION]\n", argv[0]);
    return 2;
  }
  const std::string dir = argv[1];
  const std::string version = argc > 2 ? argv[2] : "1.03";
  struct Output {
    const char* name;
    std::unique_ptr<LICE_MemBitmap> bitmap;
    bool alpha;
  } outputs[] = {
      {"kyvBrindlow.png", Artwork::DrawBackground(), false},
      {"switch.png", Artwork::DrawSwitchStrip(), true},
      {"knob.png", Artwork::DrawKnobStrip(), true},
      {"splash.png", Artwork::DrawSplash(version), false},
  };
  for (const Output& out : outputs) {
    std::string error;
    if (!PngFile::Write(dir + "/" + out.name, *out.bitmap, out.alpha, &error)) {
      std::fprintf(stderr, "make-artwork: %s\n", error.c_str());
      return 1;
    }
  }
  return 0;
}
