#include "VstPluginHost.h"

#include <dlfcn.h>

#include <algorithm>
#include <cstring>
#include <mutex>
#include <utility>

namespace
{
// The plug-in calls back without a context pointer, so each host is found by
// its entry object. Several hosts may live at once, one per rendering thread.
std::mutex gHostsLock;
std::vector<std::pair<const AEffect*, VstPluginHost*>> gHosts;
// The host whose plug-in is being constructed on this thread: the entry point
// may call back before its entry object is known.
thread_local VstPluginHost* tConstructingHost = nullptr;

VstPluginHost* HostOf(const AEffect* effect)
{
  {
    std::lock_guard<std::mutex> lock(gHostsLock);
    for (const auto& [registered, host] : gHosts)
      if (registered == effect) return host;
  }
  return tConstructingHost;
}

void Register(const AEffect* effect, VstPluginHost* host)
{
  std::lock_guard<std::mutex> lock(gHostsLock);
  gHosts.emplace_back(effect, host);
}

void Unregister(const VstPluginHost* host)
{
  std::lock_guard<std::mutex> lock(gHostsLock);
  gHosts.erase(std::remove_if(gHosts.begin(), gHosts.end(), [host](const auto& entry) { return entry.second == host; }),
               gHosts.end());
}

constexpr VstIntPtr kHostVstVersion = 2400;
constexpr VstIntPtr kHostVendorVersion = 10300;
constexpr VstIntPtr kProcessLevelOffline = 4;
constexpr VstIntPtr kVendorSpecificAnswer = 0xBEEF;
constexpr VstInt32 kVendorDisplayForValue = 7; // effVendorSpecific: display text of a normalised value
constexpr VstIntPtr kProcessPrecision32 = 0;
constexpr VstIntPtr kProcessPrecision64 = 1;
constexpr double kTempo = 120.0;
constexpr size_t kTextSize = 256; // larger than any text field of the interface

VstIntPtr VSTCALLBACK HostCallback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                   float opt)
{
  if (opcode == audioMasterVersion) return kHostVstVersion;
  VstPluginHost* host = HostOf(effect);
  return host ? host->HandleHostCall(effect, opcode, index, value, ptr, opt) : 0;
}

void CopyText(void* ptr, const char* text, size_t capacity)
{
  if (!ptr) return;
  std::strncpy(static_cast<char*>(ptr), text, capacity - 1);
  static_cast<char*>(ptr)[capacity - 1] = '\0';
}

void FillArrangement(VstSpeakerArrangement& arrangement, int channels)
{
  std::memset(&arrangement, 0, sizeof(arrangement));
  arrangement.numChannels = channels;
  arrangement.type = channels == 0   ? kSpeakerArrEmpty
                     : channels == 1 ? kSpeakerArrMono
                     : channels == 2 ? kSpeakerArrStereo
                                     : kSpeakerArrUserDefined;
}
} // namespace

VstPluginHost::~VstPluginHost()
{
  Unload();
}

bool VstPluginHost::Load(const std::string& path, std::string& error)
{
  // dlopen searches the library path for a bare file name; a path is meant here.
  const std::string openPath = path.find('/') == std::string::npos ? "./" + path : path;
  dlerror();
  mLibrary = dlopen(openPath.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!mLibrary) {
    const char* why = dlerror();
    error = "cannot load plug-in \"" + path + "\": " + (why ? why : "unknown error");
    return false;
  }
  auto entry = reinterpret_cast<VSTPluginMainProc>(dlsym(mLibrary, "VSTPluginMain"));
  if (!entry) entry = reinterpret_cast<VSTPluginMainProc>(dlsym(mLibrary, "main"));
  if (!entry) {
    const char* why = dlerror();
    error = "\"" + path + "\" is not a VST 2.4 plug-in (no VSTPluginMain entry point): " + (why ? why : "");
    Unload();
    return false;
  }
  tConstructingHost = this;
  mEffect = entry(HostCallback);
  tConstructingHost = nullptr;
  if (!mEffect || mEffect->magic != kEffectMagic || !mEffect->dispatcher) {
    error = "\"" + path + "\" did not create a VST 2.4 effect";
    mEffect = nullptr;
    Unload();
    return false;
  }
  if (mEffect->numInputs < 0 || mEffect->numOutputs < 0 || mEffect->numParams < 0 || mEffect->numPrograms < 0) {
    error = "\"" + path + "\" reports negative channel, parameter or program counts";
    Unload();
    return false;
  }
  Register(mEffect, this);
  Dispatch(effOpen);
  return true;
}

