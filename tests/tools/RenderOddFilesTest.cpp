// Inputs a new user meets sooner or later: a header without audio, a file cut short,
// a sample rate the plug-in cannot delay at. The tool says so, and never passes them silently.
#include "RenderTestSupport.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <regex>

namespace
{
bool Exists(const std::string& path)
{
  struct stat st;
  return stat(path.c_str(), &st) == 0;
}

off_t SizeOf(const std::string& path)
{
  struct stat st;
  return stat(path.c_str(), &st) == 0 ? st.st_size : -1;
}

std::vector<double> Ramp(size_t frames)
{
  std::vector<double> s(frames);
  for (size_t i = 0; i < frames; ++i) s[i] = 0.5 * std::sin(0.013 * static_cast<double>(i)) + 0.1 * ((i % 7) / 7.0);
  return s;
}
} // namespace

TEST(RenderOddFiles, AHeaderWithoutAudioIsRefused)
{
  const std::string dir = MakeTestDir();
  const std::string in = dir + "/header-only.wav";
  WriteAudio(in, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 44100, 2, {});
  ToolResult r = RunTool({in, dir + "/out.wav"});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("no audio in \"" + in + "\""), std::string::npos) << r.err;
  EXPECT_FALSE(Exists(dir + "/out.wav"));
  // Also with a tail to render: an empty input is no input.
  r = RunTool({"--tail", "1", in, dir + "/out.wav"});
  EXPECT_EQ(r.exitCode, 1);

  // A FLAC whose header announces audio, cut right after the header.
  const std::string flac = dir + "/header-only.flac";
  WriteAudio(flac, SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 44100, 1, Ramp(44100));
  ASSERT_EQ(truncate(flac.c_str(), 100), 0);
  r = RunTool({flac, dir + "/out.wav"});
  EXPECT_EQ(r.exitCode, 1) << r.err;
  EXPECT_FALSE(Exists(dir + "/out.wav"));
}

TEST(RenderOddFiles, AFileCutShortRendersWhatIsThereAndSaysHowMuchIsMissing)
{
  const std::string dir = MakeTestDir();
  const std::vector<double> signal = Ramp(44100); // one second
  struct Case
  {
    const char* name;
    int format;
  };
  for (const Case& c : {Case{"cut.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16}, Case{"cut.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_16},
                        Case{"cut.aiff", SF_FORMAT_AIFF | SF_FORMAT_PCM_16}})
  {
    SCOPED_TRACE(c.name);
    const std::string in = dir + "/" + c.name;
    const std::string out = dir + "/out-" + std::string(c.name) + ".wav";
    WriteAudio(in, c.format, 44100, 1, signal);
    ASSERT_EQ(truncate(in.c_str(), SizeOf(in) / 2), 0);

    const ToolResult r = RunTool({"--quiet", in, out});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    std::smatch m;
    ASSERT_TRUE(std::regex_search(r.err, m, std::regex("\"" + in + "\" is cut short: ([0-9.]+) seconds missing"))) << r.err;
    const double missing = std::atof(m[1].str().c_str());

    // The output holds exactly what could be read, rendered as usual, and the warning
    // accounts for the rest of the second.
    const AudioData rendered = ReadAudio(out);
    ASSERT_GT(rendered.Frames(), 4410u);
    ASSERT_LT(rendered.Frames(), 44100u);
    EXPECT_NEAR(missing, (44100.0 - static_cast<double>(rendered.Frames())) / 44100.0, 0.0005) << r.err;
    for (size_t i = 0; i < rendered.Frames(); ++i)
      ASSERT_NEAR(rendered.At(i, 0), signal[i], 1.0 / 16384) << "frame " << i;
  }

  // A whole file gives no warning.
  const std::string whole = dir + "/whole.wav";
  WriteAudio(whole, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 44100, 1, signal);
  const ToolResult r = RunTool({"--quiet", whole, dir + "/out.wav"});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.err, "");
}

TEST(RenderOddFiles, SampleRatesThePluginCannotDelayAtAreRefused)
{
  const std::string dir = MakeTestDir();
  for (int rate : {10000000, 20000000, 999, 8})
  {
    const std::string in = dir + "/rate-" + std::to_string(rate) + ".wav";
    WriteAudio(in, SF_FORMAT_WAV | SF_FORMAT_PCM_16, rate, 1, Ramp(200));
    const ToolResult r = RunTool({in, dir + "/out.wav"});
    EXPECT_EQ(r.exitCode, 1) << rate;
    EXPECT_NE(r.err.find("sample rate of " + std::to_string(rate) + " Hz"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("1000 to 9999999 Hz"), std::string::npos) << r.err;
    EXPECT_FALSE(Exists(dir + "/out.wav"));
  }
  // The ends of the range render, with the lagging side lagging.
  for (int rate : {1000, 9999999})
  {
    const std::string in = dir + "/edge-" + std::to_string(rate) + ".wav";
    WriteAudio(in, SF_FORMAT_WAV | SF_FORMAT_FLOAT, rate, 1, Impulse(2000, 0, 0.5));
    const ToolResult r = RunTool({"--quiet", "--set", "Delay=1", "--tail", "0.01", in, dir + "/edge.wav"});
    ASSERT_EQ(r.exitCode, 0) << rate << r.err;
    const AudioData out = ReadAudio(dir + "/edge.wav");
    const size_t lag = static_cast<size_t>(rate / 1000); // 1 ms
    ASSERT_GT(out.Frames(), lag);
    EXPECT_EQ(out.At(0, 0), 0.5) << rate;
    EXPECT_EQ(out.At(0, 1), 0.0) << rate;
    EXPECT_EQ(out.At(lag, 1), 0.5) << rate;
  }
}
