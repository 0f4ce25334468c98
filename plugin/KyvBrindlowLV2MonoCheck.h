// What the LV2 UI's mono-check view reads of the plug-in: the DSP's read-out ports as the
// host reports them (sample rate, output meter), and the view switch it writes back, so
// that the DSP meters only while a UI shows the view. GUI thread, as every UI call.
#pragma once

#include "IPlugLV2UI.h"
#include "KyvBrindlowMonoCheck.h"

class KyvBrindlowLV2MonoCheckSource final : public IMonoCheckSource
{
public:
  // readouts: the UI adapter's, which outlives the editor that owns this source.
  explicit KyvBrindlowLV2MonoCheckSource(IPlugLV2UIReadouts& readouts) : mReadouts(readouts) {}

  // 0 until the host reported a usable rate.
  double SampleRate() const override;
  void SetMeterActive(bool active) override { mReadouts.SetViewShown(active); }
  // The DSP's reading over its own window (KyvBrindlowLV2::kMeterWindowSeconds), whatever
  // seconds asks: the ports carry one reading.
  CorrelationReading ReadMeter(double seconds) const override;

private:
  IPlugLV2UIReadouts& mReadouts;
};
