#include "IGraphicsWindow.h"

#include <cctype>
#include <cmath>
#include <cstring>
#include <vector>

#include "IControl.h"
#include "IGraphicsPlug.h"
#include "IWindowBackend.h"
#include "lice.h"

int32_t KeyCodeForVirtualKey(int32_t vk)
{
  switch (vk)
  {
    case 0x20: return kKeySpace;
    case 0x26: return kKeyUp;
    case 0x28: return kKeyDown;
    case 0x25: return kKeyLeft;
    case 0x27: return kKeyRight;
    default: break;
  }
  if (vk >= 0x30 && vk <= 0x39) return vk - 43;
  if (vk >= 0x41 && vk <= 0x5A) return vk - 50;
  if (vk >= 0x61 && vk <= 0x7A) return vk - 82;
  return -1;
}

double ParseLeadingDecimal(const char* text)
{
  if (!text) return 0.0;
  const char* p = text;
  while (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\r' || *p == '\f' || *p == '\v') ++p;
  std::string number;
  if (*p == '+' || *p == '-') number += *p++;
  size_t digits = 0;
  while (std::isdigit(static_cast<unsigned char>(*p))) number += *p++, ++digits;
  if (*p == '.')
  {
    std::string fraction(1, '.');
    const char* q = p + 1;
    size_t fractionDigits = 0;
    while (std::isdigit(static_cast<unsigned char>(*q))) fraction += *q++, ++fractionDigits;
    if (digits + fractionDigits > 0)
    {
      number += fraction;
      digits += fractionDigits;
      p = q;
    }
  }
  if (digits == 0) return 0.0;
  if (*p == 'e' || *p == 'E')
  {
    // The exponent counts only when at least one digit follows it.
    const char* q = p + 1;
    std::string exponent(1, 'e');
    if (*q == '+' || *q == '-') exponent += *q++;
    if (std::isdigit(static_cast<unsigned char>(*q)))
    {
      while (std::isdigit(static_cast<unsigned char>(*q))) exponent += *q++;
      number += exponent;
    }
  }
  // Only plain decimal characters reach strtod, so hexadecimal, "inf" and "nan" never do.
  return std::strtod(number.c_str(), nullptr);
}

std::string DirectoryOfPath(const std::string& path)
{
  const size_t separator = path.find_last_of("\\/");
  if (separator == std::string::npos || separator + 1 == path.size()) return std::string();
  return path.substr(0, separator + 1);
}

IGraphicsWindow::IGraphicsWindow(IPlugBase* plug, int32_t width, int32_t height, int32_t frameRate,
                                 IWindowBackend* backend)
  : IGraphicsLice(plug, width, height, frameRate), mBackend(backend ? backend : CreatePlatformWindowBackend())
{
}

IGraphicsWindow::~IGraphicsWindow() { CloseEditorWindow(); }

// ---------------------------------------------------------------------------
// Window

void* IGraphicsWindow::OpenEditorWindow(void* parentWindow)
{
  IBounds rect(0, 0, Width(), Height());
  if (mWindow)
  {
    // Re-opened in a new parent: keep the old size and offset from the parent's corner.
    IBounds parentRect, windowRect;
    const bool known = mBackend->ScreenRect(parentWindow, parentRect) && mBackend->ScreenRect(mWindow, windowRect);
    CloseEditorWindow();
    if (known)
      rect = IBounds(windowRect.left - parentRect.left, windowRect.top - parentRect.top,
                     windowRect.left - parentRect.left + windowRect.Width(),
                     windowRect.top - parentRect.top + windowRect.Height());
  }
  mWindow = mBackend->CreateEditorWindow(this, parentWindow, rect, TickMilliseconds());
  if (mWindow) MarkAllDirty();
  return mWindow;
}

void IGraphicsWindow::CloseEditorWindow()
{
  if (!mWindow) return;
  void* window = mWindow;
  mWindow = nullptr;
  // The platform destroys an open edit box with its window.
  mEditBox = nullptr;
  mEditedControl = nullptr;
  mEditedParam = nullptr;
  mEditState = kEditIdle;
  mBackend->DestroyEditorWindow(window);
}

bool IGraphicsWindow::PresentRect(const IBounds& area)
{
  if (mWindow) mBackend->CopyToScreen(mWindow, DrawBitmap(), area);
  return true;
}

bool IGraphicsWindow::RenderText(const ITextStyle& style, const char* text, const IBounds& rect)
{
  if (!text || !*text) return true;
  return mBackend->RenderText(DrawBitmap(), style, text, rect);
}

void IGraphicsWindow::SetEditorSize(int32_t width, int32_t height)
{
  const int32_t dW = width - Width(), dH = height - Height();
  IBounds before;
  if (mWindow) mBackend->ScreenRect(mWindow, before);
  IGraphicsLice::SetEditorSize(width, height);
  ResizeDrawSurface();
  if (mWindow)
  {
    mBackend->GrowWindow(mWindow, dW, dH);
    mBackend->RepaintNow(mWindow, IBounds(0, 0, before.Width(), before.Height()));
  }
}

// ---------------------------------------------------------------------------
// Events

void IGraphicsWindow::HandlePaint(const IBounds& area)
{
  if (EditHasFocus() || area.IsEmpty()) return;
  PaintArea(area);
}

void IGraphicsWindow::HandleTick()
{
  if (mEditBox && mEditState != kEditIdle)
  {
    switch (mEditState)
    {
      case kEditRefresh:
        if (mEditedParam)
        {
          char text[IParameter::kDisplayTextBufferSize];
          mEditedParam->HostDisplayText(mEditedParam->Value(), false, text, int(sizeof(text)));
          mBackend->SetBoxText(mEditBox, text);
        }
        mEditState = kEditIdle;
        break;
      case kEditCancel: RemoveEditBox(); break;
      case kEditCommit: CommitEdit(); break;
      default: break;  // focused: the editor stands still while the user types
    }
    return;
  }
  IBounds area;
  if (CollectDirty(area))
  {
    if (mWindow) mBackend->RepaintNow(mWindow, area);
    if (mEditBox) mEditState = kEditRefresh;
  }
}

void IGraphicsWindow::CommitEdit()
{
  if (mEditedParam && mEditedControl)
  {
    const std::string text = mBackend->BoxText(mEditBox, kEditTextChars);
    double value = 0.0;
    if (mEditedParam->DisplayTextCount() > 0)
    {
      int choice = 0;
      if (mEditedParam->ValueForDisplayText(text.c_str(), &choice)) value = choice;
    }
    else
    {
      value = ParseLeadingDecimal(text.c_str());
      if (mEditedParam->NegatedDisplay()) value = -value;
    }
    mEditedControl->ValueFromUser(mEditedParam->ToNormalized(value));
  }
  RemoveEditBox();
}

void IGraphicsWindow::RemoveEditBox()
{
  if (mEditBox) mBackend->DestroyBox(mEditBox);
  mEditBox = nullptr;
  mEditedControl = nullptr;
  mEditedParam = nullptr;
  mEditState = kEditIdle;
}

void IGraphicsWindow::HandleKeyDown(int32_t virtualKey, int32_t pointerX, int32_t pointerY)
{
  if (EditHasFocus()) return;
  const int32_t code = KeyCodeForVirtualKey(virtualKey);
  if (code >= 0) DispatchKey(pointerX, pointerY, code);
}

bool IGraphicsWindow::HandleMouseMove(int32_t x, int32_t y, const IMouseKeys& keys, bool windowHasCapture)
{
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
  if (EditHasFocus()) return;
  DispatchMouseDown(x, y, keys);
}

void IGraphicsWindow::HandleRightButtonDown(int32_t x, int32_t y, const IMouseKeys& keys)
{
  // A right press while a box is open cancels the edit on the next tick.
  if (mEditBox)
  {
    mEditState = kEditCancel;
    return;
  }
  DispatchMouseDown(x, y, keys);
}

void IGraphicsWindow::HandleButtonUp(int32_t x, int32_t y, const IMouseKeys& keys)
{
  if (EditHasFocus()) return;
  DispatchMouseUp(x, y, keys);
}

bool IGraphicsWindow::HandleDoubleClick(int32_t x, int32_t y, const IMouseKeys& keys)
{
  if (EditHasFocus()) return false;
  return DispatchDoubleClick(x, y, keys);
}

void IGraphicsWindow::HandleWheel(int32_t x, int32_t y, const IMouseKeys& keys, int32_t wheelDelta)
{
  if (EditHasFocus()) return;
  DispatchWheel(x, y, keys, wheelDelta / 120);
}

void IGraphicsWindow::HandleMouseLeave()
{
  if (EditHasFocus()) return;
  DispatchMouseLeave();
}

void IGraphicsWindow::HandleEditFocus(bool focused)
{
  if (mEditBox) mEditState = focused ? kEditFocused : kEditIdle;
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
  param->HostDisplayText(param->Value(), false, current, int(sizeof(current)));

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
    const int32_t height = 36 * (n + 1);
    const int32_t x = cx - width / 2;
    box = mBackend->CreateListBox(mWindow, IBounds(x, cy, x + width, cy + height), items, selected);
  }
  else
  {
    const int32_t width = b.Width() > 36 ? b.Width() : 36;
    const int32_t x = cx - width / 2;
    box = mBackend->CreateEditBox(mWindow, IBounds(x, cy - 8, x + width, cy + 8), current);
  }
  if (!box) return;
  mEditBox = box;
  mEditedControl = control;
  mEditedParam = param;
}

