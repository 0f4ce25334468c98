#include "Lv2PluginHost.h"

#include <lilv/lilv.h>
#include <lv2/core/lv2.h>
#include <lv2/port-props/port-props.h>
#include <lv2/presets/presets.h>
#include <lv2/units/units.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits.h>

namespace
{
const char* const kRdfsLabel = "http://www.w3.org/2000/01/rdf-schema#label";

using Node = hostkit::Lv2Node;

void SetPortValue(const char* symbol, void* host, const void* value, uint32_t size, uint32_t)
{
  if (value && size == sizeof(float))
    static_cast<Lv2PluginHost*>(host)->SetPortValueBySymbol(symbol, *static_cast<const float*>(value));
}

// The symbols of the common units, for a world that did not load the units vocabulary.
std::string UnitSymbol(const std::string& unitUri)
{
  static const std::pair<const char*, const char*> kKnown[] = {
    {LV2_UNITS__ms, "ms"}, {LV2_UNITS__s, "s"}, {LV2_UNITS__db, "dB"}, {LV2_UNITS__hz, "Hz"},
    {LV2_UNITS__khz, "kHz"}, {LV2_UNITS__pc, "%"}, {LV2_UNITS__bpm, "BPM"}, {LV2_UNITS__semitone12TET, "semi"},
  };
  for (const auto& [uri, symbol] : kKnown)
    if (unitUri == uri) return symbol;
  return "";
}

// Texts compared with their trailing numbers as numbers.
bool NaturalLess(const std::string& a, const std::string& b)
{
  auto split = [](const std::string& text) {
    size_t digits = text.size();
    while (digits > 0 && std::isdigit(static_cast<unsigned char>(text[digits - 1]))) --digits;
    const std::string number = text.substr(digits);
    return std::make_pair(text.substr(0, digits), number.empty() ? -1LL : std::atoll(number.c_str()));
  };
  const auto sa = split(a), sb = split(b);
  return sa != sb ? sa < sb : a < b;
}

std::string BundleUri(const std::string& path)
{
  char resolved[PATH_MAX];
  std::string absolute = realpath(path.c_str(), resolved) ? resolved : path;
  if (absolute.empty() || absolute.back() != '/') absolute += '/';
  return "file://" + absolute;
}
} // namespace

Lv2PluginHost::Lv2PluginHost() = default;

Lv2PluginHost::~Lv2PluginHost()
{
  Release();
  if (mWorld) lilv_world_free(mWorld);
}

bool Lv2PluginHost::Load(const std::string& path, std::string& error)
{
  mWorld = lilv_world_new();
  const LilvPlugins* all = nullptr;
  std::string bundle;
  if (path.find(':') != std::string::npos && path.find('/') != 0 && path.rfind("file:", 0) != 0)
  {
    lilv_world_load_all(mWorld); // a plug-in URI: look for it where LV2_PATH says
  }
  else
  {
    bundle = BundleUri(path);
    Node bundleNode(lilv_new_uri(mWorld, bundle.c_str()));
    lilv_world_load_bundle(mWorld, bundleNode.node);
  }
  all = lilv_world_get_all_plugins(mWorld);
  LILV_FOREACH (plugins, i, all)
  {
    const LilvPlugin* plugin = lilv_plugins_get(all, i);
    const bool wanted = bundle.empty() ? path == lilv_node_as_uri(lilv_plugin_get_uri(plugin))
                                       : bundle == lilv_node_as_uri(lilv_plugin_get_bundle_uri(plugin));
    if (wanted) mVariants.push_back(Variant{plugin, hostkit::Lv2Ports::Of(mWorld, plugin)});
  }
  if (mVariants.empty())
  {
    error = "cannot load \"" + path + "\": " + (bundle.empty() ? "no LV2 plug-in with this URI on LV2_PATH"
                                                                : "no LV2 plug-in in this bundle");
    return false;
  }

  ReadParams(mVariants[0].plugin);

  Node presetClass(lilv_new_uri(mWorld, LV2_PRESETS__Preset)), label(lilv_new_uri(mWorld, kRdfsLabel));
  LilvNodes* presets = lilv_plugin_get_related(mVariants[0].plugin, presetClass.node);
  LILV_FOREACH (nodes, i, presets)
  {
    const LilvNode* preset = lilv_nodes_get(presets, i);
    lilv_world_load_resource(mWorld, preset);
    Node name(lilv_world_get(mWorld, preset, label.node, nullptr));
    mPresets.emplace_back(lilv_node_as_uri(preset), name.Text());
  }
  lilv_nodes_free(presets);
  // In the order of their URIs, numbers read as numbers: ...:preset:2 before ...:preset:10.
  std::sort(mPresets.begin(), mPresets.end(), [](const auto& a, const auto& b) { return NaturalLess(a.first, b.first); });
  return true;
}

