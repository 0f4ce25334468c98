#include "IPlugLV2.h"

#include "IParam.h"

#include <lv2/atom/atom.h>
#include <lv2/buf-size/buf-size.h>
#include <lv2/options/options.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <mutex>
#include <new>

#include "IPlugMake.h"
#include "IPlugTrace.h"

namespace
{
const void* Feature(const LV2_Feature* const* features, const char* uri)
{
  for (const LV2_Feature* const* f = features; f && *f; ++f)
    if ((*f)->URI && std::strcmp((*f)->URI, uri) == 0) return (*f)->data;
  return nullptr;
}

// The host's bufsz:maxBlockLength from its options, or 0.
int MaxBlockLength(const LV2_Feature* const* features, const LV2_URID_Map& map)
{
  const auto* options = static_cast<const LV2_Options_Option*>(Feature(features, LV2_OPTIONS__options));
  if (!options) return 0;
  const LV2_URID key = map.map(map.handle, LV2_BUF_SIZE__maxBlockLength);
  const LV2_URID intType = map.map(map.handle, LV2_ATOM__Int);
  for (const LV2_Options_Option* o = options; o->key != 0; ++o)
    if (o->key == key && o->type == intType && o->size == sizeof(int32_t) && o->value)
      return *static_cast<const int32_t*>(o->value);
  return 0;
}

IPlugLV2* Adapter(LV2_Handle instance)
{
  return static_cast<IPlugLV2*>(instance);
}

LV2_State_Status SaveCallback(LV2_Handle instance, LV2_State_Store_Function store, LV2_State_Handle handle,
                              uint32_t, const LV2_Feature* const*)
{
  return Adapter(instance)->Save(store, handle);
}

LV2_State_Status RestoreCallback(LV2_Handle instance, LV2_State_Retrieve_Function retrieve,
                                 LV2_State_Handle handle, uint32_t, const LV2_Feature* const*)
{
  return Adapter(instance)->Restore(retrieve, handle);
}

// Whether data starts with the header SaveStateForHost writes (magic, format version,
// little-endian). The core also reads headerless parameter states from old VST hosts;
// an LV2 host only ever hands back what save stored.
bool SavedByThisAdapter(const void* data, size_t size)
{
  if (size < 8) return false;
  const auto* bytes = static_cast<const uint8_t*>(data);
  auto word = [bytes](int at) {
    return int32_t(uint32_t(bytes[at]) | uint32_t(bytes[at + 1]) << 8 | uint32_t(bytes[at + 2]) << 16 |
                   uint32_t(bytes[at + 3]) << 24);
  };
  return word(0) == IByteChunk::kMagic && word(4) == IByteChunk::kFormatVersion;
}

const LV2_State_Interface kStateInterface = {&SaveCallback, &RestoreCallback};
} // namespace

IPlugLV2::IPlugLV2(const IPlugLV2Entry& entry, IPlugBase* plug, double rate, int blockFrames,
                   const LV2_URID_Map& map)
  : mPlug(plug)
{
  mStateKey = map.map(map.handle, entry.lv2->stateKeyUri);
  mChunkType = map.map(map.handle, LV2_ATOM__Chunk);
  const int params = mPlug->ParameterCount();
  mControls.assign(params, nullptr);
  mLastControlBits.assign(params, kNoValue);
  mInputs.assign(entry.variant->inputs, nullptr);
  mOutputs.assign(entry.variant->outputs, nullptr);
  mInputView.assign(mInputs.size(), nullptr);
  mOutputView.assign(mOutputs.size(), nullptr);

  mPlug->SetHostCalls(this);
  // A mono variant connects the first input only: the plug-in feeds both sides from it.
  mPlug->ConnectInputsFromHost(entry.variant->inputs);
  mPlug->ConnectOutputsFromHost(entry.variant->outputs);
  mPlug->OpenFromHost();
  mPlug->SetSampleRateFromHost(rate);
  mPlug->SetBlockSizeFromHost(blockFrames);

  if (entry.lv2->readouts)
  {
    mViewPort = uint32_t(entry.lv2->ViewPort(*entry.variant));
    mReadoutPorts.assign(entry.lv2->ReadoutCount(), nullptr);
    mReadoutValues.assign(mReadoutPorts.size(), 0.0f);
    if (entry.makeReadouts) mReadouts.reset(entry.makeReadouts(mPlug.get()));
  }
}

