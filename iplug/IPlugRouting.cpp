// Channel routing of IPlugBase: host buffers to and from the 64-bit buffers of ProcessBlock,
// or straight to ProcessBlockFloat for a 32-bit block the product takes as it is.
#include "IPlugBase.h"

#include "IPlugChannels.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace
{
// The channel indexes [first, last) of a start/count range clipped to n channels.
void ClipRange(int start, int count, int n, int* first, int* last)
{
  const int64_t end = std::min<int64_t>(static_cast<int64_t>(start) + count, n);
  *first = std::max(start, 0);
  *last = static_cast<int>(std::max<int64_t>(end, *first));
}

// Walks the channels start ... start + count - 1 that exist and hands each its host
// buffer for this block: each connected channel takes the next pointer from
// buffers (unconnected ones consume none and get null, dropping the last block's).
template <class Channel, class Sample, class Attach>
void AttachHostBuffers(PointerList<Channel>& channels, int start, int count, Sample** buffers, Attach attach)
{
  int first, last, next = 0;
  ClipRange(start, count, channels.GetSize(), &first, &last);
  for (int i = first; i < last; ++i)
  {
    Channel* channel = channels.Get(i);
    attach(channel, channel->mConnected && buffers ? buffers[next++] : nullptr);
  }
}

void Zero(double* data, int frames)
{
  if (data && frames > 0) std::memset(data, 0, sizeof(double) * static_cast<size_t>(frames));
}
} // namespace

void IPlugBase::SetBlockFrames(int frames)
{
  if (frames <= 0 || frames == mBlockSize || frames > INT_MAX / static_cast<int>(sizeof(double)))
    return;
  const int bytes = frames * static_cast<int>(sizeof(double));
  bool ok = true;
  int fitFrames = frames; // what every scratch buffer holds, should memory run out
  for (int i = 0, n = InputChannelCount(); i < n; ++i)
  {
    InputChannel* channel = mInChannels.Get(i);
    ok = channel->mScratch.Resize(bytes, true) && ok;
    fitFrames = std::min(fitFrames, channel->mScratch.GetSize() / static_cast<int>(sizeof(double)));
    Zero(channel->ScratchData(), channel->mScratch.GetSize() / static_cast<int>(sizeof(double)));
    if (!channel->mConnected) *channel->mSlot = channel->ScratchData();
  }
  for (int i = 0, n = OutputChannelCount(); i < n; ++i)
  {
    OutputChannel* channel = mOutChannels.Get(i);
    ok = channel->mScratch.Resize(bytes, true) && ok;
    fitFrames = std::min(fitFrames, channel->mScratch.GetSize() / static_cast<int>(sizeof(double)));
    Zero(channel->ScratchData(), channel->mScratch.GetSize() / static_cast<int>(sizeof(double)));
    if (!channel->mConnected) *channel->mSlot = channel->ScratchData();
  }
  mBlockSize = ok ? frames : fitFrames;
}

void IPlugBase::SetInputsConnected(int start, int count, bool connected)
{
  int first, last;
  ClipRange(start, count, InputChannelCount(), &first, &last);
  bool changed = false;
  for (int i = first; i < last; ++i)
  {
    InputChannel* channel = mInChannels.Get(i);
    changed = changed || channel->mConnected != connected;
    channel->mConnected = connected;
    if (!connected)
    {
      // The scratch may still hold the last converted block: an unconnected input reads silence.
      Zero(channel->ScratchData(), channel->mScratch.GetSize() / static_cast<int>(sizeof(double)));
      *channel->mSlot = channel->ScratchData();
      channel->mHostDouble = nullptr;
      channel->mHostFloat = nullptr;
    }
  }
  mAllConnected = EveryChannelConnected();
  if (changed) InputConnectionsChanged();
}

void IPlugBase::SetOutputsConnected(int start, int count, bool connected)
{
  int first, last;
  ClipRange(start, count, OutputChannelCount(), &first, &last);
  for (int i = first; i < last; ++i)
  {
    OutputChannel* channel = mOutChannels.Get(i);
    channel->mConnected = connected;
    if (!connected)
    {
      *channel->mSlot = channel->ScratchData();
      channel->mHostDouble = nullptr;
      channel->mFloatDest = nullptr;
    }
  }
  mAllConnected = EveryChannelConnected();
}

