#include "KyvMonoCheckView.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "IEditorDelegate.h"
#include "IGraphicsLice.h"
#include "IParam.h"
#include "KyvBrindlow.h"
#include "KyvBrindlowLayout.h"

namespace
{
namespace L = KyvBrindlowLayout;
// The header's charcoal, its inks and the panel's one accent.
const IRgba kPlate(255, 0x22, 0x26, 0x2A);
const IRgba kScreen(255, 0x16, 0x19, 0x1C);
const IRgba kGrid(255, 0x33, 0x39, 0x40);
const IRgba kZeroLine(255, 0x4A, 0x52, 0x59);
const IRgba kAccent(255, 0xE5, 0x76, 0x2B);
const IRgba kInkLight(255, 0xF3, 0xF1, 0xEC);
const IRgba kInkMuted(255, 0x9A, 0xA3, 0xAB);
const IRgba kSideCurve(255, 0x7D, 0x8A, 0x96);
const IBlend kOpaque(kBlendCopy, 1.0f);

// How many points of each column of the axes are evaluated: a comb finer than a column
// shows as the band between its extremes rather than as a sampled zig-zag.
constexpr int kPointsPerColumn = 8;
constexpr size_t kMaxNotchLabels = 4;

void FormatDb(char* out, size_t size, double db)
{
  if (!std::isfinite(db))
    std::snprintf(out, size, "-inf dB");
  else
    std::snprintf(out, size, "%.1f dB", std::fabs(db) < 0.05 ? 0.0 : db);
}

void FormatHz(char* out, size_t size, double hz)
{
  if (hz >= 1000.0)
    std::snprintf(out, size, "%.3gk", hz / 1000.0);
  else
    std::snprintf(out, size, "%.3g", hz);
}

// The lowest and highest level of a transform over each column of the axes.
std::vector<std::pair<double, double>> ColumnRanges(const KyvMonoCheckAxes& axes, const ExactTransform& transform)
{
  const IBounds& a = axes.Area();
  std::vector<std::pair<double, double>> columns;
  for (int32_t x = a.left; x < a.right; ++x)
  {
    double low = INFINITY, high = -INFINITY;
    for (int k = 0; k <= kPointsPerColumn; ++k)
    {
      const double db = transform.DbAt(axes.FrequencyForX(x + double(k) / kPointsPerColumn));
      low = std::min(low, db);
      high = std::max(high, db);
    }
    columns.emplace_back(low, high);
  }
  return columns;
}
}  // namespace

// ---------------------------------------------------------------------------
// Axes

double KyvMonoCheckAxes::XForFrequency(double hz) const
{
  const double t = std::log10(hz / kLowHz) / std::log10(kHighHz / kLowHz);
  return mArea.left + t * mArea.Width();
}

double KyvMonoCheckAxes::FrequencyForX(double x) const
{
  const double t = (x - mArea.left) / mArea.Width();
  return kLowHz * std::pow(kHighHz / kLowHz, t);
}

double KyvMonoCheckAxes::YForDb(double db) const
{
  if (!(db < kTopDb)) db = std::isnan(db) ? kBottomDb : kTopDb;
  if (db < kBottomDb) db = kBottomDb;
  return mArea.top + (kTopDb - db) / (kTopDb - kBottomDb) * mArea.Height();
}

// ---------------------------------------------------------------------------
// The plot

KyvMonoCheckPlot::KyvMonoCheckPlot(IEditorDelegate* plug, const IBounds& bounds, IMonoCheckSource* source)
  : IControl(plug, bounds),
    mSource(source),
    mAxes(IBounds(bounds.left + L::kMonoAxesLeft, bounds.top + L::kMonoAxesTop, bounds.left + L::kMonoAxesRight,
                  bounds.top + L::kMonoAxesBottom)),
    mSmall(8, &kInkMuted, "Tahoma", kTextNormal, kAlignCentre, 0),
    mNumbers(10, &kInkLight, "Tahoma", kTextBold, kAlignLeft, 0)
{
}

KyvBrindlowSetting KyvMonoCheckPlot::SettingNow() const
{
  KyvBrindlowSetting setting;
  const double rate = mSource ? mSource->SampleRate() : 0.0;
  setting.sampleRate = rate > 0.0 ? rate : 44100.0;
  // The editor's own values: what the host last set, or the user's gesture since.
  auto real = [this](int index) {
    const IParameter* param = mPlug ? mPlug->ParameterAt(index) : nullptr;
    return param && mGraphics ? param->FromNormalized(mGraphics->ParameterValue(index)) : 0.0;
  };
  setting.delayMs = real(KyvBrindlow::kDelay);
  setting.wetMixDb = real(KyvBrindlow::kWetMix);
  setting.leadingSide = real(KyvBrindlow::kPan) >= 0.5 ? KyvBrindlow::kSideRight : KyvBrindlow::kSideLeft;
  return setting;
}

