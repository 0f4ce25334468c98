// In-place editing drawn by the toolkit: the box itself, and the edit states the window
// layer runs around it for a back-end without native boxes.
#include <gtest/gtest.h>

#include "IBitmapControls.h"
#include "IDrawnEditBox.h"
#include "IGraphicsWindow.h"
#include "IPlatformServices.h"
#include "IWindowBackend.h"
#include "TestSupport.h"

namespace {

const IMouseKeys kLeft(true, false, false, false, false);
const IMouseKeys kRight(false, true, false, false, false);

IKeyPress Char(char c) { return IKeyPress(-1, c); }

TEST(DrawnEditBox, TypingAndCaretMovesEditTheText)
{
  IDrawnEditBox box(IBounds(0, 0, 80, 16), "20.000", 32);
  EXPECT_EQ(box.Caret(), 6u);
  using R = IDrawnEditBox::KeyResult;
  EXPECT_EQ(box.Key(IKeyPress(kKeyBackspace)), R::kChanged);
  EXPECT_EQ(box.Key(IKeyPress(kKeyHome)), R::kChanged);
  box.Key(IKeyPress(kKeyDelete));
  EXPECT_EQ(box.Text(), "0.00");
  box.Key(Char('1'));
  box.Key(IKeyPress(kKeyRight));
  box.Key(IKeyPress(kKeyRight));
  box.Key(IKeyPress(kKeyLeft));
  box.Key(IKeyPress(kKeyDigit0 + 5, '5'));  // a digit key types its character
  EXPECT_EQ(box.Text(), "105.00");
  box.Key(IKeyPress(kKeyEnd));
  box.Key(IKeyPress(kKeySpace, ' '));
  EXPECT_EQ(box.Text(), "105.00 ");
  EXPECT_EQ(box.Caret(), 7u);
  EXPECT_EQ(box.Key(IKeyPress(kKeyUp)), R::kIgnored);
  EXPECT_EQ(box.Key(Char('\t')), R::kIgnored);
  EXPECT_EQ(box.Key(IKeyPress(kKeyReturn)), R::kCommit);
  EXPECT_EQ(box.Key(IKeyPress(kKeyEscape)), R::kCancel);
  EXPECT_EQ(box.Value(), "105.00 ");
}

TEST(DrawnEditBox, EditsStayInsideTheTextAndItsLength)
{
  IDrawnEditBox box(IBounds(0, 0, 80, 16), "abcdef", 5);
  EXPECT_EQ(box.Text(), "abcd") << "cut to maxChars - 1";
  box.Key(Char('x'));
  EXPECT_EQ(box.Text(), "abcd") << "a full box takes no more";
  box.Key(IKeyPress(kKeyDelete));  // at the end: nothing to delete
  box.Key(IKeyPress(kKeyHome));
  box.Key(IKeyPress(kKeyBackspace));  // at the start: nothing to erase
  box.Key(IKeyPress(kKeyLeft));
  EXPECT_EQ(box.Caret(), 0u);
  EXPECT_EQ(box.Text(), "abcd");
  box.SetText(nullptr);
  EXPECT_EQ(box.Text(), "");
  EXPECT_EQ(box.Caret(), 0u);
}

TEST(DrawnEditBox, ListSelectsByRowAndByArrows)
{
  IDrawnEditBox list(IBounds(10, 20, 74, 54), {"Left", "Right"}, 0);
  EXPECT_EQ(list.Value(), "Left");
  EXPECT_FALSE(list.Press(20, 20)) << "the frame is no row";
  EXPECT_TRUE(list.Press(20, 21 + IDrawnEditBox::kRowHeight));
  EXPECT_EQ(list.Value(), "Right");
  EXPECT_FALSE(list.Press(20, 21 + 2 * IDrawnEditBox::kRowHeight)) << "below the last row";
  list.Key(IKeyPress(kKeyUp));
  EXPECT_EQ(list.Selected(), 0);
  list.Key(IKeyPress(kKeyUp));
  EXPECT_EQ(list.Selected(), 0) << "stays on the first row";
  list.Key(IKeyPress(kKeyEnd));
  EXPECT_EQ(list.Selected(), 1);
  EXPECT_EQ(list.Key(Char('x')), IDrawnEditBox::KeyResult::kIgnored);

  IDrawnEditBox none(IBounds(0, 0, 10, 10), std::vector<std::string>{"A"}, 7);
  EXPECT_EQ(none.Selected(), -1) << "a selection outside the list marks nothing";
  EXPECT_EQ(none.Value(), "");
}

// A window back-end without native boxes that records what it is asked.
class DrawingBackend : public IWindowBackend
{
public:
  void* CreateEditorWindow(IGraphicsWindow*, void*, const IBounds&, int) override { return &window; }
  void DestroyEditorWindow(void*) override {}
  bool ScreenRect(void*, IBounds&) override { return false; }
  void GrowWindow(void*, int32_t, int32_t) override {}
  void RepaintNow(void*, const IBounds& area) override
  {
    repainted.push_back(area);
    if (owner) owner->HandlePaint(area);
  }
  bool CopyToScreen(void*, LICE_IBitmap*, const IBounds&) override { return true; }
  void SetKeyboardFocus(void*, bool take) override { focus.push_back(take); }
  ITextRenderer* TextRenderer() override { return nullptr; }

