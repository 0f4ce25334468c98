// The native edit box, which the product's own controls never open, on a small editor
// built here from the toolkit: one control whose parameter may be typed in place. Also the
// edit box's font and dialog code, and an editor that grows inside its host's frames.
#include <windows.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "EditorChecks.h"
#include "IControl.h"
#include "IGraphicsWindow.h"
#include "IParam.h"
#include "IPlugBase.h"
#include "WineCheck.h"

using namespace winecheck;

namespace {

constexpr int kBoxId = 99;
constexpr int kWidth = 200, kHeight = 120;
const IBounds kFieldBounds(40, 30, 160, 70);
const POINT kField = {100, 50};

class ToolkitPlug : public IPlugBase
{
public:
  ToolkitPlug() : IPlugBase(1, "1-2 2-2", 1, "Toolkit", "", "Tester", 0x00010000, 1234, 5678, 0, false, false, false)
  {
    ParameterAt(0)->DefineContinuous("Level", 0.0, 0.0, 100.0, 0.1);
  }

  void HostBeginEdit(int) override { ++gestures; }
  void HostAutomate(int, double) override {}
  void HostEndEdit(int) override {}
  int HostSamplePosition() override { return 0; }
  double HostTempo() override { return 120.0; }
  void HostTimeSignature(int* numerator, int* denominator) override { *numerator = *denominator = 4; }
  void ResizeEditorRect(int, int) override {}
  void HostSpecificSetup() override {}
  bool SendMidiToHost(const MidiMessage&) override { return false; }
  bool SendMidiListToHost(const MidiMessage*, int) override { return false; }

  int gestures = 0;
};

// A field that opens the edit box on a right click (the toolkit's default) and records
// left presses, drags, releases and keys.
class Field : public IControl
{
public:
  Field(IPlugBase* plug) : IControl(plug, kFieldBounds, 0) {}
  bool Paint(IGraphicsLice*) override { return true; }
  void MouseDown(int32_t x, int32_t y, const IMouseKeys& keys) override
  {
    if (keys.left) ++leftPresses;
    IControl::MouseDown(x, y, keys);
  }
  void MouseDrag(int32_t x, int32_t y, int32_t, int32_t, const IMouseKeys&) override { lastDrag = {x, y}; }
  void MouseUp(int32_t x, int32_t y, const IMouseKeys&) override { lastRelease = {x, y}; }
  void KeyDown(int32_t, int32_t, int32_t keyCode) override { keys.push_back(keyCode); }
  int leftPresses = 0;
  POINT lastDrag = {0, 0}, lastRelease = {0, 0};
  std::vector<int32_t> keys;
};

double Level(ToolkitPlug& plug) { return plug.ParameterAt(0)->Value(); }

HWND OpenBox(HWND editor)
{
  PostMessageA(editor, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(kField.x, kField.y));
  PostMessageA(editor, WM_RBUTTONUP, 0, MAKELPARAM(kField.x, kField.y));
  Pump(100);
  return GetDlgItem(editor, kBoxId);
}

void CheckEditBox(ToolkitPlug& plug, IGraphicsWindow& editor, Field& field, HWND window)
{
  HWND box = OpenBox(window);
  char className[16] = {};
  if (box) GetClassNameA(box, className, sizeof className);
  if (!Check(box && lstrcmpiA(className, "Edit") == 0, "a right click on the field opens an EDIT box (id 99)")) return;

  LOGFONTA font = {};
  HFONT boxFont = reinterpret_cast<HFONT>(SendMessageA(box, WM_GETFONT, 0, 0));
  Check(boxFont && GetObjectA(boxFont, sizeof font, &font) && font.lfHeight == 14 && !lstrcmpA(font.lfFaceName, "Arial"),
        "the box writes in \"Arial\" 14");
  Check((SendMessageA(box, WM_GETDLGCODE, 0, 0) & DLGC_WANTALLKEYS) != 0, "the box wants every key");

  SetFocus(box);
  Check(editor.EditState() == kEditFocused, "focus in the box: the editor stands still");
  const int gesturesBefore = plug.gestures, pressesBefore = field.leftPresses;
  PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(kField.x, kField.y));
  PostMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(kField.x, kField.y));
  Pump(80);
  Check(field.leftPresses == pressesBefore && plug.gestures == gesturesBefore, "a left click on the editor meanwhile does nothing");
  SetWindowTextA(box, "12.5");
  PostMessageA(box, WM_KEYDOWN, VK_RETURN, 0);
  PumpUntil([&] { return GetDlgItem(window, kBoxId) == nullptr; });
  Check(std::fabs(Level(plug) - 12.5) < 1e-9, "\"12.5\" and Return: the value is 12.5 on the next tick (" +
                                                   std::to_string(Level(plug)) + ")");
  Check(editor.EditBox() == nullptr && GetDlgItem(window, kBoxId) == nullptr, "and the box is gone");

  box = OpenBox(window);
  if (!Check(box != nullptr, "the box opens again")) return;
  SetFocus(box);
  SetWindowTextA(box, "70");
  PostMessageA(window, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
  PostMessageA(window, WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
  PumpUntil([&] { return GetDlgItem(window, kBoxId) == nullptr; });
  Check(GetDlgItem(window, kBoxId) == nullptr && std::fabs(Level(plug) - 12.5) < 1e-9,
        "a right click on the editor while the box has the focus cancels: the value stays 12.5");

  // A box left open when the window closes is forgotten with it.
  box = OpenBox(window);
  editor.CloseEditorWindow();
  Check(editor.EditBox() == nullptr && editor.EditedControl() == nullptr && editor.EditState() == kEditIdle,
        "closing the window with a box open clears the edit fields");
}

// A press captures the mouse: drags and the release outside the window still reach the
// field, with their coordinates outside its bounds.
void CheckCapturedDrag(Field& field, HWND window)
{
  PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(kField.x, kField.y));
  PostMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(-20, 300));
  PostMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(-25, 310));
  Pump(100);
  Check(field.lastDrag.x == -20 && field.lastDrag.y == 300 && field.lastRelease.x == -25 && field.lastRelease.y == 310,
        "a drag and release outside the window reach the captured field");
}

