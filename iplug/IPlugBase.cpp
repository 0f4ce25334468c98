#include "IPlugBase.h"

#include "IPlugChannels.h"
#include "IPlugHost.h"
#include "IPlugTrace.h"
#include "IGraphics.h"
#include "IPlugStructs.h"

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
  CopyBoundedText(dst, src, IPlugBase::kNameSize);
}
} // namespace

IPlugBase::IPlugBase(int nParams, const char* channelIOStr, int nPresets, const char* effectName,
                     const char* productName, const char* vendorName, int vendorVersion,
                     int uniqueID, int mfrID, int latency, bool doesMidi, bool doesChunks,
                     bool isInstrument)
  : mUniqueID(uniqueID), mMfrID(mfrID), mVersion(vendorVersion), mDoesChunks(doesChunks), mDoesMidi(doesMidi),
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
  mSegmentFloat.resize(static_cast<size_t>(maxIn + maxOut));
  mSegmentDouble.resize(static_cast<size_t>(maxIn + maxOut));

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

IPlugBase::IPlugBase(const IPlugInfo& info)
  : IPlugBase(info.paramCount, info.channelIO, info.presetCount, info.effectName, info.productName,
              info.vendorName, info.vendorVersion, info.uniqueID, info.mfrID, info.latency, info.doesMidi,
              info.doesChunks, info.isInstrument)
{
  mInfo = &info;
  if (info.defineParameters) info.defineParameters(*this);
  if (info.definePresets) info.definePresets(*this);
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

void IPlugBase::ResetProcessing() {}

void IPlugBase::ParameterChanged(int) {}

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

void IPlugBase::SetActive(bool) {}

void IPlugBase::HandleMidiMessage(const MidiMessage& message)
{
  SendMidiToHost(message);
}

bool IPlugBase::SendMidiToHost(const MidiMessage& message)
{
  IPlugLockGuard guard(mLock);
  if (mMidiOutCount >= kMidiOutCapacity) return false;
  mMidiOut[mMidiOutCount++] = message;
  return true;
}

bool IPlugBase::SendMidiListToHost(const MidiMessage* messages, int count)
{
  bool allQueued = true;
  for (int i = 0; messages && i < count; ++i) allQueued = SendMidiToHost(messages[i]) && allQueued;
  return allQueued;
}

void IPlugBase::FlushMidiToHost()
{
  MidiMessage messages[kMidiOutCapacity];
  int count = 0;
  {
    IPlugLockGuard guard(mLock);
    count = mMidiOutCount;
    for (int i = 0; i < count; ++i) messages[i] = mMidiOut[i];
    mMidiOutCount = 0;
  }
  AssertLockFree();
  if (count > 0 && mHostCalls) mHostCalls->SendMidi(messages, count);
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

void IPlugBase::AssertLockFree() const
{
  assert(!mLock.HeldByCurrentThread() && "the host or the window system called with the plug-in's lock held");
}

void IPlugBase::HostBeginEdit(int index)
{
  AssertLockFree();
  if (mHostCalls) mHostCalls->BeginEdit(index);
}

void IPlugBase::HostAutomate(int index, double normalized)
{
  AssertLockFree();
  if (mHostCalls) mHostCalls->Automate(index, normalized);
}

void IPlugBase::HostEndEdit(int index)
{
  AssertLockFree();
  if (mHostCalls) mHostCalls->EndEdit(index);
}

int IPlugBase::HostSamplePosition()
{
  AssertLockFree();
  return mHostCalls ? mHostCalls->SamplePosition() : 0;
}

double IPlugBase::HostTempo()
{
  AssertLockFree();
  return mHostCalls ? mHostCalls->Tempo() : 0.0;
}

void IPlugBase::ReadTransport(ITransport* transport)
{
  transport->samplePosition = HostSamplePosition();
  transport->tempo = HostTempo();
  HostTimeSignature(&transport->numerator, &transport->denominator);
}

void IPlugBase::HostTimeSignature(int* numerator, int* denominator)
{
  AssertLockFree();
  if (mHostCalls)
  {
    mHostCalls->TimeSignature(numerator, denominator);
    return;
  }
  if (numerator) *numerator = 0;
  if (denominator) *denominator = 0;
}

void IPlugBase::ResizeEditorRect(int width, int height)
{
  AssertLockFree();
  if (mHostCalls) mHostCalls->EditorResized(width, height);
}

int IPlugBase::IdentifyHost()
{
  if (mHostKind != kHostUninit || !mHostCalls) return mHostKind;
  AssertLockFree();
  char product[256] = {};
  int decimalVersion = 0;
  if (!mHostCalls->HostProduct(product, sizeof product, &decimalVersion)) product[0] = '\0';
  product[sizeof product - 1] = '\0'; // whatever the host wrote, the text ends here
  SetHost(product, product[0] ? PackDecimalVersion(decimalVersion) : 0);
  return mHostKind;
}

void IPlugBase::HostSpecificSetup()
{
  const int host = HostKind();
  if (host == kHostForte || host == kHostAudition || host == kHostOrion || host == kHostSAWStudio)
    RestrictToTwoInputs();
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
  AssertLockFree();
  mLatency = samples;
  if (mHostCalls) mHostCalls->LatencyChanged(samples);
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
    ParameterChanged(index);
    RefreshTail();
  }
  // The host hears of it with the lock free: its handler may wait for its audio thread,
  // which may be waiting for this lock.
  HostAutomate(index, x);
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
