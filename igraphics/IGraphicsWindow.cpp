#include "IGraphicsWindow.h"
#include "IParam.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>
#include <vector>

#include "IControl.h"
#include "IDeferredImage.h"
#include "IDrawnEditBox.h"
#include "IPlatformServices.h"
#include "ITextRenderer.h"
#include "ITextStyle.h"
#include "IWindowBackend.h"
#include "image_loaders.h"
#include "lice.h"

namespace {
// Moves |rect| inside (0, 0, width, height) where it fits, keeping its size.
IBounds KeptInside(IBounds rect, int32_t width, int32_t height)
{
  int32_t dx = 0, dy = 0;
  if (rect.right > width) dx = width - rect.right;
  if (rect.left + dx < 0) dx = -rect.left;
  if (rect.bottom > height) dy = height - rect.bottom;
  if (rect.top + dy < 0) dy = -rect.top;
  return IBounds(rect.left + dx, rect.top + dy, rect.right + dx, rect.bottom + dy);
}
}  // namespace

IImageKind ImageKindOfName(const char* name)
{
  if (!name || !*name) return IImageKind::kNone;
  const size_t length = std::strlen(name);
  const char* extension = name + 1;
  for (size_t i = length - 1; i >= 1; --i)
  {
    if (name[i] == '.')
    {
      extension = name + i + 1;
      break;
    }
  }
  auto is = [extension](const char* wanted) {
    size_t i = 0;
    for (; extension[i] && wanted[i]; ++i)
      if (std::tolower(static_cast<unsigned char>(extension[i])) != wanted[i]) return false;
    return extension[i] == wanted[i];
  };
  if (is("png")) return IImageKind::kPng;
  if (is("jpg") || is("jpeg")) return IImageKind::kJpeg;
  return IImageKind::kNone;
}

std::string DirectoryOfPath(const std::string& path)
{
  const size_t separator = path.find_last_of("\\/");
  if (separator == std::string::npos || separator + 1 == path.size()) return std::string();
  return path.substr(0, separator + 1);
}

IGraphicsWindow::IGraphicsWindow(IEditorDelegate* plug, int32_t width, int32_t height, int32_t frameRate,
                                 IWindowBackend* backend, IPlatformServices* services)
  : IGraphicsLice(plug, width, height, frameRate),
    mBackend(backend ? backend : CreateWindowBackend()),
    mServices(services ? services : CreatePlatformServices())
{
  mModuleInstance = mServices->ThisModule();
  // Text styles make their fonts with the process's renderer: the back-end's, unless an
  // earlier editor installed one.
  if (!GetTextRenderer() && mBackend->TextRenderer()) SetTextRenderer(mBackend->TextRenderer());
}

IGraphicsWindow::~IGraphicsWindow()
{
  // A host may close the plug-in on any thread: a window still open is closed normally
  // on the thread that opened it, and let go of untouched from any other.
  if (mWindow && std::this_thread::get_id() != mWindowThread)
  {
    void* window = mWindow;
    mWindow = nullptr;
    mBackend->AbandonEditorWindow(window);
    return;
  }
  CloseEditorWindow();
}

ITextRenderer* IGraphicsWindow::TextRenderer() const { return mBackend->TextRenderer(); }

// ---------------------------------------------------------------------------
// Window

void* IGraphicsWindow::OpenEditorWindow(void* parentWindow)
{
  int32_t offsetX = 0, offsetY = 0;
  if (mWindow)
  {
    // Re-opened in a new parent: keep the offset the window had from its own parent's
    // corner. Measuring against the new parent would carry the two parents' distance on
    // screen into the offset and could put the editor outside the host's window.
    IBounds parentRect, windowRect;
    const bool known = mParentWindow && mBackend->ScreenRect(mParentWindow, parentRect) &&
                       mBackend->ScreenRect(mWindow, windowRect);
    CloseEditorWindow();
    if (known)
    {
      offsetX = windowRect.left - parentRect.left;
      offsetY = windowRect.top - parentRect.top;
    }
  }
  // The window is made at the platform's scale for its parent from the start.
  SetPlatformScale(mBackend->PlatformScale(parentWindow), true);
  const IBounds rect(offsetX, offsetY, offsetX + EditorWidth(), offsetY + EditorHeight());
  mWindow = mBackend->CreateEditorWindow(this, parentWindow, rect, TickMilliseconds());
  mWindowThread = std::this_thread::get_id();
  mParentWindow = mWindow ? parentWindow : nullptr;
  if (mWindow) MarkAllDirty();
  return mWindow;
}

