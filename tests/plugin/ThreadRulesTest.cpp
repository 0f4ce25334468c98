// The plug-in never calls its host with its own lock held: a host whose callbacks take a
// lock of their own, which its audio thread holds while calling the plug-in, would
// deadlock. Every call to the host records whether the calling thread held the lock.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "IGraphicsPlug.h"
#include "VstBrindlow.h"

namespace {

struct LockedCall {
  VstInt32 opcode;
  std::string context;
};

std::vector<LockedCall> gLockedCalls;
std::vector<VstInt32> gCalls;
std::string gContext;

VstIntPtr VSTCALLBACK LockCheckingHost(AEffect* effect, VstInt32 opcode, VstInt32, VstIntPtr, void* ptr, float) {
  gCalls.push_back(opcode);
  IPlugBase* plug = IPlugVST::PlugOf(effect);
  if (plug && plug->Lock().HeldByCurrentThread()) gLockedCalls.push_back({opcode, gContext});
  if (opcode == audioMasterGetProductString && ptr) std::strcpy(static_cast<char*>(ptr), "Test Host");
  if (opcode == audioMasterGetVendorVersion) return 10000;
  return opcode == audioMasterProcessEvents ? 1 : 0;
}

int CountOf(VstInt32 opcode) {
  int n = 0;
  for (VstInt32 call : gCalls) n += call == opcode;
  return n;
}

TEST(ThreadRules, NoHostCallbackRunsUnderThePlugInsLock) {
  gLockedCalls.clear();
  gCalls.clear();
  VstBrindlowPtr plug(&LockCheckingHost);
  AEffect* effect = plug.GetAEffect();
  auto dispatch = [&](VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr) {
    return effect->dispatcher(effect, opcode, index, value, ptr, 0.0f);
  };

  gContext = "effOpen";
  dispatch(effOpen);
  EXPECT_EQ(CountOf(audioMasterGetProductString), 1) << "the host is identified at open";

  gContext = "a knob drag in the editor";
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

  gContext = "events passed through to the host";
  VstEvent sysex{};
  sysex.type = 6; // not MIDI: the plug-in hands it on
  sysex.byteSize = sizeof(VstEvent);
  VstEvents events{};
  events.numEvents = 1;
  events.events[0] = &sysex;
  dispatch(effProcessEvents, 0, 0, &events);
  EXPECT_EQ(CountOf(audioMasterProcessEvents), 1);

  gContext = "MIDI sent during a block";
  effect->dispatcher(effect, effSetSampleRate, 0, 0, nullptr, 44100.0f);
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

  for (const LockedCall& call : gLockedCalls)
    ADD_FAILURE() << "host opcode " << call.opcode << " called with the plug-in's lock held, during " << call.context;
}

} // namespace
