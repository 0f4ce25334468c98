// A minimal VST 2.4 host for tests, on the VST 2.4 host kit (tools/hostkit/vst2): loads
// the built plug-in module as hosts do, creates instances through its exported entry
// point and records every call the plug-in makes back to the host.
#pragma once

#include <string>
#include <vector>

#include "VstHostKit.h"

struct HostCall {
  VstInt32 opcode;
  VstInt32 index;
  VstIntPtr value;
  float opt;
};

class VstTestHost {
 public:
  // What the host answers to the plug-in's queries.
  std::string productString = "Test Host";
  VstIntPtr vendorVersion = 10300;
  bool answerTimeInfo = true;
  VstTimeInfo timeInfo{};
  VstIntPtr answerToProcessEvents = 1;

  std::vector<HostCall> calls;
  // Copies of the events handed over with audioMasterProcessEvents, and the
  // numEvents of each list.
  std::vector<VstMidiEvent> receivedEvents;
  std::vector<VstInt32> receivedListSizes;

  VstTestHost();
  ~VstTestHost();

  // The module's entry points; null when the module or symbol is missing.
  VSTPluginMainProc EntryPoint() const { return mModule.NamedMain(); }
  VSTPluginMainProc MainAlias() const { return mModule.MainAlias(); }
  const std::string& LoadError() const { return mError; }

  // Creates an instance; the host owns it until Close or destruction.
  AEffect* Create();
  void Close(AEffect* effect);

  VstIntPtr Dispatch(AEffect* effect, VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0,
                     void* ptr = nullptr, float opt = 0.0f) const;

  int CountCalls(VstInt32 opcode) const;

  static VstIntPtr VSTCALLBACK Callback(AEffect* effect, VstInt32 opcode, VstInt32 index,
                                        VstIntPtr value, void* ptr, float opt);

 private:
  VstIntPtr Answer(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                   float opt);

  hostkit::VstModule mModule;
  std::string mError;
  std::vector<AEffect*> mOpen;
};
