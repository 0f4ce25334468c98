// The mono check's measurement against the closed form of Brindlow's comb
// (lead = x, lag = g * x delayed by d frames: the mono sum (L+R)/2 has notches at
// (2k+1) / (2d) and extremes (1+g)/2 and |1-g|/2), and its parts on made-up signals.
#include "FoldDown.h"
#include "KyvBrindlowMonoCheck.h"
#include "MonoCheck.h"
#include "MonoCheckReport.h"
#include "VstPluginHost.h"
#include "PluginSettings.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <sstream>

namespace
{
struct Setting
{
  const char* program;
  const char* pan; // applied after the program
  double rate;
  double delayMs;
  double wetDb;
};

double Db(double amplitude)
{
  return 20.0 * std::log10(amplitude);
}

MonoCheckResult MeasureBrindlow(const Setting& s)
{
  VstPluginHost host;
  std::string error;
  EXPECT_TRUE(host.Load(BRINDLOW_PLUGIN, error)) << error;
  host.Prepare(s.rate, 512, 1, false);
  EXPECT_TRUE(SelectProgram(host, s.program, error)) << error;
  EXPECT_TRUE(ApplySetting(host, "Pan", s.pan, error)) << error;
  RenderOptions options;
  ImpulseResponse response;
  EXPECT_TRUE(MeasureImpulseResponse(host, s.rate, 1, options, response, error)) << error;
  return AnalyseResponse(response);
}
} // namespace

TEST(MonoCheck, BrindlowProgramsAgreeWithTheClosedFormOfTheComb)
{
  const Setting settings[] = {
    {"Vocal Doubler", "Left", 44100.0, 40.0, -4.1},
    {"Female Vocal", "Left", 44100.0, 25.1, -6.9},
    {"Background Vocals", "Right", 44100.0, 33.4, 3.0},
    {"Heavy Guitar", "Left", 48000.0, 23.6, 1.3},
    {"Drum Mix", "Right", 96000.0, 4.7, 3.3},
    {"Snare Drum", "Left", 44100.0, 1.0, 0.0}, // equal sides: the notches cancel completely
  };
  for (const Setting& s : settings) {
    SCOPED_TRACE(std::string(s.program) + " " + s.pan + " at " + std::to_string(s.rate));
    const MonoCheckResult r = MeasureBrindlow(s);
    // The delay line works in whole frames: the delay is truncated.
    const double d = std::floor(s.rate / 1000.0 * s.delayMs);
    const double g = std::pow(10.0, s.wetDb / 20.0);
    const double bin = r.sampleRate / r.fftSize;

    const double lead = std::string(s.pan) == "Left" ? r.leftMaxDb : r.rightMaxDb;
    const double lag = std::string(s.pan) == "Left" ? r.rightMinDb : r.leftMinDb;
    EXPECT_NEAR(lead, 0.0, 0.1);
    EXPECT_NEAR(lag, s.wetDb, 0.1);

    const auto expectedCount = static_cast<size_t>(std::floor((kMonoCheckTopFrequency * 2.0 * d / s.rate - 1.0) / 2.0) + 1);
    ASSERT_EQ(r.notches.size(), expectedCount);
    for (size_t k = 0; k < 5 && k < r.notches.size(); ++k) {
      EXPECT_NEAR(r.notches[k].frequency, (2.0 * k + 1.0) * s.rate / (2.0 * d), bin) << "notch " << k;
    }
    EXPECT_NEAR(r.notches.back().frequency, (2.0 * (expectedCount - 1) + 1.0) * s.rate / (2.0 * d), bin);
    EXPECT_NEAR(r.notchSpacing, s.rate / d, bin);

    // Of equal extremes the lowest in frequency is named: DC and the first notch.
    EXPECT_NEAR(r.monoPeak.frequency, 0.0, bin);
    EXPECT_NEAR(r.deepestNotch.frequency, s.rate / (2.0 * d), bin);
    EXPECT_NEAR(r.monoPeak.db, Db((1.0 + g) / 2.0), 0.1);
    if (g == 1.0) {
      EXPECT_EQ(r.deepestNotch.db, -std::numeric_limits<double>::infinity());
    } else {
      EXPECT_NEAR(r.deepestNotch.db, Db(std::fabs(1.0 - g) / 2.0), 0.1);
    }
    // The response died away inside the capture.
    EXPECT_LT(r.endEnergyDb, -100.0);
  }
}

