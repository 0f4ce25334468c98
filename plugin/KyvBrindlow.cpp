#include "KyvBrindlow.h"

#include <cmath>

KyvBrindlow::KyvBrindlow() : IPlugBase(KyvBrindlowInfo())
{
  mParameterHandlers[kWetMix] = nullptr; // the gain is read at every block
  mParameterHandlers[kDelay] = &KyvBrindlow::DelayChanged;
  mParameterHandlers[kPan] = &KyvBrindlow::SideChanged;
}

KyvBrindlow::~KyvBrindlow()
{
  mDelayLine.Release();
}

void KyvBrindlow::ParameterChanged(int index)
{
  if (index < 0 || index >= kNumParams) return;
  if (ParameterHandler handler = mParameterHandlers[index]) (this->*handler)();
}

void KyvBrindlow::ResetProcessing()
{
  mOutputMeter.SetSampleRate(SampleRate());
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

int KyvBrindlow::TailSamples()
{
  const double samples = std::ceil(ParameterAt(kDelay)->Value() / 1000.0 * SampleRate());
  return samples > 0.0 && samples < 2147483647.0 ? static_cast<int>(samples) : 0;
}

void KyvBrindlow::InputConnectionsChanged()
{
  // A choice that still named a disconnected input would read silence until Pan or a
  // program changed.
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
  mOutputMeter.Add(outputs[0], outputs[1], frames);
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
  mOutputMeter.Add(outputs[0], outputs[1], frames);
  return true;
}
