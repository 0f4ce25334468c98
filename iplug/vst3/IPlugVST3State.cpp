// State: the component's stream is the plug-in's state framed by IPlugStateFrame; the
// controller takes the same bytes to rebuild its values and keeps no state of its own.
// Streams are read from where they stand, in whatever pieces the host's read gives.
#include "IPlugVST3.h"

#include "IPlugStateFrame.h"
#include "IPlugTrace.h"

using namespace vst3;

namespace
{
constexpr size_t kMaxPiece = 1 << 30;

bool WriteAll(void* context, const void* data, size_t size)
{
  IBStream* stream = static_cast<IBStream*>(context);
  const char* p = static_cast<const char*>(data);
  while (size > 0)
  {
    int32 written = 0;
    const int32 ask = static_cast<int32>(size < kMaxPiece ? size : kMaxPiece);
    if (stream->write(const_cast<char*>(p), ask, &written) != kResultOk || written <= 0 || written > ask) return false;
    p += written;
    size -= static_cast<size_t>(written);
  }
  return true;
}

// Exactly size bytes; 0 bytes read is the end of the stream, whatever the result says.
bool ReadAll(void* context, void* data, size_t size)
{
  IBStream* stream = static_cast<IBStream*>(context);
  char* p = static_cast<char*>(data);
  while (size > 0)
  {
    int32 got = 0;
    const int32 ask = static_cast<int32>(size < kMaxPiece ? size : kMaxPiece);
    if (stream->read(p, ask, &got) != kResultOk || got <= 0 || got > ask) return false;
    p += got;
    size -= static_cast<size_t>(got);
  }
  return true;
}
} // namespace

tresult VST3_API IPlugVST3::getState(IBStream* state)
{
  if (!mPlug) return kNotInitialized;
  if (!state) return kInvalidArgument;
  return IPlugStateFrame::Save(*mPlug, WriteAll, state) ? kResultOk : kResultFalse;
}

tresult VST3_API IPlugVST3::setState(IBStream* state)
{
  if (!mPlug) return kNotInitialized;
  if (!state) return kInvalidArgument;
  return IPlugStateFrame::Load(*mPlug, ReadAll, state) ? kResultOk : kResultFalse;
}

tresult VST3_API IPlugVST3::setComponentState(IBStream* state)
{
  if (!mPlug) return kNotInitialized;
  if (!state) return kInvalidArgument;
  // Read into a plug-in base of the description alone, so that the processor's values
  // change only through its own setState.
  IPlugBase reader(mProduct.info());
  if (!IPlugStateFrame::Load(reader, ReadAll, state)) return kResultFalse;
  SetControllerValuesFromPlug(reader);
  return kResultOk;
}

tresult VST3_API IPlugVST3::setControllerState(IBStream*)
{
  return kResultOk; // the controller keeps nothing of its own
}

tresult VST3_API IPlugVST3::getControllerState(IBStream*)
{
  return kResultOk;
}