bool IGraphicsWindow::OpenTopLevelEditorWindow()
{
  void* parent = mBackend->TopLevelParent();
  return parent && OpenEditorWindow(parent);
}

uintptr_t IGraphicsWindow::EditorWindowId()
{
  return mWindow ? mBackend->SystemWindow(mWindow) : 0;
}

void IGraphicsWindow::CloseEditorWindow()
{
  if (!mWindow) return;
  void* window = mWindow;
  mWindow = nullptr;
  mParentWindow = nullptr;
  // A native box goes with its window; a drawn one is ours to drop.
  mEditBox = nullptr;
  mDrawnBox.reset();
  mDrawnBoxChanged = false;
  mPendingArea = IBounds();
  mEditedControl = nullptr;
  mEditedParam = nullptr;
  mEditState = kEditIdle;
  mMenuItems.clear();
  mMenuChoice = nullptr;
  // No leave notice comes from a window that goes: a control must not stay hovered until
  // the next opening.
  DispatchMouseLeave();
  mBackend->DestroyEditorWindow(window);
}

void IGraphicsWindow::ShowEditorWindow(bool show)
{
  if (mWindow) mBackend->ShowWindow(mWindow, show);
}

void IGraphicsWindow::Idle()
{
  if (mWindow) mBackend->Idle(mWindow);
}

int IGraphicsWindow::EventFileDescriptor() const
{
  return mWindow ? mBackend->EventFileDescriptor(mWindow) : -1;
}

bool IGraphicsWindow::PresentRect(const IBounds& area)
{
  // A drawn box lies over the controls: paint it again, whole, wherever they were painted.
  if (mDrawnBox && area.Overlaps(mDrawnBox->Bounds()))
  {
    const IBounds painting = mDrawArea;
    mDrawArea = mDrawnBox->Bounds();
    mDrawnBox->Paint(*this, TextRenderer(), mEditState == kEditFocused);
    mDrawArea = painting;
  }
  if (mWindow) mBackend->CopyToScreen(mWindow, DrawBitmap(), ToDevice(area));
  return true;
}

bool IGraphicsWindow::RenderText(const ITextStyle& style, const char* text, const IBounds& rect)
{
  if (!text || !*text) return true;
  ITextRenderer* renderer = TextRenderer();
  if (!renderer || !DrawBitmap()) return false;
  // At scale s the text is s times its size in the device rectangle: one scaled style.
  const ITextStyle& scaled = style.AtScale(EditorScale());
  const IBounds deviceRect = ToDevice(rect);
  // Inside a paint pass only the area being painted may change: the backdrop under the
  // rest was not redrawn, and antialiased text drawn twice over itself grows darker.
  if (!DrawArea().IsEmpty())
    return renderer->RenderTextClipped(DrawBitmap(), scaled, text, deviceRect, ToDevice(DrawArea()));
  return renderer->RenderText(DrawBitmap(), scaled, text, deviceRect);
}

void IGraphicsWindow::SetEditorSize(int32_t width, int32_t height)
{
  const int32_t oldWidth = EditorWidth(), oldHeight = EditorHeight();
  IGraphicsLice::SetEditorSize(width, height);
  ResizeDrawSurface();
  ResizeWindow(oldWidth, oldHeight, true);
}

void IGraphicsWindow::ResizeWindow(int32_t oldWidth, int32_t oldHeight, bool ownReason)
{
  if (!mWindow) return;
  // A native box sits at device pixels of the old size: the edit ends. A drawn one lies in
  // panel units and scales with the panel.
  if (mEditBox && !mDrawnBox) RemoveEditBox();
  IBounds before;
  mBackend->ScreenRect(mWindow, before);
  if (ownReason)
    mBackend->GrowWindow(mWindow, EditorWidth() - oldWidth, EditorHeight() - oldHeight);
  else
    mBackend->SetWindowSize(mWindow, EditorWidth(), EditorHeight());
  const int32_t width = std::max(before.Width(), EditorWidth()), height = std::max(before.Height(), EditorHeight());
  mBackend->RepaintNow(mWindow, IBounds(0, 0, width, height));
}

// ---------------------------------------------------------------------------
// Events

void IGraphicsWindow::HandlePaint(const IBounds& area)
{
  if (NativeBoxHasFocus() || area.IsEmpty()) return;
  PaintArea(ToPanel(area));
}

