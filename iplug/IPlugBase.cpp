#include "IPlugBase.h"

#include "IPlugChannels.h"
#include "IPlugHost.h"
#include "IPlugTrace.h"
#include "IGraphics.h"

#include <cassert>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace
{
// Copies at most IPlugBase::kNameSize - 1 characters and always terminates.
void CopyPlugName(char* dst, const char* src)
{
  std::memset(dst, 0, IPlugBase::kNameSize);
  if (src) std::strncpy(dst, src, IPlugBase::kNameSize - 1);
}
} // namespace

IPlugBase::IPlugBase(int nParams, const char* channelIOStr, int nPresets, const char* effectName,
                     const char* productName, const char* vendorName, int vendorVersion,
                     int uniqueID, int mfrID, int latency, bool /*doesMidi*/, bool doesChunks,
                     bool isInstrument)
  : mUniqueID(uniqueID), mMfrID(mfrID), mVersion(vendorVersion), mDoesChunks(doesChunks),
    mIsInstrument(isInstrument), mLatency(latency), mInData(4096), mOutData(4096),
    mInFloatData(4096), mOutFloatData(4096)
{
  EmitTrace("IPlugBase::IPlugBase", __LINE__, "%s:%s", effectName ? effectName : "",
            TraceTimestamp());

  for (int i = 0; i < nParams; ++i) mParams.Add(new IParameter());
  for (int i = 0; i < nPresets; ++i) mPresets.Add(new IProgram(i + 1));

  CopyPlugName(mEffectName, effectName);
  CopyPlugName(mProductName, productName);
  CopyPlugName(mVendorName, vendorName);

  int maxIn = 0, maxOut = 0;
  if (channelIOStr) ParseChannelIOString(channelIOStr, &maxIn, &maxOut);

  mInData.Resize(maxIn * static_cast<int>(sizeof(double*)));
  mOutData.Resize(maxOut * static_cast<int>(sizeof(double*)));
  if (maxIn > 0) std::memset(mInData.Get(), 0, static_cast<size_t>(mInData.GetSize()));
  if (maxOut > 0) std::memset(mOutData.Get(), 0, static_cast<size_t>(mOutData.GetSize()));
  mInFloatData.Resize(maxIn * static_cast<int>(sizeof(float*)));
  mOutFloatData.Resize(maxOut * static_cast<int>(sizeof(float*)));

  double** inSlots = static_cast<double**>(mInData.Get());
  double** outSlots = static_cast<double**>(mOutData.Get());
  for (int i = 0; i < maxIn; ++i)
  {
    InputChannel* channel = new InputChannel();
    channel->mSlot = inSlots + i;
    mInChannels.Add(channel);
  }
  for (int i = 0; i < maxOut; ++i)
  {
    OutputChannel* channel = new OutputChannel();
    channel->mSlot = outSlots + i;
    mOutChannels.Add(channel);
  }
}

IPlugBase::~IPlugBase()
{
  delete mEditor;
  mEditor = nullptr;
  mParams.DeleteAll();
  mPresets.DeleteAll();
  mInChannels.DeleteAll();
  mOutChannels.DeleteAll();
  mChannelConfigs.DeleteAll();
}

void IPlugBase::ParseChannelIOString(const char* str, int* maxIn, int* maxOut)
{
  const char* p = str;
  while (true)
  {
    int nIn = 0, nOut = 0;
    const bool channelIOStrValid = std::sscanf(p, "%d-%d", &nIn, &nOut) == 2;
    assert(channelIOStrValid);
    if (!channelIOStrValid) return; // release builds keep the configurations read so far
    IChannelConfig* config = new IChannelConfig();
    config->mNIn = nIn;
    config->mNOut = nOut;
    mChannelConfigs.Add(config);
    if (nIn > *maxIn) *maxIn = nIn;
    if (nOut > *maxOut) *maxOut = nOut;
    p = std::strchr(p, ' ');
    if (!p) return;
    ++p;
  }
}

// ---- Product hooks ----

void IPlugBase::ResetProcessing()
{
  IPlugLockGuard guard(mLock);
}

void IPlugBase::ParameterChanged(int)
{
  IPlugLockGuard guard(mLock);
}

bool IPlugBase::ProcessBlockFloat(const float* const*, float* const*, int)
{
  return false;
}

