// --preset and --save-preset through the whole tool: what is saved renders, once
// loaded, like the state it was saved from; files that do not fit are refused.
#include "RenderTestSupport.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cmath>
#include <fstream>
#include <iterator>
#include <random>

namespace
{
constexpr int kFloatWav = SF_FORMAT_WAV | SF_FORMAT_FLOAT;

std::vector<double> Noise(size_t frames, int channels, unsigned seed)
{
  std::mt19937 rng(seed);
  std::uniform_real_distribution<float> dist(-0.5f, 0.5f);
  std::vector<double> v(frames * static_cast<size_t>(channels));
  for (double& x : v) x = dist(rng);
  return v;
}

std::vector<unsigned char> Bytes(const std::string& path)
{
  std::ifstream in(path, std::ios::binary);
  return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), {});
}

std::string Kind(const std::string& path)
{
  const std::vector<unsigned char> b = Bytes(path);
  return b.size() >= 12 ? std::string(b.begin() + 8, b.begin() + 12) : "";
}

bool Exists(const std::string& path)
{
  struct stat st;
  return stat(path.c_str(), &st) == 0;
}

std::vector<std::string> Joined(std::vector<std::string> a, const std::vector<std::string>& b)
{
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// Renders `in` with the state that `state` asks for, saves that state into
// `preset`, renders again with only the preset and expects the same samples.
void ExpectRoundTrip(const std::string& dir, const std::vector<std::string>& plugin,
                     const std::vector<std::string>& state, const std::string& preset)
{
  SCOPED_TRACE(preset);
  const std::string in = dir + "/in.wav", direct = dir + "/direct.wav", loaded = dir + "/loaded.wav";
  const ToolResult saved = RunTool(Joined(Joined(plugin, state), {"--save-preset", preset, in, direct}));
  ASSERT_EQ(saved.exitCode, 0) << saved.err;
  const ToolResult load = RunTool(Joined(plugin, {"--preset", preset, in, loaded}));
  ASSERT_EQ(load.exitCode, 0) << load.err;
  const AudioData a = ReadAudio(direct), b = ReadAudio(loaded);
  ASSERT_EQ(a.Frames(), b.Frames());
  EXPECT_EQ(a.samples, b.samples);
}
} // namespace

TEST(RenderPresets, BrindlowStatesComeBackFromProgramAndBankFiles)
{
  const std::string dir = MakeTestDir();
  WriteAudio(dir + "/in.wav", kFloatWav, 48000, 1, Noise(6000, 1, 3));
  // Values whose normalised form a 32-bit float holds exactly come back bit for bit.
  const std::vector<std::vector<std::string>> states = {
    {"--program", "Snare Drum"},
    {"--program", "Vocal Doubler", "--set", "Wet Mix=5", "--set", "Pan=Right"},
    {"--set", "Delay=40", "--set", "Wet Mix=-10"},
  };
  for (const auto& state : states) {
    ExpectRoundTrip(dir, {}, state, dir + "/p.fxp");
    EXPECT_EQ(Kind(dir + "/p.fxp"), "FxCk"); // Brindlow declares no chunks: a parameter list
    ExpectRoundTrip(dir, {}, state, dir + "/b.fxb");
    EXPECT_EQ(Kind(dir + "/b.fxb"), "FxBk");
  }

  // The bank keeps every program and its own current one: --program picks from it.
  ASSERT_EQ(RunTool({"--program", "Keyboard", "--set", "Delay=3", "--save-preset", dir + "/k.fxb"}).exitCode, 0);
  ASSERT_EQ(RunTool({"--preset", dir + "/k.fxb", "--program", "Snare Drum", dir + "/in.wav", dir + "/a.wav"}).exitCode, 0);
  ASSERT_EQ(RunTool({"--program", "Snare Drum", dir + "/in.wav", dir + "/b.wav"}).exitCode, 0);
  EXPECT_EQ(ReadAudio(dir + "/a.wav").samples, ReadAudio(dir + "/b.wav").samples);
}

