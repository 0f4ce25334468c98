// Brindlow.vst3 as a host and Steinberg's validator see it: the factory, the component
// that is its own controller, buses and their arrangements, parameters, units and
// programs, the life cycle repeated, and processing of every kind a host sends.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstring>
#include <thread>

#include "Vst3TestSupport.h"

using namespace vst3;
using vst3host::Instance;
using vst3host::Module;

namespace
{
Module& TheModule()
{
  static Module module(BRINDLOW_VST3_BUNDLE);
  return module;
}

template <class T>
T* Query(FUnknown* object, const Uid& iid)
{
  void* obj = nullptr;
  return object->queryInterface(iid.bytes, &obj) == kResultOk ? static_cast<T*>(obj) : nullptr;
}
} // namespace

TEST(Vst3Factory, DescribesOneAudioEffectClassTheSameWayInEveryForm)
{
  Module& module = TheModule();
  ASSERT_TRUE(module.Loaded()) << module.Error();
  IPluginFactory* factory = module.Factory();
  PFactoryInfo info{};
  ASSERT_EQ(factory->getFactoryInfo(&info), kResultOk);
  EXPECT_STREQ(info.vendor, "Ardelnu");
  EXPECT_EQ(info.flags, kFactoryFlagUnicode);
  ASSERT_EQ(factory->countClasses(), 1);

  auto* factory3 = Query<IPluginFactory3>(factory, IPluginFactory3_iid);
  ASSERT_NE(factory3, nullptr);
  PClassInfo plain{};
  PClassInfo2 second{};
  PClassInfoW wide{};
  ASSERT_EQ(factory3->getClassInfo(0, &plain), kResultOk);
  ASSERT_EQ(factory3->getClassInfo2(0, &second), kResultOk);
  ASSERT_EQ(factory3->getClassInfoUnicode(0, &wide), kResultOk);
  EXPECT_EQ(factory3->getClassInfo(1, &plain), kInvalidArgument);
  EXPECT_STREQ(plain.category, kVstAudioEffectClass);
  EXPECT_STREQ(plain.name, "Brindlow-Mono/Stereo Delay");
  EXPECT_EQ(plain.cardinality, kManyInstances);
  EXPECT_STREQ(second.subCategories, "Fx|Delay|Spatial");
  EXPECT_STREQ(second.version, "1.3.0");
  EXPECT_STREQ(second.sdkVersion, "VST 3.7.14");
  EXPECT_STREQ(second.vendor, "Ardelnu");
  EXPECT_EQ(vst3host::UidText(plain.cid), "4B797642726E646C6F77565354330001");
  EXPECT_EQ(std::memcmp(plain.cid, second.cid, 16), 0);
  EXPECT_EQ(std::memcmp(plain.cid, wide.cid, 16), 0);
  EXPECT_EQ(Text(wide.name), plain.name);
  EXPECT_EQ(Text(wide.version), "1.3.0");
  EXPECT_EQ(Text(wide.sdkVersion), "VST 3.7.14");
  EXPECT_EQ(factory3->setHostContext(nullptr), kResultOk);

  // Unknown classes and interfaces: nothing made, nothing handed out.
  void* obj = reinterpret_cast<void*>(1);
  char unknown[16] = {1, 2, 3};
  EXPECT_EQ(factory->createInstance(unknown, IComponent_iid.bytes, &obj), kNoInterface);
  EXPECT_EQ(obj, nullptr);
  obj = reinterpret_cast<void*>(1);
  EXPECT_EQ(factory->createInstance(plain.cid, IPlugView_iid.bytes, &obj), kNoInterface);
  EXPECT_EQ(obj, nullptr);
  factory3->release();
}

