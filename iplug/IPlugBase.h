// IPlugBase: the host-independent plug-in. It owns the parameters, presets, legal channel
// configurations, the routing between host buffers and the 64-bit buffers the DSP sees,
// the attached editor, and one re-entrant lock. A host adapter derives from it.
#pragma once

#include "GrowBuffer.h"
#include "IByteChunk.h"
#include "IParam.h"
#include "IPlugLock.h"
#include "IPlugStructs.h"
#include "IProgram.h"

class IGraphics;

class IPlugBase
{
public:
  static constexpr int kNameSize = 128; // effect, product and vendor names: 127 characters

  IPlugBase(int nParams, const char* channelIOStr, int nPresets, const char* effectName,
            const char* productName, const char* vendorName, int vendorVersion, int uniqueID,
            int mfrID, int latency, bool doesMidi, bool doesChunks, bool isInstrument);
  virtual ~IPlugBase();
  IPlugBase(const IPlugBase&) = delete;
  IPlugBase& operator=(const IPlugBase&) = delete;

  // ---- Product hooks ----
  virtual void ResetProcessing();
  // Called after parameter index changed its value.
  virtual void ParameterChanged(int index);
  // inputs / outputs hold one 64-bit buffer of frames samples per channel (null without channels).
  virtual void ProcessBlock(double** inputs, double** outputs, int frames);
  // A product may process a 32-bit block directly, skipping the conversion to and from
  // ProcessBlock's 64-bit buffers; it must then give exactly the samples that route
  // gives. inputs / outputs hold one host buffer of frames samples per channel, or null
  // where the channel is unconnected or the host gave none (or fewer frames). Answers
  // true when it wrote every connected output; false (the default) sends the block
  // through ProcessBlock. Called under the lock, once per sub-block.
  virtual bool ProcessBlockFloat(const float* const* inputs, float* const* outputs, int frames);
  // Called after SetInputsConnected changed whether some input is connected (the host
  // switched a track between mono and stereo, say), on the thread that changed it and
  // under the lock. Anything chosen from the connected inputs is chosen again here.
  virtual void InputConnectionsChanged() {}
  virtual void EditorOpened() {}
  virtual void EditorClosing() {}
  virtual void UnusedHook() {}
  virtual void SetActive(bool active);
  virtual void HandleMidiMessage(const MidiMessage& message);
  // Writes the name of note into text (at least 64 bytes); the base has none.
  virtual bool GetNoteName(int note, char* text);
  virtual bool WriteState(IByteChunk& chunk);
  virtual int ReadState(const IByteChunk& chunk, int startPos);

  // ---- Host notifications, implemented by the adapter ----
  virtual void HostBeginEdit(int index) = 0;
  virtual void HostAutomate(int index, double normalized) = 0;
  virtual void HostEndEdit(int index) = 0;
  virtual int HostSamplePosition() = 0;
  virtual double HostTempo() = 0;
  virtual void HostTimeSignature(int* numerator, int* denominator) = 0;
  // The base answers HostKind(); the adapter asks the host once and calls SetHost.
  virtual int IdentifyHost();
  virtual void ResizeEditorRect(int width, int height) = 0;
  virtual void UnusedHookWithArg(int) {}
  virtual void HostSpecificSetup() = 0;
  // Takes ownership of editor, pushes every normalised parameter value to it and lets it
  // create its draw surface.
  virtual void AttachEditor(IGraphics* editor);
  // Sizes the scratch buffers for blocks of frames samples; frames <= 0 is refused.
  // Not for the audio thread: it may allocate.
  virtual void SetBlockFrames(int frames);
  virtual void SetLatencySamples(int samples);
  virtual bool SendMidiToHost(const MidiMessage& message) = 0;
  virtual bool SendMidiListToHost(const MidiMessage* messages, int count) = 0;

  // ---- Identity ----
  const char* EffectName() const { return mEffectName; }
  const char* ProductName() const { return mProductName; }
  const char* VendorName() const { return mVendorName; }
  int UniqueID() const { return mUniqueID; }
  int MfrID() const { return mMfrID; }
  int HostKind() const { return mHostKind; }
  int HostVersion() const { return mHostVersion; }
  bool DoesChunks() const { return mDoesChunks; }
  bool IsInstrument() const { return mIsInstrument; }
  int Latency() const { return mLatency; }
  double SampleRate() const { return mSampleRate; }
  int BlockSize() const { return mBlockSize; }
  IGraphics* Editor() const { return mEditor; }
  IPlugLock& Lock() { return mLock; }

  // Stores the host's identity: HostKind from the product string, and its packed version.
  void SetHost(const char* productString, int version);
  // The version word, or its decimal form (major * 100 + minor) * 100 + revision.
  int EffectVersion(bool decimal) const;
  void EffectVersionText(char* out, int outSize) const;

  // ---- Parameters ----
  int ParameterCount() const { return mParams.GetSize(); }
  IParameter* ParameterAt(int index) const { return mParams.Get(index); }
  // Ignores rates that are not finite and positive.
  void SetSampleRateHz(double rate);
  // The only way an editor control changes a parameter: sets it, tells the host, runs the hook.
  void SetParameterFromGUI(int index, double normalized);
  void NotifyAllParametersChanged();
  void PushAllParametersToEditor();

