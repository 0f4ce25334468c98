// IPlugVST: turns the plug-in base into a VST 2.4 effect. It fills the entry object
// the host drives, answers the dispatcher, the parameter and processing callbacks,
// and carries every call back to the host.
#pragma once

#include <mutex>
#include <new>

#include "IByteChunk.h"
#include "IPlugBase.h"
#include "vst24.h"

class IPlugVST : public IPlugBase
{
public:
  // Frames above this are clipped from effSetBlockSize: longer blocks are still
  // processed (in sub-blocks), the scratch buffers just do not grow without bound.
  static constexpr int kMaxBlockFrames = 1 << 16;
  // effGetVstVersion's answer.
  static constexpr int kVstVersion = 2400;

  IPlugVST(audioMasterCallback hostCallback, int nParams, const char* channelIOStr, int nPresets,
           const char* effectName, const char* productName, const char* vendorName,
           int vendorVersion, int uniqueID, int mfrID, int latency, bool doesMidi,
           bool doesChunks, bool isInstrument);
  ~IPlugVST() override;

  AEffect* GetAEffect() { return &mAEffect; }
  // The plug-in behind an entry object, or null.
  static IPlugVST* FromAEffect(AEffect* effect);

  // The process-wide lock under which the entry point constructs plug-ins.
  static std::mutex& ConstructionLock();

  // Whether the host's last sample rate was one a plug-in can run at (finite and
  // positive). The base keeps its previous rate when it is not; products go quiet
  // on whatever depends on the rate.
  bool HostSampleRateUsable() const { return mHostSampleRateUsable; }

  // ---- Host notifications ----
  void HostBeginEdit(int index) override;
  void HostAutomate(int index, double normalized) override;
  void HostEndEdit(int index) override;
  int HostSamplePosition() override;
  double HostTempo() override;
  void HostTimeSignature(int* numerator, int* denominator) override;
  int IdentifyHost() override;
  void ResizeEditorRect(int width, int height) override;
  void HostSpecificSetup() override;
  void AttachEditor(IGraphics* editor) override;
  void SetLatencySamples(int samples) override;
  bool SendMidiToHost(const MidiMessage& message) override;
  bool SendMidiListToHost(const MidiMessage* messages, int count) override;

  // The entry object's callbacks.
  static VstIntPtr VSTCALLBACK VSTDispatcher(AEffect* effect, VstInt32 opcode, VstInt32 index,
                                             VstIntPtr value, void* ptr, float opt);
  static void VSTCALLBACK VSTProcessFloat(AEffect* effect, float** inputs, float** outputs,
                                          VstInt32 frames);
  static void VSTCALLBACK VSTProcessDouble(AEffect* effect, double** inputs, double** outputs,
                                           VstInt32 frames);
  static void VSTCALLBACK VSTSetParameter(AEffect* effect, VstInt32 index, float value);
  static float VSTCALLBACK VSTGetParameter(AEffect* effect, VstInt32 index);

  const ERect& EditorRect() const { return mEditorRect; }
  bool HostSetupDone() const { return mHostSetupDone; }

private:
  // Every call to the host goes through here; without a callback it answers 0.
  VstIntPtr CallHost(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0,
                     void* ptr = nullptr, float opt = 0.0f);
  // The dispatcher's work for one opcode; the caller holds the lock.
  VstIntPtr Dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt);
  // GUI thread: the editor opcodes (open, close, idle, keys). The window is created,
  // destroyed and painted without the plug-in's lock; only the product's hooks take it.
  VstIntPtr DispatchEditor(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt);
  VstIntPtr GetChunk(bool bank, void** data);
  VstIntPtr SetChunk(bool bank, const void* data, VstIntPtr size);
  VstIntPtr StringToParameter(int index, const char* text);
  VstIntPtr CanDo(const char* text);
  VstIntPtr PinProperties(int index, int channelCount, const char* labelFormat,
                          VstPinProperties* properties);
  VstIntPtr ProcessEvents(const VstEvents* events);
  // Whether a processing call from the host has anything to process.
  bool HostBlockUsable(const void* inputs, const void* outputs, VstInt32 frames) const;
  void SetConnectedFromArrangement(const VstSpeakerArrangement* arrangement, bool inputs);
  const VstTimeInfo* HostTimeInfo(VstIntPtr wantedFlags);

  ERect mEditorRect{};
  audioMasterCallback mHostCallback;
  VstSpeakerArrangement mInputArrangement;
  VstSpeakerArrangement mOutputArrangement;
  bool mHostSetupDone = false;
  bool mDoesMidi;
  bool mHostSampleRateUsable = true;
  IByteChunk mProgramChunk;
  IByteChunk mBankChunk;
  AEffect mAEffect;
};

// Creates one plug-in of class Plug for the exported entry point: under the
// process-wide lock, with a fallback preset for a plug-in that defines none.
// Answers null when the plug-in cannot be made.
template <class Plug>
AEffect* CreateVSTPlugin(audioMasterCallback hostCallback)
{
  std::lock_guard<std::mutex> guard(IPlugVST::ConstructionLock());
  Plug* plug = nullptr;
  try
  {
    plug = new (std::nothrow) Plug(hostCallback);
  }
  catch (...)
  {
    // No exception may cross into the host.
    plug = nullptr;
  }
  if (!plug) return nullptr;
  plug->AddFallbackPreset();
  AEffect* effect = plug->GetAEffect();
  if (effect->numPrograms < 1) effect->numPrograms = 1;
  return effect;
}