TEST(Vst3Component, IsItsOwnControllerWithUnitsAndNoMusicalTimeNeeded)
{
  Instance plugin(TheModule());
  ASSERT_TRUE(plugin.Ok()) << plugin.Error();
  TUID id = {};
  EXPECT_EQ(plugin.component->getControllerClassId(id), kNotImplemented);
  EXPECT_NE(plugin.units, nullptr);
  auto* needs = Query<IProcessContextRequirements>(plugin.component, IProcessContextRequirements_iid);
  ASSERT_NE(needs, nullptr);
  EXPECT_EQ(needs->getProcessContextRequirements(), 0u);
  needs->release();
  // Interfaces it does not have are refused with a null pointer.
  void* obj = reinterpret_cast<void*>(1);
  EXPECT_EQ(plugin.component->queryInterface(IMidiMapping_iid.bytes, &obj), kNoInterface);
  EXPECT_EQ(obj, nullptr);
  // queryInterface hands out each interface's own pointer.
  auto* processor = Query<IAudioProcessor>(plugin.component, IAudioProcessor_iid);
  EXPECT_EQ(processor, plugin.processor);
  EXPECT_NE(static_cast<void*>(processor), static_cast<void*>(plugin.component));
  processor->release();
  EXPECT_EQ(plugin.processor->canProcessSampleSize(kSample32), kResultTrue);
  EXPECT_EQ(plugin.processor->canProcessSampleSize(kSample64), kResultTrue);
  EXPECT_EQ(plugin.processor->canProcessSampleSize(7), kResultFalse);
  EXPECT_EQ(plugin.processor->getLatencySamples(), 0u);
}

TEST(Vst3Component, TerminateThenInitializeGivesAWorkingObjectEachRound)
{
  Instance plugin(TheModule());
  ASSERT_TRUE(plugin.Ok()) << plugin.Error();
  vst3host::HostApplication* host = plugin.host;
  for (int round = 0; round < 4; ++round)
  {
    ProcessSetup setup{kRealtime, round % 2 ? kSample64 : kSample32, 512, 44100.0};
    ASSERT_EQ(plugin.processor->setupProcessing(setup), kResultOk);
    ASSERT_EQ(plugin.component->setActive(1), kResultOk);
    ASSERT_EQ(plugin.component->setActive(1), kResultOk); // already active: accepted
    ASSERT_EQ(plugin.component->setActive(0), kResultOk);
    ASSERT_EQ(plugin.component->activateBus(kAudio, kInput, 0, 0), kResultTrue);
    // The instance's controller role counts one initialize of its own: both go.
    ASSERT_EQ(plugin.controller->terminate(), kResultOk);
    ASSERT_EQ(plugin.component->terminate(), kResultOk);
    ASSERT_EQ(plugin.component->initialize(host), kResultOk);
    ASSERT_EQ(plugin.controller->initialize(host), kResultOk);
    // Parameters back at their defaults, buses back.
    ParameterInfo info{};
    ASSERT_EQ(plugin.controller->getParameterInfo(0, info), kResultTrue);
    EXPECT_DOUBLE_EQ(plugin.controller->getParamNormalized(0), info.defaultNormalizedValue);
    EXPECT_EQ(plugin.component->getBusCount(kAudio, kInput), 1);
  }
  // Scanners deactivate what they never activated.
  EXPECT_EQ(plugin.processor->setProcessing(0), kResultOk);
  EXPECT_EQ(plugin.component->setActive(0), kResultOk);
}