void KyvMonoCheckPlot::Analyse(const KyvBrindlowSetting& setting)
{
  mSetting = setting;
  mAnalysed = true;
  const ImpulseResponse response = KyvBrindlowImpulseResponse(setting);
  mResult = AnalyseResponse(response, &DirectSpectrum, false);  // the plot draws from the exact transform
  std::vector<double> mono(response.left.size());
  for (size_t i = 0; i < mono.size(); ++i) mono[i] = 0.5 * (response.left[i] + response.right[i]);
  mMono = ColumnRanges(mAxes, ExactTransform(mono, setting.sampleRate));
  mLeft = ColumnRanges(mAxes, ExactTransform(response.left, setting.sampleRate));
  mRight = ColumnRanges(mAxes, ExactTransform(response.right, setting.sampleRate));
  MarkDirty(false);
}

void KyvMonoCheckPlot::IdleHook()
{
  const KyvBrindlowSetting now = SettingNow();
  if (!mAnalysed || now.sampleRate != mSetting.sampleRate || now.delayMs != mSetting.delayMs ||
      now.wetMixDb != mSetting.wetMixDb || now.leadingSide != mSetting.leadingSide)
    Analyse(now);
}

void KyvMonoCheckPlot::DrawCurve(IGraphicsLice* g, const std::vector<std::pair<double, double>>& columns,
                                 const IRgba& colour, float opacity)
{
  const IBlend blend(kBlendThroughAlpha, opacity);
  const int32_t left = mAxes.Area().left;
  for (size_t i = 0; i < columns.size(); ++i)
  {
    const float x = float(left + int32_t(i)) + 0.5f;
    const float top = float(mAxes.YForDb(columns[i].second)), bottom = float(mAxes.YForDb(columns[i].first));
    // Joined to the neighbour on the left, then the column's own extent.
    if (i > 0)
    {
      const float previous = float(mAxes.YForDb(0.5 * (columns[i - 1].first + columns[i - 1].second)));
      const float middle = 0.5f * (top + bottom);
      g->StrokeLine(colour, x - 1.0f, previous, x, middle, &blend, true);
    }
    if (bottom - top > 0.5f) g->StrokeLine(colour, x, top, x, bottom, &blend, true);
  }
}

bool KyvMonoCheckPlot::Paint(IGraphicsLice* g)
{
  if (!mAnalysed) Analyse(SettingNow());
  g->FillBounds(kPlate, mBounds, &kOpaque);
  const IBounds& a = mAxes.Area();
  g->FillBounds(kScreen, a, &kOpaque);

  // Grid: decades and their halves across, every 12 dB down, 0 dB brighter.
  char text[32];
  for (double hz : {50.0, 100.0, 200.0, 500.0, 1000.0, 2000.0, 5000.0, 10000.0})
  {
    const float x = float(std::floor(mAxes.XForFrequency(hz))) + 0.5f;
    g->StrokeLine(kGrid, x, float(a.top), x, float(a.bottom - 1), &kOpaque, false);
  }
  for (double hz : {20.0, 100.0, 1000.0, 10000.0, 20000.0})
  {
    const int32_t x = int32_t(std::lround(mAxes.XForFrequency(hz)));
    FormatHz(text, sizeof text, hz);
    g->RenderText(mSmall, text, IBounds(x - 14, a.bottom + 2, x + 14, a.bottom + 12));
  }
  ITextStyle right(mSmall);
  right.mAlignment = kAlignRight;
  for (double db : {6.0, 0.0, -12.0, -24.0})
  {
    const float y = float(std::floor(mAxes.YForDb(db))) + 0.5f;
    g->StrokeLine(db == 0.0 ? kZeroLine : kGrid, float(a.left), y, float(a.right - 1), y, &kOpaque, false);
    std::snprintf(text, sizeof text, db > 0.0 ? "+%.0f" : "%.0f", db);
    const int32_t yi = int32_t(y);
    g->RenderText(right, text, IBounds(mBounds.left + 2, yi - 5, a.left - 3, yi + 5));
  }

  // The sides faint behind, the mono sum over them.
  DrawCurve(g, mLeft, kSideCurve, 0.45f);
  DrawCurve(g, mRight, kSideCurve, 0.45f);
  DrawCurve(g, mMono, kAccent, 1.0f);

  // Every notch on the axes gets a tick; the first few that fit get their frequency, over
  // the axes where no grid line crosses them.
  int32_t labelsEnd = a.left - 100;
  size_t labels = 0;
  for (const SpectrumPoint& notch : mResult.notches)
  {
    if (notch.frequency < KyvMonoCheckAxes::kLowHz) continue;
    const double x = mAxes.XForFrequency(notch.frequency);
    if (x >= a.right) break;
    const float xs = float(std::floor(x)) + 0.5f;
    g->StrokeLine(kAccent, xs, float(a.bottom - 4), xs, float(a.bottom - 1), &kOpaque, false);
    FormatHz(text, sizeof text, notch.frequency);
    const int32_t xi = int32_t(x);
    if (labels < kMaxNotchLabels && xi - 12 > labelsEnd + 2 && xi + 12 <= a.right)
    {
      g->RenderText(mSmall, text, IBounds(xi - 12, mBounds.top + 2, xi + 12, a.top - 1));
      labelsEnd = xi + 12;
      ++labels;
    }
  }

  // The numbers under the axes.
  char peak[24], deepest[24], line[96];
  FormatDb(peak, sizeof peak, mResult.monoPeak.db);
  if (mResult.notches.empty())
    std::snprintf(line, sizeof line, "Mono peak %s   no notches", peak);
  else
  {
    FormatDb(deepest, sizeof deepest, mResult.deepestNotch.db);
    std::snprintf(line, sizeof line, "Mono peak %s   deepest notch %s", peak, deepest);
  }
  g->RenderText(mNumbers, line, IBounds(a.left, a.bottom + 14, a.right, a.bottom + 26));
  return true;
}

