// lv2-turtle BUNDLE_DIR: writes Brindlow.lv2's Turtle files (manifest.ttl, the plug-ins'
// description, presets.ttl) from the product's own definitions. Run by the build.
#include <cstdio>
#include <string>

#include "IPlugLV2Turtle.h"
#include "KyvBrindlowLV2.h"

int main(int argc, char** argv)
{
  if (argc != 2)
  {
    std::fprintf(stderr, "usage: lv2-turtle BUNDLE_DIR\n");
    return 2;
  }
  std::string error;
  if (!WriteLV2Turtle(KyvBrindlowLV2Info(), argv[1], error))
  {
    std::fprintf(stderr, "lv2-turtle: %s\n", error.c_str());
    return 1;
  }
  return 0;
}
