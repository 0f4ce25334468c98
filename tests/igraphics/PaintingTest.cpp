// The painting cycle, frame selection and the direct pixel primitives.
#include <gtest/gtest.h>

#include "IBitmapControls.h"
#include "ITextControl.h"
#include "TestSupport.h"

namespace {

class PaintingTest : public ::testing::Test
{
protected:
  PaintingTest() : plug(3, &log)
  {
    graphics = new TestGraphics(&plug, 366, 212);
    plug.AttachEditor(graphics);
  }

  ProbeControl* Add(const IBounds& bounds, const char* name, int paramIdx = -1)
  {
    auto* control = new ProbeControl(&plug, bounds, paramIdx, name, &log);
    graphics->AddControl(control);
    return control;
  }

  // One tick of the window layer: collect, then paint what was found.
  bool Tick(IBounds* painted = nullptr)
  {
    IBounds area;
    if (!graphics->CollectDirty(area)) return false;
    graphics->PaintArea(area);
    if (painted) *painted = area;
    return true;
  }

  EventLog log;
  TestPlug plug;
  TestGraphics* graphics;
};

TEST_F(PaintingTest, AValueFromThePluginIsPaintedOnTwoTicksAUserGestureOnOne)
{
  ProbeControl* knob = Add(IBounds(10, 10, 20, 20), "k", 0);
  EXPECT_TRUE(Tick());  // constructed dirty
  EXPECT_FALSE(Tick());

  knob->ValueFromPlugin(0.5);
  EXPECT_TRUE(Tick());
  EXPECT_TRUE(Tick());
  EXPECT_FALSE(Tick());

  knob->SetValue(0.7);
  knob->MarkDirty(false);
  EXPECT_TRUE(Tick());
  EXPECT_FALSE(Tick());

  knob->ValueFromPlugin(0.7);  // same value: nothing to paint
  EXPECT_FALSE(Tick());

  knob->SetHidden(true);
  EXPECT_TRUE(Tick());
  EXPECT_TRUE(Tick());
  EXPECT_FALSE(Tick());
}

TEST_F(PaintingTest, ValueArrivingDuringAPaintIsPaintedOnTheNextTick)
{
  ProbeControl* knob = Add(IBounds(10, 10, 20, 20), "k", 0);
  Tick();
  IBounds area;
  ASSERT_FALSE(graphics->CollectDirty(area));
  knob->MarkDirty(false);
  ASSERT_TRUE(graphics->CollectDirty(area));
  knob->ValueFromPlugin(0.25);  // between the collection and the paint
  graphics->PaintArea(area);
  EXPECT_TRUE(knob->NeedsRedraw());
}

// Runs the editor's MarkClean in the middle of ValueFromPlugin, after the value
// and the dirty flag were written and before redraw pending is.
class InterruptedControl : public ProbeControl
{
public:
  using ProbeControl::ProbeControl;
  void MarkDirty(bool send) override
  {
    ProbeControl::MarkDirty(send);
    if (interrupt) MarkClean();
  }
  bool interrupt = false;
};

TEST_F(PaintingTest, AValueWhoseFlagsStraddleAMarkCleanIsStillPainted)
{
  auto* knob = new InterruptedControl(&plug, IBounds(10, 10, 20, 20), 0, "k", &log);
  graphics->AddControl(knob);
  Tick();
  knob->interrupt = true;
  knob->ValueFromPlugin(0.5);
  knob->interrupt = false;
  EXPECT_TRUE(Tick());
  EXPECT_TRUE(Tick());
  EXPECT_FALSE(Tick());
}

TEST_F(PaintingTest, CollectDirtyUnitesBoundsOfDirtyControlsHiddenOnesIncluded)
{
  ProbeControl* a = Add(IBounds(10, 10, 20, 20), "a");
  ProbeControl* b = Add(IBounds(100, 50, 120, 60), "b");
  ProbeControl* c = Add(IBounds(300, 0, 310, 5), "c");
  Tick();
  IBounds area;
  EXPECT_FALSE(graphics->CollectDirty(area));
  EXPECT_TRUE(area.IsEmpty());

  b->SetTargetArea(IBounds(0, 0, 1, 1));  // the target area does not count
  a->MarkDirty(false);
  b->MarkDirty(false);
  EXPECT_TRUE(graphics->CollectDirty(area));
  EXPECT_EQ(area, IBounds(10, 10, 120, 60));

  Tick();
  c->SetHidden(true);
  area = IBounds();
  EXPECT_TRUE(graphics->CollectDirty(area));
  EXPECT_EQ(area, IBounds(300, 0, 310, 5));
}

TEST_F(PaintingTest, StrictPaintingPaintsOverlappingVisibleControlsAndCleansAll)
{
  Add(IBounds(0, 0, 366, 212), "back");
  Add(IBounds(10, 10, 20, 20), "a");
  ProbeControl* b = Add(IBounds(20, 20, 30, 30), "b");  // touches a's corner
  Add(IBounds(200, 100, 210, 110), "far");
  ProbeControl* hidden = Add(IBounds(10, 10, 20, 20), "hidden");
  hidden->SetHidden(true);
  Tick();
  Tick();
  log.clear();
  graphics->presented.clear();

  // The area's own right and bottom edges touch b's top-left corner.
  EXPECT_TRUE(graphics->PaintArea(IBounds(10, 10, 20, 20)));
  EXPECT_EQ(log, (EventLog{"back paint", "a paint", "b paint"}));
  EXPECT_EQ(graphics->DrawArea(), IBounds(10, 10, 20, 20));
  ASSERT_EQ(graphics->presented.size(), 1u);
  EXPECT_EQ(graphics->presented[0], IBounds(10, 10, 20, 20));
  EXPECT_FALSE(b->NeedsRedraw());
  EXPECT_FALSE(hidden->NeedsRedraw());
}

TEST_F(PaintingTest, PaintingWithoutControlsPresentsNothing)
{
  EXPECT_TRUE(graphics->PaintArea(IBounds(0, 0, 10, 10)));
  EXPECT_TRUE(graphics->presented.empty());
}

TEST_F(PaintingTest, BackgroundMethodRepaintsEverythingWhenTheBackgroundIsDirty)
{
  graphics->SetStrictPainting(false);
  Add(IBounds(0, 0, 100, 100), "back");
  Add(IBounds(10, 10, 20, 20), "a");
  ProbeControl* hidden = Add(IBounds(50, 50, 60, 60), "hidden");
  hidden->SetHidden(true);
  graphics->PaintArea(IBounds(0, 0, 100, 100));
  EXPECT_EQ(log, (EventLog{"back paint", "a paint"}));
  EXPECT_EQ(graphics->DrawArea(), IBounds(0, 0, 100, 100));
  EXPECT_TRUE(hidden->NeedsRedraw());  // neither painted nor cleaned
}

TEST_F(PaintingTest, BackgroundMethodRepaintsEachDirtyControlWithWhatOverlapsIt)
{
  graphics->SetStrictPainting(false);
  ProbeControl* back = Add(IBounds(0, 0, 100, 100), "back");
  ProbeControl* a = Add(IBounds(10, 10, 20, 20), "a");
  ProbeControl* b = Add(IBounds(15, 15, 25, 25), "b");
  Add(IBounds(60, 60, 70, 70), "far");
  back->MarkClean();
  for (int i = 1; i < graphics->ControlCount(); ++i) graphics->GetControl(i)->MarkClean();
  a->MarkDirty(false);
  log.clear();
  graphics->PaintArea(IBounds(10, 10, 20, 20));
  EXPECT_EQ(log, (EventLog{"back paint", "a paint", "b paint"}));
  EXPECT_EQ(graphics->DrawArea(), IBounds(10, 10, 20, 20));
  EXPECT_FALSE(a->NeedsRedraw());
  EXPECT_FALSE(b->NeedsRedraw());
}

TEST(FrameSelectionTest, ValuesPickTheNearestOfSixtyFiveFrames)
{
  EXPECT_EQ(FrameForValue(0.0, 65), 1);
  EXPECT_EQ(FrameForValue(0.5, 65), 33);
  EXPECT_EQ(FrameForValue(1.0, 65), 65);
  EXPECT_EQ(FrameForValue(0.5 / 64, 65), 2);  // halves round up
  EXPECT_EQ(FrameForValue(0.25, 65), 17);
  EXPECT_EQ(FrameForValue(15.5 / 64, 65), 17);
  EXPECT_EQ(FrameForValue(0.7, 1), 1);
  EXPECT_EQ(FrameForValue(0.7, 0), 1);
  EXPECT_EQ(FrameForValue(5.0, 65), 65);
  EXPECT_EQ(FrameForValue(-5.0, 65), 1);
}

TEST_F(PaintingTest, KnobPaintsTheFrameOfItsValueFromTheStrip)
{
  // 65 frames of 78 rows: frame k starts at row trunc(5070 * (k - 1) / 65 + 0.5).
  LICE_MemBitmap* strip = MakeRowCodedStrip(78, 5070);
  auto* knob = new IKnobMultiControl(&plug, 56, 73, 0, IBitmapStrip(strip, 78, 5070, 65), kKnobVertical, 4.0);
  graphics->AddControl(knob);
  const IBounds all(0, 0, 366, 212);

  const struct
  {
    double value;
    int firstRow;
  } cases[] = {{0.0, 0}, {1.0 / 64, 78}, {0.25, 16 * 78}, {1.0, 4992}};
  for (const auto& c : cases)
  {
    knob->SetValue(c.value);
    graphics->PaintArea(all);
    EXPECT_EQ(RowOf(graphics->ReadPixel(60, 73).B | (graphics->ReadPixel(60, 73).G << 8)), c.firstRow)
        << "value " << c.value;
    EXPECT_EQ(RowOf(graphics->ReadPixel(60, 150).B | (graphics->ReadPixel(60, 150).G << 8)), c.firstRow + 77);
  }
  delete strip;
}

TEST_F(PaintingTest, FramesOfAnUnevenStripStartAtTheRoundedRow)
{
  LICE_MemBitmap* strip = MakeRowCodedStrip(4, 100);  // three frames of 33.3 rows
  Add(IBounds(0, 0, 366, 212), "area");
  graphics->PaintArea(IBounds(0, 0, 366, 212));
  const IBlend copy(kBlendCopy, 1.0f);
  const int expectedRows[] = {0, 33, 67};
  for (int frame = 1; frame <= 3; ++frame)
  {
    graphics->BlitStripFrame(IBitmapStrip(strip, 4, 100, 3), IBounds(0, 0, 4, 33), frame, &copy);
    EXPECT_EQ(graphics->ReadPixel(0, 0).B, expectedRows[frame - 1]) << "frame " << frame;
  }
  delete strip;
}

TEST_F(PaintingTest, BlitIntoADestinationHalfOutsideTheDrawAreaCopiesTheShiftedPart)
{
  LICE_MemBitmap* strip = MakeRowCodedStrip(40, 40);
  LICE::FillArea(graphics->DrawBitmap(), 0, 0, 366, 212, 0xFFFFFFFFu, 1.0f, LICE::kOpCopy);
  auto* control = new IBitmapControl(&plug, 100, 80, -1, IBitmapStrip(strip, 40, 40, 1), kBlendCopy);
  graphics->AddControl(control);
  // Only rows 100..119 of the editor are repainted: source rows 20..39.
  graphics->PaintArea(IBounds(0, 100, 366, 120));
  EXPECT_EQ(graphics->ReadPixel(110, 99).A, 255);
  EXPECT_EQ(graphics->ReadPixel(110, 99).R, 255);  // untouched above the area
  EXPECT_EQ(graphics->ReadPixel(110, 100).R, 0);
  EXPECT_EQ(graphics->ReadPixel(110, 100).B, 20);
  EXPECT_EQ(graphics->ReadPixel(110, 119).B, 39);
  EXPECT_EQ(graphics->ReadPixel(110, 120).R, 255);  // below it too
  delete strip;
}

TEST_F(PaintingTest, DisabledControlsPaintAtAQuarterOpacity)
{
  LICE_MemBitmap* white = new LICE_MemBitmap(10, 10, 4);
  LICE::FillArea(white, 0, 0, 10, 10, 0xFFFFFFFFu, 1.0f, LICE::kOpCopy);
  LICE::FillArea(graphics->DrawBitmap(), 0, 0, 366, 212, 0xFF000000u, 1.0f, LICE::kOpCopy);
  auto* control = new IBitmapControl(&plug, 0, 0, -1, IBitmapStrip(white, 10, 10, 1), kBlendThroughAlpha);
  graphics->AddControl(control);
  control->SetDisabled(true);
  graphics->PaintArea(IBounds(0, 0, 10, 10));
  const IRgba faint = graphics->ReadPixel(5, 5);
  EXPECT_NEAR(faint.R, 64, 1);
  control->SetDisabled(false);
  graphics->PaintArea(IBounds(0, 0, 10, 10));
  EXPECT_EQ(graphics->ReadPixel(5, 5).R, 255);
  delete white;
}

TEST_F(PaintingTest, DirectLinesClampToTheEditorAndSkipReversedRanges)
{
  LICE::FillArea(graphics->DrawBitmap(), 0, 0, 366, 212, 0xFF000000u, 1.0f, LICE::kOpCopy);
  const IRgba red(255, 255, 0, 0);
  graphics->VerticalLine(red, 1000, -5, 3);  // x beyond the width: the last column
  EXPECT_EQ(graphics->ReadPixel(365, 0), red);
  EXPECT_EQ(graphics->ReadPixel(365, 3), red);
  EXPECT_NE(graphics->ReadPixel(365, 4), red);

  graphics->VerticalLine(red, 10, 50, 40);  // reversed: nothing
  EXPECT_NE(graphics->ReadPixel(10, 45), red);

  graphics->HorizontalLine(red, 500, -3, 2);
  EXPECT_EQ(graphics->ReadPixel(0, 211), red);
  EXPECT_EQ(graphics->ReadPixel(2, 211), red);
  EXPECT_NE(graphics->ReadPixel(3, 211), red);

  graphics->WritePixel(red, 7, 8);
  EXPECT_EQ(graphics->ReadPixel(7, 8), red);
  graphics->WritePixel(red, 366, 0);  // outside: ignored, nothing else touched
  graphics->WritePixel(red, -1, 5);
  EXPECT_NE(graphics->ReadPixel(0, 1), red);
  EXPECT_NE(graphics->ReadPixel(365, 5), red);
}

TEST(SurfaceTest, PrimitivesBeforeTheDrawSurfaceExistsDrawNothing)
{
  TestPlug plug;
  TestGraphics graphics(&plug, 50, 50);
  EXPECT_EQ(graphics.SurfacePixels(), nullptr);
  EXPECT_TRUE(graphics.WritePixel(IRgba(), 1, 1));
  EXPECT_TRUE(graphics.VerticalLine(IRgba(), 1, 1, 5));
  EXPECT_TRUE(graphics.FillBounds(IRgba(), IBounds(0, 0, 5, 5), nullptr));
  EXPECT_EQ(graphics.ReadPixel(1, 1), IRgba(0, 0, 0, 0));
  graphics.CreateDrawSurface();
  ASSERT_NE(graphics.SurfacePixels(), nullptr);
  EXPECT_EQ(graphics.DrawBitmap()->Width(), 50);
  EXPECT_EQ(graphics.DrawBitmap()->RowStride(), 52);
}

}  // namespace