void VstPluginHost::Unload()
{
  if (mEffect) {
    if (mRunning) Stop();
    // Forgotten before effClose frees the entry object, whose address another
    // thread's plug-in may take next.
    Unregister(this);
    Dispatch(effClose);
    mEffect = nullptr;
  }
  if (mLibrary) {
    dlclose(mLibrary);
    mLibrary = nullptr;
  }
}

VstIntPtr VstPluginHost::Dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) const
{
  return mEffect->dispatcher(mEffect, opcode, index, value, ptr, opt);
}

std::string VstPluginHost::DispatchString(VstInt32 opcode, VstInt32 index) const
{
  char text[kTextSize] = {};
  Dispatch(opcode, index, 0, text);
  text[kTextSize - 1] = '\0';
  return text;
}

void VstPluginHost::Prepare(double sampleRate, int blockSize, int inputChannels, bool doublePrecision)
{
  mSampleRate = sampleRate;
  mBlockSize = blockSize;
  Dispatch(effSetSampleRate, 0, 0, nullptr, static_cast<float>(sampleRate));
  Dispatch(effSetBlockSize, 0, blockSize);
  Dispatch(effSetProcessPrecision, 0, doublePrecision ? kProcessPrecision64 : kProcessPrecision32);
  FillArrangement(mInputArrangement, inputChannels);
  FillArrangement(mOutputArrangement, mEffect->numOutputs);
  Dispatch(effSetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&mInputArrangement), &mOutputArrangement);
}

void VstPluginHost::Start()
{
  if (mRunning) return;
  Dispatch(effMainsChanged, 0, 1);
  Dispatch(effStartProcess);
  mRunning = true;
}

void VstPluginHost::Stop()
{
  if (!mRunning) return;
  Dispatch(effStopProcess);
  Dispatch(effMainsChanged, 0, 0);
  mRunning = false;
}

void VstPluginHost::Process(float** inputs, float** outputs, int frames)
{
  mEffect->processReplacing(mEffect, inputs, outputs, frames);
}

void VstPluginHost::Process(double** inputs, double** outputs, int frames)
{
  mEffect->processDoubleReplacing(mEffect, inputs, outputs, frames);
}

std::string VstPluginHost::EffectName() const
{
  return DispatchString(effGetEffectName);
}

std::string VstPluginHost::VendorName() const
{
  return DispatchString(effGetVendorString);
}

std::string VstPluginHost::ProductName() const
{
  return DispatchString(effGetProductString);
}

int VstPluginHost::VendorVersion() const
{
  return static_cast<int>(Dispatch(effGetVendorVersion));
}

int VstPluginHost::TailSamples() const
{
  return static_cast<int>(Dispatch(effGetTailSize));
}

int VstPluginHost::Category() const
{
  return static_cast<int>(Dispatch(effGetPlugCategory));
}

std::string VstPluginHost::ParamName(int index) const
{
  return DispatchString(effGetParamName, index);
}

std::string VstPluginHost::ParamLabel(int index) const
{
  return DispatchString(effGetParamLabel, index);
}

std::string VstPluginHost::ParamDisplay(int index) const
{
  return DispatchString(effGetParamDisplay, index);
}

float VstPluginHost::ParamValue(int index) const
{
  return mEffect->getParameter ? mEffect->getParameter(mEffect, index) : 0.0f;
}

void VstPluginHost::SetParamValue(int index, float normalized)
{
  if (mEffect->setParameter) mEffect->setParameter(mEffect, index, normalized);
}

std::string VstPluginHost::DisplayForNormalized(int index, float normalized)
{
  char text[kTextSize] = {};
  if (Dispatch(effVendorSpecific, kVendorDisplayForValue, index, text, normalized) == kVendorSpecificAnswer) {
    text[kTextSize - 1] = '\0';
    return text;
  }
  const float saved = ParamValue(index);
  SetParamValue(index, normalized);
  std::string display = ParamDisplay(index);
  SetParamValue(index, saved);
  return display;
}

