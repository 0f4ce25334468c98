// KyvBrindlow: the Brindlow Haas widener. Its constructor is the product as the host
// sees it (identity, channels, parameters, presets); its engine passes one input
// unchanged to the leading output and a delayed, scaled copy to the lagging one.
#pragma once

#include "HaasDelayLine.h"
#include "IPlugVST.h"
#include "KyvBrindlowEditor.h"

#include <limits>

class KyvBrindlow : public IPlugVST
{
public:
  enum EParams
  {
    kDelay = 0, // milliseconds of the lagging side
    kPan,       // leading side: 0 "Left", 1 "Right"
    kWetMix,    // level of the lagging side, dB
    kNumParams
  };
  static constexpr int kNumPresets = 17;
  static constexpr int kVendorVersion = 0x00010300;
  static constexpr int kUniqueID = VstFourCC('k', 'y', 'v', 'h');
  static constexpr int kMfrID = VstFourCC('b', 'k', 'y', 'v');

  explicit KyvBrindlow(audioMasterCallback hostCallback);
  ~KyvBrindlow() override;

  void ResetProcessing() override;
  void ParameterChanged(int index) override;
  void ProcessBlock(double** inputs, double** outputs, int frames) override;
  // Runs a 32-bit block straight through the engine when the input it reads and both
  // outputs have host buffers of their own; otherwise declines.
  bool ProcessBlockFloat(const float* const* inputs, float* const* outputs, int frames) override;
  // The host connected or disconnected an input: the input read is chosen again.
  void InputConnectionsChanged() override;
  // Shows the splash on the first openings of the editor (KyvBrindlowEditor.cpp).
  void EditorOpened() override;

  int InputChannelIndex() const { return mInputChannel; }
  int LeadingOutputIndex() const { return mLeadingOutput; }
  int LaggingOutputIndex() const { return mLaggingOutput; }
  const HaasDelayLine& DelayLine() const { return mDelayLine; }
  const KyvBrindlowEditor& EditorLayout() const { return mEditorLayout; }

private:
  typedef void (KyvBrindlow::*ParameterHandler)();

  void DefineParameters();
  void DefinePresets();
  // Recomputes the delay in samples from Delay and the sample rate.
  void DelayChanged();
  // Chooses the leading and lagging channels from Pan, then the input.
  void SideChanged();
  // The leading side's own input while input 1 is connected; input 0 (mono) otherwise.
  void ChooseInputChannel();
  // The lagging side's gain for the current Wet Mix, recomputed only when it changed.
  double WetMixGain();

  ParameterHandler mParameterHandlers[kNumParams];
  // Until the first run of the side handler: Left leading, input 0.
  int mInputChannel = 0;
  int mLeadingOutput = 0;
  int mLaggingOutput = 1;
  HaasDelayLine mDelayLine;
  double mGainDecibels = std::numeric_limits<double>::quiet_NaN(); // Wet Mix behind mGain
  double mGain = 1.0;
  KyvBrindlowEditor mEditorLayout; // version text, splash showings, splash control index
};
