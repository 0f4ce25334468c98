#pragma once

#include "MonoCheck.h"
#include "MonoCheckReport.h"

#include "bitmap.h"

#include <memory>
#include <string>

// A picture of a mono check: the magnitude responses of the left and right
// outputs and of the mono sum from 20 Hz to 20 kHz on a logarithmic axis, with
// a labelled grid, a legend, a title naming the plug-in and its settings, and
// the notches of the mono sum marked along the bottom.

constexpr int kPlotWidth = 960;
constexpr int kPlotHeight = 560;
constexpr double kPlotLowHz = 20.0;
constexpr double kPlotHighHz = 20000.0;

constexpr PixelWord kPlotBackground = 0xFFFFFFFFu;
constexpr PixelWord kLeftCurveColour = 0xFF1F77B4u;  // blue
constexpr PixelWord kRightCurveColour = 0xFFE8871Eu; // orange
constexpr PixelWord kMonoCurveColour = 0xFF202020u;  // near black
constexpr PixelWord kNotchColour = 0xFFD62728u;      // red

// Where the curves go: the plot area in pixels and the level range it shows.
struct PlotFrame
{
  int left = 0, top = 0, right = 0, bottom = 0; // inclusive pixel edges of the plot area
  double minDb = 0.0, maxDb = 0.0;

  double XOf(double frequency) const;
  double FrequencyAt(double x) const;
  double YOf(double db) const; // not clamped: levels outside the range land outside the area
};

// The plot area and a level range, in 6 dB steps, that holds the curves (at
// most 60 dB below their highest point, so complete cancellation does not
// squash the rest).
PlotFrame PlotFrameFor(const MonoCheckResult& result);

// Draws the plot into a new bitmap of kPlotWidth x kPlotHeight. Any thread (the
// text back-end serialises the use of each face).
std::unique_ptr<LICE_MemBitmap> DrawResponsePlot(const MonoCheckSubject& subject, const MonoCheckResult& result);

// Draws and writes the plot as a PNG; false with a message in `error`.
bool WriteResponsePlot(const std::string& path, const MonoCheckSubject& subject, const MonoCheckResult& result,
                       std::string& error);