void Lv2PluginHost::ReadParams(const LilvPlugin* plugin)
{
  Node control(lilv_new_uri(mWorld, LV2_CORE__ControlPort)), input(lilv_new_uri(mWorld, LV2_CORE__InputPort));
  Node integer(lilv_new_uri(mWorld, LV2_CORE__integer)), enumeration(lilv_new_uri(mWorld, LV2_CORE__enumeration));
  Node unit(lilv_new_uri(mWorld, LV2_UNITS__unit)), unitSymbol(lilv_new_uri(mWorld, LV2_UNITS__symbol));
  Node notOnGui(lilv_new_uri(mWorld, LV2_PORT_PROPS__notOnGUI));
  for (uint32_t p = 0, n = lilv_plugin_get_num_ports(plugin); p < n; ++p)
  {
    const LilvPort* port = lilv_plugin_get_port_by_index(plugin, p);
    if (!lilv_port_is_a(plugin, port, control.node) || !lilv_port_is_a(plugin, port, input.node)) continue;
    // A control the plug-in keeps off every host's panel (an editor's switch) is no parameter.
    if (lilv_port_has_property(plugin, port, notOnGui.node)) continue;
    Param param;
    param.symbol = lilv_node_as_string(lilv_port_get_symbol(plugin, port));
    Node name(lilv_port_get_name(plugin, port));
    param.name = name.Text();
    LilvNode *def = nullptr, *min = nullptr, *max = nullptr;
    lilv_port_get_range(plugin, port, &def, &min, &max);
    param.minimum = min ? lilv_node_as_float(min) : 0.0f;
    param.maximum = max ? lilv_node_as_float(max) : 1.0f;
    param.value = def ? lilv_node_as_float(def) : param.minimum;
    lilv_node_free(def);
    lilv_node_free(min);
    lilv_node_free(max);
    param.integer = lilv_port_has_property(plugin, port, integer.node) ||
                    lilv_port_has_property(plugin, port, enumeration.node);
    LilvScalePoints* points = lilv_port_get_scale_points(plugin, port);
    LILV_FOREACH (scale_points, i, points)
    {
      const LilvScalePoint* point = lilv_scale_points_get(points, i);
      param.scalePoints.emplace_back(lilv_node_as_float(lilv_scale_point_get_value(point)),
                                     lilv_node_as_string(lilv_scale_point_get_label(point)));
    }
    lilv_scale_points_free(points);
    LilvNodes* units = lilv_port_get_value(plugin, port, unit.node);
    if (units && lilv_nodes_size(units) > 0)
    {
      const LilvNode* unitNode = lilv_nodes_get_first(units);
      Node symbol(lilv_world_get(mWorld, unitNode, unitSymbol.node, nullptr));
      param.unit = symbol.node ? symbol.Text() : UnitSymbol(lilv_node_as_string(unitNode));
    }
    lilv_nodes_free(units);
    mParams.push_back(param);
  }
}