TEST(RenderPresets, BrindlowValuesBetweenFloatStepsComeBackToFloatPrecision)
{
  // "Vocal Doubler" is 40 ms at -4.1 dB; -4.1 dB has no exact 32-bit normalised
  // form, so the file restores the gain to float precision and the delay exactly.
  const std::string dir = MakeTestDir();
  WriteAudio(dir + "/in.wav", SF_FORMAT_WAV | SF_FORMAT_DOUBLE, 44100, 1, Impulse(3000, 10, 0.75));
  ASSERT_EQ(RunTool({"--program", "Vocal Doubler", "--double", "--save-preset", dir + "/vd.fxp", dir + "/in.wav",
                     dir + "/direct.wav"})
              .exitCode,
            0);
  ASSERT_EQ(RunTool({"--preset", dir + "/vd.fxp", "--double", dir + "/in.wav", dir + "/loaded.wav"}).exitCode, 0);
  const AudioData a = ReadAudio(dir + "/direct.wav"), b = ReadAudio(dir + "/loaded.wav");
  ASSERT_EQ(a.Frames(), b.Frames());
  for (size_t i = 0; i < a.Frames(); ++i) {
    EXPECT_EQ(a.At(i, 0), b.At(i, 0)) << i;
    EXPECT_NEAR(a.At(i, 1), b.At(i, 1), std::fabs(a.At(i, 1)) * 1e-6) << i;
    EXPECT_EQ(a.At(i, 1) == 0.0, b.At(i, 1) == 0.0) << "the delayed impulse moved: " << i;
  }
  // Loading and saving again writes the very same file.
  ASSERT_EQ(RunTool({"--preset", dir + "/vd.fxp", "--save-preset", dir + "/again.fxp"}).exitCode, 0);
  EXPECT_EQ(Bytes(dir + "/again.fxp"), Bytes(dir + "/vd.fxp"));
}

TEST(RenderPresets, OtherPluginsSaveParametersOrChunksAsTheyDeclare)
{
  const std::string dir = MakeTestDir();
  WriteAudio(dir + "/in.wav", kFloatWav, 44100, 2, Noise(3000, 2, 5));
  const std::vector<std::string> state = {"--set", "Level=3.5", "--set", "Side=C", "--program", "Loud"};
  const std::vector<std::string> plain = {"--plugin", FAKE_PLUGIN}, chunky = {"--plugin", FAKE_CHUNK_PLUGIN};

  ExpectRoundTrip(dir, plain, state, dir + "/plain.fxp");
  EXPECT_EQ(Kind(dir + "/plain.fxp"), "FxCk");
  ExpectRoundTrip(dir, plain, state, dir + "/plain.fxb");
  EXPECT_EQ(Kind(dir + "/plain.fxb"), "FxBk");
  ExpectRoundTrip(dir, chunky, state, dir + "/chunk.fxp");
  EXPECT_EQ(Kind(dir + "/chunk.fxp"), "FPCh");
  ExpectRoundTrip(dir, chunky, state, dir + "/chunk.fxb");
  EXPECT_EQ(Kind(dir + "/chunk.fxb"), "FBCh");

  // A chunk plug-in also takes a parameter list, as hosts give it one.
  const ToolResult r = RunTool({"--plugin", FAKE_CHUNK_PLUGIN, "--preset", dir + "/plain.fxp", dir + "/in.wav",
                                dir + "/x.wav"});
  EXPECT_EQ(r.exitCode, 0) << r.err;
}

TEST(RenderPresets, FilesThatDoNotFitAreRefusedBeforeAnythingIsRendered)
{
  const std::string dir = MakeTestDir();
  const std::string in = dir + "/in.wav", out = dir + "/out.wav";
  WriteAudio(in, kFloatWav, 44100, 1, Noise(500, 1, 9));
  ASSERT_EQ(RunTool({"--program", "Keyboard", "--save-preset", dir + "/brindlow.fxp"}).exitCode, 0);
  ASSERT_EQ(RunTool({"--plugin", FAKE_CHUNK_PLUGIN, "--save-preset", dir + "/chunk.fxp"}).exitCode, 0);

  ToolResult r = RunTool({"--plugin", FAKE_PLUGIN, "--preset", dir + "/brindlow.fxp", in, out});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("'kyvh' (1803122280)"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("'fake' (1717660517)"), std::string::npos) << r.err;

  r = RunTool({"--plugin", FAKE_PLUGIN, "--preset", dir + "/chunk.fxp", in, out});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("does not take chunks"), std::string::npos) << r.err;

  // Damaged files: the reasons are checked where the file is read.
  r = RunTool({"--preset", in, in, out});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("not a VST preset file"), std::string::npos) << r.err;

  r = RunTool({"--preset", dir + "/missing.fxp", in, out});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("missing.fxp"), std::string::npos) << r.err;
  EXPECT_FALSE(Exists(out));

  // The state is never written over the audio it renders, whatever the names.
  WriteAudio(dir + "/audio.fxp", kFloatWav, 44100, 1, Noise(500, 1, 9));
  r = RunTool({"--save-preset", dir + "/./audio.fxp", dir + "/audio.fxp", out});
  EXPECT_EQ(r.exitCode, 2) << r.err;
  EXPECT_EQ(ReadAudio(dir + "/audio.fxp").Frames(), 500u);
}
