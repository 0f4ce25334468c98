// The Xft.dpi resource as the X server holds it (the RESOURCE_MANAGER text that xrdb and
// desktops write) turned into the editor's platform scale.
#include <gtest/gtest.h>

#include <string>

#include "XftDpi.h"

namespace
{
double ScaleOf(const std::string& resources) { return ScaleForXResources(resources.data(), resources.size()); }
} // namespace

TEST(XftDpi, ValuesGiveTheirScaleAmongOtherResources)
{
  const struct
  {
    const char* resources;
    double scale;
  } cases[] = {
    {"Xft.dpi:\t96\n", 1.0},
    {"Xft.dpi:\t144\n", 1.5},
    {"Xft.dpi:\t192\n", 2.0},
    {"Xft.dpi:\t120.0\n", 1.25},
    // As a desktop's database holds it: sorted among others, blanks around the colon.
    {"*customization:\t-color\nXcursor.size:\t24\n  Xft.dpi :  144 \nXft.hinting:\t1\n", 1.5},
    // The last line without its newline; a later line of the same name wins.
    {"Xft.antialias:\t1\nXft.dpi:\t192", 2.0},
    {"Xft.dpi:\t96\nXft.dpi:\t192\n", 2.0},
  };
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(ScaleOf(c.resources), c.scale) << c.resources;
}

TEST(XftDpi, MissingMalformedOrAbsurdValuesAreUnknown)
{
  const char* const cases[] = {
    "",
    "\n\n",
    "Xcursor.size:\t24\n",
    "Xft.dpi:\n",
    "Xft.dpi:\t\n",
    "Xft.dpi\t192\n",      // no colon
    "Xft.dpix:\t192\n",    // another name
    "Xft.dpi.x:\t192\n",
    "!Xft.dpi:\t192\n",    // a comment
    "Xft.dpi:\t192dpi\n",
    "Xft.dpi:\t-192\n",
    "Xft.dpi:\t1.9.2\n",
    "Xft.dpi:\t.\n",
    "Xft.dpi:\t0x60\n",
    "Xft.dpi:\t1e3\n",
    "Xft.dpi:\tnan\n",
    "Xft.dpi:\tinf\n",
    "Xft.dpi:\t0\n",
    "Xft.dpi:\t23\n",     // below any screen's density
    "Xft.dpi:\t961\n",
    "Xft.dpi:\t99999999999999999999999999\n",
    "Xft.dpi:\t192\nXft.dpi:\tlarge\n", // the later, malformed line wins
  };
  for (const char* resources : cases) EXPECT_EQ(ScaleOf(resources), 0.0) << '"' << resources << '"';
  EXPECT_EQ(ScaleForXResources(nullptr, 10), 0.0);
}

TEST(XftDpi, ReadsOnlyTheGivenLength)
{
  // Not terminated, and the bytes past the length belong to something else.
  const char text[] = {'X', 'f', 't', '.', 'd', 'p', 'i', ':', '1', '4', '4', '0'};
  EXPECT_DOUBLE_EQ(ScaleForXResources(text, sizeof text - 1), 1.5);
  const std::string embeddedNul("Xft.dpi:\t14\0004\n", 14);
  EXPECT_EQ(ScaleOf(embeddedNul), 0.0);
}
