#include "RenderTestSupport.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <fstream>

namespace
{
bool Exists(const std::string& path)
{
  struct stat st;
  return stat(path.c_str(), &st) == 0;
}

bool Contains(const std::string& text, const std::string& part)
{
  return text.find(part) != std::string::npos;
}

std::string MonoInput(const std::string& dir)
{
  const std::string path = dir + "/in.wav";
  WriteAudio(path, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 44100, 1, Impulse(500, 5, 0.5));
  return path;
}
} // namespace

TEST(RenderErrors, MissingOrUnreadableInput)
{
  const std::string dir = MakeTestDir();
  ToolResult r = RunTool({dir + "/nothing.wav", dir + "/out.wav"});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_TRUE(Contains(r.err, "cannot open input")) << r.err;
  EXPECT_TRUE(Contains(r.err, "nothing.wav")) << r.err;

  std::ofstream(dir + "/text.wav") << "this is not audio";
  r = RunTool({dir + "/text.wav", dir + "/out.wav"});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_TRUE(Contains(r.err, "cannot read input")) << r.err;

  r = RunTool({MonoInput(dir), dir + "/no/such/dir/out.wav"});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_TRUE(Contains(r.err, "cannot create output")) << r.err;

  r = RunTool({dir, dir + "/out.wav"});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_TRUE(Contains(r.err, "is a directory")) << r.err;
  EXPECT_FALSE(Exists(dir + "/out.wav"));
}

