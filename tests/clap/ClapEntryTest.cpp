// What hosts check before they use a plug-in: the entry, the factory and descriptor,
// the extensions offered and refused, audio ports and parameters.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <set>
#include <string>

#include "ClapTestHost.h"

namespace
{
std::vector<std::string> Features(const clap_plugin_descriptor_t* desc)
{
  std::vector<std::string> out;
  for (const char* const* f = desc->features; f && *f; ++f) out.push_back(*f);
  return out;
}
} // namespace

TEST(ClapEntry, InitIsRepeatSafeAndFactoriesAnswerOnlyTheirIds)
{
  ClapModule module;
  ASSERT_TRUE(module.Entry()) << module.Error();
  const clap_plugin_entry_t* entry = module.Entry();
  EXPECT_TRUE(clap_version_is_compatible(entry->clap_version));
  // A second init before deinit only counts; the matching deinit leaves the library usable.
  EXPECT_TRUE(entry->init(BRINDLOW_CLAP_PATH));
  entry->deinit();
  EXPECT_NE(entry->get_factory(CLAP_PLUGIN_FACTORY_ID), nullptr);
  const void* presets = entry->get_factory(CLAP_PRESET_DISCOVERY_FACTORY_ID);
  EXPECT_NE(presets, nullptr);
  EXPECT_EQ(entry->get_factory(CLAP_PRESET_DISCOVERY_FACTORY_ID_COMPAT), presets);
  EXPECT_EQ(entry->get_factory("clap.plugin-factory.invented"), nullptr);
  EXPECT_EQ(entry->get_factory(""), nullptr);
  EXPECT_EQ(entry->get_factory(nullptr), nullptr);
}

TEST(ClapEntry, DescriptorNamesTheProduct)
{
  ClapModule module;
  const clap_plugin_factory_t* factory = module.Factory();
  ASSERT_TRUE(factory) << module.Error();
  ASSERT_EQ(factory->get_plugin_count(factory), 1u);
  EXPECT_EQ(factory->get_plugin_descriptor(factory, 1), nullptr);
  const clap_plugin_descriptor_t* desc = factory->get_plugin_descriptor(factory, 0);
  ASSERT_TRUE(desc);
  EXPECT_STREQ(desc->id, "com.ardelnu.brindlow");
  EXPECT_STREQ(desc->name, "Brindlow-Mono/Stereo Delay");
  EXPECT_STREQ(desc->vendor, "Ardelnu");
  EXPECT_STREQ(desc->version, "1.3.0"); // the version word 0x00010300
  const std::vector<std::string> features = Features(desc);
  EXPECT_EQ(features, (std::vector<std::string>{"audio-effect", "delay", "stereo", "mono"}));
  EXPECT_EQ(std::set<std::string>(features.begin(), features.end()).size(), features.size());
}

TEST(ClapEntry, CreateMatchesTheExactIdAndThePluginCarriesTheDescriptor)
{
  ClapModule module;
  const clap_plugin_factory_t* factory = module.Factory();
  ASSERT_TRUE(factory) << module.Error();
  ClapTestHost host;
  for (const char* wrong : {"com.ardelnu.brindlow.x", "com.ardelnu.brindlo", "", "COM.ARDELNU.BRINDLOW"})
    EXPECT_EQ(factory->create_plugin(factory, host.Host(), wrong), nullptr) << wrong;
  ClapInstance instance(module, host);
  ASSERT_TRUE(instance.plugin);
  EXPECT_EQ(instance.plugin->desc, factory->get_plugin_descriptor(factory, 0));
}

TEST(ClapEntry, OffersWhatAnEffectNeedsAndNothingElse)
{
  ClapModule module;
  ClapTestHost host;
  ClapInstance instance(module, host);
  ASSERT_TRUE(instance.plugin) << module.Error();
  const clap_plugin_t* p = instance.plugin;
  for (const char* id : {CLAP_EXT_AUDIO_PORTS, CLAP_EXT_AUDIO_PORTS_CONFIG, CLAP_EXT_PARAMS, CLAP_EXT_STATE,
                         CLAP_EXT_TAIL, CLAP_EXT_GUI, CLAP_EXT_PRESET_LOAD, CLAP_EXT_PRESET_LOAD_COMPAT,
                         CLAP_EXT_TIMER_SUPPORT, CLAP_EXT_POSIX_FD_SUPPORT})
    EXPECT_NE(p->get_extension(p, id), nullptr) << id;
  // No latency (it is 0), no notes, no render mode; unknown ids give null.
  for (const char* id : {CLAP_EXT_LATENCY, CLAP_EXT_NOTE_PORTS, CLAP_EXT_RENDER, CLAP_EXT_STATE_CONTEXT,
                         CLAP_EXT_AUDIO_PORTS_ACTIVATION, CLAP_EXT_REMOTE_CONTROLS, "clap.params/2", ""})
    EXPECT_EQ(p->get_extension(p, id), nullptr) << id;
}

