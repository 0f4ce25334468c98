// Frame counts from WAV and AIFF headers, which tell a cut-short file from a short one.
#include "HeaderFrames.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <vector>

namespace
{
std::string Path(const char* name)
{
  return ::testing::TempDir() + "header-frames-" + std::to_string(getpid()) + "-" + name;
}

void Write(const std::string& path, int format, int channels, int frames)
{
  SF_INFO info = {};
  info.samplerate = 48000;
  info.channels = channels;
  info.format = format;
  SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
  ASSERT_NE(file, nullptr) << sf_strerror(nullptr);
  std::vector<float> samples(static_cast<size_t>(frames * channels), 0.25f);
  sf_writef_float(file, samples.data(), frames);
  sf_close(file);
}

// Overwrites the 32-bit little-endian size of the WAV data chunk.
void SetWavDataSize(const std::string& path, uint32_t size)
{
  std::fstream f(path, std::ios::in | std::ios::out | std::ios::binary);
  std::vector<char> bytes((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
  for (size_t i = 12; i + 8 <= bytes.size(); ++i)
  {
    if (std::string(&bytes[i], 4) == "data")
    {
      const char le[4] = {char(size), char(size >> 8), char(size >> 16), char(size >> 24)};
      f.seekp(static_cast<std::streamoff>(i + 4));
      f.write(le, 4);
      return;
    }
  }
  FAIL() << "no data chunk";
}
} // namespace

TEST(HeaderFrames, CountsSurviveTruncation)
{
  struct Case
  {
    const char* name;
    int format;
    int channels;
  };
  for (const Case& c : {Case{"a.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_24, 2}, Case{"b.wav", SF_FORMAT_WAVEX | SF_FORMAT_FLOAT, 1},
                        Case{"c.aifc", SF_FORMAT_AIFF | SF_FORMAT_FLOAT, 2}})
  {
    const std::string path = Path(c.name);
    Write(path, c.format, c.channels, 3000);
    EXPECT_EQ(HeaderFrameCount(path), 3000) << c.name;
    ASSERT_EQ(truncate(path.c_str(), 200), 0);
    EXPECT_EQ(HeaderFrameCount(path), 3000) << c.name << " cut short";
    unlink(path.c_str());
  }
}

TEST(HeaderFrames, NoCountWhereTheHeaderGivesNone)
{
  // Written as a stream: the sizes were never filled in.
  const std::string stream = Path("stream.wav");
  Write(stream, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 1, 100);
  SetWavDataSize(stream, 0xFFFFFFFFu);
  EXPECT_EQ(HeaderFrameCount(stream), -1);
  SetWavDataSize(stream, 0);
  EXPECT_EQ(HeaderFrameCount(stream), -1);

  // Compressed WAV: a block holds many frames.
  const std::string adpcm = Path("adpcm.wav");
  Write(adpcm, SF_FORMAT_WAV | SF_FORMAT_IMA_ADPCM, 1, 4000);
  EXPECT_EQ(HeaderFrameCount(adpcm), -1);

  const std::string junk = Path("junk.wav");
  const char header[] = "RIFF\x10\0\0\0WAVEdata"; // ends inside the data chunk's header
  std::ofstream(junk, std::ios::binary).write(header, sizeof header - 1);
  EXPECT_EQ(HeaderFrameCount(junk), -1);
  for (const std::string& p : {stream, adpcm, junk}) unlink(p.c_str());
}
