#include "IPlugVST.h"

#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "IGraphics.h"
#include "IPlugMake.h"
#include "IPlugHost.h"
#include "IPlugTrace.h"
#include "VstOpcodeNames.h"
#include "VstText.h"


namespace
{
constexpr VstIntPtr kCockosAnswer = 0xBEEF;
constexpr VstIntPtr kCockosCanDo = static_cast<VstIntPtr>(0xBEEF0000u);
constexpr int kMaxHostStringLen = 1024; // longest text accepted from the host

VstInt32 SpeakerArrangementType(int channels)
{
  switch (channels)
  {
  case 0: return kSpeakerArrEmpty;
  case 1: return kSpeakerArrMono;
  case 2: return kSpeakerArrStereo;
  default: return kSpeakerArrUserDefined;
  }
}

bool IsEditorOpcode(VstInt32 opcode)
{
  return opcode == effEditOpen || opcode == effEditClose || opcode == effEditIdle || opcode == effEditKeyDown ||
         opcode == effEditKeyUp;
}

// A key forwarded by the host (character in index, VstVirtualKey in value) as the
// editor's portable key press.
IKeyPress KeyFromHost(VstInt32 character, VstIntPtr virtualKey)
{
  switch (virtualKey)
  {
  case VKEY_BACK: return IKeyPress(kKeyBackspace);
  case VKEY_RETURN:
  case VKEY_ENTER: return IKeyPress(kKeyReturn);
  case VKEY_ESCAPE: return IKeyPress(kKeyEscape);
  case VKEY_SPACE: return IKeyPress(kKeySpace, ' ');
  case VKEY_END: return IKeyPress(kKeyEnd);
  case VKEY_HOME: return IKeyPress(kKeyHome);
  case VKEY_LEFT: return IKeyPress(kKeyLeft);
  case VKEY_UP: return IKeyPress(kKeyUp);
  case VKEY_RIGHT: return IKeyPress(kKeyRight);
  case VKEY_DOWN: return IKeyPress(kKeyDown);
  case VKEY_DELETE: return IKeyPress(kKeyDelete);
  case 0: break;
  default: return IKeyPress(); // a key the editor has no use for
  }
  if (character >= '0' && character <= '9') return IKeyPress(kKeyDigit0 + (character - '0'), char(character));
  if (character >= 'a' && character <= 'z') return IKeyPress(kKeyLetterA + (character - 'a'), char(character));
  if (character >= 'A' && character <= 'Z') return IKeyPress(kKeyLetterA + (character - 'A'), char(character));
  if (character == ' ') return IKeyPress(kKeySpace, ' ');
  if (character > ' ' && character < 127) return IKeyPress(-1, char(character));
  return IKeyPress();
}

} // namespace

IPlugVST::IPlugVST(audioMasterCallback hostCallback, IPlugBase* plug)
  : mPlug(plug), mHostCallback(hostCallback)
{
  EmitTrace("IPlugVST::IPlugVST", __LINE__, "%s", plug->EffectName());

  const int nIn = plug->InputChannelCount();
  const int nOut = plug->OutputChannelCount();
  std::memset(&mInputArrangement, 0, sizeof(mInputArrangement));
  std::memset(&mOutputArrangement, 0, sizeof(mOutputArrangement));
  mInputArrangement.numChannels = nIn;
  mInputArrangement.type = SpeakerArrangementType(nIn);
  mOutputArrangement.numChannels = nOut;
  mOutputArrangement.type = SpeakerArrangementType(nOut);

  std::memset(&mAEffect, 0, sizeof(mAEffect));
  mAEffect.magic = kEffectMagic;
  mAEffect.dispatcher = VSTDispatcher;
  mAEffect.process = nullptr;
  mAEffect.setParameter = VSTSetParameter;
  mAEffect.getParameter = VSTGetParameter;
  mAEffect.numPrograms = plug->PresetCount();
  mAEffect.numParams = plug->ParameterCount();
  mAEffect.numInputs = nIn;
  mAEffect.numOutputs = nOut;
  mAEffect.flags = effFlagsCanReplacing | effFlagsCanDoubleReplacing;
  if (plug->DoesChunks()) mAEffect.flags |= effFlagsProgramChunks;
  if (plug->IsInstrument()) mAEffect.flags |= effFlagsIsSynth;
  mAEffect.initialDelay = plug->Latency();
  mAEffect.object = this;
  mAEffect.uniqueID = plug->UniqueID();
  mAEffect.version = plug->EffectVersion(true);
  mAEffect.processReplacing = VSTProcessFloat;
  mAEffect.processDoubleReplacing = VSTProcessDouble;
  if (IGraphics* editor = plug->Editor())
  {
    mAEffect.flags |= effFlagsHasEditor;
    SetEditorRect(editor->EditorWidth(), editor->EditorHeight());
  }

  plug->ConnectInputsFromHost(nIn);
  plug->ConnectOutputsFromHost(nOut);
  plug->SetBlockFrames(1024);
  plug->SetHostCalls(this);
}