void IPlugBase::ProcessBlock(double** inputs, double** outputs, int frames)
{
  const int nIn = InputChannelCount();
  const int nOut = OutputChannelCount();
  for (int i = 0; i < nOut; ++i)
  {
    if (!outputs || !outputs[i]) continue;
    if (i < nIn && inputs && inputs[i])
      std::memmove(outputs[i], inputs[i], sizeof(double) * static_cast<size_t>(frames));
    else
      std::memset(outputs[i], 0, sizeof(double) * static_cast<size_t>(frames));
  }
}

void IPlugBase::SetActive(bool)
{
  IPlugLockGuard guard(mLock);
}

void IPlugBase::HandleMidiMessage(const MidiMessage& message)
{
  SendMidiToHost(message);
}

bool IPlugBase::GetNoteName(int, char* text)
{
  if (text) text[0] = '\0';
  return false;
}

bool IPlugBase::WriteState(IByteChunk& chunk)
{
  return WriteParams(chunk);
}

int IPlugBase::ReadState(const IByteChunk& chunk, int startPos)
{
  return UnserializeParams(chunk, startPos);
}

int IPlugBase::IdentifyHost()
{
  return mHostKind;
}

void IPlugBase::AttachEditor(IGraphics* editor)
{
  if (!editor) return;
  IPlugLockGuard guard(mLock);
  for (int i = 0, n = ParameterCount(); i < n; ++i)
    editor->PushParameterToControls(i, ParameterAt(i)->Normalized(), true);
  editor->CreateDrawSurface();
  if (mEditor != editor) delete mEditor;
  mEditor = editor;
}

void IPlugBase::SetLatencySamples(int samples)
{
  mLatency = samples;
}

// ---- Identity ----

void IPlugBase::SetHost(const char* productString, int version)
{
  mHostKind = LookUpHost(productString);
  mHostVersion = version;
  char versionText[32];
  FormatVersionText(version, versionText, sizeof versionText);
  EmitTrace("IPlugBase::SetHost", __LINE__, "host_%sknown:%s:%s", mHostKind ? "" : "un",
            productString ? productString : "", versionText);
}

int IPlugBase::EffectVersion(bool decimal) const
{
  if (!decimal) return mVersion;
  const unsigned word = static_cast<unsigned>(mVersion);
  const int major = static_cast<int>(word >> 16);
  const int minor = static_cast<int>((word >> 8) & 0xFF);
  const int revision = static_cast<int>(word & 0xFF);
  return (major * 100 + minor) * 100 + revision;
}

void IPlugBase::EffectVersionText(char* out, int outSize) const
{
  FormatVersionText(mVersion, out, outSize);
}

// ---- Parameters ----

void IPlugBase::SetSampleRateHz(double rate)
{
  if (std::isfinite(rate) && rate > 0.0) mSampleRate = rate;
}

void IPlugBase::SetParameterFromGUI(int index, double normalized)
{
  EmitTrace("IPlugBase::SetParameterFromGUI", __LINE__, "%d:%f", index, normalized);
  IParameter* param = ParameterAt(index);
  if (!param || std::isnan(normalized)) return;
  const double x = normalized < 0.0 ? 0.0 : (normalized > 1.0 ? 1.0 : normalized);
  {
    IPlugLockGuard guard(mLock);
    param->SetFromNormalized(x);
    HostAutomate(index, x);
    ParameterChanged(index);
  }
  FlushTrace(); // the editor's thread, with the lock free again
}

void IPlugBase::NotifyAllParametersChanged()
{
  for (int i = 0, n = ParameterCount(); i < n; ++i) ParameterChanged(i);
}

void IPlugBase::PushAllParametersToEditor()
{
  if (!mEditor) return;
  for (int i = 0, n = ParameterCount(); i < n; ++i)
    mEditor->PushParameterToControls(i, ParameterAt(i)->Value(), false);
}

bool IPlugBase::LegalIO(int nInputs, int nOutputs) const
{
  bool legal = false;
  for (int i = 0, n = ChannelConfigCount(); i < n && !legal; ++i)
  {
    const IChannelConfig* config = ChannelConfigAt(i);
    legal = (nInputs < 0 || nInputs == config->mNIn) && (nOutputs < 0 || nOutputs == config->mNOut);
  }
  EmitTrace("IPlugBase::LegalIO", __LINE__, "%d:%d:%s", nInputs, nOutputs,
            legal ? "legal" : "illegal");
  return legal;
}
