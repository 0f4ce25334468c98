// The component's state stream: deterministic, read in pieces of any size, and refused
// whole (keeping the current state) when it is empty, cut, foreign or damaged; the
// controller rebuilds its values from the same bytes.
#include <gtest/gtest.h>

#include <random>

#include "RandomSeeds.h"
#include "Vst3TestSupport.h"

using namespace vst3;
using vst3host::Instance;
using vst3host::Module;

namespace
{
Module& TheModule()
{
  static Module module(BRINDLOW_VST3_BUNDLE);
  return module;
}

// Sets a parameter the way a host does: a change in a flush and the controller told.
void HostSets(Instance& plugin, ParamID id, double value)
{
  vst3host::ParameterChanges* changes = new vst3host::ParameterChanges;
  changes->Add(id, 0, value);
  plugin.Process32(nullptr, 0, nullptr, 0, 0, changes);
  changes->release();
  plugin.controller->setParamNormalized(id, value);
}

tresult LoadComponent(Instance& plugin, const std::vector<uint8_t>& bytes, int chunk = 1 << 30)
{
  vst3host::MemoryStream* stream = new vst3host::MemoryStream(bytes, chunk);
  const tresult result = plugin.component->setState(stream);
  stream->release();
  return result;
}
} // namespace

TEST(Vst3State, SaveLoadSaveGivesTheSameBytesAndTheSameValuesInPiecesOfAnySize)
{
  Instance source(TheModule());
  ASSERT_TRUE(source.Ok()) << source.Error();
  HostSets(source, 0, 0.3);
  HostSets(source, 1, 1.0);
  HostSets(source, 2, 0.8);
  const std::vector<uint8_t> saved = source.SaveState();
  ASSERT_GT(saved.size(), 16u);
  EXPECT_EQ(source.SaveState(), saved);
  for (int chunk = 1; chunk <= 7; ++chunk)
  {
    EXPECT_EQ(source.SaveState(chunk), saved) << chunk << " bytes per write";
    Instance copy(TheModule());
    ASSERT_TRUE(copy.LoadState(saved, chunk)) << chunk << " bytes per read";
    EXPECT_EQ(copy.SaveState(), saved);
    EXPECT_NEAR(copy.controller->getParamNormalized(0), 0.3, 1e-6);
    EXPECT_DOUBLE_EQ(copy.controller->getParamNormalized(1), 1.0);
    EXPECT_NEAR(copy.controller->getParamNormalized(2), 0.8, 1e-6);
  }
  // The stream is read from where it stands and no further than the state.
  std::vector<uint8_t> embedded = {9, 9, 9};
  embedded.insert(embedded.end(), saved.begin(), saved.end());
  embedded.insert(embedded.end(), {7, 7});
  vst3host::MemoryStream* stream = new vst3host::MemoryStream(embedded, 5);
  stream->position = 3;
  Instance copy(TheModule());
  EXPECT_EQ(copy.component->setState(stream), kResultOk);
  EXPECT_EQ(stream->position, 3 + saved.size());
  stream->release();
  EXPECT_EQ(copy.SaveState(), saved);
  // The controller keeps no state of its own but answers for it.
  vst3host::MemoryStream* empty = new vst3host::MemoryStream;
  EXPECT_EQ(copy.controller->getControllerState(empty), kResultOk);
  EXPECT_EQ(copy.controller->setControllerState(empty), kResultOk);
  empty->release();
}

