// The panel's geometry in editor pixels, written once: the editor layout
// (KyvBrindlowEditor.cpp), the artwork generator (tools/make-artwork) and the layout test
// read it, so the pictures and the controls placed on them cannot drift apart. Plain
// constants, so the generator needs nothing else from the plug-in.
#pragma once

namespace KyvBrindlowLayout
{
// The background, and the dark strip along its top (while the splash is hidden, a click
// there shows it again).
constexpr int kPanelWidth = 366, kPanelHeight = 212;
constexpr int kHeaderHeight = 34;

// Film-strip knobs: frames of kKnobSize square, placed by their top-left corners.
constexpr int kKnobSize = 78;
constexpr int kKnobFrames = 65;
constexpr int kDelayKnobX = 56, kMixKnobX = 233, kKnobY = 73;
// A knob's scale labels, relative to its corner: low and high share one rectangle under the
// knob, wider than it; the middle one sits above it, as wide as the knob; the name (when
// shown) below the scale.
constexpr int kScaleUnderLeft = -18, kScaleUnderRight = kKnobSize + 18;
constexpr int kScaleUnderTop = 74, kScaleUnderBottom = 87;
constexpr int kScaleMiddleTop = -21, kScaleMiddleBottom = -8;
constexpr int kNameTop = 89, kNameBottom = 102;

// The side switch: two frames of kSwitchWidth x kSwitchFrameHeight, stacked.
constexpr int kSwitchX = 159, kSwitchY = 96;
constexpr int kSwitchWidth = 47, kSwitchFrameHeight = 21, kSwitchFrames = 2;

// Where the side's name shows while the switch is worked: over the "LEADING SIDE" caption
// printed in the background under the switch, covered first with the plain face the
// offset's rows below it.
constexpr int kSideReadoutLeft = 145, kSideReadoutTop = 121, kSideReadoutRight = 221, kSideReadoutBottom = 134;
constexpr int kSideReadoutCoverOffset = 15;

// The splash, centred on the panel.
constexpr int kSplashWidth = 225, kSplashHeight = 90;

// The version line along the foot of the panel.
constexpr int kVersionLeft = 56, kVersionTop = 196, kVersionRight = 312, kVersionBottom = 209;

// The mono-check strip, shown under the panel on request: the editor grows by it. The
// response plot on the left, the output meter on the right; each fills its own part.
constexpr int kMonoStripHeight = 120;
constexpr int kMonoPlotRight = 262; // the plot part: 0 ... kMonoPlotRight; the meter the rest
// Inside the plot part, relative to the strip's top: the axes' area.
constexpr int kMonoAxesLeft = 30, kMonoAxesRight = 254, kMonoAxesTop = 12, kMonoAxesBottom = 90;
} // namespace KyvBrindlowLayout
