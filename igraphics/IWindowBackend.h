#pragma once
// What the editor window needs of the platform. IGraphicsWindow keeps every
// decision (when to paint, the edit-box states, geometry, parsing); a back-end
// only performs the platform operations. Window handles are opaque pointers.

#include <string>
#include <vector>

#include "IGraphicsTypes.h"

class IGraphicsWindow;
class ITextStyle;

class IWindowBackend
{
public:
  virtual ~IWindowBackend() = default;

  // --- the editor window ---
  // Creates the editor window inside |parent| at |rect| (relative to the
  // parent), ticking every |tickMs| milliseconds. The back-end turns the
  // window's events into the Handle* calls of |owner|. Null on failure.
  virtual void* CreateEditorWindow(IGraphicsWindow* owner, void* parent, const IBounds& rect, int tickMs) = 0;
  virtual void DestroyEditorWindow(void* window) = 0;
  // Outer rectangle of a window in screen coordinates.
  virtual bool ScreenRect(void* window, IBounds& rect) = 0;
  // Grows the window, and the host's frames around it, by (dW, dH).
  virtual void GrowWindow(void* window, int32_t dW, int32_t dH) = 0;
  // Has |area| repainted at once through the owner's HandlePaint.
  virtual void RepaintNow(void* window, const IBounds& area) = 0;
  // Copies |area| of |surface| to the same place of the window.
  virtual bool CopyToScreen(void* window, LICE_IBitmap* surface, const IBounds& area) = 0;

  // --- text ---
  virtual bool RenderText(LICE_IBitmap* surface, const ITextStyle& style, const char* text, const IBounds& rect) = 0;

  // --- the in-place edit box or list ---
  virtual void* CreateEditBox(void* window, const IBounds& rect, const char* text) = 0;
  virtual void* CreateListBox(void* window, const IBounds& rect, const std::vector<std::string>& items,
                              int32_t selected) = 0;
  virtual void SetBoxText(void* box, const char* text) = 0;
  // At most |maxChars| - 1 characters of the box's text.
  virtual std::string BoxText(void* box, int32_t maxChars) = 0;
  virtual void DestroyBox(void* box) = 0;

  // --- prompts ---
  virtual bool AskForFile(void* window, std::string& path, bool save, const char* directory) = 0;
  virtual bool AskForColour(void* window, IRgba& colour, const char* prompt) = 0;
  virtual bool AskYesNo(void* window, const char* title, const char* text) = 0;
  virtual void ShowMessage(void* window, const char* title, const char* text) = 0;
  // Opens a web address in the user's browser when a connection exists.
  virtual bool OpenAddress(void* window, const char* address) = 0;

  // --- the module ---
  virtual bool ExecutablePath(std::string& path) = 0;
  virtual bool ModulePath(void* moduleInstance, std::string& path) = 0;
  virtual LICE_IBitmap* DecodePngResource(void* moduleInstance, int32_t resourceId) = 0;
  virtual LICE_IBitmap* DecodeJpegResource(void* moduleInstance, int32_t resourceId) = 0;
};

// The back-end of this platform (defined in the platform's own file).
IWindowBackend* CreatePlatformWindowBackend();
