// The vtable slot of every method of the project's VST 3 header, as hosts call them.
// g++ follows the Itanium C++ ABI: a pointer to a virtual member function holds
// 1 + the slot's byte offset in the vtable. (Sizes, offsets and ids are pinned at
// compile time in vst3_abi_layout.h.)
#include <gtest/gtest.h>

#include <cstring>

#include "vst3_abi.h"

using namespace vst3;

namespace
{
template <class F>
long Slot(F method)
{
  static_assert(sizeof(F) == 2 * sizeof(void*), "an Itanium member function pointer");
  long raw = 0;
  std::memcpy(&raw, &method, sizeof(raw));
  return (raw - 1) / static_cast<long>(sizeof(void*));
}
} // namespace

#define EXPECT_SLOT(type, method, slot) EXPECT_EQ(Slot(&type::method), slot) << #type "::" #method

TEST(Vst3AbiLayout, EveryMethodSitsInItsSlot)
{
  EXPECT_SLOT(FUnknown, queryInterface, 0);
  EXPECT_SLOT(FUnknown, addRef, 1);
  EXPECT_SLOT(FUnknown, release, 2);

  EXPECT_SLOT(IPluginFactory3, getFactoryInfo, 3);
  EXPECT_SLOT(IPluginFactory3, countClasses, 4);
  EXPECT_SLOT(IPluginFactory3, getClassInfo, 5);
  EXPECT_SLOT(IPluginFactory3, createInstance, 6);
  EXPECT_SLOT(IPluginFactory3, getClassInfo2, 7);
  EXPECT_SLOT(IPluginFactory3, getClassInfoUnicode, 8);
  EXPECT_SLOT(IPluginFactory3, setHostContext, 9);

  EXPECT_SLOT(IComponent, initialize, 3);
  EXPECT_SLOT(IComponent, terminate, 4);
  EXPECT_SLOT(IComponent, getControllerClassId, 5);
  EXPECT_SLOT(IComponent, setIoMode, 6);
  EXPECT_SLOT(IComponent, getBusCount, 7);
  EXPECT_SLOT(IComponent, getBusInfo, 8);
  EXPECT_SLOT(IComponent, getRoutingInfo, 9);
  EXPECT_SLOT(IComponent, activateBus, 10);
  EXPECT_SLOT(IComponent, setActive, 11);
  EXPECT_SLOT(IComponent, setState, 12);
  EXPECT_SLOT(IComponent, getState, 13);

  EXPECT_SLOT(IAudioProcessor, setBusArrangements, 3);
  EXPECT_SLOT(IAudioProcessor, getBusArrangement, 4);
  EXPECT_SLOT(IAudioProcessor, canProcessSampleSize, 5);
  EXPECT_SLOT(IAudioProcessor, getLatencySamples, 6);
  EXPECT_SLOT(IAudioProcessor, setupProcessing, 7);
  EXPECT_SLOT(IAudioProcessor, setProcessing, 8);
  EXPECT_SLOT(IAudioProcessor, process, 9);
  EXPECT_SLOT(IAudioProcessor, getTailSamples, 10);
  EXPECT_SLOT(IProcessContextRequirements, getProcessContextRequirements, 3);

  EXPECT_SLOT(IEditController, setComponentState, 5);
  EXPECT_SLOT(IEditController, setControllerState, 6);
  EXPECT_SLOT(IEditController, getControllerState, 7);
  EXPECT_SLOT(IEditController, getParameterCount, 8);
  EXPECT_SLOT(IEditController, getParameterInfo, 9);
  EXPECT_SLOT(IEditController, getParamStringByValue, 10);
  EXPECT_SLOT(IEditController, getParamValueByString, 11);
  EXPECT_SLOT(IEditController, normalizedParamToPlain, 12);
  EXPECT_SLOT(IEditController, plainParamToNormalized, 13);
  EXPECT_SLOT(IEditController, getParamNormalized, 14);
  EXPECT_SLOT(IEditController, setParamNormalized, 15);
  EXPECT_SLOT(IEditController, setComponentHandler, 16);
  EXPECT_SLOT(IEditController, createView, 17);
  EXPECT_SLOT(IEditController2, setKnobMode, 3);
  EXPECT_SLOT(IEditController2, openAboutBox, 5);

  EXPECT_SLOT(IUnitInfo, getUnitCount, 3);
  EXPECT_SLOT(IUnitInfo, getUnitInfo, 4);
  EXPECT_SLOT(IUnitInfo, getProgramListCount, 5);
  EXPECT_SLOT(IUnitInfo, getProgramListInfo, 6);
  EXPECT_SLOT(IUnitInfo, getProgramName, 7);
  EXPECT_SLOT(IUnitInfo, getProgramInfo, 8);
  EXPECT_SLOT(IUnitInfo, hasProgramPitchNames, 9);
  EXPECT_SLOT(IUnitInfo, getProgramPitchName, 10);
  EXPECT_SLOT(IUnitInfo, getSelectedUnit, 11);
  EXPECT_SLOT(IUnitInfo, selectUnit, 12);
  EXPECT_SLOT(IUnitInfo, getUnitByBus, 13);
  EXPECT_SLOT(IUnitInfo, setUnitProgramData, 14);

  EXPECT_SLOT(IBStream, read, 3);
  EXPECT_SLOT(IBStream, write, 4);
  EXPECT_SLOT(IBStream, seek, 5);
  EXPECT_SLOT(IBStream, tell, 6);
  EXPECT_SLOT(IParameterChanges, getParameterCount, 3);
  EXPECT_SLOT(IParameterChanges, getParameterData, 4);
  EXPECT_SLOT(IParameterChanges, addParameterData, 5);
  EXPECT_SLOT(IParamValueQueue, getParameterId, 3);
  EXPECT_SLOT(IParamValueQueue, getPointCount, 4);
  EXPECT_SLOT(IParamValueQueue, getPoint, 5);
  EXPECT_SLOT(IParamValueQueue, addPoint, 6);
  EXPECT_SLOT(IEventList, getEventCount, 3);
  EXPECT_SLOT(IEventList, getEvent, 4);
  EXPECT_SLOT(IEventList, addEvent, 5);

  EXPECT_SLOT(IComponentHandler, beginEdit, 3);
  EXPECT_SLOT(IComponentHandler, performEdit, 4);
  EXPECT_SLOT(IComponentHandler, endEdit, 5);
  EXPECT_SLOT(IComponentHandler, restartComponent, 6);
  EXPECT_SLOT(IUnitHandler, notifyProgramListChange, 4);
  EXPECT_SLOT(IHostApplication, getName, 3);
  EXPECT_SLOT(IHostApplication, createInstance, 4);

  EXPECT_SLOT(IPlugView, isPlatformTypeSupported, 3);
  EXPECT_SLOT(IPlugView, attached, 4);
  EXPECT_SLOT(IPlugView, removed, 5);
  EXPECT_SLOT(IPlugView, onWheel, 6);
  EXPECT_SLOT(IPlugView, onKeyDown, 7);
  EXPECT_SLOT(IPlugView, onKeyUp, 8);
  EXPECT_SLOT(IPlugView, getSize, 9);
  EXPECT_SLOT(IPlugView, onSize, 10);
  EXPECT_SLOT(IPlugView, onFocus, 11);
  EXPECT_SLOT(IPlugView, setFrame, 12);
  EXPECT_SLOT(IPlugView, canResize, 13);
  EXPECT_SLOT(IPlugView, checkSizeConstraint, 14);
  EXPECT_SLOT(IPlugFrame, resizeView, 3);
  EXPECT_SLOT(IPlugViewContentScaleSupport, setContentScaleFactor, 3);
  EXPECT_SLOT(IRunLoop, registerEventHandler, 3);
  EXPECT_SLOT(IRunLoop, unregisterEventHandler, 4);
  EXPECT_SLOT(IRunLoop, registerTimer, 5);
  EXPECT_SLOT(IRunLoop, unregisterTimer, 6);
  EXPECT_SLOT(IEventHandler, onFDIsSet, 3);
  EXPECT_SLOT(ITimerHandler, onTimer, 3);
}

TEST(Vst3AbiLayout, IdsHaveOneTextFormOnEveryPlatform)
{
  char text[33];
  UidText(MakeUid(0x12345678, 0x9ABCDEF0, 0x0F1E2D3C, 0x4B5A6978), text);
  EXPECT_STREQ(text, "123456789ABCDEF00F1E2D3C4B5A6978");
}
