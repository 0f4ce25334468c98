// brindlow-render --mono-check and --plot run as a program.
#include "MonoCheck.h"
#include "VstPluginHost.h"
#include "PluginSettings.h"
#include "RenderTestSupport.h"
#include "ResponsePlot.h"
#include "lice.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <regex>

namespace
{
constexpr int kFloatWav = SF_FORMAT_WAV | SF_FORMAT_FLOAT;

// The number after "key": in the tool's JSON report (NaN when absent or null).
double JsonValue(const std::string& json, const std::string& key)
{
  std::smatch m;
  if (!std::regex_search(json, m, std::regex("\"" + key + "\": (-?[0-9.eE+-]+)"))) return std::nan("");
  return std::stod(m[1]);
}

// Near-black curves and the grey band they make where the comb is dense.
PixelWord Dark(PixelWord p)
{
  const bool dark = LICE::Red(p) < 0xB0 && std::abs(LICE::Red(p) - LICE::Blue(p)) < 16;
  return dark ? kMonoCurveColour : p;
}

int Distance(PixelWord a, PixelWord b)
{
  return std::abs(LICE::Red(a) - LICE::Red(b)) + std::abs(LICE::Green(a) - LICE::Green(b)) +
         std::abs(LICE::Blue(a) - LICE::Blue(b));
}

// Share of plot columns in which a pixel within `rows` of a curve's level has about its colour.
template <typename Level>
double CurveCoverage(const LICE_IBitmap& image, const PlotFrame& f, Level level, PixelWord colour, int rows,
                     bool anyDark = false)
{
  int hits = 0;
  for (int x = f.left + 2; x <= f.right - 2; ++x) {
    const int y = static_cast<int>(std::lround(std::clamp(f.YOf(level(f.FrequencyAt(x))), double(f.top), double(f.bottom))));
    bool hit = false;
    for (int dy = -rows; dy <= rows; ++dy) {
      const PixelWord p = LICE::FetchPixel(&image, x, y + dy);
      hit = hit || Distance(anyDark ? Dark(p) : p, colour) < 60;
    }
    hits += hit;
  }
  return static_cast<double>(hits) / (f.right - f.left - 3);
}
} // namespace

