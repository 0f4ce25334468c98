// The component: life cycle, buses and their arrangements, processing with parameter
// points at their frames.
#include "IPlugVST3.h"

#include <cmath>
#include <cstring>

#include "IPlugTrace.h"
#include "IPlugVST3Text.h"
#include "IPlugVST3View.h"

using namespace vst3;

IPlugVST3::IPlugVST3(const IPlugVST3Product& product) : mProduct(product)
{
}

IPlugVST3::~IPlugVST3()
{
  mInitializeCount = 1;
  terminate();
}

// ---- FUnknown ----

tresult VST3_API IPlugVST3::queryInterface(const TUID iid, void** obj)
{
  if (!obj) return kInvalidArgument;
  void* found = nullptr;
  if (SameUid(iid, FUnknown_iid.bytes) || SameUid(iid, IPluginBase_iid.bytes) || SameUid(iid, IComponent_iid.bytes))
    found = static_cast<IComponent*>(this);
  else if (SameUid(iid, IAudioProcessor_iid.bytes))
    found = static_cast<IAudioProcessor*>(this);
  else if (SameUid(iid, IProcessContextRequirements_iid.bytes))
    found = static_cast<IProcessContextRequirements*>(this);
  else if (SameUid(iid, IEditController_iid.bytes))
    found = static_cast<IEditController*>(this);
  else if (SameUid(iid, IUnitInfo_iid.bytes))
    found = static_cast<IUnitInfo*>(this);
  *obj = found;
  if (!found) return kNoInterface;
  addRef();
  return kResultOk;
}

uint32 VST3_API IPlugVST3::addRef()
{
  return ++mRefCount;
}

uint32 VST3_API IPlugVST3::release()
{
  const uint32 count = --mRefCount;
  if (count == 0) delete this;
  return count;
}

// ---- IPluginBase ----

tresult VST3_API IPlugVST3::initialize(FUnknown* context)
{
  // The second call of a host that initialises the object once per role changes nothing.
  if (mInitializeCount++ > 0) return kResultOk;
  if (context)
  {
    context->addRef();
    mHostContext = context;
  }
  mPlug.reset(mProduct.make());
  IPlugBase& plug = *mPlug;
  plug.ConnectInputsFromHost(plug.InputChannelCount());
  plug.ConnectOutputsFromHost(plug.OutputChannelCount());
  plug.SetBlockFrames(1024);
  plug.SetHostCalls(this);
  mInputArrangement = mOutputArrangement = kArrStereo;
  mInputChannels = 2;
  mOutputChannels = plug.OutputChannelCount();
  mActive = false;
  mProgramValue = 0.0;
  mProgramChosen = -1;
  mChanges.assign(kMaxChanges, IParameterChange{});
  ReadFactoryPrograms();
  mControllerValues.clear();
  for (int i = 0; i < plug.ParameterCount(); ++i) mControllerValues.push_back(plug.ParameterDefaultForHost(i, true));
  mControllerValues.push_back(0.0); // the program
  plug.OpenFromHost();
  return kResultOk;
}

tresult VST3_API IPlugVST3::terminate()
{
  if (mInitializeCount == 0) return kResultOk;
  if (--mInitializeCount > 0) return kResultOk;
  if (mOpenView) mOpenView->Close();
  if (mPlug)
  {
    mPlug->CloseEditorFromHost();
    mPlug->SetHostCalls(nullptr);
  }
  mPlug.reset();
  if (mHandler) mHandler->release();
  mHandler = nullptr;
  if (mHostContext) mHostContext->release();
  mHostContext = nullptr;
  return kResultOk;
}

// ---- IComponent ----

tresult VST3_API IPlugVST3::getControllerClassId(TUID)
{
  return kNotImplemented; // the component is its own controller
}

tresult VST3_API IPlugVST3::setIoMode(IoMode)
{
  return kNotImplemented;
}

int32 VST3_API IPlugVST3::getBusCount(MediaType type, BusDirection dir)
{
  return type == kAudio && (dir == kInput || dir == kOutput) ? 1 : 0;
}

