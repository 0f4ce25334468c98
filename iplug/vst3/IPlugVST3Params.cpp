// The controller: parameters (ids = indexes, normalised as the plug-in normalises them),
// the root unit with its program list, the program-change parameter, and the editor's
// gestures to the host's component handler.
#include "IPlugVST3.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "IGraphics.h"
#include "IPlugVST3Text.h"

using namespace vst3;

namespace
{
double ToNormalizedClamped(const IParameter& param, double value)
{
  double lo = 0.0, hi = 0.0;
  param.Bounds(&lo, &hi);
  return param.ToNormalized(value < lo ? lo : (value > hi ? hi : value));
}
} // namespace

// The factory programs, held before any block: the program-change parameter applies
// them on the audio thread, in process.
void IPlugVST3::ReadFactoryPrograms()
{
  mProgramNames.clear();
  mProgramValues.clear();
  for (int p = 0; p < mPlug->FactoryProgramCountForHost(); ++p)
  {
    char name[IProgram::kNameSize] = {};
    std::vector<double> values(static_cast<size_t>(ParamCount()));
    if (!mPlug->FactoryProgramForHost(p, name, sizeof name, values.data(), ParamCount())) continue;
    std::vector<char> text(name, name + std::strlen(name) + 1);
    if (text.size() == 1) text.insert(text.begin(), '-'); // names must not be empty
    mProgramNames.push_back(text);
    mProgramValues.push_back(values);
  }
}

int IPlugVST3::ProgramForValue(double normalized) const
{
  const int count = ProgramCount();
  if (count <= 0 || !(normalized > 0.0)) return 0;
  const int index = static_cast<int>(std::floor(normalized * count));
  return index >= count ? count - 1 : index;
}

// ---- Parameters ----

int32 VST3_API IPlugVST3::getParameterCount()
{
  return ParamCount() + (ProgramCount() > 0 ? 1 : 0);
}

tresult VST3_API IPlugVST3::getParameterInfo(int32 paramIndex, ParameterInfo& info)
{
  if (!mPlug || paramIndex < 0 || paramIndex >= getParameterCount()) return kInvalidArgument;
  std::memset(&info, 0, sizeof(info));
  info.unitId = kRootUnitId;
  if (paramIndex == ParamCount())
  {
    info.id = kProgramParamId;
    IPlugVST3Text::ToUtf16("Program", info.title, 128);
    IPlugVST3Text::ToUtf16("Prog", info.shortTitle, 128);
    info.stepCount = ProgramCount() - 1;
    info.defaultNormalizedValue = 0.0;
    info.flags = kIsProgramChange | kIsList;
    return kResultTrue;
  }
  const IParameter* param = mPlug->ParameterAt(paramIndex);
  info.id = static_cast<ParamID>(paramIndex);
  IPlugVST3Text::ToUtf16(param->HostName(), info.title, 128);
  IPlugVST3Text::ToUtf16(param->HostName(), info.shortTitle, 128);
  IPlugVST3Text::ToUtf16(param->HostLabel(), info.units, 128);
  if (param->IsIntegerKind())
  {
    info.stepCount = static_cast<int32>(std::lround(param->Maximum() - param->Minimum()));
    bool named = param->DisplayTextCount() > 0;
    for (int v = static_cast<int>(param->Minimum()); named && v <= static_cast<int>(param->Maximum()); ++v)
      named = param->DisplayTextFor(v)[0] != '\0';
    if (named) info.flags |= kIsList;
  }
  info.defaultNormalizedValue = mPlug->ParameterDefaultForHost(paramIndex, true);
  info.flags |= kCanAutomate;
  return kResultTrue;
}

tresult VST3_API IPlugVST3::getParamStringByValue(ParamID id, ParamValue valueNormalized, String128 string)
{
  if (!mPlug || !string || std::isnan(valueNormalized)) return kInvalidArgument;
  if (id == kProgramParamId && ProgramCount() > 0)
  {
    IPlugVST3Text::ToUtf16(mProgramNames[static_cast<size_t>(ProgramForValue(valueNormalized))].data(), string, 128);
    return kResultTrue;
  }
  const IParameter* param = id < static_cast<ParamID>(ParamCount()) ? mPlug->ParameterAt(static_cast<int>(id)) : nullptr;
  if (!param) return kInvalidArgument;
  char display[IParameter::kDisplayTextBufferSize];
  mPlug->ParameterTextForHost(static_cast<int>(id), valueNormalized, display, sizeof(display));
  IPlugVST3Text::ToUtf16(display, string, 128);
  return kResultTrue;
}