void IGraphicsWindow::HandleTick()
{
  if (mEditBox && mEditState != kEditIdle)
  {
    switch (mEditState)
    {
      case kEditRefresh:
        ShowCurrentValueInBox();
        mEditState = kEditIdle;
        break;
      case kEditCancel: RemoveEditBox(); break;
      case kEditCommit: CommitEdit(); break;
      default:
        // Focused: the editor stands still while the user types; a drawn box shows the typing.
        if (mDrawnBox && mDrawnBoxChanged && mWindow)
        {
          mDrawnBoxChanged = false;
          mBackend->RepaintNow(mWindow, ToDevice(mDrawnBox->Bounds()));
        }
        break;
    }
    return;
  }
  TickControls();
  IBounds area = mPendingArea;
  mPendingArea = IBounds();
  const bool controlsDirty = CollectDirty(area);
  if (mDrawnBox && mDrawnBoxChanged) area = area.Union(mDrawnBox->Bounds());
  mDrawnBoxChanged = false;
  if (!area.IsEmpty() && mWindow) mBackend->RepaintNow(mWindow, ToDevice(area));
  if (controlsDirty && mEditBox) mEditState = kEditRefresh;
}

void IGraphicsWindow::ShowCurrentValueInBox()
{
  if (!mEditedParam) return;
  char text[IParameter::kDisplayTextBufferSize];
  // The value as the editor knows it: host threads may be changing the parameter's own.
  const double value = mEditedControl ? ParameterValue(mEditedControl->ParamIdx()) : 0.0;
  mEditedParam->HostDisplayText(mEditedParam->FromNormalized(value), false, text, int(sizeof(text)));
  if (mDrawnBox)
  {
    if (!mDrawnBox->IsList()) mDrawnBox->SetText(text);
    mDrawnBoxChanged = true;
  }
  else
  {
    mBackend->SetBoxText(mEditBox, text);
  }
}

void IGraphicsWindow::CommitEdit()
{
  if (mMenuChoice)
  {
    const std::string text = mDrawnBox ? mDrawnBox->Value() : mBackend->BoxText(mEditBox, kEditTextChars);
    MenuChoice chosen = std::move(mMenuChoice);
    int32_t index = -1;
    for (size_t i = 0; i < mMenuItems.size(); ++i)
      if (mMenuItems[i] == text) index = int32_t(i);
    // The menu goes first: the choice may resize the window.
    RemoveEditBox();
    if (index >= 0) chosen(index);
    return;
  }
  if (mEditedParam && mEditedControl)
  {
    const std::string text = mDrawnBox ? mDrawnBox->Value() : mBackend->BoxText(mEditBox, kEditTextChars);
    double value = 0.0;
    // Text that names no value of the parameter changes nothing.
    if (mEditedParam->ValueFromText(text.c_str(), &value))
      mEditedControl->ValueFromUser(mEditedParam->ToNormalized(value));
  }
  RemoveEditBox();
}

void IGraphicsWindow::RemoveEditBox()
{
  if (mDrawnBox)
  {
    // What the box covered is painted again on the next tick.
    mPendingArea = mPendingArea.Union(mDrawnBox->Bounds());
    mDrawnBox.reset();
    mDrawnBoxChanged = false;
    if (mWindow) mBackend->SetKeyboardFocus(mWindow, false);
  }
  else if (mEditBox)
  {
    mBackend->DestroyBox(mEditBox);
  }
  mEditBox = nullptr;
  mEditedControl = nullptr;
  mEditedParam = nullptr;
  mEditState = kEditIdle;
  mMenuItems.clear();
  mMenuChoice = nullptr;
}

bool IGraphicsWindow::DrawnBoxKey(const IKeyPress& key)
{
  if (!mDrawnBox || mEditState == kEditCancel || mEditState == kEditCommit) return false;
  // An edit box takes keys once clicked into; a list, and Escape, as soon as it shows.
  if (!mDrawnBox->IsList() && mEditState != kEditFocused && key.code != kKeyEscape) return false;
  switch (mDrawnBox->Key(key))
  {
    case IDrawnEditBox::KeyResult::kIgnored: return false;
    case IDrawnEditBox::KeyResult::kChanged: mDrawnBoxChanged = true; return true;
    case IDrawnEditBox::KeyResult::kCommit: mEditState = kEditCommit; return true;
    case IDrawnEditBox::KeyResult::kCancel: mEditState = kEditCancel; return true;
  }
  return false;
}

