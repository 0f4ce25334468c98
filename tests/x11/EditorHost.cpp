#include "EditorHost.h"

#include <cmath>
#include <thread>

namespace
{
constexpr int kBlockFrames = 512;
} // namespace

PluginModule::PluginModule(const char* path)
{
  // Kept mapped after unloading so that sanitizer reports can still name its code.
  if (mModule.Load(path, mError, true) && !mModule.NamedMain()) mError = "no VSTPluginMain";
}

PluginInstance::PluginInstance(const PluginModule& module)
{
  if (!module.EntryPoint()) return;
  std::string error;
  mEffect = MakeEffect(module.Module(), error);
  if (!mEffect) return;
  Dispatch(effOpen);
  Dispatch(effSetSampleRate, 0, 0, nullptr, 44100.0f);
  Dispatch(effSetBlockSize, 0, kBlockFrames);
  Dispatch(effMainsChanged, 0, 1);
}

PluginInstance::~PluginInstance()
{
  if (!mEffect) return;
  if (mEditorOpen) CloseEditor();
  Dispatch(effMainsChanged, 0, 0);
  CloseEffect(mEffect);
}

VstIntPtr PluginInstance::Dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt)
{
  return mEffect->dispatcher(mEffect, opcode, index, value, ptr, opt);
}

VstIntPtr PluginInstance::OpenEditor(uint32_t parentWindow)
{
  const VstIntPtr answer = Dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(uintptr_t(parentWindow)));
  mEditorOpen = mEditorOpen || answer != 0;
  return answer;
}

VstIntPtr PluginInstance::CloseEditor()
{
  mEditorOpen = false;
  return Dispatch(effEditClose);
}

bool PluginInstance::IdleUntil(const std::function<bool()>& done, std::chrono::milliseconds limit)
{
  const auto end = std::chrono::steady_clock::now() + limit;
  for (auto next = std::chrono::steady_clock::now();; next += kIdlePeriod)
  {
    Idle();
    if (done()) return true;
    if (std::chrono::steady_clock::now() >= end) return false;
    std::this_thread::sleep_until(next + kIdlePeriod);
  }
}

void PluginInstance::IdleFor(int ticks)
{
  int left = ticks;
  IdleUntil([&left] { return --left <= 0; }, kIdlePeriod * (ticks + 1));
}

std::string PluginInstance::ParameterDisplay(VstInt32 index)
{
  char text[256] = {};
  Dispatch(effGetParamDisplay, index, 0, text);
  return text;
}

bool PluginInstance::ProcessBlock()
{
  std::vector<float> in0(kBlockFrames), in1(kBlockFrames), out0(kBlockFrames), out1(kBlockFrames);
  for (int i = 0; i < kBlockFrames; ++i) in0[i] = in1[i] = float(0.5 * std::sin(0.05 * i));
  float* inputs[] = {in0.data(), in1.data()};
  float* outputs[] = {out0.data(), out1.data()};
  mEffect->processReplacing(mEffect, inputs, outputs, kBlockFrames);
  bool finite = true, sound = false;
  for (int i = 0; i < kBlockFrames; ++i)
  {
    finite = finite && std::isfinite(out0[i]) && std::isfinite(out1[i]);
    sound = sound || out0[i] != 0.0f || out1[i] != 0.0f;
  }
  return finite && sound;
}

std::vector<HostCall> PluginInstance::Calls()
{
  std::lock_guard<std::mutex> guard(mCallsLock);
  return mCalls;
}

void PluginInstance::ClearCalls()
{
  std::lock_guard<std::mutex> guard(mCallsLock);
  mCalls.clear();
}

void PluginInstance::Record(VstInt32 opcode, VstInt32 index, float opt)
{
  std::lock_guard<std::mutex> guard(mCallsLock);
  mCalls.push_back({opcode, index, opt});
}

VstIntPtr PluginInstance::Answer(AEffect*, VstInt32 opcode, VstInt32 index, VstIntPtr, void*, float opt)
{
  Record(opcode, index, opt);
  switch (opcode)
  {
  case audioMasterVersion: return 2400;
  case audioMasterGetSampleRate: return 44100;
  case audioMasterGetBlockSize: return kBlockFrames;
  default: return 0;
  }
}
