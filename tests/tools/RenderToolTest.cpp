#include "RenderTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <random>

namespace
{
constexpr int kFloatWav = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
constexpr int kDoubleWav = SF_FORMAT_WAV | SF_FORMAT_DOUBLE;

// Checks that `channel` of the output is `source` delayed by `delay` frames and
// scaled by `gain` (rounded to float as the 32-bit path does, unless exact).
void ExpectDelayed(const AudioData& out, int channel, const std::vector<double>& source, size_t delay, double gain,
                   bool doublePath = false)
{
  ASSERT_EQ(out.Frames(), source.size());
  for (size_t i = 0; i < source.size(); ++i) {
    const double delayed = i >= delay ? source[i - delay] * gain : 0.0;
    const double expected = doublePath ? delayed : static_cast<double>(static_cast<float>(delayed));
    ASSERT_EQ(out.At(i, channel), expected) << "frame " << i;
  }
}

void ExpectSame(const AudioData& out, int channel, const std::vector<double>& source)
{
  ExpectDelayed(out, channel, source, 0, 1.0, true);
}

std::vector<double> RandomFloats(size_t n, unsigned seed)
{
  std::mt19937 rng(seed);
  std::uniform_real_distribution<float> dist(-0.5f, 0.5f);
  std::vector<double> v(n);
  for (double& x : v) x = dist(rng);
  return v;
}
} // namespace

