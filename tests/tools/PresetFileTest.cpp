#include "PresetFile.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

namespace
{
constexpr int32_t kId = ('k' << 24) | ('y' << 16) | ('v' << 8) | 'h';

uint32_t BigEndianAt(const std::vector<unsigned char>& bytes, size_t at)
{
  return (uint32_t(bytes[at]) << 24) | (uint32_t(bytes[at + 1]) << 16) | (uint32_t(bytes[at + 2]) << 8) |
         uint32_t(bytes[at + 3]);
}

void PutBigEndian(std::vector<unsigned char>& bytes, size_t at, uint32_t value)
{
  for (int i = 0; i < 4; ++i) bytes[at + size_t(i)] = static_cast<unsigned char>(value >> (24 - 8 * i));
}

std::string FourChars(const std::vector<unsigned char>& bytes, size_t at)
{
  return std::string(reinterpret_cast<const char*>(bytes.data() + at), 4);
}

PresetFile Program()
{
  PresetFile f;
  f.kind = PresetFile::Kind::kProgram;
  f.pluginId = kId;
  f.pluginVersion = 10300;
  f.program = {"Vocal Doubler", {1.0f, 0.0f, 0.295f}};
  return f;
}

PresetFile Bank()
{
  PresetFile f;
  f.kind = PresetFile::Kind::kBank;
  f.pluginId = kId;
  f.pluginVersion = 10300;
  f.formatVersion = 2;
  f.count = 3;
  f.currentProgram = 2;
  f.programs = {{"RESET to defaults", {0.5f, 0.0f, 0.5f}}, {"Snare Drum", {0.0f, 1.0f, 0.5f}}, {"x", {0.25f, 0.0f, 1.0f}}};
  return f;
}

PresetFile Chunk(PresetFile::Kind kind)
{
  PresetFile f;
  f.kind = kind;
  f.pluginId = kId;
  f.pluginVersion = 7;
  f.formatVersion = kind == PresetFile::Kind::kBankChunk ? 2 : 1;
  f.count = kind == PresetFile::Kind::kBankChunk ? 17 : 3;
  f.currentProgram = kind == PresetFile::Kind::kBankChunk ? 16 : -1;
  f.program.name = kind == PresetFile::Kind::kBankChunk ? "" : "Mine";
  f.chunk = {'t', 'f', 'f', 'p', 0, 0, 1, 0, 0xFF, 0x00, 0x7F};
  return f;
}

void ExpectSameContents(const PresetFile& a, const PresetFile& b)
{
  EXPECT_EQ(a.kind, b.kind);
  EXPECT_EQ(a.pluginId, b.pluginId);
  EXPECT_EQ(a.pluginVersion, b.pluginVersion);
  EXPECT_EQ(a.program.name, b.program.name);
  EXPECT_EQ(a.program.values, b.program.values);
  ASSERT_EQ(a.programs.size(), b.programs.size());
  for (size_t i = 0; i < a.programs.size(); ++i) {
    EXPECT_EQ(a.programs[i].name, b.programs[i].name);
    EXPECT_EQ(a.programs[i].values, b.programs[i].values);
  }
  EXPECT_EQ(a.chunk, b.chunk);
  if (a.IsBank()) {
    EXPECT_EQ(a.currentProgram, b.currentProgram);
  }
}

std::string Refusal(const std::vector<unsigned char>& bytes)
{
  PresetFile parsed = Program();
  std::string error;
  EXPECT_FALSE(ParsePresetFile(bytes, parsed, error));
  EXPECT_EQ(parsed.program.name, "Vocal Doubler") << "a refused file leaves the target as it was";
  return error;
}
} // namespace

TEST(PresetFile, EveryKindReadsBackWhatWasWritten)
{
  for (const PresetFile& original : {Program(), Bank(), Chunk(PresetFile::Kind::kProgramChunk),
                                     Chunk(PresetFile::Kind::kBankChunk)}) {
    const std::vector<unsigned char> bytes = SerializePresetFile(original);
    PresetFile parsed;
    std::string error;
    ASSERT_TRUE(ParsePresetFile(bytes, parsed, error)) << error;
    ExpectSameContents(parsed, original);
    EXPECT_EQ(SerializePresetFile(parsed), bytes);
  }
}

