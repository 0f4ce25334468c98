#include "IParam.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace
{
std::string Display(const IParameter& p, double v, bool normalized)
{
  char text[IParameter::kDisplayTextBufferSize];
  p.HostDisplayText(v, normalized, text, sizeof text);
  return text;
}

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
} // namespace

TEST(IParameter, PrecisionFollowsStep)
{
  const double steps[] = {1.0, 0.5, 0.25, 0.001, 0.1, 0.0000001, 0.01};
  const int precisions[] = {0, 1, 2, 3, 1, 6, 2};
  for (int i = 0; i < 7; ++i)
  {
    IParameter p;
    p.DefineContinuous("x", 0.0, 0.0, 10.0, steps[i], "");
    EXPECT_EQ(p.DisplayPrecision(), precisions[i]) << "step " << steps[i];
  }
}

TEST(IParameter, DelayLikeContinuousParameter)
{
  IParameter p;
  p.DefineContinuous("Delay", 20.0, 1.0, 40.0, 0.001, "ms");
  EXPECT_EQ(p.Kind(), IParameter::kTypeContinuous);
  EXPECT_STREQ(p.HostName(), "Delay");
  EXPECT_EQ(Display(p, 20.0, false), "20.000");
  EXPECT_STREQ(p.HostLabel(), "ms");

  // Continuous values are not snapped.
  p.SetFromNormalized(0.5);
  EXPECT_DOUBLE_EQ(p.Value(), 20.5);
  EXPECT_DOUBLE_EQ(p.Normalized(), 0.5);
  EXPECT_DOUBLE_EQ(p.ToNormalized(0.0), 0.0);
  EXPECT_DOUBLE_EQ(p.ToNormalized(99.0), 1.0);
  // The display path denormalises without snapping.
  EXPECT_EQ(Display(p, 0.25, true), "10.750");
}

TEST(IParameter, RangeIsAtLeastOneStepWide)
{
  IParameter p;
  p.DefineContinuous("x", 0.0, 0.0, 0.0, 1.0, "");
  double lo = -1, hi = -1;
  p.Bounds(&lo, &hi);
  EXPECT_EQ(lo, 0.0);
  EXPECT_EQ(hi, 1.0);
}

TEST(IParameter, ChoiceRoundsWhenSettingButTruncatesForDisplay)
{
  IParameter p;
  p.DefineChoice("Pan", 0, 2);
  p.AddDisplayText(0, "Left");
  p.AddDisplayText(1, "Right");
  EXPECT_EQ(p.Kind(), IParameter::kTypeChoice);
  EXPECT_EQ(p.DisplayTextCount(), 2);

  p.SetFromNormalized(0.7);
  EXPECT_EQ(p.Value(), 1.0);
  EXPECT_EQ(Display(p, 0.7, true), "Left");
  EXPECT_EQ(Display(p, 1.0, false), "Right");
  EXPECT_STREQ(p.HostLabel(), "");

  int v = -5;
  EXPECT_FALSE(p.ValueForDisplayText("right", &v));
  EXPECT_EQ(v, -5);
  EXPECT_TRUE(p.ValueForDisplayText("Right", &v));
  EXPECT_EQ(v, 1);
}

TEST(IParameter, ChoiceOfThreeRoundsHalvesUp)
{
  IParameter p;
  p.DefineChoice("c", 0, 3);
  p.SetFromNormalized(0.74);
  EXPECT_EQ(p.Value(), 1.0);
  p.SetFromNormalized(0.75);
  EXPECT_EQ(p.Value(), 2.0);
  p.SetFromNormalized(1.0);
  EXPECT_EQ(p.Value(), 2.0);
}

TEST(IParameter, FirstDisplayTextForAValueWins)
{
  IParameter p;
  p.DefineChoice("c", 0, 3);
  p.AddDisplayText(2, "Two");
  p.AddDisplayText(2, "Deux");
  EXPECT_STREQ(p.DisplayTextFor(2), "Two");
  EXPECT_STREQ(p.DisplayTextFor(1), "");
  int v = 0;
  EXPECT_TRUE(p.ValueForDisplayText("Deux", &v));
  EXPECT_EQ(v, 2);
}

