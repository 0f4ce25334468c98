// The built bundle as lilv reads it: what hosts show of the two plug-ins and their UI.
#include <gtest/gtest.h>

#include <lilv/lilv.h>
#include <lv2/core/lv2.h>
#include <lv2/port-props/port-props.h>
#include <lv2/ui/ui.h>
#include <lv2/units/units.h>
#include <lv2/urid/urid.h>

#include <cmath>
#include <string>
#include <vector>

#include "Lv2TestHost.h"

namespace
{
struct Expected
{
  const char* uri;
  const char* name;
  unsigned inputs;
};
const Expected kPlugins[] = {
  {"urn:ardelnu:brindlow:mono", "Brindlow-Mono/Stereo Delay (Mono)", 1},
  {"urn:ardelnu:brindlow:stereo", "Brindlow-Mono/Stereo Delay", 2},
};

std::string Text(LilvNode* node)
{
  std::string text = node ? lilv_node_as_string(node) : "";
  lilv_node_free(node);
  return text;
}

int IntegerOf(LilvWorld* world, const LilvPlugin* plugin, const char* predicate)
{
  Lv2World& w = Lv2World::Get();
  (void)world;
  LilvNodes* values = lilv_plugin_get_value(plugin, w.Node(predicate));
  const int value = values && lilv_nodes_size(values) == 1 ? lilv_node_as_int(lilv_nodes_get_first(values)) : -1;
  lilv_nodes_free(values);
  return value;
}

const LilvPort* Port(const LilvPlugin* plugin, const char* symbol)
{
  LilvNode* node = lilv_new_string(Lv2World::Get().World(), symbol);
  const LilvPort* port = lilv_plugin_get_port_by_symbol(plugin, node);
  lilv_node_free(node);
  return port;
}
} // namespace

TEST(Lv2Bundle, BothPluginsAsHostsShowThem)
{
  Lv2World& w = Lv2World::Get();
  for (const Expected& e : kPlugins)
  {
    const LilvPlugin* plugin = w.Plugin(e.uri);
    ASSERT_NE(plugin, nullptr) << e.uri << " not in the bundle";
    EXPECT_TRUE(lilv_plugin_verify(plugin)) << e.uri;
    EXPECT_EQ(Text(lilv_plugin_get_name(plugin)), e.name);
    EXPECT_EQ(Text(lilv_plugin_get_author_name(plugin)), "Ardelnu");
    // (The world holds this bundle only, no lv2core to rank the classes: ask for the type.)
    LilvNodes* types = lilv_plugin_get_value(plugin, w.Node(LILV_NS_RDF "type"));
    EXPECT_TRUE(lilv_nodes_contains(types, w.Node(LV2_CORE__DelayPlugin))) << e.uri;
    lilv_nodes_free(types);
    EXPECT_EQ(IntegerOf(w.World(), plugin, LV2_CORE__minorVersion), 3);
    EXPECT_EQ(IntegerOf(w.World(), plugin, LV2_CORE__microVersion), 0);

    LilvNodes* required = lilv_plugin_get_required_features(plugin);
    ASSERT_EQ(lilv_nodes_size(required), 1u) << e.uri;
    EXPECT_STREQ(lilv_node_as_uri(lilv_nodes_get_first(required)), LV2_URID__map);
    lilv_nodes_free(required);

    EXPECT_EQ(lilv_plugin_get_num_ports_of_class(plugin, w.Node(LV2_CORE__InputPort), w.Node(LV2_CORE__AudioPort),
                                                 nullptr),
              e.inputs);
    EXPECT_EQ(lilv_plugin_get_num_ports_of_class(plugin, w.Node(LV2_CORE__OutputPort), w.Node(LV2_CORE__AudioPort),
                                                 nullptr),
              2u);

    LilvUIs* uis = lilv_plugin_get_uis(plugin);
    ASSERT_EQ(lilv_uis_size(uis), 1u) << e.uri;
    const LilvUI* ui = lilv_uis_get(uis, lilv_uis_begin(uis));
    EXPECT_STREQ(lilv_node_as_uri(lilv_ui_get_uri(ui)), "urn:ardelnu:brindlow:ui");
    EXPECT_TRUE(lilv_ui_is_a(ui, w.Node(LV2_UI__X11UI)));
    char* path = lilv_file_uri_parse(lilv_node_as_uri(lilv_ui_get_binary_uri(ui)), nullptr);
    EXPECT_TRUE(path && std::string(path).find("Brindlow.lv2/") != std::string::npos) << (path ? path : "");
    lilv_free(path);
    lilv_uis_free(uis);
  }
}

