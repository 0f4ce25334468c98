// The panel as the constructor builds it: controls, their order, rectangles, styles and
// bindings; the entry object's editor answers; the splash screen's cycle.
#include "EditorFixture.h"

#include <cstring>
#include <string>
#include <vector>

#include "IBitmapControls.h"
#include "ITextControl.h"
#include "IValueReadout.h"
#include "KyvISplashScreen.h"

namespace
{

::testing::AssertionResult SameBounds(const IBounds& actual, const IBounds& expected)
{
  if (actual == expected) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "{" << actual.left << ", " << actual.top << ", " << actual.right << ", "
                                       << actual.bottom << "} instead of {" << expected.left << ", " << expected.top
                                       << ", " << expected.right << ", " << expected.bottom << "}";
}

using EditorLayout = EditorFixture;

TEST_F(EditorLayout, ControlsComeInPaintOrderWithTheirRectangles)
{
  namespace L = KyvBrindlowLayout;
  ASSERT_EQ(mEditor->ControlCount(), 15);
  // The background image, as drawn by the artwork generator, has the panel's size.
  EXPECT_EQ(mEditor->Width(), L::kPanelWidth);
  EXPECT_EQ(mEditor->Height(), L::kPanelHeight);

  // 0: the background, a plain copy of the first image.
  auto* background = dynamic_cast<IBitmapControl*>(Control(0));
  ASSERT_NE(background, nullptr);
  EXPECT_TRUE(SameBounds(background->Bounds(), IBounds(0, 0, L::kPanelWidth, L::kPanelHeight)));
  EXPECT_EQ(background->Blend().method, kBlendCopy);
  EXPECT_EQ(background->ParamIdx(), -1);

  // 1 and 5: the knobs, vertical, four heights of travel, no edit box on right click.
  const struct
  {
    int index, param;
    IBounds bounds;
  } knobs[] = {{1, KyvBrindlow::kDelay, IBounds(L::kDelayKnobX, L::kKnobY, L::kDelayKnobX + L::kKnobSize, L::kKnobY + L::kKnobSize)},
               {5, KyvBrindlow::kWetMix, IBounds(L::kMixKnobX, L::kKnobY, L::kMixKnobX + L::kKnobSize, L::kKnobY + L::kKnobSize)}};
  for (const auto& k : knobs)
  {
    auto* knob = dynamic_cast<IKnobMultiControl*>(Control(k.index));
    ASSERT_NE(knob, nullptr) << k.index;
    EXPECT_EQ(knob->ParamIdx(), k.param);
    EXPECT_TRUE(SameBounds(knob->Bounds(), k.bounds));
    EXPECT_EQ(knob->Direction(), kKnobVertical);
    EXPECT_DOUBLE_EQ(knob->Gearing(), 4.0);
    EXPECT_TRUE(knob->NoInPlaceEdit());
    EXPECT_EQ(knob->Strip().frames, L::kKnobFrames);
    EXPECT_EQ(knob->Strip().width, L::kKnobSize);
    EXPECT_EQ(knob->Strip().height, L::kKnobSize * L::kKnobFrames);
  }
  EXPECT_EQ(static_cast<IKnobMultiControl*>(Control(1))->Strip().bitmap,
            static_cast<IKnobMultiControl*>(Control(5))->Strip().bitmap)
    << "both knobs share the one cached image";

  // 2-4 and 6-8: scale labels, low and high sharing the rectangle under the knob.
  auto Under = [](int knobX) {
    return IBounds(knobX + L::kScaleUnderLeft, L::kKnobY + L::kScaleUnderTop, knobX + L::kScaleUnderRight,
                   L::kKnobY + L::kScaleUnderBottom);
  };
  auto Above = [](int knobX) {
    return IBounds(knobX, L::kKnobY + L::kScaleMiddleTop, knobX + L::kKnobSize, L::kKnobY + L::kScaleMiddleBottom);
  };
  const struct
  {
    int index;
    IBounds bounds;
    int alignment;
    const char* text;
  } labels[] = {
    {2, Under(L::kDelayKnobX), kAlignLeft, "1ms"},   {3, Above(L::kDelayKnobX), kAlignCentre, "20ms"},
    {4, Under(L::kDelayKnobX), kAlignRight, "40ms"}, {6, Under(L::kMixKnobX), kAlignLeft, "-10dB"},
    {7, Above(L::kMixKnobX), kAlignCentre, "0dB"},   {8, Under(L::kMixKnobX), kAlignRight, "+10dB"},
  };
  for (const auto& l : labels)
  {
    auto* label = dynamic_cast<ITextControl*>(Control(l.index));
    ASSERT_NE(label, nullptr) << l.index;
    EXPECT_TRUE(SameBounds(label->Bounds(), l.bounds)) << l.text;
    EXPECT_STREQ(label->Text(), l.text);
    const ITextStyle& style = label->Style();
    EXPECT_EQ(style.mAlignment, l.alignment) << l.text;
    EXPECT_STREQ(style.Face(), "Tahoma");
    EXPECT_EQ(style.mSize, 11);
    EXPECT_EQ(style.mStyle, kTextNormal);
    EXPECT_EQ(style.mColour, IRgba(255, 33, 37, 40));
    EXPECT_NE(style.mFont, nullptr) << "each label holds its own font";
    EXPECT_EQ(label->ParamIdx(), -1);
  }

  // 9: the side switch, two frames, through the image's alpha.
  auto* pan = dynamic_cast<ISwitchControl*>(Control(9));
  ASSERT_NE(pan, nullptr);
  EXPECT_EQ(pan->ParamIdx(), KyvBrindlow::kPan);
  EXPECT_TRUE(SameBounds(pan->Bounds(), IBounds(L::kSwitchX, L::kSwitchY, L::kSwitchX + L::kSwitchWidth,
                                                 L::kSwitchY + L::kSwitchFrameHeight)));
  EXPECT_EQ(pan->Strip().frames, L::kSwitchFrames);
  EXPECT_EQ(pan->Strip().height, L::kSwitchFrameHeight * L::kSwitchFrames);
  EXPECT_EQ(pan->Blend().method, kBlendThroughAlpha);

  // 10-12: the read-outs of the knobs (each in place of the scale line under it, whose two
  // labels it hides while it shows) and of the switch (over the caption under it).
  const struct
  {
    int index, source;
    IBounds bounds;
    std::vector<int> standIns;
  } readouts[] = {{10, 1, Under(L::kDelayKnobX), {2, 4}},
                  {11, 5, Under(L::kMixKnobX), {6, 8}},
                  {12, 9, IBounds(L::kSideReadoutLeft, L::kSideReadoutTop, L::kSideReadoutRight, L::kSideReadoutBottom), {}}};
  for (const auto& r : readouts)
  {
    auto* readout = dynamic_cast<IValueReadout*>(Control(r.index));
    ASSERT_NE(readout, nullptr) << r.index;
    EXPECT_EQ(readout->Source(), r.source);
    EXPECT_TRUE(SameBounds(readout->Bounds(), r.bounds)) << r.index;
    EXPECT_EQ(readout->StandIns(), r.standIns) << r.index;
    EXPECT_EQ(readout->Style().mSize, 11);
    EXPECT_EQ(readout->Style().mAlignment, kAlignCentre);
    EXPECT_EQ(readout->Style().mColour, IRgba(255, 33, 37, 40));
    EXPECT_FALSE(readout->Showing());
  }
  EXPECT_TRUE(mEditor->TrackHover()) << "the read-outs follow the pointer";

  // 13: the splash, centred, over everything else it covers; 14: the version line.
  auto* splash = dynamic_cast<KyvISplashScreen*>(Control(13));
  ASSERT_NE(splash, nullptr);
  const int splashX = (L::kPanelWidth - L::kSplashWidth) / 2, splashY = (L::kPanelHeight - L::kSplashHeight) / 2;
  EXPECT_TRUE(SameBounds(splash->Bounds(), IBounds(splashX, splashY, splashX + L::kSplashWidth, splashY + L::kSplashHeight)));
  EXPECT_EQ(splash->ParamIdx(), -1);
  EXPECT_TRUE(SameBounds(splash->HiddenTargetArea(), IBounds(0, 0, L::kPanelWidth, L::kHeaderHeight)));
  EXPECT_EQ(Layout().SplashIndex(), 13);

  auto* version = dynamic_cast<ITextControl*>(Control(14));
  ASSERT_NE(version, nullptr);
  EXPECT_TRUE(SameBounds(version->Bounds(), IBounds(L::kVersionLeft, L::kVersionTop, L::kVersionRight, L::kVersionBottom)));
  EXPECT_STREQ(version->Text(), "v1.03");
  EXPECT_EQ(version->Style().mSize, 12);
  EXPECT_EQ(version->Style().mStyle, kTextBold);
  EXPECT_EQ(version->Style().mAlignment, kAlignCentre);
  EXPECT_EQ(version->Style().mColour, IRgba(255, 57, 64, 70));
}

TEST_F(EditorLayout, ControlsStartAtTheParameterDefaults)
{
  EXPECT_NEAR(Control(1)->Value(), (20.0 - 1.0) / 39.0, 1e-9);
  EXPECT_NEAR(Control(5)->Value(), 0.5, 1e-9);
  EXPECT_EQ(Control(9)->Value(), 0.0);
  EXPECT_EQ(Splash()->Value(), 0.0) << "the splash starts hidden";
}

TEST_F(EditorLayout, TheHostSeesAnEditorOfThePanelSize)
{
  EXPECT_EQ(mEffect->flags, 0x1011) << "editor, replacing and double replacing";
  ERect* rect = nullptr;
  ASSERT_EQ(Dispatch(effEditGetRect, 0, 0, &rect), 1);
  ASSERT_NE(rect, nullptr);
  EXPECT_EQ(rect->top, 0);
  EXPECT_EQ(rect->left, 0);
  EXPECT_EQ(rect->bottom, KyvBrindlowLayout::kPanelHeight);
  EXPECT_EQ(rect->right, KyvBrindlowLayout::kPanelWidth);
  // No window system here: the editor cannot open, and says so.
  EXPECT_EQ(Dispatch(effEditOpen, 0, 0, nullptr), 0);
  EXPECT_EQ(Layout().SplashShowsLeft(), 3) << "a failed opening shows no splash";
}

using SplashScreen = EditorFixture;

TEST_F(SplashScreen, TheFirstThreeOpeningsShowIt)
{
  IControl* splash = Splash();
  for (int opening = 1; opening <= 3; ++opening)
  {
    Opened();
    PaintAll();
    EXPECT_EQ(splash->Value(), 1.0) << "opening " << opening;
    EXPECT_EQ(Layout().SplashShowsLeft(), 3 - opening);
    // The user clicks it away.
    mEditor->DispatchMouseDown(200, 180, kLeft);
    mEditor->DispatchMouseUp(200, 180, kLeft);
    PaintAll();
    EXPECT_EQ(splash->Value(), 0.0) << "opening " << opening;
  }
  Opened();
  PaintAll();
  EXPECT_EQ(splash->Value(), 0.0) << "the fourth opening leaves it as the user left it";
  EXPECT_EQ(Layout().SplashShowsLeft(), 0);
}

TEST_F(SplashScreen, ANeverDismissedSplashStaysAcrossOpenings)
{
  for (int i = 0; i < 5; ++i) Opened();
  PaintAll();
  EXPECT_EQ(Splash()->Value(), 1.0);
  EXPECT_EQ(Layout().SplashShowsLeft(), 0);
}

TEST_F(SplashScreen, WhileShownAClickAnywhereHidesItAndReachesNothingElse)
{
  Opened();
  PaintAll();
  Calls().clear();
  const double delayBefore = Control(1)->Value();
  // On the Delay knob, outside the splash picture: the splash still takes it.
  mEditor->DispatchMouseDown(60, 80, kLeft);
  mEditor->DispatchMouseDrag(60, 40, kLeft);
  mEditor->DispatchMouseUp(60, 40, kLeft);
  EXPECT_EQ(Control(1)->Value(), delayBefore);
  EXPECT_EQ(Splash()->Value(), 0.0);
  EXPECT_TRUE(CallsOf(audioMasterBeginEdit).empty());
  EXPECT_TRUE(CallsOf(audioMasterAutomate).empty());
  // Hidden after the next paint: the panel's controls get clicks again.
  PaintAll();
  EXPECT_EQ(mEditor->ControlAt(95, 112), 1);
  EXPECT_EQ(mEditor->ControlAt(180, 106), 9);
}

TEST_F(SplashScreen, WhileHiddenOnlyTheTopStripShowsIt)
{
  PaintAll();
  mEditor->DispatchMouseDown(10, 40, kLeft);
  mEditor->DispatchMouseUp(10, 40, kLeft);
  PaintAll();
  EXPECT_EQ(Splash()->Value(), 0.0) << "below the strip the background gets the click";
  mEditor->DispatchMouseDown(10, 10, kLeft);
  mEditor->DispatchMouseUp(10, 10, kLeft);
  EXPECT_EQ(Splash()->Value(), 1.0);
  PaintAll();
  EXPECT_EQ(mEditor->ControlAt(1, 200), Layout().SplashIndex()) << "shown, it covers the whole editor";
  // A right click changes nothing: the splash has no parameter to edit.
  mEditor->DispatchMouseDown(300, 200, kRight);
  mEditor->DispatchMouseUp(300, 200, kRight);
  EXPECT_EQ(Splash()->Value(), 1.0);
}

TEST_F(SplashScreen, AnOpeningThatFindsNoSplashControlChangesNoControl)
{
  // A layout whose splash index names no control (nothing was built): the opening still
  // counts, but no control of the editor is touched.
  PaintAll();
  PaintAll(); // values pushed at attachment are painted on two ticks
  KyvBrindlowEditor unbuilt;
  ASSERT_EQ(mEditor->GetControl(unbuilt.SplashIndex()), nullptr);
  unbuilt.Opened(mEditor);
  EXPECT_EQ(unbuilt.SplashShowsLeft(), 2);
  IBounds dirty;
  EXPECT_FALSE(mEditor->CollectDirty(dirty));
  EXPECT_EQ(Splash()->Value(), 0.0);
}

} // namespace
