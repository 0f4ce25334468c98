// The editor's mono-check strip: what the mono fold-down (L + R) / 2 does to the current
// setting, and a live meter of the plug-in's output. Two controls that tile the strip,
// so that the meter repaints at the frame rate without the plot:
// - KyvMonoCheckPlot: the mono sum's magnitude response for Delay, Wet Mix and the sample
//   rate, 20 Hz - 20 kHz on a logarithmic axis, the left and right responses faint behind
//   it, the notches marked (the first ones with their frequency), the peak and the deepest
//   notch as numbers. Computed by the shared mono-check analysis, again whenever the
//   editor's values of those parameters or the rate change.
// - KyvCorrelationMeter: the correlation of the outputs over about 300 ms with the lowest
//   of the last 3 s held, and the mono loss in dB.
// Both read only the editor's slots and the IMonoCheckSource; GUI thread only.
#pragma once

#include "IControl.h"
#include "ITextStyle.h"
#include "KyvBrindlowMonoCheck.h"

class IMonoCheckSource;

// The plot's axes in panel units.
class KyvMonoCheckAxes
{
public:
  static constexpr double kLowHz = 20.0, kHighHz = 20000.0;
  static constexpr double kTopDb = 9.0, kBottomDb = -30.0;

  explicit KyvMonoCheckAxes(const IBounds& area) : mArea(area) {}
  const IBounds& Area() const { return mArea; }
  // Where a frequency lies across the axes (outside kLowHz ... kHighHz: beyond the ends).
  double XForFrequency(double hz) const;
  double FrequencyForX(double x) const;
  // Where a level lies, held to the axes (-inf at the bottom).
  double YForDb(double db) const;

private:
  IBounds mArea;
};

class KyvMonoCheckPlot : public IControl
{
public:
  // |bounds|: the plot part of the strip; |source|: not owned, outlives the control.
  KyvMonoCheckPlot(IEditorDelegate* plug, const IBounds& bounds, IMonoCheckSource* source);

  bool Paint(IGraphicsLice* graphics) override;
  // Each tick: a new setting (the editor's values, the source's rate) is analysed again.
  void IdleHook() override;

  const KyvMonoCheckAxes& Axes() const { return mAxes; }
  const KyvBrindlowSetting& Setting() const { return mSetting; }
  const MonoCheckResult& Result() const { return mResult; }

private:
  KyvBrindlowSetting SettingNow() const;
  void Analyse(const KyvBrindlowSetting& setting);
  void DrawCurve(IGraphicsLice* g, const std::vector<std::pair<double, double>>& columns, const IRgba& colour,
                 float opacity);

  IMonoCheckSource* mSource;
  KyvMonoCheckAxes mAxes;
  KyvBrindlowSetting mSetting;
  bool mAnalysed = false;
  MonoCheckResult mResult;
  // Per column of the axes: the lowest and highest level of each curve over the column.
  std::vector<std::pair<double, double>> mMono, mLeft, mRight;
  ITextStyle mSmall, mNumbers;
};

class KyvCorrelationMeter : public IControl
{
public:
  static constexpr double kWindowSeconds = 0.3;

  KyvCorrelationMeter(IEditorDelegate* plug, const IBounds& bounds, IMonoCheckSource* source);

  bool Paint(IGraphicsLice* graphics) override;
  // Each tick: a new reading, and the low hold moves on by one frame of the editor's rate.
  void IdleHook() override;

  const CorrelationReading& Reading() const { return mReading; }
  double LowHeld() const { return mHold.Value(); }

private:
  IMonoCheckSource* mSource;
  CorrelationReading mReading;
  CorrelationLowHold mHold;
  int64_t mTicks = 0;
  ITextStyle mCaption, mValue;
};