TEST(PresetFile, HeadersAreBigEndianWhereHostsLookForThem)
{
  const std::vector<unsigned char> fxp = SerializePresetFile(Program());
  ASSERT_EQ(fxp.size(), 56u + 3 * 4);
  EXPECT_EQ(FourChars(fxp, 0), "CcnK");
  EXPECT_EQ(BigEndianAt(fxp, 4), fxp.size() - 8);
  EXPECT_EQ(FourChars(fxp, 8), "FxCk");
  EXPECT_EQ(BigEndianAt(fxp, 12), 1u);
  EXPECT_EQ(FourChars(fxp, 16), "kyvh");
  EXPECT_EQ(BigEndianAt(fxp, 20), 10300u);
  EXPECT_EQ(BigEndianAt(fxp, 24), 3u);
  EXPECT_STREQ(reinterpret_cast<const char*>(fxp.data() + 28), "Vocal Doubler");
  float first = 0.0f;
  const uint32_t bits = BigEndianAt(fxp, 56);
  std::memcpy(&first, &bits, 4);
  EXPECT_EQ(first, 1.0f);

  const std::vector<unsigned char> fxb = SerializePresetFile(Bank());
  const size_t record = 56 + 3 * 4;
  ASSERT_EQ(fxb.size(), 156 + 3 * record);
  EXPECT_EQ(FourChars(fxb, 8), "FxBk");
  EXPECT_EQ(BigEndianAt(fxb, 12), 2u);
  EXPECT_EQ(BigEndianAt(fxb, 24), 3u);
  EXPECT_EQ(BigEndianAt(fxb, 28), 2u); // current program
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(FourChars(fxb, 156 + i * record), "CcnK");
    EXPECT_EQ(BigEndianAt(fxb, 156 + i * record + 4), record - 8);
    EXPECT_EQ(FourChars(fxb, 156 + i * record + 8), "FxCk");
  }

  const std::vector<unsigned char> fbch = SerializePresetFile(Chunk(PresetFile::Kind::kBankChunk));
  EXPECT_EQ(FourChars(fbch, 8), "FBCh");
  EXPECT_EQ(BigEndianAt(fbch, 156), 11u);
  EXPECT_EQ(fbch.size(), 160u + 11);
}

TEST(PresetFile, LongNamesAreCutToTheField)
{
  PresetFile f = Program();
  f.program.name = std::string(40, 'n');
  PresetFile parsed;
  std::string error;
  ASSERT_TRUE(ParsePresetFile(SerializePresetFile(f), parsed, error)) << error;
  EXPECT_EQ(parsed.program.name, std::string(27, 'n'));
}

TEST(PresetFile, EveryCutIsRefused)
{
  for (const PresetFile& original : {Program(), Bank(), Chunk(PresetFile::Kind::kProgramChunk),
                                     Chunk(PresetFile::Kind::kBankChunk)}) {
    const std::vector<unsigned char> whole = SerializePresetFile(original);
    for (size_t n = 0; n < whole.size(); ++n) {
      std::vector<unsigned char> cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(n));
      EXPECT_FALSE(Refusal(cut).empty()) << "cut to " << n << " bytes";
      // A cut file whose size field was made to match is still refused.
      if (n >= 8) {
        PutBigEndian(cut, 4, static_cast<uint32_t>(n - 8));
        EXPECT_FALSE(Refusal(cut).empty()) << "cut to " << n << " bytes with a matching size";
      }
    }
  }
}

TEST(PresetFile, WrongMagicsSizesAndValuesAreRefusedWithTheReason)
{
  const std::vector<unsigned char> good = SerializePresetFile(Program());

  std::vector<unsigned char> bytes = good;
  std::memcpy(bytes.data(), "RIFF", 4);
  EXPECT_NE(Refusal(bytes).find("'RIFF' instead of 'CcnK'"), std::string::npos);

  bytes = good;
  std::memcpy(bytes.data() + 8, "FxZz", 4);
  EXPECT_NE(Refusal(bytes).find("'FxZz'"), std::string::npos);

  bytes = good;
  bytes.push_back(0); // one byte more than the header announces
  EXPECT_NE(Refusal(bytes).find("do not add up"), std::string::npos);

  bytes = good;
  PutBigEndian(bytes, 24, 4); // four parameters announced, three present
  EXPECT_NE(Refusal(bytes).find("do not add up"), std::string::npos);

  bytes = good;
  PutBigEndian(bytes, 24, 0x80000000u);
  EXPECT_NE(Refusal(bytes).find("negative"), std::string::npos);

  bytes = good;
  PutBigEndian(bytes, 12, 3);
  EXPECT_NE(Refusal(bytes).find("format version 3"), std::string::npos);

  for (float bad : {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(), -0.5f, 1.5f}) {
    uint32_t bits = 0;
    std::memcpy(&bits, &bad, 4);
    bytes = good;
    PutBigEndian(bytes, 56 + 4, bits);
    EXPECT_NE(Refusal(bytes).find("parameter 1"), std::string::npos) << bad;
  }

  const std::vector<unsigned char> bank = SerializePresetFile(Bank());
  bytes = bank;
  PutBigEndian(bytes, 28, 3); // current program past the last
  EXPECT_NE(Refusal(bytes).find("current program 3"), std::string::npos);

  const size_t second = 156 + 68;
  bytes = bank;
  PutBigEndian(bytes, second + 16, 0x66616B65); // 'fake' inside a 'kyvh' bank
  EXPECT_NE(Refusal(bytes).find("program 1"), std::string::npos);

  bytes = bank;
  PutBigEndian(bytes, second + 4, 68); // a record whose own size is wrong
  EXPECT_NE(Refusal(bytes).find("do not add up"), std::string::npos);

  const std::vector<unsigned char> chunk = SerializePresetFile(Chunk(PresetFile::Kind::kProgramChunk));
  bytes = chunk;
  PutBigEndian(bytes, 56, 12); // chunk size one more than what follows
  EXPECT_NE(Refusal(bytes).find("chunk size is 12"), std::string::npos);
}

TEST(PresetFile, PluginIdsAreShownAsCharactersAndNumbers)
{
  EXPECT_EQ(PluginIdText(kId), "'kyvh' (1803122280)");
  EXPECT_EQ(PluginIdText(7), "(7)");
}
