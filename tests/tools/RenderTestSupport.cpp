#include "RenderTestSupport.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace
{
std::string Quote(const std::string& word)
{
  std::string out = "'";
  for (char c : word) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

std::string Slurp(const std::string& path)
{
  std::ifstream in(path);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}
} // namespace

std::string MakeTestDir()
{
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string dir = ::testing::TempDir() + "render-" + info->test_suite_name() + "-" + info->name() + "-" +
                    std::to_string(getpid());
  std::system(("rm -rf " + Quote(dir)).c_str());
  mkdir(dir.c_str(), 0755);
  return dir;
}

ToolResult RunTool(const std::vector<std::string>& args)
{
  static int runs = 0;
  const std::string base = ::testing::TempDir() + "render-run-" + std::to_string(getpid()) + "-" + std::to_string(runs++);
  std::string command = Quote(RENDER_TOOL);
  for (const std::string& a : args) command += " " + Quote(a);
  command += " >" + Quote(base + ".out") + " 2>" + Quote(base + ".err") + " </dev/null";
  const int status = std::system(command.c_str());
  ToolResult result;
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  result.out = Slurp(base + ".out");
  result.err = Slurp(base + ".err");
  unlink((base + ".out").c_str());
  unlink((base + ".err").c_str());
  return result;
}

void WriteAudio(const std::string& path, int format, int sampleRate, int channels, const std::vector<double>& interleaved)
{
  SF_INFO info = {};
  info.samplerate = sampleRate;
  info.channels = channels;
  info.format = format;
  SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
  ASSERT_NE(file, nullptr) << sf_strerror(nullptr);
  const sf_count_t frames = static_cast<sf_count_t>(interleaved.size()) / channels;
  EXPECT_EQ(sf_writef_double(file, interleaved.data(), frames), frames);
  sf_close(file);
}

AudioData ReadAudio(const std::string& path)
{
  AudioData data;
  SF_INFO info = {};
  SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
  EXPECT_NE(file, nullptr) << path << ": " << sf_strerror(nullptr);
  if (!file) return data;
  data.sampleRate = info.samplerate;
  data.channels = info.channels;
  data.format = info.format;
  data.samples.resize(static_cast<size_t>(info.frames * info.channels));
  EXPECT_EQ(sf_readf_double(file, data.samples.data(), info.frames), info.frames);
  sf_close(file);
  return data;
}

std::vector<double> Impulse(size_t frames, size_t at, double value)
{
  std::vector<double> v(frames, 0.0);
  v[at] = value;
  return v;
}

double GainFromDecibels(double dB)
{
  return std::exp(dB * 0.1151292546497);
}
