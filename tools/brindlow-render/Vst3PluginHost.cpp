#include "Vst3PluginHost.h"

#include <cstdio>
#include <cstring>

using namespace vst3;

namespace
{
std::string Narrow(const char16* text, int capacity = 128)
{
  std::string out;
  for (int i = 0; i < capacity && text[i]; ++i)
  {
    const char16 c = text[i];
    if (c < 0x80)
      out += static_cast<char>(c);
    else if (c < 0x800)
    {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
    else
    {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

// ASCII and Latin-1 text as UTF-16 (enough for values typed on a command line).
void Widen(const std::string& text, String128 out)
{
  size_t n = 0;
  for (size_t i = 0; i < text.size() && n < 127; ++i) out[n++] = static_cast<unsigned char>(text[i]);
  out[n] = 0;
}
} // namespace

Vst3PluginHost::~Vst3PluginHost()
{
  Stop();
  mInstance.reset();
  mModule.reset();
}

bool Vst3PluginHost::Load(const std::string& path, std::string& error)
{
  mModule = std::make_unique<vst3host::Module>(path);
  if (!mModule->Loaded() || !mModule->FirstAudioClass(&mClass))
  {
    error = "cannot load VST 3 plug-in \"" + path + "\": " + (mModule->Loaded() ? "no audio class" : mModule->Error());
    return false;
  }
  mInstance = std::make_unique<vst3host::Instance>(*mModule);
  if (!mInstance->Ok())
  {
    error = "cannot open VST 3 plug-in \"" + path + "\": " + mInstance->Error();
    return false;
  }
  IEditController* controller = mInstance->controller;
  for (int32 i = 0; i < controller->getParameterCount(); ++i)
  {
    ParameterInfo info{};
    if (controller->getParameterInfo(i, info) != kResultTrue) continue;
    if (info.flags & kIsProgramChange)
      mProgramParam = info.id;
    else
      mParams.push_back(info);
  }
  if (IUnitInfo* units = mInstance->units)
  {
    ProgramListInfo list{};
    if (units->getProgramListCount() > 0 && units->getProgramListInfo(0, list) == kResultTrue)
      for (int32 p = 0; p < list.programCount; ++p)
      {
        String128 name = {};
        units->getProgramName(list.id, p, name);
        mProgramNames.push_back(Narrow(name));
      }
  }
  if (mProgramParam == kNoParamId) mProgramNames.clear(); // a list no parameter chooses from
  mSupports64 = mInstance->processor->canProcessSampleSize(kSample64) == kResultTrue;
  BusInfo bus{};
  if (mInstance->component->getBusInfo(kAudio, kInput, 0, bus) == kResultTrue) mInputChannels = bus.channelCount;
  if (mInstance->component->getBusInfo(kAudio, kOutput, 0, bus) == kResultTrue) mOutputChannels = bus.channelCount;
  return true;
}

void Vst3PluginHost::Prepare(double sampleRate, int blockSize, int inputChannels, bool doublePrecision)
{
  Stop();
  SpeakerArrangement in = inputChannels == 1 ? kArrMono : kArrStereo, out = kArrStereo;
  mInstance->processor->setBusArrangements(&in, 1, &out, 1);
  BusInfo bus{};
  if (mInstance->component->getBusInfo(kAudio, kInput, 0, bus) == kResultTrue) mInputChannels = bus.channelCount;
  ProcessSetup setup{kOffline, doublePrecision && mSupports64 ? kSample64 : kSample32, blockSize, sampleRate};
  mInstance->processor->setupProcessing(setup);
  mDouble = setup.symbolicSampleSize == kSample64;
}

void Vst3PluginHost::Start()
{
  if (mActive) return;
  mInstance->component->setActive(1);
  mInstance->processor->setProcessing(1);
  mActive = true;
}

void Vst3PluginHost::Stop()
{
  if (!mActive) return;
  mInstance->processor->setProcessing(0);
  mInstance->component->setActive(0);
  mActive = false;
}

void Vst3PluginHost::Process(float** inputs, float** outputs, int frames)
{
  mInstance->Process32(inputs, mInputChannels, outputs, mOutputChannels, frames);
}

void Vst3PluginHost::Process(double** inputs, double** outputs, int frames)
{
  mInstance->Process64(inputs, mInputChannels, outputs, mOutputChannels, frames);
}

int Vst3PluginHost::Version() const
{
  int major = 0, minor = 0, revision = 0;
  std::sscanf(mClass.version, "%d.%d.%d", &major, &minor, &revision);
  return major * 10000 + minor * 100 + revision;
}

bool Vst3PluginHost::HasEditor() const
{
  IPlugView* view = mInstance->controller->createView(kEditorViewType);
  if (view) view->release();
  return view != nullptr;
}

int Vst3PluginHost::LatencySamples() const
{
  return static_cast<int>(mInstance->processor->getLatencySamples());
}

int Vst3PluginHost::TailSamples() const
{
  const uint32 tail = mInstance->processor->getTailSamples();
  return tail == kInfiniteTail ? 0 : static_cast<int>(tail);
}

std::string Vst3PluginHost::ParamName(int index) const
{
  return index >= 0 && index < NumParams() ? Narrow(mParams[static_cast<size_t>(index)].title) : std::string();
}

std::string Vst3PluginHost::ParamLabel(int index) const
{
  return index >= 0 && index < NumParams() ? Narrow(mParams[static_cast<size_t>(index)].units) : std::string();
}

std::string Vst3PluginHost::Display(int index, double normalized) const
{
  String128 text = {};
  if (index < 0 || index >= NumParams() ||
      mInstance->controller->getParamStringByValue(mParams[static_cast<size_t>(index)].id, normalized, text) !=
        kResultTrue)
    return std::string();
  return Narrow(text);
}

std::string Vst3PluginHost::ParamDisplay(int index) const
{
  return Display(index, ParamValue(index));
}

std::string Vst3PluginHost::DisplayForNormalized(int index, float normalized)
{
  return Display(index, normalized);
}

float Vst3PluginHost::ParamValue(int index) const
{
  if (index < 0 || index >= NumParams()) return 0.0f;
  return static_cast<float>(mInstance->controller->getParamNormalized(mParams[static_cast<size_t>(index)].id));
}

void Vst3PluginHost::Send(ParamID id, double normalized)
{
  vst3host::ParameterChanges* changes = new vst3host::ParameterChanges;
  changes->Add(id, 0, normalized);
  ProcessData data{};
  data.symbolicSampleSize = mDouble ? kSample64 : kSample32;
  data.inputParameterChanges = changes;
  mInstance->processor->process(data);
  changes->release();
  mInstance->controller->setParamNormalized(id, normalized);
}

void Vst3PluginHost::SetParamValue(int index, float normalized)
{
  if (index >= 0 && index < NumParams()) Send(mParams[static_cast<size_t>(index)].id, normalized);
}

bool Vst3PluginHost::SetParamFromString(int index, const std::string& text)
{
  if (index < 0 || index >= NumParams()) return false;
  String128 wide = {};
  Widen(text, wide);
  vst3::ParamValue value = 0.0;
  const ParamID id = mParams[static_cast<size_t>(index)].id;
  if (mInstance->controller->getParamValueByString(id, wide, value) != kResultTrue) return false;
  Send(id, value);
  return true;
}

void Vst3PluginHost::SetProgram(int program)
{
  if (program < 0 || program >= NumPrograms()) return;
  mCurrentProgram = program;
  // Program i of n is i / (n - 1), as hosts choose it.
  Send(mProgramParam, NumPrograms() > 1 ? static_cast<double>(program) / (NumPrograms() - 1) : 0.0);
}

std::string Vst3PluginHost::ProgramName() const
{
  return mCurrentProgram < NumPrograms() ? mProgramNames[static_cast<size_t>(mCurrentProgram)] : std::string();
}

bool Vst3PluginHost::WriteOwnPreset(std::vector<unsigned char>& file, std::string& error)
{
  const std::vector<uint8_t> state = mInstance->SaveState();
  if (state.empty())
  {
    error = "the plug-in gave no state to save";
    return false;
  }
  file = vst3host::WritePresetFile(vst3host::UidText(mClass.cid).c_str(), state);
  return true;
}

bool Vst3PluginHost::ReadOwnPreset(const std::vector<unsigned char>& file, std::string& error)
{
  std::vector<uint8_t> state;
  if (!vst3host::ReadPresetFile(file, vst3host::UidText(mClass.cid).c_str(), &state, &error)) return false;
  if (!mInstance->LoadState(state))
  {
    error = "the plug-in refused the preset's state; its state is unchanged";
    return false;
  }
  return true;
}