TEST(MonoCheckTool, RenderedFileGetsCorrelationAndMonoLossOfItsSamples)
{
  // A 1 kHz tone through "Vocal Doubler" (lag 1764 frames at -4.1 dB): the sides
  // correlate as cos(2 pi f d), and the sum keeps (1 + g^2 + 2g cos) / (2 (1 + g^2)) of the power.
  const std::string dir = MakeTestDir();
  const double rate = 44100.0, f = 1000.0, d = 1764.0, g = GainFromDecibels(-4.1);
  std::vector<double> tone(static_cast<size_t>(rate * 4));
  for (size_t i = 0; i < tone.size(); ++i) tone[i] = 0.5 * std::sin(2.0 * M_PI * f * static_cast<double>(i) / rate);
  WriteAudio(dir + "/tone.wav", kFloatWav, 44100, 1, tone);

  const ToolResult plain = RunTool({"--program", "Vocal Doubler", dir + "/tone.wav", dir + "/plain.wav"});
  ASSERT_EQ(plain.exitCode, 0) << plain.err;
  const ToolResult r = RunTool({"--program", "Vocal Doubler", "--mono-check=json", dir + "/tone.wav", dir + "/wide.wav"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  // The check does not change the render.
  EXPECT_EQ(ReadAudio(dir + "/wide.wav").samples, ReadAudio(dir + "/plain.wav").samples);

  const double c = std::cos(2.0 * M_PI * f * d / rate);
  // The first d frames of the lagging side are silent: a share d / n of the sums is missing.
  const double slack = 2.0 * d / static_cast<double>(tone.size());
  EXPECT_NEAR(JsonValue(r.out, "correlation"), c, slack);
  const double kept = (1.0 + g * g + 2.0 * g * c) / (2.0 * (1.0 + g * g));
  EXPECT_NEAR(JsonValue(r.out, "mono_loss_db"), -10.0 * std::log10(kept), 0.1);
  EXPECT_NEAR(JsonValue(r.out, "notch_count"), 800.0, 0.0);
  EXPECT_NEAR(JsonValue(r.out, "notch_spacing_hz"), 25.0, 0.01);

  // The readable form says the same in words.
  const ToolResult text = RunTool({"--program", "1", "--mono-check", "--quiet", dir + "/tone.wav", dir + "/wide2.wav"});
  ASSERT_EQ(text.exitCode, 0) << text.err;
  for (const char* label : {"Mono sum peak:", "Mono sum deepest notch:", "Notches below 20 kHz:   800",
                            "First notches:          12.50 37.50 62.50 87.50 112.50 Hz", "L/R correlation:",
                            "Mono sum loss:", "\"Vocal Doubler\": Delay 40.000 ms, Pan Left, Wet Mix -4.1 dB"})
    EXPECT_NE(text.out.find(label), std::string::npos) << label << "\n" << text.out;
}

TEST(MonoCheckTool, PlotShowsTheThreeCurvesAndTheNotches)
{
  const std::string dir = MakeTestDir();
  const ToolResult r = RunTool({"--mono-check", "--program", "Vocal Doubler", "--plot", dir + "/plot.png"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  std::unique_ptr<LICE_IBitmap> image(LICE::DecodePngFile((dir + "/plot.png").c_str()));
  ASSERT_TRUE(image);
  ASSERT_EQ(image->Width(), kPlotWidth);
  ASSERT_EQ(image->Height(), kPlotHeight);

  // Where the curves must be: the same measurement in this process.
  VstPluginHost host;
  std::string error;
  ASSERT_TRUE(host.Load(BRINDLOW_PLUGIN, error)) << error;
  host.Prepare(44100.0, 512, 1, false);
  ASSERT_TRUE(SelectProgram(host, "Vocal Doubler", error));
  ImpulseResponse response;
  ASSERT_TRUE(MeasureImpulseResponse(host, 44100.0, 1, RenderOptions(), response, error)) << error;
  const MonoCheckResult result = AnalyseResponse(response);
  const PlotFrame f = PlotFrameFor(result);

  const auto flat = [](double db) { return [db](double) { return db; }; };
  EXPECT_GT(CurveCoverage(*image, f, flat(0.0), kLeftCurveColour, 1), 0.95);
  EXPECT_GT(CurveCoverage(*image, f, flat(-4.1), kRightCurveColour, 1), 0.45); // dashed
  // The mono sum follows its measured level: a curve where the comb is wide, a
  // band from notch to peak where it is dense.
  const auto mono = [&](double hz) {
    return result.monoDb[static_cast<size_t>(std::lround(hz * result.fftSize / result.sampleRate))];
  };
  EXPECT_GT(CurveCoverage(*image, f, mono, kMonoCurveColour, 2, true), 0.95);
  // Each notch is marked on the axis.
  int marked = 0, notchesShown = 0;
  for (const SpectrumPoint& n : result.notches) {
    if (n.frequency < kPlotLowHz) continue;
    const int x = static_cast<int>(std::lround(f.XOf(n.frequency)));
    if (x >= f.right) continue; // under the frame
    ++notchesShown;
    marked += Distance(LICE::FetchPixel(image.get(), x, f.bottom - 3), kNotchColour) < 90;
  }
  EXPECT_EQ(marked, notchesShown);
  // Away from the curves the plot is background.
  EXPECT_EQ(LICE::FetchPixel(image.get(), f.left + 5, static_cast<int>(f.YOf(f.maxDb - 1.0))) & 0xFFFFFFu,
            kPlotBackground & 0xFFFFFFu);
}

TEST(MonoCheckTool, MeaninglessCombinationsAreRefused)
{
  const std::string dir = MakeTestDir();
  WriteAudio(dir + "/in.wav", kFloatWav, 44100, 1, Impulse(100, 0));
  const std::vector<std::vector<std::string>> usage = {
    {"--plot", dir + "/p.png", dir + "/in.wav", dir + "/out.wav"},
    {"--plot", dir + "/p.png"},
    {"--mono-check", "--info"},
    {"--mono-check", "--editor-snapshot", dir + "/e.png"},
    {"--mono-check=xml"},
    {"--mono-check", "--rate", "48000", dir + "/in.wav", dir + "/out.wav"},
    {"--mono-check", "--rate", "100"},
    {"--mono-check", dir + "/in.wav"},
    {"--mono-check", "--plot", dir + "/out.wav", dir + "/in.wav", dir + "/out.wav"},
  };
  for (const auto& args : usage) {
    const ToolResult r = RunTool(args);
    EXPECT_EQ(r.exitCode, 2) << args[0] << " " << args[1] << "\n" << r.err;
    EXPECT_TRUE(r.out.empty()) << r.out;
  }
  // A plot that cannot be written is a failure, said plainly, after the report.
  const ToolResult r = RunTool({"--mono-check", "--plot", dir + "/no/such/dir/p.png"});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("cannot write the plot"), std::string::npos) << r.err;
}

TEST(MonoCheckTool, PlugInWithoutACombHasNoNotches)
{
  // The fake plug-in passes input 0 to the left only: the mono sum is the left at -6 dB, flat.
  const ToolResult r = RunTool({"--plugin", FAKE_PLUGIN, "--mono-check=json", "--rate", "48000"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(JsonValue(r.out, "notch_count"), 0.0);
  EXPECT_NE(r.out.find("\"deepest_notch\": null"), std::string::npos) << r.out;
  EXPECT_NEAR(JsonValue(r.out, "sample_rate"), 48000.0, 0.0);
  EXPECT_NEAR(JsonValue(r.out, "db"), -6.02, 0.01); // the mono peak, first "db" of the report
}
