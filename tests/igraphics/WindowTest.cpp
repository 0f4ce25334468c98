// The platform-neutral window layer driven through a recording back-end.
#include <gtest/gtest.h>

#include <cmath>

#include "IBitmapControls.h"
#include "IGraphicsWindow.h"
#include "IPlatformServices.h"
#include "ITextRenderer.h"
#include "IWindowBackend.h"
#include "TestSupport.h"
#include "Win32Input.h"

namespace {

const IMouseKeys kLeft(true, false, false, false, false);
const IMouseKeys kRight(false, true, false, false, false);

// Records the texts it is asked to draw.
class RecordingText : public ITextRenderer
{
public:
  IPlatformFont* MakeFont(const ITextStyle&) override { return nullptr; }
  bool RenderText(LICE_IBitmap*, const ITextStyle&, const char* text, const IBounds&) override
  {
    texts.push_back(text);
    return true;
  }
  std::vector<std::string> texts;
};

// Records what the window layer asks of the window system; its boxes are native ones.
class FakeBackend : public IWindowBackend
{
public:
  void* CreateEditorWindow(IGraphicsWindow*, void* parent, const IBounds& rect, int tickMs) override
  {
    createdAt.push_back(rect);
    lastTick = tickMs;
    if (failCreate) return nullptr;
    const IBounds at = ParentRect(parent);
    windowRect = IBounds(at.left + rect.left, at.top + rect.top, at.left + rect.right, at.top + rect.bottom);
    return &window;
  }
  void DestroyEditorWindow(void*) override { ++destroyed; }
  bool ScreenRect(void* handle, IBounds& rect) override
  {
    rect = handle == &window ? windowRect : ParentRect(handle);
    return true;
  }
  IBounds ParentRect(void* handle) const { return handle == secondParent ? secondParentRect : parentRect; }
  void GrowWindow(void*, int32_t dW, int32_t dH) override { grown.push_back({dW, dH}); }
  void RepaintNow(void*, const IBounds& area) override
  {
    repainted.push_back(area);
    if (owner) owner->HandlePaint(area);
  }
  bool CopyToScreen(void*, LICE_IBitmap*, const IBounds& area) override
  {
    copied.push_back(area);
    return true;
  }
  ITextRenderer* TextRenderer() override { return &text; }
  double PlatformScale(void*) override { return platformScale; }
  bool HasNativeEditBoxes() const override { return true; }
  void* CreateEditBox(void*, const IBounds& rect, const char* text) override
  {
    boxRect = rect;
    boxText = text;
    listItems.clear();
    return &box;
  }
  void* CreateListBox(void*, const IBounds& rect, const std::vector<std::string>& items, int32_t selected) override
  {
    boxRect = rect;
    listItems = items;
    listSelected = selected;
    return &box;
  }
  void SetBoxText(void*, const char* text) override { boxText = text; }
  std::string BoxText(void*, int32_t maxChars) override { return boxText.substr(0, size_t(maxChars - 1)); }
  void DestroyBox(void*) override { ++boxesDestroyed; }

  IGraphicsWindow* owner = nullptr;
  double platformScale = 0.0;
  // A back-end's renderer lives as long as the process (the first editor installs it for
  // every text style): one for all fakes, emptied by each.
  static RecordingText& SharedText()
  {
    static RecordingText shared;
    return shared;
  }
  RecordingText& text = (SharedText().texts.clear(), SharedText());
  int window = 0, box = 0;
  bool failCreate = false;
  IBounds parentRect{100, 200, 900, 800}, windowRect;
  void* secondParent = nullptr;
  IBounds secondParentRect;
  int lastTick = 0, destroyed = 0, boxesDestroyed = 0;
  std::vector<IBounds> createdAt, repainted, copied;
  std::vector<std::pair<int, int>> grown;
  std::vector<std::string> listItems;
  std::string boxText;
  IBounds boxRect;
  int32_t listSelected = -2;
};

// Answers prompts as told and records the messages shown.
class FakeServices : public IPlatformServices
{
public:
  bool AskForFile(void*, std::string& path, bool save, const char*) override
  {
    path = save ? "saved" : "opened";
    return true;
  }
  bool AskForColour(void*, IRgba& colour, const char*) override
  {
    colour = IRgba(9, 10, 20, 30);
    return true;
  }
  bool AskYesNo(void*, const char*, const char*) override { return answerYes; }
  void ShowMessage(void*, const char*, const char* text) override { messages.push_back(text); }
  bool OpenAddress(void*, const char*) override { return online; }
  void* ThisModule() override { return nullptr; }
  bool ExecutablePath(std::string& path) override
  {
    path = executable;
    return true;
  }
  bool ModulePath(void*, std::string& path) override
  {
    path = module;
    return true;
  }

