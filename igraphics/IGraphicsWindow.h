#pragma once
// The editor window layer: turns window events into the graphics object's dispatchers,
// repaints dirty controls on every tick, runs the in-place edit box (the back-end's native
// one, or one drawn here), and serves text, prompts, directories and embedded images.
// Window operations go through an IWindowBackend, the rest of the system through
// IPlatformServices.
//
// Threads:
// - Every operation here runs on the host's GUI thread: the window's events, the tick,
//   idle, opening and closing, prompts. The back-end calls the Handle* operations on that
//   thread only.
// - The one exception is PushParameterToControls (see IGraphics.h): any thread may call
//   it; the value reaches the controls on the GUI thread's next tick or paint.
// - Controls send gestures and values to the plug-in from the GUI thread (they take the
//   plug-in's lock briefly); this layer never holds that lock while it creates, destroys
//   or paints the window.

#include <functional>
#include <memory>
#include <thread>
#include <string>
#include <vector>

#include "IGraphicsLice.h"

class IDrawnEditBox;
class IPlatformServices;
class ITextRenderer;
class IWindowBackend;

enum IEditState : int32_t
{
  kEditIdle = 0,     // no box, or a box without keyboard focus
  kEditFocused = 1,  // the box has the keyboard focus; the editor stands still
  kEditRefresh = 2,  // next tick: show the parameter's current text
  kEditCancel = 3,   // next tick: remove the box
  kEditCommit = 4,   // next tick: read the box, set the value, remove the box
};

enum class IImageKind
{
  kNone,
  kPng,
  kJpeg,
};

// The decoder an embedded image needs by its name's extension: the text after the last
// '.' after the first character (without one, the name less its first character),
// compared without regard to case.
IImageKind ImageKindOfName(const char* name);
// The directory part of a path, separator included; empty when the path has no
// separator or ends in one.
std::string DirectoryOfPath(const std::string& path);

class IGraphicsWindow : public IGraphicsLice
{
public:
  static constexpr int32_t kEditTextChars = 32;

  // Null |backend| or |services|: the installed window back-end factory's, and the
  // platform's services. Takes ownership of both.
  IGraphicsWindow(IEditorDelegate* plug, int32_t width, int32_t height, int32_t frameRate,
                  IWindowBackend* backend = nullptr, IPlatformServices* services = nullptr);
  ~IGraphicsWindow() override;

  // The module whose resources hold the images; the module holding this code by default.
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
  bool OpenTopLevelEditorWindow() override;
  bool EditorWindowOpen() override { return mWindow != nullptr; }
  uintptr_t EditorWindowId() override;
  void CloseEditorWindow() override;
  void ShowEditorWindow(bool show) override;
  void* NativeWindow() override { return mWindow; }
  LICE_IBitmap* LoadImageResource(int32_t resourceId, const char* name) override;
  // PNG artwork: its size from the header, its pixels at the first paint.
  LICE_IBitmap* DeferredImageResource(int32_t resourceId, const char* name) override;
  void Idle() override;
  int EventFileDescriptor() const override;
  bool HostKeyDown(const IKeyPress& key) override;
  bool HostKeyUp(const IKeyPress& key) override;

  // Tick period in milliseconds for this editor's frame rate.
  int32_t TickMilliseconds() const { return int32_t(1000.0 / FrameRate()); }

  // --- events from the back-end, in window coordinates (device pixels; the editor takes
  // them to panel units, floor(v / scale), before dispatching) ---
  void HandlePaint(const IBounds& area);
  void HandleTick();
  // A key pressed with the pointer at (pointerX, pointerY). Answers whether it was used.
  bool HandleKey(const IKeyPress& key, int32_t pointerX, int32_t pointerY);
  // Answers whether the back-end should ask for a leave notice.
  bool HandleMouseMove(int32_t x, int32_t y, const IMouseKeys& keys, bool windowHasCapture);
  void HandleLeftButtonDown(int32_t x, int32_t y, const IMouseKeys& keys);
  void HandleRightButtonDown(int32_t x, int32_t y, const IMouseKeys& keys);
  void HandleButtonUp(int32_t x, int32_t y, const IMouseKeys& keys);
  // Answers whether the back-end should capture the mouse.
  bool HandleDoubleClick(int32_t x, int32_t y, const IMouseKeys& keys);
  // |steps| whole wheel steps, up positive.
  void HandleWheel(int32_t x, int32_t y, const IMouseKeys& keys, int32_t steps);
  void HandleMouseLeave();
  // The platform's scale for the open window changed (see IWindowBackend::PlatformScale);
  // 0 when unknown.
  void HandlePlatformScale(double scale);
  // Someone else (the host) sized the open window to width x height, device pixels: the
  // editor takes the scale the size implies, as SetEditorSizeFromHost. Its own size
  // changes nothing, so the back-end may report every size the window takes.
  void HandleWindowResized(int32_t width, int32_t height);
  // The window lost the keyboard focus it took for a drawn box: the box waits for a click.
  void HandleFocusLost();
  // Events of a native edit box.
  void HandleEditFocus(bool focused);
  void HandleEditReturn();
  void HandleListSelection();