  IGraphicsWindow* owner = nullptr;
  int window = 0;
  std::vector<IBounds> repainted;
  std::vector<bool> focus;
};

class NoServices : public IPlatformServices
{
public:
  bool AskForFile(void*, std::string&, bool, const char*) override { return false; }
  bool AskForColour(void*, IRgba&, const char*) override { return false; }
  bool AskYesNo(void*, const char*, const char*) override { return false; }
  void ShowMessage(void*, const char*, const char*) override {}
  bool OpenAddress(void*, const char*) override { return false; }
  void* ThisModule() override { return nullptr; }
  bool ExecutablePath(std::string&) override { return false; }
  bool ModulePath(void*, std::string&) override { return false; }
};

// A backdrop of one colour.
class FillControl : public IControl
{
public:
  FillControl(IPlugBase* plug, const IBounds& bounds, const IRgba& colour) : IControl(plug, bounds, -1), mColour(colour) {}
  bool Paint(IGraphicsLice* graphics) override
  {
    const IBlend copy(kBlendCopy, 1.0f);
    return graphics->FillBounds(mColour, mBounds, &copy);
  }

private:
  IRgba mColour;
};

// Delay on a control that allows in-place editing, and the Pan switch.
class DrawnEditTest : public ::testing::Test
{
protected:
  DrawnEditTest() : plug(3, &log)
  {
    backend = new DrawingBackend();
    window = new IGraphicsWindow(&plug, 366, 212, 30, backend, new NoServices());
    backend->owner = window;
    plug.ParameterAt(0)->DefineContinuous("Delay", 20.0, 1.0, 40.0, 0.001, "ms");
    plug.ParameterAt(1)->DefineChoice("Pan", 0, 2);
    plug.ParameterAt(1)->AddDisplayText(0, "Left");
    plug.ParameterAt(1)->AddDisplayText(1, "Right");
    plug.ParameterAt(2)->DefineContinuous("Wet Mix", 0.0, -10.0, 10.0, 0.1, "dB");
    knob = new IKnobMultiControl(&plug, 56, 73, 0, IBitmapStrip(nullptr, 78, 5070, 65), kKnobVertical, 4.0);
    sw = new ISwitchControl(&plug, 159, 96, 1, IBitmapStrip(nullptr, 47, 42, 2), kBlendThroughAlpha);
    window->AddControl(new FillControl(&plug, IBounds(0, 0, 366, 212), kBackdrop));
    window->AddControl(knob);
    window->AddControl(sw);
    plug.AttachEditor(window);
    window->OpenEditorWindow(&parent);
    window->HandleTick();
    window->HandleTick();
    backend->repainted.clear();
  }

  // Opens the box on the knob and clicks into it.
  void FocusBox()
  {
    window->EditParameterInPlace(knob, plug.ParameterAt(0));
    ASSERT_NE(window->DrawnBox(), nullptr);
    const IBounds& b = window->DrawnBox()->Bounds();
    window->HandleLeftButtonDown(b.left + 2, b.top + 2, kLeft);
  }

  void Type(const char* text)
  {
    for (const char* c = text; *c; ++c) window->HandleKey(IKeyPress(-1, *c), 0, 0);
  }

