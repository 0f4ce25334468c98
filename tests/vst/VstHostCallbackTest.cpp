// What the plug-in asks of and tells the host through the host callback.
#include "VstFixture.h"

using VstHostCallbacks = VstFixture;

TEST_F(VstHostCallbacks, ConstructionAsksTheHostNothing) {
  EXPECT_EQ(host.calls.size(), 0u);
}

TEST_F(VstHostCallbacks, HostIsIdentifiedOnceAtTheFirstOpen) {
  host.productString = "REAPER";
  Dispatch(effOpen);
  ASSERT_EQ(host.calls.size(), 2u);
  EXPECT_EQ(host.calls[0].opcode, audioMasterGetProductString);
  EXPECT_EQ(host.calls[1].opcode, audioMasterGetVendorVersion);
  Dispatch(effOpen);
  Dispatch(effSetSampleRate, 0, 0, nullptr, 48000.0f);
  EXPECT_EQ(host.calls.size(), 2u);
}

TEST_F(VstHostCallbacks, EmptyProductStringSkipsTheVersionQuery) {
  host.productString = "";
  Dispatch(effOpen);
  EXPECT_EQ(host.CountCalls(audioMasterGetProductString), 1);
  EXPECT_EQ(host.CountCalls(audioMasterGetVendorVersion), 0);
  Dispatch(effOpen);
  EXPECT_EQ(host.CountCalls(audioMasterGetProductString), 1) << "an unknown host counts as identified";
}

TEST_F(VstHostCallbacks, HostParameterChangesAreNotEchoed) {
  Dispatch(effOpen);
  host.calls.clear();
  SetParameter(kDelayParam, 0.3f);
  SetParameterText(kWetMixParam, "2");
  Dispatch(effSetProgram, 0, 4);
  EXPECT_EQ(host.CountCalls(audioMasterAutomate), 0);
  EXPECT_EQ(host.CountCalls(audioMasterBeginEdit), 0);
  EXPECT_EQ(host.CountCalls(audioMasterEndEdit), 0);
}

TEST_F(VstHostCallbacks, MidiPassesThroughToTheHost) {
  VstMidiEvent note{};
  note.type = kVstMidiType;
  note.byteSize = sizeof(VstMidiEvent);
  note.deltaFrames = 17;
  note.midiData[0] = static_cast<char>(0x90);
  note.midiData[1] = 60;
  note.midiData[2] = 100;
  VstEvent sysex{};
  sysex.type = 6;
  sysex.byteSize = sizeof(VstEvent);
  sysex.deltaFrames = 3;

  struct {
    VstInt32 numEvents;
    VstIntPtr reserved;
    VstEvent* events[3];
  } list{3, 0, {reinterpret_cast<VstEvent*>(&note), nullptr, &sysex}};

  host.calls.clear();
  EXPECT_EQ(Dispatch(effProcessEvents, 0, 0, &list), 1);
  ASSERT_EQ(host.CountCalls(audioMasterProcessEvents), 2) << "one call per non-null event";
  ASSERT_EQ(host.receivedListSizes, (std::vector<VstInt32>{1, 1}));
  ASSERT_EQ(host.receivedEvents.size(), 2u);
  // The MIDI event is rebuilt from its message: status, data bytes and offset.
  const VstMidiEvent& midi = host.receivedEvents[0];
  EXPECT_EQ(midi.type, kVstMidiType);
  EXPECT_EQ(midi.byteSize, 32);
  EXPECT_EQ(midi.deltaFrames, 17);
  EXPECT_EQ(static_cast<unsigned char>(midi.midiData[0]), 0x90);
  EXPECT_EQ(midi.midiData[1], 60);
  EXPECT_EQ(midi.midiData[2], 100);
  EXPECT_EQ(midi.midiData[3], 0);
  EXPECT_EQ(midi.noteLength, 0);
  // Any other event goes on unchanged.
  EXPECT_EQ(host.receivedEvents[1].type, 6);
  EXPECT_EQ(host.receivedEvents[1].deltaFrames, 3);
  EXPECT_EQ(Dispatch(effProcessEvents, 0, 0, nullptr), 0);

  VstEvents none{};
  none.numEvents = -5;
  EXPECT_EQ(Dispatch(effProcessEvents, 0, 0, &none), 1);
  EXPECT_EQ(host.CountCalls(audioMasterProcessEvents), 2);
}
