// What the panel paints: the artwork in place, the text on it, and a recorded picture of
// the whole default panel so that any change to the pictures, the layout or the drawing
// shows up.
#include "EditorFixture.h"

#include <cstdint>
#include <string>

#include "GoldenPicture.h"

#include "IBitmapControls.h"
#include "IDeferredImage.h"
#include "ImageCache.h"
#include "bitmap.h"
#include "lice.h"

namespace
{

// Drawn from the default panel (program 0, splash hidden) with the shipped artwork and the
// Tahoma face of fonts-wine. Redraw the artwork or change the layout: review the picture
// the failed test leaves (default_panel.got.png) and commit it as the new one.
const char* const kDefaultPanelPicture = BRINDLOW_EDITOR_GOLDEN_DIR "/default_panel.png";

using EditorRender = EditorFixture;

TEST_F(EditorRender, TheDefaultPanelIsTheRecordedPicture)
{
  PaintAll();
  // The draw bitmap may be wider than the panel (row padding): compare the panel only.
  const LICE_IBitmap* drawn = mEditor->DrawBitmap();
  LICE_MemBitmap panel(366, 212);
  LICE::DrawImage(&panel, drawn, 0, 0, 0, 0, 366, 212, 1.0f, LICE::kOpCopy);
  const std::string report = golden::MatchesFile(panel, kDefaultPanelPicture);
  EXPECT_TRUE(report.empty()) << report;
}

// The default panel drawn at the scales a host or the user may pick: the artwork resampled
// (or its double-size counterpart), the text at the scale's size. Remade, after reviewing
// the change, by tools/remake-editor-goldens.sh.
TEST_F(EditorRender, TheDefaultPanelAtScaleIsItsRecordedPicture)
{
  const struct
  {
    double scale;
    const char* picture;
  } kScales[] = {{1.5, BRINDLOW_EDITOR_GOLDEN_DIR "/default_panel_150.png"},
                 {2.0, BRINDLOW_EDITOR_GOLDEN_DIR "/default_panel_200.png"},
                 {3.0, BRINDLOW_EDITOR_GOLDEN_DIR "/default_panel_300.png"}};
  for (const auto& at : kScales)
  {
    ASSERT_TRUE(mEditor->SetHostScale(at.scale));
    mEditor->CreateDrawSurface();
    PaintAll();
    const int w = mEditor->EditorWidth(), h = mEditor->EditorHeight();
    ASSERT_EQ(mEditor->DrawBitmap()->Width(), w);
    LICE_MemBitmap panel(w, h);
    LICE::DrawImage(&panel, mEditor->DrawBitmap(), 0, 0, 0, 0, w, h, 1.0f, LICE::kOpCopy);
    const std::string report = golden::MatchesFile(panel, at.picture);
    EXPECT_TRUE(report.empty()) << at.scale << ": " << report;
  }
}

// The mono-check strip under the panel, for Vocal Doubler at 44.1 kHz with no meter reading
// yet: what `brindlow-render --editor-snapshot F --program "Vocal Doubler" --mono-view`
// writes, at 1x and with --scale 2. Remade, after reviewing the change, by
// tools/remake-editor-goldens.sh.
TEST_F(EditorRender, TheMonoViewAtScaleIsItsRecordedPicture)
{
  StartAudio(44100.0f);
  Dispatch(effSetProgram, 0, 1); // Vocal Doubler
  static_cast<KyvBrindlowGraphics*>(mEditor)->ShowMonoCheck(true);
  const struct
  {
    double scale;
    const char* picture;
  } kScales[] = {{1.0, BRINDLOW_EDITOR_GOLDEN_DIR "/mono_view_100.png"},
                 {2.0, BRINDLOW_EDITOR_GOLDEN_DIR "/mono_view_200.png"}};
  for (const auto& at : kScales)
  {
    ASSERT_TRUE(mEditor->SetHostScale(at.scale));
    mEditor->CreateDrawSurface();
    PaintAll();
    const int w = mEditor->EditorWidth(), h = mEditor->EditorHeight();
    ASSERT_EQ(h, int(332 * at.scale));
    LICE_MemBitmap panel(w, h);
    LICE::DrawImage(&panel, mEditor->DrawBitmap(), 0, 0, 0, 0, w, h, 1.0f, LICE::kOpCopy);
    const std::string report = golden::MatchesFile(panel, at.picture);
    EXPECT_TRUE(report.empty()) << at.scale << ": " << report;
  }
}

// A host that makes an instance only to scan it never opens the editor: making it decodes
// no artwork, and the first paint decodes what it shows and paints the same panel.
TEST_F(EditorRender, MakingAnInstanceDecodesNoImageAndTheFirstPaintDoes)
{
  Dispatch(effClose);
  mEffect = nullptr;
  IImageCache& cache = IImageCache::Shared();  // forget what earlier tests decoded
  for (int id = KyvBrindlowEditor::kBackgroundId; id <= KyvBrindlowEditor::kSplashId; ++id)
    while (LICE_IBitmap* bitmap = cache.Find(id)) cache.Remove(bitmap);

  const int decodesBefore = IDeferredImage::DecodeCount();
  SetUp();
  Dispatch(effOpen);
  EXPECT_EQ(IDeferredImage::DecodeCount(), decodesBefore);
  for (int id = KyvBrindlowEditor::kBackgroundId; id <= KyvBrindlowEditor::kSplashId; ++id)
  {
    const auto* image = dynamic_cast<const IDeferredImage*>(cache.Find(id));
    ASSERT_NE(image, nullptr) << "image " << id << " was decoded at once";
    EXPECT_FALSE(image->IsDecoded()) << id;
  }
  EXPECT_EQ(mEditor->Width(), 366);  // the layout took the sizes from the headers
  EXPECT_EQ(mEditor->Height(), 212);

  PaintAll();
  // Background, knob strip and switch; the hidden splash waits until it is shown.
  EXPECT_EQ(IDeferredImage::DecodeCount(), decodesBefore + 3);
  LICE_MemBitmap panel(366, 212);
  LICE::DrawImage(&panel, mEditor->DrawBitmap(), 0, 0, 0, 0, 366, 212, 1.0f, LICE::kOpCopy);
  const std::string report = golden::MatchesFile(panel, kDefaultPanelPicture);
  EXPECT_TRUE(report.empty()) << report;
}

TEST_F(EditorRender, ImagesLandWhereTheLayoutPutsThem)
{
  PaintAll();
  const LICE_IBitmap* panel = mEditor->DrawBitmap();
  const IBitmapStrip background = static_cast<IBitmapControl*>(Control(0))->Strip();
  const IBitmapStrip knob = static_cast<IKnobMultiControl*>(Control(1))->Strip();
  // A corner of the panel is the background image itself (copied, alpha included).
  EXPECT_EQ(LICE::FetchPixel(panel, 2, 2), LICE::FetchPixel(background.bitmap, 2, 2));
  EXPECT_EQ(LICE::FetchPixel(panel, 360, 205), LICE::FetchPixel(background.bitmap, 360, 205));
  // The centre of the Delay knob shows frame 32 of the strip (value 19/39 of 64 steps, rounded):
  // its opaque pixels are copied exactly.
  const int frameTop = 31 * 78;
  int opaque = 0;
  for (int y = 30; y < 48; ++y)
  {
    for (int x = 30; x < 48; ++x)
    {
      const PixelWord k = LICE::FetchPixel(knob.bitmap, x, frameTop + y);
      if ((k >> 24) != 0xFF) continue;
      ++opaque;
      EXPECT_EQ(LICE::FetchPixel(panel, 56 + x, 73 + y) & 0xFFFFFF, k & 0xFFFFFF) << x << "," << y;
    }
  }
  EXPECT_GT(opaque, 100);
}

TEST_F(EditorRender, TextIsDrawnInItsStyleColourOverTheBackground)
{
  PaintAll();
  const LICE_IBitmap* panel = mEditor->DrawBitmap();
  const IBitmapStrip background = static_cast<IBitmapControl*>(Control(0))->Strip();
  // The version line: some pixels changed, the darkest close to its colour (57, 64, 70).
  int changed = 0, darkest = 3 * 255;
  PixelWord darkestPixel = 0;
  for (int y = 196; y < 212; ++y)
  {
    for (int x = 150; x < 220; ++x)
    {
      const PixelWord p = LICE::FetchPixel(panel, x, y);
      if (p == LICE::FetchPixel(background.bitmap, x, y)) continue;
      ++changed;
      const int sum = LICE::Red(p) + LICE::Green(p) + LICE::Blue(p);
      if (sum < darkest)
      {
        darkest = sum;
        darkestPixel = p;
      }
    }
  }
  EXPECT_GT(changed, 20);
  EXPECT_NEAR(LICE::Red(darkestPixel), 57, 12);
  EXPECT_NEAR(LICE::Green(darkestPixel), 64, 12);
  EXPECT_NEAR(LICE::Blue(darkestPixel), 70, 12);
  // Nothing of the version line lands outside the panel's bottom rows or its own box.
  for (int x = 0; x < 150; ++x)
    EXPECT_EQ(LICE::FetchPixel(panel, x, 202), LICE::FetchPixel(background.bitmap, x, 202)) << x;
}

TEST_F(EditorRender, TheSplashCoversTheMiddleWhenShown)
{
  PaintAll();
  const PixelWord before = LICE::FetchPixel(mEditor->DrawBitmap(), 182, 100);
  Opened();
  PaintAll();
  const IBitmapStrip splash = static_cast<IBitmapControl*>(Splash())->Strip();
  EXPECT_EQ(LICE::FetchPixel(mEditor->DrawBitmap(), 182, 100) & 0xFFFFFF,
            LICE::FetchPixel(splash.bitmap, 182 - 70, 100 - 61) & 0xFFFFFF);
  EXPECT_NE(LICE::FetchPixel(mEditor->DrawBitmap(), 182, 100), before);
}

} // namespace
