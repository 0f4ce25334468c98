// The mono check of one setting of Brindlow, as the editor's mono-check view shows it:
// the engine's own response to an impulse, analysed by the analysis brindlow-render's
// --mono-check runs (MonoResponse.h), and what the view needs of the running plug-in.
#pragma once

#include "MonoResponse.h"
#include "OutputCorrelationMeter.h"

struct KyvBrindlowSetting
{
  double sampleRate = 44100.0;
  double delayMs = 20.0;
  double wetMixDb = 0.0;
  int leadingSide = 0; // KyvBrindlow::kSideLeft or kSideRight
};

// The outputs after a unit impulse, as the engine makes them for |setting|: the leading
// side the impulse, the lagging one its delayed, scaled copy. Empty for a rate the
// engine refuses.
ImpulseResponse KyvBrindlowImpulseResponse(const KyvBrindlowSetting& setting);
// Its analysis (the direct transform: a delay's response has two taps). Any thread.
MonoCheckResult KyvBrindlowMonoCheck(const KyvBrindlowSetting& setting);

// What the view needs of the plug-in beside the parameter values it takes from the
// editor's slots: the sample rate the plug-in runs at and its output meter. The plug-in
// with its editor attached answers from its DSP; an editor without one (the LV2 UI)
// from what the plug-in sends it. GUI thread.
class IMonoCheckSource
{
public:
  virtual ~IMonoCheckSource() = default;
  // The rate the plug-in runs at; 0 while it is not known.
  virtual double SampleRate() const = 0;
  // The view is shown (the meter gathers) or hidden (it costs nothing).
  virtual void SetMeterActive(bool active) = 0;
  // The newest |seconds| of the output meter.
  virtual CorrelationReading ReadMeter(double seconds) const = 0;
};
