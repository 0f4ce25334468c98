// The host side of VST 2.4, once for every host in this project (tests, brindlow-render,
// benchmarks, Wine checks): load a module, find its entry point, make and check an
// effect, route the plug-in's host calls, and the dispatcher calls every host repeats
// (texts, chunks). Built on the project's own VST 2.4 header. What a single host needs
// besides (recording calls, editors, time info) goes in that host, on top.
//
// Thread rules are VST 2.4's: an effect is made, opened, closed and dispatched to on the
// host's main thread, processReplacing runs on its audio thread; the plug-in calls the
// host back on the thread that called into it, so a VstHost's Answer must be safe on
// any of the threads that drive its effects.
#pragma once

#include <string>
#include <vector>

#include "ModuleLibrary.h"
#include "vst24.h"

namespace hostkit
{
// A VST 2.4 module loaded, its entry point found: VSTPluginMain, or its alias main.
class VstModule
{
public:
  VstModule() = default;
  VstModule(const VstModule&) = delete;
  VstModule& operator=(const VstModule&) = delete;

  // False with error set (the reason, without the path) when the file does not load or
  // exports neither entry point.
  bool Load(const std::string& path, std::string& error, bool keepMapped = false);
  void Unload();

  // VSTPluginMain, or main where only that is exported; each as exported (or null).
  VSTPluginMainProc Main() const { return mNamedMain ? mNamedMain : mMainAlias; }
  VSTPluginMainProc NamedMain() const { return mNamedMain; }
  VSTPluginMainProc MainAlias() const { return mMainAlias; }
  void* Handle() const { return mLibrary.Handle(); }

  // Calls the entry point with callback and checks what comes back as a host must: the
  // magic, a dispatcher, no negative counts. Null with error set otherwise.
  AEffect* MakeEffect(audioMasterCallback callback, std::string& error) const;

private:
  ModuleLibrary mLibrary;
  VSTPluginMainProc mNamedMain = nullptr;
  VSTPluginMainProc mMainAlias = nullptr;
};

// A host object behind the callback. VST 2.4 hands the host no context, so the kit finds
// the host of a call by the effect it comes with (registered by MakeEffect), and during
// the entry point's own call by the thread making the effect. Several hosts may live at
// once, one per thread or more.
class VstHost
{
public:
  VstHost() = default;
  virtual ~VstHost(); // forgets every effect of this host (close them first)
  VstHost(const VstHost&) = delete;
  VstHost& operator=(const VstHost&) = delete;

  // An effect of module answered by this host, or null with error set.
  AEffect* MakeEffect(const VstModule& module, std::string& error);
  // Forgets the effect, then effClose (which frees it: its address may be reused).
  void CloseEffect(AEffect* effect);

  // The plug-in's call; the default answers audioMasterVersion (2.4) and nothing else.
  virtual VstIntPtr Answer(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                             float opt);
  // The callback handed to entry points: routes to the effect's host; without one, a
  // plain 2.4 host's answer.
  static VstIntPtr VSTCALLBACK Callback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                                        void* ptr, float opt);
};

// The callback of a plain 2.4 host with nothing to answer but its version: for hosts
// that need no per-instance answers (benchmarks), without VstHost's routing.
VstIntPtr VSTCALLBACK PlainHostCallback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                                        void* ptr, float opt);

// The dispatcher calls hosts repeat.
inline VstIntPtr Dispatch(AEffect* effect, VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0,
                          void* ptr = nullptr, float opt = 0.0f)
{
  return effect->dispatcher(effect, opcode, index, value, ptr, opt);
}
// A text the plug-in writes into ptr, read from a buffer larger than any of the format's.
std::string DispatchText(AEffect* effect, VstInt32 opcode, VstInt32 index = 0);
// effGetChunk / effSetChunk of the bank or of the current program; the plug-in sees a
// copy it may keep only during the call.
std::vector<unsigned char> GetChunk(AEffect* effect, bool bank);
bool SetChunk(AEffect* effect, bool bank, const std::vector<unsigned char>& chunk);
} // namespace hostkit
