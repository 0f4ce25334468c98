// A small LV2 host for the tests, on the LV2 host kit (tools/hostkit/lv2): the built
// Brindlow.lv2 found through a private LV2_PATH (the build directory), instances made by
// lilv, buffers of our own on every port, the plug-in's state interface called directly.
#pragma once

#include <lv2/state/state.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Lv2HostKit.h"

// urid:map and unmap over a list of URIs (URID n is the n-th URI mapped).
using UridMap = hostkit::Lv2UridMap;

// The lilv world with the build directory's bundles, once per test program.
class Lv2World
{
public:
  static Lv2World& Get();
  LilvWorld* World() const { return mWorld; }
  // The plug-in of uri, or null.
  const LilvPlugin* Plugin(const char* uri) const;
  // A node for uri, kept until the world goes.
  const LilvNode* Node(const char* uri);
  UridMap& Urids() { return mUrids; }

private:
  Lv2World();
  ~Lv2World();
  LilvWorld* mWorld;
  std::vector<LilvNode*> mNodes;
  UridMap mUrids;
};

// One running instance: control ports by parameter index, audio by channel.
class Lv2Plugin
{
public:
  Lv2Plugin(const char* uri, double rate, const LV2_Feature* const* features = nullptr);
  ~Lv2Plugin();
  bool Ok() const { return mInstance.Get() != nullptr; }
  LilvInstance* Instance() const { return mInstance.Get(); }
  const LilvPlugin* Plugin() const { return mPlugin; }
  int Inputs() const { return int(mInputPorts.size()); }

  // The value of control port symbol (read by the next Run).
  void Set(const char* symbol, float value);
  // The buffer of control port symbol (null for none), for writes between runs that must
  // not allocate.
  float* Control(const char* symbol);
  // Connects the audio ports to buffers of the caller's (one per input, two outputs) for
  // runs through lilv_instance_run.
  void ConnectAudio(float* const* inputs, float* const* outputs);
  float Get(const char* symbol) const;
  // Runs frames of input (one vector per input, frames long) and answers both outputs.
  std::vector<std::vector<float>> Run(const std::vector<std::vector<float>>& input);
  // The same input on every input port.
  std::vector<std::vector<float>> RunMono(const std::vector<float>& input);

  // The state interface: save into data/type, or restore from them.
  LV2_State_Status Save(std::vector<uint8_t>& data, uint32_t& type);
  LV2_State_Status Restore(const std::vector<uint8_t>& data, uint32_t type);

private:
  int ControlIndex(const char* symbol) const;

  const LilvPlugin* mPlugin;
  hostkit::Lv2Instance mInstance;
  std::vector<float> mControls;       // by port index (audio ports' slots unused)
  std::vector<uint32_t> mInputPorts;  // audio input port indices
  std::vector<uint32_t> mOutputPorts;
  std::vector<float> mScratchIn[2];
  std::vector<float> mScratchOut[2];
};

// An impulse of frames samples at frame 0.
std::vector<float> Impulse(int frames);
// The delay line's length in samples for ms at rate, as the engine computes it.
int DelaySamples(double rate, float ms);
