// Brindlow as the formats that carry the editor in the plug-in's own module make it.
#include "KyvBrindlow.h"
#include "KyvBrindlowEditor.h"
#include "KyvBrindlowMonoCheck.h"

namespace
{
// The mono-check strip reads the plug-in's own meter and rate.
class DspMonoCheckSource final : public IMonoCheckSource
{
public:
  explicit DspMonoCheckSource(OutputCorrelationMeter& meter) : mMeter(meter) {}
  double SampleRate() const override { return mMeter.SampleRate(); }
  void SetMeterActive(bool active) override { mMeter.SetActive(active); }
  CorrelationReading ReadMeter(double seconds) const override { return mMeter.Read(seconds); }

private:
  OutputCorrelationMeter& mMeter;
};
}  // namespace

KyvBrindlow* MakeKyvBrindlow()
{
  KyvBrindlow* plug = new KyvBrindlow();
  auto* editor = new KyvBrindlowGraphics(plug);
  editor->SetMonoCheckSource(std::make_unique<DspMonoCheckSource>(plug->OutputMeter()));
  plug->AttachEditor(editor);
  return plug;
}