IPlugLV2::~IPlugLV2()
{
  mReadouts.reset();
  mPlug->SetHostCalls(nullptr);
}

void IPlugLV2::ConnectPort(uint32_t port, void* data)
{
  const uint32_t params = uint32_t(mControls.size());
  const uint32_t inputs = uint32_t(mInputs.size());
  if (port < params)
    mControls[port] = static_cast<const float*>(data);
  else if (port < params + inputs)
    mInputs[port - params] = static_cast<float*>(data);
  else if (port < params + inputs + mOutputs.size())
    mOutputs[port - params - inputs] = static_cast<float*>(data);
  else if (port == mViewPort)
    mView = static_cast<const float*>(data);
  else if (mViewPort != ~0u && port > mViewPort && port - mViewPort - 1 < mReadoutPorts.size())
    mReadoutPorts[port - mViewPort - 1] = static_cast<float*>(data);
}

void IPlugLV2::TakeViewPort()
{
  if (!mView || !mReadouts) return;
  const float value = *mView;
  // Toggled: anything from 0.5 up is on; a value that is not a number changes nothing.
  if (std::isnan(value)) return;
  const bool shown = value >= 0.5f;
  if (shown == mViewShown) return;
  mViewShown = shown;
  mReadouts->SetViewShown(shown);
}

void IPlugLV2::WriteReadouts()
{
  if (mReadoutPorts.empty()) return;
  if (mReadouts) mReadouts->Read(mReadoutValues.data());
  for (size_t i = 0; i < mReadoutPorts.size(); ++i)
    if (mReadoutPorts[i]) *mReadoutPorts[i] = mReadoutValues[i];
}

void IPlugLV2::Run(uint32_t frames)
{
  for (size_t i = 0; i < mControls.size(); ++i)
  {
    if (!mControls[i]) continue;
    const float value = *mControls[i];
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    if (bits == mLastControlBits[i]) continue;
    mLastControlBits[i] = bits;
    // Converted and clamped as any host value; a value that is not finite is ignored. A
    // port holds a float: the value is the decimal it stands for (-4.1 dB, as a program
    // of the plug-in's own gives it), so every format sounds alike.
    mPlug->SetParameterFromHost(int(i), IParameter::FromHostFloat(value), false);
  }
  TakeViewPort();
  // The core takes an int of frames; a longer run (never seen in practice) goes in pieces.
  constexpr uint32_t kMaxPiece = 1u << 30;
  if (frames <= kMaxPiece)
  {
    mPlug->ProcessFloatFromHost(mInputs.data(), mOutputs.data(), int(frames));
    WriteReadouts();
    return;
  }
  for (uint32_t done = 0; done < frames;)
  {
    const uint32_t n = std::min(frames - done, kMaxPiece);
    for (size_t c = 0; c < mInputs.size(); ++c) mInputView[c] = mInputs[c] ? mInputs[c] + done : nullptr;
    for (size_t c = 0; c < mOutputs.size(); ++c) mOutputView[c] = mOutputs[c] ? mOutputs[c] + done : nullptr;
    mPlug->ProcessFloatFromHost(mInputView.data(), mOutputView.data(), int(n));
    done += n;
  }
  WriteReadouts();
}

LV2_State_Status IPlugLV2::Save(LV2_State_Store_Function store, LV2_State_Handle handle)
{
  const void* data = nullptr;
  const int size = mPlug->SaveStateForHost(true, &data);
  if (size <= 0 || !data) return LV2_STATE_ERR_UNKNOWN;
  return store(handle, mStateKey, data, size_t(size), mChunkType, LV2_STATE_IS_POD | LV2_STATE_IS_PORTABLE);
}