tresult VST3_API IPlugVST3::getBusInfo(MediaType type, BusDirection dir, int32 index, BusInfo& bus)
{
  if (type != kAudio || (dir != kInput && dir != kOutput) || index != 0) return kInvalidArgument;
  std::memset(&bus, 0, sizeof(bus));
  bus.mediaType = kAudio;
  bus.direction = dir;
  bus.channelCount = __builtin_popcountll(dir == kInput ? mInputArrangement : mOutputArrangement);
  IPlugVST3Text::ToUtf16(dir == kInput ? "Input" : "Output", bus.name, 128);
  bus.busType = kMain;
  bus.flags = kDefaultActive;
  return kResultTrue;
}

tresult VST3_API IPlugVST3::getRoutingInfo(RoutingInfo&, RoutingInfo&)
{
  return kNotImplemented;
}

tresult VST3_API IPlugVST3::activateBus(MediaType type, BusDirection dir, int32 index, TBool state)
{
  if (type != kAudio || (dir != kInput && dir != kOutput) || index != 0) return kInvalidArgument;
  // Nothing to do either way: a deactivated bus's buffers are still processed when a host
  // sends them (Ardour deactivates buses from its audio callback).
  (void)state;
  return kResultTrue;
}

tresult VST3_API IPlugVST3::setActive(TBool state)
{
  if (!mPlug) return kNotInitialized;
  const bool active = state != 0;
  if (active == mActive) return kResultOk;
  if (active)
  {
    mPlug->SetSampleRateFromHost(mSetup.sampleRate);
    mPlug->SetBlockSizeFromHost(mSetup.maxSamplesPerBlock);
  }
  mPlug->SetActiveFromHost(active);
  mActive = active;
  return kResultOk;
}

// ---- IAudioProcessor: buses ----

tresult VST3_API IPlugVST3::setBusArrangements(SpeakerArrangement* inputs, int32 numIns, SpeakerArrangement* outputs,
                                              int32 numOuts)
{
  if (numIns < 0 || numOuts < 0) return kInvalidArgument;
  if (numIns != 1 || numOuts != 1 || !inputs || !outputs || !mPlug) return kResultFalse; // our bus count, unchanged
  // Judged by channel count: hosts send one channel as kMono, kSpeakerL or kSpeakerC.
  const int inChannels = __builtin_popcountll(inputs[0]);
  const int outChannels = __builtin_popcountll(outputs[0]);
  const bool inputUsable = inChannels == 1 || inChannels == 2;
  const SpeakerArrangement input = inputUsable ? inputs[0] : mInputArrangement;
  const SpeakerArrangement output = outChannels == 2 ? outputs[0] : kArrStereo;
  const bool supported = inputUsable && outChannels == 2;
  if (input == mInputArrangement && output == mOutputArrangement) return supported ? kResultTrue : kResultFalse;
  // A real change while active is refused (Ardour repeats the current one while processing).
  if (mActive) return kResultFalse;
  // As the VST 2.4 plug-in does for one input channel: input 1 unconnected, so the
  // plug-in reads input 0 for both sides.
  const int n = __builtin_popcountll(input);
  mPlug->ConnectInputsFromHost(n);
  mInputArrangement = input;
  mInputChannels = n;
  mOutputArrangement = output;
  return supported ? kResultTrue : kResultFalse;
}

tresult VST3_API IPlugVST3::getBusArrangement(BusDirection dir, int32 index, SpeakerArrangement& arr)
{
  if ((dir != kInput && dir != kOutput) || index != 0) return kInvalidArgument;
  arr = dir == kInput ? mInputArrangement : mOutputArrangement;
  return kResultTrue;
}

tresult VST3_API IPlugVST3::canProcessSampleSize(int32 symbolicSampleSize)
{
  return symbolicSampleSize == kSample32 || symbolicSampleSize == kSample64 ? kResultTrue : kResultFalse;
}

uint32 VST3_API IPlugVST3::getLatencySamples()
{
  return mPlug ? static_cast<uint32>(mPlug->Latency()) : 0;
}

