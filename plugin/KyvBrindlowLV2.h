// Brindlow as an LV2 bundle: two plug-ins (mono in and stereo in, stereo out) sharing one
// X11 UI. The URIs and port symbols below are the plug-ins' identity in every saved
// session and preset: they never change.
#pragma once

#include "IPlugLV2Info.h"

namespace KyvBrindlowLV2
{
constexpr const char* kMonoUri = "urn:ardelnu:brindlow:mono";
constexpr const char* kStereoUri = "urn:ardelnu:brindlow:stereo";
constexpr const char* kUiUri = "urn:ardelnu:brindlow:ui";
constexpr const char* kStateKeyUri = "urn:ardelnu:brindlow:state";
constexpr const char* kPresetUriPrefix = "urn:ardelnu:brindlow:preset:";
} // namespace KyvBrindlowLV2

// The bundle's description, read by both binaries and the Turtle generator.
const IPlugLV2Info& KyvBrindlowLV2Info();
