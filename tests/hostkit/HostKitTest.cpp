// The host kits where the hosts built on them do not look: a module of another format is
// refused with its reason, and the VST 2.4 kit answers each effect's calls through its
// own host, whatever the thread.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "ClapHostKit.h"
#include "VstHostKit.h"

TEST(HostKitLoading, EachKitRefusesWhatIsNotItsFormatAndSaysWhy)
{
  std::string error;
  hostkit::ClapModule clap;
  EXPECT_FALSE(clap.Load(BRINDLOW_PLUGIN_PATH, error));
  EXPECT_EQ(error, "it exports no clap_entry");
  EXPECT_EQ(clap.Entry(), nullptr);
  EXPECT_EQ(clap.PluginFactory(), nullptr);

  hostkit::VstModule vst;
  EXPECT_FALSE(vst.Load(BRINDLOW_CLAP_PATH, error));
  EXPECT_EQ(error, "no VSTPluginMain entry point");
  EXPECT_EQ(vst.Main(), nullptr);

  error.clear();
  EXPECT_FALSE(vst.Load("no-such-dir/Brindlow.so", error));
  EXPECT_NE(error.find("no-such-dir/Brindlow.so"), std::string::npos) << error;

  // A refused load leaves a module that loads its own format afterwards.
  ASSERT_TRUE(clap.Load(BRINDLOW_CLAP_PATH, error)) << error;
  EXPECT_NE(clap.PluginFactory(), nullptr);
  ASSERT_TRUE(vst.Load(BRINDLOW_PLUGIN_PATH, error)) << error;
  EXPECT_NE(vst.NamedMain(), nullptr);
}

namespace
{
// Counts the calls it answers, and whether any came with another host's effect.
class CountingHost : public hostkit::VstHost
{
public:
  VstIntPtr Answer(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                   float opt) override
  {
    ++calls;
    if (mine && effect != mine) ++foreign;
    return VstHost::Answer(effect, opcode, index, value, ptr, opt);
  }
  std::atomic<AEffect*> mine{nullptr};
  std::atomic<int> calls{0}, foreign{0};
};
} // namespace

TEST(HostKitVst, EachEffectsCallsReachItsOwnHostOnAnyThread)
{
  std::string error;
  hostkit::VstModule module;
  // Kept mapped, as in every test: the libraries it brings keep their allocations reachable.
  ASSERT_TRUE(module.Load(BRINDLOW_PLUGIN_PATH, error, true)) << error;
  CountingHost hosts[2];
  std::thread threads[2];
  for (int h = 0; h < 2; ++h)
    threads[h] = std::thread([&, h] {
      std::string why;
      AEffect* effect = hosts[h].MakeEffect(module, why);
      hosts[h].mine = effect;
      if (!effect) return;
      // Opening identifies the host: the plug-in asks it for its product string.
      for (int i = 0; i < 50; ++i) hostkit::Dispatch(effect, effOpen);
      hosts[h].CloseEffect(effect);
    });
  for (std::thread& t : threads) t.join();
  for (const CountingHost& host : hosts)
  {
    ASSERT_NE(host.mine.load(), nullptr);
    EXPECT_GT(host.calls.load(), 0);
    EXPECT_EQ(host.foreign.load(), 0);
  }
  // A closed effect's calls reach no host: the plain answers.
  EXPECT_EQ(hostkit::VstHost::Callback(hosts[0].mine, audioMasterVersion, 0, 0, nullptr, 0.0f), 2400);
  EXPECT_EQ(hostkit::VstHost::Callback(hosts[0].mine, audioMasterGetSampleRate, 0, 0, nullptr, 0.0f), 0);
}
