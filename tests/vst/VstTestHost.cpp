#include "VstTestHost.h"

#include <algorithm>
#include <cstring>

namespace {
// The host callback carries no user pointer before the instance exists, so the
// host that is currently creating or driving plug-ins is kept here. Tests run on
// one thread.
VstTestHost* gCurrentHost = nullptr;
}  // namespace

VstTestHost::VstTestHost() {
  gCurrentHost = this;
  // Kept mapped after unloading, so sanitizer reports can still name its code.
  if (!mModule.Load(BRINDLOW_PLUGIN_PATH, mError, true)) return;
  timeInfo.sampleRate = 44100.0;
  timeInfo.tempo = 120.0;
  timeInfo.samplePos = 4410.0;
  timeInfo.timeSigNumerator = 3;
  timeInfo.timeSigDenominator = 4;
  timeInfo.flags = kVstTempoValid | kVstTimeSigValid;
}

VstTestHost::~VstTestHost() {
  for (AEffect* effect : mOpen) Dispatch(effect, effClose);
  mOpen.clear();
  if (gCurrentHost == this) gCurrentHost = nullptr;
}

AEffect* VstTestHost::Create() {
  if (!EntryPoint()) return nullptr;
  AEffect* effect = mModule.MakeEffect(&VstTestHost::Callback, mError);
  if (effect) mOpen.push_back(effect);
  return effect;
}

void VstTestHost::Close(AEffect* effect) {
  auto it = std::find(mOpen.begin(), mOpen.end(), effect);
  if (it == mOpen.end()) return;
  mOpen.erase(it);
  Dispatch(effect, effClose);
}

VstIntPtr VstTestHost::Dispatch(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                                void* ptr, float opt) const {
  return hostkit::Dispatch(effect, opcode, index, value, ptr, opt);
}

int VstTestHost::CountCalls(VstInt32 opcode) const {
  return static_cast<int>(std::count_if(calls.begin(), calls.end(),
                                        [opcode](const HostCall& c) { return c.opcode == opcode; }));
}

VstIntPtr VSTCALLBACK VstTestHost::Callback(AEffect* effect, VstInt32 opcode, VstInt32 index,
                                            VstIntPtr value, void* ptr, float opt) {
  if (!gCurrentHost) return 0;
  return gCurrentHost->Answer(effect, opcode, index, value, ptr, opt);
}

VstIntPtr VstTestHost::Answer(AEffect*, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                              float opt) {
  calls.push_back({opcode, index, value, opt});
  switch (opcode) {
    case audioMasterVersion:
      return 2400;
    case audioMasterGetProductString:
      if (ptr) {
        // Hosts write at most kVstMaxProductStrLen characters.
        std::strncpy(static_cast<char*>(ptr), productString.c_str(), kVstMaxProductStrLen - 1);
        static_cast<char*>(ptr)[kVstMaxProductStrLen - 1] = '\0';
      }
      return 1;
    case audioMasterGetVendorVersion:
      return vendorVersion;
    case audioMasterGetTime:
      return answerTimeInfo ? reinterpret_cast<VstIntPtr>(&timeInfo) : 0;
    case audioMasterProcessEvents:
      if (ptr) {
        const VstEvents* list = static_cast<const VstEvents*>(ptr);
        receivedListSizes.push_back(list->numEvents);
        for (VstInt32 i = 0; i < list->numEvents; ++i) {
          VstMidiEvent copy{};
          if (list->events[i]) std::memcpy(&copy, list->events[i], sizeof(copy));
          receivedEvents.push_back(copy);
        }
      }
      return answerToProcessEvents;
    default:
      return 0;
  }
}