TEST(Vst3State, EmptyCutForeignAndDamagedStreamsAreRefusedAndTheStateKept)
{
  Instance plugin(TheModule());
  ASSERT_TRUE(plugin.Ok()) << plugin.Error();
  HostSets(plugin, 0, 0.6);
  const std::vector<uint8_t> saved = plugin.SaveState();
  auto refused = [&](const std::vector<uint8_t>& bytes, const char* what) {
    EXPECT_NE(LoadComponent(plugin, bytes, 3), kResultOk) << what;
    vst3host::MemoryStream* stream = new vst3host::MemoryStream(bytes, 3);
    EXPECT_NE(plugin.controller->setComponentState(stream), kResultOk) << what;
    stream->release();
    EXPECT_EQ(plugin.SaveState(), saved) << what;
    EXPECT_NEAR(plugin.controller->getParamNormalized(0), 0.6, 1e-6) << what;
  };
  refused({}, "empty");
  for (size_t cut : {size_t(1), size_t(4), size_t(11), saved.size() / 2, saved.size() - 1})
    refused(std::vector<uint8_t>(saved.begin(), saved.begin() + static_cast<long>(cut)), "truncated");
  std::vector<uint8_t> foreign = saved;
  foreign[0] = 'X';
  refused(foreign, "foreign magic");
  for (size_t at : {size_t(4), size_t(9), size_t(14), saved.size() - 2})
  {
    std::vector<uint8_t> damaged = saved;
    damaged[at] ^= 0x5A;
    refused(damaged, "one byte flipped");
  }
  for (int round = 0; round < 50; ++round)
  {
    const uint32_t seed = test_random::IterationSeed(0x56535433u, round);
    if (!test_random::Selected(seed)) continue;
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    std::vector<uint8_t> noise(random() % 200);
    for (uint8_t& b : noise) b = static_cast<uint8_t>(random());
    if (round % 2 && noise.size() >= 4) std::copy(saved.begin(), saved.begin() + 4, noise.begin());
    refused(noise, "random bytes");
  }
  EXPECT_EQ(plugin.component->setState(nullptr), kInvalidArgument);
  EXPECT_EQ(plugin.component->getState(nullptr), kInvalidArgument);
}

namespace
{
uint32_t Fnv1a(const uint8_t* data, size_t size, uint32_t hash = 2166136261u)
{
  for (size_t i = 0; i < size; ++i) hash = (hash ^ data[i]) * 16777619u;
  return hash;
}

void PutU32(std::vector<uint8_t>& bytes, size_t at, uint32_t value)
{
  for (int i = 0; i < 4; ++i) bytes[at + static_cast<size_t>(i)] = static_cast<uint8_t>(value >> (8 * i));
}
} // namespace

// Streams from before the current program was kept still load (as program 0); a stream
// naming a program the plug-in lacks is refused, however well it is checked.
TEST(Vst3State, AStreamWithoutTheProgramLoadsAsProgramZeroAndOneWithAnUnknownProgramIsRefused)
{
  Instance source(TheModule());
  ASSERT_TRUE(source.Ok()) << source.Error();
  HostSets(source, 0, 0.3);
  HostSets(source, ParamID(0x50726F67), 4 / 16.0); // the program parameter, program 4
  HostSets(source, 0, 0.3);                          // an edit after choosing it
  const std::vector<uint8_t> saved = source.SaveState();
  ASSERT_GT(saved.size(), 20u);
  // "BrCS", version, program, length n, n bytes, check of program and state.
  const size_t n = saved.size() - 20;

  std::vector<uint8_t> old = saved;
  old.erase(old.begin() + 8, old.begin() + 12); // no program word
  PutU32(old, 4, 1);
  PutU32(old, 12 + n, Fnv1a(old.data() + 12, n));
  Instance fromOld(TheModule());
  ASSERT_TRUE(fromOld.LoadState(old));
  EXPECT_NEAR(fromOld.controller->getParamNormalized(0), 0.3, 1e-6);
  EXPECT_DOUBLE_EQ(fromOld.controller->getParamNormalized(ParamID(0x50726F67)), 0.0);

  std::vector<uint8_t> unknown = saved;
  PutU32(unknown, 8, 17);
  PutU32(unknown, 16 + n, Fnv1a(unknown.data() + 16, n, Fnv1a(unknown.data() + 8, 4)));
  Instance plugin(TheModule());
  const std::vector<uint8_t> before = plugin.SaveState();
  EXPECT_NE(LoadComponent(plugin, unknown), kResultOk);
  EXPECT_EQ(plugin.SaveState(), before);
}
