// The mono-check strip in the product's editor: the editor grows by it and keeps its
// values, the drawn response sits where the closed form of the comb puts it, and the
// meter shows what its source reads, with the low held.
#include <cmath>

#include "EditorFixture.h"
#include "IParam.h"
#include "KyvBrindlowLayout.h"
#include "KyvMonoCheckView.h"

namespace
{
namespace L = KyvBrindlowLayout;
constexpr double kPi = 3.14159265358979323846;

template <typename T>
T* Find(IGraphicsLice* editor)
{
  for (int32_t i = 0; i < editor->ControlCount(); ++i)
    if (T* found = dynamic_cast<T*>(editor->GetControl(i))) return found;
  return nullptr;
}

KyvBrindlowGraphics* Brindlow(IGraphicsLice* editor) { return static_cast<KyvBrindlowGraphics*>(editor); }

bool IsAccent(const IRgba& c) { return c.R > 170 && c.G > 70 && c.G < 160 && c.B < 110; }

// A source whose rate and readings the test sets.
struct FakeSource : IMonoCheckSource
{
  double SampleRate() const override { return rate; }
  void SetMeterActive(bool on) override { active = on; }
  CorrelationReading ReadMeter(double) const override { return reading; }
  double rate = 48000.0;
  bool active = false;
  CorrelationReading reading;
};
}  // namespace

class EditorMonoCheckTest : public EditorFixture
{
};

TEST_F(EditorMonoCheckTest, TheStripGrowsTheEditorAndTheControlsKeepTheirValues)
{
  StartAudio();
  ERect* rect = nullptr;
  Dispatch(effSetProgram, 0, 9);
  const double delay = mEditor->ParameterValue(KyvBrindlow::kDelay);
  Brindlow(mEditor)->ShowMonoCheck(true);
  EXPECT_TRUE(Brindlow(mEditor)->MonoCheckShown());
  EXPECT_EQ(mEditor->Width(), L::kPanelWidth);
  EXPECT_EQ(mEditor->Height(), L::kPanelHeight + L::kMonoStripHeight);
  Dispatch(effEditGetRect, 0, 0, &rect);
  ASSERT_NE(rect, nullptr);
  EXPECT_EQ(rect->bottom - rect->top, L::kPanelHeight + L::kMonoStripHeight) << "the host hears the new size";
  ASSERT_NE(Find<KyvMonoCheckPlot>(mEditor), nullptr);
  ASSERT_NE(Find<KyvCorrelationMeter>(mEditor), nullptr);

  // The rebuilt knobs show the program's values and still return to the defaults.
  IControl* knob = nullptr;
  for (int32_t i = 0; i < mEditor->ControlCount() && !knob; ++i)
    if (mEditor->GetControl(i)->ParamIdx() == KyvBrindlow::kDelay) knob = mEditor->GetControl(i);
  ASSERT_NE(knob, nullptr);
  EXPECT_DOUBLE_EQ(knob->Value(), delay);
  const IParameter* param = mPlug->ParameterAt(KyvBrindlow::kDelay);
  EXPECT_DOUBLE_EQ(knob->DefaultValue(), param->ToNormalized(param->DefaultValue()));

  Brindlow(mEditor)->ShowMonoCheck(false);
  EXPECT_EQ(mEditor->Height(), L::kPanelHeight);
  EXPECT_EQ(Find<KyvMonoCheckPlot>(mEditor), nullptr);
  Dispatch(effEditGetRect, 0, 0, &rect);
  EXPECT_EQ(rect->bottom - rect->top, L::kPanelHeight);
}

