// KyvBrindlow: the Brindlow Haas widener, the same in every plug-in format. It is made
// from the product's description (KyvBrindlowInfo: identity, channels, parameters,
// presets); its engine passes one input unchanged to the leading output and a delayed,
// scaled copy to the lagging one. It knows no editor: the formats that show one attach
// it (MakeKyvBrindlow, KyvBrindlowEditor.h).
#pragma once

#include "HaasDelayLine.h"
#include "OutputCorrelationMeter.h"
#include "IPlugBase.h"
#include "IPlugStructs.h"

#include <limits>

// Final, so that the block's own calls (ParameterAt and the like) bind without a virtual call.
class KyvBrindlow final : public IPlugBase
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
  static constexpr int kUniqueID = IFourCC('k', 'y', 'v', 'h');
  static constexpr int kMfrID = IFourCC('b', 'k', 'y', 'v');
  // Pan's values: the leading side.
  enum ESide
  {
    kSideLeft = 0,
    kSideRight = 1
  };

  KyvBrindlow();
  ~KyvBrindlow() override;

  void ResetProcessing() override;
  void ParameterChanged(int index) override;
  void ProcessBlock(double** inputs, double** outputs, int frames) override;
  // Runs a 32-bit block straight through the engine when the input it reads and both
  // outputs have host buffers of their own; otherwise declines.
  bool ProcessBlockFloat(const float* const* inputs, float* const* outputs, int frames) override;
  // The host connected or disconnected an input: the input read is chosen again.
  void InputConnectionsChanged() override;
  // The lagging side rings for the delay after the input stops: ceil(delay x rate).
  int TailSamples() override;

  int InputChannelIndex() const { return mInputChannel; }
  int LeadingOutputIndex() const { return mLeadingOutput; }
  int LaggingOutputIndex() const { return mLaggingOutput; }
  const HaasDelayLine& DelayLine() const { return mDelayLine; }
  // The correlation and mono loss of the outputs, gathered while an editor shows them
  // (see OutputCorrelationMeter.h for its threads).
  OutputCorrelationMeter& OutputMeter() { return mOutputMeter; }

private:
  typedef void (KyvBrindlow::*ParameterHandler)();

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
  OutputCorrelationMeter mOutputMeter;
  double mGainDecibels = std::numeric_limits<double>::quiet_NaN(); // Wet Mix behind mGain
  double mGain = 1.0;
};

// The product's description, read by every format adapter and the editor-only binaries.
const IPlugInfo& KyvBrindlowInfo();
