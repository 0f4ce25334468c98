#include "FuzzPlugin.h"

#include "VstHostKit.h"

#include <cmath>
#include <cstring>

namespace fuzz
{
namespace
{
char g_productString[kVstMaxProductStrLen] = "Fuzz Host";
VstTimeInfo g_timeInfo{};
} // namespace

void SetHostProductString(const char* text)
{
  std::strncpy(g_productString, text, sizeof(g_productString) - 1);
  g_productString[sizeof(g_productString) - 1] = '\0';
}

VstIntPtr VSTCALLBACK HostCallback(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void* ptr, float)
{
  switch (opcode)
  {
    case audioMasterVersion: return 2400;
    case audioMasterGetProductString:
      if (ptr) std::memcpy(ptr, g_productString, sizeof(g_productString));
      return 1;
    case audioMasterGetVendorVersion: return 10300;
    case audioMasterGetTime:
      g_timeInfo.sampleRate = 44100.0;
      g_timeInfo.tempo = 120.0;
      g_timeInfo.timeSigNumerator = 4;
      g_timeInfo.timeSigDenominator = 4;
      g_timeInfo.flags = 0x400 | 0x2000;
      return reinterpret_cast<VstIntPtr>(&g_timeInfo);
    default: return 0;
  }
}

AEffect* CreateInstance()
{
  // Loaded once and kept mapped: unloading and reloading per input would only test the loader.
  static hostkit::VstModule module;
  static const bool loaded = [] {
    std::string error;
    FUZZ_CHECK(module.Load(BRINDLOW_PLUGIN_PATH, error, true), "cannot load %s: %s", BRINDLOW_PLUGIN_PATH,
               error.c_str());
    return true;
  }();
  (void)loaded;
  FUZZ_CHECK(module.NamedMain(), "the module exports no VSTPluginMain");
  std::string error;
  AEffect* effect = module.MakeEffect(HostCallback, error);
  FUZZ_CHECK(effect, "no instance: %s", error.c_str());
  return effect;
}

VstIntPtr Dispatch(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt)
{
  return hostkit::Dispatch(effect, opcode, index, value, ptr, opt);
}

namespace
{
template <class Sample, class Callback>
void Run(AEffect* effect, Callback callback, const std::vector<std::vector<double>>& inputs, int frames,
         size_t checked)
{
  const size_t n = frames > 0 ? size_t(frames) : 0;
  std::vector<std::vector<Sample>> in(size_t(effect->numInputs), std::vector<Sample>(n, Sample(0)));
  for (size_t c = 0; c < in.size() && c < inputs.size(); ++c)
    for (size_t k = 0; k < n && k < inputs[c].size(); ++k) in[c][k] = Sample(inputs[c][k]);
  std::vector<std::vector<Sample>> out(size_t(effect->numOutputs), std::vector<Sample>(n, Sample(NAN)));
  std::vector<Sample*> inPtrs, outPtrs;
  for (auto& v : in) inPtrs.push_back(v.data());
  for (auto& v : out) outPtrs.push_back(v.data());
  callback(effect, inPtrs.data(), outPtrs.data(), frames);
  for (size_t c = 0; c < out.size() && c < checked; ++c)
    for (size_t k = 0; k < n; ++k)
      FUZZ_CHECK(std::isfinite(double(out[c][k])), "%s output %zu sample %zu of %d is %g",
                 sizeof(Sample) == 4 ? "32-bit" : "64-bit", c, k, frames, double(out[c][k]));
}
} // namespace

void ProcessChecked(AEffect* effect, bool doublePath, const std::vector<std::vector<double>>& inputs, int frames,
                    int connectedOutputs)
{
  const size_t checked = connectedOutputs < 0 ? size_t(effect->numOutputs) : size_t(connectedOutputs);
  if (doublePath)
    Run<double>(effect, effect->processDoubleReplacing, inputs, frames, checked);
  else
    Run<float>(effect, effect->processReplacing, inputs, frames, checked);
}

std::vector<unsigned char> GetChunk(AEffect* effect, bool bank)
{
  void* data = nullptr;
  const VstIntPtr size = Dispatch(effect, effGetChunk, bank ? 0 : 1, 0, &data);
  if (size <= 0) return {};
  FUZZ_CHECK(data != nullptr, "effGetChunk answered %ld bytes at null", long(size));
  const unsigned char* bytes = static_cast<const unsigned char*>(data);
  return std::vector<unsigned char>(bytes, bytes + size);
}
} // namespace fuzz
