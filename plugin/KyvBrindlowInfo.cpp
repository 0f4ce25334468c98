// The product as every host sees it: identity, channels, parameters and programs.
#include "KyvBrindlow.h"

namespace
{
struct NamedPreset
{
  const char* name;
  double delayMs;
  int side;
  double wetMixDb;
};

// Programs 1 ... 12; program 0 and 13 ... 16 take the defaults.
const NamedPreset kNamedPresets[] = {
  {"Vocal Doubler", 40.0, KyvBrindlow::kSideLeft, -4.1},
  {"Female Vocal", 25.1, KyvBrindlow::kSideLeft, -6.9},
  {"Background Vocals", 33.4, KyvBrindlow::kSideLeft, 3.0},
  {"Heavy Guitar", 23.6, KyvBrindlow::kSideLeft, 1.3},
  {"Rock Guitar", 15.1, KyvBrindlow::kSideLeft, 0.0},
  {"Acoustic Guitar", 12.3, KyvBrindlow::kSideLeft, 0.0},
  {"Keyboard", 30.7, KyvBrindlow::kSideLeft, 0.0},
  {"Drum Mix", 4.7, KyvBrindlow::kSideLeft, 3.3},
  {"Snare Drum", 1.0, KyvBrindlow::kSideLeft, 0.0},
  {"Percussion", 7.0, KyvBrindlow::kSideLeft, 0.0},
  {"Saxophone", 40.0, KyvBrindlow::kSideLeft, -2.0},
  {"Basic Stereo", 10.0, KyvBrindlow::kSideLeft, 0.0},
};

void DefineParameters(IPlugBase& plug)
{
  plug.ParameterAt(KyvBrindlow::kDelay)->DefineContinuous("Delay", 20.0, 1.0, 40.0, 0.001, "ms");
  IParameter* pan = plug.ParameterAt(KyvBrindlow::kPan);
  pan->DefineChoice("Pan", KyvBrindlow::kSideLeft, 2);
  pan->AddDisplayText(KyvBrindlow::kSideLeft, "Left");
  pan->AddDisplayText(KyvBrindlow::kSideRight, "Right");
  plug.ParameterAt(KyvBrindlow::kWetMix)->DefineContinuous("Wet Mix", 0.0, -10.0, 10.0, 0.1, "dB");
}

void DefinePresets(IPlugBase& plug)
{
  plug.CapturePresets("RESET to defaults", 1);
  for (const NamedPreset& preset : kNamedPresets)
    plug.DefinePreset(preset.name, preset.delayMs, preset.side, preset.wetMixDb);
  plug.CapturePresets("User 1", 1);
  plug.CapturePresets("User 2", 1);
  plug.CapturePresets("User 3", 1);
  plug.CapturePresets("User 4", 1);
}
} // namespace

const IPlugInfo& KyvBrindlowInfo()
{
  static const IPlugInfo info = {
    "Brindlow-Mono/Stereo Delay", // effect name
    "",                           // product name
    "Ardelnu",                    // vendor
    KyvBrindlow::kVendorVersion,
    KyvBrindlow::kUniqueID,
    KyvBrindlow::kMfrID,
    "1-2 2-2", // mono or stereo in, stereo out
    KyvBrindlow::kNumParams,
    KyvBrindlow::kNumPresets,
    0,     // latency
    false, // MIDI
    false, // chunks
    false, // instrument
    366,   // editor width
    212,   // editor height
    &DefineParameters,
    &DefinePresets,
  };
  return info;
}
