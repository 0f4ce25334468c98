#pragma once

#include "PluginHost.h"

#include <string>
#include <utility>
#include <vector>

#include "ClapHostKit.h"

// Loads the first plug-in of a CLAP file (through the CLAP host kit, tools/hostkit/clap)
// and drives it as a host does, all on the
// calling thread (which plays the main and the audio thread in turn, never both at
// once). Prepare chooses the audio-ports configuration whose main input has the
// channels given and activates; parameter changes go to the plug-in at once through
// its params flush; programs are the presets its preset-discovery factory lists for
// the built-in location, loaded through preset-load.
class ClapPluginHost : public PluginHost
{
public:
  ClapPluginHost();
  ~ClapPluginHost() override;
  ClapPluginHost(const ClapPluginHost&) = delete;
  ClapPluginHost& operator=(const ClapPluginHost&) = delete;

  bool Load(const std::string& path, std::string& error);

  const char* FormatName() const override { return "CLAP"; }
  void Prepare(double sampleRate, int blockSize, int inputChannels, bool doublePrecision) override;
  void Start() override;
  void Stop() override;
  void Process(float** inputs, float** outputs, int frames) override;
  void Process(double** inputs, double** outputs, int frames) override;

  int NumInputs() const override { return mInputChannels; }
  int NumOutputs() const override { return mOutputChannels; }
  int NumParams() const override { return static_cast<int>(mParams.size()); }
  int NumPrograms() const override { return static_cast<int>(mPresets.size()); }
  bool CanReplacing() const override { return true; }
  bool CanDoubleReplacing() const override { return mSupports64; }

  std::string EffectName() const override;
  std::string VendorName() const override;
  int Version() const override;
  bool HasEditor() const override;
  int LatencySamples() const override;
  int TailSamples() const override;

  std::string ParamName(int index) const override;
  std::string ParamLabel(int) const override { return std::string(); }
  std::string ParamDisplay(int index) const override;
  float ParamValue(int index) const override;
  void SetParamValue(int index, float normalized) override;
  std::string DisplayForNormalized(int index, float normalized) override;
  bool SetParamFromString(int index, const std::string& text) override;

  int CurrentProgram() const override { return mCurrentProgram; }
  void SetProgram(int program) override;
  std::vector<std::string> ProgramNames() override;
  std::string ProgramName() const override;

  // Called back by the plug-in's preset provider; public for the static callbacks.
  void DeclareLocation(const clap_preset_discovery_location_t& location);
  bool BeginPreset(const char* name, const char* key);
  void PresetIsFor(const clap_universal_plugin_id_t& id);

private:
  template <class Sample>
  void ProcessBlock(Sample** inputs, Sample** outputs, int frames);
  double Value(int index) const;
  void SetValue(int index, double value);
  std::string Text(int index, double value) const;
  void ReadPorts();
  void FindPresets(const clap_plugin_entry_t* entry);
  void Unload();

  hostkit::ClapModule mModule;
  hostkit::ClapHost mHost{"brindlow-render", "1.3.0"}; // offers no extensions: a minimal host
  hostkit::ClapInstance mInstance;
  const clap_plugin_t* mPlugin = nullptr; // mInstance's
  const clap_plugin_descriptor_t* mDescriptor = nullptr;
  const clap_plugin_params_t* mParamsExt = nullptr;
  const clap_plugin_audio_ports_t* mPortsExt = nullptr;
  const clap_plugin_audio_ports_config_t* mConfigExt = nullptr;
  const clap_plugin_preset_load_t* mPresetLoadExt = nullptr;
  const clap_plugin_tail_t* mTailExt = nullptr;
  const clap_plugin_latency_t* mLatencyExt = nullptr;
  std::vector<clap_param_info_t> mParams;
  int mInputChannels = 0, mOutputChannels = 0;
  bool mSupports64 = false;
  hostkit::ClapProcessCall mCall; // steady time counted from 0
  // Presets of the built-in location: name and load key; the one being listed.
  std::vector<std::pair<std::string, std::string>> mPresets;
  std::vector<std::string> mPluginLocations;
  bool mPresetOpen = false, mPresetForUs = false;
  std::pair<std::string, std::string> mPendingPreset;
  int mCurrentProgram = 0;
};