TEST(Vst3Buses, OneMainStereoBusEachWayDescribedIdenticallyEveryTime)
{
  Instance plugin(TheModule());
  ASSERT_TRUE(plugin.Ok()) << plugin.Error();
  EXPECT_EQ(plugin.component->getBusCount(kAudio, kInput), 1);
  EXPECT_EQ(plugin.component->getBusCount(kAudio, kOutput), 1);
  EXPECT_EQ(plugin.component->getBusCount(kEvent, kInput), 0);
  for (BusDirection dir : {kInput, kOutput})
  {
    BusInfo first, again;
    std::memset(&first, 0xAB, sizeof(first));
    std::memset(&again, 0xCD, sizeof(again));
    ASSERT_EQ(plugin.component->getBusInfo(kAudio, dir, 0, first), kResultTrue);
    ASSERT_EQ(plugin.component->getBusInfo(kAudio, dir, 0, again), kResultTrue);
    EXPECT_EQ(std::memcmp(&first, &again, sizeof(first)), 0);
    EXPECT_EQ(first.channelCount, 2);
    EXPECT_EQ(first.busType, kMain);
    EXPECT_EQ(first.flags, static_cast<uint32>(kDefaultActive));
    EXPECT_FALSE(Text(first.name).empty());
    SpeakerArrangement arr = 0;
    ASSERT_EQ(plugin.processor->getBusArrangement(dir, 0, arr), kResultTrue);
    EXPECT_EQ(arr, kArrStereo);
    EXPECT_EQ(plugin.component->getBusInfo(kAudio, dir, 1, first), kInvalidArgument);
    EXPECT_EQ(plugin.component->activateBus(kAudio, dir, 1, 1), kInvalidArgument);
  }
}

TEST(Vst3Buses, ArrangementsAreJudgedByChannelCount)
{
  Instance plugin(TheModule());
  ASSERT_TRUE(plugin.Ok()) << plugin.Error();
  IAudioProcessor* p = plugin.processor;
  auto current = [p](BusDirection dir) {
    SpeakerArrangement arr = 0;
    p->getBusArrangement(dir, 0, arr);
    return arr;
  };
  auto channels = [&plugin](BusDirection dir) {
    BusInfo bus{};
    plugin.component->getBusInfo(kAudio, dir, 0, bus);
    return bus.channelCount;
  };
  // One input channel however the host spells it, then stereo again.
  for (SpeakerArrangement mono : {kArrMono, kSpeakerL, kSpeakerC})
  {
    SpeakerArrangement in = mono, out = kArrStereo;
    EXPECT_EQ(p->setBusArrangements(&in, 1, &out, 1), kResultTrue);
    EXPECT_EQ(current(kInput), mono);
    EXPECT_EQ(channels(kInput), 1);
    in = kArrStereo;
    EXPECT_EQ(p->setBusArrangements(&in, 1, &out, 1), kResultTrue);
    EXPECT_EQ(channels(kInput), 2);
  }
  // Mono to mono: refused, and the plug-in takes mono in, stereo out.
  SpeakerArrangement in = kArrMono, out = kArrMono;
  EXPECT_EQ(p->setBusArrangements(&in, 1, &out, 1), kResultFalse);
  EXPECT_EQ(current(kInput), kArrMono);
  EXPECT_EQ(current(kOutput), kArrStereo);
  // Three channels in, two buses, or negative counts: refused, nothing changed.
  in = kSpeakerL | kSpeakerR | kSpeakerC;
  out = kArrStereo;
  EXPECT_EQ(p->setBusArrangements(&in, 1, &out, 1), kResultFalse);
  SpeakerArrangement two[2] = {kArrStereo, kArrStereo};
  EXPECT_EQ(p->setBusArrangements(two, 2, &out, 1), kResultFalse);
  EXPECT_EQ(p->setBusArrangements(two, -1, &out, 1), kInvalidArgument);
  EXPECT_EQ(current(kInput), kArrMono);
  EXPECT_EQ(channels(kOutput), 2);
  // While active the current arrangement is accepted again, a change is refused.
  ASSERT_TRUE(plugin.Activate());
  in = kArrMono;
  EXPECT_EQ(p->setBusArrangements(&in, 1, &out, 1), kResultTrue);
  in = kArrStereo;
  EXPECT_EQ(p->setBusArrangements(&in, 1, &out, 1), kResultFalse);
  EXPECT_EQ(current(kInput), kArrMono);
}