tresult VST3_API IPlugVST3::setupProcessing(ProcessSetup& setup)
{
  if (!mPlug) return kNotInitialized;
  if (mActive) return kResultFalse;
  if (canProcessSampleSize(setup.symbolicSampleSize) != kResultTrue) return kResultFalse;
  if (!(std::isfinite(setup.sampleRate) && setup.sampleRate > 0.0) || setup.maxSamplesPerBlock <= 0)
    return kInvalidArgument;
  mSetup = setup;
  return kResultOk;
}

tresult VST3_API IPlugVST3::setProcessing(TBool)
{
  if (!mPlug) return kNotInitialized;
  // Light work on either thread: the delay line is cleared in place.
  mPlug->ResetFromHost();
  return kResultOk;
}

uint32 VST3_API IPlugVST3::getTailSamples()
{
  return mPlug ? static_cast<uint32>(mPlug->TailSamplesForHost()) : 0;
}

// ---- IAudioProcessor: processing ----

void IPlugVST3::AddChange(int frame, int index, double value, bool normalized, int* count)
{
  if (*count >= kMaxChanges) return;
  // Kept in frame order as they come (queues are each sorted, not with each other).
  int k = (*count)++;
  while (k > 0 && mChanges[k - 1].frame > frame)
  {
    mChanges[k] = mChanges[k - 1];
    --k;
  }
  mChanges[k] = IParameterChange{frame, index, value, normalized};
}

int IPlugVST3::ReadChanges(IParameterChanges* changes, int frames)
{
  const int queues = changes ? changes->getParameterCount() : 0;
  const int params = ParamCount();
  int count = 0;
  for (int q = 0; q < queues; ++q)
  {
    IParamValueQueue* queue = changes->getParameterData(q);
    if (!queue) continue;
    const ParamID id = queue->getParameterId();
    const int points = queue->getPointCount();
    const bool isProgram = id == kProgramParamId && ProgramCount() > 0;
    if (!isProgram && id >= static_cast<ParamID>(params)) continue; // unknown ids, kNoParamId too
    // Every point of a parameter at its frame; a program choice only by its last point.
    for (int p = isProgram ? points - 1 : 0; p >= 0 && p < points; ++p)
    {
      int32 offset = 0;
      ParamValue value = 0.0;
      if (queue->getPoint(p, offset, value) != kResultTrue || !std::isfinite(value)) continue;
      const int frame = offset < 0 ? 0 : (offset > frames ? frames : offset);
      if (!isProgram)
      {
        AddChange(frame, static_cast<int>(id), value, true, &count);
        continue;
      }
      mProgramValue = value < 0.0 ? 0.0 : (value > 1.0 ? 1.0 : value);
      mProgramChosen = ProgramForValue(mProgramValue);
      const std::vector<double>& program = mProgramValues[static_cast<size_t>(mProgramChosen)];
      for (int i = 0; i < params && i < static_cast<int>(program.size()); ++i)
        AddChange(frame, i, program[static_cast<size_t>(i)], false, &count);
    }
  }
  return count;
}

namespace
{
Sample32** Buffers32(AudioBusBuffers& bus)
{
  return bus.channelBuffers32;
}
Sample64** Buffers64(AudioBusBuffers& bus)
{
  return bus.channelBuffers64;
}

// The host's channel array when it holds the needed channels, else scratch with nulls
// where the host gave none.
template <class Sample>
Sample** PlugChannels(Sample** host, int hostCount, int needed, Sample** scratch)
{
  const int n = needed < IPlugVST3::kMaxChannels ? needed : IPlugVST3::kMaxChannels;
  if (host && hostCount >= n) return host;
  for (int c = 0; c < n; ++c) scratch[c] = host && c < hostCount ? host[c] : nullptr;
  return scratch;
}

// A block without changes takes the core's plain call, as processReplacing does.
void ProcessFromHost(IPlugBase& plug, float** ins, float** outs, int frames, const IParameterChange* changes, int n)
{
  if (n > 0)
    plug.ProcessFloatFromHost(ins, outs, 0, frames, changes, n);
  else
    plug.ProcessFloatFromHost(ins, outs, frames);
}
void ProcessFromHost(IPlugBase& plug, double** ins, double** outs, int frames, const IParameterChange* changes, int n)
{
  if (n > 0)
    plug.ProcessDoubleFromHost(ins, outs, 0, frames, changes, n);
  else
    plug.ProcessDoubleFromHost(ins, outs, frames);
}

template <class Sample>
bool AllZero(const Sample* samples, int frames)
{
  for (int i = 0; i < frames; ++i)
    if (samples[i] != 0) return false;
  return true;
}
} // namespace