TEST_F(EditorMonoCheckTest, TheResponseIsDrawnWhereTheCombsFormulaPutsIt)
{
  // Vocal Doubler at 44.1 kHz: the mono sum is (1 + g e^{-jwD}) / 2 with D = 1764 frames and
  // g = -4.1 dB; away from its notches the curve is a line one or two pixels thick.
  StartAudio(44100.0f);
  for (auto [index, value] : {std::pair<int, double>{KyvBrindlow::kDelay, 40.0}, {KyvBrindlow::kWetMix, -4.1}})
    mEffect->setParameter(mEffect, index, float(mPlug->ParameterAt(index)->ToNormalized(value)));
  Brindlow(mEditor)->ShowMonoCheck(true);
  PaintAll();
  const KyvMonoCheckPlot* plot = Find<KyvMonoCheckPlot>(mEditor);
  ASSERT_NE(plot, nullptr);
  EXPECT_DOUBLE_EQ(plot->Setting().sampleRate, 44100.0);
  EXPECT_NEAR(plot->Setting().delayMs, 40.0, 1e-4);
  const double g = std::pow(10.0, -4.1 / 20.0), d = 1764.0;
  const KyvMonoCheckAxes& axes = plot->Axes();
  // 20 Hz at the left edge, 20 kHz at the right, 632 Hz (the geometric middle) halfway.
  EXPECT_NEAR(axes.XForFrequency(20.0), axes.Area().left, 1e-9);
  EXPECT_NEAR(axes.XForFrequency(20000.0), axes.Area().right, 1e-9);
  EXPECT_NEAR(axes.XForFrequency(632.455532), 0.5 * (axes.Area().left + axes.Area().right), 1e-6);
  EXPECT_NEAR(axes.YForDb(KyvMonoCheckAxes::kTopDb), axes.Area().top, 1e-9);
  EXPECT_NEAR(axes.YForDb(-INFINITY), axes.Area().bottom, 1e-9);
  for (double hz : {25.0, 28.0, 44.0, 50.0, 100.0, 150.0, 200.0})
  {
    SCOPED_TRACE(hz);
    const int32_t x = int32_t(std::floor(axes.XForFrequency(hz)));
    const double f = axes.FrequencyForX(x + 0.5);
    const double power = (1.0 + g * g + 2.0 * g * std::cos(2.0 * kPi * f * d / 44100.0)) / 4.0;
    const int32_t y = int32_t(std::floor(axes.YForDb(10.0 * std::log10(power))));
    bool onCurve = false;
    for (int32_t dy = -1; dy <= 1; ++dy) onCurve |= IsAccent(mEditor->ReadPixel(x, y + dy));
    EXPECT_TRUE(onCurve) << "column " << x << ", row " << y;
    // Well above and below the line is the screen, not the curve.
    EXPECT_FALSE(IsAccent(mEditor->ReadPixel(x, y - 6)));
    EXPECT_FALSE(IsAccent(mEditor->ReadPixel(x, y + 6)));
  }
  // The numbers under it are the analysis'.
  EXPECT_NEAR(plot->Result().monoPeak.db, -1.8, 0.05);
  EXPECT_NEAR(plot->Result().deepestNotch.db, -14.5, 0.05);
  ASSERT_GE(plot->Result().notches.size(), 2u);
  EXPECT_NEAR(plot->Result().notches[1].frequency, 37.5, 0.01);
}

TEST_F(EditorMonoCheckTest, TheStripFollowsTheEditorsValuesAndTheRate)
{
  FakeSource source;
  KyvMonoCheckPlot plot(mPlug, IBounds(0, 212, L::kMonoPlotRight, 332), &source);
  plot.SetGraphics(mEditor);
  plot.IdleHook();
  EXPECT_DOUBLE_EQ(plot.Setting().sampleRate, 48000.0);
  const double before = plot.Result().notches.empty() ? 0.0 : plot.Result().notches[0].frequency;
  // A knob moved in the editor (its slot), not the parameter: the plot follows the slot.
  mEditor->SetParameterFromGUI(KyvBrindlow::kDelay, 0.0);
  plot.MarkClean();
  plot.IdleHook();
  EXPECT_TRUE(plot.IsDirty());
  const double delay = mPlug->ParameterAt(KyvBrindlow::kDelay)->FromNormalized(0.0);
  EXPECT_DOUBLE_EQ(plot.Setting().delayMs, delay);
  ASSERT_FALSE(plot.Result().notches.empty());
  EXPECT_NE(plot.Result().notches[0].frequency, before);
  // Unchanged values: nothing is analysed or painted again.
  plot.MarkClean();
  plot.IdleHook();
  EXPECT_FALSE(plot.IsDirty());
  source.rate = 96000.0;
  plot.IdleHook();
  EXPECT_DOUBLE_EQ(plot.Setting().sampleRate, 96000.0);
}

TEST_F(EditorMonoCheckTest, TheMeterShowsItsReadingAndHoldsTheLowForThreeSeconds)
{
  FakeSource source;
  KyvCorrelationMeter meter(mPlug, IBounds(L::kMonoPlotRight, 212, 366, 332), &source);
  meter.SetGraphics(mEditor);
  meter.IdleHook();
  EXPECT_FALSE(meter.Reading().valid);
  source.reading.valid = true;
  source.reading.correlation = -0.4;
  meter.MarkClean();
  meter.IdleHook();
  EXPECT_TRUE(meter.IsDirty());
  EXPECT_DOUBLE_EQ(meter.Reading().correlation, -0.4);
  source.reading.correlation = 0.9;
  const int frameRate = KyvBrindlowEditor::kFrameRate;
  for (int tick = 0; tick < 2 * frameRate; ++tick) meter.IdleHook();
  EXPECT_DOUBLE_EQ(meter.LowHeld(), -0.4);
  for (int tick = 0; tick < 2 * frameRate; ++tick) meter.IdleHook();
  EXPECT_DOUBLE_EQ(meter.LowHeld(), 0.9);
  meter.MarkClean();
  meter.IdleHook();
  EXPECT_FALSE(meter.IsDirty()) << "an unchanged reading paints nothing";
}