  // ---- Channels ----
  int ChannelConfigCount() const { return mChannelConfigs.GetSize(); }
  const IChannelConfig* ChannelConfigAt(int index) const { return mChannelConfigs.Get(index); }
  // True when a configuration matches; a negative count matches any.
  bool LegalIO(int nInputs, int nOutputs) const;
  int InputChannelCount() const { return mInChannels.GetSize(); }
  int OutputChannelCount() const { return mOutChannels.GetSize(); }

  // Connect or disconnect the channels start ... start + count - 1 that exist. Called by
  // the adapter under the lock, from whichever thread the host sends its speaker
  // arrangement on; never during a block.
  void SetInputsConnected(int start, int count, bool connected);
  void SetOutputsConnected(int start, int count, bool connected);
  bool IsInputConnected(int index) const;
  bool IsOutputConnected(int index) const;

  // Per block, under the lock: attach inputs, attach outputs, run. Each connected channel
  // takes the next host buffer; unconnected inputs read silence and unconnected outputs are
  // dropped. A run longer than the block size is processed in sub-blocks of at most the
  // block size; a run of frames <= 0 does nothing. Nothing here allocates.
  void AttachInputsDouble(int start, int count, double** buffers);
  void AttachInputsFloat(int start, int count, float** buffers, int frames);
  void AttachOutputsDouble(int start, int count, double** buffers);
  void AttachOutputsFloat(int start, int count, float** buffers);
  void RunBlockDouble(int frames);
  void RunBlockFloat(int frames);
  // A 32-bit block from the host: the same as attaching all inputs and all outputs,
  // then RunBlockFloat, only quicker while every channel is connected.
  void RunHostBlockFloat(float** inputs, float** outputs, int frames);
  // Inputs from the third on become unconnected, outputs from the third on connected.
  void RestrictToTwoInputs();

  // ---- Presets and state ----
  bool WriteParams(IByteChunk& chunk);
  // Reads one double per parameter from startPos; answers the position after the last
  // value, or -1 (parameters unchanged) when the chunk holds too few bytes.
  int UnserializeParams(const IByteChunk& chunk, int startPos);
  // Fills the first free preset slot: name, then one value per parameter in index order.
  // Each value may be given as an integer or a floating-point number whatever the
  // parameter's kind; missing values take the parameter's current value, extra ones are ignored.
  template <class... Values>
  void DefinePreset(const char* name, Values... values)
  {
    const double list[] = {0.0, static_cast<double>(values)...};
    DefinePresetValues(name, list + 1, static_cast<int>(sizeof...(values)));
  }
  void DefinePresetValues(const char* name, const double* values, int count);
  // Fills up to count free slots with the current values, named name or "Default".
  void CapturePresets(const char* name, int count);
  void AddFallbackPreset();
  bool RecallPreset(int index);
  void UpdateCurrentPreset(const char* name);
  const char* PresetName(int index) const;
  void NextUserPresetName(char* out, int outSize) const;
  IProgram* FirstFreePreset() const;
  int PresetCount() const { return mPresets.GetSize(); }
  IProgram* PresetAt(int index) const { return mPresets.Get(index); }
  int CurrentPreset() const { return mCurrentPreset; }

private:
  struct InputChannel;
  struct OutputChannel;

  void ParseChannelIOString(const char* channelIOStr, int* maxIn, int* maxOut);
  void PrepareSubBlock(bool floatPath, int offset, int frames);
  void FinishSubBlockFloat(int offset, int frames);
  // Offers the sub-block at offset to ProcessBlockFloat; true when it was processed.
  bool ProcessSubBlockFloat(int offset, int frames);
  void SilenceOutputs(bool floatPath, int frames);
  void RunBlock(bool floatPath, int frames);
  // Whether every input and output channel is connected (none are without channels).
  bool EveryChannelConnected() const;

  PointerList<IChannelConfig> mChannelConfigs;
  char mEffectName[kNameSize];
  char mProductName[kNameSize];
  char mVendorName[kNameSize];
  int mUniqueID;
  int mMfrID;
  int mVersion;
  int mHostKind = -1;
  int mHostVersion = 0;
  bool mDoesChunks;
  bool mIsInstrument;
  double mSampleRate = 44100.0;
  int mBlockSize = 0;
  int mAttachedInputFrames = 0; // frames of the 32-bit inputs attached for this block
  bool mAllConnected = false;   // EveryChannelConnected(), kept by the Set...Connected calls
  int mLatency;
  PointerList<IParameter> mParams;
  IGraphics* mEditor = nullptr;
  PointerList<IProgram> mPresets;
  int mCurrentPreset = 0;
  GrowBuffer mInData;  // double* per input channel, handed to ProcessBlock
  GrowBuffer mOutData; // double* per output channel
  GrowBuffer mInFloatData;  // const float* per input channel, handed to ProcessBlockFloat
  GrowBuffer mOutFloatData; // float* per output channel
  PointerList<InputChannel> mInChannels;
  PointerList<OutputChannel> mOutChannels;
  IPlugLock mLock;
};