TEST(Vst3Buses, OneInputChannelFeedsBothSidesAsStereoWithTheSameSignalDoes)
{
  constexpr int kFrames = 2048;
  auto render = [](bool mono) {
    Instance plugin(TheModule());
    SpeakerArrangement in = mono ? kArrMono : kArrStereo, out = kArrStereo;
    EXPECT_EQ(plugin.processor->setBusArrangements(&in, 1, &out, 1), kResultTrue);
    EXPECT_TRUE(plugin.Activate(44100.0, kFrames));
    StereoBlock<float> block(kFrames);
    for (int c = 0; c < 2; ++c) block.in[c][10] = 1.0f;
    EXPECT_EQ(plugin.Process32(block.inPtr, mono ? 1 : 2, block.outPtr, 2, kFrames), kResultOk);
    return block.out;
  };
  const auto mono = render(true), stereo = render(false);
  EXPECT_EQ(mono, stereo);
  float energy = 0.0f;
  for (const auto& channel : mono)
    for (float s : channel) energy += s * s;
  EXPECT_GT(energy, 0.5f);
}

TEST(Vst3Parameters, DelayPanWetMixAndTheProgramWithStableIdsAndHonestFlags)
{
  Instance plugin(TheModule());
  ASSERT_TRUE(plugin.Ok()) << plugin.Error();
  IEditController* c = plugin.controller;
  ASSERT_EQ(c->getParameterCount(), 4);
  const char* titles[] = {"Delay", "Pan", "Wet Mix", "Program"};
  const char* units[] = {"ms", "", "dB", ""};
  const int32 steps[] = {0, 1, 0, 16};
  for (int32 i = 0; i < 4; ++i)
  {
    ParameterInfo info{};
    ASSERT_EQ(c->getParameterInfo(i, info), kResultTrue);
    EXPECT_EQ(Text(info.title), titles[i]);
    EXPECT_EQ(Text(info.units), units[i]);
    EXPECT_EQ(info.stepCount, steps[i]);
    EXPECT_EQ(info.unitId, kRootUnitId);
    EXPECT_GE(info.defaultNormalizedValue, 0.0);
    EXPECT_LE(info.defaultNormalizedValue, 1.0);
    EXPECT_FALSE(info.flags & kIsReadOnly);
    EXPECT_FALSE(info.flags & kIsBypass);
    if (i < 3)
    {
      EXPECT_EQ(info.id, static_cast<ParamID>(i));
      EXPECT_TRUE(info.flags & kCanAutomate);
    }
    else
      EXPECT_EQ(info.flags, kIsProgramChange | kIsList);
  }
  ParameterInfo pan{};
  c->getParameterInfo(1, pan);
  EXPECT_TRUE(pan.flags & kIsList);
  ParameterInfo none{};
  EXPECT_EQ(c->getParameterInfo(4, none), kInvalidArgument);

  // Normalised values are the VST 2.4 plug-in's: the range mapped linearly.
  EXPECT_NEAR(c->plainParamToNormalized(0, 20.0), (20.0 - 1.0) / 39.0, 1e-12);
  EXPECT_NEAR(c->normalizedParamToPlain(2, 0.75), 5.0, 1e-12);
  EXPECT_DOUBLE_EQ(c->plainParamToNormalized(1, 1.0), 1.0);
  // Text both ways.
  String128 text = {};
  ASSERT_EQ(c->getParamStringByValue(1, 0.0, text), kResultTrue);
  EXPECT_EQ(Text(text), "Left");
  ASSERT_EQ(c->getParamStringByValue(1, 1.0, text), kResultTrue);
  EXPECT_EQ(Text(text), "Right");
  ParamValue value = -1.0;
  ToChar16("Right", text);
  ASSERT_EQ(c->getParamValueByString(1, text, value), kResultTrue);
  EXPECT_DOUBLE_EQ(value, 1.0);
  const double delay = c->plainParamToNormalized(0, 12.5);
  ASSERT_EQ(c->getParamStringByValue(0, delay, text), kResultTrue);
  ASSERT_EQ(c->getParamValueByString(0, text, value), kResultTrue);
  EXPECT_NEAR(value, delay, 1e-6);
  EXPECT_EQ(c->getParamStringByValue(77, 0.5, text), kInvalidArgument);
  EXPECT_EQ(c->setParamNormalized(0, std::nan("")), kInvalidArgument);
}

