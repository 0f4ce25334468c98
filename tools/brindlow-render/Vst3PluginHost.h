#pragma once

#include "PluginHost.h"

#include <memory>
#include <string>
#include <vector>

#include "Vst3HostKit.h"

// Loads the first audio class of a .vst3 bundle through the VST 3 host kit and drives
// it as a host does, all on the calling thread. Prepare sets the input bus to the
// channels given; parameter changes reach the processor at once as a flush (a block of
// 0 samples) and the controller through setParamNormalized; programs are the unit's
// program list, chosen through its program-change parameter. The program-change
// parameter itself is not listed among the parameters. Presets are .vstpreset files.
class Vst3PluginHost : public PluginHost
{
public:
  Vst3PluginHost() = default;
  ~Vst3PluginHost() override;

  bool Load(const std::string& path, std::string& error);

  const char* FormatName() const override { return "VST 3"; }
  void Prepare(double sampleRate, int blockSize, int inputChannels, bool doublePrecision) override;
  void Start() override;
  void Stop() override;
  void Process(float** inputs, float** outputs, int frames) override;
  void Process(double** inputs, double** outputs, int frames) override;

  int NumInputs() const override { return mInputChannels; }
  int NumOutputs() const override { return mOutputChannels; }
  int NumParams() const override { return static_cast<int>(mParams.size()); }
  int NumPrograms() const override { return static_cast<int>(mProgramNames.size()); }
  bool CanReplacing() const override { return true; }
  bool CanDoubleReplacing() const override { return mSupports64; }

  std::string EffectName() const override { return mClass.name; }
  std::string VendorName() const override { return mClass.vendor; }
  int Version() const override;
  bool HasEditor() const override;
  int LatencySamples() const override;
  int TailSamples() const override;

  std::string ParamName(int index) const override;
  std::string ParamLabel(int index) const override;
  std::string ParamDisplay(int index) const override;
  float ParamValue(int index) const override;
  void SetParamValue(int index, float normalized) override;
  std::string DisplayForNormalized(int index, float normalized) override;
  bool SetParamFromString(int index, const std::string& text) override;

  int CurrentProgram() const override { return mCurrentProgram; }
  void SetProgram(int program) override;
  std::vector<std::string> ProgramNames() override { return mProgramNames; }
  std::string ProgramName() const override;

  const char* OwnPresetExtension() const override { return ".vstpreset"; }
  bool WriteOwnPreset(std::vector<unsigned char>& file, std::string& error) override;
  bool ReadOwnPreset(const std::vector<unsigned char>& file, std::string& error) override;

private:
  // Hands one value to the processor (a flush) and to the controller.
  void Send(vst3::ParamID id, double normalized);
  std::string Display(int index, double normalized) const;

  std::unique_ptr<vst3host::Module> mModule;
  std::unique_ptr<vst3host::Instance> mInstance;
  vst3::PClassInfo2 mClass{};
  std::vector<vst3::ParameterInfo> mParams;
  vst3::ParamID mProgramParam = vst3::kNoParamId;
  std::vector<std::string> mProgramNames;
  int mCurrentProgram = 0;
  int mInputChannels = 2, mOutputChannels = 2;
  bool mSupports64 = false;
  bool mDouble = false;
  bool mActive = false;
};
