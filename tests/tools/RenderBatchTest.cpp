// --out-dir through the whole tool: every file comes out as it would alone,
// failures are named with their reasons, inputs are never overwritten.
#include "RenderTestSupport.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <random>

namespace
{
std::vector<double> Noise(size_t frames, int channels, unsigned seed)
{
  std::mt19937 rng(seed);
  std::uniform_real_distribution<float> dist(-0.9f, 0.9f);
  std::vector<double> v(frames * static_cast<size_t>(channels));
  for (double& x : v) x = dist(rng);
  return v;
}

bool Exists(const std::string& path)
{
  struct stat st;
  return stat(path.c_str(), &st) == 0;
}

struct Input
{
  std::string name;
  int format;
  int rate;
  int channels;
  size_t frames;
};

const Input kInputs[] = {
  {"mono.wav", SF_FORMAT_WAV | SF_FORMAT_FLOAT, 44100, 1, 9000},
  {"stereo.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 48000, 2, 7000},
  {"hi.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_24, 96000, 1, 12000},
  {"short.aiff", SF_FORMAT_AIFF | SF_FORMAT_PCM_16, 22050, 2, 100},
  {"double.wav", SF_FORMAT_WAV | SF_FORMAT_DOUBLE, 44100, 2, 5000},
};

std::vector<std::string> WriteInputs(const std::string& dir)
{
  std::vector<std::string> paths;
  unsigned seed = 1;
  for (const Input& in : kInputs) {
    paths.push_back(dir + "/" + in.name);
    WriteAudio(paths.back(), in.format, in.rate, in.channels, Noise(in.frames, in.channels, seed++));
  }
  return paths;
}

std::vector<std::string> Joined(std::vector<std::string> a, const std::vector<std::string>& b)
{
  a.insert(a.end(), b.begin(), b.end());
  return a;
}
} // namespace

TEST(RenderBatch, EveryFileComesOutAsItWouldAlone)
{
  const std::string dir = MakeTestDir();
  const std::vector<std::string> inputs = WriteInputs(dir);
  // A program file renames the program --program chose: every worker must still find it.
  ASSERT_EQ(RunTool({"--program", "Keyboard", "--set", "Delay=2.5", "--save-preset", dir + "/mine.fxp"}).exitCode, 0);

  const std::vector<std::vector<std::string>> settings = {
    {"--program", "Vocal Doubler", "--set", "Wet Mix=-3", "--tail", "0.05"},
    {"--program", "Acoustic Guitar", "--preset", dir + "/mine.fxp", "--double", "--block", "100"},
    {"--plugin", FAKE_PLUGIN, "--set", "Level=4", "--set", "Side=C"},
  };
  int run = 0;
  for (const auto& options : settings) {
    SCOPED_TRACE(run);
    const std::string alone = dir + "/alone" + std::to_string(run), batch = dir + "/batch" + std::to_string(run);
    mkdir(alone.c_str(), 0755);
    for (const Input& in : kInputs) {
      const ToolResult r = RunTool(Joined(options, {dir + "/" + in.name, alone + "/" + in.name}));
      ASSERT_EQ(r.exitCode, 0) << in.name << ": " << r.err;
    }
    for (const char* jobs : {"1", "3"}) {
      const ToolResult r = RunTool(Joined(Joined(options, {"--jobs", jobs, "--out-dir", batch}), inputs));
      ASSERT_EQ(r.exitCode, 0) << r.err;
      for (const Input& in : kInputs) {
        const AudioData a = ReadAudio(alone + "/" + in.name), b = ReadAudio(batch + "/" + in.name);
        EXPECT_EQ(b.format, a.format) << in.name;
        EXPECT_EQ(b.sampleRate, in.rate) << in.name;
        EXPECT_EQ(b.samples, a.samples) << in.name << " with --jobs " << jobs;
      }
    }
    ++run;
  }
}

TEST(RenderBatch, FailedFilesAreListedWithTheirReasonsAndTheOthersRendered)
{
  const std::string dir = MakeTestDir();
  std::vector<std::string> inputs = WriteInputs(dir);
  WriteAudio(dir + "/three.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 44100, 3, Noise(100, 3, 7));
  FILE* junk = std::fopen((dir + "/junk.wav").c_str(), "w");
  ASSERT_NE(junk, nullptr);
  std::fputs("not audio", junk);
  std::fclose(junk);
  inputs.insert(inputs.begin() + 1, {dir + "/three.wav", dir + "/missing.wav", dir + "/junk.wav"});

  const ToolResult r = RunTool(Joined({"--out-dir", dir + "/out"}, inputs));
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("3 of 8 file(s) failed"), std::string::npos) << r.err;
  for (const char* failed : {"three.wav: ", "missing.wav: ", "junk.wav: "})
    EXPECT_NE(r.err.find(failed), std::string::npos) << failed << "\n" << r.err;
  EXPECT_NE(r.err.find("3 channels"), std::string::npos) << r.err;
  for (const char* absent : {"/out/three.wav", "/out/missing.wav", "/out/junk.wav"})
    EXPECT_FALSE(Exists(dir + absent)) << absent;
  for (const Input& in : kInputs) EXPECT_EQ(ReadAudio(dir + "/out/" + in.name).Frames(), in.frames) << in.name;
}

TEST(RenderBatch, NothingIsRenderedWhenAnOutputWouldOverwriteAnInputOrAnother)
{
  const std::string dir = MakeTestDir();
  const std::vector<std::string> inputs = WriteInputs(dir);
  mkdir((dir + "/sub").c_str(), 0755);
  ASSERT_EQ(symlink(dir.c_str(), (dir + "/sub/link").c_str()), 0);

  for (const std::string& outDir : {dir, dir + "/.", dir + "/sub/..", dir + "/sub/link/"}) {
    const ToolResult r = RunTool(Joined({"--out-dir", outDir}, inputs));
    EXPECT_EQ(r.exitCode, 2) << outDir;
    EXPECT_NE(r.err.find("would overwrite the input"), std::string::npos) << r.err;
  }
  for (const Input& in : kInputs) EXPECT_EQ(ReadAudio(dir + "/" + in.name).Frames(), in.frames) << in.name;

  WriteAudio(dir + "/sub/mono.wav", SF_FORMAT_WAV | SF_FORMAT_FLOAT, 44100, 1, Noise(10, 1, 1));
  const ToolResult twice = RunTool({"--out-dir", dir + "/out", dir + "/mono.wav", dir + "/sub/mono.wav"});
  EXPECT_EQ(twice.exitCode, 2);
  EXPECT_NE(twice.err.find("would both be written"), std::string::npos) << twice.err;
  EXPECT_FALSE(Exists(dir + "/out/mono.wav"));
}