IPlugVST::~IPlugVST()
{
  mPlug->SetHostCalls(nullptr);
}

IPlugVST* IPlugVST::FromAEffect(AEffect* effect)
{
  return effect ? static_cast<IPlugVST*>(effect->object) : nullptr;
}

IPlugBase* IPlugVST::PlugOf(AEffect* effect)
{
  IPlugVST* adapter = FromAEffect(effect);
  return adapter ? adapter->Plug() : nullptr;
}

VstIntPtr IPlugVST::CallHost(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt)
{
  if (!mHostCallback) return 0;
  return mHostCallback(&mAEffect, opcode, index, value, ptr, opt);
}

AEffect* CreateVSTPlugin(audioMasterCallback hostCallback, IPlugBase* (*make)())
{
  IPlugVST* adapter = MakePlugInForHost<IPlugVST>(
    make, [hostCallback](IPlugBase* plug) { return new (std::nothrow) IPlugVST(hostCallback, plug); });
  if (!adapter)
  {
    EmitTrace("VSTPluginMain", __LINE__, "the plug-in could not be made");
    return nullptr;
  }
  AEffect* effect = adapter->GetAEffect();
  if (effect->numPrograms < 1) effect->numPrograms = 1;
  return effect;
}

// ---- Dispatcher ----

VstIntPtr VSTCALLBACK IPlugVST::VSTDispatcher(AEffect* effect, VstInt32 opcode, VstInt32 index,
                                              VstIntPtr value, void* ptr, float opt)
{
  IPlugVST* adapter = FromAEffect(effect);
  if (!adapter) return 0;

  if (IsEditorOpcode(opcode)) return adapter->DispatchEditor(opcode, index, value, ptr);

  // Queries come by the hundred and change nothing; the calls that change the
  // plug-in are what a trace of a host problem needs.
  if (!VstOpcodeIsQuery(opcode))
    EmitTrace("IPlugVST::VSTDispatcher", __LINE__, "%d(%s):%d:%d", opcode, VstOpcodeName(opcode), index,
              static_cast<int>(value));
  if (opcode == effClose)
  {
    delete adapter; // and the plug-in with it
    FlushTrace();
    return 0;
  }
  const VstIntPtr result = adapter->Dispatch(opcode, index, value, ptr, opt);
  // Records are written once the lock is free, so an audio thread waiting for it
  // never waits for the file. effProcessEvents comes from the audio thread.
  if (opcode != effProcessEvents) FlushTrace();
  return result;
}

VstIntPtr IPlugVST::DispatchEditor(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr)
{
  if (opcode == effEditIdle)
  {
    mPlug->EditorIdleFromHost();
    return 0;
  }
  if (opcode == effEditOpen || opcode == effEditClose)
    EmitTrace("IPlugVST::VSTDispatcher", __LINE__, "%d(%s):%d:%d", opcode, VstOpcodeName(opcode), index,
              static_cast<int>(value));
  if (!mPlug->Editor()) return 0;
  switch (opcode)
  {
  case effEditOpen: return mPlug->OpenEditorFromHost(ptr) ? 1 : 0;
  case effEditClose: mPlug->CloseEditorFromHost(); return 1;
  case effEditKeyDown: return mPlug->EditorKeyFromHost(KeyFromHost(index, value), true) ? 1 : 0;
  case effEditKeyUp: return mPlug->EditorKeyFromHost(KeyFromHost(index, value), false) ? 1 : 0;
  default: return 0;
  }
}

