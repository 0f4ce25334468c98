// The panel at 2x is drawn at 2x, not enlarged: the Delay knob with its scale marks and
// labels, and the header's lettering, carry detail the 1x panel enlarged lacks.
#include <memory>

#include "EditorFixture.h"
#include "KyvBrindlowLayout.h"
#include "PictureDetail.h"
#include "lice.h"

namespace
{
namespace L = KyvBrindlowLayout;
using namespace picture_detail;

class EditorDetail : public EditorFixture
{
protected:
  // The whole panel painted at |scale|, copied out.
  std::unique_ptr<LICE_MemBitmap> PanelAt(double scale)
  {
    mEditor->SetHostScale(scale);
    mEditor->CreateDrawSurface();
    PaintAll();
    const int w = mEditor->EditorWidth(), h = mEditor->EditorHeight();
    auto panel = std::make_unique<LICE_MemBitmap>(w, h);
    LICE::DrawImage(panel.get(), mEditor->DrawBitmap(), 0, 0, 0, 0, w, h, 1.0f, LICE::kOpCopy);
    return panel;
  }
};
} // namespace

TEST_F(EditorDetail, ThePanelAt2xShowsDetailThe1xPanelEnlargedLacks)
{
  const auto one = PanelAt(1.0), two = PanelAt(2.0);
  const struct
  {
    const char* what;
    int x, y, w, h;
    bool shapes; // shapes alone shrink back to the 1x drawing; hinted text differs more
  } kAreas[] = {
    {"Delay knob with its scale", L::kDelayKnobX - 20, L::kKnobY - 22, L::kKnobSize + 40, L::kKnobSize + 40, true},
    {"header lettering", 8, 4, 200, L::kHeaderHeight - 8, false},
  };
  for (const auto& area : kAreas)
  {
    const Region oneX = Crop(one.get(), area.x, area.y, area.w, area.h);
    std::string why;
    EXPECT_TRUE(DrawnAt2x(Crop(two.get(), 2 * area.x, 2 * area.y, 2 * area.w, 2 * area.h), oneX, &why))
      << area.what << ": " << why;
    EXPECT_FALSE(DrawnAt2x(Enlarge(oneX, true), oneX, &why)) << area.what << " enlarged: " << why;
    if (area.shapes)
    {
      EXPECT_LT(MeanDifference(Shrink(Crop(two.get(), 2 * area.x, 2 * area.y, 2 * area.w, 2 * area.h)), oneX), 4.0)
        << area.what << ": the same drawing";
    }
  }
}
