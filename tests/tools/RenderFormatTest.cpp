#include "AudioFile.h"
#include "PluginInfo.h"
#include "PluginSettings.h"

#include <gtest/gtest.h>

TEST(RenderFormat, ContainerFollowsTheExtension)
{
  EXPECT_EQ(ContainerForPath("a/b.wav"), SF_FORMAT_WAV);
  EXPECT_EQ(ContainerForPath("B.WAV"), SF_FORMAT_WAV);
  EXPECT_EQ(ContainerForPath("x.flac"), SF_FORMAT_FLAC);
  EXPECT_EQ(ContainerForPath("x.aif"), SF_FORMAT_AIFF);
  EXPECT_EQ(ContainerForPath("x.aiff"), SF_FORMAT_AIFF);
  EXPECT_EQ(ContainerForPath("x.mp3"), 0);
  EXPECT_EQ(ContainerForPath("dir.wav/noext"), 0);
  EXPECT_EQ(ContainerForPath("wav"), 0);
}

TEST(RenderFormat, SampleFormatFollowsTheInputWhereTheContainerAllows)
{
  EXPECT_EQ(ChooseOutputFormat("o.wav", SF_FORMAT_FLAC | SF_FORMAT_PCM_24, false).format,
            SF_FORMAT_WAV | SF_FORMAT_PCM_24);
  EXPECT_EQ(ChooseOutputFormat("o.flac", SF_FORMAT_WAV | SF_FORMAT_PCM_16, false).format,
            SF_FORMAT_FLAC | SF_FORMAT_PCM_16);
  EXPECT_EQ(ChooseOutputFormat("o.aiff", SF_FORMAT_WAV | SF_FORMAT_PCM_16, true).format,
            SF_FORMAT_AIFF | SF_FORMAT_FLOAT);

  const OutputFormatChoice floatToFlac = ChooseOutputFormat("o.flac", SF_FORMAT_WAV | SF_FORMAT_FLOAT, false);
  EXPECT_EQ(floatToFlac.format, SF_FORMAT_FLAC | SF_FORMAT_PCM_24);
  EXPECT_FALSE(floatToFlac.note.empty());

  const OutputFormatChoice vorbisToWav = ChooseOutputFormat("o.wav", SF_FORMAT_OGG | SF_FORMAT_VORBIS, false);
  EXPECT_EQ(vorbisToWav.format, SF_FORMAT_WAV | SF_FORMAT_PCM_16);

  EXPECT_EQ(ChooseOutputFormat("o.flac", SF_FORMAT_WAV | SF_FORMAT_PCM_16, true).format, 0);
  EXPECT_EQ(ChooseOutputFormat("o.xyz", SF_FORMAT_WAV | SF_FORMAT_PCM_16, false).format, 0);
  EXPECT_FALSE(ChooseOutputFormat("o.xyz", SF_FORMAT_WAV | SF_FORMAT_PCM_16, false).error.empty());
}

TEST(RenderFormat, DisplayNumbersAndTheirPrecision)
{
  double v = 0.0;
  int decimals = -1;
  ASSERT_TRUE(ParseDisplayNumber("12.500", v, decimals));
  EXPECT_EQ(v, 12.5);
  EXPECT_EQ(decimals, 3);
  ASSERT_TRUE(ParseDisplayNumber("-3.0 dB", v, decimals));
  EXPECT_EQ(v, -3.0);
  EXPECT_EQ(decimals, 1);
  ASSERT_TRUE(ParseDisplayNumber("0", v, decimals));
  EXPECT_EQ(decimals, 0);
  EXPECT_FALSE(ParseDisplayNumber("Left", v, decimals));
  EXPECT_FALSE(ParseDisplayNumber("inf", v, decimals));
  EXPECT_FALSE(ParseDisplayNumber("nan", v, decimals));
  EXPECT_FALSE(ParseDisplayNumber("0x10", v, decimals));
  EXPECT_FALSE(ParseDisplayNumber("", v, decimals));

  EXPECT_TRUE(DisplayShows("12.500", 12.5));
  EXPECT_TRUE(DisplayShows("12.346", 12.34567));
  EXPECT_FALSE(DisplayShows("12.346", 12.3454));
  EXPECT_TRUE(DisplayShows("-3.0", -3.0));
  EXPECT_TRUE(DisplayShows("0", 0.3));
  EXPECT_FALSE(DisplayShows("0", 0.6));
  EXPECT_FALSE(DisplayShows("Left", 0.0));

  EXPECT_TRUE(ParseNumber(" -3 ", v));
  EXPECT_EQ(v, -3.0);
  EXPECT_FALSE(ParseNumber("3 dB", v));
  EXPECT_FALSE(ParseNumber("inf", v));
  // Hexadecimal is no number here, as in the plug-in's own reading of typed text.
  EXPECT_FALSE(ParseNumber("0x1A", v));
  EXPECT_FALSE(ParseNumber("1e999", v));
  EXPECT_TRUE(ParseNumber("+.5e1", v));
  EXPECT_DOUBLE_EQ(v, 5.0);
  EXPECT_FALSE(ParseNumber("", v));
  EXPECT_TRUE(EqualIgnoringCase("Wet Mix", "wet mix"));
  EXPECT_FALSE(EqualIgnoringCase("Wet Mix", "Wet Mi"));
}

TEST(RenderFormat, FourCharacterIds)
{
  EXPECT_EQ(FourCharText(0x6B797668), "kyvh");
  EXPECT_EQ(FourCharText(0x00000001), "");
}

#include "Progress.h"

#include <cstdio>
#include <string>

namespace
{
std::string Contents(std::FILE* f)
{
  std::fflush(f);
  std::rewind(f);
  std::string text;
  for (int c; (c = std::fgetc(f)) != EOF;) text += static_cast<char>(c);
  return text;
}
} // namespace

TEST(RenderProgress, DrawsOnlyWhenThePercentageChangesAndEndsTheLine)
{
  std::FILE* f = std::tmpfile();
  ASSERT_NE(f, nullptr);
  ProgressBar bar(f, 1000, true);
  bar.Update(0);
  bar.Update(4); // still 0 %
  bar.Update(500);
  bar.Finish();
  const std::string text = Contents(f);
  EXPECT_EQ(text.find("  0%"), text.rfind("  0%")); // drawn once
  EXPECT_NE(text.find(" 50%"), std::string::npos);
  EXPECT_NE(text.find("100%\n"), std::string::npos);
  std::fclose(f);

  std::FILE* quiet = std::tmpfile();
  ProgressBar off(quiet, 1000, false);
  off.Update(500);
  off.Finish();
  EXPECT_EQ(Contents(quiet), "");
  std::fclose(quiet);

  // Never on a file, and not for short renders or with --quiet.
  std::FILE* plain = std::tmpfile();
  EXPECT_FALSE(WantsProgressBar(plain, 60.0, false));
  std::fclose(plain);
}
