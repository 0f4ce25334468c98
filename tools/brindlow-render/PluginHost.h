#pragma once

#include <memory>
#include <string>
#include <vector>

// A plug-in loaded for the command line and driven the way a host drives it, whatever
// its format: a VST 2.4 shared object, an LV2 bundle (or plug-in URI), a CLAP file.
// Parameters are seen as the VST 2.4 host sees them, normalised to 0 ... 1; programs by
// number and name (VST programs, LV2 presets, CLAP factory presets). One host is used
// from one thread at a time; several may live in one process.
class PluginHost
{
public:
  virtual ~PluginHost() = default;

  // Loads the plug-in at path, choosing the format by what the path is: a directory or
  // a URI is LV2 (a directory ending in ".vst3" is VST 3), a file ending in ".clap" is
  // CLAP, anything else VST 2.4. Null with the
  // reason in error when it cannot be loaded.
  static std::unique_ptr<PluginHost> Open(const std::string& path, std::string& error);

  // "VST 2.4", "LV2", "CLAP" or "VST 3".
  virtual const char* FormatName() const = 0;

  // Sample rate, block size and sample precision, then the channel layout:
  // `inputChannels` of the plug-in's inputs carry signal, the rest are
  // unconnected. Processing stays off.
  virtual void Prepare(double sampleRate, int blockSize, int inputChannels, bool doublePrecision) = 0;
  virtual void Start() = 0;
  virtual void Stop() = 0;
  // One block of frames (at most the prepared block size), one buffer per channel.
  virtual void Process(float** inputs, float** outputs, int frames) = 0;
  virtual void Process(double** inputs, double** outputs, int frames) = 0;

  virtual int NumInputs() const = 0;
  virtual int NumOutputs() const = 0;
  virtual int NumParams() const = 0;
  virtual int NumPrograms() const = 0;
  virtual bool CanReplacing() const = 0;       // 32-bit processing
  virtual bool CanDoubleReplacing() const = 0; // 64-bit processing

  virtual std::string EffectName() const = 0;
  virtual std::string VendorName() const = 0;
  virtual std::string ProductName() const { return std::string(); }
  // The version as a decimal number a * 10000 + b * 100 + c, and the vendor's own if any.
  virtual int Version() const = 0;
  virtual int VendorVersion() const { return 0; }
  // A VST 2.4 plug-in category (1 effect, 2 synth, ...); 0 when unknown.
  virtual int Category() const { return 0; }
  virtual int UniqueId() const { return 0; }
  virtual bool HasEditor() const = 0;
  virtual int LatencySamples() const { return 0; }
  // Samples the plug-in goes on sounding after its input ends; 0 when it does not say.
  virtual int TailSamples() const { return 0; }

  virtual std::string ParamName(int index) const = 0;
  virtual std::string ParamLabel(int index) const = 0;
  virtual std::string ParamDisplay(int index) const = 0;
  virtual float ParamValue(int index) const = 0;
  virtual void SetParamValue(int index, float normalized) = 0;
  // What the plug-in would display for a normalised value.
  virtual std::string DisplayForNormalized(int index, float normalized) = 0;
  // The plug-in's own reading of a text as the parameter's value: true when it took it.
  virtual bool SetParamFromString(int index, const std::string& text) = 0;

  virtual int CurrentProgram() const = 0;
  virtual void SetProgram(int program) = 0;
  virtual std::vector<std::string> ProgramNames() = 0;
  virtual std::string ProgramName() const = 0; // of the current program
  virtual void SetProgramName(const std::string& /*name*/) {}

  // VST 2.4 program and bank files (.fxp, .fxb): whether this format takes them.
  virtual bool TakesVstPresetFiles() const { return false; }
  virtual bool DoesChunks() const { return false; }
  // The plug-in's opaque state for the current program, or for the bank; empty when none.
  virtual std::vector<unsigned char> GetChunk(bool /*bank*/) const { return {}; }
  virtual bool SetChunk(bool /*bank*/, const std::vector<unsigned char>& /*chunk*/) { return false; }
  // False when the plug-in refuses a file of this plug-in version with this many programs
  // (bank) or parameters.
  virtual bool AcceptsPresetFile(bool /*bank*/, int /*fileVersion*/, int /*elements*/) { return false; }

  // A preset file of the format's own (".vstpreset" for VST 3; "" for none): the state
  // as such a file's bytes, and read back from them (false, state unchanged, for a file
  // of another plug-in or a damaged one).
  virtual const char* OwnPresetExtension() const { return ""; }
  virtual bool WriteOwnPreset(std::vector<unsigned char>& /*file*/, std::string& error)
  {
    error = "this plug-in format has no preset files of its own";
    return false;
  }
  virtual bool ReadOwnPreset(const std::vector<unsigned char>& /*file*/, std::string& error)
  {
    error = "this plug-in format has no preset files of its own";
    return false;
  }

  // The sample position the host reports in its time info.
  virtual void SetSamplePosition(double /*position*/) {}
};
