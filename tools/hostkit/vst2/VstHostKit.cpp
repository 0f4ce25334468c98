#include "VstHostKit.h"

#include <algorithm>
#include <mutex>
#include <utility>

namespace hostkit
{
namespace
{
constexpr VstIntPtr kHostVstVersion = 2400;
constexpr size_t kTextSize = 256; // larger than any text field of the interface

// Which host answers which effect. Taken on every host call: the plug-in's lock is never
// held by this host-side lock's users, and it guards a short list only.
std::mutex gHostsLock;
std::vector<std::pair<const AEffect*, VstHost*>> gHosts;
// The host whose effect the entry point is making on this thread: it may call back
// before its effect is known.
thread_local VstHost* tMakingHost = nullptr;

VstHost* HostOf(const AEffect* effect)
{
  {
    std::lock_guard<std::mutex> lock(gHostsLock);
    for (const auto& [registered, host] : gHosts)
      if (registered == effect) return host;
  }
  return tMakingHost;
}
} // namespace

// ---- Module ----

bool VstModule::Load(const std::string& path, std::string& error, bool keepMapped)
{
  Unload();
  if (!mLibrary.Open(path, error, keepMapped)) return false;
  mNamedMain = reinterpret_cast<VSTPluginMainProc>(mLibrary.Symbol("VSTPluginMain"));
  mMainAlias = reinterpret_cast<VSTPluginMainProc>(mLibrary.Symbol("main"));
  if (Main()) return true;
  error = "no VSTPluginMain entry point";
  Unload();
  return false;
}

void VstModule::Unload()
{
  mNamedMain = mMainAlias = nullptr;
  mLibrary.Close();
}

AEffect* VstModule::MakeEffect(audioMasterCallback callback, std::string& error) const
{
  AEffect* effect = Main() ? Main()(callback) : nullptr;
  if (!effect || effect->magic != kEffectMagic || !effect->dispatcher)
  {
    error = "did not create a VST 2.4 effect";
    return nullptr;
  }
  if (effect->numInputs < 0 || effect->numOutputs < 0 || effect->numParams < 0 || effect->numPrograms < 0)
  {
    error = "reports negative channel, parameter or program counts";
    Dispatch(effect, effClose);
    return nullptr;
  }
  return effect;
}

// ---- Host ----

VstHost::~VstHost()
{
  std::lock_guard<std::mutex> lock(gHostsLock);
  gHosts.erase(std::remove_if(gHosts.begin(), gHosts.end(), [this](const auto& entry) { return entry.second == this; }),
               gHosts.end());
}

AEffect* VstHost::MakeEffect(const VstModule& module, std::string& error)
{
  VstHost* outer = tMakingHost;
  tMakingHost = this;
  AEffect* effect = module.MakeEffect(&Callback, error);
  tMakingHost = outer;
  if (effect)
  {
    std::lock_guard<std::mutex> lock(gHostsLock);
    gHosts.emplace_back(effect, this);
  }
  return effect;
}

void VstHost::CloseEffect(AEffect* effect)
{
  if (!effect) return;
  {
    std::lock_guard<std::mutex> lock(gHostsLock);
    gHosts.erase(std::remove_if(gHosts.begin(), gHosts.end(), [effect](const auto& entry) { return entry.first == effect; }),
                 gHosts.end());
  }
  Dispatch(effect, effClose);
}

VstIntPtr VstHost::Answer(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float)
{
  return opcode == audioMasterVersion ? kHostVstVersion : 0;
}

VstIntPtr VSTCALLBACK VstHost::Callback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                        float opt)
{
  VstHost* host = HostOf(effect);
  if (host) return host->Answer(effect, opcode, index, value, ptr, opt);
  return PlainHostCallback(effect, opcode, index, value, ptr, opt);
}

VstIntPtr VSTCALLBACK PlainHostCallback(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float)
{
  return opcode == audioMasterVersion ? kHostVstVersion : 0;
}

// ---- Dispatcher calls ----

std::string DispatchText(AEffect* effect, VstInt32 opcode, VstInt32 index)
{
  char text[kTextSize] = {};
  Dispatch(effect, opcode, index, 0, text);
  text[kTextSize - 1] = '\0';
  return text;
}

std::vector<unsigned char> GetChunk(AEffect* effect, bool bank)
{
  void* data = nullptr;
  const VstIntPtr size = Dispatch(effect, effGetChunk, bank ? 0 : 1, 0, &data);
  if (size <= 0 || !data) return {};
  const auto* bytes = static_cast<const unsigned char*>(data);
  return std::vector<unsigned char>(bytes, bytes + size);
}

bool SetChunk(AEffect* effect, bool bank, const std::vector<unsigned char>& chunk)
{
  std::vector<unsigned char> copy(chunk);
  return Dispatch(effect, effSetChunk, bank ? 0 : 1, static_cast<VstIntPtr>(copy.size()), copy.data()) != 0;
}
} // namespace hostkit