template <class Sample>
void IPlugVST3::RunBlock(ProcessData& data, Sample** (*buffers)(AudioBusBuffers&), int changes)
{
  IPlugBase& plug = *mPlug;
  AudioBusBuffers* out = data.numOutputs > 0 ? data.outputs : nullptr;
  AudioBusBuffers* in = data.numInputs > 0 ? data.inputs : nullptr;
  Sample** outChannels = out && out->numChannels > 0 ? buffers(*out) : nullptr;
  const int frames = data.numSamples > 0 && outChannels ? data.numSamples : 0;
  if (frames == 0)
  {
    // A flush: the changes only, no audio touched.
    ProcessFromHost(plug, static_cast<Sample**>(nullptr), static_cast<Sample**>(nullptr), 0, mChanges.data(), changes);
    return;
  }
  Sample* inScratch[kMaxChannels];
  Sample* outScratch[kMaxChannels];
  const int inCount = in ? in->numChannels : 0;
  Sample** inChannels = in && inCount > 0 ? buffers(*in) : nullptr;
  ProcessFromHost(plug, PlugChannels(inChannels, inCount, mInputChannels, inScratch),
                  PlugChannels(outChannels, out->numChannels, plug.OutputChannelCount(), outScratch), frames,
                  mChanges.data(), changes);
  // An output is flagged silent only when it was checked to hold zeros, and only looked
  // at when the whole input was flagged silent (the delay may still be sounding).
  out->silenceFlags = 0;
  const uint64 inputSilent = inCount >= 64 ? ~0ull : ((1ull << inCount) - 1);
  if (in && inCount > 0 && (in->silenceFlags & inputSilent) == inputSilent)
    for (int c = 0; c < out->numChannels && c < 64; ++c)
      if (outChannels[c] && AllZero(outChannels[c], frames)) out->silenceFlags |= 1ull << c;
}

tresult VST3_API IPlugVST3::process(ProcessData& data)
{
  if (!mPlug) return kNotInitialized;
  IParameterChanges* const queues = data.inputParameterChanges;
  const bool hasChanges = queues && queues->getParameterCount() > 0;
  // The common block takes a short path, straight to the core as processReplacing does:
  // 32-bit, no changes, both buses with all their channels, and an input not flagged
  // silent (so no output is flagged silent either).
  if (!hasChanges && data.symbolicSampleSize == kSample32 && data.numSamples > 0 && data.numInputs > 0 &&
      data.numOutputs > 0 && data.inputs && data.outputs)
  {
    AudioBusBuffers& in = data.inputs[0];
    AudioBusBuffers& out = data.outputs[0];
    if (in.silenceFlags == 0 && in.numChannels >= mInputChannels && in.channelBuffers32 &&
        out.numChannels >= mOutputChannels && out.channelBuffers32)
    {
      mPlug->ProcessFloatFromHost(in.channelBuffers32, out.channelBuffers32, data.numSamples);
      out.silenceFlags = 0;
      return kResultOk;
    }
  }
  return ProcessAnyBlock(data, hasChanges);
}

tresult IPlugVST3::ProcessAnyBlock(ProcessData& data, bool hasChanges)
{
  const int changes = hasChanges ? ReadChanges(data.inputParameterChanges, data.numSamples > 0 ? data.numSamples : 0) : 0;
  if (data.symbolicSampleSize == kSample64)
    RunBlock<Sample64>(data, Buffers64, changes);
  else
    RunBlock<Sample32>(data, Buffers32, changes);
  if (mProgramChosen >= 0)
  {
    // Its values were set in the block; the core keeps the number for the next state.
    mPlug->SetCurrentProgramFromHost(mProgramChosen);
    mProgramChosen = -1;
  }
  return kResultOk;
}
