// The VST 2.4 adapter's calls to the host: the plug-in's IPlugHostCalls, never made
// with the plug-in's lock held.
#include "IPlugVST.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "IGraphics.h"
#include "IPlugTrace.h"
#include "VstText.h"

using vst_text::ClipToInt;

namespace
{
constexpr int kHostProductBufferSize = 256;
} // namespace

void IPlugVST::BeginEdit(int index)
{
  CallHost(audioMasterBeginEdit, index);
}

void IPlugVST::Automate(int index, double normalized)
{
  CallHost(audioMasterAutomate, index, 0, nullptr, static_cast<float>(normalized));
}

void IPlugVST::EndEdit(int index)
{
  CallHost(audioMasterEndEdit, index);
}

void IPlugVST::SetEditorRect(int width, int height)
{
  mEditorRect = ERect{};
  mEditorRect.bottom = static_cast<VstInt16>(std::min(std::max(height, 0), int(INT16_MAX)));
  mEditorRect.right = static_cast<VstInt16>(std::min(std::max(width, 0), int(INT16_MAX)));
}

void IPlugVST::EditorResized(int width, int height)
{
  SetEditorRect(width, height);
  // Only a host that says it resizes windows is asked to, and only while the window it
  // holds the editor in is there to resize.
  IGraphics* editor = mPlug->Editor();
  if (!editor || !editor->EditorWindowOpen()) return;
  if (CallHost(audioMasterCanDo, 0, 0, const_cast<char*>("sizeWindow")) != 1) return;
  if (CallHost(audioMasterSizeWindow, width, height) != 1)
    EmitTrace("IPlugVST::EditorResized", __LINE__, "the host did not resize its window to %dx%d", width, height);
}

bool IPlugVST::HostProduct(char* product, int size, int* version)
{
  char answer[kHostProductBufferSize];
  std::memset(answer, 0, sizeof(answer));
  CallHost(audioMasterGetProductString, 0, 0, answer);
  answer[sizeof(answer) - 1] = '\0'; // whatever the host wrote, the text ends here
  CopyBoundedText(product, answer, size);
  *version = answer[0] ? ClipToInt(CallHost(audioMasterGetVendorVersion)) : 0;
  return true;
}

const VstTimeInfo* IPlugVST::HostTimeInfo(VstIntPtr wantedFlags)
{
  return reinterpret_cast<const VstTimeInfo*>(CallHost(audioMasterGetTime, 0, wantedFlags));
}

int IPlugVST::SamplePosition()
{
  const VstTimeInfo* info = HostTimeInfo(0);
  if (!info || !(info->samplePos >= 0.0)) return 0;
  // Positions past the range of the answer saturate instead of overflowing.
  if (info->samplePos >= static_cast<double>(INT_MAX)) return INT_MAX;
  return static_cast<int>(info->samplePos);
}

double IPlugVST::Tempo()
{
  if (!mHostCallback) return 0.0;
  const VstTimeInfo* info = HostTimeInfo(kVstTempoValid);
  if (info && (info->flags & kVstTempoValid) && info->tempo >= 0.0 && std::isfinite(info->tempo))
    return info->tempo;
  return 0.0;
}

void IPlugVST::TimeSignature(int* numerator, int* denominator)
{
  if (numerator) *numerator = 0;
  if (denominator) *denominator = 0;
  const VstTimeInfo* info = HostTimeInfo(kVstTimeSigValid);
  if (info && (info->flags & kVstTimeSigValid) && info->timeSigNumerator >= 0 &&
      info->timeSigDenominator >= 0)
  {
    if (numerator) *numerator = info->timeSigNumerator;
    if (denominator) *denominator = info->timeSigDenominator;
  }
}

void IPlugVST::LatencyChanged(int samples)
{
  mAEffect.initialDelay = samples;
}

bool IPlugVST::SendMidi(const MidiMessage* messages, int count)
{
  bool allSent = true;
  for (int i = 0; messages && i < count; ++i)
  {
    VstMidiEvent event{};
    event.type = kVstMidiType;
    event.byteSize = sizeof(VstMidiEvent);
    event.deltaFrames = messages[i].mOffset;
    event.midiData[0] = static_cast<char>(messages[i].mStatus);
    event.midiData[1] = static_cast<char>(messages[i].mData1);
    event.midiData[2] = static_cast<char>(messages[i].mData2);
    VstEvents list{};
    list.numEvents = 1;
    list.events[0] = reinterpret_cast<VstEvent*>(&event);
    allSent = CallHost(audioMasterProcessEvents, 0, 0, &list) == 1 && allSent;
  }
  return allSent;
}