bool VstPluginHost::SetParamFromString(int index, const std::string& text)
{
  std::vector<char> copy(text.begin(), text.end());
  copy.push_back('\0');
  return Dispatch(effString2Parameter, index, 0, copy.data()) != 0;
}

int VstPluginHost::CurrentProgram() const
{
  return static_cast<int>(Dispatch(effGetProgram));
}

void VstPluginHost::SetProgram(int program)
{
  Dispatch(effBeginSetProgram);
  Dispatch(effSetProgram, 0, program);
  Dispatch(effEndSetProgram);
}

std::vector<std::string> VstPluginHost::ProgramNames()
{
  std::vector<std::string> names;
  bool anyNamed = false;
  for (int i = 0; i < NumPrograms(); ++i) {
    names.push_back(DispatchString(effGetProgramNameIndexed, i));
    anyNamed = anyNamed || !names.back().empty();
  }
  if (anyNamed || NumPrograms() == 0) return names;

  // A plug-in without indexed names: select each program in turn and ask.
  const int current = CurrentProgram();
  for (int i = 0; i < NumPrograms(); ++i) {
    Dispatch(effSetProgram, 0, i);
    names[static_cast<size_t>(i)] = DispatchString(effGetProgramName);
  }
  Dispatch(effSetProgram, 0, current);
  return names;
}

std::string VstPluginHost::ProgramName() const
{
  return DispatchString(effGetProgramName);
}

void VstPluginHost::SetProgramName(const std::string& name)
{
  char text[kVstMaxProgNameLen] = {}; // the terminating zero included
  std::strncpy(text, name.c_str(), kVstMaxProgNameLen - 1);
  Dispatch(effSetProgramName, 0, 0, text);
}

std::vector<unsigned char> VstPluginHost::GetChunk(bool bank) const
{
  void* data = nullptr;
  const VstIntPtr size = Dispatch(effGetChunk, bank ? 0 : 1, 0, &data);
  if (size <= 0 || !data) return {};
  const auto* bytes = static_cast<const unsigned char*>(data);
  return std::vector<unsigned char>(bytes, bytes + size);
}

bool VstPluginHost::SetChunk(bool bank, const std::vector<unsigned char>& chunk)
{
  // The plug-in may keep the pointer until the call returns only, and must not write to it.
  std::vector<unsigned char> copy(chunk);
  return Dispatch(effSetChunk, bank ? 0 : 1, static_cast<VstIntPtr>(copy.size()), copy.data()) != 0;
}

bool VstPluginHost::AcceptsPresetFile(bool bank, int fileVersion, int elements)
{
  VstPatchChunkInfo info = {};
  info.version = 1;
  info.pluginUniqueID = mEffect->uniqueID;
  info.pluginVersion = fileVersion;
  info.numElements = elements;
  return Dispatch(bank ? effBeginLoadBank : effBeginLoadProgram, 0, 0, &info) != -1;
}

VstIntPtr VstPluginHost::HandleHostCall(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void* ptr, float)
{
  switch (opcode) {
  case audioMasterGetTime:
    mTimeInfo = {};
    mTimeInfo.samplePos = mSamplePosition;
    mTimeInfo.sampleRate = mSampleRate;
    mTimeInfo.tempo = kTempo;
    mTimeInfo.ppqPos = mSamplePosition / mSampleRate * (kTempo / 60.0);
    mTimeInfo.timeSigNumerator = 4;
    mTimeInfo.timeSigDenominator = 4;
    mTimeInfo.flags = kVstTempoValid | kVstTimeSigValid | kVstPpqPosValid | (mRunning ? kVstTransportPlaying : 0);
    return reinterpret_cast<VstIntPtr>(&mTimeInfo);
  case audioMasterGetSampleRate: return static_cast<VstIntPtr>(mSampleRate);
  case audioMasterGetBlockSize: return mBlockSize;
  case audioMasterGetCurrentProcessLevel: return kProcessLevelOffline;
  case audioMasterGetVendorString: CopyText(ptr, "Brindlow project", kVstMaxVendorStrLen); return 1;
  case audioMasterGetProductString: CopyText(ptr, "brindlow-render", kVstMaxProductStrLen); return 1;
  case audioMasterGetVendorVersion: return kHostVendorVersion;
  case audioMasterCanDo:
    return ptr && std::strcmp(static_cast<const char*>(ptr), "sendVstTimeInfo") == 0 ? 1 : 0;
  default: return 0;
  }
}