// ---------------------------------------------------------------------------
// Prompts and module services

void IGraphicsWindow::HostDirectory(std::string& out)
{
  out.clear();
  std::string path;
  if (mBackend->ExecutablePath(path)) out = DirectoryOfPath(path);
}

void IGraphicsWindow::ModuleDirectory(std::string& out)
{
  out.clear();
  std::string path;
  if (mBackend->ModulePath(mModuleInstance, path)) out = DirectoryOfPath(path);
}

void IGraphicsWindow::AskForFile(std::string& out, int32_t action, const char* directory, const char*)
{
  out.clear();
  if (!mWindow) return;
  std::string chosen;
  if (mBackend->AskForFile(mWindow, chosen, action == 1, directory)) out = chosen;
}

bool IGraphicsWindow::AskForColour(IRgba& colour, const char* prompt)
{
  if (!mWindow) return false;
  IRgba chosen = colour;
  if (!mBackend->AskForColour(mWindow, chosen, prompt)) return false;
  colour.R = chosen.R;
  colour.G = chosen.G;
  colour.B = chosen.B;
  return true;
}

bool IGraphicsWindow::OpenWebAddress(const char* address, const char* title, const char* confirmation,
                                     const char* failure)
{
  if (confirmation && !mBackend->AskYesNo(mWindow, title, confirmation)) return false;
  if (address && mBackend->OpenAddress(mWindow, address)) return true;
  if (failure) mBackend->ShowMessage(mWindow, title, failure);
  return false;
}

LICE_IBitmap* IGraphicsWindow::LoadImageResource(int32_t resourceId, const char* name)
{
  if (!name || !*name) return nullptr;
  // The extension follows the last '.' after the first character; without
  // one, the name less its first character stands for it.
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
  if (is("png")) return mBackend->DecodePngResource(mModuleInstance, resourceId);
  if (is("jpg") || is("jpeg")) return mBackend->DecodeJpegResource(mModuleInstance, resourceId);
  return nullptr;
}
