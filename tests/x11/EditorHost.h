// A small Linux VST 2.4 host for the editor tests: loads a plug-in module with the VST 2.4 host kit,
// makes instances, opens their editors inside an X11 window of the host (effEditOpen with
// the window id), calls effEditIdle at the host's 30 Hz and records every call that an
// instance makes back to the host.
//
// Threads: Dispatch, the audio callbacks and the parameter callbacks may be called from any
// thread, as a host does; the recorded calls are guarded. IdleUntil sleeps between idles
// and belongs to the thread that opened the editor (the host's GUI thread).
#pragma once

#include <chrono>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "VstHostKit.h"

struct HostCall
{
  VstInt32 opcode;
  VstInt32 index;
  float opt;
};

class PluginModule
{
public:
  explicit PluginModule(const char* path);
  PluginModule(const PluginModule&) = delete;
  PluginModule& operator=(const PluginModule&) = delete;

  VSTPluginMainProc EntryPoint() const { return mModule.NamedMain(); }
  const std::string& LoadError() const { return mError; }
  const hostkit::VstModule& Module() const { return mModule; }

private:
  hostkit::VstModule mModule;
  std::string mError;
};

// Its own host to the plug-in (the kit routes each instance's calls to it).
class PluginInstance : public hostkit::VstHost
{
public:
  // Makes an instance, opens it (effOpen) at 44.1 kHz with 512-frame blocks and switches
  // it on. Check Effect() for null.
  explicit PluginInstance(const PluginModule& module);
  // Closes the editor if it is open, switches the instance off and closes it.
  ~PluginInstance();
  PluginInstance(const PluginInstance&) = delete;
  PluginInstance& operator=(const PluginInstance&) = delete;

  AEffect* Effect() const { return mEffect; }
  VstIntPtr Dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                     float opt = 0.0f);

  // effEditOpen with the X11 window id in ptr, as Linux hosts pass it.
  VstIntPtr OpenEditor(uint32_t parentWindow);
  VstIntPtr CloseEditor();
  VstIntPtr Idle() { return Dispatch(effEditIdle); }
  // Calls effEditIdle every 33 ms until |done| answers true (true) or |limit| passed (false).
  bool IdleUntil(const std::function<bool()>& done,
                 std::chrono::milliseconds limit = std::chrono::milliseconds(3000));
  // Idles for |ticks| periods of 33 ms.
  void IdleFor(int ticks);

  float Parameter(VstInt32 index) const { return mEffect->getParameter(mEffect, index); }
  void SetParameter(VstInt32 index, float value) { mEffect->setParameter(mEffect, index, value); }
  std::string ParameterDisplay(VstInt32 index);

  // One block of 512 frames of a sine through processReplacing; true when every output
  // sample is finite and the outputs are not silent.
  bool ProcessBlock();

  // Calls the instance made of the host, in order; the host answers each as a plain host.
  std::vector<HostCall> Calls();
  void ClearCalls();

  // The host's answer to a call from the plug-in, recorded first.
  VstIntPtr Answer(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                     float opt) override;

private:
  void Record(VstInt32 opcode, VstInt32 index, float opt);

  AEffect* mEffect = nullptr;
  bool mEditorOpen = false;
  std::mutex mCallsLock;
  std::vector<HostCall> mCalls;
};

// The host's idle period: 30 calls of effEditIdle per second.
constexpr std::chrono::milliseconds kIdlePeriod(33);