TEST(RenderErrors, MoreThanTwoChannelsAreRefused)
{
  const std::string dir = MakeTestDir();
  WriteAudio(dir + "/three.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 44100, 3, std::vector<double>(300, 0.1));
  const ToolResult r = RunTool({dir + "/three.wav", dir + "/out.wav"});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_TRUE(Contains(r.err, "3 channels")) << r.err;
  EXPECT_FALSE(Exists(dir + "/out.wav"));
}

TEST(RenderErrors, OutputMayNotBeTheInputUnderAnyName)
{
  const std::string dir = MakeTestDir();
  const std::string input = MonoInput(dir);
  const AudioData before = ReadAudio(input);
  mkdir((dir + "/sub").c_str(), 0755);
  symlink(input.c_str(), (dir + "/link.wav").c_str());
  link(input.c_str(), (dir + "/hard.wav").c_str());
  for (const std::string& output :
       {input, dir + "/./in.wav", dir + "/sub/../in.wav", dir + "//in.wav", dir + "/link.wav", dir + "/hard.wav"}) {
    const ToolResult r = RunTool({input, output});
    EXPECT_EQ(r.exitCode, 2) << output;
    EXPECT_TRUE(Contains(r.err, "is the input file")) << r.err;
  }
  // From inside the directory, with a relative name.
  const std::string command = "cd '" + dir + "' && '" RENDER_TOOL "' in.wav ../" +
                              dir.substr(dir.find_last_of('/') + 1) + "/in.wav 2>/dev/null";
  EXPECT_NE(std::system(command.c_str()), 0);
  EXPECT_EQ(ReadAudio(input).samples, before.samples);
}

TEST(RenderErrors, UnknownParameterValueOrProgramListsTheValidOnes)
{
  const std::string dir = MakeTestDir();
  const std::string input = MonoInput(dir);
  const std::string output = dir + "/out.wav";

  ToolResult r = RunTool({"--set", "Feedback=3", input, output});
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_TRUE(Contains(r.err, "no parameter \"Feedback\"")) << r.err;
  EXPECT_TRUE(Contains(r.err, "\"Delay\", \"Pan\", \"Wet Mix\"")) << r.err;

  r = RunTool({"--set", "Pan=Centre", input, output});
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_TRUE(Contains(r.err, "\"Left\", \"Right\"")) << r.err;

  r = RunTool({"--set", "Pan=1", input, output});
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_TRUE(Contains(r.err, "\"Left\", \"Right\"")) << r.err;

  r = RunTool({"--set", "Delay=55", input, output});
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_TRUE(Contains(r.err, "1.000 to 40.000 ms")) << r.err;

  r = RunTool({"--set", "Delay=short", input, output});
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_TRUE(Contains(r.err, "1.000 to 40.000 ms")) << r.err;

  r = RunTool({"--set", "Wet Mix=-10.5", input, output});
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_TRUE(Contains(r.err, "-10.0 to 10.0 dB")) << r.err;

  r = RunTool({"--program", "Tuba", input, output});
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_TRUE(Contains(r.err, "no program is called \"Tuba\"")) << r.err;
  EXPECT_TRUE(Contains(r.err, "1  Vocal Doubler")) << r.err;
  EXPECT_TRUE(Contains(r.err, "16  User 4")) << r.err;

  r = RunTool({"--program", "17", input, output});
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_TRUE(Contains(r.err, "0 to 16")) << r.err;

  r = RunTool({"--plugin", FAKE_PLUGIN, "--set", "Side=D", input, output});
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_TRUE(Contains(r.err, "\"A\", \"B\", \"C\"")) << r.err;

  r = RunTool({"--plugin", FAKE_PLUGIN, "--set", "Level=11", input, output});
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_TRUE(Contains(r.err, "-10.00 to 10.00 dB")) << r.err;
  EXPECT_FALSE(Exists(output));
}

TEST(RenderErrors, PluginThatFailsToLoadIsNamedWithTheLoadersReason)
{
  const std::string dir = MakeTestDir();
  const std::string input = MonoInput(dir);
  ToolResult r = RunTool({"--plugin", dir + "/missing.so", input, dir + "/out.wav"});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_TRUE(Contains(r.err, "cannot load plug-in")) << r.err;
  EXPECT_TRUE(Contains(r.err, "No such file")) << r.err;

  std::ofstream(dir + "/garbage.so") << "not a shared object";
  r = RunTool({"--plugin", dir + "/garbage.so", input, dir + "/out.wav"});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_TRUE(Contains(r.err, "garbage.so")) << r.err;
  EXPECT_TRUE(Contains(r.err, "ELF") || Contains(r.err, "too short")) << r.err;

  r = RunTool({"--plugin", NOT_A_PLUGIN, input, dir + "/out.wav"});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_TRUE(Contains(r.err, "no VSTPluginMain")) << r.err;

  r = RunTool({"--plugin", FAKE_PLUGIN, "--double", input, dir + "/out.wav"});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_TRUE(Contains(r.err, "64-bit")) << r.err;
}

TEST(RenderErrors, BadCommandLines)
{
  const std::string dir = MakeTestDir();
  const std::string input = MonoInput(dir);
  const std::vector<std::vector<std::string>> cases = {
    {"--block", "0", input, dir + "/o.wav"},       {"--block", "12x", input, dir + "/o.wav"},
    {"--block", "70000", input, dir + "/o.wav"},   {"--tail", "-1", input, dir + "/o.wav"},
    {"--tail", "nan", input, dir + "/o.wav"},      {"--set", "Delay", input, dir + "/o.wav"},
    {"--set", "=3", input, dir + "/o.wav"},        {"--frobnicate", input, dir + "/o.wav"},
    {input},                                       {input, dir + "/o.wav", dir + "/p.wav"},
    {"--info", input},                             {input, dir + "/o.mp9"},
    {"--float", input, dir + "/o.flac"},           {"--block"},
  };
  for (const auto& args : cases) {
    const ToolResult r = RunTool(args);
    EXPECT_EQ(r.exitCode, 2) << args[0] << " " << r.err;
    EXPECT_FALSE(r.err.empty());
  }
  EXPECT_FALSE(Exists(dir + "/o.wav"));
  const ToolResult help = RunTool({"--help"});
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_TRUE(Contains(help.out, "--program NUMBER|NAME")) << help.out;
}

TEST(RenderErrors, EditorSnapshotOfAnotherModuleIsRefused)
{
  const std::string dir = MakeTestDir();
  ToolResult r = RunTool({"--plugin", FAKE_PLUGIN, "--editor-snapshot", dir + "/other.png"});
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_TRUE(Contains(r.err, "--editor-snapshot draws the editor of this build's Brindlow")) << r.err;
  EXPECT_TRUE(Contains(r.err, FAKE_PLUGIN)) << r.err;
  EXPECT_FALSE(Exists(dir + "/other.png")) << "nothing is drawn";

  // Naming this build's own Brindlow is no other module.
  r = RunTool({"--plugin", BRINDLOW_PLUGIN, "--editor-snapshot", dir + "/own.png"});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_TRUE(Exists(dir + "/own.png"));
}
