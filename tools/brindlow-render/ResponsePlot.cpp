#include "ResponsePlot.h"

#include "lice.h"
#include "png_write.h"
#include "text_freetype.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

namespace
{
constexpr int kMarginLeft = 70, kMarginRight = 28, kMarginTop = 112, kMarginBottom = 58;
constexpr double kDbStep = 6.0;
constexpr double kMaxRangeDb = 60.0;
constexpr double kMinRangeDb = 24.0;
constexpr int kNotchRugHeight = 8;
constexpr int kMarkerSpacing = 14;
constexpr float kBandOpacity = 0.6f;
constexpr int kDash = 6; // pixels of a dash and of the gap after it // notches closer together than this are only shown in the rug

constexpr PixelWord kTitleColour = 0xFF1A1A1Au;
constexpr PixelWord kLabelColour = 0xFF505050u;
constexpr PixelWord kMinorGridColour = 0xFFEDEDEDu;
constexpr PixelWord kMajorGridColour = 0xFFCFCFCFu;
constexpr PixelWord kZeroDbColour = 0xFF9A9A9Au;
constexpr PixelWord kFrameColour = 0xFF606060u;
constexpr const char* kFace = "DejaVu Sans";

FreeTypeText::Canvas CanvasOf(LICE_IBitmap& bitmap)
{
  FreeTypeText::Canvas canvas;
  canvas.pixels = bitmap.PixelData();
  canvas.width = bitmap.Width();
  canvas.height = bitmap.Height();
  canvas.rowPixels = bitmap.RowStride();
  return canvas;
}

struct Writer
{
  LICE_IBitmap& bitmap;

  void Text(int left, int top, int right, int size, int style, int alignment, PixelWord colour,
            const std::string& text) const
  {
    FreeTypeText::Font font;
    font.face = kFace;
    font.size = size;
    font.style = style;
    FreeTypeText::Placement place;
    place.left = left;
    place.top = top;
    place.right = right;
    place.bottom = top + size;
    place.alignment = alignment;
    FreeTypeText::Draw(CanvasOf(bitmap), font, place, colour, text.c_str());
  }

  int Width(int size, int style, const std::string& text) const
  {
    FreeTypeText::Font font;
    font.face = kFace;
    font.size = size;
    font.style = style;
    int width = 0;
    FreeTypeText::Measure(font, text.c_str(), &width, nullptr);
    return width;
  }

  void Line(int x1, int y1, int x2, int y2, PixelWord colour, float opacity = 1.0f) const
  {
    LICE::DrawLineSegment(&bitmap, x1, y1, x2, y2, colour, opacity, LICE::kOpCopy, true);
  }

