// The calls a format adapter makes into the plug-in base: the format-independent half of
// every host's requests. Each takes the lock itself and never calls out with it held.
#include "IPlugBase.h"

#include <climits>
#include <cmath>
#include <cstring>

#include "IGraphics.h"
#include "IPlugMake.h"
#include "IPlugTrace.h"

std::mutex& PlugConstructionLock()
{
  static std::mutex lock;
  return lock;
}

void IPlugBase::OpenFromHost()
{
  IdentifyHost(); // asks the host: the lock stays free
  IPlugLockGuard guard(mLock);
  if (!mHostSetupDone)
  {
    mHostSetupDone = true;
    HostSpecificSetup();
  }
  NotifyAllParametersChanged();
  RefreshTail();
}

void IPlugBase::SetSampleRateFromHost(double rate)
{
  IPlugLockGuard guard(mLock);
  mHostSampleRateUsable = std::isfinite(rate) && rate > 0.0;
  if (!mHostSampleRateUsable) EmitTrace("IPlugBase::SetSampleRateFromHost", __LINE__, "sample rate %g refused", rate);
  SetSampleRateHz(rate);
  ResetProcessing();
  RefreshTail();
}

bool IPlugBase::SetBlockSizeFromHost(long long frames)
{
  if (frames <= 0)
  {
    // No block size to prepare for.
    EmitTrace("IPlugBase::SetBlockSizeFromHost", __LINE__, "block size %lld refused", frames);
    return false;
  }
  IPlugLockGuard guard(mLock);
  SetBlockFrames(frames > kMaxBlockFrames ? kMaxBlockFrames : static_cast<int>(frames));
  ResetProcessing();
  return true;
}

void IPlugBase::SetActiveFromHost(bool active)
{
  IPlugLockGuard guard(mLock);
  SetActive(active);
  if (!active) ResetProcessing();
}

bool IPlugBase::SetParameterFromHost(int index, double value, bool isNormalized)
{
  IPlugLockGuard guard(mLock);
  if (!SetParameterLocked(index, value, isNormalized)) return false;
  RefreshTail();
  return true;
}

bool IPlugBase::SetParameterLocked(int index, double value, bool isNormalized)
{
  IParameter* param = ParameterAt(index);
  // A value that is not a number or infinite is no position on the control: ignored.
  if (!param || !std::isfinite(value)) return false;
  if (mEditor) mEditor->PushParameterToControls(index, value, isNormalized);
  if (isNormalized)
    param->SetFromNormalized(value); // clamps to the range
  else
    param->SetValue(value);
  ParameterChanged(index);
  return true;
}

bool IPlugBase::SetParameterFromHostText(int index, const char* text)
{
  IParameter* param = ParameterAt(index);
  double value = 0.0;
  if (!param || !text || !param->ValueFromText(text, &value)) return false;
  return SetParameterFromHost(index, value, false);
}

double IPlugBase::ParameterValueForHost(int index, bool normalized)
{
  IPlugLockGuard guard(mLock);
  const IParameter* param = ParameterAt(index);
  if (!param) return 0.0;
  return normalized ? param->Normalized() : param->Value();
}

double IPlugBase::ParameterDefaultForHost(int index, bool normalized) const
{
  const IParameter* param = ParameterAt(index);
  if (!param) return 0.0;
  return normalized ? param->ToNormalized(param->DefaultValue()) : param->DefaultValue();
}

bool IPlugBase::ParameterNameForHost(int index, char* text, int size) const
{
  const IParameter* param = ParameterAt(index);
  if (!param || !text || size <= 0) return false;
  CopyBoundedText(text, param->HostName(), size);
  return true;
}

bool IPlugBase::ParameterLabelForHost(int index, char* text, int size)
{
  IPlugLockGuard guard(mLock);
  const IParameter* param = ParameterAt(index);
  if (!param || !text || size <= 0) return false;
  CopyBoundedText(text, param->HostLabel(), size);
  return true;
}

bool IPlugBase::ParameterTextForHost(int index, char* text, int size)
{
  IPlugLockGuard guard(mLock);
  const IParameter* param = ParameterAt(index);
  if (!param || !text || size <= 0) return false;
  char display[IParameter::kDisplayTextBufferSize];
  param->HostDisplayText(param->Value(), false, display, sizeof(display));
  CopyBoundedText(text, display, size);
  return true;
}

