// The panel while a control is worked: the value drawn in place of the scale line (or over
// the switch's caption), exactly the text the editor's own value gives; and once the gesture
// has been over for a second, the recorded picture of the panel at rest again.
#include "EditorFixture.h"

#include <memory>
#include <string>

#include "GoldenPicture.h"
#include "IBitmapControls.h"
#include "IGraphicsWindow.h"
#include "ITextRenderer.h"
#include "IValueReadout.h"
#include "bitmap.h"
#include "lice.h"

namespace
{
namespace L = KyvBrindlowLayout;

const char* const kDefaultPanelPicture = BRINDLOW_EDITOR_GOLDEN_DIR "/default_panel.png";
constexpr int kDelayReadout = 10, kMixReadout = 11, kSideReadout = 12;

class EditorReadout : public EditorFixture
{
protected:
  IGraphicsWindow* Window() const { return static_cast<IGraphicsWindow*>(mEditor); }
  IValueReadout* Readout(int index) const { return static_cast<IValueReadout*>(Control(index)); }
  void Tick(int count = 1)
  {
    for (int i = 0; i < count; ++i) Window()->HandleTick();
  }

  // The whole panel as painted now, without the draw bitmap's row padding.
  std::unique_ptr<LICE_MemBitmap> Snapshot()
  {
    PaintAll();
    auto panel = std::make_unique<LICE_MemBitmap>(L::kPanelWidth, L::kPanelHeight);
    LICE::DrawImage(panel.get(), mEditor->DrawBitmap(), 0, 0, 0, 0, L::kPanelWidth, L::kPanelHeight, 1.0f, LICE::kOpCopy);
    return panel;
  }

  static int DifferingPixels(const std::unique_ptr<LICE_MemBitmap>& a, const std::unique_ptr<LICE_MemBitmap>& b,
                             const IBounds& area)
  {
    int differing = 0;
    for (int y = area.top; y < area.bottom; ++y)
      for (int x = area.left; x < area.right; ++x)
        differing += LICE::FetchPixel(a.get(), x, y) != LICE::FetchPixel(b.get(), x, y);
    return differing;
  }