  void Fill(int x, int y, int w, int h, PixelWord colour, float opacity = 1.0f) const
  {
    LICE::FillArea(&bitmap, x, y, w, h, colour, opacity, LICE::kOpCopy);
  }
};

std::string FrequencyLabel(double hz)
{
  char text[16];
  if (hz >= 1000.0)
    std::snprintf(text, sizeof(text), "%gk", hz / 1000.0);
  else
    std::snprintf(text, sizeof(text), "%g", hz);
  return text;
}

std::string DbText(double db)
{
  if (std::isinf(db)) return db < 0 ? "-inf dB" : "inf dB";
  char text[24];
  std::snprintf(text, sizeof(text), "%.1f dB", db);
  return text;
}

void DrawGrid(const Writer& w, const PlotFrame& f)
{
  // Every 1-2-...-9 step of each decade; the labelled ones stronger.
  for (double decade = 10.0; decade <= kPlotHighHz; decade *= 10.0) {
    for (int m = 1; m <= 9; ++m) {
      const double hz = decade * m;
      if (hz < kPlotLowHz || hz > kPlotHighHz) continue;
      const bool labelled = m == 1 || m == 2 || m == 5;
      const int x = static_cast<int>(std::lround(f.XOf(hz)));
      w.Line(x, f.top, x, f.bottom, labelled ? kMajorGridColour : kMinorGridColour);
      if (labelled) w.Text(x - 30, f.bottom + 8, x + 30, 12, 0, FreeTypeText::kAlignCentre, kLabelColour, FrequencyLabel(hz));
    }
  }
  for (double db = f.minDb; db <= f.maxDb + 1e-9; db += kDbStep) {
    const int y = static_cast<int>(std::lround(f.YOf(db)));
    w.Line(f.left, y, f.right, y, std::fabs(db) < 1e-9 ? kZeroDbColour : kMajorGridColour);
    char label[16];
    std::snprintf(label, sizeof(label), "%+.0f", db);
    w.Text(f.left - 48, y - 7, f.left - 8, 12, 0, FreeTypeText::kAlignRight, kLabelColour,
           std::fabs(db) < 1e-9 ? "0" : label);
  }
  w.Text(f.left - 48, f.top - 20, f.left - 8, 12, 1, FreeTypeText::kAlignRight, kLabelColour, "dB");
  w.Text(f.left, f.bottom + 30, f.right, 13, 1, FreeTypeText::kAlignCentre, kLabelColour, "Frequency (Hz)");
}

// Level of a curve at a fractional bin, straight between the two bins around it.
double LevelAt(const std::vector<double>& db, double bin)
{
  const double clamped = std::clamp(bin, 0.0, static_cast<double>(db.size() - 1));
  const auto k = static_cast<size_t>(clamped);
  if (k + 1 >= db.size()) return db.back();
  const double t = clamped - static_cast<double>(k);
  return db[k] + (db[k + 1] - db[k]) * t;
}

// True when a curve that moved by `before` moves back by `after`; rounding
// noise on a flat curve is no turn.
bool Turns(double before, double after)
{
  constexpr double kNoiseDb = 1e-6;
  return (before > kNoiseDb && after < -kNoiseDb) || (before < -kNoiseDb && after > kNoiseDb);
}

struct CurveStyle
{
  PixelWord colour;
  bool dashed;                            // drawn in dashes, so a curve under it still shows
  const std::vector<SpectrumPoint>* dips; // notches whose measured depth the curve reaches, or null
};

// One curve, column by column: where a column covers several bins it spans
// their lowest and highest level (a dense comb becomes a band), otherwise the
// level is interpolated; neighbouring columns are joined by antialiased lines.
// A notch lies between bins, deeper than either: its column reaches its depth.
void DrawCurve(const Writer& w, const PlotFrame& f, const MonoCheckResult& r, const std::vector<double>& db,
               const CurveStyle& style)
{
  const double binsPerHz = static_cast<double>(r.fftSize) / r.sampleRate;
  auto y = [&](double level) {
    return static_cast<int>(std::lround(std::clamp(f.YOf(level), double(f.top), double(f.bottom))));
  };
  std::vector<double> dipDb(static_cast<size_t>(f.right + 1), std::numeric_limits<double>::infinity());
  if (style.dips) {
    for (const SpectrumPoint& dip : *style.dips) {
      const long x = std::lround(f.XOf(dip.frequency));
      if (x >= f.left && x <= f.right) dipDb[static_cast<size_t>(x)] = std::min(dipDb[static_cast<size_t>(x)], dip.db);
    }
  }
  const PixelWord colour = style.colour;
  int lastY = 0;
  bool lastBand = false;
  for (int x = f.left; x <= f.right; ++x) {
    const double fromBin = f.FrequencyAt(x - 0.5) * binsPerHz, toBin = f.FrequencyAt(x + 0.5) * binsPerHz;
    const auto first = static_cast<size_t>(std::ceil(fromBin));
    const size_t last = std::min(static_cast<size_t>(std::floor(toBin)), db.size() - 1);
    int entryY, exitY, lowY, highY;
    bool band = false;
    if (first <= last) {
      // The curve turns back in this column, or right at its edge: a dense comb.
      for (size_t k = std::max<size_t>(first, 2) - 1; k <= last && k + 1 < db.size(); ++k)
        band = band || Turns(db[k] - db[k - 1], db[k + 1] - db[k]);
      double lo = db[first], hi = db[first];
      for (size_t k = first; k <= last; ++k) {
        lo = std::min(lo, db[k]);
        hi = std::max(hi, db[k]);
      }
      entryY = y(db[first]);
      exitY = y(db[last]);
      lowY = y(lo);
      highY = y(hi);
    } else {
      entryY = exitY = lowY = highY = y(LevelAt(db, f.FrequencyAt(x) * binsPerHz));
    }
    lowY = std::max(lowY, y(dipDb[static_cast<size_t>(x)]));
    const bool gap = style.dashed && (x - f.left) / kDash % 2 == 1;
    // Joined by a line drawn twice, a pixel apart, for a stroke of about two
    // pixels; within a band the spans themselves are the picture.
    if (x > f.left && !(band && lastBand) && !gap) {
      w.Line(x - 1, lastY, x, entryY, colour);
      w.Line(x - 1, lastY + 1, x, entryY + 1, colour, 0.5f);
    }
    // A band is lighter, so the other curves stand out against it.
    if (highY != lowY && !gap) w.Line(x, highY, x, lowY, colour, band ? kBandOpacity : 1.0f);
    lastY = exitY;
    lastBand = band;
  }
}

void DrawNotches(const Writer& w, const PlotFrame& f, const MonoCheckResult& r)
{
  double lastMarkerX = -1e9, previousX = -1e9;
  for (size_t i = 0; i < r.notches.size(); ++i) {
    const double hz = r.notches[i].frequency;
    if (hz < kPlotLowHz || hz > kPlotHighHz) continue;
    const double xf = f.XOf(hz);
    const int x = static_cast<int>(std::lround(xf));
    w.Line(x, f.bottom - kNotchRugHeight, x, f.bottom - 1, kNotchColour, 0.85f);
    // A ring on the curve while the notches stand apart on the axis.
    const double nextX = i + 1 < r.notches.size() ? f.XOf(r.notches[i + 1].frequency) : 1e9;
    if (xf - previousX >= kMarkerSpacing && nextX - xf >= kMarkerSpacing && xf - lastMarkerX >= kMarkerSpacing) {
      const double level = std::isinf(r.notches[i].db) ? f.minDb : r.notches[i].db;
      const double yf = std::clamp(f.YOf(level), double(f.top), double(f.bottom - kNotchRugHeight - 5));
      LICE::DrawCircleOutline(&w.bitmap, static_cast<float>(xf), static_cast<float>(yf), 4.0f, kNotchColour, 1.0f,
                              LICE::kOpCopy, true);
      lastMarkerX = xf;
    }
    previousX = xf;
  }
}

// One row of entries between the title lines and the plot, clear of the curves.
void DrawLegend(const Writer& w, const PlotFrame& f)
{
  struct Entry
  {
    const char* text;
    PixelWord colour;
    bool rug;
    bool dashed;
  } entries[] = {
    {"Left output", kLeftCurveColour, false, false},
    {"Right output", kRightCurveColour, false, true},
    {"Mono sum (L+R)/2", kMonoCurveColour, false, false},
    {"Notches of the mono sum", kNotchColour, true, false},
  };
  int x = f.left;
  const int y = f.top - 22;
  for (const Entry& e : entries) {
    if (e.rug) {
      for (int dx = 0; dx < 24; dx += 4) w.Line(x + dx, y + 2, x + dx, y + 10, e.colour, 0.85f);
    } else {
      for (int dx = 0; dx < 24; dx += e.dashed ? 2 * kDash : 24) {
        const int end = x + std::min(dx + (e.dashed ? kDash - 1 : 23), 23);
        w.Line(x + dx, y + 6, end, y + 6, e.colour);
        w.Line(x + dx, y + 7, end, y + 7, e.colour, 0.5f);
      }
    }
    w.Text(x + 30, y, x + 400, 12, 0, FreeTypeText::kAlignLeft, kTitleColour, e.text);
    x += 30 + w.Width(12, 0, e.text) + 28;
  }
}

std::string Summary(const MonoCheckResult& r)
{
  std::string text = "Mono sum: peak " + DbText(r.monoPeak.db);
  if (r.notches.empty()) return text + ", no notches below 20 kHz";
  char rest[160];
  std::snprintf(rest, sizeof(rest), ", deepest notch %s; %zu notch%s below 20 kHz, first at %.1f Hz", DbText(r.deepestNotch.db).c_str(),
                r.notches.size(), r.notches.size() == 1 ? "" : "es", r.notches.front().frequency);
  text += rest;
  if (r.notches.size() >= 2) {
    std::snprintf(rest, sizeof(rest), ", every %.1f Hz", r.notchSpacing);
    text += rest;
  }
  return text;
}
} // namespace

