// Brindlow as an LV2 bundle: two plug-ins (mono in and stereo in, stereo out) sharing one
// X11 UI. The URIs and port symbols below are the plug-ins' identity in every saved
// session and preset: they never change.
#pragma once

#include "IPlugLV2Info.h"

namespace KyvBrindlowLV2
{
constexpr const char* kMonoUri = "urn:ardelnu:brindlow:mono";
constexpr const char* kStereoUri = "urn:ardelnu:brindlow:stereo";
constexpr const char* kUiUri = "urn:ardelnu:brindlow:ui";
constexpr const char* kStateKeyUri = "urn:ardelnu:brindlow:state";
constexpr const char* kPresetUriPrefix = "urn:ardelnu:brindlow:preset:";

// The mono-check view's read-outs (IPlugLV2Readouts), ports after the audio outputs: the
// view switch "mono_view", then these outputs in this order. The DSP writes them at the
// end of every run; the meter gathers only while a UI has set mono_view to 1.
enum Readout
{
  kSampleRate,   // "sample_rate", Hz
  kCorrelation,  // "correlation", -1 ... 1 (0 without a reading)
  kMonoLoss,     // "mono_loss", dB, -100 ... 3 (0 without a reading)
  kMeterSeconds, // "meter_seconds": the audio the reading covers; 0: no valid reading
  kNumReadouts
};
// The window the DSP reads its meter over, the mono-check view's meter's.
constexpr double kMeterWindowSeconds = 0.3;
} // namespace KyvBrindlowLV2

// The bundle's description, read by both binaries and the Turtle generator.
const IPlugLV2Info& KyvBrindlowLV2Info();
