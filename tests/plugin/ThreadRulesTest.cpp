// The VST 2.4 adapter never calls its host with the plug-in's lock held: a host whose
// every callback goes to the shared recorder (HostCallRecorder.h; the LV2 and CLAP cases
// are in tests/lv2 and tests/clap) drives open, parameters, programs, state, events, a
// block, a drag in the editor and the editor's own size change.
#include <gtest/gtest.h>

#include <cstring>

#include "HostCallRecorder.h"
#include "IGraphicsPlug.h"
#include "StandInWindowBackend.h"
#include "VstBrindlow.h"

namespace {

HostCallRecorder gHost;
bool gHostSizesWindows = false;     // the answer to canDo "sizeWindow"
VstInt32 gWindowWidth = 0, gWindowHeight = 0; // the last audioMasterSizeWindow

VstIntPtr VSTCALLBACK RecordingHost(AEffect*, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float) {
  gHost.Record(std::to_string(opcode).c_str());
  if (opcode == audioMasterGetProductString && ptr) std::strcpy(static_cast<char*>(ptr), "Test Host");
  if (opcode == audioMasterGetVendorVersion) return 10000;
  if (opcode == audioMasterCanDo) return ptr && !std::strcmp(static_cast<const char*>(ptr), "sizeWindow") && gHostSizesWindows;
  if (opcode == audioMasterSizeWindow) {
    gWindowWidth = index;
    gWindowHeight = static_cast<VstInt32>(value);
    return 1;
  }
  return opcode == audioMasterProcessEvents ? 1 : 0;
}

int CountOf(VstInt32 opcode) { return gHost.CountOf(std::to_string(opcode).c_str()); }

TEST(ThreadRules, NoHostCallbackRunsUnderThePlugInsLock) {
  const StandInWindows windows; // the editor opens without a display
  VstBrindlowPtr plug(&RecordingHost);
  gHost.Watch(plug.get());
  AEffect* effect = plug.GetAEffect();
  auto dispatch = [&](VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr, float opt = 0) {
    return effect->dispatcher(effect, opcode, index, value, ptr, opt);
  };

  gHost.During("effOpen");
  dispatch(effOpen);
  EXPECT_EQ(CountOf(audioMasterGetProductString), 1) << "the host is identified at open";

  gHost.During("parameters, programs and state");
  effect->setParameter(effect, KyvBrindlow::kDelay, 0.75f);
  char text[64] = {};
  dispatch(effGetParamDisplay, KyvBrindlow::kDelay, 0, text);
  dispatch(effSetProgram, 0, 1);
  dispatch(effGetProgramName, 0, 0, text);
  void* chunk = nullptr;
  const VstIntPtr size = dispatch(effGetChunk, 0, 0, &chunk);
  ASSERT_GT(size, 0);
  EXPECT_EQ(dispatch(effSetChunk, 0, size, chunk), 1) << "the plug-in's own bytes read back";

  gHost.During("a knob drag in the editor");
  IGraphicsLice* editor = EditorOf(plug.get());
  ASSERT_NE(editor, nullptr);
  editor->PaintArea(IBounds(0, 0, editor->Width(), editor->Height())); // the hidden splash steps aside
  const IMouseKeys left{true, false, false, false, false};
  editor->DispatchMouseDown(95, 112, left); // the Delay knob
  editor->DispatchMouseDrag(95, 100, left);
  editor->DispatchMouseUp(95, 100, left);
  EXPECT_EQ(CountOf(audioMasterBeginEdit), 1);
  EXPECT_GE(CountOf(audioMasterAutomate), 1);
  EXPECT_EQ(CountOf(audioMasterEndEdit), 1);

  gHost.During("the user's choice of size in the open editor");
  int parent = 0;
  ASSERT_EQ(dispatch(effEditOpen, 0, 0, &parent), 1);
  editor->SetUserScale(1.5); // a host that does not size windows is not asked to
  EXPECT_EQ(CountOf(audioMasterSizeWindow), 0);
  gHostSizesWindows = true;
  editor->SetUserScale(2.0);
  EXPECT_EQ(CountOf(audioMasterSizeWindow), 1);
  EXPECT_EQ(gWindowWidth, 732);
  EXPECT_EQ(gWindowHeight, 424);
  ERect* rect = nullptr;
  ASSERT_EQ(dispatch(effEditGetRect, 0, 0, &rect), 1);
  EXPECT_EQ(rect->right - rect->left, 732);
  EXPECT_EQ(rect->bottom - rect->top, 424);
  dispatch(effEditClose);
  editor->SetUserScale(1.0); // closed: nothing to resize
  EXPECT_EQ(CountOf(audioMasterSizeWindow), 1);
  ASSERT_EQ(dispatch(effEditGetRect, 0, 0, &rect), 1);
  EXPECT_EQ(rect->right, 366) << "the rect follows the editor open or not";

  gHost.During("events passed through to the host");
  VstEvent sysex{};
  sysex.type = 6; // not MIDI: the plug-in hands it on
  sysex.byteSize = sizeof(VstEvent);
  VstEvents events{};
  events.numEvents = 1;
  events.events[0] = &sysex;
  dispatch(effProcessEvents, 0, 0, &events);
  EXPECT_EQ(CountOf(audioMasterProcessEvents), 1);

  gHost.During("MIDI sent during a block");
  dispatch(effSetSampleRate, 0, 0, nullptr, 44100.0f);
  dispatch(effMainsChanged, 0, 1);
  const MidiMessage note{0, 0x90, 60, 100};
  {
    IPlugLockGuard guard(plug->Lock()); // as a product's block or handler sends it
    plug->SendMidiToHost(note);
  }
  float in[2][16] = {}, out[2][16] = {};
  float* inputs[] = {in[0], in[1]};
  float* outputs[] = {out[0], out[1]};
  effect->processReplacing(effect, inputs, outputs, 16);
  EXPECT_EQ(CountOf(audioMasterProcessEvents), 2) << "the queued note reaches the host after the block";

  gHost.During("a block reading the transport");
  plug->SetReadsTransport(true);
  effect->processReplacing(effect, inputs, outputs, 16);
  EXPECT_GE(CountOf(audioMasterGetTime), 1) << "the transport is read before the block";
  plug->SetReadsTransport(false);

  gHost.Watch(nullptr);
  gHost.ExpectNoneLocked();
}

} // namespace