  // --- menus ---
  // Opens a menu of |items| at (x, y) in panel units, |marked| marked (-1 none), in the
  // list the in-place edit uses (the back-end's native list where it has one). The index
  // of the entry chosen goes to |chosen| on the tick after the choice, with the menu gone;
  // a menu dismissed (Escape, a click beside it) calls nothing. False while another box
  // or menu is open, without a window, or without items.
  using MenuChoice = std::function<void(int32_t index)>;
  bool OpenMenu(int32_t x, int32_t y, const std::vector<std::string>& items, int32_t marked, MenuChoice chosen);
  // With the size menu on, a right click on the panel's backdrop (where no control is)
  // opens the menu of the editor's sizes (SizeMenuItems); a choice is the user's scale.
  void SetSizeMenu(bool on) { mSizeMenu = on; }
  // The size menu's entries: kSizeMenuScales as percentages, then "Follow the host"
  // (the user's scale 0).
  static constexpr double kSizeMenuScales[] = {1.0, 1.25, 1.5, 2.0, 2.5, 3.0};
  static std::vector<std::string> SizeMenuItems();
  // The entry of SizeMenuItems that names the user's scale now; -1 for a size no entry
  // names (a host's resize).
  int32_t SizeMenuMarked() const;
  // Opens the size menu at (x, y), panel units.
  bool OpenSizeMenu(int32_t x, int32_t y);
  // What choosing entry |index| of SizeMenuItems does: sets the user's scale.
  void ChooseSizeMenuEntry(int32_t index);
  // With the size menu on, what a right click on the backdrop opens at (x, y), panel
  // units: the size menu; an editor with entries of its own opens them with the sizes.
  virtual bool OpenBackdropMenu(int32_t x, int32_t y) { return OpenSizeMenu(x, y); }

  // While a native box has the focus the editor ignores its own events and paints nothing.
  bool EditHasFocus() const { return mEditBox && mEditState == kEditFocused; }
  void* EditBox() const { return mEditBox; }
  int32_t EditState() const { return mEditState; }
  IControl* EditedControl() const { return mEditedControl; }
  // The box drawn by the toolkit, or null (none open, or the back-end's own is used).
  const IDrawnEditBox* DrawnBox() const { return mDrawnBox.get(); }

private:
  void ResizeWindow(int32_t oldWidth, int32_t oldHeight, bool ownReason) override;
  // HandleLeftButtonDown in panel units.
  void LeftButtonDown(int32_t x, int32_t y, const IMouseKeys& keys);
  bool NativeBoxHasFocus() const { return EditHasFocus() && !mDrawnBox; }
  // A key for the drawn box; answers whether it was used.
  bool DrawnBoxKey(const IKeyPress& key);
  void RemoveEditBox();
  void CommitEdit();
  // Puts the edited parameter's display text for its current value into the box.
  void ShowCurrentValueInBox();
  ITextRenderer* TextRenderer() const;

  std::unique_ptr<IWindowBackend> mBackend;
  std::unique_ptr<IPlatformServices> mServices;
  void* mModuleInstance = nullptr;
  void* mWindow = nullptr;
  void* mParentWindow = nullptr; // the host window the editor was opened in
  std::thread::id mWindowThread;  // the thread that opened the window
  void* mEditBox = nullptr;
  std::unique_ptr<IDrawnEditBox> mDrawnBox;
  bool mDrawnBoxChanged = false;
  IBounds mPendingArea;  // uncovered by a drawn box that went away; painted on the next tick
  IControl* mEditedControl = nullptr;
  IParameter* mEditedParam = nullptr;
  int32_t mEditState = kEditIdle;
  // The open menu's entries and where its choice goes (empty without a menu).
  std::vector<std::string> mMenuItems;
  MenuChoice mMenuChoice;
  bool mSizeMenu = false;
};
