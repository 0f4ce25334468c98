// The audio thread's calls: a block of host buffers, with or without parameter changes
// inside it. With changes the block runs in segments, each change set between the segment
// before its frame and the one from it, all under one lock. Both kinds of call share
// ProcessUnderLock; a block without changes takes the host's arrays straight through.
#include "IPlugBase.h"

#include "IPlugTrace.h"

namespace
{
// The host's channel arrays from frame start on: its own at frame 0, else scratch holding
// each of its first count channels offset (null where the host gave none).
template <class Sample>
Sample** FromFrame(Sample** host, int count, int start, Sample** scratch)
{
  if (start == 0) return host;
  for (int c = 0; c < count; ++c) scratch[c] = host[c] ? host[c] + start : nullptr;
  return scratch;
}
} // namespace

void IPlugBase::RefreshTail()
{
  const int tail = TailSamples();
  mTailSamples.store(tail > 0 ? tail : 0, std::memory_order_relaxed);
}

// The host's arrays hold one buffer per connected channel, in channel order.
int IPlugBase::ConnectedChannelCount(bool inputs) const
{
  const int count = inputs ? InputChannelCount() : OutputChannelCount();
  if (mAllConnected) return count;
  int n = 0;
  for (int i = 0; i < count; ++i) n += (inputs ? IsInputConnected(i) : IsOutputConnected(i)) ? 1 : 0;
  return n;
}

void IPlugBase::RunHostSegment(float** inputs, float** outputs, int start, int frames)
{
  const int nIn = ConnectedChannelCount(true), nOut = ConnectedChannelCount(false);
  float** scratch = mSegmentFloat.data();
  RunHostBlockFloat(FromFrame(inputs, nIn, start, scratch), FromFrame(outputs, nOut, start, scratch + nIn), frames);
}

void IPlugBase::RunHostSegment(double** inputs, double** outputs, int start, int frames)
{
  const int nIn = ConnectedChannelCount(true), nOut = ConnectedChannelCount(false);
  double** scratch = mSegmentDouble.data();
  AttachInputsDouble(0, InputChannelCount(), FromFrame(inputs, nIn, start, scratch));
  AttachOutputsDouble(0, OutputChannelCount(), FromFrame(outputs, nOut, start, scratch + nIn));
  RunBlockDouble(frames);
}

template <class Body>
void IPlugBase::ProcessUnderLock(Body&& body)
{
  MarkAudioThreadForTrace();
  // The host is asked for its transport before the lock is taken (into a copy only the
  // audio thread touches); the block reads it from mTransport.
  const bool readsTransport = mReadsTransport;
  if (readsTransport) ReadTransport(&mTransportRead);
  bool midiQueued = false;
  {
    IPlugLockGuard guard(mLock);
    if (readsTransport) mTransport = mTransportRead;
    body();
    midiQueued = mMidiOutCount > 0;
  }
  if (midiQueued) FlushMidiToHost();
}

template <class Sample>
bool IPlugBase::HostBlockUsable(Sample** inputs, Sample** outputs, int start, int end) const
{
  // No frames, or no buffer array for channels the plug-in has: nothing to process.
  return start >= 0 && end > start && (inputs || InputChannelCount() == 0) && (outputs || OutputChannelCount() == 0);
}

template <class Sample>
void IPlugBase::RunWithChanges(Sample** inputs, Sample** outputs, int start, int end, const IParameterChange* changes,
                               int count)
{
  // Without frames or buffer arrays nothing is processed, but the changes are still set.
  const bool run = HostBlockUsable(inputs, outputs, start, end);
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
}

void IPlugBase::ProcessFloatFromHost(float** inputs, float** outputs, int frames)
{
  ProcessUnderLock([&] {
    if (HostBlockUsable(inputs, outputs, 0, frames)) RunHostBlockFloat(inputs, outputs, frames);
  });
}

void IPlugBase::ProcessDoubleFromHost(double** inputs, double** outputs, int frames)
{
  ProcessUnderLock([&] {
    if (HostBlockUsable(inputs, outputs, 0, frames)) RunHostSegment(inputs, outputs, 0, frames);
  });
}

void IPlugBase::ProcessFloatFromHost(float** inputs, float** outputs, int start, int end,
                                     const IParameterChange* changes, int count)
{
  ProcessUnderLock([&] { RunWithChanges(inputs, outputs, start, end, changes, count); });
}

void IPlugBase::ProcessDoubleFromHost(double** inputs, double** outputs, int start, int end,
                                      const IParameterChange* changes, int count)
{
  ProcessUnderLock([&] { RunWithChanges(inputs, outputs, start, end, changes, count); });
}