double PlotFrame::XOf(double frequency) const
{
  const double t = std::log10(frequency / kPlotLowHz) / std::log10(kPlotHighHz / kPlotLowHz);
  return left + t * (right - left);
}

double PlotFrame::FrequencyAt(double x) const
{
  const double t = (x - left) / (right - left);
  return kPlotLowHz * std::pow(kPlotHighHz / kPlotLowHz, t);
}

double PlotFrame::YOf(double db) const
{
  return top + (maxDb - db) / (maxDb - minDb) * (bottom - top);
}

PlotFrame PlotFrameFor(const MonoCheckResult& result)
{
  PlotFrame f;
  f.left = kMarginLeft;
  f.top = kMarginTop;
  f.right = kPlotWidth - 1 - kMarginRight;
  f.bottom = kPlotHeight - 1 - kMarginBottom;
  double lowest = 0.0, highest = 0.0;
  for (double level : {result.leftMinDb, result.rightMinDb, result.deepestNotch.db}) {
    if (std::isfinite(level)) lowest = std::min(lowest, level);
  }
  for (double level : {result.leftMaxDb, result.rightMaxDb, result.monoPeak.db}) {
    if (std::isfinite(level)) highest = std::max(highest, level);
  }
  f.maxDb = kDbStep * std::ceil((highest + 1.0) / kDbStep);
  f.minDb = kDbStep * std::floor((lowest - 1.0) / kDbStep);
  f.minDb = std::clamp(f.minDb, f.maxDb - kMaxRangeDb, f.maxDb - kMinRangeDb);
  // Complete cancellation has no level of its own: show the full range below the curves.
  if (!result.notches.empty() && std::isinf(result.deepestNotch.db)) f.minDb = f.maxDb - kMaxRangeDb;
  return f;
}