TEST(IParameter, ZeroShowsAsPlainZeroAndNegationFlipsSign)
{
  IParameter wet;
  wet.DefineContinuous("Wet Mix", 0.0, -10.0, 10.0, 0.1, "dB");
  wet.SetFromNormalized(0.5);
  EXPECT_NEAR(wet.Value(), 0.0, 1e-12);
  EXPECT_EQ(Display(wet, 0.0, false), "0");
  EXPECT_EQ(Display(wet, -0.0, false), "0");
  EXPECT_DOUBLE_EQ(wet.ToNormalized(0.0), 0.5);

  IParameter count;
  count.DefineContinuous("n", 0.0, -10.0, 10.0, 1.0, "");
  count.SetNegatedDisplay(true);
  EXPECT_EQ(Display(count, 3.0, false), "-3");
  EXPECT_EQ(Display(count, 3.9, false), "-3") << "precision 0 truncates";
  count.AddDisplayText(3, "Three");
  EXPECT_EQ(Display(count, 3.0, false), "Three") << "a display text wins over the negation";
}

TEST(IParameter, HostLabelIsEmptyOnlyForValuesWithText)
{
  IParameter p;
  p.DefineContinuous("Gain", 0.0, -10.0, 10.0, 1.0, "dB");
  p.AddDisplayText(-10, "Off");
  p.SetValue(-10.0);
  EXPECT_STREQ(p.HostLabel(), "");
  p.SetValue(2.0);
  EXPECT_STREQ(p.HostLabel(), "dB");
  // For any value, whatever the current one.
  EXPECT_STREQ(p.LabelFor(-10.0), "");
  EXPECT_STREQ(p.LabelFor(-9.5), "dB");
}

TEST(IParameter, GainFromDecibels)
{
  IParameter p;
  p.DefineContinuous("g", 0.0, -40.0, 40.0, 0.1, "dB");
  EXPECT_DOUBLE_EQ(p.GainFromDecibels(), 1.0);
  p.SetValue(20.0);
  EXPECT_NEAR(p.GainFromDecibels(), 10.0, 1e-9);
  p.SetValue(-6.0);
  EXPECT_NEAR(p.GainFromDecibels(), 0.501187, 1e-6);
}

TEST(IParameter, NormalizedPositionsOutsideUnitRangeStayInRange)
{
  IParameter p;
  p.DefineContinuous("Delay", 20.0, 1.0, 40.0, 0.001, "ms");
  p.SetFromNormalized(-0.5);
  EXPECT_EQ(p.Value(), 1.0);
  p.SetFromNormalized(1.5);
  EXPECT_EQ(p.Value(), 40.0);
  p.SetFromNormalized(-kInf);
  EXPECT_EQ(p.Value(), 1.0);
  p.SetFromNormalized(kInf);
  EXPECT_EQ(p.Value(), 40.0);

  IParameter choice;
  choice.DefineChoice("c", 1, 3);
  choice.SetFromNormalized(-3.0);
  EXPECT_EQ(choice.Value(), 0.0);
}

TEST(IParameter, NaNNeverReachesTheValue)
{
  IParameter p;
  p.DefineContinuous("Delay", 20.0, 1.0, 40.0, 0.001, "ms");
  p.SetFromNormalized(kNaN);
  EXPECT_EQ(p.Value(), 20.0);
  p.SetValue(kNaN);
  EXPECT_EQ(p.Value(), 20.0);
  p.SetValue(kInf);
  EXPECT_EQ(p.Value(), 40.0);
  p.SetValue(-kInf);
  EXPECT_EQ(p.Value(), 1.0);
  p.SetValue(100.0);
  EXPECT_EQ(p.Value(), 40.0);
  EXPECT_EQ(p.ToNormalized(kNaN), 0.0);
}

TEST(IParameter, DisplayOfExtremeValuesIsBoundedAndSafe)
{
  IParameter p;
  p.DefineContinuous("x", 0.0, 0.0, 10.0, 1.0, "");
  p.AddDisplayText(0, "Zero");
  EXPECT_EQ(Display(p, 1e12, false), "1000000000000");
  EXPECT_EQ(Display(p, kNaN, false), "nan");

  IParameter fine;
  fine.DefineContinuous("y", 0.0, 0.0, 10.0, 0.000001, "");
  char small[6];
  fine.HostDisplayText(1e300, false, small, sizeof small);
  EXPECT_EQ(std::string(small), "10000");
}

