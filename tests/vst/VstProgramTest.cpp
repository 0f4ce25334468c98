// Programs and state chunks as the host stores and recalls them.
#include "VstFixture.h"

#include <climits>
#include <limits>

using VstPrograms = VstFixture;

namespace {
const char* const kProgramNames[17] = {
    "RESET to defaults", "Vocal Doubler", "Female Vocal", "Background Vocals", "Heavy Guitar",
    "Rock Guitar",       "Acoustic Guitar", "Keyboard",   "Drum Mix",          "Snare Drum",
    "Percussion",        "Saxophone",     "Basic Stereo", "User 1",            "User 2",
    "User 3",            "User 4"};

std::vector<unsigned char> Bytes(std::initializer_list<int> values) {
  std::vector<unsigned char> out;
  for (int v : values) out.push_back(static_cast<unsigned char>(v));
  return out;
}

void AppendDouble(std::vector<unsigned char>& out, double value) {
  unsigned char bytes[8];
  std::memcpy(bytes, &value, 8);  // little-endian machine
  out.insert(out.end(), bytes, bytes + 8);
}

std::vector<unsigned char> StateChunk(bool header, double delay, double pan, double wet) {
  std::vector<unsigned char> out;
  if (header) out = Bytes({0x74, 0x66, 0x66, 0x70, 0x00, 0x00, 0x01, 0x00});
  AppendDouble(out, delay);
  AppendDouble(out, pan);
  AppendDouble(out, wet);
  return out;
}
}  // namespace

TEST_F(VstPrograms, ProgramNamesInOrder) {
  for (int i = 0; i < 17; ++i) {
    char buffer[64];
    std::memset(buffer, '\x7f', sizeof(buffer));
    EXPECT_EQ(Dispatch(effGetProgramNameIndexed, i, 0, buffer), 1);
    EXPECT_STREQ(buffer, kProgramNames[i]);
  }
  char buffer[64] = "untouched";
  EXPECT_EQ(Dispatch(effGetProgramNameIndexed, 17, 0, buffer), 0);
  EXPECT_STREQ(buffer, "");
  std::strcpy(buffer, "untouched");
  EXPECT_EQ(Dispatch(effGetProgramNameIndexed, -1, 0, buffer), 0);
  EXPECT_STREQ(buffer, "");
  EXPECT_EQ(Dispatch(effGetProgramNameIndexed, 0, 0, nullptr), 0);
  EXPECT_EQ(Text(effGetProgramName, 0, kVstMaxProgNameLen), "RESET to defaults");
}

TEST_F(VstPrograms, RecallSetsTheValues) {
  Dispatch(effSetProgram, 0, 9);
  EXPECT_EQ(Dispatch(effGetProgram), 9);
  EXPECT_EQ(Text(effGetProgramName, 0, kVstMaxProgNameLen), "Snare Drum");
  EXPECT_EQ(ParamDisplay(kDelayParam), "1.000");

  Dispatch(effSetProgram, 0, 1);
  EXPECT_EQ(ParamDisplay(kDelayParam), "40.000");
  EXPECT_EQ(ParamDisplay(kPanParam), "Left");
  EXPECT_EQ(ParamDisplay(kWetMixParam), "-4.1");

  Dispatch(effSetProgram, 0, 0);
  EXPECT_EQ(ParamDisplay(kDelayParam), "20.000");
  EXPECT_EQ(ParamDisplay(kPanParam), "Left");
  EXPECT_EQ(ParamDisplay(kWetMixParam), "0");
}

TEST_F(VstPrograms, LeavingAProgramKeepsItsEdits) {
  Dispatch(effSetProgram, 0, 13);
  SetParameterText(kDelayParam, "7.5");
  Dispatch(effSetProgram, 0, 2);
  EXPECT_EQ(ParamDisplay(kDelayParam), "25.100");
  Dispatch(effSetProgram, 0, 13);
  EXPECT_EQ(ParamDisplay(kDelayParam), "7.500");
}

TEST_F(VstPrograms, UnknownProgramKeepsTheCurrentOne) {
  Dispatch(effSetProgram, 0, 4);
  for (VstIntPtr bad : {VstIntPtr(17), VstIntPtr(-1), VstIntPtr(INT_MAX), VstIntPtr(INT_MIN),
                        static_cast<VstIntPtr>(0x100000004LL)}) {
    Dispatch(effSetProgram, 0, bad);
    EXPECT_EQ(Dispatch(effGetProgram), 4) << bad;
  }
  EXPECT_EQ(ParamDisplay(kDelayParam), "23.600");
}

TEST_F(VstPrograms, RenameTheCurrentProgram) {
  Dispatch(effSetProgram, 0, 14);
  SetParameterText(kWetMixParam, "2.5");
  char name[] = "My Sound";
  Dispatch(effSetProgramName, 0, 0, name);
  EXPECT_EQ(Text(effGetProgramName, 0, kVstMaxProgNameLen), "My Sound");
  char listed[64];
  EXPECT_EQ(Dispatch(effGetProgramNameIndexed, 14, 0, listed), 1);
  EXPECT_STREQ(listed, "My Sound");
  // The name came with the values of that moment.
  Dispatch(effSetProgram, 0, 0);
  Dispatch(effSetProgram, 0, 14);
  EXPECT_EQ(ParamDisplay(kWetMixParam), "2.5");

  char empty[] = "";
  Dispatch(effSetProgramName, 0, 0, empty);
  EXPECT_EQ(Text(effGetProgramName, 0, kVstMaxProgNameLen), "My Sound") << "an empty name keeps the old one";
  EXPECT_EQ(Dispatch(effSetProgramName, 0, 0, nullptr), 0);
}