  void ExpectRestingPanel()
  {
    const std::string report = golden::MatchesFile(*Snapshot(), kDefaultPanelPicture);
    EXPECT_TRUE(report.empty()) << report;
  }
};

TEST_F(EditorReadout, ADragShowsTheValueInPlaceOfTheScaleLineUntilASecondAfterTheRelease)
{
  PaintAll();
  Tick();
  ExpectRestingPanel();
  const IValueReadout* readout = Readout(kDelayReadout);
  const IBounds line = readout->Bounds();

  mEditor->DispatchMouseDown(95, 112, kLeft);
  mEditor->DispatchMouseDrag(95, 106, kLeft);
  Tick();
  // Six pixels up, of four knob heights for the range: 20 ms + 39 ms * 6 / 312.
  ASSERT_STREQ(readout->Text(), "20.750 ms");
  EXPECT_EQ(IValueReadout::TextFor(*mPlug->ParameterAt(KyvBrindlow::kDelay), mEditor->ParameterValue(KyvBrindlow::kDelay)),
            readout->Text());
  EXPECT_FALSE(Readout(kMixReadout)->Showing());
  EXPECT_FALSE(Readout(kSideReadout)->Showing());
  const auto during = Snapshot();

  // The line is the panel with its scale labels gone and the value drawn in their place,
  // in the labels' style: the same picture, drawn here from the rest picture's pieces.
  mEditor->DispatchMouseUp(95, 106, kLeft);
  Tick(readout->LingerTicks() - 1);
  EXPECT_TRUE(readout->Showing());
  Tick();
  EXPECT_FALSE(readout->Showing());
  Control(2)->SetHidden(true);
  Control(4)->SetHidden(true);
  const auto expected = Snapshot();
  Control(2)->SetHidden(false);
  Control(4)->SetHidden(false);
  ASSERT_NE(GetTextRenderer(), nullptr);
  ASSERT_TRUE(GetTextRenderer()->RenderText(expected.get(), readout->Style(), "20.750 ms", line));
  EXPECT_EQ(DifferingPixels(during, expected, line), 0) << "the value line is the expected text";

  // Back at the value the panel started from, the panel is the recorded one.
  mEditor->DispatchMouseDown(95, 106, kLeft);
  mEditor->DispatchMouseDrag(95, 112, kLeft);
  mEditor->DispatchMouseUp(95, 112, kLeft);
  Tick();
  EXPECT_STREQ(readout->Text(), "20.000 ms");
  const auto shown = Snapshot();
  Tick(readout->LingerTicks());
  const auto rest = Snapshot();
  EXPECT_GT(DifferingPixels(shown, rest, line), 20);
  EXPECT_EQ(DifferingPixels(shown, rest, IBounds(0, 0, L::kPanelWidth, line.top)), 0) << "nothing else changed";
  EXPECT_EQ(DifferingPixels(shown, rest, IBounds(0, line.bottom, L::kPanelWidth, L::kPanelHeight)), 0);
  ExpectRestingPanel();
}

TEST_F(EditorReadout, HoverShowsTheHostsValueAndLeavingHidesIt)
{
  PaintAll();
  Tick();
  IValueReadout* readout = Readout(kMixReadout);
  EXPECT_TRUE(Window()->HandleMouseMove(272, 112, IMouseKeys(), false)) << "the back-end is asked for a leave notice";
  Tick();
  EXPECT_STREQ(readout->Text(), "0 dB");
  mEffect->setParameter(mEffect, KyvBrindlow::kWetMix, 0.295f);  // -4.1 dB
  Tick();
  EXPECT_STREQ(readout->Text(), "-4.1 dB");

  Window()->HandleMouseLeave();
  Tick(readout->LingerTicks());
  EXPECT_FALSE(readout->Showing());
  mEffect->setParameter(mEffect, KyvBrindlow::kWetMix, 0.5f);
  Tick();
  ExpectRestingPanel();
}

TEST_F(EditorReadout, TheSwitchNamesTheLeadingSideOverItsCaption)
{
  const auto rest = Snapshot();
  Tick();
  IValueReadout* readout = Readout(kSideReadout);
  mEditor->DispatchMouseDown(182, 106, kLeft);
  Tick();
  EXPECT_STREQ(readout->Text(), "Right");
  const auto pressed = Snapshot();

  // The caption is covered with the plain face below it; the side's name is drawn on that.
  const IBounds place = readout->Bounds();
  const IBitmapStrip background = static_cast<IBitmapControl*>(Control(0))->Strip();
  auto expected = std::make_unique<LICE_MemBitmap>(L::kPanelWidth, L::kPanelHeight);
  LICE::DrawImage(expected.get(), rest.get(), 0, 0, 0, 0, L::kPanelWidth, L::kPanelHeight, 1.0f, LICE::kOpCopy);
  LICE::DrawImage(expected.get(), background.bitmap, place.left, place.top, place.left, place.top + L::kSideReadoutCoverOffset,
                  place.Width(), place.Height(), 1.0f, LICE::kOpCopy);
  ASSERT_TRUE(GetTextRenderer()->RenderText(expected.get(), readout->Style(), "Right", place));
  EXPECT_EQ(DifferingPixels(pressed, expected, place), 0);
  EXPECT_GT(DifferingPixels(pressed, rest, place), 20);

  mEditor->DispatchMouseUp(182, 106, kLeft);
  mEditor->DispatchMouseDown(182, 106, kLeft);
  mEditor->DispatchMouseUp(182, 106, kLeft);
  Tick();
  EXPECT_STREQ(readout->Text(), "Left");
  Tick(readout->LingerTicks());
  ExpectRestingPanel();
}

} // namespace