  const IRgba kBackdrop{255, 10, 20, 30};
  EventLog log;
  TestPlug plug;
  DrawingBackend* backend;
  IGraphicsWindow* window;  // owned by the plug-in
  IKnobMultiControl* knob;
  ISwitchControl* sw;
  int parent = 0;
};

TEST_F(DrawnEditTest, ClickTypeAndReturnCommitOnTheNextTick)
{
  window->EditParameterInPlace(knob, plug.ParameterAt(0));
  ASSERT_NE(window->DrawnBox(), nullptr);
  EXPECT_EQ(window->DrawnBox()->Text(), "20.000");
  EXPECT_EQ(window->DrawnBox()->Bounds(), IBounds(56, 104, 134, 120));
  window->HandleTick();
  ASSERT_EQ(backend->repainted.size(), 1u) << "the new box is painted on the next tick";
  EXPECT_EQ(backend->repainted[0], window->DrawnBox()->Bounds());

  EXPECT_TRUE(window->HandleKey(IKeyPress(kKeyDigit0 + 1, '1'), 90, 100)) << "no focus yet: the key is a control's";
  EXPECT_EQ(window->DrawnBox()->Text(), "20.000");

  window->HandleLeftButtonDown(60, 110, kLeft);
  EXPECT_EQ(window->EditState(), kEditFocused);
  EXPECT_EQ(backend->focus, (std::vector<bool>{true}));
  for (int i = 0; i < 6; ++i) window->HandleKey(IKeyPress(kKeyBackspace), 0, 0);
  Type("12.5");
  window->HandleTick();  // shows the typing, changes nothing
  EXPECT_DOUBLE_EQ(plug.ParameterAt(0)->Value(), 20.0);
  EXPECT_EQ(backend->repainted.back(), window->DrawnBox()->Bounds());

  EXPECT_TRUE(window->HandleKey(IKeyPress(kKeyReturn), 0, 0));
  EXPECT_DOUBLE_EQ(plug.ParameterAt(0)->Value(), 20.0) << "committed on the tick, not at once";
  window->HandleTick();
  EXPECT_EQ(window->DrawnBox(), nullptr);
  EXPECT_EQ(window->EditBox(), nullptr);
  EXPECT_DOUBLE_EQ(plug.ParameterAt(0)->Value(), 12.5);
  EXPECT_EQ(backend->focus, (std::vector<bool>{true, false})) << "the focus goes back";
  backend->repainted.clear();
  window->HandleTick();
  ASSERT_FALSE(backend->repainted.empty());
  EXPECT_TRUE(backend->repainted[0].Overlaps(IBounds(56, 104, 134, 120))) << "what the box covered is repainted";
}

TEST_F(DrawnEditTest, AClickRightAfterTheBoxOpenedFocusesIt)
{
  window->HandleRightButtonDown(90, 100, kRight);  // the knob opens its box and repaints
  window->HandleButtonUp(90, 100, kRight);
  plug.ParameterAt(0)->SetValue(25.0);
  window->PushParameterToControls(0, 25.0, false); // as the plug-in tells its editor
  window->HandleTick();
  ASSERT_EQ(window->EditState(), kEditRefresh) << "a repaint asks for the box's text to be renewed";
  const IBounds b = window->DrawnBox()->Bounds();
  window->HandleLeftButtonDown(b.left + 1, b.top + 1, kLeft);
  EXPECT_EQ(window->EditState(), kEditFocused) << "the click is not lost to the pending refresh";
  EXPECT_EQ(window->DrawnBox()->Text(), "25.000") << "and the box shows the value now";
}

TEST_F(DrawnEditTest, TheBoxShowsTheValueTheEditorWasTold)
{
  // A host thread may be writing the parameter while the box opens: the box reads only
  // what reached the editor, never the parameter itself.
  plug.ParameterAt(0)->SetValue(33.0);
  window->HandleRightButtonDown(90, 100, kRight);
  window->HandleButtonUp(90, 100, kRight);
  ASSERT_NE(window->DrawnBox(), nullptr);
  EXPECT_EQ(window->DrawnBox()->Text(), "20.000");
  window->PushParameterToControls(0, 33.0, false);
  window->HandleTick();
  window->HandleTick();
  EXPECT_EQ(window->DrawnBox()->Text(), "33.000") << "once told, it shows the new value";
}

TEST_F(DrawnEditTest, EscapeAndARightClickCancel)
{
  FocusBox();
  Type("33");
  window->HandleKey(IKeyPress(kKeyEscape), 0, 0);
  window->HandleTick();
  EXPECT_EQ(window->DrawnBox(), nullptr);
  EXPECT_DOUBLE_EQ(plug.ParameterAt(0)->Value(), 20.0);

  FocusBox();
  Type("33");
  window->HandleRightButtonDown(300, 30, kRight);
  window->HandleTick();
  EXPECT_EQ(window->DrawnBox(), nullptr);
  EXPECT_DOUBLE_EQ(plug.ParameterAt(0)->Value(), 20.0);
  EXPECT_TRUE(plug.automated.empty());
  EXPECT_EQ(window->CapturedControl(), -1) << "the cancelling click reaches no control";
}

TEST_F(DrawnEditTest, ABoxThatLostTheFocusWaitsForAnotherClick)
{
  FocusBox();
  Type("7");
  window->HandleFocusLost();
  EXPECT_EQ(window->EditState(), kEditIdle);
  EXPECT_FALSE(window->HostKeyDown(IKeyPress(-1, '8'))) << "typing goes elsewhere now";
  const IBounds b = window->DrawnBox()->Bounds();
  window->HandleLeftButtonDown(b.left + 1, b.top + 1, kLeft);
  EXPECT_EQ(window->EditState(), kEditFocused);
  Type("9");
  EXPECT_EQ(window->DrawnBox()->Text(), "20.00079");
}

TEST_F(DrawnEditTest, WhileTypingClicksOnTheEditorAreIgnored)
{
  FocusBox();
  window->HandleLeftButtonDown(180, 110, kLeft);  // on the switch
  EXPECT_EQ(window->CapturedControl(), -1);
  EXPECT_FALSE(window->HandleKey(IKeyPress(kKeyUp), 180, 110)) << "the box has no use for it; nor do controls now";
  EXPECT_TRUE(log.empty());
}

TEST_F(DrawnEditTest, RightClickOnTheSwitchListsItsTextsAndAClickCommits)
{
  window->HandleRightButtonDown(180, 110, kRight);
  window->HandleButtonUp(180, 110, kRight);
  const IDrawnEditBox* list = window->DrawnBox();
  ASSERT_NE(list, nullptr);
  ASSERT_TRUE(list->IsList());
  EXPECT_EQ(list->Items(), (std::vector<std::string>{"Left", "Right"}));
  EXPECT_EQ(list->Selected(), 0) << "the current value is marked";
  const IBounds b = list->Bounds();
  EXPECT_EQ(b.Width(), 8 * 5 + 24);
  EXPECT_EQ(b.Height(), 2 * IDrawnEditBox::kRowHeight + 2);

  window->HandleLeftButtonDown(b.left + 5, b.top + 1 + IDrawnEditBox::kRowHeight + 4, kLeft);
  EXPECT_EQ(window->EditState(), kEditCommit);
  EXPECT_DOUBLE_EQ(plug.ParameterAt(1)->Value(), 0.0);
  window->HandleTick();
  EXPECT_DOUBLE_EQ(plug.ParameterAt(1)->Value(), 1.0);
  EXPECT_DOUBLE_EQ(sw->Value(), 1.0);
  EXPECT_EQ(window->DrawnBox(), nullptr);
}

TEST_F(DrawnEditTest, ARightClickWhereNoControlIsOffersTheSizesAndAChoiceIsTheUsersScale)
{
  window->SetSizeMenu(true);
  window->HandleRightButtonDown(180, 110, kRight);  // controls keep their own right click
  window->HandleButtonUp(180, 110, kRight);
  ASSERT_NE(window->DrawnBox(), nullptr);
  EXPECT_EQ(window->DrawnBox()->Items(), (std::vector<std::string>{"Left", "Right"}));
  window->HandleKey(IKeyPress(kKeyEscape), 0, 0);
  window->HandleTick();

  window->GetControl(0)->SetHidden(true);  // nothing under (10, 10) now
  window->HandleRightButtonDown(10, 10, kRight);
  const IDrawnEditBox* menu = window->DrawnBox();
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(menu->Items(),
            (std::vector<std::string>{"100%", "125%", "150%", "200%", "250%", "300%", "Follow the host"}));
  EXPECT_EQ(menu->Selected(), 6);
  const IBounds b = menu->Bounds();
  window->HandleLeftButtonDown(b.left + 5, b.top + 1 + 3 * IDrawnEditBox::kRowHeight + 4, kLeft);  // "200%"
  EXPECT_DOUBLE_EQ(window->EditorScale(), 1.0) << "on the next tick";
  window->HandleTick();
  EXPECT_EQ(window->DrawnBox(), nullptr);
  EXPECT_DOUBLE_EQ(window->UserScale(), 2.0);
  EXPECT_EQ(window->DrawBitmap()->Width(), 732);
  ASSERT_FALSE(plug.resizedTo.empty());
  EXPECT_EQ(plug.resizedTo.back(), std::make_pair(732, 424));

  // In device pixels now; the current size is marked, and a dismissed menu changes nothing.
  window->HandleRightButtonDown(20, 20, kRight);
  ASSERT_NE(window->DrawnBox(), nullptr);
  EXPECT_EQ(window->DrawnBox()->Selected(), 3);
  EXPECT_EQ(window->DrawnBox()->Bounds().left, 10);
  const size_t told = plug.resizedTo.size();
  window->HandleKey(IKeyPress(kKeyEscape), 0, 0);
  window->HandleTick();
  EXPECT_EQ(window->DrawnBox(), nullptr);
  EXPECT_DOUBLE_EQ(window->UserScale(), 2.0);
  EXPECT_EQ(plug.resizedTo.size(), told);
}

TEST_F(DrawnEditTest, TheBoxIsPaintedOverTheControlsAndGoneAfterwards)
{
  window->EditParameterInPlace(knob, plug.ParameterAt(0));
  const IBounds b = window->DrawnBox()->Bounds();
  EXPECT_EQ(window->ReadPixel(b.left + 2, b.top + 2), kBackdrop) << "not before the next tick";
  window->HandleTick();
  EXPECT_EQ(window->ReadPixel(b.left + 2, b.top + 2), IRgba(255, 255, 255, 255));
  EXPECT_NE(window->ReadPixel(b.left, b.top), kBackdrop) << "framed";

  knob->MarkDirty(false);  // a control under the box repaints: the box stays on top
  window->HandleTick();
  EXPECT_EQ(window->ReadPixel(b.left + 2, b.top + 2), IRgba(255, 255, 255, 255));

  window->HandleRightButtonDown(10, 10, kRight);
  window->HandleTick();  // removes the box
  window->HandleTick();  // paints what it covered
  EXPECT_EQ(window->ReadPixel(b.left + 2, b.top + 2), kBackdrop);
  EXPECT_EQ(window->ReadPixel(b.left, b.top), kBackdrop);
}

TEST_F(DrawnEditTest, AClickBesideTheListClosesItAndReachesNoControl)
{
  window->HandleRightButtonDown(180, 110, kRight);
  window->HandleButtonUp(180, 110, kRight);
  ASSERT_NE(window->DrawnBox(), nullptr);
  log.clear();
  window->HandleLeftButtonDown(90, 100, kLeft);  // on the knob
  EXPECT_EQ(window->CapturedControl(), -1);
  window->HandleTick();
  EXPECT_EQ(window->DrawnBox(), nullptr);
  EXPECT_DOUBLE_EQ(plug.ParameterAt(1)->Value(), 0.0);
  EXPECT_TRUE(log.empty());
}

TEST_F(DrawnEditTest, BoxesNearTheEdgeStayInsideTheEditor)
{
  auto* low = new IKnobMultiControl(&plug, 300, 190, 2, IBitmapStrip(nullptr, 78, 5070, 65), kKnobVertical, 4.0);
  window->AddControl(low);
  window->EditParameterInPlace(low, plug.ParameterAt(2));
  ASSERT_NE(window->DrawnBox(), nullptr);
  const IBounds b = window->DrawnBox()->Bounds();
  EXPECT_LE(b.right, 366);
  EXPECT_LE(b.bottom, 212);
  EXPECT_EQ(b.Width(), 78);
}

TEST_F(DrawnEditTest, HostKeysAreUsedOnlyWhileABoxTakesThem)
{
  EXPECT_FALSE(window->HostKeyDown(IKeyPress(-1, '5'))) << "no box";
  window->EditParameterInPlace(knob, plug.ParameterAt(0));
  EXPECT_FALSE(window->HostKeyDown(IKeyPress(-1, '5'))) << "a box not clicked into takes no typing";
  const IBounds b = window->DrawnBox()->Bounds();
  window->HandleLeftButtonDown(b.left + 1, b.top + 1, kLeft);
  EXPECT_TRUE(window->HostKeyDown(IKeyPress(kKeyEnd)));
  EXPECT_TRUE(window->HostKeyDown(IKeyPress(-1, '5')));
  EXPECT_TRUE(window->HostKeyUp(IKeyPress(-1, '5')));
  EXPECT_EQ(window->DrawnBox()->Text(), "20.0005");
  EXPECT_TRUE(window->HostKeyDown(IKeyPress(kKeyReturn)));
  window->HandleTick();
  EXPECT_DOUBLE_EQ(plug.ParameterAt(0)->Value(), 20.0005);
  EXPECT_FALSE(window->HostKeyUp(IKeyPress(kKeyReturn))) << "the box is gone";
}

TEST_F(DrawnEditTest, ClosingTheWindowDropsTheBox)
{
  FocusBox();
  window->CloseEditorWindow();
  EXPECT_EQ(window->DrawnBox(), nullptr);
  EXPECT_EQ(window->EditState(), kEditIdle);
  window->HandleTick();
  EXPECT_DOUBLE_EQ(plug.ParameterAt(0)->Value(), 20.0);
}

}  // namespace
