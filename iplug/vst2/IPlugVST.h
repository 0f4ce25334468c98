// IPlugVST: the VST 2.4 adapter. It owns one plug-in, fills the entry object the host
// drives, translates the dispatcher, the parameter and the processing callbacks into the
// plug-in base's calls, and carries the plug-in's calls back to the host.
//
// Threads: the host calls the dispatcher on its GUI thread (effEditOpen, effEditClose,
// effEditIdle and the keys there only), processing and effProcessEvents on its audio
// thread, and setParameter, getParameter, programs and chunks from either. The adapter
// takes no lock of its own: each call into the plug-in base takes the plug-in's lock,
// and nothing here calls the host with it held.
#pragma once

#include <memory>
#include <mutex>

#include "IPlugBase.h"
#include "IPlugHostCalls.h"
#include "vst24.h"

class IPlugVST : public IPlugHostCalls
{
public:
  // Frames above this are clipped from effSetBlockSize.
  static constexpr int kMaxBlockFrames = IPlugBase::kMaxBlockFrames;
  // effGetVstVersion's answer.
  static constexpr int kVstVersion = 2400;

  // Takes ownership of plug (not null) and becomes its host calls.
  IPlugVST(audioMasterCallback hostCallback, IPlugBase* plug);
  ~IPlugVST() override;
  IPlugVST(const IPlugVST&) = delete;
  IPlugVST& operator=(const IPlugVST&) = delete;

  AEffect* GetAEffect() { return &mAEffect; }
  IPlugBase* Plug() const { return mPlug.get(); }
  // The adapter behind an entry object, or null.
  static IPlugVST* FromAEffect(AEffect* effect);
  // The plug-in behind an entry object, or null.
  static IPlugBase* PlugOf(AEffect* effect);

  const ERect& EditorRect() const { return mEditorRect; }
  bool HostSetupDone() const { return mPlug->HostSetupDone(); }

  // The dispatcher's translation of one opcode (what VSTDispatcher runs for all but
  // effClose). Any thread the opcode allows.
  VstIntPtr Dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt);

  // ---- IPlugHostCalls: the plug-in's calls to the host, never under its lock ----
  void BeginEdit(int index) override;
  void Automate(int index, double normalized) override;
  void EndEdit(int index) override;
  // GUI thread: the editor changed its size by itself; effEditGetRect answers it from
  // here on, and a host that can (canDo "sizeWindow") is asked to resize its window.
  void EditorResized(int width, int height) override;
  bool HostProduct(char* product, int size, int* version) override;
  int SamplePosition() override;
  double Tempo() override;
  void TimeSignature(int* numerator, int* denominator) override;
  bool SendMidi(const MidiMessage* messages, int count) override;
  void LatencyChanged(int samples) override;

  // The entry object's callbacks.
  static VstIntPtr VSTCALLBACK VSTDispatcher(AEffect* effect, VstInt32 opcode, VstInt32 index,
                                             VstIntPtr value, void* ptr, float opt);
  static void VSTCALLBACK VSTProcessFloat(AEffect* effect, float** inputs, float** outputs,
                                          VstInt32 frames);
  static void VSTCALLBACK VSTProcessDouble(AEffect* effect, double** inputs, double** outputs,
                                           VstInt32 frames);
  static void VSTCALLBACK VSTSetParameter(AEffect* effect, VstInt32 index, float value);
  static float VSTCALLBACK VSTGetParameter(AEffect* effect, VstInt32 index);

private:
  // Every call to the host goes through here; without a callback it answers 0.
  VstIntPtr CallHost(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0,
                     void* ptr = nullptr, float opt = 0.0f);
  // GUI thread: the editor opcodes (open, close, idle, keys).
  VstIntPtr DispatchEditor(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr);
  // Opcodes that answer with names and texts.
  VstIntPtr DispatchText(VstInt32 opcode, VstInt32 index, VstIntPtr value, char* text, float opt);
  VstIntPtr StringToParameter(int index, const char* text);
  VstIntPtr CanDo(const char* text);
  VstIntPtr PinProperties(int index, int channelCount, const char* labelFormat,
                          VstPinProperties* properties);
  VstIntPtr ProcessEvents(const VstEvents* events);
  // After effOpen: the entry object and arrangements follow the channels the plug-in kept.
  void UpdateChannelCounts();
  const VstTimeInfo* HostTimeInfo(VstIntPtr wantedFlags);
  // The rect effEditGetRect hands out, width x height held to what an ERect holds.
  void SetEditorRect(int width, int height);

  std::unique_ptr<IPlugBase> mPlug;
  ERect mEditorRect{};
  audioMasterCallback mHostCallback;
  VstSpeakerArrangement mInputArrangement;
  VstSpeakerArrangement mOutputArrangement;
  AEffect mAEffect;
};

// Creates one plug-in for the exported entry point with make(), under the process-wide
// lock, with a fallback preset for a plug-in that defines none. Answers null when the
// plug-in cannot be made; no exception leaves it.
AEffect* CreateVSTPlugin(audioMasterCallback hostCallback, IPlugBase* (*make)());

// The same for a plug-in class made by its default constructor.
template <class Plug>
AEffect* CreateVSTPlugin(audioMasterCallback hostCallback)
{
  return CreateVSTPlugin(hostCallback, []() -> IPlugBase* { return new Plug(); });
}
