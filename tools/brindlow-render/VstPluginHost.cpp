#include "VstPluginHost.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace
{
constexpr VstIntPtr kHostVstVersion = 2400;
constexpr VstIntPtr kHostVendorVersion = 10300;
constexpr VstIntPtr kProcessLevelOffline = 4;
constexpr VstIntPtr kVendorSpecificAnswer = 0xBEEF;
constexpr VstInt32 kVendorDisplayForValue = 7; // effVendorSpecific: display text of a normalised value
constexpr VstIntPtr kProcessPrecision32 = 0;
constexpr VstIntPtr kProcessPrecision64 = 1;
constexpr double kTempo = 120.0;
constexpr size_t kTextSize = 256; // larger than any text field of the interface

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
  std::string why;
  if (!mModule.Load(path, why)) {
    error = "cannot load plug-in \"" + path + "\": " + why;
    return false;
  }
  mEffect = MakeEffect(mModule, why);
  if (!mEffect) {
    error = "\"" + path + "\" " + why;
    Unload();
    return false;
  }
  Dispatch(effOpen);
  return true;
}

void VstPluginHost::Unload()
{
  if (mEffect) {
    if (mRunning) Stop();
    CloseEffect(mEffect);
    mEffect = nullptr;
  }
  mModule.Unload();
}

VstIntPtr VstPluginHost::Dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) const
{
  return hostkit::Dispatch(mEffect, opcode, index, value, ptr, opt);
}

std::string VstPluginHost::DispatchString(VstInt32 opcode, VstInt32 index) const
{
  return hostkit::DispatchText(mEffect, opcode, index);
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
  return hostkit::GetChunk(mEffect, bank);
}

bool VstPluginHost::SetChunk(bool bank, const std::vector<unsigned char>& chunk)
{
  return hostkit::SetChunk(mEffect, bank, chunk);
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

VstIntPtr VstPluginHost::Answer(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void* ptr, float)
{
  switch (opcode) {
  case audioMasterVersion: return kHostVstVersion;
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
