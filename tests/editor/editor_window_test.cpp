// The product's editor behind a window back-end installed through the factory, driven
// through the VST dispatcher as a host drives it: open, idle, keys, close.
#include <chrono>
#include <future>

#include "EditorFixture.h"
#include "IDrawnEditBox.h"
#include "IGraphicsWindow.h"
#include "IWindowBackend.h"

namespace
{
// A window system that only records, and ticks on every idle as the X11 back-end does
// when a frame is due. While it creates the window it checks that another thread can take
// the plug-in's lock (a host's audio thread setting a parameter).
class RecordingBackend : public IWindowBackend
{
public:
  static RecordingBackend* last;
  static AEffect* effect;

  RecordingBackend() { last = this; }
  void* CreateEditorWindow(IGraphicsWindow* owner, void*, const IBounds& rect, int) override
  {
    mOwner = owner;
    created = rect;
    auto other = std::async(std::launch::async, [] { effect->setParameter(effect, KyvBrindlow::kWetMix, 0.75f); });
    lockFreeDuringCreation = other.wait_for(std::chrono::seconds(2)) == std::future_status::ready;
    return &mWindow;
  }
  void DestroyEditorWindow(void*) override { ++destroyed; }
  bool ScreenRect(void*, IBounds&) override { return false; }
  void GrowWindow(void*, int32_t, int32_t) override {}
  void RepaintNow(void*, const IBounds& area) override { mOwner->HandlePaint(area); }
  bool CopyToScreen(void*, LICE_IBitmap*, const IBounds& area) override
  {
    presented = presented.Union(area);
    return true;
  }
  void Idle(void*) override
  {
    ++idles;
    mOwner->HandleTick();
  }
  void SetKeyboardFocus(void*, bool take) override { focused = take; }
  ITextRenderer* TextRenderer() override { return nullptr; }

  IGraphicsWindow* Owner() const { return mOwner; }

  IBounds created, presented;
  int idles = 0, destroyed = 0;
  bool focused = false, lockFreeDuringCreation = false;

private:
  IGraphicsWindow* mOwner = nullptr;
  int mWindow = 0;
};
RecordingBackend* RecordingBackend::last = nullptr;
AEffect* RecordingBackend::effect = nullptr;

IWindowBackend* MakeRecordingBackend() { return new RecordingBackend(); }

class EditorWindow : public EditorFixture
{
protected:
  void SetUp() override
  {
    SetWindowBackendFactory(&MakeRecordingBackend);
    EditorFixture::SetUp();
    SetWindowBackendFactory(nullptr);
    backend = RecordingBackend::last;
    RecordingBackend::effect = mEffect;
    StartAudio();
  }

  VstIntPtr Key(VstInt32 opcode, char character, VstIntPtr virtualKey)
  {
    return Dispatch(opcode, character, virtualKey);
  }

  RecordingBackend* backend = nullptr;
  int parent = 0;
};

TEST_F(EditorWindow, OpeningPaintsTheWholePanelWithoutHoldingThePluginsLock)
{
  ASSERT_EQ(Dispatch(effEditOpen, 0, 0, &parent), 1);
  EXPECT_EQ(backend->created, IBounds(0, 0, 366, 212));
  EXPECT_TRUE(backend->lockFreeDuringCreation) << "the host's other threads never wait for the window";
  EXPECT_EQ(backend->idles, 1) << "the first frame is painted as the window opens";
  EXPECT_EQ(backend->presented, IBounds(0, 0, 366, 212));
  EXPECT_EQ(Layout().SplashShowsLeft(), 2);

  Dispatch(effEditIdle);
  EXPECT_EQ(backend->idles, 2);
  EXPECT_EQ(Control(5)->Value(), 0.75) << "the value set while the window was made arrived on the tick";
  EXPECT_EQ(Dispatch(effEditClose), 1);
  EXPECT_EQ(backend->destroyed, 1);
  Dispatch(effEditIdle);
  EXPECT_EQ(backend->idles, 2) << "no window: idle does nothing";
}

TEST_F(EditorWindow, ForwardedKeysAreUsedOnlyWhileTheDrawnListShows)
{
  ASSERT_EQ(Dispatch(effEditOpen, 0, 0, &parent), 1);
  IGraphicsWindow* window = backend->Owner();
  window->HandleLeftButtonDown(183, 106, kLeft);  // hides the splash
  window->HandleButtonUp(183, 106, kLeft);
  Dispatch(effEditIdle);
  EXPECT_EQ(Key(effEditKeyDown, 0, VKEY_DOWN), 0) << "nothing takes keys";

  window->HandleRightButtonDown(182, 106, kRight);  // the Pan switch
  window->HandleButtonUp(182, 106, kRight);
  ASSERT_NE(window->DrawnBox(), nullptr);
  EXPECT_TRUE(backend->focused);
  EXPECT_EQ(Key(effEditKeyDown, 0, VKEY_DOWN), 1);
  EXPECT_EQ(Key(effEditKeyUp, 0, VKEY_DOWN), 1);
  EXPECT_EQ(Key(effEditKeyDown, 0, VKEY_PAGEUP), 0) << "a key the list has no use for";
  EXPECT_EQ(Key(effEditKeyDown, 0, VKEY_RETURN), 1);
  Dispatch(effEditIdle);
  char display[64] = {};
  Dispatch(effGetParamDisplay, KyvBrindlow::kPan, 0, display);
  EXPECT_STREQ(display, "Right");
  EXPECT_FALSE(backend->focused) << "the focus goes back";
  EXPECT_EQ(Key(effEditKeyDown, 0, VKEY_ESCAPE), 0);
}

} // namespace
