// The VST 3 binary interface as Brindlow's plug-in and host kit use it, written from
// the interface's published facts: types, result codes, ids, structures and the
// interfaces (C++ classes with no data, slots in declaration order). Every size, offset
// and id is pinned in vst3_abi_layout.h for x86-64 Linux, x86-64 and i686 Windows.
//
// Rules kept here so that one C++ class can implement several interfaces and any
// compiler lays the vtables out the same way: no virtual destructors, no overloaded
// virtuals, no data members. IEditController's own state calls are named
// setControllerState / getControllerState, so that they do not merge with IComponent's
// setState / getState in a class implementing both (only the slot counts for a host).
#pragma once

#include <cstdint>

#if defined(_WIN32) && defined(__i386__)
#define VST3_API __stdcall
#else
#define VST3_API
#endif

namespace vst3
{
using int8 = int8_t;
using uint8 = uint8_t;
using int16 = int16_t;
using uint16 = uint16_t;
using int32 = int32_t;
using uint32 = uint32_t;
using int64 = int64_t;
using uint64 = uint64_t;
using tresult = int32;
using TBool = uint8;
using char16 = char16_t;
using TChar = char16;
using String128 = TChar[128];
using FIDString = const char*;
using CString = const char*;
using TUID = char[16];
using ParamID = uint32;
using ParamValue = double;
using SampleRate = double;
using TSamples = int64;
using TQuarterNotes = double;
using Sample32 = float;
using Sample64 = double;
using SpeakerArrangement = uint64;
using MediaType = int32;
using BusDirection = int32;
using BusType = int32;
using IoMode = int32;
using UnitID = int32;
using ProgramListID = int32;
using KnobMode = int32;
using FileDescriptor = int;
using TimerInterval = uint64;

// ---- Result codes: COM values on Windows, small numbers elsewhere ----
#if defined(_WIN32)
constexpr tresult kNoInterface = static_cast<tresult>(0x80004002u);
constexpr tresult kResultOk = 0;
constexpr tresult kResultTrue = kResultOk;
constexpr tresult kResultFalse = 1;
constexpr tresult kInvalidArgument = static_cast<tresult>(0x80070057u);
constexpr tresult kNotImplemented = static_cast<tresult>(0x80004001u);
constexpr tresult kInternalError = static_cast<tresult>(0x80004005u);
constexpr tresult kNotInitialized = static_cast<tresult>(0x8000FFFFu);
constexpr tresult kOutOfMemory = static_cast<tresult>(0x8007000Eu);
#else
constexpr tresult kNoInterface = -1;
constexpr tresult kResultOk = 0;
constexpr tresult kResultTrue = kResultOk;
constexpr tresult kResultFalse = 1;
constexpr tresult kInvalidArgument = 2;
constexpr tresult kNotImplemented = 3;
constexpr tresult kInternalError = 4;
constexpr tresult kNotInitialized = 5;
constexpr tresult kOutOfMemory = 6;
#endif

// ---- Ids: four words, laid out in memory per platform ----
struct Uid
{
  char bytes[16];
};

// Linux: each word big-endian. Windows: GUID order (word 1 and the halves of word 2
// little-endian, words 3 and 4 big-endian). The text form is the same everywhere.
constexpr Uid MakeUid(uint32 l1, uint32 l2, uint32 l3, uint32 l4)
{
  Uid u{};
  const uint32 words[4] = {l1, l2, l3, l4};
  for (int w = 0; w < 4; ++w)
    for (int b = 0; b < 4; ++b) u.bytes[w * 4 + b] = static_cast<char>((words[w] >> (24 - 8 * b)) & 0xFF);
#if defined(_WIN32)
  const uint32 hi = l2 >> 16, lo = l2 & 0xFFFF;
  for (int b = 0; b < 4; ++b) u.bytes[b] = static_cast<char>((l1 >> (8 * b)) & 0xFF);
  u.bytes[4] = static_cast<char>(hi & 0xFF);
  u.bytes[5] = static_cast<char>(hi >> 8);
  u.bytes[6] = static_cast<char>(lo & 0xFF);
  u.bytes[7] = static_cast<char>(lo >> 8);
#endif
  return u;
}

constexpr bool SameUid(const char* a, const char* b)
{
  for (int i = 0; i < 16; ++i)
    if (a[i] != b[i]) return false;
  return true;
}

// The 32 upper-case hex digits of the four words (moduleinfo.json, .vstpreset, caches):
// out holds at least 33 characters.
inline void UidText(const Uid& u, char* out)
{
  Uid canonical = u;
#if defined(_WIN32)
  const char b[8] = {u.bytes[3], u.bytes[2], u.bytes[1], u.bytes[0], u.bytes[5], u.bytes[4], u.bytes[7], u.bytes[6]};
  for (int i = 0; i < 8; ++i) canonical.bytes[i] = b[i];
#endif
  const char* hex = "0123456789ABCDEF";
  for (int i = 0; i < 16; ++i)
  {
    out[2 * i] = hex[(static_cast<unsigned char>(canonical.bytes[i]) >> 4) & 0xF];
    out[2 * i + 1] = hex[static_cast<unsigned char>(canonical.bytes[i]) & 0xF];
  }
  out[32] = '\0';
}

#define VST3_IID(name, l1, l2, l3, l4) constexpr Uid name##_iid = MakeUid(l1, l2, l3, l4);
VST3_IID(FUnknown, 0x00000000, 0x00000000, 0xC0000000, 0x00000046)
VST3_IID(IPluginBase, 0x22888DDB, 0x156E45AE, 0x8358B348, 0x08190625)
VST3_IID(IPluginFactory, 0x7A4D811C, 0x52114A1F, 0xAED9D2EE, 0x0B43BF9F)
VST3_IID(IPluginFactory2, 0x0007B650, 0xF24B4C0B, 0xA464EDB9, 0xF00B2ABB)
VST3_IID(IPluginFactory3, 0x4555A2AB, 0xC1234E57, 0x9B122910, 0x36878931)
VST3_IID(IComponent, 0xE831FF31, 0xF2D54301, 0x928EBBEE, 0x25697802)
VST3_IID(IAudioProcessor, 0x42043F99, 0xB7DA453C, 0xA569E79D, 0x9AAEC33D)
VST3_IID(IProcessContextRequirements, 0x2A654303, 0xEF764E3D, 0x95B5FE83, 0x730EF6D0)
VST3_IID(IAudioPresentationLatency, 0x309ECE78, 0xEB7D4FAE, 0x8B2225D9, 0x09FD08B6)
VST3_IID(IEditController, 0xDCD7BBE3, 0x7742448D, 0xA874AACC, 0x979C759E)
VST3_IID(IEditController2, 0x7F4EFE59, 0xF3204967, 0xAC27A3AE, 0xAFB63038)
VST3_IID(IMidiMapping, 0xDF0FF9F7, 0x49B74669, 0xB63AB732, 0x7ADBF5E5)
VST3_IID(IEditControllerHostEditing, 0xC1271208, 0x70594098, 0xB9DD34B3, 0x6BB0195E)
VST3_IID(IConnectionPoint, 0x70A4156F, 0x6E6E4026, 0x989148BF, 0xAA60D8D1)
VST3_IID(IMessage, 0x936F033B, 0xC6C047DB, 0xBB0882F8, 0x13C1E613)
VST3_IID(IAttributeList, 0x1E5F0AEB, 0xCC7F4533, 0xA2544011, 0x38AD5EE4)
VST3_IID(IStreamAttributes, 0xD6CE2FFC, 0xEFAF4B8C, 0x9E74F1BB, 0x12DA44B4)
VST3_IID(IBStream, 0xC3BF6EA2, 0x30994752, 0x9B6BF990, 0x1EE33E9B)
VST3_IID(ISizeableStream, 0x04F9549E, 0xE02F4E6E, 0x87E86A87, 0x47F4E17F)
VST3_IID(IParameterChanges, 0xA4779663, 0x0BB64A56, 0xB44384A8, 0x466FEB9D)
VST3_IID(IParamValueQueue, 0x01263A18, 0xED074F6F, 0x98C9D356, 0x4686F9BA)
VST3_IID(IEventList, 0x3A2C4214, 0x346349FE, 0xB2C4F397, 0xB9695A44)
VST3_IID(IComponentHandler, 0x93A0BEA3, 0x0BD045DB, 0x8E890B0C, 0xC1E46AC6)
VST3_IID(IComponentHandler2, 0xF040B4B3, 0xA36045EC, 0xABCDC045, 0xB4D5A2CC)
VST3_IID(IHostApplication, 0x58E595CC, 0xDB2D4969, 0x8B6AAF8C, 0x36A664E5)
VST3_IID(IPlugInterfaceSupport, 0x4FB58B9E, 0x9EAA4E0F, 0xAB361C1C, 0xCCB56FEA)
VST3_IID(IPlugView, 0x5BC32507, 0xD06049EA, 0xA6151B52, 0x2B755B29)
VST3_IID(IPlugFrame, 0x367FAF01, 0xAFA94693, 0x8D4DA2A0, 0xED0882A3)
VST3_IID(IPlugViewContentScaleSupport, 0x65ED9690, 0x8AC44525, 0x8AADEF7A, 0x72EA703F)
VST3_IID(IRunLoop, 0x18C35366, 0x97764F1A, 0x9C5B8385, 0x7A871389)
VST3_IID(IEventHandler, 0x561E65C9, 0x13A0496F, 0x813A2C35, 0x654D7983)
VST3_IID(ITimerHandler, 0x10BDD94F, 0x41424774, 0x821FAD8F, 0xECA72CA9)
VST3_IID(IUnitInfo, 0x3D4BD6B5, 0x913A4FD2, 0xA886E768, 0xA5EB92C1)
VST3_IID(IUnitHandler, 0x4B5147F8, 0x4654486B, 0x8DAB30BA, 0x163A3C56)
VST3_IID(IProgramListData, 0x8683B01F, 0x7B354F70, 0xA2651DEC, 0x353AF4FF)
VST3_IID(IUnitData, 0x6C389611, 0xD391455D, 0xB870B833, 0x94A0EFDD)
VST3_IID(INoteExpressionController, 0xB7F8F859, 0x41234872, 0x91169581, 0x4F3721A3)
#undef VST3_IID

// ---- Constants ----
constexpr int32 kNameSize = 64, kURLSize = 256, kEmailSize = 128, kCategorySize = 32, kVendorSize = 64,
                kVersionSize = 64, kSubCategoriesSize = 128;
constexpr int32 kManyInstances = 0x7FFFFFFF;
constexpr int32 kFactoryFlagClassesDiscardable = 1, kFactoryFlagLicenseCheck = 2,
                kFactoryFlagComponentNonDiscardable = 8, kFactoryFlagUnicode = 16;
constexpr char kVstAudioEffectClass[] = "Audio Module Class";
constexpr char kVstComponentControllerClass[] = "Component Controller Class";
constexpr char kVstVersionString[] = "VST 3.7.14";
constexpr char kEditorViewType[] = "editor";
constexpr char kPlatformTypeHWND[] = "HWND";
constexpr char kPlatformTypeX11EmbedWindowID[] = "X11EmbedWindowID";
constexpr char kPlatformTypeNSView[] = "NSView";

enum MediaTypes : int32 { kAudio = 0, kEvent = 1 };
enum BusDirections : int32 { kInput = 0, kOutput = 1 };
enum BusTypes : int32 { kMain = 0, kAux = 1 };
enum BusFlags : uint32 { kDefaultActive = 1, kIsControlVoltage = 2 };
enum IoModes : int32 { kSimple = 0, kAdvanced = 1, kOfflineProcessing = 2 };
enum SymbolicSampleSizes : int32 { kSample32 = 0, kSample64 = 1 };
enum ProcessModes : int32 { kRealtime = 0, kPrefetch = 1, kOffline = 2 };
constexpr uint32 kNoTail = 0, kInfiniteTail = 0xFFFFFFFFu;
constexpr SpeakerArrangement kSpeakerL = 0x1, kSpeakerR = 0x2, kSpeakerC = 0x4, kSpeakerLfe = 0x8,
                             kSpeakerM = 0x80000;
constexpr SpeakerArrangement kArrEmpty = 0, kArrMono = kSpeakerM, kArrStereo = kSpeakerL | kSpeakerR;
enum ParameterFlags : int32
{
  kNoFlags = 0,
  kCanAutomate = 1,
  kIsReadOnly = 2,
  kIsWrapAround = 4,
  kIsList = 8,
  kIsHidden = 16,
  kIsProgramChange = 0x8000,
  kIsBypass = 0x10000,
};
constexpr ParamID kNoParamId = 0xFFFFFFFFu, kMinParamId = 0, kMaxParamId = 0x7FFFFFFF;
constexpr UnitID kRootUnitId = 0, kNoParentUnitId = -1;
constexpr ProgramListID kNoProgramListId = -1;
constexpr int32 kAllProgramInvalid = -1;
enum RestartFlags : int32
{
  kReloadComponent = 1,
  kIoChanged = 2,
  kParamValuesChanged = 4,
  kLatencyChanged = 8,
  kParamTitlesChanged = 16,
  kMidiCCAssignmentChanged = 32,
  kNoteExpressionChanged = 64,
  kIoTitlesChanged = 128,
  kPrefetchableSupportChanged = 256,
  kRoutingInfoChanged = 512,
  kKeyswitchChanged = 1024,
  kParamIDMappingChanged = 2048,
};
enum SeekModes : int32 { kIBSeekSet = 0, kIBSeekCur = 1, kIBSeekEnd = 2 };
enum KnobModes : int32 { kCircularMode = 0, kRelativCircularMode = 1, kLinearMode = 2 };
// ProcessContext::state bits.
enum ProcessContextStates : uint32
{
  kPlaying = 2,
  kCycleActive = 4,
  kRecording = 8,
  kSystemTimeValid = 0x100,
  kProjectTimeMusicValid = 0x200,
  kTempoValid = 0x400,
  kBarPositionValid = 0x800,
  kCycleValid = 0x1000,
  kTimeSigValid = 0x2000,
  kSmpteValid = 0x4000,
  kClockValid = 0x8000,
  kContTimeValid = 0x20000,
  kChordValid = 0x40000,
};

// ---- Structures (natural alignment reproduces every layout on the three targets) ----
struct PFactoryInfo
{
  char vendor[kNameSize];
  char url[kURLSize];
  char email[kEmailSize];
  int32 flags;
};

struct PClassInfo
{
  TUID cid;
  int32 cardinality;
  char category[kCategorySize];
  char name[kNameSize];
};

struct PClassInfo2
{
  TUID cid;
  int32 cardinality;
  char category[kCategorySize];
  char name[kNameSize];
  uint32 classFlags;
  char subCategories[kSubCategoriesSize];
  char vendor[kVendorSize];
  char version[kVersionSize];
  char sdkVersion[kVersionSize];
};

struct PClassInfoW
{
  TUID cid;
  int32 cardinality;
  char category[kCategorySize];
  char16 name[kNameSize];
  uint32 classFlags;
  char subCategories[kSubCategoriesSize];
  char16 vendor[kVendorSize];
  char16 version[kVersionSize];
  char16 sdkVersion[kVersionSize];
};

struct ProcessSetup
{
  int32 processMode;
  int32 symbolicSampleSize;
  int32 maxSamplesPerBlock;
  SampleRate sampleRate;
};

struct AudioBusBuffers
{
  int32 numChannels;
  uint64 silenceFlags;
  union
  {
    Sample32** channelBuffers32;
    Sample64** channelBuffers64;
  };
};

struct Chord
{
  uint8 keyNote;
  uint8 rootNote;
  int16 chordMask;
};

struct FrameRate
{
  uint32 framesPerSecond;
  uint32 flags;
};

struct ProcessContext
{
  uint32 state;
  double sampleRate;
  TSamples projectTimeSamples;
  int64 systemTime;
  TSamples continousTimeSamples;
  TQuarterNotes projectTimeMusic;
  TQuarterNotes barPositionMusic;
  TQuarterNotes cycleStartMusic;
  TQuarterNotes cycleEndMusic;
  double tempo;
  int32 timeSigNumerator;
  int32 timeSigDenominator;
  Chord chord;
  int32 smpteOffsetSubframes;
  FrameRate frameRate;
  int32 samplesToNextClock;
};

class IParameterChanges;
class IEventList;

struct ProcessData
{
  int32 processMode;
  int32 symbolicSampleSize;
  int32 numSamples;
  int32 numInputs;
  int32 numOutputs;
  AudioBusBuffers* inputs;
  AudioBusBuffers* outputs;
  IParameterChanges* inputParameterChanges;
  IParameterChanges* outputParameterChanges;
  IEventList* inputEvents;
  IEventList* outputEvents;
  ProcessContext* processContext;
};

struct BusInfo
{
  MediaType mediaType;
  BusDirection direction;
  int32 channelCount;
  String128 name;
  BusType busType;
  uint32 flags;
};

struct RoutingInfo
{
  MediaType mediaType;
  int32 busIndex;
  int32 channel;
};

struct ParameterInfo
{
  ParamID id;
  String128 title;
  String128 shortTitle;
  String128 units;
  int32 stepCount;
  ParamValue defaultNormalizedValue;
  UnitID unitId;
  int32 flags;
};

struct ViewRect
{
  int32 left;
  int32 top;
  int32 right;
  int32 bottom;
};

struct UnitInfo
{
  UnitID id;
  UnitID parentUnitId;
  String128 name;
  ProgramListID programListId;
};

struct ProgramListInfo
{
  ProgramListID id;
  String128 name;
  int32 programCount;
};

// An event, only ever skipped by this effect: the body's layout is what makes the size
// right (its largest member holds a pointer on x64; 4-byte packing on 32-bit Windows).
struct Event
{
  int32 busIndex;
  int32 sampleOffset;
  TQuarterNotes ppqPosition;
  uint16 flags;
  uint16 type;
  union
  {
    uint8 raw[20];
    struct
    {
      uint32 typeId;
      int32 noteId;
      uint32 textLen;
      const TChar* text;
    } text;
  } body;
};

// ---- Interfaces ----
class FUnknown
{
public:
  virtual tresult VST3_API queryInterface(const TUID iid, void** obj) = 0;
  virtual uint32 VST3_API addRef() = 0;
  virtual uint32 VST3_API release() = 0;
};

class IPluginFactory : public FUnknown
{
public:
  virtual tresult VST3_API getFactoryInfo(PFactoryInfo* info) = 0;
  virtual int32 VST3_API countClasses() = 0;
  virtual tresult VST3_API getClassInfo(int32 index, PClassInfo* info) = 0;
  virtual tresult VST3_API createInstance(FIDString cid, FIDString iid, void** obj) = 0;
};

class IPluginFactory2 : public IPluginFactory
{
public:
  virtual tresult VST3_API getClassInfo2(int32 index, PClassInfo2* info) = 0;
};

class IPluginFactory3 : public IPluginFactory2
{
public:
  virtual tresult VST3_API getClassInfoUnicode(int32 index, PClassInfoW* info) = 0;
  virtual tresult VST3_API setHostContext(FUnknown* context) = 0;
};

class IPluginBase : public FUnknown
{
public:
  virtual tresult VST3_API initialize(FUnknown* context) = 0;
  virtual tresult VST3_API terminate() = 0;
};

class IBStream : public FUnknown
{
public:
  virtual tresult VST3_API read(void* buffer, int32 numBytes, int32* numBytesRead) = 0;
  virtual tresult VST3_API write(void* buffer, int32 numBytes, int32* numBytesWritten) = 0;
  virtual tresult VST3_API seek(int64 pos, int32 mode, int64* result) = 0;
  virtual tresult VST3_API tell(int64* pos) = 0;
};

class IComponent : public IPluginBase
{
public:
  virtual tresult VST3_API getControllerClassId(TUID classId) = 0;
  virtual tresult VST3_API setIoMode(IoMode mode) = 0;
  virtual int32 VST3_API getBusCount(MediaType type, BusDirection dir) = 0;
  virtual tresult VST3_API getBusInfo(MediaType type, BusDirection dir, int32 index, BusInfo& bus) = 0;
  virtual tresult VST3_API getRoutingInfo(RoutingInfo& inInfo, RoutingInfo& outInfo) = 0;
  virtual tresult VST3_API activateBus(MediaType type, BusDirection dir, int32 index, TBool state) = 0;
  virtual tresult VST3_API setActive(TBool state) = 0;
  virtual tresult VST3_API setState(IBStream* state) = 0;
  virtual tresult VST3_API getState(IBStream* state) = 0;
};

class IAudioProcessor : public FUnknown
{
public:
  virtual tresult VST3_API setBusArrangements(SpeakerArrangement* inputs, int32 numIns, SpeakerArrangement* outputs,
                                              int32 numOuts) = 0;
  virtual tresult VST3_API getBusArrangement(BusDirection dir, int32 index, SpeakerArrangement& arr) = 0;
  virtual tresult VST3_API canProcessSampleSize(int32 symbolicSampleSize) = 0;
  virtual uint32 VST3_API getLatencySamples() = 0;
  virtual tresult VST3_API setupProcessing(ProcessSetup& setup) = 0;
  virtual tresult VST3_API setProcessing(TBool state) = 0;
  virtual tresult VST3_API process(ProcessData& data) = 0;
  virtual uint32 VST3_API getTailSamples() = 0;
};

class IProcessContextRequirements : public FUnknown
{
public:
  virtual uint32 VST3_API getProcessContextRequirements() = 0;
};

class IPlugView;
class IComponentHandler;

class IEditController : public IPluginBase
{
public:
  virtual tresult VST3_API setComponentState(IBStream* state) = 0;
  virtual tresult VST3_API setControllerState(IBStream* state) = 0; // setState in the slot
  virtual tresult VST3_API getControllerState(IBStream* state) = 0; // getState in the slot
  virtual int32 VST3_API getParameterCount() = 0;
  virtual tresult VST3_API getParameterInfo(int32 paramIndex, ParameterInfo& info) = 0;
  virtual tresult VST3_API getParamStringByValue(ParamID id, ParamValue valueNormalized, String128 string) = 0;
  virtual tresult VST3_API getParamValueByString(ParamID id, TChar* string, ParamValue& valueNormalized) = 0;
  virtual ParamValue VST3_API normalizedParamToPlain(ParamID id, ParamValue valueNormalized) = 0;
  virtual ParamValue VST3_API plainParamToNormalized(ParamID id, ParamValue plainValue) = 0;
  virtual ParamValue VST3_API getParamNormalized(ParamID id) = 0;
  virtual tresult VST3_API setParamNormalized(ParamID id, ParamValue value) = 0;
  virtual tresult VST3_API setComponentHandler(IComponentHandler* handler) = 0;
  virtual IPlugView* VST3_API createView(FIDString name) = 0;
};

class IEditController2 : public FUnknown
{
public:
  virtual tresult VST3_API setKnobMode(KnobMode mode) = 0;
  virtual tresult VST3_API openHelp(TBool onlyCheck) = 0;
  virtual tresult VST3_API openAboutBox(TBool onlyCheck) = 0;
};

class IUnitInfo : public FUnknown
{
public:
  virtual int32 VST3_API getUnitCount() = 0;
  virtual tresult VST3_API getUnitInfo(int32 unitIndex, UnitInfo& info) = 0;
  virtual int32 VST3_API getProgramListCount() = 0;
  virtual tresult VST3_API getProgramListInfo(int32 listIndex, ProgramListInfo& info) = 0;
  virtual tresult VST3_API getProgramName(ProgramListID listId, int32 programIndex, String128 name) = 0;
  virtual tresult VST3_API getProgramInfo(ProgramListID listId, int32 programIndex, CString attributeId,
                                          String128 attributeValue) = 0;
  virtual tresult VST3_API hasProgramPitchNames(ProgramListID listId, int32 programIndex) = 0;
  virtual tresult VST3_API getProgramPitchName(ProgramListID listId, int32 programIndex, int16 midiPitch,
                                               String128 name) = 0;
  virtual UnitID VST3_API getSelectedUnit() = 0;
  virtual tresult VST3_API selectUnit(UnitID unitId) = 0;
  virtual tresult VST3_API getUnitByBus(MediaType type, BusDirection dir, int32 busIndex, int32 channel,
                                        UnitID& unitId) = 0;
  virtual tresult VST3_API setUnitProgramData(int32 listOrUnitId, int32 programIndex, IBStream* data) = 0;
};

class IParamValueQueue : public FUnknown
{
public:
  virtual ParamID VST3_API getParameterId() = 0;
  virtual int32 VST3_API getPointCount() = 0;
  virtual tresult VST3_API getPoint(int32 index, int32& sampleOffset, ParamValue& value) = 0;
  virtual tresult VST3_API addPoint(int32 sampleOffset, ParamValue value, int32& index) = 0;
};

class IParameterChanges : public FUnknown
{
public:
  virtual int32 VST3_API getParameterCount() = 0;
  virtual IParamValueQueue* VST3_API getParameterData(int32 index) = 0;
  virtual IParamValueQueue* VST3_API addParameterData(const ParamID& id, int32& index) = 0;
};

class IEventList : public FUnknown
{
public:
  virtual int32 VST3_API getEventCount() = 0;
  virtual tresult VST3_API getEvent(int32 index, Event& e) = 0;
  virtual tresult VST3_API addEvent(Event& e) = 0;
};

class IComponentHandler : public FUnknown
{
public:
  virtual tresult VST3_API beginEdit(ParamID id) = 0;
  virtual tresult VST3_API performEdit(ParamID id, ParamValue valueNormalized) = 0;
  virtual tresult VST3_API endEdit(ParamID id) = 0;
  virtual tresult VST3_API restartComponent(int32 flags) = 0;
};

class IUnitHandler : public FUnknown
{
public:
  virtual tresult VST3_API notifyUnitSelection(UnitID unitId) = 0;
  virtual tresult VST3_API notifyProgramListChange(ProgramListID listId, int32 programIndex) = 0;
};

class IHostApplication : public FUnknown
{
public:
  virtual tresult VST3_API getName(String128 name) = 0;
  virtual tresult VST3_API createInstance(TUID cid, TUID iid, void** obj) = 0;
};

class IPlugFrame;

class IPlugView : public FUnknown
{
public:
  virtual tresult VST3_API isPlatformTypeSupported(FIDString type) = 0;
  virtual tresult VST3_API attached(void* parent, FIDString type) = 0;
  virtual tresult VST3_API removed() = 0;
  virtual tresult VST3_API onWheel(float distance) = 0;
  virtual tresult VST3_API onKeyDown(char16 key, int16 keyCode, int16 modifiers) = 0;
  virtual tresult VST3_API onKeyUp(char16 key, int16 keyCode, int16 modifiers) = 0;
  virtual tresult VST3_API getSize(ViewRect* size) = 0;
  virtual tresult VST3_API onSize(ViewRect* newSize) = 0;
  virtual tresult VST3_API onFocus(TBool state) = 0;
  virtual tresult VST3_API setFrame(IPlugFrame* frame) = 0;
  virtual tresult VST3_API canResize() = 0;
  virtual tresult VST3_API checkSizeConstraint(ViewRect* rect) = 0;
};

class IPlugFrame : public FUnknown
{
public:
  virtual tresult VST3_API resizeView(IPlugView* view, ViewRect* newSize) = 0;
};

class IPlugViewContentScaleSupport : public FUnknown
{
public:
  virtual tresult VST3_API setContentScaleFactor(float factor) = 0;
};

class IEventHandler : public FUnknown
{
public:
  virtual void VST3_API onFDIsSet(FileDescriptor fd) = 0;
};

class ITimerHandler : public FUnknown
{
public:
  virtual void VST3_API onTimer() = 0;
};

class IRunLoop : public FUnknown
{
public:
  virtual tresult VST3_API registerEventHandler(IEventHandler* handler, FileDescriptor fd) = 0;
  virtual tresult VST3_API unregisterEventHandler(IEventHandler* handler) = 0;
  virtual tresult VST3_API registerTimer(ITimerHandler* handler, TimerInterval milliseconds) = 0;
  virtual tresult VST3_API unregisterTimer(ITimerHandler* handler) = 0;
};

// The module's entry points: GetPluginFactory everywhere (VST3_API), ModuleEntry /
// ModuleExit on Linux, InitDll / ExitDll on Windows (plain C, undecorated).
using GetFactoryProc = IPluginFactory*(VST3_API*)();
using ModuleEntryProc = bool (*)(void*);
using ModuleExitProc = bool (*)();
} // namespace vst3

#include "vst3_abi_layout.h"
