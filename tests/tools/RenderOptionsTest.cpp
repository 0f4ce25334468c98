#include "Options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
ParseResult Parse(std::vector<std::string> words, RenderOptions& options)
{
  words.insert(words.begin(), "brindlow-render");
  std::vector<char*> argv;
  for (std::string& w : words) argv.push_back(w.data());
  argv.push_back(nullptr);
  return ParseOptions(static_cast<int>(words.size()), argv.data(), options);
}
} // namespace

TEST(RenderOptions, ReadsEveryOptionInAnyOrder)
{
  RenderOptions o;
  const ParseResult r = Parse({"in.wav", "--program", "Vocal Doubler", "--set", "Pan=Right", "--set", "Wet Mix=-3",
                               "--block", "64", "--double", "--float", "--tail", "1.5", "--quiet", "--plugin",
                               "/x/y.so", "out.flac"},
                              o);
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_EQ(o.inputPath, "in.wav");
  EXPECT_EQ(o.outputPath, "out.flac");
  EXPECT_EQ(o.program, "Vocal Doubler");
  ASSERT_EQ(o.settings.size(), 2u);
  EXPECT_EQ(o.settings[0], std::make_pair(std::string("Pan"), std::string("Right")));
  EXPECT_EQ(o.settings[1], std::make_pair(std::string("Wet Mix"), std::string("-3")));
  EXPECT_EQ(o.blockSize, 64);
  EXPECT_TRUE(o.doublePrecision);
  EXPECT_TRUE(o.floatOutput);
  EXPECT_DOUBLE_EQ(o.tailSeconds, 1.5);
  EXPECT_TRUE(o.quiet);
  EXPECT_EQ(o.pluginPath, "/x/y.so");
}

TEST(RenderOptions, DefaultsAndTheEqualsForm)
{
  RenderOptions o;
  ASSERT_TRUE(Parse({"--set=Delay=12.5", "a.wav", "b.wav"}, o).ok);
  EXPECT_EQ(o.blockSize, 512);
  EXPECT_FALSE(o.doublePrecision);
  EXPECT_EQ(o.tailSeconds, 0.0);
  ASSERT_EQ(o.settings.size(), 1u);
  EXPECT_EQ(o.settings[0].first, "Delay");
  EXPECT_EQ(o.settings[0].second, "12.5"); // only the first '=' splits
}

TEST(RenderOptions, RefusesBadValuesWithAReason)
{
  const std::vector<std::vector<std::string>> bad = {
    {"--block", "0", "a", "b"},      {"--block", "-4", "a", "b"},     {"--block", "65537", "a", "b"},
    {"--block", "1e3", "a", "b"},    {"--tail", "-0.1", "a", "b"},    {"--tail", "inf", "a", "b"},
    {"--tail", "3601", "a", "b"},    {"--set", "NoEquals", "a", "b"}, {"--set", "Delay=", "a", "b"},
    {"--program", "", "a", "b"},     {"--plugin", "", "a", "b"},      {"--what", "a", "b"},
    {"a"},                           {"a", "b", "c"},                 {"--info", "a"},
    {"a", "--block"},
  };
  for (const auto& words : bad) {
    RenderOptions o;
    const ParseResult r = Parse(words, o);
    EXPECT_FALSE(r.ok) << words[0];
    EXPECT_FALSE(r.error.empty()) << words[0];
  }
  RenderOptions o;
  EXPECT_NE(Parse({"--block", "0", "a", "b"}, o).error.find("--block"), std::string::npos);
}

TEST(RenderOptions, InfoAndHelpNeedNoFiles)
{
  RenderOptions info;
  EXPECT_TRUE(Parse({"--info", "--plugin", "p.so"}, info).ok);
  EXPECT_TRUE(info.info);
  RenderOptions help;
  EXPECT_TRUE(Parse({"-h"}, help).ok);
  EXPECT_TRUE(help.help);
}

TEST(RenderOptions, PresetsAndManyFilesAtOnce)
{
  RenderOptions batch;
  ASSERT_TRUE(Parse({"--out-dir", "wide", "--jobs", "3", "--preset", "p.FXB", "a.wav", "b.flac", "c.aiff"}, batch).ok);
  EXPECT_EQ(batch.outDir, "wide");
  EXPECT_EQ(batch.jobs, 3);
  EXPECT_EQ(batch.presetPath, "p.FXB");
  EXPECT_EQ(batch.inputs, (std::vector<std::string>{"a.wav", "b.flac", "c.aiff"}));

  RenderOptions saveOnly;
  ASSERT_TRUE(Parse({"--program", "2", "--save-preset", "dir.x/state.Fxp"}, saveOnly).ok);
  EXPECT_EQ(saveOnly.savePresetPath, "dir.x/state.Fxp");
  EXPECT_TRUE(saveOnly.inputPath.empty());

  const std::vector<std::vector<std::string>> bad = {
    {"--save-preset", "state.wav"}, {"--save-preset", "fxp"},     {"--save-preset", "dir.fxp/state"},
    {"--jobs", "2", "a", "b"},      {"--out-dir", "d"},            {"--out-dir", "d", "--jobs", "0", "a"},
    {"--out-dir", "", "a"},         {"--out-dir", "d", "--info"},  {"--info", "--preset", "p.fxp"},
    {"--preset", "", "a", "b"},     {"--save-preset", "s.fxp", "a"},
  };
  for (const auto& words : bad) {
    RenderOptions o;
    const ParseResult r = Parse(words, o);
    EXPECT_FALSE(r.ok) << words[0] << " " << words[1];
    EXPECT_FALSE(r.error.empty()) << words[0];
  }
}
