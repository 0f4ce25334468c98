// Loading preset files into plug-ins in this process: a file the plug-in
// refuses leaves its state as it was; a bank brings its program names along.
#include "VstPluginHost.h"
#include "PresetTransfer.h"

#include <gtest/gtest.h>

#include <cstring>

namespace
{
PresetFile FakeChunkProgram(const PluginHost& host, std::vector<unsigned char> chunk)
{
  PresetFile file;
  file.kind = PresetFile::Kind::kProgramChunk;
  file.pluginId = host.UniqueId();
  file.count = host.NumParams();
  file.chunk = std::move(chunk);
  return file;
}

std::vector<unsigned char> FakeChunk(float level, float side, size_t size)
{
  std::vector<unsigned char> chunk(16, 0);
  std::memcpy(chunk.data(), "FKST", 4);
  std::memcpy(chunk.data() + 4, &level, 4);
  std::memcpy(chunk.data() + 8, &side, 4);
  chunk.resize(size);
  return chunk;
}
} // namespace

TEST(PresetTransfer, AChunkThePluginRefusesLeavesItsStateAsItWas)
{
  VstPluginHost host;
  std::string error;
  ASSERT_TRUE(host.Load(FAKE_CHUNK_PLUGIN, error)) << error;
  host.SetParamValue(0, 0.25f);
  host.SetParamValue(1, 0.9f);

  // The plug-in reads level and side from this short chunk before refusing it.
  EXPECT_FALSE(LoadPreset(host, FakeChunkProgram(host, FakeChunk(0.75f, 0.1f, 12)), error));
  EXPECT_NE(error.find("did not accept"), std::string::npos) << error;
  EXPECT_EQ(host.ParamValue(0), 0.25f);
  EXPECT_EQ(host.ParamValue(1), 0.9f);

  PresetFile foreign = FakeChunkProgram(host, FakeChunk(0.75f, 0.1f, 16));
  foreign.pluginId = 0x6B797668;
  EXPECT_FALSE(LoadPreset(host, foreign, error));
  EXPECT_EQ(host.ParamValue(0), 0.25f);

  ASSERT_TRUE(LoadPreset(host, FakeChunkProgram(host, FakeChunk(0.75f, 0.1f, 16)), error)) << error;
  EXPECT_EQ(host.ParamValue(0), 0.75f);
  EXPECT_EQ(host.ParamValue(1), 0.1f);
}

TEST(PresetTransfer, BrindlowBankBringsItsNamesValuesAndCurrentProgram)
{
  VstPluginHost host;
  std::string error;
  ASSERT_TRUE(host.Load(BRINDLOW_PLUGIN, error)) << error;
  host.Prepare(44100.0, 256, 1, false);

  PresetFile bank;
  ASSERT_TRUE(CapturePreset(host, true, bank, error)) << error;
  ASSERT_EQ(bank.kind, PresetFile::Kind::kBank);
  ASSERT_EQ(bank.programs.size(), static_cast<size_t>(host.NumPrograms()));
  for (size_t i = 0; i < bank.programs.size(); ++i) {
    bank.programs[i].name = "Slot " + std::to_string(i) + " with a name longer than the host field";
    bank.programs[i].values = {static_cast<float>(i) / 16.0f, static_cast<float>(i % 2), 0.5f};
  }
  bank.currentProgram = 5;
  ASSERT_TRUE(LoadPreset(host, bank, error)) << error;

  EXPECT_EQ(host.CurrentProgram(), 5);
  EXPECT_EQ(host.ParamValue(0), 5.0f / 16.0f);
  EXPECT_EQ(host.ParamValue(1), 1.0f);
  const std::vector<std::string> names = host.ProgramNames();
  for (size_t i = 0; i < names.size(); ++i)
    EXPECT_EQ(names[i], bank.programs[i].name.substr(0, kVstMaxProgNameLen - 1)) << i;

  // Saved again, the bank is what was loaded (names within the host field).
  PresetFile again;
  ASSERT_TRUE(CapturePreset(host, true, again, error)) << error;
  EXPECT_EQ(again.currentProgram, 5);
  for (size_t i = 0; i < again.programs.size(); ++i) EXPECT_EQ(again.programs[i].values, bank.programs[i].values) << i;
  EXPECT_EQ(host.CurrentProgram(), 5);
}
