// BRINDLOW_TRACE as a user sets it: a real host process loading Brindlow.so.
#include "RenderTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <regex>
#include <sstream>

namespace
{
std::string Slurp(const std::string& path)
{
  std::ifstream in(path);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

// Runs the tool with BRINDLOW_TRACE set to value (unset for null).
ToolResult RunTraced(const char* value, const std::vector<std::string>& args)
{
  if (value)
    setenv("BRINDLOW_TRACE", value, 1);
  else
    unsetenv("BRINDLOW_TRACE");
  ToolResult r = RunTool(args);
  unsetenv("BRINDLOW_TRACE");
  return r;
}
} // namespace

TEST(RenderTrace, TheEnvironmentSwitchesTheTraceOn)
{
  const std::string dir = MakeTestDir();
  const std::string in = dir + "/in.wav";
  WriteAudio(in, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 44100, 1, Impulse(2000, 5, 0.5));
  const std::string trace = dir + "/trace.log";

  ToolResult r = RunTraced(trace.c_str(), {"--quiet", in, dir + "/out.wav"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const std::string text = Slurp(trace);
  const std::regex opened(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3} \S* t\d+ IPlugVST::VSTDispatcher:\d+ 0\(effOpen\):0:0)");
  EXPECT_TRUE(std::regex_search(text, opened)) << text;
  EXPECT_NE(text.find("IPlugBase::SetHost"), std::string::npos) << text;
  EXPECT_NE(text.find(":brindlow-render:"), std::string::npos) << "the host's identity\n" << text;
  EXPECT_NE(text.find("(effSetSpeakerArrangement)"), std::string::npos) << text;
  EXPECT_NE(text.find("speaker arrangement: 1 inputs, 2 outputs"), std::string::npos) << text;

  // Unset, empty, or a file that cannot be made: the same render, and for the last a word on stderr.
  for (const char* value : {static_cast<const char*>(nullptr), "", "/nonexistent-directory/trace.log"})
  {
    r = RunTraced(value, {"--quiet", in, dir + "/out2.wav"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(ReadAudio(dir + "/out2.wav").samples, ReadAudio(dir + "/out.wav").samples);
  }
  EXPECT_NE(r.err.find("cannot write the trace"), std::string::npos) << r.err;
  std::ifstream missing("/nonexistent-directory/trace.log");
  EXPECT_FALSE(missing.good());
}
