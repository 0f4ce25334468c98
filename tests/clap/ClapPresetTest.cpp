// The built-in programs in a host's preset browser: discovery without an instance,
// then loading each one into an instance by its key.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ClapTestHost.h"

namespace
{
struct Indexer
{
  std::vector<clap_preset_discovery_location_t> locations;
  std::vector<std::string> names;
  clap_preset_discovery_indexer_t clap{};

  Indexer()
  {
    clap.clap_version = CLAP_VERSION;
    clap.name = "test indexer";
    clap.indexer_data = this;
    clap.declare_filetype = [](const clap_preset_discovery_indexer_t*, const clap_preset_discovery_filetype_t*) {
      return true;
    };
    clap.declare_location = [](const clap_preset_discovery_indexer_t* i, const clap_preset_discovery_location_t* l) {
      auto* self = static_cast<Indexer*>(i->indexer_data);
      self->locations.push_back(*l);
      self->names.push_back(l->name ? l->name : "");
      return true;
    };
    clap.declare_soundpack = nullptr;
    clap.get_extension = [](const clap_preset_discovery_indexer_t*, const char*) -> const void* { return nullptr; };
  }
};

struct Preset
{
  std::string name, key;
  std::vector<std::pair<std::string, std::string>> pluginIds;
};

struct Receiver
{
  std::vector<Preset> presets;
  int errors = 0;
  size_t stopAfter = SIZE_MAX;
  clap_preset_discovery_metadata_receiver_t clap{};

  static Receiver* Of(const clap_preset_discovery_metadata_receiver_t* r)
  {
    return static_cast<Receiver*>(r->receiver_data);
  }
  Receiver()
  {
    clap.receiver_data = this;
    clap.on_error = [](const clap_preset_discovery_metadata_receiver_t* r, int32_t, const char*) { ++Of(r)->errors; };
    clap.begin_preset = [](const clap_preset_discovery_metadata_receiver_t* r, const char* name, const char* key) {
      if (Of(r)->presets.size() >= Of(r)->stopAfter) return false;
      Of(r)->presets.push_back({name ? name : "(null)", key ? key : "(null)", {}});
      return true;
    };
    clap.add_plugin_id = [](const clap_preset_discovery_metadata_receiver_t* r, const clap_universal_plugin_id_t* id) {
      Of(r)->presets.back().pluginIds.push_back({id->abi, id->id});
    };
    clap.set_soundpack_id = [](const clap_preset_discovery_metadata_receiver_t*, const char*) {};
    clap.set_flags = [](const clap_preset_discovery_metadata_receiver_t*, uint32_t) {};
    clap.add_creator = [](const clap_preset_discovery_metadata_receiver_t*, const char*) {};
    clap.set_description = [](const clap_preset_discovery_metadata_receiver_t*, const char*) {};
    clap.set_timestamps = [](const clap_preset_discovery_metadata_receiver_t*, clap_timestamp, clap_timestamp) {};
    clap.add_feature = [](const clap_preset_discovery_metadata_receiver_t*, const char*) {};
    clap.add_extra_info = [](const clap_preset_discovery_metadata_receiver_t*, const char*, const char*) {};
  }
};

std::vector<Preset> Discover(ClapModule& module, Indexer& indexer, size_t stopAfter = SIZE_MAX)
{
  auto factory = static_cast<const clap_preset_discovery_factory_t*>(
    module.Entry()->get_factory(CLAP_PRESET_DISCOVERY_FACTORY_ID));
  EXPECT_EQ(factory->count(factory), 1u);
  const clap_preset_discovery_provider_descriptor_t* desc = factory->get_descriptor(factory, 0);
  EXPECT_EQ(factory->get_descriptor(factory, 1), nullptr);
  EXPECT_EQ(factory->create(factory, &indexer.clap, "com.ardelnu.other"), nullptr);
  const clap_preset_discovery_provider_t* provider = factory->create(factory, &indexer.clap, desc->id);
  EXPECT_EQ(provider->desc, desc);
  EXPECT_TRUE(provider->init(provider));
  Receiver receiver;
  receiver.stopAfter = stopAfter;
  EXPECT_TRUE(provider->get_metadata(provider, CLAP_PRESET_DISCOVERY_LOCATION_PLUGIN, nullptr, &receiver.clap));
  EXPECT_EQ(receiver.errors, 0);
  provider->destroy(provider);
  return receiver.presets;
}
} // namespace

