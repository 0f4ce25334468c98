// The LV2 DSP's read-outs for the mono-check view (KyvBrindlowLV2::Readout): the rate the
// instance was made with and the output meter's reading, which the meter gathers only
// while a UI shows the view.
#pragma once

#include "IPlugLV2.h"

// For IPlugLV2Entry::makeReadouts; plug is a KyvBrindlow.
IPlugLV2ReadoutSource* MakeKyvBrindlowLV2Readouts(IPlugBase* plug);
