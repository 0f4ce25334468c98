#include "KyvBrindlow.h"
#include "KyvBrindlowLV2.h"

namespace
{
const char* const kParameterSymbols[KyvBrindlow::kNumParams] = {"delay", "pan", "wet_mix"};
const char* const kInputSymbols[] = {"in", "in_left", "in_right"};
const char* const kInputNames[] = {"In", "In Left", "In Right"};
const char* const kOutputSymbols[] = {"out_left", "out_right"};
const char* const kOutputNames[] = {"Out Left", "Out Right"};
const IPlugLV2Variant kVariants[] = {
  {KyvBrindlowLV2::kMonoUri, " (Mono)", 1, 2},
  {KyvBrindlowLV2::kStereoUri, "", 2, 2},
};
const IPlugLV2ControlPort kReadoutPorts[KyvBrindlowLV2::kNumReadouts] = {
  {"sample_rate", "Sample rate", 0.0f, 768000.0f, "units:hz"},
  {"correlation", "Output correlation", -1.0f, 1.0f, nullptr},
  {"mono_loss", "Mono sum loss", -100.0f, 3.0f, "units:db"},
  {"meter_seconds", "Correlation reading length", 0.0f, 2.0f, "units:s"},
};
const IPlugLV2Readouts kReadouts = {
  {"mono_view", "Mono check shown", 0.0f, 1.0f, nullptr},
  kReadoutPorts,
  KyvBrindlowLV2::kNumReadouts,
};
// "RESET to defaults" and the twelve named programs; the four "User" slots that follow
// are the VST host's places for its own settings, which an LV2 host keeps itself.
constexpr int kFactoryPresets = 13;
} // namespace

const IPlugLV2Info& KyvBrindlowLV2Info()
{
  static const IPlugLV2Info info = {
    &KyvBrindlowInfo(),
    kParameterSymbols,
    kInputSymbols,
    kInputNames,
    kOutputSymbols,
    kOutputNames,
    kVariants,
    int(sizeof kVariants / sizeof kVariants[0]),
    KyvBrindlowLV2::kUiUri,
    KyvBrindlowLV2::kStateKeyUri,
    KyvBrindlowLV2::kPresetUriPrefix,
    kFactoryPresets,
    "brindlow-lv2.so",
    "brindlow-lv2-ui.so",
    "brindlow.ttl",
    &kReadouts,
  };
  return info;
}
