// What the layout pins in clap_abi_layout.h cannot check at compile time: the
// identifier strings a host compares with strcmp, and the numbers both sides
// must agree on. A typo here fails silently in hosts (an extension never found,
// an event never recognised), so each value is checked against its known text.
#include "clap/clap_abi.h"

#include <gtest/gtest.h>

#include <cstdint>

TEST(ClapAbi, IdentifiersAndConstantsHoldTheInterfaceValues)
{
  // Factories and the extensions an effect offers or declines.
  EXPECT_STREQ(CLAP_PLUGIN_FACTORY_ID, "clap.plugin-factory");
  EXPECT_STREQ(CLAP_PRESET_DISCOVERY_FACTORY_ID, "clap.preset-discovery-factory/2");
  EXPECT_STREQ(CLAP_PRESET_DISCOVERY_FACTORY_ID_COMPAT, "clap.preset-discovery-factory/draft-2");
  EXPECT_STREQ(CLAP_EXT_AUDIO_PORTS, "clap.audio-ports");
  EXPECT_STREQ(CLAP_EXT_AUDIO_PORTS_CONFIG, "clap.audio-ports-config");
  EXPECT_STREQ(CLAP_EXT_AUDIO_PORTS_CONFIG_INFO, "clap.audio-ports-config-info/1");
  EXPECT_STREQ(CLAP_EXT_AUDIO_PORTS_CONFIG_INFO_COMPAT, "clap.audio-ports-config-info/draft-0");
  EXPECT_STREQ(CLAP_EXT_PARAMS, "clap.params");
  EXPECT_STREQ(CLAP_EXT_STATE, "clap.state");
  EXPECT_STREQ(CLAP_EXT_STATE_CONTEXT, "clap.state-context/2");
  EXPECT_STREQ(CLAP_EXT_GUI, "clap.gui");
  EXPECT_STREQ(CLAP_EXT_TIMER_SUPPORT, "clap.timer-support");
  EXPECT_STREQ(CLAP_EXT_POSIX_FD_SUPPORT, "clap.posix-fd-support");
  EXPECT_STREQ(CLAP_EXT_LATENCY, "clap.latency");
  EXPECT_STREQ(CLAP_EXT_TAIL, "clap.tail");
  EXPECT_STREQ(CLAP_EXT_RENDER, "clap.render");
  EXPECT_STREQ(CLAP_EXT_NOTE_PORTS, "clap.note-ports");
  EXPECT_STREQ(CLAP_EXT_LOG, "clap.log");
  EXPECT_STREQ(CLAP_EXT_THREAD_CHECK, "clap.thread-check");
  EXPECT_STREQ(CLAP_EXT_PRESET_LOAD, "clap.preset-load/2");
  EXPECT_STREQ(CLAP_EXT_PRESET_LOAD_COMPAT, "clap.preset-load.draft/2");
  EXPECT_STREQ(CLAP_EXT_AUDIO_PORTS_ACTIVATION_COMPAT, "clap.audio-ports-activation/draft-2");
  EXPECT_STREQ(CLAP_EXT_CONFIGURABLE_AUDIO_PORTS_COMPAT, "clap.configurable-audio-ports.draft1");

  // Strings inside records: window APIs, port types, the descriptor's features.
  EXPECT_STREQ(CLAP_WINDOW_API_WIN32, "win32");
  EXPECT_STREQ(CLAP_WINDOW_API_X11, "x11");
  EXPECT_STREQ(CLAP_PORT_STEREO, "stereo");
  EXPECT_STREQ(CLAP_PLUGIN_FEATURE_AUDIO_EFFECT, "audio-effect");
  EXPECT_STREQ(CLAP_PLUGIN_FEATURE_DEESSER, "de-esser");
  EXPECT_STREQ(CLAP_PLUGIN_FEATURE_MULTI_EFFECTS, "multi-effects");

  // Version: written into the entry and every descriptor; hosts refuse 0.x.
  EXPECT_EQ(CLAP_VERSION.major, 1u);
  EXPECT_EQ(CLAP_VERSION.minor, 2u);
  EXPECT_EQ(CLAP_VERSION.revision, 10u);
  EXPECT_TRUE(clap_version_is_compatible(CLAP_VERSION));
  EXPECT_TRUE(clap_version_is_compatible(clap_version_t{2, 0, 0}));
  EXPECT_FALSE(clap_version_is_compatible(clap_version_t{0, 3, 2}));

  // Numbers that travel in records and events.
  EXPECT_EQ(CLAP_INVALID_ID, static_cast<clap_id>(-1));
  EXPECT_EQ(CLAP_INVALID_ID, 0xFFFFFFFFu);
  EXPECT_EQ(CLAP_BEATTIME_FACTOR, std::int64_t{1} << 31);
  EXPECT_EQ(CLAP_SECTIME_FACTOR, std::int64_t{1} << 31);
  EXPECT_EQ(CLAP_CORE_EVENT_SPACE_ID, 0);
  EXPECT_EQ(CLAP_EVENT_PARAM_VALUE, 5);
  EXPECT_EQ(CLAP_EVENT_PARAM_GESTURE_END, 8);
  EXPECT_EQ(CLAP_EVENT_MIDI2, 12);
  EXPECT_EQ(CLAP_PROCESS_SLEEP, 4);
  EXPECT_EQ(CLAP_PARAM_IS_BYPASS, 16);
  EXPECT_EQ(CLAP_PARAM_REQUIRES_PROCESS, 32768);
  EXPECT_EQ(CLAP_PARAM_IS_ENUM, 65536);
  EXPECT_EQ(CLAP_PRESET_DISCOVERY_LOCATION_PLUGIN, 1);
  EXPECT_EQ(CLAP_NAME_SIZE, 256);
  EXPECT_EQ(CLAP_PATH_SIZE, 1024);
}
