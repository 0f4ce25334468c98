// Pins of the VST 3 interface header for every target it is built for (x86-64 Linux,
// x86-64 and i686 Windows): type sizes, structure sizes and offsets, and every id as
// the bytes a host compares. A header that drifts from the binary interface fails to
// compile here rather than misbehave in a host. (Vtable slots cannot be read at compile
// time; tests/vst3/Vst3AbiLayoutTest.cpp checks them.)
#pragma once

#include <cstddef>

namespace vst3
{
namespace layout
{
constexpr int HexDigit(char c)
{
  return c >= '0' && c <= '9' ? c - '0' : (c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1);
}

// Whether the id's 16 bytes are the 32 hex digits text (byte 0 first).
constexpr bool UidBytesAre(const Uid& u, const char* text)
{
  for (int i = 0; i < 16; ++i)
    if (static_cast<unsigned char>(u.bytes[i]) != HexDigit(text[2 * i]) * 16 + HexDigit(text[2 * i + 1]))
      return false;
  return true;
}

#if defined(_WIN32)
#define VST3_PIN_IID(name, linuxBytes, windowsBytes) \
  static_assert(UidBytesAre(name##_iid, windowsBytes), #name " id");
#else
#define VST3_PIN_IID(name, linuxBytes, windowsBytes) \
  static_assert(UidBytesAre(name##_iid, linuxBytes), #name " id");
#endif
VST3_PIN_IID(FUnknown, "0000000000000000C000000000000046", "0000000000000000C000000000000046")
VST3_PIN_IID(IPluginBase, "22888DDB156E45AE8358B34808190625", "DB8D88226E15AE458358B34808190625")
VST3_PIN_IID(IPluginFactory, "7A4D811C52114A1FAED9D2EE0B43BF9F", "1C814D7A11521F4AAED9D2EE0B43BF9F")
VST3_PIN_IID(IPluginFactory2, "0007B650F24B4C0BA464EDB9F00B2ABB", "50B607004BF20B4CA464EDB9F00B2ABB")
VST3_PIN_IID(IPluginFactory3, "4555A2ABC1234E579B12291036878931", "ABA2554523C1574E9B12291036878931")
VST3_PIN_IID(IComponent, "E831FF31F2D54301928EBBEE25697802", "31FF31E8D5F20143928EBBEE25697802")
VST3_PIN_IID(IAudioProcessor, "42043F99B7DA453CA569E79D9AAEC33D", "993F0442DAB73C45A569E79D9AAEC33D")
VST3_PIN_IID(IProcessContextRequirements, "2A654303EF764E3D95B5FE83730EF6D0", "0343652A76EF3D4E95B5FE83730EF6D0")
VST3_PIN_IID(IAudioPresentationLatency, "309ECE78EB7D4FAE8B2225D909FD08B6", "78CE9E307DEBAE4F8B2225D909FD08B6")
VST3_PIN_IID(IEditController, "DCD7BBE37742448DA874AACC979C759E", "E3BBD7DC42778D44A874AACC979C759E")
VST3_PIN_IID(IEditController2, "7F4EFE59F3204967AC27A3AEAFB63038", "59FE4E7F20F36749AC27A3AEAFB63038")
VST3_PIN_IID(IMidiMapping, "DF0FF9F749B74669B63AB7327ADBF5E5", "F7F90FDFB7496946B63AB7327ADBF5E5")
VST3_PIN_IID(IEditControllerHostEditing, "C127120870594098B9DD34B36BB0195E", "081227C159709840B9DD34B36BB0195E")
VST3_PIN_IID(IConnectionPoint, "70A4156F6E6E4026989148BFAA60D8D1", "6F15A4706E6E2640989148BFAA60D8D1")
VST3_PIN_IID(IMessage, "936F033BC6C047DBBB0882F813C1E613", "3B036F93C0C6DB47BB0882F813C1E613")
VST3_PIN_IID(IAttributeList, "1E5F0AEBCC7F4533A254401138AD5EE4", "EB0A5F1E7FCC3345A254401138AD5EE4")
VST3_PIN_IID(IStreamAttributes, "D6CE2FFCEFAF4B8C9E74F1BB12DA44B4", "FC2FCED6AFEF8C4B9E74F1BB12DA44B4")
VST3_PIN_IID(IBStream, "C3BF6EA2309947529B6BF9901EE33E9B", "A26EBFC3993052479B6BF9901EE33E9B")
VST3_PIN_IID(ISizeableStream, "04F9549EE02F4E6E87E86A8747F4E17F", "9E54F9042FE06E4E87E86A8747F4E17F")
VST3_PIN_IID(IParameterChanges, "A47796630BB64A56B44384A8466FEB9D", "639677A4B60B564AB44384A8466FEB9D")
VST3_PIN_IID(IParamValueQueue, "01263A18ED074F6F98C9D3564686F9BA", "183A260107ED6F4F98C9D3564686F9BA")
VST3_PIN_IID(IEventList, "3A2C4214346349FEB2C4F397B9695A44", "14422C3A6334FE49B2C4F397B9695A44")
VST3_PIN_IID(IComponentHandler, "93A0BEA30BD045DB8E890B0CC1E46AC6", "A3BEA093D00BDB458E890B0CC1E46AC6")
VST3_PIN_IID(IComponentHandler2, "F040B4B3A36045ECABCDC045B4D5A2CC", "B3B440F060A3EC45ABCDC045B4D5A2CC")
VST3_PIN_IID(IHostApplication, "58E595CCDB2D49698B6AAF8C36A664E5", "CC95E5582DDB69498B6AAF8C36A664E5")
VST3_PIN_IID(IPlugInterfaceSupport, "4FB58B9E9EAA4E0FAB361C1CCCB56FEA", "9E8BB54FAA9E0F4EAB361C1CCCB56FEA")
VST3_PIN_IID(IPlugView, "5BC32507D06049EAA6151B522B755B29", "0725C35B60D0EA49A6151B522B755B29")
VST3_PIN_IID(IPlugFrame, "367FAF01AFA946938D4DA2A0ED0882A3", "01AF7F36A9AF93468D4DA2A0ED0882A3")
VST3_PIN_IID(IPlugViewContentScaleSupport, "65ED96908AC445258AADEF7A72EA703F", "9096ED65C48A25458AADEF7A72EA703F")
VST3_PIN_IID(IRunLoop, "18C3536697764F1A9C5B83857A871389", "6653C31876971A4F9C5B83857A871389")
VST3_PIN_IID(IEventHandler, "561E65C913A0496F813A2C35654D7983", "C9651E56A0136F49813A2C35654D7983")
VST3_PIN_IID(ITimerHandler, "10BDD94F41424774821FAD8FECA72CA9", "4FD9BD1042417447821FAD8FECA72CA9")
VST3_PIN_IID(IUnitInfo, "3D4BD6B5913A4FD2A886E768A5EB92C1", "B5D64B3D3A91D24FA886E768A5EB92C1")
VST3_PIN_IID(IUnitHandler, "4B5147F84654486B8DAB30BA163A3C56", "F847514B54466B488DAB30BA163A3C56")
VST3_PIN_IID(IProgramListData, "8683B01F7B354F70A2651DEC353AF4FF", "1FB08386357B704FA2651DEC353AF4FF")
VST3_PIN_IID(IUnitData, "6C389611D391455DB870B83394A0EFDD", "1196386C91D35D45B870B83394A0EFDD")
VST3_PIN_IID(INoteExpressionController, "B7F8F85941234872911695814F3721A3", "59F8F8B723417248911695814F3721A3")
#undef VST3_PIN_IID

#if defined(__x86_64__) || defined(_WIN64)
constexpr bool kWide = true;
#elif defined(__i386__)
constexpr bool kWide = false;
#else
#error "the VST 3 header is pinned for x86-64 and i686 only"
#endif
constexpr size_t W(size_t wide, size_t narrow)
{
  return kWide ? wide : narrow;
}

// Basic types.
static_assert(sizeof(TBool) == 1 && sizeof(char16) == 2 && sizeof(String128) == 256 && sizeof(TUID) == 16, "types");
static_assert(sizeof(ParamID) == 4 && sizeof(ParamValue) == 8 && sizeof(TSamples) == 8, "types");
static_assert(sizeof(SpeakerArrangement) == 8 && sizeof(Uid) == 16 && sizeof(TimerInterval) == 8, "types");
static_assert(sizeof(FUnknown) == sizeof(void*) && sizeof(IComponent) == sizeof(void*) &&
                sizeof(IPlugView) == sizeof(void*), "an interface is one vtable pointer");
// Success is 0 everywhere; the error numbers differ per platform.
static_assert(kResultOk == 0 && kResultTrue == 0 && kResultFalse == 1, "results");
#if defined(_WIN32)
static_assert(kNoInterface == static_cast<tresult>(0x80004002u) && kInvalidArgument == static_cast<tresult>(0x80070057u) &&
                kNotImplemented == static_cast<tresult>(0x80004001u), "COM results");
#else
static_assert(kNoInterface == -1 && kInvalidArgument == 2 && kNotImplemented == 3 && kInternalError == 4 &&
                kNotInitialized == 5 && kOutOfMemory == 6, "results");
#endif

#define VST3_PIN(type, field, wide, narrow) \
  static_assert(offsetof(type, field) == W(wide, narrow), #type "." #field);
#define VST3_SIZE(type, wide, narrow, align) \
  static_assert(sizeof(type) == W(wide, narrow) && alignof(type) == (align), #type " size");

VST3_SIZE(PFactoryInfo, 452, 452, 4)
VST3_PIN(PFactoryInfo, vendor, 0, 0)
VST3_PIN(PFactoryInfo, url, 64, 64)
VST3_PIN(PFactoryInfo, email, 320, 320)
VST3_PIN(PFactoryInfo, flags, 448, 448)

VST3_SIZE(PClassInfo, 116, 116, 4)
VST3_PIN(PClassInfo, cardinality, 16, 16)
VST3_PIN(PClassInfo, category, 20, 20)
VST3_PIN(PClassInfo, name, 52, 52)

VST3_SIZE(PClassInfo2, 440, 440, 4)
VST3_PIN(PClassInfo2, cardinality, 16, 16)
VST3_PIN(PClassInfo2, category, 20, 20)
VST3_PIN(PClassInfo2, name, 52, 52)
VST3_PIN(PClassInfo2, classFlags, 116, 116)
VST3_PIN(PClassInfo2, subCategories, 120, 120)
VST3_PIN(PClassInfo2, vendor, 248, 248)
VST3_PIN(PClassInfo2, version, 312, 312)
VST3_PIN(PClassInfo2, sdkVersion, 376, 376)

VST3_SIZE(PClassInfoW, 696, 696, 4)
VST3_PIN(PClassInfoW, name, 52, 52)
VST3_PIN(PClassInfoW, classFlags, 180, 180)
VST3_PIN(PClassInfoW, subCategories, 184, 184)
VST3_PIN(PClassInfoW, vendor, 312, 312)
VST3_PIN(PClassInfoW, version, 440, 440)
VST3_PIN(PClassInfoW, sdkVersion, 568, 568)

VST3_SIZE(ProcessSetup, 24, 24, 8)
VST3_PIN(ProcessSetup, symbolicSampleSize, 4, 4)
VST3_PIN(ProcessSetup, maxSamplesPerBlock, 8, 8)
VST3_PIN(ProcessSetup, sampleRate, 16, 16)

VST3_SIZE(AudioBusBuffers, 24, 24, 8)
VST3_PIN(AudioBusBuffers, silenceFlags, 8, 8)
VST3_PIN(AudioBusBuffers, channelBuffers32, 16, 16)
VST3_PIN(AudioBusBuffers, channelBuffers64, 16, 16)

VST3_SIZE(ProcessData, 80, 48, W(8, 4))
VST3_PIN(ProcessData, symbolicSampleSize, 4, 4)
VST3_PIN(ProcessData, numSamples, 8, 8)
VST3_PIN(ProcessData, numInputs, 12, 12)
VST3_PIN(ProcessData, numOutputs, 16, 16)
VST3_PIN(ProcessData, inputs, 24, 20)
VST3_PIN(ProcessData, outputs, 32, 24)
VST3_PIN(ProcessData, inputParameterChanges, 40, 28)
VST3_PIN(ProcessData, outputParameterChanges, 48, 32)
VST3_PIN(ProcessData, inputEvents, 56, 36)
VST3_PIN(ProcessData, outputEvents, 64, 40)
VST3_PIN(ProcessData, processContext, 72, 44)

VST3_SIZE(Chord, 4, 4, 2)
VST3_SIZE(FrameRate, 8, 8, 4)
VST3_SIZE(ProcessContext, 112, 112, 8)
VST3_PIN(ProcessContext, sampleRate, 8, 8)
VST3_PIN(ProcessContext, projectTimeSamples, 16, 16)
VST3_PIN(ProcessContext, systemTime, 24, 24)
VST3_PIN(ProcessContext, continousTimeSamples, 32, 32)
VST3_PIN(ProcessContext, projectTimeMusic, 40, 40)
VST3_PIN(ProcessContext, barPositionMusic, 48, 48)
VST3_PIN(ProcessContext, cycleStartMusic, 56, 56)
VST3_PIN(ProcessContext, cycleEndMusic, 64, 64)
VST3_PIN(ProcessContext, tempo, 72, 72)
VST3_PIN(ProcessContext, timeSigNumerator, 80, 80)
VST3_PIN(ProcessContext, timeSigDenominator, 84, 84)
VST3_PIN(ProcessContext, chord, 88, 88)
VST3_PIN(ProcessContext, smpteOffsetSubframes, 92, 92)
VST3_PIN(ProcessContext, frameRate, 96, 96)
VST3_PIN(ProcessContext, samplesToNextClock, 104, 104)

VST3_SIZE(BusInfo, 276, 276, 4)
VST3_PIN(BusInfo, direction, 4, 4)
VST3_PIN(BusInfo, channelCount, 8, 8)
VST3_PIN(BusInfo, name, 12, 12)
VST3_PIN(BusInfo, busType, 268, 268)
VST3_PIN(BusInfo, flags, 272, 272)

VST3_SIZE(RoutingInfo, 12, 12, 4)
VST3_PIN(RoutingInfo, busIndex, 4, 4)
VST3_PIN(RoutingInfo, channel, 8, 8)

VST3_SIZE(ParameterInfo, 792, 792, 8)
VST3_PIN(ParameterInfo, title, 4, 4)
VST3_PIN(ParameterInfo, shortTitle, 260, 260)
VST3_PIN(ParameterInfo, units, 516, 516)
VST3_PIN(ParameterInfo, stepCount, 772, 772)
VST3_PIN(ParameterInfo, defaultNormalizedValue, 776, 776)
VST3_PIN(ParameterInfo, unitId, 784, 784)
VST3_PIN(ParameterInfo, flags, 788, 788)

VST3_SIZE(ViewRect, 16, 16, 4)
VST3_PIN(ViewRect, top, 4, 4)
VST3_PIN(ViewRect, right, 8, 8)
VST3_PIN(ViewRect, bottom, 12, 12)

VST3_SIZE(UnitInfo, 268, 268, 4)
VST3_PIN(UnitInfo, parentUnitId, 4, 4)
VST3_PIN(UnitInfo, name, 8, 8)
VST3_PIN(UnitInfo, programListId, 264, 264)

VST3_SIZE(ProgramListInfo, 264, 264, 4)
VST3_PIN(ProgramListInfo, name, 4, 4)
VST3_PIN(ProgramListInfo, programCount, 260, 260)

VST3_SIZE(Event, 48, 40, 8)
VST3_PIN(Event, sampleOffset, 4, 4)
VST3_PIN(Event, ppqPosition, 8, 8)
VST3_PIN(Event, flags, 16, 16)
VST3_PIN(Event, type, 18, 18)
VST3_PIN(Event, body, 24, 20)

#undef VST3_PIN
#undef VST3_SIZE

// Constants hosts and the validator compare.
static_assert(kArrMono == 0x80000 && kArrStereo == 3 && kIsProgramChange == 0x8000 && kIsBypass == 0x10000, "flags");
static_assert(kParamValuesChanged == 4 && kLatencyChanged == 8 && kManyInstances == 0x7FFFFFFF, "constants");
static_assert(kFactoryFlagUnicode == 16 && kDefaultActive == 1 && kSample64 == 1, "constants");
} // namespace layout
} // namespace vst3