bool IGraphicsWindow::HandleKey(const IKeyPress& key, int32_t pointerX, int32_t pointerY)
{
  pointerX = ToPanel(pointerX);
  pointerY = ToPanel(pointerY);
  if (NativeBoxHasFocus()) return false;
  if (DrawnBoxKey(key)) return true;
  if (mDrawnBox && mEditState == kEditFocused) return false;  // typing is not for the controls
  if (!key.Dispatched()) return false;
  DispatchKey(pointerX, pointerY, key.code);
  return true;
}

bool IGraphicsWindow::HostKeyDown(const IKeyPress& key) { return DrawnBoxKey(key); }

bool IGraphicsWindow::HostKeyUp(const IKeyPress& key)
{
  // The release of a key the box would use is the box's too.
  if (!mDrawnBox) return false;
  if (mDrawnBox->IsList() || mEditState == kEditFocused)
    return key.character != 0 || (key.code >= 0 && !key.Dispatched()) || key.code == kKeyLeft ||
           key.code == kKeyRight || key.code == kKeyUp || key.code == kKeyDown;
  return key.code == kKeyEscape;
}

bool IGraphicsWindow::HandleMouseMove(int32_t x, int32_t y, const IMouseKeys& keys, bool windowHasCapture)
{
  x = ToPanel(x);
  y = ToPanel(y);
  if (EditHasFocus()) return false;
  if (keys.left || keys.right)
  {
    if (windowHasCapture) DispatchMouseDrag(x, y, keys);
    return false;
  }
  return DispatchMouseOver(x, y, keys);
}

void IGraphicsWindow::HandleLeftButtonDown(int32_t x, int32_t y, const IMouseKeys& keys)
{
  LeftButtonDown(ToPanel(x), ToPanel(y), keys);
}

void IGraphicsWindow::LeftButtonDown(int32_t x, int32_t y, const IMouseKeys& keys)
{
  if (mDrawnBox && mDrawnBox->Bounds().Contains(x, y))
  {
    if (mDrawnBox->IsList())
    {
      // Choosing an entry commits it on the next tick.
      if (mDrawnBox->Press(x, y)) mEditState = kEditCommit;
      mDrawnBoxChanged = true;
    }
    else if (mEditState == kEditIdle || mEditState == kEditRefresh)
    {
      // A refresh still due shows the current value before the typing starts.
      if (mEditState == kEditRefresh) ShowCurrentValueInBox();
      mEditState = kEditFocused;
      mDrawnBoxChanged = true;
      if (mWindow) mBackend->SetKeyboardFocus(mWindow, true);
    }
    return;
  }
  if (mDrawnBox && mDrawnBox->IsList())
  {
    // A click beside an open list closes it, as a pop-up list does.
    mEditState = kEditCancel;
    return;
  }
  if (EditHasFocus()) return;
  DispatchMouseDown(x, y, keys);
}

void IGraphicsWindow::HandleRightButtonDown(int32_t x, int32_t y, const IMouseKeys& keys)
{
  x = ToPanel(x);
  y = ToPanel(y);
  // A right press while a box is open cancels the edit on the next tick.
  if (mEditBox)
  {
    mEditState = kEditCancel;
    return;
  }
  // The backdrop, when there is one, is control 0.
  const int32_t under = ControlAt(x, y);
  if (mSizeMenu && (under < 0 || (under == 0 && HasBackdrop())))
  {
    OpenBackdropMenu(x, y);
    return;
  }
  DispatchMouseDown(x, y, keys);
}

void IGraphicsWindow::HandleButtonUp(int32_t x, int32_t y, const IMouseKeys& keys)
{
  x = ToPanel(x);
  y = ToPanel(y);
  if (EditHasFocus()) return;
  DispatchMouseUp(x, y, keys);
}

bool IGraphicsWindow::HandleDoubleClick(int32_t x, int32_t y, const IMouseKeys& keys)
{
  if (EditHasFocus()) return false;
  x = ToPanel(x);
  y = ToPanel(y);
  if (mDrawnBox && mDrawnBox->Bounds().Contains(x, y))
  {
    // The second press into a drawn box acts as the first did.
    LeftButtonDown(x, y, keys);
    return false;
  }
  return DispatchDoubleClick(x, y, keys);
}