TEST(MonoCheck, TheEditorsViewGivesTheNumbersTheCommandLinePrints)
{
  // The view takes the response from the engine instead of through a host; its notches
  // and extremes must be the measured ones.
  const Setting settings[] = {
    {"Vocal Doubler", "Left", 44100.0, 40.0, -4.1},
    {"Background Vocals", "Right", 48000.0, 33.4, 3.0},
    {"Snare Drum", "Left", 96000.0, 1.0, 0.0},
  };
  for (const Setting& s : settings) {
    SCOPED_TRACE(s.program);
    const MonoCheckResult measured = MeasureBrindlow(s);
    KyvBrindlowSetting setting;
    setting.sampleRate = s.rate;
    setting.delayMs = s.delayMs;
    setting.wetMixDb = s.wetDb;
    setting.leadingSide = std::string(s.pan) == "Right" ? 1 : 0;
    const MonoCheckResult view = KyvBrindlowMonoCheck(setting);
    ASSERT_EQ(view.notches.size(), measured.notches.size());
    for (size_t i = 0; i < view.notches.size(); i += 37)
      EXPECT_NEAR(view.notches[i].frequency, measured.notches[i].frequency, 1e-4) << i;
    EXPECT_NEAR(view.monoPeak.db, measured.monoPeak.db, 1e-6);
    if (std::isfinite(measured.deepestNotch.db))
      EXPECT_NEAR(view.deepestNotch.db, measured.deepestNotch.db, 1e-6);
    else
      EXPECT_EQ(view.deepestNotch.db, measured.deepestNotch.db);
    EXPECT_NEAR(view.leftMaxDb, measured.leftMaxDb, 1e-6);
    EXPECT_NEAR(view.rightMinDb, measured.rightMinDb, 1e-6);
  }
  // Vocal Doubler at 44.1 kHz, as its presets page says: notches from 12.5 Hz every 25 Hz,
  // the peak at -1.8 dB and the deepest notch at -14.5 dB.
  KyvBrindlowSetting doubler;
  doubler.delayMs = 40.0;
  doubler.wetMixDb = -4.1;
  const MonoCheckResult r = KyvBrindlowMonoCheck(doubler);
  ASSERT_GE(r.notches.size(), 3u);
  EXPECT_NEAR(r.notches[0].frequency, 12.5, 0.01);
  EXPECT_NEAR(r.notches[1].frequency, 37.5, 0.01);
  EXPECT_NEAR(r.notches[2].frequency, 62.5, 0.01);
  EXPECT_NEAR(r.monoPeak.db, -1.8, 0.05);
  EXPECT_NEAR(r.deepestNotch.db, -14.5, 0.05);
}

TEST(MonoCheck, RippleShallowerThanANotchIsNotReported)
{
  // A faint echo (-60 dB) makes a comb of about 0.02 dB: no notch a listener hears.
  ImpulseResponse response;
  response.left.assign(4410, 0.0);
  response.right.assign(4410, 0.0);
  response.left[0] = 1.0;
  response.right[100] = 0.001;
  const MonoCheckResult faint = AnalyseResponse(response);
  EXPECT_TRUE(faint.notches.empty());
  EXPECT_NEAR(faint.monoPeak.db, Db(1.001 / 2.0), 0.01);

  // The same echo at full level notches at 220.5 Hz and every 441 Hz after.
  response.right[100] = 1.0;
  const MonoCheckResult full = AnalyseResponse(response);
  ASSERT_EQ(full.notches.size(), 45u);
  EXPECT_NEAR(full.notches[0].frequency, 220.5, 0.01);
  EXPECT_NEAR(full.notchSpacing, 441.0, 0.01);
}

TEST(MonoCheck, TheDirectTransformGivesWhatFftwGives)
{
  // The editor's view analyses with the direct transform, the command line with FFTW: the
  // same response must give the same spectra, notches and extremes either way, for a
  // delay's few taps and for a dense response alike.
  ImpulseResponse sparse;
  sparse.sampleRate = 44100.0;
  sparse.left.assign(1765, 0.0);
  sparse.right.assign(1765, 0.0);
  sparse.left[0] = 1.0;
  sparse.right[1764] = 0.6237;
  ImpulseResponse dense;
  for (int i = 0; i < 3000; ++i) {
    dense.left.push_back(std::exp(-i / 300.0) * std::cos(0.05 * i));
    dense.right.push_back(i >= 700 ? 0.5 * dense.left[size_t(i - 700)] : 0.0);
  }
  for (const ImpulseResponse* response : {&sparse, &dense}) {
    const MonoCheckResult fftw = AnalyseResponse(*response);
    const MonoCheckResult direct = AnalyseResponse(*response, &DirectSpectrum);
    ASSERT_EQ(direct.monoDb.size(), fftw.monoDb.size());
    for (size_t k = 0; k < fftw.monoDb.size(); k += 97) ASSERT_NEAR(direct.monoDb[k], fftw.monoDb[k], 1e-6) << k;
    ASSERT_EQ(direct.notches.size(), fftw.notches.size());
    ASSERT_FALSE(fftw.notches.empty());
    for (size_t i = 0; i < fftw.notches.size(); ++i)
      ASSERT_NEAR(direct.notches[i].frequency, fftw.notches[i].frequency, 1e-4) << i;
    EXPECT_NEAR(direct.deepestNotch.db, fftw.deepestNotch.db, 1e-6);
    EXPECT_NEAR(direct.monoPeak.db, fftw.monoPeak.db, 1e-6);
  }
}

