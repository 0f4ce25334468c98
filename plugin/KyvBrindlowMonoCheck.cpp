#include "KyvBrindlowMonoCheck.h"

#include "HaasDelayLine.h"
#include "IParam.h"

ImpulseResponse KyvBrindlowImpulseResponse(const KyvBrindlowSetting& setting)
{
  ImpulseResponse response;
  response.sampleRate = setting.sampleRate;
  HaasDelayLine line;
  if (!line.Rebuild(setting.sampleRate, setting.delayMs)) return response;
  // The delay and a frame: the lagging side's tap is the last sample.
  const int32_t frames = line.DelaySamples() + 1;
  const size_t length = size_t(frames);
  std::vector<double> in(length, 0.0), lead(length), lag(length);
  in[0] = 1.0;
  line.Process(in.data(), lead.data(), lag.data(), frames, IParameter::GainForDecibels(setting.wetMixDb));
  const bool rightLeads = setting.leadingSide != 0;
  response.left = rightLeads ? lag : lead;
  response.right = rightLeads ? lead : lag;
  return response;
}

MonoCheckResult KyvBrindlowMonoCheck(const KyvBrindlowSetting& setting)
{
  return AnalyseResponse(KyvBrindlowImpulseResponse(setting), &DirectSpectrum, false);
}
