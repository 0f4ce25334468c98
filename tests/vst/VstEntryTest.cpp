// The entry object, identity strings and the fixed answers of the dispatcher.
#include "VstFixture.h"

#include <climits>
#include <thread>

using VstEntry = VstFixture;

TEST_F(VstEntry, EntryObjectDescribesTheProduct) {
  EXPECT_EQ(effect->magic, 0x56737450);
  EXPECT_EQ(effect->numPrograms, 17);
  EXPECT_EQ(effect->numParams, 3);
  EXPECT_EQ(effect->numInputs, 2);
  EXPECT_EQ(effect->numOutputs, 2);
  // Editor, replacing and double replacing; no chunks, not a synth.
  EXPECT_EQ(effect->flags, 0x1011);
  EXPECT_EQ(effect->uniqueID, 0x6B797668);
  EXPECT_EQ(effect->version, 10300);
  EXPECT_EQ(effect->initialDelay, 0);
  EXPECT_EQ(effect->process, nullptr);
  EXPECT_NE(effect->dispatcher, nullptr);
  EXPECT_NE(effect->processReplacing, nullptr);
  EXPECT_NE(effect->processDoubleReplacing, nullptr);
  EXPECT_NE(effect->setParameter, nullptr);
  EXPECT_NE(effect->getParameter, nullptr);
  EXPECT_NE(effect->object, nullptr);
  EXPECT_EQ(effect->user, nullptr);
  EXPECT_EQ(effect->resvd1, 0);
  EXPECT_EQ(effect->resvd2, 0);
  EXPECT_EQ(effect->ioRatio, 0.0f);
  for (char c : effect->future) EXPECT_EQ(c, 0);
}

TEST_F(VstEntry, MainAliasCreatesAnIndependentInstance) {
  ASSERT_NE(host.MainAlias(), nullptr);
  AEffect* second = host.MainAlias()(&VstTestHost::Callback);
  ASSERT_NE(second, nullptr);
  EXPECT_NE(second, effect);
  EXPECT_EQ(second->uniqueID, effect->uniqueID);
  // Changing one instance leaves the other alone.
  second->setParameter(second, kDelayParam, 1.0f);
  EXPECT_NE(GetParameter(kDelayParam), 1.0f);
  host.Dispatch(second, effClose);
}

TEST_F(VstEntry, InstancesCreatedFromSeveralThreadsAreWhole) {
  constexpr int kThreads = 4;
  AEffect* made[kThreads] = {};
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t)
    threads.emplace_back([this, &made, t] { made[t] = host.EntryPoint()(&VstTestHost::Callback); });
  for (std::thread& t : threads) t.join();
  for (int t = 0; t < kThreads; ++t) {
    ASSERT_NE(made[t], nullptr);
    EXPECT_EQ(made[t]->magic, 0x56737450);
    EXPECT_EQ(made[t]->numPrograms, 17);
    EXPECT_EQ(made[t]->flags, effect->flags);
    for (int u = 0; u < t; ++u) EXPECT_NE(made[t], made[u]);
  }
  for (AEffect* e : made) host.Dispatch(e, effClose);
}

TEST_F(VstEntry, IdentityStringsFitTheirBuffers) {
  EXPECT_EQ(Text(effGetEffectName, 0, kVstMaxEffectNameLen), "Brindlow-Mono/Stereo Delay");
  EXPECT_EQ(Text(effGetVendorString, 0, kVstMaxVendorStrLen), "Ardelnu");
  EXPECT_EQ(Text(effGetProductString, 0, kVstMaxProductStrLen), "");
  EXPECT_EQ(Dispatch(effGetEffectName), 0) << "a null buffer is refused";
  EXPECT_EQ(Dispatch(effGetVendorString), 0);
  EXPECT_EQ(Dispatch(effGetProductString), 0);
}

TEST_F(VstEntry, FixedAnswers) {
  EXPECT_EQ(Dispatch(effGetVstVersion), 2400);
  EXPECT_EQ(Dispatch(effGetPlugCategory), kPlugCategEffect);
  EXPECT_EQ(Dispatch(effCanBeAutomated, 0), 1);
  EXPECT_EQ(Dispatch(effCanBeAutomated, 99), 1);
  EXPECT_EQ(Dispatch(effGetProgram), 0);
  // Opcodes the plug-in does not handle answer 0.
  EXPECT_EQ(Dispatch(effGetTailSize), 0);
  EXPECT_EQ(Dispatch(effIdentify), 0);
  EXPECT_EQ(Dispatch(effEditIdle), 0);
  EXPECT_EQ(Dispatch(12345), 0);
  EXPECT_EQ(Dispatch(-1), 0);
}

TEST_F(VstEntry, EditorRectangle) {
  ERect* rect = nullptr;
  ASSERT_EQ(Dispatch(effEditGetRect, 0, 0, &rect), 1);
  ASSERT_NE(rect, nullptr);
  EXPECT_EQ(rect->top, 0);
  EXPECT_EQ(rect->left, 0);
  EXPECT_EQ(rect->bottom, 212);
  EXPECT_EQ(rect->right, 366);
  EXPECT_EQ(Dispatch(effEditGetRect), 0) << "a null pointer is refused";
}

