#include "KyvBrindlowLV2Readouts.h"

#include <algorithm>
#include <cmath>

#include "KyvBrindlow.h"
#include "KyvBrindlowLV2.h"

namespace
{
// Audio thread: a few dozen atomic loads a run while the view shows, nothing besides.
class MeterReadouts final : public IPlugLV2ReadoutSource
{
public:
  explicit MeterReadouts(KyvBrindlow& plug) : mMeter(plug.OutputMeter()), mRate(float(plug.SampleRate())) {}

  void SetViewShown(bool shown) override { mMeter.SetActive(shown); }

  void Read(float* values) override
  {
    using namespace KyvBrindlowLV2;
    values[kSampleRate] = mRate; // an LV2 instance keeps the rate it was made with
    const CorrelationReading r = mMeter.Active() ? mMeter.Read(kMeterWindowSeconds) : CorrelationReading();
    const bool valid = r.valid && std::isfinite(r.correlation) && std::isfinite(r.monoLossDb) && r.seconds > 0.0;
    values[kCorrelation] = valid ? float(std::clamp(r.correlation, -1.0, 1.0)) : 0.0f;
    values[kMonoLoss] = valid ? float(std::clamp(r.monoLossDb, OutputCorrelationMeter::kFloorDb, 3.0)) : 0.0f;
    values[kMeterSeconds] = valid ? float(std::min(r.seconds, 2.0)) : 0.0f;
  }

private:
  OutputCorrelationMeter& mMeter;
  float mRate;
};
} // namespace

IPlugLV2ReadoutSource* MakeKyvBrindlowLV2Readouts(IPlugBase* plug)
{
  return new MeterReadouts(*static_cast<KyvBrindlow*>(plug));
}
