#pragma once

#include "PluginHost.h"

#include <memory>
#include <string>
#include <vector>

#include "Lv2HostKit.h"

// Loads LV2 plug-ins through lilv (with the LV2 host kit, tools/hostkit/lv2) and drives
// one as a host does. A bundle may hold one
// plug-in per channel layout (Brindlow's holds a mono-input and a stereo-input one that
// share their controls): the one whose audio inputs match the channels given to Prepare
// is instantiated then. Parameters are the control input ports, normalised over their
// ranges; programs are the plug-in's presets, in the order of their URIs. LV2 processes
// 32-bit samples only.
class Lv2PluginHost : public PluginHost
{
public:
  Lv2PluginHost();
  ~Lv2PluginHost() override;
  Lv2PluginHost(const Lv2PluginHost&) = delete;
  Lv2PluginHost& operator=(const Lv2PluginHost&) = delete;

  // path: a bundle directory (every plug-in in it), or a plug-in URI (found on LV2_PATH).
  bool Load(const std::string& path, std::string& error);

  const char* FormatName() const override { return "LV2"; }
  void Prepare(double sampleRate, int blockSize, int inputChannels, bool doublePrecision) override;
  void Start() override;
  void Stop() override;
  void Process(float** inputs, float** outputs, int frames) override;
  void Process(double** inputs, double** outputs, int frames) override;

  int NumInputs() const override;
  int NumOutputs() const override;
  int NumParams() const override { return static_cast<int>(mParams.size()); }
  int NumPrograms() const override { return static_cast<int>(mPresets.size()); }
  bool CanReplacing() const override { return true; }
  bool CanDoubleReplacing() const override { return false; }

  std::string EffectName() const override;
  std::string VendorName() const override;
  int Version() const override;
  bool HasEditor() const override;

  std::string ParamName(int index) const override;
  std::string ParamLabel(int index) const override;
  std::string ParamDisplay(int index) const override;
  float ParamValue(int index) const override;
  void SetParamValue(int index, float normalized) override;
  std::string DisplayForNormalized(int index, float normalized) override;
  // A scale point's label, or a decimal number in the port's units.
  bool SetParamFromString(int index, const std::string& text) override;

  int CurrentProgram() const override { return mCurrentProgram; }
  void SetProgram(int program) override;
  std::vector<std::string> ProgramNames() override;
  std::string ProgramName() const override;

  // Called back by lilv with a preset's port values; public for the static callback.
  void SetPortValueBySymbol(const char* symbol, float value);

private:
  struct Param
  {
    std::string symbol, name, unit;
    float minimum = 0.0f, maximum = 1.0f, value = 0.0f;
    bool integer = false;
    std::vector<std::pair<float, std::string>> scalePoints;
  };
  struct Variant
  {
    const LilvPlugin* plugin = nullptr;
    hostkit::Lv2Ports ports;
  };

  const Variant& Chosen() const { return mVariants[mChosen]; }
  void ReadParams(const LilvPlugin* plugin);
  std::string Display(const Param& param, float value) const;
  float FromNormalized(const Param& param, float normalized) const;
  void Instantiate();
  void Release();

  LilvWorld* mWorld = nullptr;
  std::vector<Variant> mVariants;
  size_t mChosen = 0;
  std::vector<Param> mParams;
  std::vector<std::pair<std::string, std::string>> mPresets; // URI, label
  int mCurrentProgram = 0;
  hostkit::Lv2Instance mInstance;
  double mSampleRate = 44100.0;
  int mBlockSize = 512;
  std::vector<float> mOtherPortValues; // control outputs, inputs that are no parameter, any other port
  hostkit::Lv2UridMap mUrids;
};