bool IPlugBase::ParameterTextForHost(int index, double normalized, char* text, int size)
{
  const IParameter* param = ParameterAt(index);
  if (!param || !text || size <= 0 || std::isnan(normalized)) return false;
  const double x = normalized < 0.0 ? 0.0 : (normalized > 1.0 ? 1.0 : normalized);
  char display[IParameter::kDisplayTextBufferSize];
  param->HostDisplayText(x, true, display, sizeof(display)); // the range only: no lock needed
  CopyBoundedText(text, display, size);
  return true;
}

void IPlugBase::SelectProgramFromHost(int index)
{
  IPlugLockGuard guard(mLock);
  if (!DoesChunks()) UpdateCurrentPreset(nullptr);
  RecallPreset(index);
  RefreshTail();
}

void IPlugBase::SetCurrentProgramFromHost(int index)
{
  IPlugLockGuard guard(mLock);
  if (PresetAt(index)) mCurrentPreset = index;
}

void IPlugBase::RenameProgramFromHost(const char* name)
{
  if (!name) return;
  char bounded[IProgram::kNameSize];
  CopyBoundedText(bounded, name, IProgram::kNameSize); // bounded read of the host's text
  IPlugLockGuard guard(mLock);
  UpdateCurrentPreset(bounded);
}

int IPlugBase::CurrentProgramForHost()
{
  IPlugLockGuard guard(mLock);
  return CurrentPreset();
}

bool IPlugBase::ProgramNameForHost(int index, char* text, int size)
{
  if (!text || size <= 0) return false;
  IPlugLockGuard guard(mLock);
  const char* name = PresetName(index);
  CopyBoundedText(text, name, size);
  return name && name[0];
}

bool IPlugBase::LoadFactoryProgramFromHost(int index)
{
  if (!mInfo || index < 0 || index >= mInfo->presetCount) return false;
  // The program as the product defines it, from a plug-in base made from the description
  // (no DSP): the instance's own slots change as it saves and switches programs.
  IPlugBase factory(*mInfo);
  if (!factory.RecallPreset(index)) return false;
  IPlugLockGuard guard(mLock);
  for (int i = 0; i < ParameterCount() && i < factory.ParameterCount(); ++i)
    SetParameterLocked(i, factory.ParameterAt(i)->Value(), false);
  RefreshTail();
  return true;
}

int IPlugBase::FactoryProgramCountForHost() const
{
  return mInfo ? mInfo->presetCount : 0;
}

bool IPlugBase::FactoryProgramForHost(int index, char* name, int size, double* values, int count) const
{
  if (!mInfo || index < 0 || index >= mInfo->presetCount) return false;
  IPlugBase factory(*mInfo); // the description only: no DSP
  if (!factory.RecallPreset(index)) return false;
  if (name && size > 0) CopyBoundedText(name, factory.PresetName(index), size);
  for (int i = 0; values && i < count && i < factory.ParameterCount(); ++i) values[i] = factory.ParameterAt(i)->Value();
  return true;
}

bool IPlugBase::NoteNameForHost(int note, char* text, int size)
{
  if (!text || size <= 0) return false;
  char name[128] = {}; // GetNoteName writes at least 64 bytes
  IPlugLockGuard guard(mLock);
  const bool named = GetNoteName(note, name);
  name[sizeof name - 1] = '\0';
  CopyBoundedText(text, named ? name : "", size);
  return named;
}

void IPlugBase::ConnectInputsFromHost(int count)
{
  const int total = InputChannelCount();
  const int n = count < 0 ? 0 : (count > total ? total : count);
  IPlugLockGuard guard(mLock);
  SetInputsConnected(0, n, true);
  SetInputsConnected(n, total - n, false);
}

void IPlugBase::ConnectOutputsFromHost(int count)
{
  const int total = OutputChannelCount();
  const int n = count < 0 ? 0 : (count > total ? total : count);
  IPlugLockGuard guard(mLock);
  SetOutputsConnected(0, n, true);
  SetOutputsConnected(n, total - n, false);
}

