// The host side of LV2, once for every host in this project (tests, brindlow-render,
// benchmarks): urid:map, lilv nodes that free themselves, a plug-in's ports sorted by
// kind, an instance made and run through lilv, and a binary loaded directly for its
// descriptors. On lilv and Debian's LV2 headers; Linux only. What a single host needs
// besides (presets, parameters as a host shows them, a UI's features) goes in that host.
//
// Thread rules are LV2's: instantiate, activate, deactivate and free on the host's main
// thread; connect_port and run on its audio thread, never together with the former;
// Lv2UridMap::Map on the main thread only (it grows its list), as the plug-in maps at
// instantiate.
#pragma once

#include <lilv/lilv.h>
#include <lv2/options/options.h>
#include <lv2/ui/ui.h>
#include <lv2/urid/urid.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "ModuleLibrary.h"

namespace hostkit
{
// urid:map and urid:unmap over a list of URIs (URID n is the n-th URI mapped).
class Lv2UridMap
{
public:
  Lv2UridMap();
  Lv2UridMap(const Lv2UridMap&) = delete;
  Lv2UridMap& operator=(const Lv2UridMap&) = delete;
  LV2_URID Map(const char* uri);
  const char* Unmap(LV2_URID urid) const;
  LV2_URID_Map* MapFeatureData() { return &mMap; }
  // The map and unmap features, null-terminated, for instantiate.
  const LV2_Feature* const* Features() const { return mFeatures; }
  const LV2_Feature* MapFeature() const { return &mMapFeature; }

private:
  std::vector<std::string> mUris;
  LV2_URID_Map mMap;
  LV2_URID_Unmap mUnmap;
  LV2_Feature mMapFeature;
  LV2_Feature mUnmapFeature;
  const LV2_Feature* mFeatures[3];
};

// The UI's scale factor as a host offers it: opts:options holding ui:scaleFactor (an
// atom:Float), for instantiate, and the same list for the UI's opts:interface set.
class Lv2ScaleFactorOption
{
public:
  Lv2ScaleFactorOption(Lv2UridMap& map, float scale);
  Lv2ScaleFactorOption(const Lv2ScaleFactorOption&) = delete;
  Lv2ScaleFactorOption& operator=(const Lv2ScaleFactorOption&) = delete;
  void SetScale(float scale) { mScale = scale; }
  const LV2_Feature* Feature() const { return &mFeature; }
  const LV2_Options_Option* Options() const { return mOptions; }

private:
  float mScale;
  LV2_Options_Option mOptions[2];
  LV2_Feature mFeature;
};

// A node lilv hands over, freed when this goes.
class Lv2Node
{
public:
  explicit Lv2Node(LilvNode* node) : node(node) {}
  ~Lv2Node() { lilv_node_free(node); }
  Lv2Node(const Lv2Node&) = delete;
  Lv2Node& operator=(const Lv2Node&) = delete;
  static Lv2Node Uri(LilvWorld* world, const char* uri) { return Lv2Node(lilv_new_uri(world, uri)); }
  std::string Text() const { return node ? lilv_node_as_string(node) : ""; }
  LilvNode* node;
};

// A plug-in's ports by kind, as port indices in index order.
struct Lv2Ports
{
  std::vector<uint32_t> audioIn, audioOut;
  std::vector<std::pair<std::string, uint32_t>> controlIn; // symbol, index
  std::vector<uint32_t> others;                            // control outputs, atom ports, ...
  static Lv2Ports Of(LilvWorld* world, const LilvPlugin* plugin);
};

// One instance made by lilv, deactivated and freed with this object.
class Lv2Instance
{
public:
  Lv2Instance() = default;
  ~Lv2Instance() { Free(); }
  Lv2Instance(const Lv2Instance&) = delete;
  Lv2Instance& operator=(const Lv2Instance&) = delete;

  bool Instantiate(const LilvPlugin* plugin, double sampleRate, const LV2_Feature* const* features);
  void Free();
  void Activate();
  void Deactivate();
  bool IsActive() const { return mActive; }
  LilvInstance* Get() const { return mInstance; }
  void Connect(uint32_t port, void* data) { lilv_instance_connect_port(mInstance, port, data); }
  void Run(uint32_t frames) { lilv_instance_run(mInstance, frames); }
  const void* Extension(const char* uri) const { return lilv_instance_get_extension_data(mInstance, uri); }

private:
  LilvInstance* mInstance = nullptr;
  bool mActive = false;
};

// An LV2 binary loaded directly (no lilv, no Turtle), for its descriptors by URI.
class Lv2Binary
{
public:
  // False with error set (the reason, without the path) when it does not load.
  bool Load(const std::string& path, std::string& error);
  // The plug-in or UI descriptor of uri from lv2_descriptor / lv2ui_descriptor, or null.
  const LV2_Descriptor* Descriptor(const char* uri) const;
  const LV2UI_Descriptor* UiDescriptor(const char* uri) const;

private:
  ModuleLibrary mLibrary;
};
} // namespace hostkit
