#include "Lv2HostKit.h"

#include <lv2/atom/atom.h>

#include <cstring>

namespace hostkit
{
// ---- urid:map ----

Lv2UridMap::Lv2UridMap()
{
  mMap = {this, [](LV2_URID_Map_Handle handle, const char* uri) { return static_cast<Lv2UridMap*>(handle)->Map(uri); }};
  mUnmap = {this, [](LV2_URID_Unmap_Handle handle, LV2_URID urid) {
              return static_cast<Lv2UridMap*>(handle)->Unmap(urid);
            }};
  mMapFeature = {LV2_URID__map, &mMap};
  mUnmapFeature = {LV2_URID__unmap, &mUnmap};
  mFeatures[0] = &mMapFeature;
  mFeatures[1] = &mUnmapFeature;
  mFeatures[2] = nullptr;
}

LV2_URID Lv2UridMap::Map(const char* uri)
{
  for (size_t i = 0; i < mUris.size(); ++i)
    if (mUris[i] == uri) return LV2_URID(i + 1);
  mUris.push_back(uri);
  return LV2_URID(mUris.size());
}

const char* Lv2UridMap::Unmap(LV2_URID urid) const
{
  return urid >= 1 && urid <= mUris.size() ? mUris[urid - 1].c_str() : nullptr;
}

// ---- opts:options ----

Lv2ScaleFactorOption::Lv2ScaleFactorOption(Lv2UridMap& map, float scale) : mScale(scale)
{
  mOptions[0] = {LV2_OPTIONS_INSTANCE, 0, map.Map(LV2_UI__scaleFactor), sizeof mScale, map.Map(LV2_ATOM__Float), &mScale};
  mOptions[1] = {LV2_OPTIONS_INSTANCE, 0, 0, 0, 0, nullptr};
  mFeature = {LV2_OPTIONS__options, mOptions};
}

// ---- Ports ----

Lv2Ports Lv2Ports::Of(LilvWorld* world, const LilvPlugin* plugin)
{
  Lv2Ports ports;
  const Lv2Node audio = Lv2Node::Uri(world, LILV_URI_AUDIO_PORT);
  const Lv2Node control = Lv2Node::Uri(world, LILV_URI_CONTROL_PORT);
  const Lv2Node input = Lv2Node::Uri(world, LILV_URI_INPUT_PORT);
  for (uint32_t p = 0, n = lilv_plugin_get_num_ports(plugin); p < n; ++p)
  {
    const LilvPort* port = lilv_plugin_get_port_by_index(plugin, p);
    const bool in = lilv_port_is_a(plugin, port, input.node);
    if (lilv_port_is_a(plugin, port, audio.node))
      (in ? ports.audioIn : ports.audioOut).push_back(p);
    else if (in && lilv_port_is_a(plugin, port, control.node))
      ports.controlIn.emplace_back(lilv_node_as_string(lilv_port_get_symbol(plugin, port)), p);
    else
      ports.others.push_back(p);
  }
  return ports;
}

// ---- Instance ----

bool Lv2Instance::Instantiate(const LilvPlugin* plugin, double sampleRate, const LV2_Feature* const* features)
{
  Free();
  mInstance = lilv_plugin_instantiate(plugin, sampleRate, features);
  return mInstance != nullptr;
}

void Lv2Instance::Free()
{
  if (!mInstance) return;
  Deactivate();
  lilv_instance_free(mInstance);
  mInstance = nullptr;
}

void Lv2Instance::Activate()
{
  if (mInstance && !mActive) lilv_instance_activate(mInstance);
  mActive = mInstance != nullptr;
}

void Lv2Instance::Deactivate()
{
  if (mActive) lilv_instance_deactivate(mInstance);
  mActive = false;
}

// ---- Binary ----

bool Lv2Binary::Load(const std::string& path, std::string& error)
{
  return mLibrary.Open(path, error);
}

const LV2_Descriptor* Lv2Binary::Descriptor(const char* uri) const
{
  auto entry = reinterpret_cast<LV2_Descriptor_Function>(mLibrary.Symbol("lv2_descriptor"));
  for (uint32_t i = 0; entry; ++i)
  {
    const LV2_Descriptor* descriptor = entry(i);
    if (!descriptor) break;
    if (descriptor->URI && std::strcmp(descriptor->URI, uri) == 0) return descriptor;
  }
  return nullptr;
}

const LV2UI_Descriptor* Lv2Binary::UiDescriptor(const char* uri) const
{
  auto entry = reinterpret_cast<LV2UI_DescriptorFunction>(mLibrary.Symbol("lv2ui_descriptor"));
  for (uint32_t i = 0; entry; ++i)
  {
    const LV2UI_Descriptor* descriptor = entry(i);
    if (!descriptor) break;
    if (descriptor->URI && std::strcmp(descriptor->URI, uri) == 0) return descriptor;
  }
  return nullptr;
}
} // namespace hostkit