  bool answerYes = true, online = true;
  std::vector<std::string> messages;
  std::string executable = "C:\\Apps\\Host.exe", module = "/usr/lib/vst/Brindlow.so";
};

class WindowTest : public ::testing::Test
{
protected:
  WindowTest() : plug(3, &log)
  {
    backend = new FakeBackend();
    services = new FakeServices();
    window = new IGraphicsWindow(&plug, 366, 212, 30, backend, services);
    backend->owner = window;
    plug.ParameterAt(0)->DefineContinuous("Delay", 20.0, 1.0, 40.0, 0.001, "ms");
    plug.ParameterAt(1)->DefineChoice("Pan", 0, 2);
    plug.ParameterAt(1)->AddDisplayText(0, "Left");
    plug.ParameterAt(1)->AddDisplayText(1, "Right");
    plug.ParameterAt(2)->DefineContinuous("Wet Mix", 0.0, -10.0, 10.0, 0.1, "dB");
    knob = new IKnobMultiControl(&plug, 56, 73, 0, IBitmapStrip(nullptr, 78, 5070, 65), kKnobVertical, 4.0);
    sw = new ISwitchControl(&plug, 159, 96, 1, IBitmapStrip(nullptr, 47, 42, 2), kBlendThroughAlpha);
    window->AddControl(knob);
    window->AddControl(sw);
    plug.AttachEditor(window);
  }

  void Open()
  {
    ASSERT_NE(window->OpenEditorWindow(&parent), nullptr);
    window->HandleTick();  // paints everything
    window->HandleTick();  // the values pushed at attachment are painted twice
    backend->repainted.clear();
    backend->copied.clear();
  }

