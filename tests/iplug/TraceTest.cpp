// The trace file: what lands in it, when, and what stays out.
#include "IPlugAudioThreads.h"
#include "IPlugTrace.h"
#include "VstOpcodeNames.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>

namespace
{
std::string TracePath(const char* name)
{
  return ::testing::TempDir() + "trace-" + name + "-" + std::to_string(getpid()) + ".log";
}

std::string Slurp(const std::string& path)
{
  std::ifstream in(path);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

// Every test leaves the trace off and no thread counted as an audio thread.
class TraceFile : public ::testing::Test
{
protected:
  void SetUp() override { AudioThreads::Forget(); }
  void TearDown() override
  {
    TraceToFile(nullptr);
    AudioThreads::Forget();
    if (!path.empty()) unlink(path.c_str());
  }
  void Start(const char* name)
  {
    path = TracePath(name);
    unlink(path.c_str());
    ASSERT_TRUE(TraceToFile(path.c_str()));
  }
  std::string path;
};
} // namespace

TEST_F(TraceFile, RecordsLandWithTimestampsOnlyWhenFlushed)
{
  Start("records");
  EmitTrace("IPlugVST::VSTDispatcher", 140, "%d(%s):%d:%d", 0, "effOpen", 0, 0);
  EXPECT_EQ(Slurp(path), "") << "nothing is written where the record is made";
  FlushTrace();
  const std::string text = Slurp(path);
  const std::regex line(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3} \S* t\d+ IPlugVST::VSTDispatcher:140 0\(effOpen\):0:0\n)");
  EXPECT_TRUE(std::regex_match(text, line)) << text;
}

TEST_F(TraceFile, OffOrUnwritableIsSilent)
{
  EXPECT_FALSE(TraceToFile(""));
  EmitTrace("Op", 1, "%s", "while off");
  FlushTrace();
  ::testing::internal::CaptureStderr();
  EXPECT_FALSE(TraceToFile("/nonexistent-directory/trace.log"));
  EXPECT_FALSE(TraceToFile(::testing::TempDir().c_str())) << "a directory";
  const std::string said = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(said.find("/nonexistent-directory/trace.log"), std::string::npos) << said;
  EXPECT_FALSE(TraceIsOn());
  EmitTrace("Op", 2, "%s", "nowhere");
  FlushTrace();
  // Nothing made meanwhile was kept for a file that opens later.
  Start("after-off");
  EmitTrace("Op", 3, "fine");
  FlushTrace();
  const std::string text = Slurp(path);
  EXPECT_EQ(text.find("while off"), std::string::npos) << text;
  EXPECT_EQ(text.find("nowhere"), std::string::npos) << text;
  EXPECT_NE(text.find("Op:3 fine"), std::string::npos) << text;
}

TEST_F(TraceFile, LongRecordsAndFloodsStayBounded)
{
  Start("bounded");
  const std::string longText(5000, 'x');
  EmitTrace("Op", 5, "%s", longText.c_str());
  FlushTrace();
  std::string text = Slurp(path);
  ASSERT_FALSE(text.empty());
  EXPECT_LT(text.size(), 1100u);
  EXPECT_EQ(text.back(), '\n') << "a cut record still ends its line";

  // Far more records between two writes than memory keeps: the rest is counted.
  for (int i = 0; i < 2000; ++i) EmitTrace("Op", 6, "record %d %s", i, std::string(60, 'y').c_str());
  FlushTrace();
  text = Slurp(path);
  EXPECT_NE(text.find("records lost: too many between two writes"), std::string::npos);
  EXPECT_NE(text.find("record 0 "), std::string::npos);
}

TEST(VstOpcodeNames, EveryOpcodeHasItsOwnName)
{
  EXPECT_STREQ(VstOpcodeName(effOpen), "effOpen");
  EXPECT_STREQ(VstOpcodeName(effSetSpeakerArrangement), "effSetSpeakerArrangement");
  EXPECT_STREQ(VstOpcodeName(effSetProcessPrecision), "effSetProcessPrecision");
  EXPECT_STREQ(VstOpcodeName(effGetNumMidiOutputChannels), "effGetNumMidiOutputChannels");
  std::set<std::string> names;
  for (VstInt32 op = 0; op <= effGetNumMidiOutputChannels; ++op)
  {
    const std::string name = VstOpcodeName(op);
    EXPECT_EQ(name.rfind("eff", 0), 0u) << op;
    names.insert(name);
  }
  EXPECT_EQ(names.size(), static_cast<size_t>(effGetNumMidiOutputChannels + 1)) << "no name twice";
  EXPECT_STREQ(VstOpcodeName(-1), "unknown");
  EXPECT_STREQ(VstOpcodeName(80), "unknown");
  EXPECT_FALSE(VstOpcodeIsQuery(80)) << "an unknown opcode is traced";
  EXPECT_FALSE(VstOpcodeIsQuery(effSetChunk));
  EXPECT_TRUE(VstOpcodeIsQuery(effGetParamDisplay));
}