TEST(Vst3Programs, SeventeenNamedProgramsInTheRootUnitsListAndTheProgramParameterRecallsThem)
{
  Instance plugin(TheModule());
  ASSERT_TRUE(plugin.Ok()) << plugin.Error();
  IUnitInfo* units = plugin.units;
  ASSERT_NE(units, nullptr);
  ASSERT_EQ(units->getUnitCount(), 1);
  UnitInfo unit{};
  ASSERT_EQ(units->getUnitInfo(0, unit), kResultTrue);
  EXPECT_EQ(unit.id, kRootUnitId);
  EXPECT_EQ(unit.parentUnitId, kNoParentUnitId);
  EXPECT_FALSE(Text(unit.name).empty());
  ASSERT_EQ(units->getProgramListCount(), 1);
  ProgramListInfo list{};
  ASSERT_EQ(units->getProgramListInfo(0, list), kResultTrue);
  EXPECT_EQ(list.id, unit.programListId);
  EXPECT_EQ(list.programCount, 17);
  EXPECT_FALSE(Text(list.name).empty());
  std::vector<std::string> names;
  for (int32 i = 0; i < list.programCount; ++i)
  {
    String128 name = {};
    ASSERT_EQ(units->getProgramName(list.id, i, name), kResultTrue);
    names.push_back(Text(name));
    EXPECT_FALSE(names.back().empty());
  }
  String128 name = {};
  EXPECT_EQ(units->getProgramName(list.id, 17, name), kInvalidArgument);
  EXPECT_EQ(units->selectUnit(0), kResultTrue);

  // The program parameter's texts are the program names; program i is i / 16.
  ParameterInfo program{};
  ASSERT_EQ(plugin.controller->getParameterInfo(3, program), kResultTrue);
  for (int32 i = 0; i < 17; ++i)
  {
    ASSERT_EQ(plugin.controller->getParamStringByValue(program.id, i / 16.0, name), kResultTrue);
    EXPECT_EQ(Text(name), names[static_cast<size_t>(i)]);
  }

  // Choosing program 5 in the host's menu: the controller takes its values and tells
  // the host to read them all again; the processor takes them from the same change.
  const double before = plugin.controller->getParamNormalized(0);
  plugin.handler->calls.clear();
  ASSERT_EQ(plugin.controller->setParamNormalized(program.id, 5 / 16.0), kResultOk);
  ASSERT_EQ(plugin.handler->calls.size(), 1u);
  EXPECT_EQ(plugin.handler->calls[0].kind, vst3host::ComponentHandler::kRestart);
  EXPECT_EQ(static_cast<int>(plugin.handler->calls[0].value), kParamValuesChanged);
  EXPECT_DOUBLE_EQ(plugin.controller->getParamNormalized(program.id), 5 / 16.0);
  const double chosen = plugin.controller->getParamNormalized(0);
  EXPECT_NE(chosen, before);

  ASSERT_TRUE(plugin.Activate());
  vst3host::ParameterChanges* changes = new vst3host::ParameterChanges;
  changes->Add(program.id, 0, 5 / 16.0);
  EXPECT_EQ(plugin.Process32(nullptr, 0, nullptr, 0, 0, changes), kResultOk);
  changes->release();
  // The processor's state now holds the program's values and its number: a fresh
  // instance shows both, and saves the same program again.
  Instance other(TheModule());
  ASSERT_TRUE(other.LoadState(plugin.SaveState()));
  EXPECT_NEAR(other.controller->getParamNormalized(0), chosen, 1e-9);
  EXPECT_DOUBLE_EQ(other.controller->getParamNormalized(program.id), 5 / 16.0);
  Instance third(TheModule());
  ASSERT_TRUE(third.LoadState(other.SaveState()));
  EXPECT_DOUBLE_EQ(third.controller->getParamNormalized(program.id), 5 / 16.0);
}