TEST(RenderTool, DefaultSettingsDelayTheImpulseByTwentyMilliseconds)
{
  const std::string dir = MakeTestDir();
  const std::vector<double> in = Impulse(3000, 100);
  WriteAudio(dir + "/in.wav", kFloatWav, 44100, 1, in);
  const ToolResult r = RunTool({dir + "/in.wav", dir + "/out.wav"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const AudioData out = ReadAudio(dir + "/out.wav");
  EXPECT_EQ(out.channels, 2);
  EXPECT_EQ(out.sampleRate, 44100);
  EXPECT_EQ(out.format, kFloatWav);
  ExpectSame(out, 0, in);
  ExpectDelayed(out, 1, in, 882, 1.0);
}

TEST(RenderTool, ProgramByNameAndByNumberAgree)
{
  const std::string dir = MakeTestDir();
  const std::vector<double> in = Impulse(4000, 7);
  WriteAudio(dir + "/in.wav", kFloatWav, 44100, 1, in);
  ASSERT_EQ(RunTool({"--program", "Vocal Doubler", dir + "/in.wav", dir + "/byname.wav"}).exitCode, 0);
  ASSERT_EQ(RunTool({"--program", "1", dir + "/in.wav", dir + "/bynumber.wav"}).exitCode, 0);
  const AudioData byName = ReadAudio(dir + "/byname.wav");
  // "Vocal Doubler": 40 ms (1764 frames at 44.1 kHz) at -4.1 dB.
  ExpectSame(byName, 0, in);
  ExpectDelayed(byName, 1, in, 1764, GainFromDecibels(-4.1));
  EXPECT_EQ(ReadAudio(dir + "/bynumber.wav").samples, byName.samples);

  ASSERT_EQ(RunTool({"--program", "snare drum", dir + "/in.wav", dir + "/snare.wav"}).exitCode, 0);
  ExpectDelayed(ReadAudio(dir + "/snare.wav"), 1, in, 44, 1.0); // 1 ms: 44.1 frames truncated
}

TEST(RenderTool, SettingsInTheParametersOwnUnits)
{
  const std::string dir = MakeTestDir();
  const std::vector<double> in = Impulse(2000, 0, 0.5);
  WriteAudio(dir + "/in.wav", kFloatWav, 48000, 1, in);
  const ToolResult r = RunTool({"--set", "Delay=12.5", "--set", "Wet Mix=-3", dir + "/in.wav", dir + "/out.wav"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const AudioData out = ReadAudio(dir + "/out.wav");
  ExpectSame(out, 0, in);
  ExpectDelayed(out, 1, in, 600, GainFromDecibels(-3.0));

  // --set comes after --program and overrides it.
  ASSERT_EQ(RunTool({"--program", "Vocal Doubler", "--set", "Delay=1", dir + "/in.wav", dir + "/out2.wav"}).exitCode, 0);
  ExpectDelayed(ReadAudio(dir + "/out2.wav"), 1, in, 48, GainFromDecibels(-4.1));
}

TEST(RenderTool, PanRightLeadsWithTheRightInputOfAStereoFile)
{
  const std::string dir = MakeTestDir();
  const std::vector<double> left = Impulse(2000, 10, 0.25), right = Impulse(2000, 50, 0.5);
  std::vector<double> stereo;
  for (size_t i = 0; i < left.size(); ++i) {
    stereo.push_back(left[i]);
    stereo.push_back(right[i]);
  }
  WriteAudio(dir + "/in.wav", kFloatWav, 44100, 2, stereo);
  const ToolResult r = RunTool({"--set", "Pan=Right", dir + "/in.wav", dir + "/out.wav"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const AudioData out = ReadAudio(dir + "/out.wav");
  ExpectSame(out, 1, right);
  ExpectDelayed(out, 0, right, 882, 1.0); // the left input is not heard at all

  ASSERT_EQ(RunTool({dir + "/in.wav", dir + "/left.wav"}).exitCode, 0);
  const AudioData leftLead = ReadAudio(dir + "/left.wav");
  ExpectSame(leftLead, 0, left);
  ExpectDelayed(leftLead, 1, left, 882, 1.0);
}

TEST(RenderTool, MonoInputFeedsBothSidesWhicheverSideLeads)
{
  const std::string dir = MakeTestDir();
  const std::vector<double> in = Impulse(2000, 3);
  WriteAudio(dir + "/in.wav", kFloatWav, 44100, 1, in);
  const ToolResult r = RunTool({"--set", "pan=right", dir + "/in.wav", dir + "/out.wav"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const AudioData out = ReadAudio(dir + "/out.wav");
  ExpectSame(out, 1, in);
  ExpectDelayed(out, 0, in, 882, 1.0);
}

TEST(RenderTool, DoublePathKeepsEveryBit)
{
  const std::string dir = MakeTestDir();
  std::mt19937 rng(5);
  std::uniform_real_distribution<double> dist(-0.9, 0.9);
  std::vector<double> in(5000);
  for (double& x : in) x = dist(rng);
  WriteAudio(dir + "/in.wav", kDoubleWav, 44100, 1, in);
  const ToolResult r = RunTool({"--double", "--program", "Vocal Doubler", dir + "/in.wav", dir + "/out.wav"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const AudioData out = ReadAudio(dir + "/out.wav");
  EXPECT_EQ(out.format, kDoubleWav);
  ExpectSame(out, 0, in);
  ExpectDelayed(out, 1, in, 1764, GainFromDecibels(-4.1), true);
}

TEST(RenderTool, BlockSizeDoesNotChangeTheSamples)
{
  const std::string dir = MakeTestDir();
  const std::vector<double> in = RandomFloats(6000, 11);
  WriteAudio(dir + "/in.wav", kFloatWav, 44100, 1, in);
  ASSERT_EQ(RunTool({"--set", "Delay=3.3", dir + "/in.wav", dir + "/ref.wav"}).exitCode, 0);
  const AudioData ref = ReadAudio(dir + "/ref.wav");
  ExpectDelayed(ref, 1, in, 145, 1.0);
  for (const char* block : {"1", "37", "4096"}) {
    ASSERT_EQ(RunTool({"--block", block, "--set", "Delay=3.3", dir + "/in.wav", dir + "/b.wav"}).exitCode, 0);
    EXPECT_EQ(ReadAudio(dir + "/b.wav").samples, ref.samples) << "block " << block;
  }
  ASSERT_EQ(RunTool({"--double", "--block", "37", "--set", "Delay=3.3", dir + "/in.wav", dir + "/d.wav"}).exitCode, 0);
  EXPECT_EQ(ReadAudio(dir + "/d.wav").samples, ref.samples);
}

TEST(RenderTool, TailRendersTheDelayedEndIntoSilence)
{
  const std::string dir = MakeTestDir();
  const std::vector<double> in = Impulse(1000, 999);
  WriteAudio(dir + "/in.wav", kFloatWav, 44100, 1, in);
  ASSERT_EQ(RunTool({"--tail", "0.05", dir + "/in.wav", dir + "/out.wav"}).exitCode, 0);
  const AudioData out = ReadAudio(dir + "/out.wav");
  ASSERT_EQ(out.Frames(), 1000u + 2205u);
  std::vector<double> padded = in;
  padded.resize(out.Frames(), 0.0);
  ExpectSame(out, 0, padded);
  ExpectDelayed(out, 1, padded, 882, 1.0);
}

TEST(RenderTool, SampleFormatFollowsTheInputAndContainerTheExtension)
{
  const std::string dir = MakeTestDir();
  std::vector<double> in = RandomFloats(3000, 3);
  // Full scale both ways, and the smallest steps: a 16-bit input comes back bit for bit.
  const double extremes[] = {-1.0, 32767.0 / 32768.0, 1.0 / 32768.0, -1.0 / 32768.0, 16384.0 / 32768.0};
  std::copy(std::begin(extremes), std::end(extremes), in.begin() + 10);
  WriteAudio(dir + "/in16.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 44100, 1, in);
  ASSERT_EQ(RunTool({dir + "/in16.wav", dir + "/out.flac"}).exitCode, 0);
  EXPECT_EQ(ReadAudio(dir + "/out.flac").format, SF_FORMAT_FLAC | SF_FORMAT_PCM_16);
  ASSERT_EQ(RunTool({dir + "/in16.wav", dir + "/out.AIFF"}).exitCode, 0);
  EXPECT_EQ(ReadAudio(dir + "/out.AIFF").format, SF_FORMAT_AIFF | SF_FORMAT_PCM_16);
  ASSERT_EQ(RunTool({"--float", dir + "/in16.wav", dir + "/out.wav"}).exitCode, 0);
  EXPECT_EQ(ReadAudio(dir + "/out.wav").format, kFloatWav);

  // 16-bit in and out: the leading side is the input sample for sample.
  ASSERT_EQ(RunTool({dir + "/in16.wav", dir + "/out16.wav"}).exitCode, 0);
  const AudioData in16 = ReadAudio(dir + "/in16.wav"), out16 = ReadAudio(dir + "/out16.wav");
  EXPECT_EQ(out16.format, SF_FORMAT_WAV | SF_FORMAT_PCM_16);
  ExpectSame(out16, 0, in16.samples);

  // A float input cannot stay float in FLAC: 24-bit, with a note.
  WriteAudio(dir + "/inf.wav", kFloatWav, 44100, 1, in);
  const ToolResult r = RunTool({dir + "/inf.wav", dir + "/f.flac"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_NE(r.err.find("24-bit"), std::string::npos) << r.err;
  EXPECT_EQ(ReadAudio(dir + "/f.flac").format, SF_FORMAT_FLAC | SF_FORMAT_PCM_24);
}

TEST(RenderTool, ClippingInIntegerOutputIsReported)
{
  const std::string dir = MakeTestDir();
  WriteAudio(dir + "/in.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 44100, 1, std::vector<double>(3000, 0.9));
  const ToolResult r = RunTool({"--set", "Wet Mix=10", dir + "/in.wav", dir + "/out.wav"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_NE(r.err.find("clipped"), std::string::npos) << r.err;
  const AudioData out = ReadAudio(dir + "/out.wav");
  EXPECT_GT(out.At(2999, 1), 0.99); // clipped at full scale, not wrapped around to negative
}

TEST(RenderTool, InfoShowsWhatAHostSees)
{
  const ToolResult r = RunTool({"--info"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  for (const char* expected :
       {"Name:       Brindlow-Mono/Stereo Delay", "Vendor:     Ardelnu", "Version:    10300", "0x6B797668 'kyvh'",
        "2 inputs, 2 outputs", "32-bit and 64-bit", "Category:   effect", "0  Delay", "1.000 to 40.000 ms",
        "default: 20.000 ms", "1  Pan", "Left | Right", "default: Left", "2  Wet Mix", "-10.0 to 10.0 dB",
        "default: 0 dB", "Programs (17):", "0  RESET to defaults", "1  Vocal Doubler", "12  Basic Stereo",
        "16  User 4"})
    EXPECT_NE(r.out.find(expected), std::string::npos) << "missing: " << expected << "\n" << r.out;
}

TEST(RenderTool, AnotherPluginIsDrivenThroughItsDisplays)
{
  // The fake plug-in converts no text itself: values are found by searching its displays.
  const std::string dir = MakeTestDir();
  const std::vector<double> left = RandomFloats(1000, 1), right = RandomFloats(1000, 2);
  std::vector<double> stereo;
  for (size_t i = 0; i < left.size(); ++i) {
    stereo.push_back(left[i]);
    stereo.push_back(right[i]);
  }
  WriteAudio(dir + "/in.wav", kDoubleWav, 44100, 2, stereo);
  const ToolResult r = RunTool({"--plugin", FAKE_PLUGIN, "--float", "--set", "Level=6", "--set", "Side=B",
                                dir + "/in.wav", dir + "/out.wav"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const AudioData out = ReadAudio(dir + "/out.wav");
  const double gain = std::pow(10.0, 6.0 / 20.0);
  for (size_t i = 0; i < left.size(); ++i) {
    // The display shows two decimals of dB: the value is found within 0.005 dB.
    ASSERT_NEAR(out.At(i, 0), left[i] * gain, std::fabs(left[i]) * gain * 6e-4 + 1e-7) << i;
    ASSERT_EQ(out.At(i, 1), static_cast<double>(static_cast<float>(right[i]))) << i; // Side B multiplies by 1
  }

  const ToolResult c = RunTool({"--plugin", FAKE_PLUGIN, "--set", "Side=c", dir + "/in.wav", dir + "/c.wav"});
  ASSERT_EQ(c.exitCode, 0) << c.err;
  EXPECT_EQ(ReadAudio(dir + "/c.wav").At(5, 1), static_cast<double>(static_cast<float>(2.0 * right[5])));

  const ToolResult info = RunTool({"--plugin", FAKE_PLUGIN, "--info"});
  ASSERT_EQ(info.exitCode, 0) << info.err;
  for (const char* expected : {"Fake Level", "Test Bench", "'fake'", "-10.00 to 10.00 dB", "A | B | C", "0  Flat", "1  Loud"})
    EXPECT_NE(info.out.find(expected), std::string::npos) << "missing: " << expected << "\n" << info.out;

  EXPECT_EQ(RunTool({"--plugin", FAKE_PLUGIN, "--program", "Loud", dir + "/in.wav", dir + "/p.wav"}).exitCode, 0);
}
