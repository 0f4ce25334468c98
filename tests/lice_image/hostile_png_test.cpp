// Damaged and hostile PNG data: every failure gives null, frees what it allocated (the
// sanitizer build checks for leaks) and never writes outside the bitmap.

#include "image_loaders.h"
#include "test_images.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdio>
#include <memory>
#include <random>
#include <string>

#include "RandomSeeds.h"

namespace {

void Put32(std::vector<unsigned char>& out, uint32_t v)
{
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<unsigned char>(v >> shift));
}

void PutChunk(std::vector<unsigned char>& out, const char* type, const std::vector<unsigned char>& data)
{
  Put32(out, static_cast<uint32_t>(data.size()));
  std::vector<unsigned char> body(type, type + 4);
  body.insert(body.end(), data.begin(), data.end());
  out.insert(out.end(), body.begin(), body.end());
  Put32(out, static_cast<uint32_t>(crc32(0, body.data(), static_cast<uInt>(body.size()))));
}

std::vector<unsigned char> Ihdr(uint32_t w, uint32_t h, int depth, int colorType)
{
  std::vector<unsigned char> d;
  Put32(d, w);
  Put32(d, h);
  d.insert(d.end(), {static_cast<unsigned char>(depth), static_cast<unsigned char>(colorType), 0, 0, 0});
  return d;
}

std::vector<unsigned char> Deflate(const std::vector<unsigned char>& raw)
{
  uLongf size = compressBound(static_cast<uLong>(raw.size()));
  std::vector<unsigned char> out(size);
  compress(out.data(), &size, raw.data(), static_cast<uLong>(raw.size()));
  out.resize(size);
  return out;
}

// An 8-bit RGBA PNG whose IDAT holds `rows` of the image's rows (fewer means data missing).
std::vector<unsigned char> RgbaPng(uint32_t w, uint32_t h, uint32_t rows)
{
  std::vector<unsigned char> raw;
  for (uint32_t y = 0; y < rows; ++y)
  {
    raw.push_back(0);
    for (uint32_t x = 0; x < w * 4; ++x) raw.push_back(static_cast<unsigned char>(x * 7 + y * 13));
  }
  std::vector<unsigned char> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  PutChunk(png, "IHDR", Ihdr(w, h, 8, 6));
  PutChunk(png, "IDAT", Deflate(raw));
  PutChunk(png, "IEND", {});
  return png;
}

LICE_IBitmap* Decode(const std::vector<unsigned char>& png, LICE_IBitmap* dest = nullptr)
{
  return LICE::DecodePngBlock(png.data(), png.size(), dest);
}

TEST(HostilePng, HugeDeclaredSizeIsRefusedBeforeAllocating)
{
  // 100000 x 100000 pixels would be 40 GB; 20000 x 20000 stays within libpng's own
  // per-side limit but is still far above the decoders' pixel limit.
  for (uint32_t side : {100000u, 20000u})
  {
    std::vector<unsigned char> png = RgbaPng(side, side, 0);
    EXPECT_EQ(Decode(png), nullptr) << side;
    GuardedBitmap dest(0, false);
    EXPECT_EQ(Decode(png, &dest), nullptr) << side;
    EXPECT_EQ(dest.Width(), 0);
  }
}

TEST(HostilePng, ZeroSizeGivesNull)
{
  EXPECT_EQ(Decode(RgbaPng(0, 4, 0)), nullptr);
  EXPECT_EQ(Decode(RgbaPng(4, 0, 0)), nullptr);
}

TEST(HostilePng, BadCrcGivesNull)
{
  const std::vector<unsigned char> good = RgbaPng(6, 5, 5);
  ASSERT_NE(std::unique_ptr<LICE_IBitmap>(Decode(good)), nullptr);

  std::vector<unsigned char> badHeader = good;
  badHeader[8 + 8 + 13] ^= 1;  // the IHDR chunk's CRC
  EXPECT_EQ(Decode(badHeader), nullptr);

  std::vector<unsigned char> badData = good;
  badData[8 + 25 + 8 + 2] ^= 0x40;  // a byte inside the IDAT data: its CRC no longer matches
  EXPECT_EQ(Decode(badData), nullptr);
}

TEST(HostilePng, MissingImageDataGivesNull)
{
  GuardedBitmap dest(2, false);
  EXPECT_EQ(Decode(RgbaPng(6, 5, 3), &dest), nullptr);
  EXPECT_TRUE(dest.GuardsIntact());
}