TEST(Vst3Process, EveryKindOfBlockAHostSendsIsProcessed)
{
  Instance plugin(TheModule());
  ASSERT_TRUE(plugin.Ok()) << plugin.Error();
  for (int size : {kSample32, kSample64})
  {
    ASSERT_TRUE(plugin.Activate(44100.0, 8192, size));
    StereoBlock<float> narrow(8192);
    StereoBlock<double> wide(8192);
    auto run = [&](int frames, vst3host::ParameterChanges* changes) {
      return size == kSample32 ? plugin.Process32(narrow.inPtr, 2, narrow.outPtr, 2, frames, changes)
                               : plugin.Process64(wide.inPtr, 2, wide.outPtr, 2, frames, changes);
    };
    vst3host::ParameterChanges* changes = new vst3host::ParameterChanges;
    changes->Add(2, 0, 0.9);
    changes->Add(kNoParamId, 0, 0.5); // unknown ids are skipped
    changes->Add(0, 3, std::nan(""));  // so are values that are no numbers
    // Flushes: no samples, no buses or buses without channels, and empty queues.
    EXPECT_EQ(plugin.Process32(nullptr, 0, nullptr, 0, 0, changes), kResultOk);
    EXPECT_EQ(plugin.Process64(wide.inPtr, 0, nullptr, 0, 0, changes), kResultOk);
    EXPECT_EQ(run(0, changes), kResultOk);
    // Variable sizes up to the maximum, in place too.
    for (int frames : {1, 64, 333, 8191, 8192})
    {
      for (int c = 0; c < 2; ++c)
      {
        narrow.in[c].assign(8192, 0.25f);
        wide.in[c].assign(8192, 0.25);
      }
      EXPECT_EQ(run(frames, changes), kResultOk);
    }
    changes->release();
    for (int c = 0; c < 2; ++c)
    {
      EXPECT_TRUE(std::isfinite(narrow.out[c][100]));
      EXPECT_TRUE(std::isfinite(wide.out[c][100]));
    }
    plugin.Deactivate();
  }
  // Any positive rate the validator tries.
  for (double rate : {22050.0, 1234.5678, 12345.678, 192000.0, 384000.0, 1234567.8})
  {
    ASSERT_TRUE(plugin.Activate(rate, 64)) << rate;
    StereoBlock<float> block(64);
    EXPECT_EQ(plugin.Process32(block.inPtr, 2, block.outPtr, 2, 64), kResultOk) << rate;
    plugin.Deactivate();
  }
  ProcessSetup bad{kRealtime, kSample32, 64, -1.0};
  EXPECT_NE(plugin.processor->setupProcessing(bad), kResultOk);
}

TEST(Vst3Process, AParameterPointChangesTheOutputFromItsFrameOnNotBefore)
{
  constexpr int kFrames = 512;
  auto render = [](bool withChange) {
    Instance plugin(TheModule());
    EXPECT_TRUE(plugin.Activate(44100.0, kFrames));
    StereoBlock<float> block(kFrames);
    for (int c = 0; c < 2; ++c) block.in[c].assign(kFrames, 0.5f);
    vst3host::ParameterChanges* changes = new vst3host::ParameterChanges;
    // Delay from 20 ms (882 frames, silent until then) to 1 ms at frame 100.
    if (withChange) changes->Add(0, 100, 0.0);
    EXPECT_EQ(plugin.Process32(block.inPtr, 2, block.outPtr, 2, kFrames, changes), kResultOk);
    changes->release();
    return block.out;
  };
  const auto plain = render(false), changed = render(true);
  bool anyAfter = false; // frame 100 itself already differs
  for (int c = 0; c < 2; ++c)
  {
    for (int i = 0; i < 100; ++i) ASSERT_EQ(changed[c][i], plain[c][i]) << "channel " << c << " frame " << i;
    anyAfter = anyAfter || changed[c][100] != plain[c][100];
  }
  EXPECT_TRUE(anyAfter);
}