tresult VST3_API IPlugVST3::getParamValueByString(ParamID id, TChar* string, ParamValue& valueNormalized)
{
  if (!mPlug || !string) return kInvalidArgument;
  char text[256];
  IPlugVST3Text::ToUtf8(string, 128, text, sizeof(text));
  if (id == kProgramParamId && ProgramCount() > 0)
  {
    for (int p = 0; p < ProgramCount(); ++p)
      if (!std::strcmp(mProgramNames[static_cast<size_t>(p)].data(), text))
      {
        valueNormalized = ProgramCount() > 1 ? static_cast<double>(p) / (ProgramCount() - 1) : 0.0;
        return kResultTrue;
      }
    return kResultFalse;
  }
  const IParameter* param = id < static_cast<ParamID>(ParamCount()) ? mPlug->ParameterAt(static_cast<int>(id)) : nullptr;
  double value = 0.0;
  if (!param || !param->ValueFromText(text, &value)) return kResultFalse;
  valueNormalized = ToNormalizedClamped(*param, value);
  return kResultTrue;
}

ParamValue VST3_API IPlugVST3::normalizedParamToPlain(ParamID id, ParamValue valueNormalized)
{
  if (id == kProgramParamId) return ProgramForValue(valueNormalized);
  const IParameter* param = mPlug && id < static_cast<ParamID>(ParamCount()) ? mPlug->ParameterAt(static_cast<int>(id)) : nullptr;
  if (!param || std::isnan(valueNormalized)) return 0.0;
  return param->FromNormalized(valueNormalized < 0.0 ? 0.0 : (valueNormalized > 1.0 ? 1.0 : valueNormalized));
}

ParamValue VST3_API IPlugVST3::plainParamToNormalized(ParamID id, ParamValue plainValue)
{
  if (id == kProgramParamId)
    return ProgramCount() > 1 && plainValue > 0.0 ? std::fmin(plainValue, ProgramCount() - 1) / (ProgramCount() - 1) : 0.0;
  const IParameter* param = mPlug && id < static_cast<ParamID>(ParamCount()) ? mPlug->ParameterAt(static_cast<int>(id)) : nullptr;
  if (!param || std::isnan(plainValue)) return 0.0;
  return ToNormalizedClamped(*param, plainValue);
}

ParamValue VST3_API IPlugVST3::getParamNormalized(ParamID id)
{
  if (!mPlug) return 0.0;
  if (id == kProgramParamId && ProgramCount() > 0) return mControllerValues.back();
  return id < static_cast<ParamID>(ParamCount()) ? mControllerValues[id] : 0.0;
}

tresult VST3_API IPlugVST3::setParamNormalized(ParamID id, ParamValue value)
{
  if (!mPlug || !std::isfinite(value)) return kInvalidArgument;
  value = value < 0.0 ? 0.0 : (value > 1.0 ? 1.0 : value);
  if (id == kProgramParamId && ProgramCount() > 0)
  {
    // A program chosen in the host's menu: its values on the controller side, and the
    // host told to read them all again (the processor sets its own from the same change).
    mControllerValues.back() = value;
    const std::vector<double>& program = mProgramValues[static_cast<size_t>(ProgramForValue(value))];
    for (int i = 0; i < ParamCount() && i < static_cast<int>(program.size()); ++i)
      TellEditor(i, mPlug->ParameterAt(i)->ToNormalized(program[static_cast<size_t>(i)]));
    TellHostValuesChanged();
    return kResultOk;
  }
  if (id >= static_cast<ParamID>(ParamCount())) return kInvalidArgument;
  TellEditor(static_cast<int>(id), value);
  return kResultOk;
}

void IPlugVST3::TellEditor(int index, double normalized)
{
  mControllerValues[static_cast<size_t>(index)] = normalized;
  // The editor reads it from its slot on its next tick.
  if (IGraphics* editor = mPlug->Editor()) editor->PushParameterToControls(index, normalized, true);
}