// Cut anywhere before the image data is complete, the memory path gives null; cut after
// it (only the end chunk missing), the image is whole.
TEST(HostilePng, EveryCutOfTheStream)
{
  const std::vector<unsigned char> good = RgbaPng(7, 4, 4);
  const size_t imageDataEnd = good.size() - 12;  // the IEND chunk is 12 bytes
  std::unique_ptr<LICE_IBitmap> whole(Decode(good));
  ASSERT_TRUE(whole);
  for (size_t cut = 0; cut < good.size(); ++cut)
  {
    std::vector<unsigned char> part(good.begin(), good.begin() + cut);
    GuardedBitmap dest(1, false);
    LICE_IBitmap* got = Decode(part, &dest);
    EXPECT_TRUE(dest.GuardsIntact()) << cut;
    if (cut < imageDataEnd)
    {
      EXPECT_EQ(got, nullptr) << cut;
    }
    else
    {
      ASSERT_EQ(got, &dest) << cut;
      for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 7; ++x) EXPECT_EQ(PixelAt(dest, x, y), PixelAt(*whole, x, y));
    }
  }
}

TEST(HostilePng, CutFileGivesNull)
{
  const std::vector<unsigned char> good = ReadBytes(ImagePath("rgba8_interlaced.png"));
  const std::string path = ::testing::TempDir() + "lice_cut.png";
  for (size_t cut : {size_t(8), size_t(30), good.size() / 2, good.size() - 20})
  {
    WriteBytes(path, std::vector<unsigned char>(good.begin(), good.begin() + cut));
    EXPECT_EQ(LICE::DecodePngFile(path.c_str()), nullptr) << cut;
  }
  WriteBytes(path, std::vector<unsigned char>{'n', 'o', 't', ' ', 'a', ' ', 'p', 'n', 'g', '!'});
  EXPECT_EQ(LICE::DecodePngFile(path.c_str()), nullptr);
  std::remove(path.c_str());
}

// Recomputes every chunk's CRC, so that damage reaches the decoder's later stages
// instead of stopping at the checksum.
void FixCrcs(std::vector<unsigned char>& png)
{
  size_t pos = 8;
  while (pos + 12 <= png.size())
  {
    const uint32_t len = uint32_t(png[pos]) << 24 | uint32_t(png[pos + 1]) << 16 | uint32_t(png[pos + 2]) << 8 | png[pos + 3];
    if (len > png.size() - pos - 12) return;
    const uint32_t crc = static_cast<uint32_t>(crc32(0, &png[pos + 4], len + 4));
    for (int i = 0; i < 4; ++i) png[pos + 8 + len + i] = static_cast<unsigned char>(crc >> (24 - 8 * i));
    pos += 12 + len;
  }
}

uint32_t Declared(const std::vector<unsigned char>& png, size_t at)
{
  return uint32_t(png[at]) << 24 | uint32_t(png[at + 1]) << 16 | uint32_t(png[at + 2]) << 8 | png[at + 3];
}

// Random damage to real files, with and without matching checksums: whatever the decoder
// makes of it, it stays inside the bitmap, and a result has the size the file declares.
TEST(HostilePng, RandomDamageStaysInsideTheBitmap)
{
  const char* const names[] = {"palette4_trns_interlaced.png", "rgb16_trns.png", "gray2.png", "rgba8.png",
                               "palette1_trns.png", "gray_alpha16.png"};
  for (unsigned file = 0; file < sizeof(names) / sizeof(*names); ++file)
  {
    const char* name = names[file];
    const std::vector<unsigned char> good = ReadBytes(ImagePath(name));
    for (int round = 0; round < 400; ++round)
    {
      const uint32_t seed = test_random::IterationSeed(1234u + file * 0x10000u, round);
      if (!test_random::Selected(seed)) continue;
      std::mt19937 rng(seed);
      std::vector<unsigned char> bad = good;
      std::string damage = name;
      const int flips = 1 + static_cast<int>(rng() % 3);
      for (int i = 0; i < flips; ++i)
      {
        const size_t at = 8 + rng() % (bad.size() - 8);
        const unsigned char mask = static_cast<unsigned char>(1 + rng() % 255);
        bad[at] ^= mask;
        damage += ", byte " + std::to_string(at) + " ^= " + std::to_string(mask);
      }
      const bool fixCrcs = round % 4 != 0, bottomUp = round % 2 == 1;
      if (fixCrcs) FixCrcs(bad);
      damage += fixCrcs ? ", CRCs recomputed" : ", CRCs left";
      damage += bottomUp ? ", into a bottom-up bitmap" : ", into a top-down bitmap";
      if (test_random::Verbose()) std::fprintf(stderr, "decoding %s\n", damage.c_str());
      SCOPED_TRACE(damage + "\n  " +
                   test_random::ReplayHint(seed, "lice_image_tests", "HostilePng.RandomDamageStaysInsideTheBitmap"));
      GuardedBitmap dest(3, bottomUp);
      LICE_IBitmap* got = Decode(bad, &dest);
      ASSERT_TRUE(dest.GuardsIntact());
      if (got)
      {
        EXPECT_EQ(uint32_t(dest.Width()), Declared(bad, 16));
        EXPECT_EQ(uint32_t(dest.Height()), Declared(bad, 20));
      }
    }
  }
}

}  // namespace