VstIntPtr IPlugVST::Dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt)
{
  IPlugBase& plug = *mPlug;
  switch (opcode)
  {
  case effOpen:
    plug.OpenFromHost();
    UpdateChannelCounts();
    return 0;

  case effSetProgram:
    plug.SelectProgramFromHost(value >= 0 && value <= INT_MAX ? static_cast<int>(value) : -1);
    return 0;

  case effGetProgram:
    return plug.CurrentProgramForHost();

  case effSetProgramName:
    plug.RenameProgramFromHost(static_cast<const char*>(ptr));
    return 0;

  case effSetSampleRate:
    plug.SetSampleRateFromHost(opt);
    return 0;

  case effSetBlockSize:
    plug.SetBlockSizeFromHost(value);
    return 0;

  case effMainsChanged:
    plug.SetActiveFromHost(value != 0);
    return 0;

  case effEditGetRect:
    if (!ptr || !plug.Editor()) return 0;
    // The editor's size now, whatever scale it has taken since the host last asked.
    SetEditorRect(plug.Editor()->EditorWidth(), plug.Editor()->EditorHeight());
    *static_cast<ERect**>(ptr) = &mEditorRect;
    return 1;

  case effGetChunk:
  {
    if (!ptr) return 0;
    const void* data = nullptr;
    const int size = plug.SaveStateForHost(index == 0, &data);
    if (size > 0) *static_cast<void**>(ptr) = const_cast<void*>(data);
    return size;
  }

  case effSetChunk:
    if (!ptr) return 0;
    return plug.LoadStateFromHost(index == 0, ptr, static_cast<long long>(value)) ? 1 : 0;

  case effProcessEvents:
    if (!ptr) return 0;
    return ProcessEvents(static_cast<const VstEvents*>(ptr));

  case effCanBeAutomated:
    return 1;

  case effString2Parameter:
    return StringToParameter(index, static_cast<const char*>(ptr));

  case effGetInputProperties:
    return PinProperties(index, plug.InputChannelCount(), "Input %d", static_cast<VstPinProperties*>(ptr));

  case effGetOutputProperties:
    return PinProperties(index, plug.OutputChannelCount(), "Output %d", static_cast<VstPinProperties*>(ptr));

  case effGetPlugCategory:
    return plug.IsInstrument() ? kPlugCategSynth : kPlugCategEffect;

  case effSetSpeakerArrangement:
  {
    const auto* in = reinterpret_cast<const VstSpeakerArrangement*>(value);
    const auto* out = static_cast<const VstSpeakerArrangement*>(ptr);
    EmitTrace("IPlugVST::VSTDispatcher", __LINE__, "speaker arrangement: %d inputs, %d outputs",
              in ? in->numChannels : -1, out ? out->numChannels : -1);
    // A negative count connects none; counts beyond the plug-in's channels connect all.
    if (in) plug.ConnectInputsFromHost(in->numChannels);
    if (out) plug.ConnectOutputsFromHost(out->numChannels);
    return 1;
  }

  case effCanDo:
    return ptr ? CanDo(static_cast<const char*>(ptr)) : 0;

  case effGetVstVersion:
    return kVstVersion;

  case effGetSpeakerArrangement:
    if (value) *reinterpret_cast<VstSpeakerArrangement**>(value) = &mInputArrangement;
    if (ptr) *static_cast<VstSpeakerArrangement**>(ptr) = &mOutputArrangement;
    return 1;

  default:
    return DispatchText(opcode, index, value, static_cast<char*>(ptr), opt);
  }
}

VstIntPtr IPlugVST::DispatchText(VstInt32 opcode, VstInt32 index, VstIntPtr value, char* text, float opt)
{
  IPlugBase& plug = *mPlug;
  switch (opcode)
  {
  case effGetProgramName:
    if (text) plug.ProgramNameForHost(plug.CurrentProgramForHost(), text, kVstMaxProgNameLen);
    return 0;

  case effGetProgramNameIndexed:
    return text && plug.ProgramNameForHost(index, text, kVstMaxProgNameLen) ? 1 : 0;

  case effGetParamLabel:
    if (text) plug.ParameterLabelForHost(index, text, kVstMaxParamStrLen);
    return 0;

  case effGetParamDisplay:
    if (text) plug.ParameterTextForHost(index, text, kVstMaxParamStrLen);
    return 0;

  case effGetParamName:
    if (text) plug.ParameterNameForHost(index, text, kVstMaxParamStrLen);
    return 0;

  case effGetEffectName:
    if (!text) return 0;
    CopyBoundedText(text, plug.EffectName(), kVstMaxEffectNameLen);
    return 1;

  case effGetVendorString:
    if (!text) return 0;
    CopyBoundedText(text, plug.VendorName(), kVstMaxVendorStrLen);
    return 1;

  case effGetProductString:
    if (!text) return 0;
    CopyBoundedText(text, plug.ProductName(), kVstMaxProductStrLen);
    return 1;

  case effVendorSpecific:
    if (index != effGetParamDisplay || !text) return 0;
    // The host asks for the text of a normalised value it holds; a value that is
    // not a number gets no text.
    if (value >= 0 && value < plug.ParameterCount())
      plug.ParameterTextForHost(static_cast<int>(value), static_cast<double>(opt), text, kVstMaxParamStrLen);
    return kCockosAnswer;

  case effGetMidiKeyName:
  {
    MidiKeyName* key = reinterpret_cast<MidiKeyName*>(text);
    if (!key) return 0;
    std::memset(key->keyName, 0, sizeof(key->keyName));
    return plug.NoteNameForHost(key->thisKeyNumber, key->keyName, sizeof(key->keyName)) ? 1 : 0;
  }

  default:
    return 0;
  }
}

VstIntPtr IPlugVST::StringToParameter(int index, const char* text)
{
  if (!mPlug->ParameterAt(index)) return 0;
  if (!text) return 1;
  char bounded[kMaxHostStringLen];
  CopyBoundedText(bounded, text, sizeof(bounded)); // bounded read of the host's text
  return mPlug->SetParameterFromHostText(index, bounded) ? 1 : 0;
}