// ---------------------------------------------------------------------------
// The meter

KyvCorrelationMeter::KyvCorrelationMeter(IEditorDelegate* plug, const IBounds& bounds, IMonoCheckSource* source)
  : IControl(plug, bounds),
    mSource(source),
    mCaption(8, &kInkMuted, "Tahoma", kTextBold, kAlignCentre, 0),
    mValue(12, &kInkLight, "Tahoma", kTextBold, kAlignCentre, 0)
{
}

void KyvCorrelationMeter::IdleHook()
{
  const int32_t rate = mGraphics && mGraphics->FrameRate() > 0 ? mGraphics->FrameRate() : 30;
  const double now = double(++mTicks) / rate;
  const CorrelationReading reading = mSource ? mSource->ReadMeter(kWindowSeconds) : CorrelationReading();
  mHold.Update(now, reading.valid ? reading.correlation : NAN);
  const bool changed = reading.valid != mReading.valid || reading.correlation != mReading.correlation ||
                       reading.monoLossDb != mReading.monoLossDb;
  mReading = reading;
  if (changed) MarkDirty(false);
}

bool KyvCorrelationMeter::Paint(IGraphicsLice* g)
{
  g->FillBounds(kPlate, mBounds, &kOpaque);
  const int32_t left = mBounds.left + 8, right = mBounds.right - 8, top = mBounds.top;
  char text[32];
  g->RenderText(mCaption, "CORRELATION", IBounds(left, top + 10, right, top + 20));

  // The bar from -1 to +1: the value from the middle out, the held low as a mark.
  const IBounds bar(left, top + 24, right, top + 34);
  g->FillBounds(kScreen, bar, &kOpaque);
  const int32_t middle = (bar.left + bar.right) / 2;
  auto xFor = [&](double c) { return bar.left + int32_t(std::lround((c + 1.0) * 0.5 * (bar.Width() - 1))); };
  if (mReading.valid)
  {
    const int32_t x = xFor(mReading.correlation);
    g->FillBounds(kAccent, IBounds(std::min(x, middle), bar.top + 2, std::max(x, middle) + 1, bar.bottom - 2), &kOpaque);
    const float low = float(xFor(mHold.Value())) + 0.5f;
    g->StrokeLine(kInkLight, low, float(bar.top), low, float(bar.bottom - 1), &kOpaque, false);
  }
  g->StrokeLine(kZeroLine, float(middle) + 0.5f, float(bar.top), float(middle) + 0.5f, float(bar.bottom - 1), &kOpaque,
                false);
  ITextStyle ends(mCaption);
  ends.mStyle = kTextNormal;
  ends.mAlignment = kAlignLeft;
  g->RenderText(ends, "-1", IBounds(bar.left, bar.bottom + 1, bar.left + 20, bar.bottom + 10));
  ends.mAlignment = kAlignRight;
  g->RenderText(ends, "+1", IBounds(bar.right - 20, bar.bottom + 1, bar.right, bar.bottom + 10));
  if (mReading.valid)
    std::snprintf(text, sizeof text, "%+.2f", mReading.correlation);
  else
    std::snprintf(text, sizeof text, "--");
  g->RenderText(mValue, text, IBounds(left, top + 44, right, top + 58));

  g->RenderText(mCaption, "MONO LOSS", IBounds(left, top + 70, right, top + 80));
  if (mReading.valid)
    FormatDb(text, sizeof text, mReading.monoLossDb);
  else
    std::snprintf(text, sizeof text, "--");
  g->RenderText(mValue, text, IBounds(left, top + 84, right, top + 98));
  return true;
}
