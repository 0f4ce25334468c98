// Blocks with parameter changes inside them: the block runs in segments, each change set
// between the segment before its frame and the one from it, all under one lock.
#include "IPlugBase.h"

#include "IPlugTrace.h"

namespace
{
// out[c] = the host's channel c from frame start on, or null where the host gave none.
template <class Sample>
void OffsetChannels(Sample* const* host, int count, int start, Sample** out)
{
  for (int c = 0; c < count; ++c) out[c] = host[c] ? host[c] + start : nullptr;
}
} // namespace

void IPlugBase::RefreshTail()
{
  const int tail = TailSamples();
  mTailSamples.store(tail > 0 ? tail : 0, std::memory_order_relaxed);
}

// The host's arrays hold one buffer per connected channel, in channel order.
int IPlugBase::ConnectedInputCount() const
{
  if (mAllConnected) return InputChannelCount();
  int n = 0;
  for (int i = 0, count = InputChannelCount(); i < count; ++i) n += IsInputConnected(i) ? 1 : 0;
  return n;
}

int IPlugBase::ConnectedOutputCount() const
{
  if (mAllConnected) return OutputChannelCount();
  int n = 0;
  for (int i = 0, count = OutputChannelCount(); i < count; ++i) n += IsOutputConnected(i) ? 1 : 0;
  return n;
}

void IPlugBase::RunHostSegment(float** inputs, float** outputs, int start, int frames)
{
  if (start == 0)
  {
    RunHostBlockFloat(inputs, outputs, frames); // the host's arrays as they are
    return;
  }
  const int nIn = ConnectedInputCount(), nOut = ConnectedOutputCount();
  float** ins = mSegmentFloat.data();
  float** outs = ins + nIn;
  OffsetChannels(inputs, nIn, start, ins);
  OffsetChannels(outputs, nOut, start, outs);
  RunHostBlockFloat(ins, outs, frames);
}

void IPlugBase::RunHostSegment(double** inputs, double** outputs, int start, int frames)
{
  const int nIn = ConnectedInputCount(), nOut = ConnectedOutputCount();
  double** ins = mSegmentDouble.data();
  double** outs = ins + nIn;
  OffsetChannels(inputs, nIn, start, ins);
  OffsetChannels(outputs, nOut, start, outs);
  AttachInputsDouble(0, InputChannelCount(), ins);
  AttachOutputsDouble(0, OutputChannelCount(), outs);
  RunBlockDouble(frames);
}

template <class Sample>
void IPlugBase::ProcessWithChanges(Sample** inputs, Sample** outputs, int start, int end,
                                   const IParameterChange* changes, int count)
{
  MarkAudioThreadForTrace();
  bool midiQueued = false;
  {
    IPlugLockGuard guard(mLock);
    // Without frames or buffer arrays the changes are still set: none is lost.
    const bool run = start >= 0 && end > start && (inputs || InputChannelCount() == 0) &&
                     (outputs || OutputChannelCount() == 0);
    int done = start;
    bool changed = false;
    for (int k = 0; changes && k < count; ++k)
    {
      const int frame = changes[k].frame < done ? done : (changes[k].frame > end ? end : changes[k].frame);
      if (run && frame > done)
      {
        RunHostSegment(inputs, outputs, done, frame - done);
        done = frame;
      }
      if (SetParameterLocked(changes[k].index, changes[k].value, changes[k].normalized)) changed = true;
    }
    if (run && done < end) RunHostSegment(inputs, outputs, done, end - done);
    if (changed) RefreshTail();
    midiQueued = mMidiOutCount > 0;
  }
  if (midiQueued) FlushMidiToHost();
}

void IPlugBase::ProcessFloatFromHost(float** inputs, float** outputs, int start, int end,
                                     const IParameterChange* changes, int count)
{
  ProcessWithChanges(inputs, outputs, start, end, changes, count);
}

void IPlugBase::ProcessDoubleFromHost(double** inputs, double** outputs, int start, int end,
                                      const IParameterChange* changes, int count)
{
  ProcessWithChanges(inputs, outputs, start, end, changes, count);
}