bool IPlugBase::EveryChannelConnected() const
{
  const int nIn = InputChannelCount(), nOut = OutputChannelCount();
  if (nIn + nOut == 0) return false;
  for (int i = 0; i < nIn; ++i)
    if (!mInChannels.Get(i)->mConnected) return false;
  for (int i = 0; i < nOut; ++i)
    if (!mOutChannels.Get(i)->mConnected) return false;
  return true;
}

bool IPlugBase::IsInputConnected(int index) const
{
  const InputChannel* channel = mInChannels.Get(index);
  return channel && channel->mConnected;
}

bool IPlugBase::IsOutputConnected(int index) const
{
  const OutputChannel* channel = mOutChannels.Get(index);
  return channel && channel->mConnected;
}

void IPlugBase::AttachInputsDouble(int start, int count, double** buffers)
{
  AttachHostBuffers(mInChannels, start, count, buffers, [](InputChannel* channel, double* buffer) {
    channel->mHostFloat = nullptr;
    channel->mHostDouble = buffer;
    if (channel->mConnected) *channel->mSlot = buffer;
  });
}

void IPlugBase::AttachInputsFloat(int start, int count, float** buffers, int frames)
{
  mAttachedInputFrames = std::max(frames, 0);
  AttachHostBuffers(mInChannels, start, count, buffers, [](InputChannel* channel, float* buffer) {
    channel->mHostDouble = nullptr;
    channel->mHostFloat = buffer;
    // Filled from the host buffer when the block runs.
    if (channel->mConnected) *channel->mSlot = channel->ScratchData();
  });
}

void IPlugBase::AttachOutputsDouble(int start, int count, double** buffers)
{
  AttachHostBuffers(mOutChannels, start, count, buffers, [](OutputChannel* channel, double* buffer) {
    channel->mFloatDest = nullptr;
    channel->mHostDouble = buffer;
    if (channel->mConnected) *channel->mSlot = buffer;
  });
}

void IPlugBase::AttachOutputsFloat(int start, int count, float** buffers)
{
  AttachHostBuffers(mOutChannels, start, count, buffers, [](OutputChannel* channel, float* buffer) {
    channel->mHostDouble = nullptr;
    channel->mFloatDest = buffer;
    if (channel->mConnected) *channel->mSlot = channel->ScratchData();
  });
}

void IPlugBase::PrepareSubBlock(bool floatPath, int offset, int frames)
{
  for (int i = 0, n = InputChannelCount(); i < n; ++i)
  {
    InputChannel* channel = mInChannels.Get(i);
    double* scratch = channel->ScratchData();
    if (!channel->mConnected)
    {
      *channel->mSlot = scratch; // zeros
    }
    else if (!floatPath && channel->mHostDouble)
    {
      *channel->mSlot = const_cast<double*>(channel->mHostDouble) + offset;
    }
    else if (floatPath && channel->mHostFloat)
    {
      // Widen what the host gave; anything past the attached frame count reads silence.
      const int available = std::clamp(mAttachedInputFrames - offset, 0, frames);
      const float* src = channel->mHostFloat + offset;
      for (int j = 0; j < available; ++j) scratch[j] = static_cast<double>(src[j]);
      Zero(scratch + available, frames - available);
      *channel->mSlot = scratch;
    }
    else
    {
      Zero(scratch, frames); // connected, but the host gave no buffer this block
      *channel->mSlot = scratch;
    }
  }
  for (int i = 0, n = OutputChannelCount(); i < n; ++i)
  {
    OutputChannel* channel = mOutChannels.Get(i);
    if (channel->mConnected && !floatPath && channel->mHostDouble)
      *channel->mSlot = channel->mHostDouble + offset;
    else
      *channel->mSlot = channel->ScratchData();
  }
}

void IPlugBase::FinishSubBlockFloat(int offset, int frames)
{
  for (int i = 0, n = OutputChannelCount(); i < n; ++i)
  {
    OutputChannel* channel = mOutChannels.Get(i);
    if (!channel->mConnected || !channel->mFloatDest) continue;
    const double* src = channel->ScratchData();
    float* dst = channel->mFloatDest + offset;
    for (int j = 0; j < frames; ++j) dst[j] = static_cast<float>(src[j]);
  }
}

