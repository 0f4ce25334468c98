#include "IPlugVST.h"

#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "IPlugHost.h"
#include "IPlugTrace.h"
#include "VstOpcodeNames.h"

#include "IGraphics.h"

namespace
{
constexpr VstIntPtr kCockosAnswer = 0xBEEF;
constexpr VstIntPtr kCockosCanDo = static_cast<VstIntPtr>(0xBEEF0000u);
constexpr int kHostProductBufferSize = 256;
constexpr int kMaxHostStringLen = 1024; // longest text accepted from the host

// Copies src into a buffer of limit bytes: at most limit - 1 characters, always
// terminated, and src is never read past them. Texts for the host are cut here;
// the full text stays with the plug-in.
void CopyToHost(char* dst, const char* src, int limit)
{
  if (!dst || limit <= 0) return;
  if (!src) src = "";
  const size_t n = strnlen(src, static_cast<size_t>(limit - 1));
  std::memcpy(dst, src, n);
  dst[n] = '\0';
}

int ClipToInt(VstIntPtr value)
{
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

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

IPlugVST::IPlugVST(audioMasterCallback hostCallback, int nParams, const char* channelIOStr,
                   int nPresets, const char* effectName, const char* productName,
                   const char* vendorName, int vendorVersion, int uniqueID, int mfrID,
                   int latency, bool doesMidi, bool doesChunks, bool isInstrument)
  : IPlugBase(nParams, channelIOStr, nPresets, effectName, productName, vendorName, vendorVersion,
              uniqueID, mfrID, latency, doesMidi, doesChunks, isInstrument),
    mHostCallback(hostCallback), mDoesMidi(doesMidi)
{
  EmitTrace("IPlugVST::IPlugVST", __LINE__, "%s", effectName ? effectName : "");

  const int nIn = InputChannelCount();
  const int nOut = OutputChannelCount();
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
  mAEffect.numPrograms = nPresets;
  mAEffect.numParams = nParams;
  mAEffect.numInputs = nIn;
  mAEffect.numOutputs = nOut;
  mAEffect.flags = effFlagsCanReplacing | effFlagsCanDoubleReplacing;
  if (doesChunks) mAEffect.flags |= effFlagsProgramChunks;
  if (isInstrument) mAEffect.flags |= effFlagsIsSynth;
  mAEffect.initialDelay = latency;
  mAEffect.object = this;
  mAEffect.uniqueID = uniqueID;
  mAEffect.version = EffectVersion(true);
  mAEffect.processReplacing = VSTProcessFloat;
  mAEffect.processDoubleReplacing = VSTProcessDouble;

  SetInputsConnected(0, nIn, true);
  SetOutputsConnected(0, nOut, true);
  SetBlockFrames(1024);
}

IPlugVST::~IPlugVST()
{
  mProgramChunk.Clear();
  mBankChunk.Clear();
}

IPlugVST* IPlugVST::FromAEffect(AEffect* effect)
{
  return effect ? static_cast<IPlugVST*>(effect->object) : nullptr;
}

std::mutex& IPlugVST::ConstructionLock()
{
  static std::mutex lock;
  return lock;
}

VstIntPtr IPlugVST::CallHost(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt)
{
  if (!mHostCallback) return 0;
  return mHostCallback(&mAEffect, opcode, index, value, ptr, opt);
}

// ---- Dispatcher ----

VstIntPtr VSTCALLBACK IPlugVST::VSTDispatcher(AEffect* effect, VstInt32 opcode, VstInt32 index,
                                              VstIntPtr value, void* ptr, float opt)
{
  IPlugVST* plug = FromAEffect(effect);
  if (!plug) return 0;

  if (IsEditorOpcode(opcode)) return plug->DispatchEditor(opcode, index, value, ptr, opt);

  plug->Lock().Enter();
  // Queries come by the hundred and change nothing; the calls that change the
  // plug-in are what a trace of a host problem needs.
  if (!VstOpcodeIsQuery(opcode))
    EmitTrace("IPlugVST::VSTDispatcher", __LINE__, "%d(%s):%d:%d", opcode, VstOpcodeName(opcode), index,
              static_cast<int>(value));
  if (opcode == effClose)
  {
    // The lock lives inside the object: release it before the object goes.
    plug->Lock().Leave();
    delete plug;
    FlushTrace();
    return 0;
  }
  const VstIntPtr result = plug->Dispatch(opcode, index, value, ptr, opt);
  plug->Lock().Leave();
  // Records are written once the lock is free, so an audio thread waiting for it
  // never waits for the file. effProcessEvents comes from the audio thread.
  if (opcode != effProcessEvents) FlushTrace();
  return result;
}

VstIntPtr IPlugVST::DispatchEditor(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float)
{
  IGraphics* editor = Editor(); // attached at construction, never replaced while the host runs
  if (opcode == effEditIdle)
  {
    if (editor) editor->Idle();
    FlushTrace(); // the host's user-interface thread, many times a second
    return 0;
  }
  if (opcode == effEditOpen || opcode == effEditClose)
    EmitTrace("IPlugVST::VSTDispatcher", __LINE__, "%d(%s):%d:%d", opcode, VstOpcodeName(opcode), index,
              static_cast<int>(value));
  if (!editor) return 0;
  switch (opcode)
  {
  case effEditOpen:
    if (!editor->OpenEditorWindow(ptr))
    {
      EmitTrace("IPlugVST::VSTDispatcher", __LINE__, "editor not opened in host window %p: no window could be made",
                ptr);
      FlushTrace();
      return 0;
    }
    {
      IPlugLockGuard guard(Lock());
      EditorOpened();
    }
    EmitTrace("IPlugVST::VSTDispatcher", __LINE__, "editor opened in host window %p", ptr);
    FlushTrace();
    // The first frame, with whatever the opening showed (a back-end that ticks from idle
    // paints it now; one with a timer of its own paints when the window asks).
    editor->Idle();
    return 1;

  case effEditClose:
    {
      IPlugLockGuard guard(Lock());
      EditorClosing();
    }
    editor->CloseEditorWindow();
    EmitTrace("IPlugVST::VSTDispatcher", __LINE__, "editor closed");
    FlushTrace();
    return 1;

  case effEditKeyDown:
  case effEditKeyUp:
  {
    const IKeyPress key = KeyFromHost(index, value);
    if (opcode == effEditKeyDown) return editor->HostKeyDown(key) ? 1 : 0;
    return editor->HostKeyUp(key) ? 1 : 0;
  }

  default:
    return 0;
  }
}

VstIntPtr IPlugVST::Dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt)
{
  IParameter* param = ParameterAt(index); // null for an index that is not a parameter
  char* text = static_cast<char*>(ptr);

  switch (opcode)
  {
  case effOpen:
    HostSpecificSetup();
    NotifyAllParametersChanged();
    return 0;

  case effSetProgram:
    if (!DoesChunks()) UpdateCurrentPreset(nullptr);
    RecallPreset(value >= 0 && value <= INT_MAX ? static_cast<int>(value) : -1);
    return 0;

  case effGetProgram:
    return CurrentPreset();

  case effSetProgramName:
    if (text)
    {
      char name[IProgram::kNameSize];
      CopyToHost(name, text, IProgram::kNameSize); // bounded read of the host's text
      UpdateCurrentPreset(name);
    }
    return 0;

  case effGetProgramName:
    if (text) CopyToHost(text, PresetName(CurrentPreset()), kVstMaxProgNameLen);
    return 0;

  case effGetParamLabel:
    if (param && text) CopyToHost(text, param->HostLabel(), kVstMaxParamStrLen);
    return 0;

  case effGetParamDisplay:
    if (param && text)
    {
      char display[IParameter::kDisplayTextBufferSize];
      param->HostDisplayText(param->Value(), false, display, sizeof(display));
      CopyToHost(text, display, kVstMaxParamStrLen);
    }
    return 0;

  case effGetParamName:
    if (param && text) CopyToHost(text, param->HostName(), kVstMaxParamStrLen);
    return 0;

  case effSetSampleRate:
  {
    const double rate = opt;
    mHostSampleRateUsable = std::isfinite(rate) && rate > 0.0;
    if (!mHostSampleRateUsable) EmitTrace("IPlugVST::VSTDispatcher", __LINE__, "sample rate %g refused", rate);
    SetSampleRateHz(rate);
    ResetProcessing();
    return 0;
  }

  case effSetBlockSize:
    if (value <= 0)
    {
      // No block size to prepare for.
      EmitTrace("IPlugVST::VSTDispatcher", __LINE__, "block size %lld refused", static_cast<long long>(value));
      return 0;
    }
    SetBlockFrames(value > kMaxBlockFrames ? kMaxBlockFrames : static_cast<int>(value));
    ResetProcessing();
    return 0;

  case effMainsChanged:
    if (value)
    {
      SetActive(true);
    }
    else
    {
      SetActive(false);
      ResetProcessing();
    }
    return 0;

  case effEditGetRect:
    if (ptr && Editor())
    {
      *static_cast<ERect**>(ptr) = &mEditorRect;
      return 1;
    }
    return 0;

  case effGetChunk:
    if (!ptr) return 0;
    return GetChunk(index == 0, static_cast<void**>(ptr));

  case effSetChunk:
    if (!ptr) return 0;
    return SetChunk(index == 0, ptr, value);

  case effProcessEvents:
    if (!ptr) return 0;
    return ProcessEvents(static_cast<const VstEvents*>(ptr));

  case effCanBeAutomated:
    return 1;

  case effString2Parameter:
    return StringToParameter(index, text);

  case effGetProgramNameIndexed:
    if (!text) return 0;
    CopyToHost(text, PresetName(index), kVstMaxProgNameLen);
    return text[0] != '\0' ? 1 : 0;

  case effGetInputProperties:
    return PinProperties(index, InputChannelCount(), "Input %d",
                         static_cast<VstPinProperties*>(ptr));

  case effGetOutputProperties:
    return PinProperties(index, OutputChannelCount(), "Output %d",
                         static_cast<VstPinProperties*>(ptr));

  case effGetPlugCategory:
    return IsInstrument() ? kPlugCategSynth : kPlugCategEffect;

  case effSetSpeakerArrangement:
  {
    const auto* in = reinterpret_cast<const VstSpeakerArrangement*>(value);
    const auto* out = static_cast<const VstSpeakerArrangement*>(ptr);
    EmitTrace("IPlugVST::VSTDispatcher", __LINE__, "speaker arrangement: %d inputs, %d outputs",
              in ? in->numChannels : -1, out ? out->numChannels : -1);
    SetConnectedFromArrangement(in, true);
    SetConnectedFromArrangement(out, false);
    return 1;
  }

  case effGetEffectName:
    if (!text) return 0;
    CopyToHost(text, EffectName(), kVstMaxEffectNameLen);
    return 1;

  case effGetVendorString:
    if (!text) return 0;
    CopyToHost(text, VendorName(), kVstMaxVendorStrLen);
    return 1;

  case effGetProductString:
    if (!text) return 0;
    CopyToHost(text, ProductName(), kVstMaxProductStrLen);
    return 1;

  case effVendorSpecific:
  {
    if (index != effGetParamDisplay || !text) return 0;
    // The host asks for the text of a normalised value it holds; a value that is
    // not a number gets no text.
    IParameter* shown = value >= 0 && value < ParameterCount() ? ParameterAt(static_cast<int>(value))
                                                                : nullptr;
    if (shown && !std::isnan(opt))
    {
      const double normalized = opt < 0.0f ? 0.0 : (opt > 1.0f ? 1.0 : static_cast<double>(opt));
      char display[IParameter::kDisplayTextBufferSize];
      shown->HostDisplayText(normalized, true, display, sizeof(display));
      CopyToHost(text, display, kVstMaxParamStrLen);
    }
    return kCockosAnswer;
  }

  case effCanDo:
    return text ? CanDo(text) : 0;

  case effGetVstVersion:
    return kVstVersion;

  case effGetMidiKeyName:
  {
    MidiKeyName* key = static_cast<MidiKeyName*>(ptr);
    if (!key) return 0;
    std::memset(key->keyName, 0, sizeof(key->keyName));
    char name[kVstMaxNameLen * 2] = {};
    const bool named = GetNoteName(key->thisKeyNumber, name);
    CopyToHost(key->keyName, name, sizeof(key->keyName));
    return named ? 1 : 0;
  }

  case effGetSpeakerArrangement:
    if (value) *reinterpret_cast<VstSpeakerArrangement**>(value) = &mInputArrangement;
    if (ptr) *static_cast<VstSpeakerArrangement**>(ptr) = &mOutputArrangement;
    return 1;

  default:
    return 0;
  }
}

VstIntPtr IPlugVST::GetChunk(bool bank, void** data)
{
  IByteChunk& chunk = bank ? mBankChunk : mProgramChunk;
  chunk.Clear();
  bool ok = WriteChunkHeader(chunk);
  if (bank) UpdateCurrentPreset(nullptr);
  ok = ok && WriteState(chunk);
  if (!ok || chunk.Size() <= 0) return 0;
  *data = chunk.GetBytes();
  return chunk.Size();
}

VstIntPtr IPlugVST::SetChunk(bool bank, const void* data, VstIntPtr size)
{
  // A size the chunk cannot hold is refused before anything changes.
  IByteChunk& chunk = bank ? mBankChunk : mProgramChunk;
  if (size < 0 || size > INT_MAX || !chunk.Resize(static_cast<int>(size)))
  {
    EmitTrace("IPlugVST::SetChunk", __LINE__, "%s chunk of %lld bytes refused: no room for it",
              bank ? "bank" : "program", static_cast<long long>(size));
    return 0;
  }
  if (size > 0) std::memcpy(chunk.GetBytes(), data, static_cast<size_t>(size));

  int32_t version = 0;
  const int start = ReadChunkHeader(chunk, &version);
  const int end = ReadState(chunk, start);
  if (!(bank && version >= IByteChunk::kFormatVersion)) UpdateCurrentPreset(nullptr);
  if (end < 0)
  {
    EmitTrace("IPlugVST::SetChunk", __LINE__, "%s chunk of %lld bytes refused: not a state this plug-in wrote",
              bank ? "bank" : "program", static_cast<long long>(size));
    return 0;
  }
  PushAllParametersToEditor();
  return 1;
}

VstIntPtr IPlugVST::StringToParameter(int index, const char* text)
{
  IParameter* param = ParameterAt(index);
  if (!param) return 0;
  if (!text) return 1;

  char bounded[kMaxHostStringLen];
  CopyToHost(bounded, text, sizeof(bounded)); // bounded read of the host's text
  double value = 0.0;
  if (!param->ValueFromText(bounded, &value)) return 0;

  if (IGraphics* editor = Editor()) editor->PushParameterToControls(index, value, false);
  param->SetValue(value); // clamps to the range
  ParameterChanged(index);
  return 1;
}

VstIntPtr IPlugVST::CanDo(const char* text)
{
  EmitTrace("IPlugVST::VSTDispatcher", __LINE__, "VSTCanDo(%s)", text);
  if (!std::strcmp(text, "receiveVstTimeInfo")) return 1;
  if (mDoesMidi)
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
  for (VstInt32 i = 0; i < events->numEvents; ++i)
  {
    VstEvent* event = list[i];
    if (!event) continue;
    if (event->type == kVstMidiType)
    {
      const VstMidiEvent* midi = reinterpret_cast<const VstMidiEvent*>(event);
      MidiMessage message;
      message.mOffset = midi->deltaFrames;
      message.mStatus = static_cast<uint8_t>(midi->midiData[0]);
      message.mData1 = static_cast<uint8_t>(midi->midiData[1]);
      message.mData2 = static_cast<uint8_t>(midi->midiData[2]);
      HandleMidiMessage(message);
    }
    else
    {
      VstEvents single{};
      single.numEvents = 1;
      single.events[0] = event;
      CallHost(audioMasterProcessEvents, 0, 0, &single);
    }
  }
  return 1;
}

void IPlugVST::SetConnectedFromArrangement(const VstSpeakerArrangement* arrangement, bool inputs)
{
  if (!arrangement) return;
  const int count = inputs ? InputChannelCount() : OutputChannelCount();
  // Channels beyond the plug-in's own do not exist; a negative count connects none.
  int n = arrangement->numChannels;
  if (n < 0) n = 0;
  if (n > count) n = count;
  if (inputs)
  {
    SetInputsConnected(0, n, true);
    SetInputsConnected(n, count - n, false);
  }
  else
  {
    SetOutputsConnected(0, n, true);
    SetOutputsConnected(n, count - n, false);
  }
}

// ---- Parameter and processing callbacks ----

bool IPlugVST::HostBlockUsable(const void* inputs, const void* outputs, VstInt32 frames) const
{
  // No frames, or no buffer array for channels the plug-in has: nothing to process.
  return frames > 0 && (inputs || InputChannelCount() == 0) && (outputs || OutputChannelCount() == 0);
}

void VSTCALLBACK IPlugVST::VSTProcessFloat(AEffect* effect, float** inputs, float** outputs,
                                           VstInt32 frames)
{
  IPlugVST* plug = FromAEffect(effect);
  if (!plug) return;
  MarkAudioThreadForTrace();
  IPlugLockGuard guard(plug->Lock());
  if (!plug->HostBlockUsable(inputs, outputs, frames)) return;
  plug->RunHostBlockFloat(inputs, outputs, frames);
}

void VSTCALLBACK IPlugVST::VSTProcessDouble(AEffect* effect, double** inputs, double** outputs,
                                            VstInt32 frames)
{
  IPlugVST* plug = FromAEffect(effect);
  if (!plug) return;
  MarkAudioThreadForTrace();
  IPlugLockGuard guard(plug->Lock());
  if (!plug->HostBlockUsable(inputs, outputs, frames)) return;
  plug->AttachInputsDouble(0, plug->InputChannelCount(), inputs);
  plug->AttachOutputsDouble(0, plug->OutputChannelCount(), outputs);
  plug->RunBlockDouble(frames);
}

float VSTCALLBACK IPlugVST::VSTGetParameter(AEffect* effect, VstInt32 index)
{
  IPlugVST* plug = FromAEffect(effect);
  if (!plug) return 0.0f;
  // No trace record: hosts ask for every value many times a second.
  IPlugLockGuard guard(plug->Lock());
  IParameter* param = plug->ParameterAt(index);
  return param ? static_cast<float>(param->Normalized()) : 0.0f;
}

void VSTCALLBACK IPlugVST::VSTSetParameter(AEffect* effect, VstInt32 index, float value)
{
  IPlugVST* plug = FromAEffect(effect);
  if (!plug) return;
  EmitTrace("IPlugVST::VSTSetParameter", __LINE__, "%d:%f", index, static_cast<double>(value));
  IPlugLockGuard guard(plug->Lock());
  IParameter* param = plug->ParameterAt(index);
  // A value that is not a number or infinite is no position on the control: ignored.
  if (!param || !std::isfinite(value)) return;
  if (IGraphics* editor = plug->Editor()) editor->PushParameterToControls(index, value, true);
  param->SetFromNormalized(value); // clamps to the range
  plug->ParameterChanged(index);
}

// ---- Calls to the host ----

void IPlugVST::HostBeginEdit(int index)
{
  CallHost(audioMasterBeginEdit, index);
}

void IPlugVST::HostAutomate(int index, double normalized)
{
  CallHost(audioMasterAutomate, index, 0, nullptr, static_cast<float>(normalized));
}

void IPlugVST::HostEndEdit(int index)
{
  CallHost(audioMasterEndEdit, index);
}

const VstTimeInfo* IPlugVST::HostTimeInfo(VstIntPtr wantedFlags)
{
  return reinterpret_cast<const VstTimeInfo*>(CallHost(audioMasterGetTime, 0, wantedFlags));
}

int IPlugVST::HostSamplePosition()
{
  const VstTimeInfo* info = HostTimeInfo(0);
  if (!info || !(info->samplePos >= 0.0)) return 0;
  // Positions past the range of the answer saturate instead of overflowing.
  if (info->samplePos >= static_cast<double>(INT_MAX)) return INT_MAX;
  return static_cast<int>(info->samplePos);
}

double IPlugVST::HostTempo()
{
  if (!mHostCallback) return 0.0;
  const VstTimeInfo* info = HostTimeInfo(kVstTempoValid);
  if (info && (info->flags & kVstTempoValid) && info->tempo >= 0.0 && std::isfinite(info->tempo))
    return info->tempo;
  return 0.0;
}

void IPlugVST::HostTimeSignature(int* numerator, int* denominator)
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

int IPlugVST::IdentifyHost()
{
  if (HostKind() != kHostUninit) return HostKind();
  char product[kHostProductBufferSize];
  std::memset(product, 0, sizeof(product));
  CallHost(audioMasterGetProductString, 0, 0, product);
  product[sizeof(product) - 1] = '\0'; // whatever the host wrote, the text ends here
  int version = 0;
  if (product[0]) version = PackDecimalVersion(ClipToInt(CallHost(audioMasterGetVendorVersion)));
  SetHost(product, version);
  return HostKind();
}

void IPlugVST::HostSpecificSetup()
{
  if (mHostSetupDone) return;
  mHostSetupDone = true;
  const int host = IdentifyHost();
  if (host == kHostForte || host == kHostAudition || host == kHostOrion || host == kHostSAWStudio)
    RestrictToTwoInputs();
  mInputArrangement.numChannels = InputChannelCount();
  mAEffect.numInputs = InputChannelCount();
  mOutputArrangement.numChannels = OutputChannelCount();
  mAEffect.numOutputs = OutputChannelCount();
}

void IPlugVST::ResizeEditorRect(int, int)
{
  if (IGraphics* editor = Editor())
  {
    mEditorRect = ERect{};
    mEditorRect.bottom = static_cast<VstInt16>(editor->EditorHeight());
    mEditorRect.right = static_cast<VstInt16>(editor->EditorWidth());
  }
}

void IPlugVST::AttachEditor(IGraphics* editor)
{
  if (!editor) return;
  IPlugBase::AttachEditor(editor);
  mAEffect.flags |= effFlagsHasEditor;
  ResizeEditorRect(0, 0);
}

void IPlugVST::SetLatencySamples(int samples)
{
  mAEffect.initialDelay = samples;
  IPlugBase::SetLatencySamples(samples);
}

bool IPlugVST::SendMidiToHost(const MidiMessage& message)
{
  VstMidiEvent event{};
  event.type = kVstMidiType;
  event.byteSize = sizeof(VstMidiEvent);
  event.deltaFrames = message.mOffset;
  event.midiData[0] = static_cast<char>(message.mStatus);
  event.midiData[1] = static_cast<char>(message.mData1);
  event.midiData[2] = static_cast<char>(message.mData2);
  VstEvents list{};
  list.numEvents = 1;
  list.events[0] = reinterpret_cast<VstEvent*>(&event);
  return CallHost(audioMasterProcessEvents, 0, 0, &list) == 1;
}

bool IPlugVST::SendMidiListToHost(const MidiMessage* messages, int count)
{
  bool allSent = true;
  for (int i = 0; messages && i < count; ++i)
    allSent = SendMidiToHost(messages[i]) && allSent;
  return allSent;
}
