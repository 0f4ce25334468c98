#pragma once

#include "vst24.h"

#include <string>
#include <vector>

// Loads a VST 2.4 plug-in from a shared object and drives it the way a host
// does: effOpen, sample rate, block size, speaker arrangement, mains on,
// processing, mains off, effClose. Several hosts may live in one process, each
// used from one thread at a time; the plug-in's calls back to the host arrive
// on the thread that called into it.
class PluginHost
{
public:
  PluginHost() = default;
  ~PluginHost();
  PluginHost(const PluginHost&) = delete;
  PluginHost& operator=(const PluginHost&) = delete;

  // dlopens the file, calls its entry point and sends effOpen. On failure
  // returns false with the reason (dlerror's text for a library that does not
  // load) in `error`.
  bool Load(const std::string& path, std::string& error);

  // Sample rate, block size and sample precision, then the channel layout:
  // `inputChannels` of the plug-in's inputs carry signal, the rest are
  // unconnected. Mains stay off.
  void Prepare(double sampleRate, int blockSize, int inputChannels, bool doublePrecision);
  void Start();  // effMainsChanged 1 (and effStartProcess)
  void Stop();   // effStopProcess and effMainsChanged 0

  void Process(float** inputs, float** outputs, int frames);
  void Process(double** inputs, double** outputs, int frames);

  AEffect* Effect() const { return mEffect; }
  int NumInputs() const { return mEffect->numInputs; }
  int NumOutputs() const { return mEffect->numOutputs; }
  int NumParams() const { return mEffect->numParams; }
  int NumPrograms() const { return mEffect->numPrograms; }
  bool CanReplacing() const { return (mEffect->flags & effFlagsCanReplacing) && mEffect->processReplacing; }
  bool CanDoubleReplacing() const
  {
    return (mEffect->flags & effFlagsCanDoubleReplacing) && mEffect->processDoubleReplacing;
  }

  std::string EffectName() const;
  std::string VendorName() const;
  std::string ProductName() const;
  int VendorVersion() const;
  int Category() const;

  std::string ParamName(int index) const;
  std::string ParamLabel(int index) const;
  std::string ParamDisplay(int index) const;
  float ParamValue(int index) const;
  void SetParamValue(int index, float normalized);
  // What the plug-in would display for a normalised value. Asks the plug-in
  // directly when it offers that; otherwise sets the value, reads the display
  // and puts the old value back.
  std::string DisplayForNormalized(int index, float normalized);
  // effString2Parameter: true when the plug-in took the text.
  bool SetParamFromString(int index, const std::string& text);

  int CurrentProgram() const;
  void SetProgram(int program);
  std::vector<std::string> ProgramNames();
  std::string ProgramName() const; // of the current program
  void SetProgramName(const std::string& name); // cut to the 23 characters hosts send

  // State as preset files carry it.
  VstInt32 UniqueId() const { return mEffect->uniqueID; }
  VstInt32 Version() const { return mEffect->version; }
  bool DoesChunks() const { return (mEffect->flags & effFlagsProgramChunks) != 0; }
  // effGetChunk: a copy of the plug-in's chunk for the current program, or for
  // the bank; empty when the plug-in gives none.
  std::vector<unsigned char> GetChunk(bool bank) const;
  // effSetChunk: true when the plug-in took the chunk.
  bool SetChunk(bool bank, const std::vector<unsigned char>& chunk);
  // effBeginLoadBank / effBeginLoadProgram: false when the plug-in refuses a
  // file of this plug-in version with this many programs (bank) or parameters.
  bool AcceptsPresetFile(bool bank, VstInt32 fileVersion, VstInt32 elements);

  // The sample position the host reports in its time info.
  void SetSamplePosition(double position) { mSamplePosition = position; }

  // Called by the plug-in; public so the static callback can reach it.
  VstIntPtr HandleHostCall(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt);

private:
  VstIntPtr Dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                     float opt = 0.0f) const;
  std::string DispatchString(VstInt32 opcode, VstInt32 index = 0) const;
  void Unload();

  void* mLibrary = nullptr;
  AEffect* mEffect = nullptr;
  bool mRunning = false;
  double mSampleRate = 44100.0;
  int mBlockSize = 512;
  double mSamplePosition = 0.0;
  VstTimeInfo mTimeInfo = {};
  VstSpeakerArrangement mInputArrangement = {};
  VstSpeakerArrangement mOutputArrangement = {};
};