void IPlugBase::SilenceOutputs(bool floatPath, int frames)
{
  for (int i = 0, n = OutputChannelCount(); i < n; ++i)
  {
    OutputChannel* channel = mOutChannels.Get(i);
    if (!channel->mConnected) continue;
    if (floatPath && channel->mFloatDest)
      std::memset(channel->mFloatDest, 0, sizeof(float) * static_cast<size_t>(frames));
    else if (!floatPath)
      Zero(channel->mHostDouble, frames);
  }
}

void IPlugBase::RunHostBlockFloat(float** inputs, float** outputs, int frames)
{
  // The common case takes a straight path: with every channel connected, channel i
  // takes host buffer i, and a run that fits the block size is one sub-block, so the
  // host's own pointer arrays are exactly what ProcessSubBlockFloat would offer.
  if (mAllConnected && frames > 0 && frames <= mBlockSize &&
      ProcessBlockFloat(InputChannelCount() ? inputs : nullptr, OutputChannelCount() ? outputs : nullptr, frames))
    return;
  AttachInputsFloat(0, InputChannelCount(), inputs, frames);
  AttachOutputsFloat(0, OutputChannelCount(), outputs);
  RunBlockFloat(frames);
}

void IPlugBase::RunBlockDouble(int frames)
{
  RunBlock(false, frames);
}

void IPlugBase::RunBlockFloat(int frames)
{
  RunBlock(true, frames);
}

void IPlugBase::RunBlock(bool floatPath, int frames)
{
  if (frames <= 0) return;
  if (mBlockSize <= 0)
  {
    SilenceOutputs(floatPath, frames); // no scratch to process in yet
    return;
  }
  double** inputs = InputChannelCount() ? static_cast<double**>(mInData.Get()) : nullptr;
  double** outputs = OutputChannelCount() ? static_cast<double**>(mOutData.Get()) : nullptr;
  // Longer runs than the scratch holds go through in sub-blocks; the result is the same.
  for (int offset = 0; offset < frames;)
  {
    const int n = std::min(frames - offset, mBlockSize);
    if (!floatPath || !ProcessSubBlockFloat(offset, n))
    {
      PrepareSubBlock(floatPath, offset, n);
      ProcessBlock(inputs, outputs, n);
      if (floatPath) FinishSubBlockFloat(offset, n);
    }
    offset += n;
  }
}

bool IPlugBase::ProcessSubBlockFloat(int offset, int frames)
{
  const int nIn = InputChannelCount();
  const int nOut = OutputChannelCount();
  if (mInFloatData.GetSize() < nIn * static_cast<int>(sizeof(float*)) ||
      mOutFloatData.GetSize() < nOut * static_cast<int>(sizeof(float*)))
    return false;
  const float** inputs = static_cast<const float**>(mInFloatData.Get());
  float** outputs = static_cast<float**>(mOutFloatData.Get());
  // An input whose host buffer ends inside this sub-block is offered as missing: the
  // 64-bit route pads it with silence.
  const bool inputsCover = mAttachedInputFrames - offset >= frames;
  for (int i = 0; i < nIn; ++i)
  {
    const InputChannel* channel = mInChannels.Get(i);
    const bool usable = channel->mConnected && channel->mHostFloat && inputsCover;
    inputs[i] = usable ? channel->mHostFloat + offset : nullptr;
  }
  for (int i = 0; i < nOut; ++i)
  {
    const OutputChannel* channel = mOutChannels.Get(i);
    outputs[i] = channel->mConnected && channel->mFloatDest ? channel->mFloatDest + offset : nullptr;
  }
  return ProcessBlockFloat(nIn ? inputs : nullptr, nOut ? outputs : nullptr, frames);
}

void IPlugBase::RestrictToTwoInputs()
{
  if (InputChannelCount() >= 3) SetInputsConnected(2, InputChannelCount() - 2, false);
  if (OutputChannelCount() >= 3) SetOutputsConnected(2, OutputChannelCount() - 2, true);
}