TEST_F(VstPrograms, LongProgramNamesAreCutOnlyForTheHost) {
  std::string longName = "A program name well beyond twenty-four characters";
  Dispatch(effSetProgramName, 0, 0, &longName[0]);
  const std::string shown = Text(effGetProgramName, 0, kVstMaxProgNameLen);
  EXPECT_EQ(shown, longName.substr(0, kVstMaxProgNameLen - 1));
  char listed[256];
  std::memset(listed, '\x7f', sizeof(listed));
  Dispatch(effGetProgramNameIndexed, 0, 0, listed);
  EXPECT_EQ(std::string(listed), shown);
  EXPECT_EQ(listed[kVstMaxProgNameLen], '\x7f');
}

TEST_F(VstPrograms, DefaultBankChunkIsByteExact) {
  const std::vector<unsigned char> expected =
      Bytes({0x74, 0x66, 0x66, 0x70, 0x00, 0x00, 0x01, 0x00, 0, 0, 0, 0, 0, 0, 0x34, 0x40,
             0,    0,    0,    0,    0,    0,    0,    0,    0, 0, 0, 0, 0, 0, 0,    0});
  EXPECT_EQ(Chunk(true), expected);
  EXPECT_EQ(Chunk(false), expected) << "a program chunk has the same layout";
  EXPECT_EQ(Dispatch(effGetChunk, 0, 0, nullptr), 0);
}

TEST_F(VstPrograms, ChunkRoundTrip) {
  Dispatch(effSetProgram, 0, 3);
  SetParameterText(kPanParam, "Right");
  const std::vector<unsigned char> saved = Chunk(true);
  EXPECT_EQ(saved, StateChunk(true, 33.4, 1.0, 3.0));

  Dispatch(effSetProgram, 0, 0);
  EXPECT_EQ(ParamDisplay(kPanParam), "Left");
  EXPECT_EQ(SetChunk(true, saved), 1);
  EXPECT_EQ(ParamDisplay(kDelayParam), "33.400");
  EXPECT_EQ(ParamDisplay(kPanParam), "Right");
  EXPECT_EQ(ParamDisplay(kWetMixParam), "3.0");
  EXPECT_EQ(Chunk(false), saved);
}

TEST_F(VstPrograms, ChunkWithoutHeaderIsABareState) {
  EXPECT_EQ(SetChunk(false, StateChunk(false, 12.5, 1.0, -2.0)), 1);
  EXPECT_EQ(ParamDisplay(kDelayParam), "12.500");
  EXPECT_EQ(ParamDisplay(kPanParam), "Right");
  EXPECT_EQ(ParamDisplay(kWetMixParam), "-2.0");
}

TEST_F(VstPrograms, ChunkValuesOutsideTheRangeAreClamped) {
  EXPECT_EQ(SetChunk(true, StateChunk(true, 500.0, 7.0, -99.0)), 1);
  EXPECT_EQ(ParamDisplay(kDelayParam), "40.000");
  EXPECT_EQ(ParamDisplay(kPanParam), "Right");
  EXPECT_EQ(ParamDisplay(kWetMixParam), "-10.0");
}

TEST_F(VstPrograms, NonFiniteChunkValuesNeverReachTheParameters) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  SetChunk(true, StateChunk(true, nan, nan, inf));
  SetChunk(false, StateChunk(false, -inf, nan, nan));
  for (int i = 0; i < 3; ++i) {
    const float v = GetParameter(i);
    EXPECT_TRUE(v >= 0.0f && v <= 1.0f) << "parameter " << i << " = " << v;
  }
  // Audio stays finite.
  Dispatch(effSetSampleRate, 0, 0, nullptr, 44100.0f);
  Dispatch(effSetBlockSize, 0, 256);
  Dispatch(effOpen);
  const auto out = ProcessDouble({TestSignal(256), TestSignal(256, 2.0)}, 256);
  for (const auto& ch : out)
    for (double s : ch) ASSERT_TRUE(std::isfinite(s));
}

TEST_F(VstPrograms, BrokenChunksAreRefused) {
  SetParameterText(kDelayParam, "5");
  const std::vector<unsigned char> good = StateChunk(true, 30.0, 1.0, 1.0);

  // Magic present but the version cut short: nothing read.
  EXPECT_EQ(SetChunk(true, Bytes({0x74, 0x66, 0x66, 0x70, 0x00, 0x00})), 0);
  // Too few bytes for the three values.
  EXPECT_EQ(SetChunk(true, std::vector<unsigned char>(good.begin(), good.begin() + 20)), 0);
  EXPECT_EQ(SetChunk(false, {}), 0);
  // A negative size is refused before anything is read.
  std::vector<unsigned char> data = good;
  EXPECT_EQ(Dispatch(effSetChunk, 0, -1, data.data()), 0);
  EXPECT_EQ(Dispatch(effSetChunk, 0, VstIntPtr(INT_MIN), data.data()), 0);
  EXPECT_EQ(Dispatch(effSetChunk, 0, 32, nullptr), 0);
  if (sizeof(VstIntPtr) > 4) {
    // A size past 32 bits must not wrap around to the 32 bytes the data holds.
    EXPECT_EQ(Dispatch(effSetChunk, 0, static_cast<VstIntPtr>(0x100000020LL), data.data()), 0);
  }
  EXPECT_EQ(ParamDisplay(kPanParam), "Left");
  EXPECT_EQ(ParamDisplay(kWetMixParam), "0");

  // Extra bytes after the values are ignored.
  data.insert(data.end(), 100, 0xAB);
  EXPECT_EQ(SetChunk(true, data), 1);
  EXPECT_EQ(ParamDisplay(kDelayParam), "30.000");
}