void Lv2PluginHost::Prepare(double sampleRate, int blockSize, int inputChannels, bool)
{
  mSampleRate = sampleRate;
  mBlockSize = blockSize;
  // The plug-in whose inputs match the channels given; else the one with most inputs.
  size_t best = 0;
  for (size_t i = 0; i < mVariants.size(); ++i)
  {
    const size_t inputs = mVariants[i].ports.audioIn.size();
    if (inputs == static_cast<size_t>(inputChannels))
    {
      best = i;
      break;
    }
    if (inputs > mVariants[best].ports.audioIn.size()) best = i;
  }
  mChosen = best;
  Instantiate();
}

void Lv2PluginHost::Instantiate()
{
  Release();
  const LV2_Feature* features[] = {mUrids.MapFeature(), nullptr};
  if (!mInstance.Instantiate(Chosen().plugin, mSampleRate, features)) return;
  // Every port gets a buffer: the parameters their values, the rest (outputs, and control
  // inputs that are no parameter, left at 0) one of their own.
  std::vector<uint32_t> others = Chosen().ports.others;
  for (const auto& [symbol, index] : Chosen().ports.controlIn)
  {
    const auto param = std::find_if(mParams.begin(), mParams.end(), [&](const Param& p) { return p.symbol == symbol; });
    if (param != mParams.end())
      mInstance.Connect(index, &param->value);
    else
      others.push_back(index);
  }
  mOtherPortValues.assign(others.size(), 0.0f);
  for (size_t i = 0; i < others.size(); ++i) mInstance.Connect(others[i], &mOtherPortValues[i]);
}

void Lv2PluginHost::Release()
{
  mInstance.Free();
}

void Lv2PluginHost::Start()
{
  mInstance.Activate();
}

void Lv2PluginHost::Stop()
{
  mInstance.Deactivate();
}

void Lv2PluginHost::Process(float** inputs, float** outputs, int frames)
{
  if (!mInstance.Get() || frames <= 0) return;
  const hostkit::Lv2Ports& ports = Chosen().ports;
  for (size_t i = 0; i < ports.audioIn.size(); ++i) mInstance.Connect(ports.audioIn[i], inputs ? inputs[i] : nullptr);
  for (size_t i = 0; i < ports.audioOut.size(); ++i)
    mInstance.Connect(ports.audioOut[i], outputs ? outputs[i] : nullptr);
  mInstance.Run(static_cast<uint32_t>(frames));
}

void Lv2PluginHost::Process(double**, double**, int)
{
  // LV2 audio ports carry 32-bit samples only; CanDoubleReplacing() says so.
}

int Lv2PluginHost::NumInputs() const
{
  size_t most = 0;
  for (const Variant& variant : mVariants) most = std::max(most, variant.ports.audioIn.size());
  return static_cast<int>(most);
}

int Lv2PluginHost::NumOutputs() const
{
  return static_cast<int>(Chosen().ports.audioOut.size());
}

std::string Lv2PluginHost::EffectName() const
{
  Node name(lilv_plugin_get_name(mVariants[0].plugin));
  return name.Text();
}

std::string Lv2PluginHost::VendorName() const
{
  Node author(lilv_plugin_get_author_name(mVariants[0].plugin));
  return author.Text();
}

int Lv2PluginHost::Version() const
{
  Node minorKey(lilv_new_uri(mWorld, LV2_CORE__minorVersion)), microKey(lilv_new_uri(mWorld, LV2_CORE__microVersion));
  const LilvNode* uri = lilv_plugin_get_uri(mVariants[0].plugin);
  Node minor(lilv_world_get(mWorld, uri, minorKey.node, nullptr)), micro(lilv_world_get(mWorld, uri, microKey.node, nullptr));
  return (minor.node ? lilv_node_as_int(minor.node) : 0) * 100 + (micro.node ? lilv_node_as_int(micro.node) : 0);
}