LV2_State_Status IPlugLV2::Restore(LV2_State_Retrieve_Function retrieve, LV2_State_Handle handle)
{
  size_t size = 0;
  uint32_t type = 0;
  uint32_t flags = 0;
  const void* data = retrieve(handle, mStateKey, &size, &type, &flags);
  // A preset carries its port values only: nothing to restore, nothing changed.
  if (!data) return LV2_STATE_SUCCESS;
  if (type != mChunkType || !SavedByThisAdapter(data, size)) return LV2_STATE_ERR_BAD_TYPE;
  // A chunk the plug-in cannot read leaves every value as it was.
  if (!mPlug->LoadStateFromHost(true, data, (long long)size)) return LV2_STATE_ERR_BAD_TYPE;
  // In LV2 the port values and the state together describe an instance, and a host
  // restores both: the next run hands every port's value on again, changed or not, so
  // the parameters end up as the ports say.
  std::fill(mLastControlBits.begin(), mLastControlBits.end(), kNoValue);
  return LV2_STATE_SUCCESS;
}

// ---- The descriptor's callbacks ----

LV2_Handle IPlugLV2::Instantiate(const LV2_Descriptor* descriptor, double rate, const char*,
                                 const LV2_Feature* const* features)
{
  const auto* map = static_cast<const LV2_URID_Map*>(Feature(features, LV2_URID__map));
  if (!descriptor || !map || !map->map)
  {
    EmitTrace("lv2 instantiate", __LINE__, "the host offers no urid:map");
    return nullptr;
  }
  // descriptor is the first member of its entry (see IPlugLV2Entry).
  const auto& entry = *reinterpret_cast<const IPlugLV2Entry*>(descriptor);
  int blockFrames = MaxBlockLength(features, *map);
  if (blockFrames <= 0) blockFrames = kDefaultBlockFrames;

  IPlugLV2* adapter = MakePlugInForHost<IPlugLV2>(entry.make, [&](IPlugBase* plug) {
    return new (std::nothrow) IPlugLV2(entry, plug, rate, blockFrames, *map);
  });
  if (!adapter) EmitTrace("lv2 instantiate", __LINE__, "the plug-in could not be made");
  return adapter;
}

void IPlugLV2::ConnectPortCallback(LV2_Handle instance, uint32_t port, void* data)
{
  Adapter(instance)->ConnectPort(port, data);
}

void IPlugLV2::Activate(LV2_Handle instance)
{
  Adapter(instance)->SetActive(true);
}

void IPlugLV2::RunCallback(LV2_Handle instance, uint32_t frames)
{
  Adapter(instance)->Run(frames);
}

void IPlugLV2::Deactivate(LV2_Handle instance)
{
  Adapter(instance)->SetActive(false);
}

void IPlugLV2::Cleanup(LV2_Handle instance)
{
  delete Adapter(instance);
}

const void* IPlugLV2::ExtensionData(const char* uri)
{
  if (uri && std::strcmp(uri, LV2_STATE__interface) == 0) return &kStateInterface;
  return nullptr;
}

void FillLV2Descriptor(IPlugLV2Entry& entry)
{
  entry.descriptor.URI = entry.variant->uri;
  entry.descriptor.instantiate = &IPlugLV2::Instantiate;
  entry.descriptor.connect_port = &IPlugLV2::ConnectPortCallback;
  entry.descriptor.activate = &IPlugLV2::Activate;
  entry.descriptor.run = &IPlugLV2::RunCallback;
  entry.descriptor.deactivate = &IPlugLV2::Deactivate;
  entry.descriptor.cleanup = &IPlugLV2::Cleanup;
  entry.descriptor.extension_data = &IPlugLV2::ExtensionData;
}
