// The LV2 DSP binary's one exported symbol, lv2_descriptor: the bundle's two plug-ins
// (mono in, stereo in), each a KyvBrindlow without an editor, whose output meter reaches
// the UI through the read-out ports.
#include "IPlugLV2.h"
#include "KyvBrindlow.h"
#include "KyvBrindlowLV2.h"
#include "KyvBrindlowLV2Readouts.h"

namespace
{
IPlugBase* MakeBrindlow()
{
  return new KyvBrindlow();
}

IPlugLV2Entry* Entries()
{
  static IPlugLV2Entry entries[2];
  static const bool filled = [] {
    const IPlugLV2Info& lv2 = KyvBrindlowLV2Info();
    for (int i = 0; i < 2; ++i)
    {
      entries[i].lv2 = &lv2;
      entries[i].variant = &lv2.variants[i];
      entries[i].make = &MakeBrindlow;
      entries[i].makeReadouts = &MakeKyvBrindlowLV2Readouts;
      FillLV2Descriptor(entries[i]);
    }
    return true;
  }();
  (void)filled;
  return entries;
}
} // namespace

extern "C" __attribute__((visibility("default"))) const LV2_Descriptor* lv2_descriptor(uint32_t index)
{
  return index < uint32_t(KyvBrindlowLV2Info().variantCount) && index < 2 ? &Entries()[index].descriptor : nullptr;
}