void IGraphicsWindow::HandleWheel(int32_t x, int32_t y, const IMouseKeys& keys, int32_t steps)
{
  x = ToPanel(x);
  y = ToPanel(y);
  if (EditHasFocus()) return;
  DispatchWheel(x, y, keys, steps);
}

void IGraphicsWindow::HandleMouseLeave()
{
  if (EditHasFocus()) return;
  DispatchMouseLeave();
}

void IGraphicsWindow::HandlePlatformScale(double scale)
{
  // The window moved to a screen of another DPI: the editor's own change, the host hears of it.
  SetPlatformScale(scale, true);
}

void IGraphicsWindow::HandleWindowResized(int32_t width, int32_t height) { SetEditorSizeFromHost(width, height); }

void IGraphicsWindow::HandleFocusLost()
{
  if (!mDrawnBox || mEditState != kEditFocused) return;
  mEditState = kEditIdle;
  mDrawnBoxChanged = true;  // the caret goes
}

void IGraphicsWindow::HandleEditFocus(bool focused)
{
  if (mEditBox && !mDrawnBox) mEditState = focused ? kEditFocused : kEditIdle;
}

void IGraphicsWindow::HandleEditReturn()
{
  if (mEditBox) mEditState = kEditCommit;
}

void IGraphicsWindow::HandleListSelection()
{
  if (mEditBox) mEditState = kEditCommit;
}

// ---------------------------------------------------------------------------
// In-place editing

void IGraphicsWindow::EditParameterInPlace(IControl* control, IParameter* param)
{
  if (!control || !param || mEditBox || !mWindow) return;
  const IBounds& b = control->Bounds();
  const int32_t cx = int32_t((b.left + b.right) * 0.5f);
  const int32_t cy = int32_t((b.top + b.bottom) * 0.5f);
  char current[IParameter::kDisplayTextBufferSize];
  const double value = param->FromNormalized(ParameterValue(control->ParamIdx()));
  param->HostDisplayText(value, false, current, int(sizeof(current)));
  const bool native = mBackend->HasNativeEditBoxes();

  void* box = nullptr;
  if (param->Kind() == IParameter::kTypeEnumList || param->Kind() == IParameter::kTypeChoice)
  {
    const int n = param->DisplayTextCount();
    std::vector<std::string> items;
    size_t longest = 0;
    int32_t selected = -1;
    for (int i = 0; i < n; ++i)
    {
      items.emplace_back(param->DisplayTextFor(i));
      if (items.back().size() > longest) longest = items.back().size();
      if (items.back() == current) selected = i;
    }
    const int32_t width = int32_t(8 * longest + 24);
    const int32_t x = cx - width / 2;
    if (native)
    {
      box = mBackend->CreateListBox(mWindow, ToDevice(IBounds(x, cy, x + width, cy + 36 * (n + 1))), items, selected);
    }
    else
    {
      // The drawn list shows every entry at once, one row each.
      const IBounds rect(x, cy, x + width, cy + IDrawnEditBox::kRowHeight * n + 2);
      mDrawnBox.reset(new IDrawnEditBox(KeptInside(rect, Width(), Height()), items, selected));
    }
  }
  else
  {
    const int32_t width = b.Width() > 36 ? b.Width() : 36;
    const int32_t x = cx - width / 2;
    const IBounds rect(x, cy - 8, x + width, cy + 8);
    if (native)
      box = mBackend->CreateEditBox(mWindow, ToDevice(rect), current);
    else
      mDrawnBox.reset(new IDrawnEditBox(KeptInside(rect, Width(), Height()), current, kEditTextChars));
  }
  if (mDrawnBox)
  {
    box = mDrawnBox.get();
    mDrawnBoxChanged = true;
    // A list takes its keys (arrows, Return, Escape) as soon as it shows.
    if (mDrawnBox->IsList()) mBackend->SetKeyboardFocus(mWindow, true);
  }
  if (!box) return;
  mEditBox = box;
  mEditedControl = control;
  mEditedParam = param;
}

// ---------------------------------------------------------------------------
// Menus

