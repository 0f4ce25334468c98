#include "KyvBrindlowLV2MonoCheck.h"

#include <algorithm>
#include <cmath>

#include "KyvBrindlowLV2.h"

double KyvBrindlowLV2MonoCheckSource::SampleRate() const
{
  const float rate = mReadouts.Readout(KyvBrindlowLV2::kSampleRate);
  return std::isfinite(rate) && rate > 0.0f ? double(rate) : 0.0;
}

CorrelationReading KyvBrindlowLV2MonoCheckSource::ReadMeter(double) const
{
  using namespace KyvBrindlowLV2;
  CorrelationReading reading;
  const float seconds = mReadouts.Readout(kMeterSeconds);
  const float correlation = mReadouts.Readout(kCorrelation);
  const float loss = mReadouts.Readout(kMonoLoss);
  // A host passes on what the DSP wrote; anything else reads as no reading.
  if (!(seconds > 0.0f) || !std::isfinite(seconds) || !std::isfinite(correlation) || !std::isfinite(loss))
    return reading;
  reading.valid = true;
  reading.seconds = double(seconds);
  reading.correlation = std::clamp(double(correlation), -1.0, 1.0);
  reading.monoLossDb = std::clamp(double(loss), OutputCorrelationMeter::kFloorDb, 3.0);
  return reading;
}
