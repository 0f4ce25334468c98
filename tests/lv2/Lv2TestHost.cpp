#include "Lv2TestHost.h"

#include <lv2/atom/atom.h>

#include <cmath>
#include <cstdlib>
#include <cstring>

namespace
{
struct StateStore
{
  LV2_URID key = 0;
  std::vector<uint8_t>* data;
  uint32_t* type;
  int stores = 0;
};

LV2_State_Status StoreCallback(LV2_State_Handle handle, uint32_t key, const void* value, size_t size, uint32_t type,
                               uint32_t)
{
  auto* store = static_cast<StateStore*>(handle);
  ++store->stores;
  store->key = key;
  store->data->assign(static_cast<const uint8_t*>(value), static_cast<const uint8_t*>(value) + size);
  *store->type = type;
  return LV2_STATE_SUCCESS;
}

struct StateSource
{
  LV2_URID key;
  const std::vector<uint8_t>* data;
  uint32_t type;
};

const void* RetrieveCallback(LV2_State_Handle handle, uint32_t key, size_t* size, uint32_t* type, uint32_t* flags)
{
  auto* source = static_cast<StateSource*>(handle);
  if (key != source->key) return nullptr;
  *size = source->data->size();
  *type = source->type;
  *flags = LV2_STATE_IS_POD | LV2_STATE_IS_PORTABLE;
  static const uint8_t kNothing = 0;
  return source->data->empty() ? &kNothing : source->data->data(); // an empty value, not a missing one
}
} // namespace

Lv2World& Lv2World::Get()
{
  static Lv2World world;
  return world;
}

Lv2World::Lv2World()
{
#ifdef BRINDLOW_LV2_PATH
  // Only the bundle this build made, never an installed one.
  setenv("LV2_PATH", BRINDLOW_LV2_PATH, 1);
#endif
  mWorld = lilv_world_new();
  lilv_world_load_all(mWorld);
}

Lv2World::~Lv2World()
{
  for (LilvNode* node : mNodes) lilv_node_free(node);
  lilv_world_free(mWorld);
}

const LilvPlugin* Lv2World::Plugin(const char* uri) const
{
  const hostkit::Lv2Node node = hostkit::Lv2Node::Uri(mWorld, uri);
  return lilv_plugins_get_by_uri(lilv_world_get_all_plugins(mWorld), node.node);
}

const LilvNode* Lv2World::Node(const char* uri)
{
  mNodes.push_back(lilv_new_uri(mWorld, uri));
  return mNodes.back();
}

Lv2Plugin::Lv2Plugin(const char* uri, double rate, const LV2_Feature* const* features)
{
  Lv2World& world = Lv2World::Get();
  mPlugin = world.Plugin(uri);
  if (!mPlugin || !mInstance.Instantiate(mPlugin, rate, features ? features : world.Urids().Features())) return;
  const uint32_t ports = lilv_plugin_get_num_ports(mPlugin);
  mControls.assign(ports, 0.0f);
  std::vector<float> defaults(ports, 0.0f);
  lilv_plugin_get_port_ranges_float(mPlugin, nullptr, nullptr, defaults.data());
  const hostkit::Lv2Ports kinds = hostkit::Lv2Ports::Of(world.World(), mPlugin);
  mInputPorts = kinds.audioIn;
  mOutputPorts = kinds.audioOut;
  std::vector<uint32_t> controls = kinds.others;
  for (const auto& [symbol, index] : kinds.controlIn) controls.push_back(index);
  for (uint32_t i : controls)
  {
    mControls[i] = defaults[i];
    mInstance.Connect(i, &mControls[i]);
  }
  mInstance.Activate();
}

Lv2Plugin::~Lv2Plugin() = default;

int Lv2Plugin::ControlIndex(const char* symbol) const
{
  const hostkit::Lv2Node node(lilv_new_string(Lv2World::Get().World(), symbol));
  const LilvPort* port = lilv_plugin_get_port_by_symbol(mPlugin, node.node);
  return port ? int(lilv_port_get_index(mPlugin, port)) : -1;
}

void Lv2Plugin::Set(const char* symbol, float value)
{
  const int index = ControlIndex(symbol);
  if (index >= 0) mControls[index] = value;
}

float* Lv2Plugin::Control(const char* symbol)
{
  const int index = ControlIndex(symbol);
  return index >= 0 ? &mControls[index] : nullptr;
}

void Lv2Plugin::ConnectAudio(float* const* inputs, float* const* outputs)
{
  for (size_t c = 0; c < mInputPorts.size(); ++c) mInstance.Connect(mInputPorts[c], inputs[c]);
  for (size_t c = 0; c < mOutputPorts.size(); ++c) mInstance.Connect(mOutputPorts[c], outputs[c]);
}

float Lv2Plugin::Get(const char* symbol) const
{
  const int index = ControlIndex(symbol);
  return index >= 0 ? mControls[index] : NAN;
}

std::vector<std::vector<float>> Lv2Plugin::Run(const std::vector<std::vector<float>>& input)
{
  const size_t frames = input.empty() ? 0 : input[0].size();
  std::vector<std::vector<float>> output(mOutputPorts.size(), std::vector<float>(frames, 0.0f));
  // The host's buffers may move between runs: connect them every time, as hosts may.
  for (size_t c = 0; c < mInputPorts.size(); ++c)
  {
    mScratchIn[c] = input[c];
    mInstance.Connect(mInputPorts[c], mScratchIn[c].data());
  }
  for (size_t c = 0; c < mOutputPorts.size(); ++c)
    mInstance.Connect(mOutputPorts[c], output[c].data());
  mInstance.Run(uint32_t(frames));
  return output;
}

std::vector<std::vector<float>> Lv2Plugin::RunMono(const std::vector<float>& input)
{
  return Run(std::vector<std::vector<float>>(mInputPorts.size(), input));
}

LV2_State_Status Lv2Plugin::Save(std::vector<uint8_t>& data, uint32_t& type)
{
  const auto* iface =
    static_cast<const LV2_State_Interface*>(mInstance.Extension(LV2_STATE__interface));
  if (!iface) return LV2_STATE_ERR_UNKNOWN;
  StateStore store{0, &data, &type};
  const LV2_State_Status status =
    iface->save(lilv_instance_get_handle(mInstance.Get()), &StoreCallback, &store, LV2_STATE_IS_POD, nullptr);
  if (store.stores != 1 || store.key != Lv2World::Get().Urids().Map("urn:ardelnu:brindlow:state"))
    return LV2_STATE_ERR_UNKNOWN;
  return status;
}

LV2_State_Status Lv2Plugin::Restore(const std::vector<uint8_t>& data, uint32_t type)
{
  const auto* iface =
    static_cast<const LV2_State_Interface*>(mInstance.Extension(LV2_STATE__interface));
  if (!iface) return LV2_STATE_ERR_UNKNOWN;
  StateSource source{Lv2World::Get().Urids().Map("urn:ardelnu:brindlow:state"), &data, type};
  return iface->restore(lilv_instance_get_handle(mInstance.Get()), &RetrieveCallback, &source, 0, nullptr);
}

std::vector<float> Impulse(int frames)
{
  std::vector<float> impulse(frames, 0.0f);
  impulse[0] = 1.0f;
  return impulse;
}

int DelaySamples(double rate, float ms)
{
  return int(std::trunc(rate / 1000.0 * double(ms)));
}