TEST(IParameter, LongTextsAreCutToTheirFields)
{
  IParameter p;
  const std::string longName(60, 'n');
  p.DefineContinuous(longName.c_str(), 0.0, 0.0, 1.0, 1.0, std::string(40, 'l').c_str());
  p.AddDisplayText(0, std::string(50, 't').c_str());
  EXPECT_EQ(std::string(p.HostName()), std::string(31, 'n'));
  EXPECT_EQ(std::string(p.DisplayTextFor(0)), std::string(31, 't'));
}

// One reading of typed and host-given text serves the host, the edit box and the
// command-line tool.
TEST(IParameter, TextReadsAsTheLongestLeadingDecimal)
{
  IParameter delay;
  delay.DefineContinuous("Delay", 20.0, 1.0, 40.0, 0.001, "ms");
  double v = -1.0;
  ASSERT_TRUE(delay.ValueFromText("  12.5ms", &v));
  EXPECT_DOUBLE_EQ(v, 12.5);
  ASSERT_TRUE(delay.ValueFromText("0x1A", &v));
  EXPECT_DOUBLE_EQ(v, 0.0) << "hexadecimal is not read: the leading 0 is the number";
  ASSERT_TRUE(delay.ValueFromText("1e2x", &v));
  EXPECT_DOUBLE_EQ(v, 100.0) << "not clamped here";
  ASSERT_TRUE(delay.ValueFromText("3e+", &v));
  EXPECT_DOUBLE_EQ(v, 3.0) << "an exponent without digits is not part of the number";
  ASSERT_TRUE(delay.ValueFromText("abc", &v));
  EXPECT_DOUBLE_EQ(v, 0.0) << "no number reads as 0";
  for (const char* text : {"inf", " -Infinity", "nan", "+NaN(1)", "1e999"})
    EXPECT_FALSE(delay.ValueFromText(text, &v)) << text;
  EXPECT_FALSE(delay.ValueFromText(nullptr, &v));

  delay.SetNegatedDisplay(true);
  ASSERT_TRUE(delay.ValueFromText("-5", &v));
  EXPECT_DOUBLE_EQ(v, 5.0);

  const char* end = nullptr;
  const char* text = " -.5e1 dB";
  EXPECT_DOUBLE_EQ(IParameter::ReadLeadingDecimal(text, &end), -5.0);
  EXPECT_STREQ(end, " dB");
  text = "+.";
  EXPECT_DOUBLE_EQ(IParameter::ReadLeadingDecimal(text, &end), 0.0);
  EXPECT_EQ(end, text) << "nothing was read";
}

TEST(IParameter, TextOfAParameterWithDisplayTextsMustMatchOneExactly)
{
  IParameter pan;
  pan.DefineChoice("Pan", 0, 2);
  pan.AddDisplayText(0, "Left");
  pan.AddDisplayText(1, "Right");
  double v = -1.0;
  ASSERT_TRUE(pan.ValueFromText("Right", &v));
  EXPECT_DOUBLE_EQ(v, 1.0);
  EXPECT_FALSE(pan.ValueFromText("right", &v));
  EXPECT_FALSE(pan.ValueFromText("1", &v)) << "numbers are not among its texts";
  EXPECT_DOUBLE_EQ(v, 1.0) << "a refused text leaves the result alone";
}

TEST(IParameter, AHostsFloatStandsForTheDecimalItWasWrittenAs)
{
  // A preset or port value written as -4.1 reaches the plug-in as the float nearest it;
  // taken as the double of that float it would give a gain a few ulps away from -4.1's.
  EXPECT_EQ(IParameter::FromHostFloat(-4.1f), -4.1);
  EXPECT_EQ(IParameter::FromHostFloat(25.1f), 25.1);
  EXPECT_EQ(IParameter::FromHostFloat(0.001f), 0.001);
  EXPECT_EQ(IParameter::FromHostFloat(20.0f), 20.0);
  EXPECT_EQ(IParameter::FromHostFloat(1e-45f), 1e-45) << "the smallest subnormal";
  EXPECT_EQ(IParameter::FromHostFloat(3.4028235e38f), 3.4028235e38);
  EXPECT_TRUE(std::isnan(IParameter::FromHostFloat(std::nanf(""))));
  EXPECT_EQ(IParameter::FromHostFloat(-INFINITY), -INFINITY);
  // Every float reads back as itself: nothing is lost, only the decimal is recovered.
  for (float f : {0.1f, 1.0f / 3.0f, 12.345678f, -9.99f, 39.999f})
    EXPECT_EQ(static_cast<float>(IParameter::FromHostFloat(f)), f) << f;
}