TEST_F(VstEntry, EditorOpensAndClosesRepeatedly) {
  Start();
  for (int i = 0; i < 4; ++i) {
    const VstIntPtr opened = Dispatch(effEditOpen, 0, 0, nullptr);
    EXPECT_TRUE(opened == 0 || opened == 1);
    EXPECT_EQ(Dispatch(effEditIdle), 0);
    EXPECT_EQ(Dispatch(effEditClose), 1);
  }
  // Audio and parameters keep working around the editor's life.
  SetParameter(kDelayParam, 1.0f);
  EXPECT_EQ(ParamDisplay(kDelayParam), "40.000");
}

TEST_F(VstEntry, NullObjectIsIgnored) {
  AEffect copy = *effect;
  copy.object = nullptr;
  char buffer[64] = "untouched";
  EXPECT_EQ(copy.dispatcher(&copy, effGetEffectName, 0, 0, buffer, 0.0f), 0);
  EXPECT_STREQ(buffer, "untouched");
  EXPECT_EQ(copy.getParameter(&copy, 0), 0.0f);
  copy.setParameter(&copy, 0, 1.0f);
  EXPECT_NE(GetParameter(0), 1.0f);
  float* none[2] = {nullptr, nullptr};
  copy.processReplacing(&copy, none, none, 16); // must not touch the null buffers
}

TEST_F(VstEntry, CanDoAnswers) {
  auto canDo = [this](const char* text) { return Dispatch(effCanDo, 0, 0, const_cast<char*>(text)); };
  EXPECT_EQ(canDo("receiveVstTimeInfo"), 1);
  EXPECT_EQ(canDo("hasCockosExtensions"), static_cast<VstIntPtr>(0xBEEF0000u));
  EXPECT_EQ(canDo("hasCockosViewAsConfig"), static_cast<VstIntPtr>(0xBEEF0000u));
  // No MIDI capability.
  EXPECT_EQ(canDo("sendVstEvents"), 0);
  EXPECT_EQ(canDo("sendVstMidiEvent"), 0);
  EXPECT_EQ(canDo("receiveVstEvents"), 0);
  EXPECT_EQ(canDo("receiveVstMidiEvent"), 0);
  EXPECT_EQ(canDo("ReceiveVstTimeInfo"), 0) << "comparison is case-sensitive";
  EXPECT_EQ(canDo("receiveVstTimeInfoX"), 0);
  EXPECT_EQ(canDo(""), 0);
  EXPECT_EQ(Dispatch(effCanDo), 0);
}

TEST_F(VstEntry, PinProperties) {
  VstPinProperties pin{};
  ASSERT_EQ(Dispatch(effGetInputProperties, 0, 0, &pin), 1);
  EXPECT_EQ(pin.flags, kVstPinIsActive | kVstPinIsStereo);
  EXPECT_STREQ(pin.label, "Input 1");
  ASSERT_EQ(Dispatch(effGetInputProperties, 1, 0, &pin), 1);
  EXPECT_EQ(pin.flags, kVstPinIsActive);
  EXPECT_STREQ(pin.label, "Input 2");
  ASSERT_EQ(Dispatch(effGetOutputProperties, 0, 0, &pin), 1);
  EXPECT_EQ(pin.flags, kVstPinIsActive | kVstPinIsStereo);
  EXPECT_STREQ(pin.label, "Output 1");
  ASSERT_EQ(Dispatch(effGetOutputProperties, 1, 0, &pin), 1);
  EXPECT_STREQ(pin.label, "Output 2");

  std::strcpy(pin.label, "unchanged");
  EXPECT_EQ(Dispatch(effGetInputProperties, 2, 0, &pin), 0);
  EXPECT_EQ(Dispatch(effGetInputProperties, -1, 0, &pin), 0);
  EXPECT_EQ(Dispatch(effGetOutputProperties, 2, 0, &pin), 0);
  EXPECT_EQ(Dispatch(effGetOutputProperties, INT_MIN, 0, &pin), 0);
  EXPECT_STREQ(pin.label, "unchanged");
  EXPECT_EQ(Dispatch(effGetInputProperties, 0, 0, nullptr), 0);
}

TEST_F(VstEntry, SpeakerArrangementsReportTheChannels) {
  VstSpeakerArrangement* in = nullptr;
  VstSpeakerArrangement* out = nullptr;
  ASSERT_EQ(Dispatch(effGetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&in), &out), 1);
  ASSERT_NE(in, nullptr);
  ASSERT_NE(out, nullptr);
  EXPECT_EQ(in->numChannels, 2);
  EXPECT_EQ(in->type, kSpeakerArrStereo);
  EXPECT_EQ(out->numChannels, 2);
  EXPECT_EQ(out->type, kSpeakerArrStereo);
  // Either side may be asked alone.
  VstSpeakerArrangement* onlyOut = nullptr;
  EXPECT_EQ(Dispatch(effGetSpeakerArrangement, 0, 0, &onlyOut), 1);
  EXPECT_EQ(onlyOut, out);
}

TEST_F(VstEntry, MidiKeyNameIsClearedAndNotNamed) {
  MidiKeyName key{};
  key.thisKeyNumber = 60;
  std::memset(key.keyName, 'x', sizeof(key.keyName));
  EXPECT_EQ(Dispatch(effGetMidiKeyName, 0, 0, &key), 0);
  for (char c : key.keyName) EXPECT_EQ(c, '\0');
  EXPECT_EQ(Dispatch(effGetMidiKeyName), 0);
}