bool IGraphicsWindow::OpenMenu(int32_t x, int32_t y, const std::vector<std::string>& items, int32_t marked,
                               MenuChoice chosen)
{
  if (mEditBox || !mWindow || items.empty()) return false;
  size_t longest = 0;
  for (const std::string& item : items) longest = std::max(longest, item.size());
  const int32_t width = int32_t(8 * longest + 24);
  const int32_t n = int32_t(items.size());
  void* box = nullptr;
  if (mBackend->HasNativeEditBoxes())
  {
    box = mBackend->CreateListBox(mWindow, ToDevice(IBounds(x, y, x + width, y + 36 * (n + 1))), items, marked);
  }
  else
  {
    const IBounds rect(x, y, x + width, y + IDrawnEditBox::kRowHeight * n + 2);
    mDrawnBox.reset(new IDrawnEditBox(KeptInside(rect, Width(), Height()), items, marked));
    box = mDrawnBox.get();
    mDrawnBoxChanged = true;
    mBackend->SetKeyboardFocus(mWindow, true);
  }
  if (!box) return false;
  mEditBox = box;
  mMenuItems = items;
  mMenuChoice = std::move(chosen);
  return true;
}

std::vector<std::string> IGraphicsWindow::SizeMenuItems()
{
  std::vector<std::string> items;
  for (double scale : kSizeMenuScales) items.push_back(std::to_string(int(std::lround(scale * 100))) + "%");
  items.emplace_back("Follow the host");
  return items;
}

int32_t IGraphicsWindow::SizeMenuMarked() const
{
  constexpr int32_t kScales = int32_t(sizeof(kSizeMenuScales) / sizeof(kSizeMenuScales[0]));
  if (UserScale() == 0.0) return kScales;
  for (int32_t i = 0; i < kScales; ++i)
    if (std::fabs(UserScale() - kSizeMenuScales[i]) < 1e-9) return i;
  return -1;
}

bool IGraphicsWindow::OpenSizeMenu(int32_t x, int32_t y)
{
  return OpenMenu(x, y, SizeMenuItems(), SizeMenuMarked(), [this](int32_t index) { ChooseSizeMenuEntry(index); });
}

void IGraphicsWindow::ChooseSizeMenuEntry(int32_t index)
{
  constexpr int32_t kScales = int32_t(sizeof(kSizeMenuScales) / sizeof(kSizeMenuScales[0]));
  if (index < 0 || index > kScales) return;
  SetUserScale(index < kScales ? kSizeMenuScales[index] : 0.0);
}

// ---------------------------------------------------------------------------
// Prompts and module services

void IGraphicsWindow::HostDirectory(std::string& out)
{
  out.clear();
  std::string path;
  if (mServices->ExecutablePath(path)) out = DirectoryOfPath(path);
}

void IGraphicsWindow::ModuleDirectory(std::string& out)
{
  out.clear();
  std::string path;
  if (mServices->ModulePath(mModuleInstance, path)) out = DirectoryOfPath(path);
}

void IGraphicsWindow::AskForFile(std::string& out, int32_t action, const char* directory, const char*)
{
  out.clear();
  if (!mWindow) return;
  std::string chosen;
  if (mServices->AskForFile(mWindow, chosen, action == 1, directory)) out = chosen;
}

bool IGraphicsWindow::AskForColour(IRgba& colour, const char* prompt)
{
  if (!mWindow) return false;
  IRgba chosen = colour;
  if (!mServices->AskForColour(mWindow, chosen, prompt)) return false;
  colour.R = chosen.R;
  colour.G = chosen.G;
  colour.B = chosen.B;
  return true;
}

bool IGraphicsWindow::OpenWebAddress(const char* address, const char* title, const char* confirmation,
                                     const char* failure)
{
  if (confirmation && !mServices->AskYesNo(mWindow, title, confirmation)) return false;
  if (address && mServices->OpenAddress(mWindow, address)) return true;
  if (failure) mServices->ShowMessage(mWindow, title, failure);
  return false;
}

LICE_IBitmap* IGraphicsWindow::DeferredImageResource(int32_t resourceId, const char* name)
{
  int width = 0, height = 0;
  if (ImageKindOfName(name) != IImageKind::kPng ||
      !LICE::ReadPngResourceSize(mModuleInstance, resourceId, &width, &height))
    return nullptr;
  return new IDeferredImage(width, height, &LICE::DecodePngResource, mModuleInstance, resourceId);
}

LICE_IBitmap* IGraphicsWindow::LoadImageResource(int32_t resourceId, const char* name)
{
  switch (ImageKindOfName(name))
  {
    case IImageKind::kPng: return LICE::DecodePngResource(mModuleInstance, resourceId, nullptr);
    case IImageKind::kJpeg: return LICE::DecodeJpegResource(mModuleInstance, resourceId, nullptr);
    case IImageKind::kNone: break;
  }
  return nullptr;
}