void IPlugBase::ResetFromHost()
{
  IPlugLockGuard guard(mLock);
  ResetProcessing();
}

int IPlugBase::SaveStateForHost(bool bank, const void** data)
{
  if (!data) return 0;
  IPlugLockGuard guard(mLock);
  IByteChunk& chunk = bank ? mBankChunk : mProgramChunk;
  chunk.Clear();
  bool ok = WriteChunkHeader(chunk);
  if (bank) UpdateCurrentPreset(nullptr);
  ok = ok && WriteState(chunk);
  if (!ok || chunk.Size() <= 0) return 0;
  *data = chunk.GetBytes();
  return chunk.Size();
}

bool IPlugBase::LoadStateFromHost(bool bank, const void* data, long long size)
{
  IPlugLockGuard guard(mLock);
  // A size the chunk cannot hold is refused before anything changes. The bytes handed
  // out by SaveStateForHost stay as they are.
  IByteChunk& chunk = mLoadChunk;
  if (size < 0 || size > INT_MAX || (size > 0 && !data) || !chunk.Resize(static_cast<int>(size)))
  {
    EmitTrace("IPlugBase::LoadStateFromHost", __LINE__, "%s chunk of %lld bytes refused: no room for it",
              bank ? "bank" : "program", size);
    return false;
  }
  if (size > 0) std::memcpy(chunk.GetBytes(), data, static_cast<size_t>(size));

  int32_t version = 0;
  const int start = ReadChunkHeader(chunk, &version);
  const int end = ReadState(chunk, start);
  RefreshTail();
  if (!(bank && version >= IByteChunk::kFormatVersion)) UpdateCurrentPreset(nullptr);
  if (end < 0)
  {
    EmitTrace("IPlugBase::LoadStateFromHost", __LINE__, "%s chunk of %lld bytes refused: not a state this plug-in wrote",
              bank ? "bank" : "program", size);
    return false;
  }
  PushAllParametersToEditor();
  return true;
}

void IPlugBase::ProcessMidiFromHost(const MidiMessage* messages, int count)
{
  {
    IPlugLockGuard guard(mLock);
    for (int i = 0; messages && i < count; ++i) HandleMidiMessage(messages[i]);
  }
  FlushMidiToHost();
}

bool IPlugBase::OpenEditorFromHost(void* parent)
{
  AssertLockFree();
  IGraphics* editor = mEditor; // attached at construction, never replaced while the host runs
  if (!editor) return false;
  if (!editor->OpenEditorWindow(parent))
  {
    EmitTrace("IPlugBase::OpenEditorFromHost", __LINE__, "editor not opened in host window %p: no window could be made",
              parent);
    FlushTrace();
    return false;
  }
  {
    IPlugLockGuard guard(mLock);
    EditorOpened();
  }
  EmitTrace("IPlugBase::OpenEditorFromHost", __LINE__, "editor opened in host window %p", parent);
  FlushTrace();
  // The first frame, with whatever the opening showed (a back-end that ticks from idle
  // paints it now; one with a timer of its own paints when the window asks).
  editor->Idle();
  return true;
}

void IPlugBase::CloseEditorFromHost()
{
  AssertLockFree();
  IGraphics* editor = mEditor;
  if (!editor) return;
  {
    IPlugLockGuard guard(mLock);
    EditorClosing();
  }
  editor->CloseEditorWindow();
  EmitTrace("IPlugBase::CloseEditorFromHost", __LINE__, "editor closed");
  FlushTrace();
}

void IPlugBase::ShowEditorFromHost(bool show)
{
  AssertLockFree();
  if (mEditor) mEditor->ShowEditorWindow(show);
}

void IPlugBase::EditorIdleFromHost()
{
  AssertLockFree();
  if (mEditor) mEditor->Idle();
  FlushTrace(); // the host's user-interface thread, many times a second
}

bool IPlugBase::EditorKeyFromHost(const IKeyPress& key, bool down)
{
  AssertLockFree();
  if (!mEditor) return false;
  return down ? mEditor->HostKeyDown(key) : mEditor->HostKeyUp(key);
}
