// compare-pictures EXPECTED.png GOT.png: exit 0 when the two decode to the same pixels.
// Otherwise it says how they differ and leaves EXPECTED.got.png and EXPECTED.diff.png
// next to the expected picture (exit 1); unreadable files give exit 2.
#include <cstdio>
#include <memory>

#include "GoldenPicture.h"
#include "image_loaders.h"

int main(int argc, char** argv)
{
  if (argc != 3)
  {
    std::fprintf(stderr, "usage: compare-pictures EXPECTED.png GOT.png\n");
    return 2;
  }
  std::unique_ptr<LICE_IBitmap> got(LICE::DecodePngFile(argv[2]));
  if (!got)
  {
    std::fprintf(stderr, "cannot read %s\n", argv[2]);
    return 2;
  }
  const std::string report = golden::MatchesFile(*got, argv[1]);
  if (report.empty()) return 0;
  std::fprintf(stderr, "%s: %s\n", argv[2], report.c_str());
  return 1;
}