// Keys go to the control under the pointer: digits as 5 to 14, letters as 15 to 40; F12
// (0x7B, beyond the table) is not dispatched.
void CheckKeys(Field& field, HWND window)
{
  POINT screen = kField;
  ClientToScreen(window, &screen);
  SetCursorPos(screen.x, screen.y);
  field.keys.clear();
  for (WPARAM key : {WPARAM('0'), WPARAM('9'), WPARAM('A'), WPARAM(VK_F12), WPARAM(VK_SPACE)})
    PostMessageA(window, WM_KEYDOWN, key, 0);
  Pump(80);
  Check(field.keys == std::vector<int32_t>({5, 14, 15, 0}), "keys reach the control under the pointer as 5, 14, 15, 0");
}

// The editor grows, and its parent and grandparent (child windows both) with it.
void CheckGrowth(IGraphicsWindow& editor, HWND frame)
{
  HWND panel = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, kWidth + 10, kHeight + 10, frame,
                               nullptr, GetModuleHandleA(nullptr), nullptr);
  HWND holder = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 5, 5, kWidth, kHeight, panel, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
  HWND window = static_cast<HWND>(editor.OpenEditorWindow(holder));
  RECT before[3], after[3];
  HWND windows[3] = {window, holder, panel};
  for (int i = 0; i < 3; ++i) GetWindowRect(windows[i], &before[i]);
  editor.SetEditorSize(kWidth + 30, kHeight + 20);
  Pump(80);
  bool grown = window != nullptr;
  for (int i = 0; i < 3; ++i)
  {
    GetWindowRect(windows[i], &after[i]);
    grown = grown && after[i].right - after[i].left == before[i].right - before[i].left + 30 &&
            after[i].bottom - after[i].top == before[i].bottom - before[i].top + 20;
  }
  Check(grown, "SetEditorSize grows the window, its parent and its grandparent by the same amount");
  editor.CloseEditorWindow();
  DestroyWindow(panel);
}

}  // namespace

void RunToolkitEditorChecks()
{
  ToolkitPlug plug;
  auto* editor = new IGraphicsWindow(&plug, kWidth, kHeight, 30);
  Field* field = new Field(&plug);
  editor->AddControl(field);
  plug.AttachEditor(editor);

  HWND frame = MakeParentWindow("toolkit editor", 600, 400);
  HWND window = static_cast<HWND>(editor->OpenEditorWindow(frame));
  if (Check(window != nullptr, "the toolkit's editor opens a window"))
  {
    CheckCapturedDrag(*field, window);
    CheckKeys(*field, window);
    CheckEditBox(plug, *editor, *field, window);
  }
  CheckGrowth(*editor, frame);
  DestroyWindow(frame);
}
