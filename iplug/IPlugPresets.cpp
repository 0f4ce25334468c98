// Presets and saved state of IPlugBase.
#include "IPlugBase.h"

#include "IPlugTrace.h"

#include <cstdio>
#include <cstring>

bool IPlugBase::WriteParams(IByteChunk& chunk)
{
  IPlugLockGuard guard(mLock);
  bool ok = true;
  for (int i = 0, n = ParameterCount(); i < n && ok; ++i)
    ok = chunk.PutDouble(ParameterAt(i)->Value()) > 0;
  return ok;
}

int IPlugBase::UnserializeParams(const IByteChunk& chunk, int startPos)
{
  IPlugLockGuard guard(mLock);
  const int n = ParameterCount();
  // All or nothing: a state too short for every parameter changes none of them.
  const bool fits = startPos >= 0 && static_cast<int64_t>(startPos) + 8 * static_cast<int64_t>(n) <= chunk.Size();
  int pos = fits ? startPos : -1;
  for (int i = 0; i < n && pos >= 0; ++i)
  {
    IParameter* param = ParameterAt(i);
    EmitTrace("IPlugBase::UnserializeParams", __LINE__, "%d %s", i, param->HostName());
    double v = 0.0;
    pos = chunk.GetDouble(&v, pos);
    param->SetValue(v); // clamped to the range; NaN keeps the current value
  }
  NotifyAllParametersChanged();
  return pos;
}

IProgram* IPlugBase::FirstFreePreset() const
{
  for (int i = 0, n = PresetCount(); i < n; ++i)
  {
    IProgram* preset = PresetAt(i);
    if (!preset->mInitialized) return preset;
  }
  return nullptr;
}

void IPlugBase::DefinePresetValues(const char* name, const double* values, int count)
{
  IProgram* preset = FirstFreePreset();
  if (!preset) return;
  preset->mInitialized = true;
  preset->SetName(name ? name : "");
  preset->mState.Clear();
  // Stored as given, neither clamped nor rounded: recall clamps.
  for (int i = 0, n = ParameterCount(); i < n; ++i)
    preset->mState.PutDouble(i < count && values ? values[i] : ParameterAt(i)->Value());
}

void IPlugBase::CapturePresets(const char* name, int count)
{
  for (int i = 0; i < count; ++i)
  {
    IProgram* preset = FirstFreePreset();
    if (!preset) return;
    preset->mInitialized = true;
    preset->SetName(name ? name : "Default");
    preset->mState.Clear();
    WriteParams(preset->mState);
  }
}

void IPlugBase::AddFallbackPreset()
{
  if (PresetCount() > 0) return;
  mPresets.Add(new IProgram(1));
  CapturePresets(nullptr, 1);
}

bool IPlugBase::RecallPreset(int index)
{
  IProgram* preset = PresetAt(index);
  if (!preset) return false;
  bool ok;
  if (preset->mInitialized)
  {
    ok = UnserializeParams(preset->mState, 0) > 0;
  }
  else
  {
    // Recalling an empty slot keeps the current sound in it under a new user-preset name.
    char name[IProgram::kNameSize];
    NextUserPresetName(name, sizeof name);
    preset->mInitialized = true;
    preset->SetName(name);
    preset->mState.Clear();
    ok = WriteParams(preset->mState);
  }
  if (ok)
  {
    mCurrentPreset = index;
    PushAllParametersToEditor();
  }
  return ok;
}

void IPlugBase::NextUserPresetName(char* out, int outSize) const
{
  if (!out || outSize <= 0) return;
  int count = 0;
  for (int i = 0, n = PresetCount(); i < n; ++i)
  {
    if (std::strstr(PresetAt(i)->Name(), "user preset")) ++count;
  }
  std::snprintf(out, static_cast<size_t>(outSize), "%s %d", "user preset", count + 1);
}

void IPlugBase::UpdateCurrentPreset(const char* name)
{
  IProgram* preset = PresetAt(mCurrentPreset);
  if (!preset) return;
  preset->mState.Clear();
  WriteParams(preset->mState);
  if (name && name[0]) preset->SetName(name);
}

const char* IPlugBase::PresetName(int index) const
{
  const IProgram* preset = PresetAt(index);
  return preset ? preset->Name() : "";
}