TEST(Vst3Process, AnotherThreadProcessesWhileTheUiThreadReadsAndSetsValues)
{
  Instance plugin(TheModule());
  ASSERT_TRUE(plugin.Activate(44100.0, 64));
  std::atomic<bool> failed{false};
  std::thread audio([&] {
    plugin.processor->setProcessing(1);
    StereoBlock<float> block(64);
    vst3host::ParameterChanges* changes = new vst3host::ParameterChanges;
    for (int i = 0; i < 3000 && !failed; ++i)
    {
      changes->Clear();
      changes->Add(static_cast<ParamID>(i % 3), i % 64, (i % 10) / 9.0);
      if (plugin.Process32(block.inPtr, 2, block.outPtr, 2, 64, changes) != kResultOk) failed = true;
      if (!std::isfinite(block.out[0][i % 64]) || !std::isfinite(block.out[1][i % 64])) failed = true;
    }
    changes->release();
  });
  String128 text = {};
  for (int i = 0; i < 300; ++i)
  {
    plugin.controller->setParamNormalized(static_cast<ParamID>(i % 3), (i % 7) / 6.0);
    plugin.controller->getParamStringByValue(0, plugin.controller->getParamNormalized(0), text);
    if (i % 50 == 0) plugin.SaveState();
  }
  audio.join();
  EXPECT_FALSE(failed);
}

TEST(Vst3Process, InPlaceBuffersGiveWhatSeparateBuffersGive)
{
  constexpr int kFrames = 2048;
  auto render = [](bool inPlace) {
    Instance plugin(TheModule());
    EXPECT_TRUE(plugin.Activate(44100.0, kFrames));
    StereoBlock<float> block(kFrames);
    for (int c = 0; c < 2; ++c)
      for (int i = 0; i < kFrames; ++i) block.in[c][i] = static_cast<float>(std::sin(0.01 * i * (c + 1)));
    float** outputs = inPlace ? block.inPtr : block.outPtr;
    EXPECT_EQ(plugin.Process32(block.inPtr, 2, outputs, 2, kFrames), kResultOk);
    return inPlace ? block.in : block.out;
  };
  EXPECT_EQ(render(true), render(false));
}

TEST(Vst3Process, OutputsAreFlaggedSilentOnlyOnceTheDelayHasRungOut)
{
  Instance plugin(TheModule());
  ASSERT_TRUE(plugin.Activate(44100.0, 4096));
  StereoBlock<float> block(4096);
  block.in[0][0] = block.in[1][0] = 1.0f;
  ASSERT_EQ(plugin.Process32(block.inPtr, 2, block.outPtr, 2, 64), kResultOk);
  EXPECT_EQ(plugin.outputBus.silenceFlags, 0u);
  block.in[0][0] = block.in[1][0] = 0.0f;
  // Silent input, flagged: the delayed impulse (20 ms) is still to come.
  plugin.inputBus.silenceFlags = 3;
  vst3::ProcessData data{};
  auto silentBlock = [&](int frames) {
    data.symbolicSampleSize = kSample32;
    data.numSamples = frames;
    data.numInputs = data.numOutputs = 1;
    plugin.inputBus.numChannels = plugin.outputBus.numChannels = 2;
    plugin.inputBus.silenceFlags = 3;
    plugin.inputBus.channelBuffers32 = block.inPtr;
    plugin.outputBus.channelBuffers32 = block.outPtr;
    data.inputs = &plugin.inputBus;
    data.outputs = &plugin.outputBus;
    return plugin.processor->process(data);
  };
  ASSERT_EQ(silentBlock(1024), kResultOk);
  EXPECT_NE(plugin.outputBus.silenceFlags, 3u); // the echo sounds in this block
  ASSERT_EQ(silentBlock(4096), kResultOk);
  EXPECT_EQ(plugin.outputBus.silenceFlags, 3u);
  for (int c = 0; c < 2; ++c)
    for (float s : block.out[c]) ASSERT_EQ(s, 0.0f);
  EXPECT_EQ(plugin.processor->getTailSamples(), static_cast<uint32>(std::ceil(0.020 * 44100.0)));
}
