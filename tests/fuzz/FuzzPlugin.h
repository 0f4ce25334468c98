#pragma once
// The host side shared by the fuzzers that drive whole plug-in instances: a host
// callback with harmless answers, instance creation through the module's entry point,
// and processing calls whose every output sample is checked.
#include "FuzzInput.h"
#include "vst24.h"

#include <vector>

namespace fuzz
{
// Answers the plug-in's calls like a quiet host. The product string may be set per input
// so that host identification sees arbitrary names.
VstIntPtr VSTCALLBACK HostCallback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                                   void* ptr, float opt);
void SetHostProductString(const char* text);

// Creates an instance through the entry point VSTPluginMain of the plug-in module,
// loaded as a host loads it; aborts when none is made.
AEffect* CreateInstance();
VstIntPtr Dispatch(AEffect* effect, VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0,
                   void* ptr = nullptr, float opt = 0.0f);

// One block through a processing callback. The outputs start as NaN; after the call every
// sample of the first `connectedOutputs` outputs (all when negative) must be finite. The
// buffers of outputs the host has disconnected are the host's own and stay untouched.
void ProcessChecked(AEffect* effect, bool doublePath, const std::vector<std::vector<double>>& inputs,
                    int frames, int connectedOutputs = -1);

// Bytes of a chunk the plug-in returned, copied out of its own buffer.
std::vector<unsigned char> GetChunk(AEffect* effect, bool bank);
} // namespace fuzz