TEST(MonoCheck, SilentPlugInGivesNoNotchesAndNoNumbersThatAreNotThere)
{
  ImpulseResponse response;
  response.left.assign(1000, 0.0);
  response.right.assign(1000, 0.0);
  const MonoCheckResult r = AnalyseResponse(response);
  EXPECT_TRUE(r.notches.empty());
  EXPECT_EQ(r.monoPeak.db, -std::numeric_limits<double>::infinity());
  EXPECT_EQ(r.leftMaxDb, -std::numeric_limits<double>::infinity());
}

TEST(MonoCheck, ResponseCutWhileRingingIsFlaggedInTheReport)
{
  // A resonance that decays by only about 4 dB over the capture.
  ImpulseResponse response;
  response.lengthNote = "4410 frames";
  for (int i = 0; i < 4410; ++i) {
    response.left.push_back(std::exp(-i / 10000.0) * std::cos(0.3 * i));
    response.right.push_back(response.left.back());
  }
  const MonoCheckResult ringing = AnalyseResponse(response);
  EXPECT_GT(ringing.endEnergyDb, kRingingDb);
  std::ostringstream text;
  PrintMonoCheck(text, MonoCheckSubject{"Ringer", "(no parameters)"}, ringing, nullptr);
  EXPECT_NE(text.str().find("the plug-in was still ringing"), std::string::npos) << text.str();

  // A response that died away says nothing of the kind.
  std::fill(response.left.begin() + 100, response.left.end(), 0.0);
  std::fill(response.right.begin() + 100, response.right.end(), 0.0);
  text.str("");
  PrintMonoCheck(text, MonoCheckSubject{"Ringer", "(no parameters)"}, AnalyseResponse(response), nullptr);
  EXPECT_EQ(text.str().find("Warning:"), std::string::npos) << text.str();
}

TEST(MonoCheck, ResponseLengthFollowsTheReportedTailWithinLimits)
{
  std::string note;
  EXPECT_EQ(ResponseFrames(0, 0, 44100.0, note), 44100);  // unknown tail: one second
  EXPECT_NE(note.find("no tail length"), std::string::npos);
  EXPECT_EQ(ResponseFrames(0, 1, 48000.0, note), 48000);  // "no tail" is not trusted either
  EXPECT_EQ(ResponseFrames(64, 1000, 44100.0, note), 1064); // latency, then the tail
  EXPECT_EQ(ResponseFrames(0, 1 << 30, 44100.0, note), 441000);
  EXPECT_NE(note.find("cut"), std::string::npos);
  EXPECT_EQ(ResponseFrames(-5, 0, 44100.0, note), 44100); // a negative latency counts as none
}

TEST(FoldDown, CorrelationAndMonoLossOfKnownSignals)
{
  auto measure = [](double rightFactor, bool silentLeft) {
    FoldDownMeter meter;
    for (int i = 0; i < 1000; ++i) {
      const double x = std::sin(0.05 * i);
      const double frame[2] = {silentLeft ? 0.0 : x, rightFactor * x};
      meter.Add(frame, 1);
    }
    return meter.Result();
  };
  const FoldDownStats same = measure(1.0, false);
  EXPECT_NEAR(same.correlation, 1.0, 1e-12);
  EXPECT_NEAR(same.monoLossDb, 0.0, 1e-9);
  EXPECT_NEAR(same.leftRmsDb, Db(std::sqrt(0.5)), 0.05);

  const FoldDownStats opposite = measure(-1.0, false);
  EXPECT_NEAR(opposite.correlation, -1.0, 1e-12);
  EXPECT_GT(opposite.monoLossDb, 100.0); // the mono sum is (all but) gone

  // Half level on the right: correlation still 1, the sum loses 10*log10(1.25/1.125).
  const FoldDownStats half = measure(0.5, false);
  EXPECT_NEAR(half.correlation, 1.0, 1e-12);
  EXPECT_NEAR(half.monoLossDb, 10.0 * std::log10((1.0 + 0.25) / 2.0 / (1.5 * 1.5 / 4.0)), 1e-9);

  const FoldDownStats oneSided = measure(1.0, true);
  EXPECT_TRUE(std::isnan(oneSided.correlation));
  EXPECT_NEAR(oneSided.monoLossDb, 10.0 * std::log10(2.0), 1e-9); // half the power of one side, doubled

  const FoldDownStats silent = FoldDownMeter().Result();
  EXPECT_TRUE(std::isnan(silent.correlation));
  EXPECT_TRUE(std::isnan(silent.monoLossDb));
}