VstIntPtr IPlugVST::CanDo(const char* text)
{
  EmitTrace("IPlugVST::VSTDispatcher", __LINE__, "VSTCanDo(%s)", text);
  if (!std::strcmp(text, "receiveVstTimeInfo")) return 1;
  if (mPlug->DoesMidi())
  {
    if (!std::strcmp(text, "sendVstEvents") || !std::strcmp(text, "sendVstMidiEvent") ||
        !std::strcmp(text, "receiveVstEvents") || !std::strcmp(text, "receiveVstMidiEvent"))
      return 1;
  }
  if (!std::strcmp(text, "hasCockosExtensions")) return kCockosCanDo;
  if (!std::strcmp(text, "hasCockosViewAsConfig")) return kCockosCanDo;
  return 0;
}

VstIntPtr IPlugVST::PinProperties(int index, int channelCount, const char* labelFormat,
                                  VstPinProperties* properties)
{
  if (!properties || index < 0 || index >= channelCount) return 0;
  properties->flags = kVstPinIsActive;
  if (index % 2 == 0 && index < channelCount - 1) properties->flags |= kVstPinIsStereo;
  std::snprintf(properties->label, sizeof(properties->label), labelFormat, index + 1);
  return 1;
}

VstIntPtr IPlugVST::ProcessEvents(const VstEvents* events)
{
  // The record declares two event pointers but the host allocates numEvents of them:
  // indexing the declared array past its second element is out of bounds, so the
  // list is read through a pointer to its first element.
  VstEvent* const* list = &events->events[0];
  // The MIDI events go to the core in batches, as the core's own records.
  constexpr int kBatch = 64;
  MidiMessage batch[kBatch];
  int n = 0;
  for (VstInt32 i = 0; i < events->numEvents; ++i)
  {
    const VstEvent* event = list[i];
    if (!event || event->type != kVstMidiType) continue;
    const VstMidiEvent* midi = reinterpret_cast<const VstMidiEvent*>(event);
    MidiMessage& message = batch[n++];
    message.mOffset = midi->deltaFrames;
    message.mStatus = static_cast<uint8_t>(midi->midiData[0]);
    message.mData1 = static_cast<uint8_t>(midi->midiData[1]);
    message.mData2 = static_cast<uint8_t>(midi->midiData[2]);
    if (n == kBatch)
    {
      mPlug->ProcessMidiFromHost(batch, n);
      n = 0;
    }
  }
  mPlug->ProcessMidiFromHost(batch, n); // also hands the host what the plug-in sent back
  // Events the plug-in does not read pass through to the host, with the lock free.
  for (VstInt32 i = 0; i < events->numEvents; ++i)
  {
    VstEvent* event = list[i];
    if (!event || event->type == kVstMidiType) continue;
    VstEvents single{};
    single.numEvents = 1;
    single.events[0] = event;
    CallHost(audioMasterProcessEvents, 0, 0, &single);
  }
  return 1;
}

void IPlugVST::UpdateChannelCounts()
{
  // The channel counts are fixed when the plug-in is made: no lock needed to read them.
  mInputArrangement.numChannels = mPlug->InputChannelCount();
  mAEffect.numInputs = mPlug->InputChannelCount();
  mOutputArrangement.numChannels = mPlug->OutputChannelCount();
  mAEffect.numOutputs = mPlug->OutputChannelCount();
}

// ---- Parameter and processing callbacks ----

void VSTCALLBACK IPlugVST::VSTProcessFloat(AEffect* effect, float** inputs, float** outputs, VstInt32 frames)
{
  if (IPlugBase* plug = PlugOf(effect)) plug->ProcessFloatFromHost(inputs, outputs, frames);
}

void VSTCALLBACK IPlugVST::VSTProcessDouble(AEffect* effect, double** inputs, double** outputs, VstInt32 frames)
{
  if (IPlugBase* plug = PlugOf(effect)) plug->ProcessDoubleFromHost(inputs, outputs, frames);
}

float VSTCALLBACK IPlugVST::VSTGetParameter(AEffect* effect, VstInt32 index)
{
  IPlugBase* plug = PlugOf(effect);
  // No trace record: hosts ask for every value many times a second.
  return plug ? static_cast<float>(plug->ParameterValueForHost(index, true)) : 0.0f;
}

void VSTCALLBACK IPlugVST::VSTSetParameter(AEffect* effect, VstInt32 index, float value)
{
  IPlugBase* plug = PlugOf(effect);
  if (!plug) return;
  EmitTrace("IPlugVST::VSTSetParameter", __LINE__, "%d:%f", index, static_cast<double>(value));
  plug->SetParameterFromHost(index, value, true);
}