TEST(ClapEntry, MainStereoPortsInPlaceAndTwoConfigurations)
{
  ClapModule module;
  ClapTestHost host;
  ClapInstance instance(module, host);
  ASSERT_TRUE(instance.plugin) << module.Error();
  auto ports = instance.Ext<clap_plugin_audio_ports_t>(CLAP_EXT_AUDIO_PORTS);
  auto configs = instance.Ext<clap_plugin_audio_ports_config_t>(CLAP_EXT_AUDIO_PORTS_CONFIG);
  for (bool isInput : {true, false})
  {
    ASSERT_EQ(ports->count(instance.plugin, isInput), 1u);
    clap_audio_port_info_t info;
    ASSERT_TRUE(ports->get(instance.plugin, 0, isInput, &info));
    EXPECT_TRUE(info.flags & CLAP_AUDIO_PORT_IS_MAIN);
    EXPECT_TRUE(info.flags & CLAP_AUDIO_PORT_SUPPORTS_64BITS);
    EXPECT_EQ(info.channel_count, 2u);
    EXPECT_STREQ(info.port_type, CLAP_PORT_STEREO);
    EXPECT_EQ(info.in_place_pair, info.id); // input and output share id 0
    EXPECT_FALSE(ports->get(instance.plugin, 1, isInput, &info));
  }
  ASSERT_EQ(configs->count(instance.plugin), 2u);
  clap_audio_ports_config_t mono, stereo;
  ASSERT_TRUE(configs->get(instance.plugin, 0, &mono));
  ASSERT_TRUE(configs->get(instance.plugin, 1, &stereo));
  EXPECT_EQ(mono.main_input_channel_count, 1u);
  EXPECT_EQ(stereo.main_input_channel_count, 2u);
  EXPECT_EQ(mono.main_output_channel_count, 2u);

  // Selected while inactive, the input port follows; while active, refused.
  ASSERT_TRUE(configs->select(instance.plugin, mono.id));
  clap_audio_port_info_t in;
  ASSERT_TRUE(ports->get(instance.plugin, 0, true, &in));
  EXPECT_EQ(in.channel_count, 1u);
  EXPECT_STREQ(in.port_type, CLAP_PORT_MONO);
  ASSERT_TRUE(instance.Activate());
  EXPECT_FALSE(configs->select(instance.plugin, stereo.id));
  instance.Deactivate();
  EXPECT_TRUE(configs->select(instance.plugin, stereo.id));
  EXPECT_FALSE(configs->select(instance.plugin, 7));
}

TEST(ClapEntry, ParametersHaveRealRangesDefaultsAndRoundTripTexts)
{
  ClapModule module;
  ClapTestHost host;
  ClapInstance instance(module, host);
  ASSERT_TRUE(instance.plugin) << module.Error();
  auto params = instance.Ext<clap_plugin_params_t>(CLAP_EXT_PARAMS);
  const clap_plugin_t* p = instance.plugin;
  ASSERT_EQ(params->count(p), 3u);
  struct Expected
  {
    const char* name;
    double min, max, def;
    bool enumerated;
  } expected[] = {{"Delay", 1, 40, 20, false}, {"Pan", 0, 1, 0, true}, {"Wet Mix", -10, 10, 0, false}};
  for (uint32_t i = 0; i < 3; ++i)
  {
    clap_param_info_t info;
    ASSERT_TRUE(params->get_info(p, i, &info));
    EXPECT_EQ(info.id, i); // ids stay the indexes for ever
    EXPECT_STREQ(info.name, expected[i].name);
    EXPECT_EQ(info.min_value, expected[i].min);
    EXPECT_EQ(info.max_value, expected[i].max);
    EXPECT_EQ(info.default_value, expected[i].def);
    EXPECT_TRUE(info.flags & CLAP_PARAM_IS_AUTOMATABLE);
    EXPECT_EQ(bool(info.flags & CLAP_PARAM_IS_ENUM), expected[i].enumerated);
    EXPECT_EQ(bool(info.flags & CLAP_PARAM_IS_STEPPED), expected[i].enumerated);
    double value = -99;
    ASSERT_TRUE(params->get_value(p, i, &value));
    EXPECT_EQ(value, expected[i].def); // right after init, each default

    // value -> text -> value -> text gives the same text, across the range.
    for (double x : {expected[i].min, expected[i].def, expected[i].max, (expected[i].min + expected[i].max) / 3})
    {
      char text[64], again[64];
      ASSERT_TRUE(params->value_to_text(p, i, x, text, sizeof(text)));
      double back = 0;
      ASSERT_TRUE(params->text_to_value(p, i, text, &back)) << text;
      ASSERT_TRUE(params->value_to_text(p, i, back, again, sizeof(again)));
      EXPECT_STREQ(text, again);
    }
  }
  char text[64];
  ASSERT_TRUE(params->value_to_text(p, 0, 20.0, text, sizeof(text)));
  EXPECT_STREQ(text, "20.000 ms");
  ASSERT_TRUE(params->value_to_text(p, 1, 1.0, text, sizeof(text)));
  EXPECT_STREQ(text, "Right");
  ASSERT_TRUE(params->value_to_text(p, 2, 0.0, text, 4)); // cut to the capacity, terminated
  EXPECT_EQ(std::strlen(text), 3u);
  double v;
  EXPECT_TRUE(params->text_to_value(p, 1, "Left", &v));
  EXPECT_EQ(v, 0.0);
  EXPECT_FALSE(params->text_to_value(p, 1, "Centre", &v));
  EXPECT_FALSE(params->text_to_value(p, 0, "nan", &v));
  EXPECT_FALSE(params->get_info(p, 3, nullptr));
  EXPECT_FALSE(params->get_value(p, 3, &v));
  EXPECT_FALSE(params->value_to_text(p, 3, 0.0, text, sizeof(text)));
}