bool Lv2PluginHost::HasEditor() const
{
  LilvUIs* uis = lilv_plugin_get_uis(mVariants[0].plugin);
  const bool any = uis && lilv_uis_size(uis) > 0;
  lilv_uis_free(uis);
  return any;
}

std::string Lv2PluginHost::ParamName(int index) const
{
  return index >= 0 && index < NumParams() ? mParams[static_cast<size_t>(index)].name : "";
}

std::string Lv2PluginHost::ParamLabel(int index) const
{
  return index >= 0 && index < NumParams() ? mParams[static_cast<size_t>(index)].unit : "";
}

std::string Lv2PluginHost::Display(const Param& param, float value) const
{
  for (const auto& [point, label] : param.scalePoints)
    if (point == value) return label;
  char text[64];
  std::snprintf(text, sizeof text, param.integer ? "%.0f" : "%.3f", static_cast<double>(value));
  return text;
}

std::string Lv2PluginHost::ParamDisplay(int index) const
{
  if (index < 0 || index >= NumParams()) return "";
  const Param& param = mParams[static_cast<size_t>(index)];
  return Display(param, param.value);
}

float Lv2PluginHost::FromNormalized(const Param& param, float normalized) const
{
  const float x = std::min(std::max(normalized, 0.0f), 1.0f);
  float value = param.minimum + x * (param.maximum - param.minimum);
  if (param.integer) value = std::round(value);
  return value;
}

float Lv2PluginHost::ParamValue(int index) const
{
  if (index < 0 || index >= NumParams()) return 0.0f;
  const Param& param = mParams[static_cast<size_t>(index)];
  const float width = param.maximum - param.minimum;
  return width > 0.0f ? (param.value - param.minimum) / width : 0.0f;
}

void Lv2PluginHost::SetParamValue(int index, float normalized)
{
  if (index < 0 || index >= NumParams() || std::isnan(normalized)) return;
  Param& param = mParams[static_cast<size_t>(index)];
  param.value = FromNormalized(param, normalized);
}

std::string Lv2PluginHost::DisplayForNormalized(int index, float normalized)
{
  if (index < 0 || index >= NumParams()) return "";
  const Param& param = mParams[static_cast<size_t>(index)];
  return Display(param, FromNormalized(param, normalized));
}

bool Lv2PluginHost::SetParamFromString(int index, const std::string& text)
{
  if (index < 0 || index >= NumParams()) return false;
  Param& param = mParams[static_cast<size_t>(index)];
  for (const auto& [point, label] : param.scalePoints)
  {
    if (label == text)
    {
      param.value = point;
      return true;
    }
  }
  char* end = nullptr;
  const double value = std::strtod(text.c_str(), &end);
  if (text.empty() || *end != '\0' || !std::isfinite(value)) return false;
  param.value = static_cast<float>(std::min(std::max(value, double(param.minimum)), double(param.maximum)));
  return true;
}

void Lv2PluginHost::SetPortValueBySymbol(const char* symbol, float value)
{
  for (Param& param : mParams)
    if (param.symbol == symbol) param.value = value;
}

void Lv2PluginHost::SetProgram(int program)
{
  if (program < 0 || program >= NumPrograms()) return;
  Node uri(lilv_new_uri(mWorld, mPresets[static_cast<size_t>(program)].first.c_str()));
  LilvState* state = lilv_state_new_from_world(mWorld, mUrids.MapFeatureData(), uri.node);
  if (!state) return;
  lilv_state_emit_port_values(state, &SetPortValue, this);
  lilv_state_free(state);
  mCurrentProgram = program;
}

std::vector<std::string> Lv2PluginHost::ProgramNames()
{
  std::vector<std::string> names;
  for (const auto& preset : mPresets) names.push_back(preset.second);
  return names;
}

std::string Lv2PluginHost::ProgramName() const
{
  return mCurrentProgram >= 0 && mCurrentProgram < NumPrograms() ? mPresets[static_cast<size_t>(mCurrentProgram)].second
                                                                 : "";
}