std::unique_ptr<LICE_MemBitmap> DrawResponsePlot(const MonoCheckSubject& subject, const MonoCheckResult& result)
{
  auto bitmap = std::make_unique<LICE_MemBitmap>(kPlotWidth, kPlotHeight);
  const Writer w{*bitmap};
  const PlotFrame f = PlotFrameFor(result);
  w.Fill(0, 0, kPlotWidth, kPlotHeight, kPlotBackground);

  char rate[48];
  std::snprintf(rate, sizeof(rate), "   |   %.0f Hz", result.sampleRate);
  w.Text(f.left, 14, f.right, 19, 1, FreeTypeText::kAlignLeft, kTitleColour, subject.plugin + ": mono fold-down");
  w.Text(f.left, 42, f.right, 13, 0, FreeTypeText::kAlignLeft, kLabelColour, subject.settings + rate);
  w.Text(f.left, 62, f.right, 13, 0, FreeTypeText::kAlignLeft, kLabelColour, Summary(result));

  DrawGrid(w, f);
  DrawCurve(w, f, result, result.monoDb, {kMonoCurveColour, false, &result.notches});
  DrawCurve(w, f, result, result.leftDb, {kLeftCurveColour, false, nullptr});
  DrawCurve(w, f, result, result.rightDb, {kRightCurveColour, true, nullptr});
  DrawNotches(w, f, result);

  w.Line(f.left, f.top, f.right, f.top, kFrameColour);
  w.Line(f.left, f.bottom, f.right, f.bottom, kFrameColour);
  w.Line(f.left, f.top, f.left, f.bottom, kFrameColour);
  w.Line(f.right, f.top, f.right, f.bottom, kFrameColour);
  DrawLegend(w, f);
  return bitmap;
}

bool WriteResponsePlot(const std::string& path, const MonoCheckSubject& subject, const MonoCheckResult& result,
                       std::string& error)
{
  const std::unique_ptr<LICE_MemBitmap> bitmap = DrawResponsePlot(subject, result);
  return PngFile::Write(path, *bitmap, false, &error);
}
