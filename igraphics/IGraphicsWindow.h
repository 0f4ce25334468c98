#pragma once
// The editor window layer: turns window events into the graphics object's
// dispatchers, repaints dirty controls on every tick, runs the in-place edit
// box, and serves text, prompts, directories and embedded images. Every
// platform operation goes through an IWindowBackend.

#include <memory>
#include <string>

#include "IGraphicsLice.h"

class IWindowBackend;

enum IEditState : int32_t
{
  kEditIdle = 0,     // no box, or a box without keyboard focus
  kEditFocused = 1,  // the box has the keyboard focus; the editor stands still
  kEditRefresh = 2,  // next tick: show the parameter's current text
  kEditCancel = 3,   // next tick: remove the box
  kEditCommit = 4,   // next tick: read the box, set the value, remove the box
};

// The key number for a virtual-key code, or -1 for keys that are not dispatched.
int32_t KeyCodeForVirtualKey(int32_t virtualKey);
// The value of the longest leading part of |text| that reads as a decimal
// number (blanks skipped; sign, digits, fraction, exponent), or 0.
double ParseLeadingDecimal(const char* text);
// The directory part of a path, separator included; empty when the path has no
// separator or ends in one.
std::string DirectoryOfPath(const std::string& path);

class IGraphicsWindow : public IGraphicsLice
{
public:
  static constexpr int32_t kEditTextChars = 32;

  // |backend| null: the platform's own back-end. Takes ownership.
  IGraphicsWindow(IPlugBase* plug, int32_t width, int32_t height, int32_t frameRate,
                  IWindowBackend* backend = nullptr);
  ~IGraphicsWindow() override;

  void SetModuleInstance(void* instance) { mModuleInstance = instance; }
  void* ModuleInstance() const { return mModuleInstance; }
  IWindowBackend* Backend() const { return mBackend.get(); }

  bool PresentRect(const IBounds& area) override;
  bool RenderText(const ITextStyle& style, const char* text, const IBounds& rect) override;
  void SetEditorSize(int32_t width, int32_t height) override;
  void EditParameterInPlace(IControl* control, IParameter* param) override;
  void HostDirectory(std::string& out) override;
  void ModuleDirectory(std::string& out) override;
  void AskForFile(std::string& out, int32_t action, const char* directory, const char* extensions) override;
  bool AskForColour(IRgba& colour, const char* prompt) override;
  bool OpenWebAddress(const char* address, const char* title, const char* confirmation,
                      const char* failure) override;
  void* OpenEditorWindow(void* parentWindow) override;
  void CloseEditorWindow() override;
  void* NativeWindow() override { return mWindow; }
  LICE_IBitmap* LoadImageResource(int32_t resourceId, const char* name) override;

  // Tick period in milliseconds for this editor's frame rate.
  int32_t TickMilliseconds() const { return int32_t(1000.0 / FrameRate()); }

  // --- events from the back-end, in window coordinates ---
  void HandlePaint(const IBounds& area);
  void HandleTick();
  void HandleKeyDown(int32_t virtualKey, int32_t pointerX, int32_t pointerY);
  // Answers whether the back-end should ask for a leave notice.
  bool HandleMouseMove(int32_t x, int32_t y, const IMouseKeys& keys, bool windowHasCapture);
  void HandleLeftButtonDown(int32_t x, int32_t y, const IMouseKeys& keys);
  void HandleRightButtonDown(int32_t x, int32_t y, const IMouseKeys& keys);
  void HandleButtonUp(int32_t x, int32_t y, const IMouseKeys& keys);
  // Answers whether the back-end should capture the mouse.
  bool HandleDoubleClick(int32_t x, int32_t y, const IMouseKeys& keys);
  void HandleWheel(int32_t x, int32_t y, const IMouseKeys& keys, int32_t wheelDelta);
  void HandleMouseLeave();
  // Events of the edit box.
  void HandleEditFocus(bool focused);
  void HandleEditReturn();
  void HandleListSelection();

  // While the box has the focus the editor ignores its own events.
  bool EditHasFocus() const { return mEditBox && mEditState == kEditFocused; }
  void* EditBox() const { return mEditBox; }
  int32_t EditState() const { return mEditState; }
  IControl* EditedControl() const { return mEditedControl; }

private:
  void RemoveEditBox();
  void CommitEdit();

  std::unique_ptr<IWindowBackend> mBackend;
  void* mModuleInstance = nullptr;
  void* mWindow = nullptr;
  void* mEditBox = nullptr;
  IControl* mEditedControl = nullptr;
  IParameter* mEditedParam = nullptr;
  int32_t mEditState = kEditIdle;
};