TEST(ClapPresets, DiscoveryListsEveryProgramInOnePluginLocation)
{
  ClapModule module;
  ASSERT_TRUE(module.Entry()) << module.Error();
  Indexer indexer;
  const std::vector<Preset> presets = Discover(module, indexer);
  ASSERT_EQ(indexer.locations.size(), 1u);
  EXPECT_EQ(indexer.locations[0].kind, uint32_t(CLAP_PRESET_DISCOVERY_LOCATION_PLUGIN));
  EXPECT_EQ(indexer.locations[0].location, nullptr);
  EXPECT_TRUE(indexer.locations[0].flags & CLAP_PRESET_DISCOVERY_IS_FACTORY_CONTENT);
  ASSERT_EQ(presets.size(), 17u);
  EXPECT_EQ(presets[0].name, "RESET to defaults");
  EXPECT_EQ(presets[1].name, "Vocal Doubler");
  EXPECT_EQ(presets[16].name, "User 4");
  for (size_t i = 0; i < presets.size(); ++i)
  {
    EXPECT_EQ(presets[i].key, std::to_string(i));
    ASSERT_EQ(presets[i].pluginIds.size(), 1u);
    EXPECT_EQ(presets[i].pluginIds[0], std::make_pair(std::string("clap"), std::string("com.ardelnu.brindlow")));
  }
  // A receiver that wants no more is not called again.
  Indexer again;
  EXPECT_EQ(Discover(module, again, 3).size(), 3u);
}

TEST(ClapPresets, EveryDiscoveredKeyLoadsAndTheHostIsTold)
{
  ClapModule module;
  ASSERT_TRUE(module.Entry()) << module.Error();
  Indexer indexer;
  const std::vector<Preset> presets = Discover(module, indexer);
  ClapTestHost host;
  ClapInstance instance(module, host);
  ASSERT_TRUE(instance.plugin);
  auto load = instance.Ext<clap_plugin_preset_load_t>(CLAP_EXT_PRESET_LOAD);
  EXPECT_EQ(load, instance.Ext<clap_plugin_preset_load_t>(CLAP_EXT_PRESET_LOAD_COMPAT));
  auto params = instance.Ext<clap_plugin_params_t>(CLAP_EXT_PARAMS);
  ASSERT_TRUE(instance.Activate());
  for (const Preset& preset : presets)
  {
    ASSERT_TRUE(load->from_location(instance.plugin, CLAP_PRESET_DISCOVERY_LOCATION_PLUGIN, nullptr,
                                    preset.key.c_str()));
    ASSERT_EQ(host.loadedKeys.back(), preset.key);
    ASSERT_EQ(host.rescans.back(), uint32_t(CLAP_PARAM_RESCAN_VALUES));
    ClapBlock block(128);
    block.Run(instance.plugin); // validators process a block after each load
  }
  EXPECT_TRUE(host.presetErrors.empty());
  // "Vocal Doubler": 40 ms, Left, -4.1 dB.
  ASSERT_TRUE(load->from_location(instance.plugin, CLAP_PRESET_DISCOVERY_LOCATION_PLUGIN, nullptr, "1"));
  double delay, wet;
  params->get_value(instance.plugin, 0, &delay);
  params->get_value(instance.plugin, 2, &wet);
  EXPECT_DOUBLE_EQ(delay, 40.0);
  EXPECT_DOUBLE_EQ(wet, -4.1);

  // A program loads as defined, whatever the instance did since: edits, a state save,
  // another program.
  ClapEventList edit;
  edit.AddParam(0, 0, 5.0);
  params->flush(instance.plugin, edit.In(), ClapOutputList().Out());
  ClapOutStream saved;
  auto state = instance.Ext<clap_plugin_state_t>(CLAP_EXT_STATE);
  ASSERT_TRUE(state->save(instance.plugin, &saved.stream));
  ASSERT_TRUE(load->from_location(instance.plugin, CLAP_PRESET_DISCOVERY_LOCATION_PLUGIN, nullptr, "2"));
  ASSERT_TRUE(load->from_location(instance.plugin, CLAP_PRESET_DISCOVERY_LOCATION_PLUGIN, nullptr, "1"));
  params->get_value(instance.plugin, 0, &delay);
  EXPECT_DOUBLE_EQ(delay, 40.0);

  const size_t loaded = host.loadedKeys.size();
  for (const char* key : {"17", "-1", "1x", "", "Vocal Doubler", "99999"})
    EXPECT_FALSE(load->from_location(instance.plugin, CLAP_PRESET_DISCOVERY_LOCATION_PLUGIN, nullptr, key)) << key;
  EXPECT_FALSE(load->from_location(instance.plugin, CLAP_PRESET_DISCOVERY_LOCATION_FILE, "/tmp/x", "1"));
  EXPECT_EQ(host.presetErrors.size(), 7u);
  EXPECT_EQ(host.loadedKeys.size(), loaded);
  params->get_value(instance.plugin, 0, &delay);
  EXPECT_DOUBLE_EQ(delay, 40.0);
}