  EventLog log;
  TestPlug plug;
  FakeBackend* backend;
  FakeServices* services;
  IGraphicsWindow* window;  // owned by the plug-in
  IKnobMultiControl* knob;
  ISwitchControl* sw;
  int parent = 0;
};

TEST(WindowHelpersTest, VirtualKeysMapToKeyCodes)
{
  EXPECT_EQ(KeyCodeForVirtualKey(0x20), kKeySpace);
  EXPECT_EQ(KeyCodeForVirtualKey(0x26), kKeyUp);
  EXPECT_EQ(KeyCodeForVirtualKey(0x28), kKeyDown);
  EXPECT_EQ(KeyCodeForVirtualKey(0x25), kKeyLeft);
  EXPECT_EQ(KeyCodeForVirtualKey(0x27), kKeyRight);
  EXPECT_EQ(KeyCodeForVirtualKey(0x30), 5);
  EXPECT_EQ(KeyCodeForVirtualKey(0x39), 14);
  EXPECT_EQ(KeyCodeForVirtualKey(0x41), 15);
  EXPECT_EQ(KeyCodeForVirtualKey(0x5A), 40);
  EXPECT_EQ(KeyCodeForVirtualKey(0x61), 15);
  EXPECT_EQ(KeyCodeForVirtualKey(0x7A), 40);
  EXPECT_EQ(KeyCodeForVirtualKey(0x7B), -1);  // F12
  EXPECT_EQ(KeyCodeForVirtualKey(0x0D), -1);
  // The edit box's keys have codes of their own that controls never receive.
  EXPECT_EQ(KeyPressForVirtualKey(0x0D).code, kKeyReturn);
  EXPECT_FALSE(KeyPressForVirtualKey(0x0D).Dispatched());
  EXPECT_EQ(KeyPressForVirtualKey(0x08).code, kKeyBackspace);
  EXPECT_TRUE(KeyPressForVirtualKey(0x41).Dispatched());
}

TEST(WindowHelpersTest, WheelDeltasBecomeWholeStepsTruncatedTowardZero)
{
  EXPECT_EQ(WheelStepsForDelta(120), 1);
  EXPECT_EQ(WheelStepsForDelta(-240), -2);
  EXPECT_EQ(WheelStepsForDelta(60), 0);
  EXPECT_EQ(WheelStepsForDelta(-60), 0);
}

TEST(WindowHelpersTest, LeadingDecimalsAreReadLikeTheEditBoxExpects)
{
  EXPECT_DOUBLE_EQ(IParameter::ReadLeadingDecimal("  12.5ms"), 12.5);
  EXPECT_DOUBLE_EQ(IParameter::ReadLeadingDecimal("-5"), -5.0);
  EXPECT_DOUBLE_EQ(IParameter::ReadLeadingDecimal("+.25"), 0.25);
  EXPECT_DOUBLE_EQ(IParameter::ReadLeadingDecimal("1e2x"), 100.0);
  EXPECT_DOUBLE_EQ(IParameter::ReadLeadingDecimal("3e"), 3.0);
  EXPECT_DOUBLE_EQ(IParameter::ReadLeadingDecimal("7."), 7.0);
  EXPECT_DOUBLE_EQ(IParameter::ReadLeadingDecimal("abc"), 0.0);
  EXPECT_DOUBLE_EQ(IParameter::ReadLeadingDecimal("."), 0.0);
  EXPECT_DOUBLE_EQ(IParameter::ReadLeadingDecimal("0x1A"), 0.0);
  EXPECT_DOUBLE_EQ(IParameter::ReadLeadingDecimal("inf"), 0.0);
  EXPECT_DOUBLE_EQ(IParameter::ReadLeadingDecimal(nullptr), 0.0);
}

TEST(WindowHelpersTest, DirectoriesKeepTheirTrailingSeparator)
{
  EXPECT_EQ(DirectoryOfPath("C:\\Apps\\Host.exe"), "C:\\Apps\\");
  EXPECT_EQ(DirectoryOfPath("C:\\Apps\\"), "");
  EXPECT_EQ(DirectoryOfPath("Host.exe"), "");
  EXPECT_EQ(DirectoryOfPath("/usr/lib/vst/Brindlow.so"), "/usr/lib/vst/");
}

TEST_F(WindowTest, OpeningStartsTheTickAndRepaintsEverything)
{
  EXPECT_EQ(window->TickMilliseconds(), 33);
  ASSERT_NE(window->OpenEditorWindow(&parent), nullptr);
  EXPECT_TRUE(window->HasWindow());
  EXPECT_EQ(backend->lastTick, 33);
  EXPECT_EQ(backend->createdAt.back(), IBounds(0, 0, 366, 212));
  window->HandleTick();
  ASSERT_EQ(backend->repainted.size(), 1u);
  EXPECT_EQ(backend->repainted[0], IBounds(56, 73, 206, 151));  // union of the knob and the switch
  EXPECT_EQ(backend->copied, backend->repainted);
  window->HandleTick();  // the knob's pushed value is painted once more
  ASSERT_EQ(backend->repainted.size(), 2u);
  EXPECT_EQ(backend->repainted[1], knob->Bounds());
  window->HandleTick();  // nothing dirty any more
  EXPECT_EQ(backend->repainted.size(), 2u);

  window->CloseEditorWindow();
  EXPECT_FALSE(window->HasWindow());
  EXPECT_EQ(backend->destroyed, 1);
}

TEST_F(WindowTest, ReopeningInANewParentKeepsTheOffsetAtTheEditorsSize)
{
  Open();
  backend->windowRect = IBounds(110, 230, 410, 430);  // moved and resized by the host
  backend->parentRect = IBounds(100, 200, 900, 800);
  ASSERT_NE(window->OpenEditorWindow(&parent), nullptr);
  EXPECT_EQ(backend->destroyed, 1);
  EXPECT_EQ(backend->createdAt.back(), IBounds(10, 30, 376, 242));
}

TEST_F(WindowTest, ReopeningInAParentElsewhereOnScreenKeepsTheOffsetFromTheOldParent)
{
  Open();
  backend->parentRect = IBounds(100, 200, 900, 800);
  backend->windowRect = IBounds(110, 230, 476, 442);
  int second = 0;
  backend->secondParent = &second;
  backend->secondParentRect = IBounds(600, 50, 1400, 650);
  ASSERT_NE(window->OpenEditorWindow(&second), nullptr);
  EXPECT_EQ(backend->createdAt.back(), IBounds(10, 30, 376, 242));
}

TEST_F(WindowTest, FailedCreationAnswersNull)
{
  backend->failCreate = true;
  EXPECT_EQ(window->OpenEditorWindow(&parent), nullptr);
  EXPECT_FALSE(window->HasWindow());
}

TEST_F(WindowTest, WheelStepsReachTheControlUnderThePointer)
{
  Open();
  knob->SetValue(0.5);
  window->HandleWheel(90, 100, IMouseKeys(), 2);
  EXPECT_NEAR(knob->Value(), 0.52, 1e-12);
  window->HandleWheel(90, 100, IMouseKeys(), -1);
  EXPECT_NEAR(knob->Value(), 0.51, 1e-12);
  const size_t sent = plug.automated.size();
  window->HandleWheel(90, 100, IMouseKeys(), 0);  // zero steps: still delivered
  EXPECT_NEAR(knob->Value(), 0.51, 1e-12);
  EXPECT_EQ(plug.automated.size(), sent + 1);
}

TEST_F(WindowTest, DragsReachTheControlOnlyWhileTheWindowHasTheCapture)
{
  Open();
  knob->SetValue(0.0);
  window->HandleLeftButtonDown(90, 100, kLeft);
  EXPECT_FALSE(window->HandleMouseMove(90, 22, kLeft, false));
  EXPECT_DOUBLE_EQ(knob->Value(), 0.0);
  window->HandleMouseMove(90, 22, kLeft, true);  // 78 px up: a quarter
  EXPECT_NEAR(knob->Value(), 0.25, 1e-12);
  window->HandleButtonUp(900, 900, kLeft);
  EXPECT_EQ(log, (EventLog{"begin 0", "automate 0", "end 0"}));
}

TEST_F(WindowTest, TypedValueIsCommittedOnTheTickAfterReturn)
{
  Open();
  plug.ParameterAt(2)->SetNegatedDisplay(true);
  auto* wet = new IKnobMultiControl(&plug, 233, 73, 2, IBitmapStrip(nullptr, 78, 5070, 65), kKnobVertical, 4.0);
  window->AddControl(wet);
  window->EditParameterInPlace(wet, plug.ParameterAt(2));
  ASSERT_NE(window->EditBox(), nullptr);
  EXPECT_EQ(backend->boxText, "0");
  EXPECT_EQ(backend->boxRect, IBounds(233, 104, 311, 120));  // bounds width, centred, 16 high

  window->HandleEditFocus(true);
  EXPECT_TRUE(window->EditHasFocus());
  window->HandleTick();  // focused: nothing happens
  EXPECT_NE(window->EditBox(), nullptr);

  backend->boxText = "-5 dB";
  window->HandleEditReturn();
  window->HandleTick();
  EXPECT_EQ(window->EditBox(), nullptr);
  EXPECT_EQ(backend->boxesDestroyed, 1);
  EXPECT_DOUBLE_EQ(plug.ParameterAt(2)->Value(), 5.0);  // negated display
  EXPECT_DOUBLE_EQ(wet->Value(), 0.75);
}

TEST_F(WindowTest, ListOfAChoiceShowsItsTextsAndCommitsTheChosenOne)
{
  Open();
  sw->MouseDown(160, 100, kRight);
  ASSERT_NE(window->EditBox(), nullptr);
  EXPECT_EQ(backend->listItems, (std::vector<std::string>{"Left", "Right"}));
  EXPECT_EQ(backend->listSelected, 0);
  EXPECT_EQ(backend->boxRect, IBounds(182 - 32, 106, 182 + 32, 106 + 108));

  backend->boxText = "Right";
  window->HandleListSelection();
  window->HandleTick();
  EXPECT_DOUBLE_EQ(plug.ParameterAt(1)->Value(), 1.0);
  EXPECT_DOUBLE_EQ(sw->Value(), 1.0);
}

TEST_F(WindowTest, WhileTheBoxHasFocusTheEditorIgnoresClicksAndARightClickCancels)
{
  Open();
  window->EditParameterInPlace(knob, plug.ParameterAt(0));
  window->EditParameterInPlace(sw, plug.ParameterAt(1));  // one box at a time
  EXPECT_EQ(window->EditedControl(), knob);
  window->HandleEditFocus(true);
  window->HandleLeftButtonDown(90, 100, kLeft);
  EXPECT_EQ(window->CapturedControl(), -1);
  window->HandleRightButtonDown(90, 100, kRight);
  EXPECT_EQ(window->EditState(), kEditCancel);
  window->HandleTick();
  EXPECT_EQ(window->EditBox(), nullptr);
  EXPECT_DOUBLE_EQ(plug.ParameterAt(0)->Value(), 20.0);  // unchanged
  EXPECT_TRUE(plug.automated.empty());
}

TEST_F(WindowTest, ARepaintWithAnOpenBoxRefreshesItsTextOnTheNextTick)
{
  Open();
  window->EditParameterInPlace(knob, plug.ParameterAt(0));
  plug.ParameterAt(0)->SetValue(30.0);
  window->PushParameterToControls(0, 30.0, false); // as the plug-in tells its editor
  window->HandleTick();
  EXPECT_EQ(window->EditState(), kEditRefresh);
  window->HandleTick();
  EXPECT_EQ(backend->boxText, "30.000");
  EXPECT_EQ(window->EditState(), kEditIdle);
}

TEST(WindowHelpersTest, ImagesAreDecodedByTheirNamesExtension)
{
  EXPECT_EQ(ImageKindOfName("img/kyvBrindlow.PNG"), IImageKind::kPng);
  EXPECT_EQ(ImageKindOfName("photo.JpEg"), IImageKind::kJpeg);
  EXPECT_EQ(ImageKindOfName("photo.jpg"), IImageKind::kJpeg);
  EXPECT_EQ(ImageKindOfName("xpng"), IImageKind::kPng);  // no full stop: the name less its first letter
  EXPECT_EQ(ImageKindOfName("picture.gif"), IImageKind::kNone);
  EXPECT_EQ(ImageKindOfName("noextension"), IImageKind::kNone);
  EXPECT_EQ(ImageKindOfName(""), IImageKind::kNone);
  EXPECT_EQ(ImageKindOfName(nullptr), IImageKind::kNone);
}

TEST_F(WindowTest, PromptsNeedAWindowAndReportTheirAnswers)
{
  std::string path = "old";
  window->AskForFile(path, 0, nullptr, nullptr);
  EXPECT_EQ(path, "");
  IRgba colour(77, 1, 2, 3);
  EXPECT_FALSE(window->AskForColour(colour, "Pick"));

  Open();
  window->AskForFile(path, 1, "/tmp", "png");
  EXPECT_EQ(path, "saved");
  window->AskForFile(path, 0, nullptr, nullptr);
  EXPECT_EQ(path, "opened");
  EXPECT_TRUE(window->AskForColour(colour, nullptr));
  EXPECT_EQ(colour, IRgba(77, 10, 20, 30));  // alpha kept

  EXPECT_TRUE(window->OpenWebAddress("http://example.org", "Site", "Open?", "Failed"));
  services->answerYes = false;
  EXPECT_FALSE(window->OpenWebAddress("http://example.org", "Site", "Open?", "Failed"));
  EXPECT_TRUE(services->messages.empty());
  services->online = false;
  EXPECT_FALSE(window->OpenWebAddress("http://example.org", "Site", nullptr, "Failed"));
  EXPECT_EQ(services->messages, (std::vector<std::string>{"Failed"}));

  std::string dir;
  window->HostDirectory(dir);
  EXPECT_EQ(dir, "C:\\Apps\\");
  window->ModuleDirectory(dir);
  EXPECT_EQ(dir, "/usr/lib/vst/");
}

TEST_F(WindowTest, ResizingAnOpenEditorGrowsTheWindowAndTheSurface)
{
  Open();
  window->SetEditorSize(400, 250);
  ASSERT_EQ(backend->grown.size(), 1u);
  EXPECT_EQ(backend->grown[0], std::make_pair(34, 38));
  EXPECT_EQ(window->DrawBitmap()->Width(), 400);
  EXPECT_EQ(window->DrawBitmap()->Height(), 250);
  EXPECT_EQ(window->ControlCount(), 0);
}

TEST_F(WindowTest, TextGoesToTheBackendUnlessEmpty)
{
  ITextStyle style(12);
  EXPECT_TRUE(window->RenderText(style, "", IBounds(0, 0, 10, 10)));
  EXPECT_TRUE(window->RenderText(style, "v1.03", IBounds(0, 0, 10, 10)));
  EXPECT_EQ(backend->text.texts, (std::vector<std::string>{"v1.03"}));
}

// --- scale ---

TEST_F(WindowTest, TheUsersScaleOutranksTheHostsWhichOutranksThePlatforms)
{
  backend->platformScale = 1.25;
  Open();
  EXPECT_EQ(backend->createdAt.back(), IBounds(0, 0, 458, 265));  // round(366 * 1.25) x round(212 * 1.25)
  EXPECT_EQ(plug.resizedTo.back(), std::make_pair(458, 265));
  const size_t told = plug.resizedTo.size();

  // The host's scale: the window follows, the host is not told back.
  EXPECT_TRUE(window->SetHostScale(2.0));
  EXPECT_DOUBLE_EQ(window->EditorScale(), 2.0);
  EXPECT_EQ(backend->grown.back(), std::make_pair(732 - 458, 424 - 265));
  EXPECT_EQ(window->DrawBitmap()->Width(), 732);
  EXPECT_EQ(window->DrawBitmap()->Height(), 424);
  EXPECT_EQ(plug.resizedTo.size(), told);
  EXPECT_EQ(backend->repainted.back(), IBounds(0, 0, 732, 424));

  // The user's: the window follows and the host hears the new size.
  window->SetUserScale(3.0);
  EXPECT_EQ(window->EditorWidth(), 1098);
  EXPECT_EQ(window->EditorHeight(), 636);
  EXPECT_EQ(plug.resizedTo.back(), std::make_pair(1098, 636));
  window->SetHostScale(1.5);  // hidden behind the user's choice
  EXPECT_DOUBLE_EQ(window->EditorScale(), 3.0);
  window->SetUserScale(0.0);  // follow the host again
  EXPECT_DOUBLE_EQ(window->EditorScale(), 1.5);
  EXPECT_EQ(plug.resizedTo.back(), std::make_pair(549, 318));

  // The platform's, while open: under the host's here.
  window->HandlePlatformScale(2.5);
  EXPECT_DOUBLE_EQ(window->EditorScale(), 1.5);
  EXPECT_DOUBLE_EQ(window->PlatformScale(), 2.5);
}

TEST_F(WindowTest, ScalesOutOfRangeAreHeldAndMeaninglessOnesIgnored)
{
  Open();
  EXPECT_FALSE(window->SetHostScale(std::nan("")));
  EXPECT_FALSE(window->SetHostScale(0.0));
  EXPECT_FALSE(window->SetHostScale(-2.0));
  EXPECT_DOUBLE_EQ(window->EditorScale(), 1.0);
  EXPECT_TRUE(window->SetHostScale(7.0));
  EXPECT_DOUBLE_EQ(window->EditorScale(), 3.0);
  EXPECT_TRUE(window->SetHostScale(0.5));
  EXPECT_DOUBLE_EQ(window->EditorScale(), 1.0);
  window->SetUserScale(2.0);
  window->SetUserScale(std::nan(""));
  window->SetUserScale(-1.0);
  EXPECT_DOUBLE_EQ(window->UserScale(), 2.0);
  EXPECT_DOUBLE_EQ(window->EditorScale(), 2.0);
}

TEST_F(WindowTest, HostSizesKeepThePanelsProportionsWithinOneToThreeTimes)
{
  EXPECT_TRUE(window->CanResizeEditor());
  int w = 800, h = 800;
  ASSERT_TRUE(window->AdjustEditorSize(w, h));
  EXPECT_EQ(w, 800);
  EXPECT_EQ(h, 463);  // round(212 * 800 / 366)
  w = 100, h = 100;
  ASSERT_TRUE(window->AdjustEditorSize(w, h));
  EXPECT_EQ(std::make_pair(w, h), std::make_pair(366, 212));
  w = 5000, h = 3000;
  ASSERT_TRUE(window->AdjustEditorSize(w, h));
  EXPECT_EQ(std::make_pair(w, h), std::make_pair(1098, 636));
  w = 0, h = 300;
  EXPECT_FALSE(window->AdjustEditorSize(w, h));
  EXPECT_EQ(std::make_pair(w, h), std::make_pair(0, 300));

  Open();
  const size_t told = plug.resizedTo.size();
  EXPECT_TRUE(window->SetEditorSizeFromHost(732, 424));
  EXPECT_DOUBLE_EQ(window->UserScale(), 2.0);
  EXPECT_EQ(backend->grown.back(), std::make_pair(366, 212));
  EXPECT_FALSE(window->SetEditorSizeFromHost(800, 800));  // taken as 800 x 463
  EXPECT_EQ(window->EditorWidth(), 800);
  EXPECT_EQ(window->EditorHeight(), 463);
  const size_t grown = backend->grown.size();
  EXPECT_TRUE(window->SetEditorSizeFromHost(800, 463));  // the current size: nothing changes
  EXPECT_EQ(backend->grown.size(), grown);
  EXPECT_EQ(plug.resizedTo.size(), told);  // the host asked: it is never told back
}

TEST_F(WindowTest, AtTwiceTheSizeMouseEventsMeanWhatTheyMeanInPanelUnits)
{
  window->SetHostScale(2.0);
  Open();
  knob->SetValue(0.0);
  window->HandleLeftButtonDown(180, 200, kLeft);  // (90, 100) in panel units: the knob
  window->HandleMouseMove(180, 200 - 156, kLeft, true);  // a quarter of four knob heights as drawn
  EXPECT_NEAR(knob->Value(), 0.25, 1e-12);
  window->HandleButtonUp(180, 44, kLeft);
  window->HandleWheel(113, 147, IMouseKeys(), 2);  // (56, 73): the knob's corner
  EXPECT_NEAR(knob->Value(), 0.27, 1e-12);
  window->HandleWheel(111, 147, IMouseKeys(), 2);  // (55, 73): beside it
  EXPECT_NEAR(knob->Value(), 0.27, 1e-12);

  // A paint asked in device pixels paints the panel area under it and copies it back whole.
  backend->copied.clear();
  window->HandlePaint(IBounds(113, 147, 115, 149));
  ASSERT_EQ(backend->copied.size(), 1u);
  EXPECT_EQ(backend->copied[0], IBounds(112, 146, 116, 150));
}

TEST_F(WindowTest, TheSizeMenuUsesTheNativeListWhereTheBackendHasOne)
{
  window->SetSizeMenu(true);
  window->SetHostScale(2.0);
  Open();
  window->HandleRightButtonDown(20, 30, kRight);  // beside the controls
  ASSERT_EQ(backend->listItems.size(), 7u);
  EXPECT_EQ(backend->listSelected, 6);
  EXPECT_EQ(backend->boxRect.left, 20);  // device pixels
  EXPECT_EQ(backend->boxRect.top, 30);
  backend->boxText = "150%";
  window->HandleListSelection();
  window->HandleTick();
  EXPECT_DOUBLE_EQ(window->EditorScale(), 1.5);
  EXPECT_EQ(plug.resizedTo.back(), std::make_pair(549, 318));
  EXPECT_EQ(backend->boxesDestroyed, 1);
}

}  // namespace
