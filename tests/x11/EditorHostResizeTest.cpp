// A host that sizes the editor's X window itself, as suil does for jalv instead of calling
// the format's resize: the editor takes the scale the new size implies and shows the panel
// drawn at it in the whole window, without telling the host; its own resizes, reported
// back by the server, change nothing.
#include "EditorWindowFixture.h"

#include <cmath>
#include <string>
#include <thread>

#include "IGraphicsLice.h"
#include "IGraphicsPlug.h"
#include "IPlugVST.h"
#include "IWindowBackend.h"
#include "KyvBrindlow.h"
#include "KyvBrindlowEditor.h"
#include "bitmap.h"

namespace
{
int gSizeWindowCalls = 0;
VstIntPtr VSTCALLBACK SizingHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void* ptr, float)
{
  if (opcode == audioMasterVersion) return 2400;
  if (opcode == audioMasterCanDo) return ptr && std::string(static_cast<const char*>(ptr)) == "sizeWindow" ? 1 : 0;
  if (opcode == audioMasterSizeWindow) ++gSizeWindowCalls;
  return 0;
}

class EditorHostResizeTest : public testing::Test
{
protected:
  void SetUp() override
  {
    ASSERT_TRUE(display.Connected()) << display.Problem();
    parent = display.CreateParent(20, 20, 1100, 700);
    SetWindowBackendFactory(nullptr);  // the platform's, whatever an earlier test installed
    effect = CreateVSTPlugin(&SizingHost, []() -> IPlugBase* { return MakeKyvBrindlow(); });
    ASSERT_NE(effect, nullptr);
    Dispatch(effOpen);
    editor = EditorOf(IPlugVST::PlugOf(effect));
    ASSERT_NE(editor, nullptr);
    ASSERT_NE(Dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(uintptr_t(parent))), 0);
    ASSERT_TRUE(IdleUntil([&] { return (window = display.ViewableOnlyChild(parent)) != XCB_NONE; }));
    gSizeWindowCalls = 0;
  }
  void TearDown() override
  {
    if (effect)
    {
      Dispatch(effEditClose);
      Dispatch(effClose);
    }
    if (parent != XCB_NONE) display.DestroyWindow(parent);
  }

  VstIntPtr Dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr)
  {
    return effect->dispatcher(effect, opcode, index, value, ptr, 0.0f);
  }
  bool IdleUntil(const std::function<bool()>& done, int ticks = 90)
  {
    for (int i = 0; i < ticks; ++i)
    {
      Dispatch(effEditIdle);
      if (done()) return true;
      std::this_thread::sleep_for(kIdlePeriod);
    }
    return false;
  }

  // What the host's own connection does: sizes the editor's window, nothing else.
  void HostSizesWindow(int32_t width, int32_t height)
  {
    const uint32_t size[] = {uint32_t(width), uint32_t(height)};
    xcb_configure_window(display.Connection(), window, XCB_CONFIG_WINDOW_WIDTH | XCB_CONFIG_WINDOW_HEIGHT, size);
    display.Sync();
  }

  bool WindowIs(int32_t width, int32_t height)
  {
    WindowGeometry geometry;
    return display.Geometry(window, geometry) && geometry.width == width && geometry.height == height;
  }

  // How many pixels of the window differ from the editor's off-screen bitmap (all of
  // them when the sizes differ).
  size_t PixelsUnlikeTheBitmap()
  {
    WindowPixels shown;
    LICE_IBitmap* bitmap = editor->DrawBitmap();
    if (!display.ReadPixels(window, shown) || !bitmap || shown.width != bitmap->Width() ||
        shown.height != bitmap->Height())
      return ~size_t(0);
    size_t differing = 0;
    for (int32_t y = 0; y < shown.height; ++y)
    {
      const int32_t row = bitmap->IsBottomUp() ? shown.height - 1 - y : y;
      const uint32_t* pixels = bitmap->PixelData() + size_t(row) * size_t(bitmap->RowStride());
      for (int32_t x = 0; x < shown.width; ++x) differing += (pixels[x] & 0xffffff) != shown.At(x, y);
    }
    return differing;
  }

  TestDisplay display;
  xcb_window_t parent = XCB_NONE;
  AEffect* effect = nullptr;
  IGraphicsLice* editor = nullptr;
  xcb_window_t window = XCB_NONE;
};
} // namespace

TEST_F(EditorHostResizeTest, TheEditorRedrawsAtTheScaleTheHostsSizeImplies)
{
  // Twice the panel: the editor draws at 2 and the window shows all of it.
  HostSizesWindow(2 * Panel::kWidth, 2 * Panel::kHeight);
  EXPECT_TRUE(IdleUntil([&] { return editor->EditorScale() == 2.0; })) << editor->EditorScale();
  EXPECT_TRUE(IdleUntil([&] { return PixelsUnlikeTheBitmap() == 0; })) << PixelsUnlikeTheBitmap();
  EXPECT_EQ(editor->EditorWidth(), 2 * Panel::kWidth);
  EXPECT_EQ(editor->EditorHeight(), 2 * Panel::kHeight);

  // A size off the panel's proportions: the largest panel that fits, and the window
  // takes that panel's size.
  HostSizesWindow(600, 400);
  EXPECT_TRUE(IdleUntil([&] { return WindowIs(600, 348); }));
  EXPECT_DOUBLE_EQ(editor->EditorScale(), 600.0 / Panel::kWidth);
  EXPECT_TRUE(IdleUntil([&] { return PixelsUnlikeTheBitmap() == 0; })) << PixelsUnlikeTheBitmap();

  // The host sized the window: it hears nothing back, and the size is what the plug-in
  // reports from now on.
  EXPECT_EQ(gSizeWindowCalls, 0);
  ERect* rect = nullptr;
  ASSERT_EQ(Dispatch(effEditGetRect, 0, 0, &rect), 1);
  EXPECT_EQ(rect->right - rect->left, 600);
  EXPECT_EQ(rect->bottom - rect->top, 348);
}

TEST_F(EditorHostResizeTest, TheEditorsOwnResizesStayAsTheyAre)
{
  // Two sizes of the editor's own before the server reports the first: the report of the
  // first, read after the second, must not take the editor back to it.
  editor->SetUserScale(2.0);
  editor->SetUserScale(1.5);
  IdleUntil([] { return false; }, 10);
  EXPECT_DOUBLE_EQ(editor->EditorScale(), 1.5);
  EXPECT_TRUE(WindowIs(549, 318));
  EXPECT_EQ(gSizeWindowCalls, 2) << "each of the editor's own sizes reaches the host once";
}