TEST(Lv2Bundle, ControlPortsCarryRealValues)
{
  Lv2World& w = Lv2World::Get();
  for (const Expected& e : kPlugins)
  {
    const LilvPlugin* plugin = w.Plugin(e.uri);
    ASSERT_NE(plugin, nullptr);
    struct Control
    {
      const char* symbol;
      uint32_t index;
      const char* name;
      float minimum, maximum, defaultValue;
      const char* unit;
    };
    const Control controls[] = {
      {"delay", 0, "Delay", 1.0f, 40.0f, 20.0f, LV2_UNITS__ms},
      {"pan", 1, "Pan", 0.0f, 1.0f, 0.0f, nullptr},
      {"wet_mix", 2, "Wet Mix", -10.0f, 10.0f, 0.0f, LV2_UNITS__db},
    };
    for (const Control& c : controls)
    {
      const LilvPort* port = Port(plugin, c.symbol);
      ASSERT_NE(port, nullptr) << c.symbol;
      EXPECT_EQ(lilv_port_get_index(plugin, port), c.index) << c.symbol;
      EXPECT_TRUE(lilv_port_is_a(plugin, port, w.Node(LV2_CORE__ControlPort)));
      EXPECT_TRUE(lilv_port_is_a(plugin, port, w.Node(LV2_CORE__InputPort)));
      EXPECT_EQ(Text(lilv_port_get_name(plugin, port)), c.name);
      LilvNode *def = nullptr, *min = nullptr, *max = nullptr;
      lilv_port_get_range(plugin, port, &def, &min, &max);
      EXPECT_EQ(lilv_node_as_float(def), c.defaultValue) << c.symbol;
      EXPECT_EQ(lilv_node_as_float(min), c.minimum) << c.symbol;
      EXPECT_EQ(lilv_node_as_float(max), c.maximum) << c.symbol;
      lilv_node_free(def);
      lilv_node_free(min);
      lilv_node_free(max);
      LilvNodes* units = lilv_port_get_value(plugin, port, w.Node(LV2_UNITS__unit));
      if (c.unit)
      {
        ASSERT_EQ(lilv_nodes_size(units), 1u) << c.symbol;
        EXPECT_STREQ(lilv_node_as_uri(lilv_nodes_get_first(units)), c.unit);
      }
      else
      {
        EXPECT_EQ(lilv_nodes_size(units), 0u) << c.symbol;
      }
      lilv_nodes_free(units);
    }

    const LilvPort* pan = Port(plugin, "pan");
    EXPECT_TRUE(lilv_port_has_property(plugin, pan, w.Node(LV2_CORE__integer)));
    EXPECT_TRUE(lilv_port_has_property(plugin, pan, w.Node(LV2_CORE__enumeration)));
    LilvScalePoints* points = lilv_port_get_scale_points(plugin, pan);
    ASSERT_EQ(lilv_scale_points_size(points), 2u);
    std::string texts[2];
    LILV_FOREACH(scale_points, it, points)
    {
      const LilvScalePoint* point = lilv_scale_points_get(points, it);
      const int value = lilv_node_as_int(lilv_scale_point_get_value(point));
      ASSERT_TRUE(value == 0 || value == 1);
      texts[value] = lilv_node_as_string(lilv_scale_point_get_label(point));
    }
    lilv_scale_points_free(points);
    EXPECT_EQ(texts[0], "Left");
    EXPECT_EQ(texts[1], "Right");
  }
}

TEST(Lv2Bundle, TheReadOutPortsComeAfterEveryOtherPortAndAreNoParameters)
{
  // Indices and symbols are what saved sessions hold: the ports that came first keep theirs.
  Lv2World& w = Lv2World::Get();
  const std::vector<std::vector<const char*>> layouts = {
    {"delay", "pan", "wet_mix", "in", "out_left", "out_right", "mono_view", "sample_rate", "correlation", "mono_loss",
     "meter_seconds"},
    {"delay", "pan", "wet_mix", "in_left", "in_right", "out_left", "out_right", "mono_view", "sample_rate",
     "correlation", "mono_loss", "meter_seconds"}};
  for (size_t p = 0; p < 2; ++p)
  {
    const LilvPlugin* plugin = w.Plugin(kPlugins[p].uri);
    ASSERT_NE(plugin, nullptr);
    const std::vector<const char*>& symbols = layouts[p];
    ASSERT_EQ(lilv_plugin_get_num_ports(plugin), symbols.size()) << kPlugins[p].uri;
    for (uint32_t i = 0; i < symbols.size(); ++i)
      EXPECT_STREQ(lilv_node_as_string(lilv_port_get_symbol(plugin, lilv_plugin_get_port_by_index(plugin, i))),
                   symbols[i])
        << kPlugins[p].uri << " port " << i;
    EXPECT_EQ(lilv_plugin_get_num_ports_of_class(plugin, w.Node(LV2_CORE__InputPort), w.Node(LV2_CORE__ControlPort),
                                                 nullptr),
              4u);

    const LilvPort* view = Port(plugin, "mono_view");
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(lilv_port_is_a(plugin, view, w.Node(LV2_CORE__InputPort)));
    for (const char* property : {LV2_CORE__toggled, LV2_CORE__connectionOptional, LV2_PORT_PROPS__notAutomatic,
                                 LV2_PORT_PROPS__notOnGUI})
      EXPECT_TRUE(lilv_port_has_property(plugin, view, w.Node(property))) << property;
    for (const char* symbol : {"sample_rate", "correlation", "mono_loss", "meter_seconds"})
    {
      const LilvPort* port = Port(plugin, symbol);
      ASSERT_NE(port, nullptr) << symbol;
      EXPECT_TRUE(lilv_port_is_a(plugin, port, w.Node(LV2_CORE__OutputPort))) << symbol;
      EXPECT_TRUE(lilv_port_is_a(plugin, port, w.Node(LV2_CORE__ControlPort))) << symbol;
      EXPECT_TRUE(lilv_port_has_property(plugin, port, w.Node(LV2_PORT_PROPS__notOnGUI))) << symbol;
      EXPECT_TRUE(lilv_port_has_property(plugin, port, w.Node(LV2_CORE__connectionOptional))) << symbol;
    }
  }
}