void IPlugVST3::TellHostValuesChanged()
{
  if (!mHandler) return;
  // Ardour 7 holds its process lock while it sends a program choice (its preset menu:
  // load_preset, then setParamNormalized) and takes that lock again in restartComponent,
  // so that call would never return. It takes edits without the lock: it is told each
  // value as one, which it shows without sending it back as automation.
  char product[64] = {};
  int version = 0;
  if (HostProduct(product, sizeof product, &version) && std::strncmp(product, "Ardour", 6) == 0)
  {
    for (int i = 0; i < ParamCount(); ++i)
      mHandler->performEdit(static_cast<ParamID>(i), mControllerValues[static_cast<size_t>(i)]);
    return;
  }
  mHandler->restartComponent(kParamValuesChanged);
}

void IPlugVST3::SetControllerValuesFromPlug(IPlugBase& source)
{
  for (int i = 0; i < ParamCount() && i < source.ParameterCount(); ++i)
    TellEditor(i, source.ParameterAt(i)->Normalized());
  if (ProgramCount() > 0) mControllerValues.back() = plainParamToNormalized(kProgramParamId, source.CurrentProgramForHost());
}

tresult VST3_API IPlugVST3::setComponentHandler(IComponentHandler* handler)
{
  if (handler == mHandler) return kResultOk;
  if (handler) handler->addRef();
  if (mHandler) mHandler->release();
  mHandler = handler;
  return kResultOk;
}

// ---- Units and programs ----

tresult VST3_API IPlugVST3::getUnitInfo(int32 unitIndex, UnitInfo& info)
{
  if (unitIndex != 0) return kInvalidArgument;
  std::memset(&info, 0, sizeof(info));
  info.id = kRootUnitId;
  info.parentUnitId = kNoParentUnitId;
  IPlugVST3Text::ToUtf16("Root", info.name, 128);
  info.programListId = ProgramCount() > 0 ? kProgramListId : kNoProgramListId;
  return kResultTrue;
}

tresult VST3_API IPlugVST3::getProgramListInfo(int32 listIndex, ProgramListInfo& info)
{
  if (listIndex != 0 || ProgramCount() == 0) return kInvalidArgument;
  std::memset(&info, 0, sizeof(info));
  info.id = kProgramListId;
  IPlugVST3Text::ToUtf16("Factory Programs", info.name, 128);
  info.programCount = ProgramCount();
  return kResultTrue;
}

tresult VST3_API IPlugVST3::getProgramName(ProgramListID listId, int32 programIndex, String128 name)
{
  if (listId != kProgramListId || programIndex < 0 || programIndex >= ProgramCount() || !name) return kInvalidArgument;
  IPlugVST3Text::ToUtf16(mProgramNames[static_cast<size_t>(programIndex)].data(), name, 128);
  return kResultTrue;
}

// ---- The editor's gestures, on the UI thread, lock free ----

void IPlugVST3::BeginEdit(int index)
{
  if (mHandler && index >= 0 && index < ParamCount()) mHandler->beginEdit(static_cast<ParamID>(index));
}

void IPlugVST3::Automate(int index, double normalized)
{
  if (index < 0 || index >= ParamCount()) return;
  mControllerValues[static_cast<size_t>(index)] = normalized;
  if (mHandler) mHandler->performEdit(static_cast<ParamID>(index), normalized);
}

void IPlugVST3::EndEdit(int index)
{
  if (mHandler && index >= 0 && index < ParamCount()) mHandler->endEdit(static_cast<ParamID>(index));
}

bool IPlugVST3::HostProduct(char* product, int size, int* version)
{
  if (!mHostContext || !product || size <= 0) return false;
  IHostApplication* app = nullptr;
  if (mHostContext->queryInterface(IHostApplication_iid.bytes, reinterpret_cast<void**>(&app)) != kResultOk || !app)
    return false;
  String128 name = {};
  const bool ok = app->getName(name) == kResultOk;
  app->release();
  if (!ok) return false;
  IPlugVST3Text::ToUtf8(name, 128, product, size);
  *version = 0; // VST 3 hosts give no version
  return true;
}
