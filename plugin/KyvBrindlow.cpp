#include "KyvBrindlow.h"

#include "IPlugLock.h"

namespace
{
const char* const kEffectName = "Brindlow-Mono/Stereo Delay";
const char* const kVendorName = "Ardelnu";
const char* const kChannelIO = "1-2 2-2"; // mono or stereo in, stereo out

enum ESide
{
  kSideLeft = 0,
  kSideRight = 1
};

struct NamedPreset
{
  const char* name;
  double delayMs;
  int side;
  double wetMixDb;
};

// Programs 1 ... 12; program 0 and 13 ... 16 take the defaults.
const NamedPreset kNamedPresets[] = {
  {"Vocal Doubler", 40.0, kSideLeft, -4.1},
  {"Female Vocal", 25.1, kSideLeft, -6.9},
  {"Background Vocals", 33.4, kSideLeft, 3.0},
  {"Heavy Guitar", 23.6, kSideLeft, 1.3},
  {"Rock Guitar", 15.1, kSideLeft, 0.0},
  {"Acoustic Guitar", 12.3, kSideLeft, 0.0},
  {"Keyboard", 30.7, kSideLeft, 0.0},
  {"Drum Mix", 4.7, kSideLeft, 3.3},
  {"Snare Drum", 1.0, kSideLeft, 0.0},
  {"Percussion", 7.0, kSideLeft, 0.0},
  {"Saxophone", 40.0, kSideLeft, -2.0},
  {"Basic Stereo", 10.0, kSideLeft, 0.0},
};
} // namespace

KyvBrindlow::KyvBrindlow(audioMasterCallback hostCallback)
  : IPlugVST(hostCallback, kNumParams, kChannelIO, kNumPresets, kEffectName, "", kVendorName,
             kVendorVersion, kUniqueID, kMfrID, 0 /* latency */, false /* MIDI */,
             false /* chunks */, false /* instrument */)
{
  DefineParameters();

  mParameterHandlers[kWetMix] = nullptr; // the gain is read at every block
  mParameterHandlers[kDelay] = &KyvBrindlow::DelayChanged;
  mParameterHandlers[kPan] = &KyvBrindlow::SideChanged;

  DefinePresets();
  mEditorLayout.Build(this);
}

KyvBrindlow::~KyvBrindlow()
{
  mDelayLine.Release();
}

void KyvBrindlow::DefineParameters()
{
  ParameterAt(kDelay)->DefineContinuous("Delay", 20.0, 1.0, 40.0, 0.001, "ms");
  IParameter* pan = ParameterAt(kPan);
  pan->DefineChoice("Pan", kSideLeft, 2);
  pan->AddDisplayText(kSideLeft, "Left");
  pan->AddDisplayText(kSideRight, "Right");
  ParameterAt(kWetMix)->DefineContinuous("Wet Mix", 0.0, -10.0, 10.0, 0.1, "dB");
}

void KyvBrindlow::DefinePresets()
{
  CapturePresets("RESET to defaults", 1);
  for (const NamedPreset& preset : kNamedPresets)
    DefinePreset(preset.name, preset.delayMs, preset.side, preset.wetMixDb);
  CapturePresets("User 1", 1);
  CapturePresets("User 2", 1);
  CapturePresets("User 3", 1);
  CapturePresets("User 4", 1);
}

void KyvBrindlow::ParameterChanged(int index)
{
  IPlugLockGuard guard(Lock());
  if (index < 0 || index >= kNumParams) return;
  if (ParameterHandler handler = mParameterHandlers[index]) (this->*handler)();
}

void KyvBrindlow::ResetProcessing()
{
  IPlugLockGuard guard(Lock());
  // Without a usable rate there is no delay line: the lagging side stays silent
  // and the leading side passes the input.
  if (!HostSampleRateUsable())
  {
    mDelayLine.Release();
    return;
  }
  double minDelay = 0.0, maxDelay = 0.0;
  ParameterAt(kDelay)->Bounds(&minDelay, &maxDelay);
  mDelayLine.Rebuild(SampleRate(), ParameterAt(kDelay)->Value(), maxDelay);
}

void KyvBrindlow::DelayChanged()
{
  mDelayLine.SetDelay(SampleRate(), ParameterAt(kDelay)->Value());
}

void KyvBrindlow::SideChanged()
{
  const int side = static_cast<int>(ParameterAt(kPan)->Value());
  mLaggingOutput = side == kSideLeft ? 1 : 0;
  mLeadingOutput = side == kSideLeft ? 0 : 1;
  ChooseInputChannel();
}

void KyvBrindlow::ChooseInputChannel()
{
  mInputChannel = IsInputConnected(1) ? mLeadingOutput : 0;
}

void KyvBrindlow::InputConnectionsChanged()
{
  // A choice that still named a disconnected input would read silence until Pan or a
  // program changed.
  IPlugLockGuard guard(Lock());
  ChooseInputChannel();
}

double KyvBrindlow::WetMixGain()
{
  // Compared at every block rather than set by a handler: presets and stored state
  // may change the value without one. A NaN never compares equal and is recomputed.
  const IParameter* wetMix = ParameterAt(kWetMix);
  if (!(wetMix->Value() == mGainDecibels))
  {
    mGain = wetMix->GainFromDecibels();
    mGainDecibels = wetMix->Value();
  }
  return mGain;
}

void KyvBrindlow::ProcessBlock(double** inputs, double** outputs, int frames)
{
  if (!inputs || !outputs) return;
  mDelayLine.Process(inputs[mInputChannel], outputs[mLeadingOutput], outputs[mLaggingOutput], frames,
                     WetMixGain());
}

bool KyvBrindlow::ProcessBlockFloat(const float* const* inputs, float* const* outputs, int frames)
{
  if (!inputs || !outputs) return false;
  const float* in = inputs[mInputChannel];
  float* lead = outputs[mLeadingOutput];
  float* lag = outputs[mLaggingOutput];
  // A missing input reads silence and a missing output is dropped on the 64-bit route;
  // with one host buffer for both outputs that route leaves the second output's samples.
  if (!in || !lead || !lag || lead == lag) return false;
  mDelayLine.ProcessFloat(in, lead, lag, frames, WetMixGain());
  return true;
}
