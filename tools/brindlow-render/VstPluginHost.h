#pragma once

#include "PluginHost.h"
#include "VstHostKit.h"

#include <string>
#include <vector>

// Loads a VST 2.4 plug-in from a shared object (through the VST 2.4 host kit,
// tools/hostkit/vst2) and drives it the way a host does: effOpen, sample rate, block size, speaker arrangement, mains on,
// processing, mains off, effClose. Several hosts may live in one process, each
// used from one thread at a time; the plug-in's calls back to the host arrive
// on the thread that called into it.
class VstPluginHost : public PluginHost, private hostkit::VstHost
{
public:
  VstPluginHost() = default;
  ~VstPluginHost() override;
  VstPluginHost(const VstPluginHost&) = delete;
  VstPluginHost& operator=(const VstPluginHost&) = delete;

  // Loads the file, calls its entry point and sends effOpen. On failure
  // returns false with the reason (the loader's text for a library that does not
  // load) in `error`.
  bool Load(const std::string& path, std::string& error);

  AEffect* Effect() const { return mEffect; }
  const char* FormatName() const override { return "VST 2.4"; }

  void Prepare(double sampleRate, int blockSize, int inputChannels, bool doublePrecision) override;
  void Start() override; // effMainsChanged 1 (and effStartProcess)
  void Stop() override;  // effStopProcess and effMainsChanged 0
  void Process(float** inputs, float** outputs, int frames) override;
  void Process(double** inputs, double** outputs, int frames) override;

  int NumInputs() const override { return mEffect->numInputs; }
  int NumOutputs() const override { return mEffect->numOutputs; }
  int NumParams() const override { return mEffect->numParams; }
  int NumPrograms() const override { return mEffect->numPrograms; }
  bool CanReplacing() const override { return (mEffect->flags & effFlagsCanReplacing) && mEffect->processReplacing; }
  bool CanDoubleReplacing() const override
  {
    return (mEffect->flags & effFlagsCanDoubleReplacing) && mEffect->processDoubleReplacing;
  }

  std::string EffectName() const override;
  std::string VendorName() const override;
  std::string ProductName() const override;
  int Version() const override { return mEffect->version; }
  int VendorVersion() const override;
  int Category() const override;
  int UniqueId() const override { return mEffect->uniqueID; }
  bool HasEditor() const override { return (mEffect->flags & effFlagsHasEditor) != 0; }
  int LatencySamples() const override { return mEffect->initialDelay; }
  int TailSamples() const override; // effGetTailSize

  std::string ParamName(int index) const override;
  std::string ParamLabel(int index) const override;
  std::string ParamDisplay(int index) const override;
  float ParamValue(int index) const override;
  void SetParamValue(int index, float normalized) override;
  // Asks the plug-in directly when it offers that; otherwise sets the value, reads the
  // display and puts the old value back.
  std::string DisplayForNormalized(int index, float normalized) override;
  // effString2Parameter.
  bool SetParamFromString(int index, const std::string& text) override;

  int CurrentProgram() const override;
  void SetProgram(int program) override;
  std::vector<std::string> ProgramNames() override;
  std::string ProgramName() const override;
  void SetProgramName(const std::string& name) override; // cut to the 23 characters hosts send

  bool TakesVstPresetFiles() const override { return true; }
  bool DoesChunks() const override { return (mEffect->flags & effFlagsProgramChunks) != 0; }
  // effGetChunk / effSetChunk.
  std::vector<unsigned char> GetChunk(bool bank) const override;
  bool SetChunk(bool bank, const std::vector<unsigned char>& chunk) override;
  // effBeginLoadBank / effBeginLoadProgram.
  bool AcceptsPresetFile(bool bank, int fileVersion, int elements) override;

  void SetSamplePosition(double position) override { mSamplePosition = position; }

private:
  // Called by the plug-in, on the thread that called into it.
  VstIntPtr Answer(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                     float opt) override;

  VstIntPtr Dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                     float opt = 0.0f) const;
  std::string DispatchString(VstInt32 opcode, VstInt32 index = 0) const;
  void Unload();

  hostkit::VstModule mModule;
  AEffect* mEffect = nullptr;
  bool mRunning = false;
  double mSampleRate = 44100.0;
  int mBlockSize = 512;
  double mSamplePosition = 0.0;
  VstTimeInfo mTimeInfo = {};
  VstSpeakerArrangement mInputArrangement = {};
  VstSpeakerArrangement mOutputArrangement = {};
};
