#include "PresetFile.h"

#include <gtest/gtest.h>

#include <cstring>

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
  PresetFile longName = Program();
  longName.program.name = std::string(40, 'n');
  PresetFile parsed;
  std::string error;
  ASSERT_TRUE(ParsePresetFile(SerializePresetFile(longName), parsed, error)) << error;
  EXPECT_EQ(parsed.program.name, std::string(27, 'n')); // the field's 28 bytes end in a zero
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
  const std::vector<unsigned char> fxp = SerializePresetFile(Program()), fxb = SerializePresetFile(Bank()),
                                   fpch = SerializePresetFile(Chunk(PresetFile::Kind::kProgramChunk));
  const uint32_t nan = 0x7FC00000, infinity = 0x7F800000, minusHalf = 0xBF000000, oneAndAHalf = 0x3FC00000;
  const size_t secondProgram = 156 + 68;
  struct Damage
  {
    const std::vector<unsigned char>& file;
    size_t at;
    uint32_t value;
    const char* reason;
  };
  const Damage damages[] = {
    {fxp, 0, 0x52494646, "'RIFF' instead of 'CcnK'"},
    {fxp, 8, 0x46785A7A, "'FxZz'"},
    {fxp, 24, 4, "do not add up"}, // four parameters announced, three present
    {fxp, 24, 0x80000000u, "negative"},
    {fxp, 12, 3, "format version 3"},
    {fxp, 60, nan, "parameter 1"},
    {fxp, 60, infinity, "parameter 1"},
    {fxp, 60, minusHalf, "parameter 1"},
    {fxp, 60, oneAndAHalf, "parameter 1"},
    {fxb, 28, 3, "current program 3"},
    {fxb, secondProgram + 16, 0x66616B65, "program 1"}, // 'fake' inside a 'kyvh' bank
    {fxb, secondProgram + 4, 68, "do not add up"},     // a record whose own size is wrong
    {fpch, 56, 12, "chunk size is 12"},                 // one more than follows
  };
  for (const Damage& d : damages) {
    std::vector<unsigned char> bytes = d.file;
    PutBigEndian(bytes, d.at, d.value);
    EXPECT_NE(Refusal(bytes).find(d.reason), std::string::npos) << d.reason;
  }
  std::vector<unsigned char> longer = fxp;
  longer.push_back(0); // one byte more than the header announces
  EXPECT_NE(Refusal(longer).find("do not add up"), std::string::npos);
}
