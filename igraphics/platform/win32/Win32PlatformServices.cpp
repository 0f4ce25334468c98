// Windows services for the editor: the common file and colour dialogs, message boxes, the
// shell's "open" of a web address, and the paths of the host and of this module, whose
// instance handle DllMain keeps.
//
// Threads: every member runs on the host's GUI thread (the dialogs are modal to the
// editor's window). DllMain runs under the loader lock and only notes the handle.
#include <windows.h>
#include <commdlg.h>
#include <shellapi.h>
#include <wininet.h>

#include <cstring>

#include "IPlatformServices.h"

namespace {

HMODULE gThisModule = nullptr;  // from DllMain when this code lives in a DLL

bool ModuleFileName(HMODULE module, std::string& path)
{
  char buffer[256];
  const DWORD n = GetModuleFileNameA(module, buffer, sizeof(buffer));
  if (n == 0 || n >= sizeof(buffer)) return false;
  path.assign(buffer, n);
  return true;
}

// Shows the prompt as the colour dialog's title.
UINT_PTR CALLBACK ColourHook(HWND dialog, UINT msg, WPARAM, LPARAM lParam)
{
  if (msg == WM_INITDIALOG)
  {
    const auto* choice = reinterpret_cast<const CHOOSECOLORA*>(lParam);
    const char* prompt = choice ? reinterpret_cast<const char*>(choice->lCustData) : nullptr;
    if (prompt && *prompt) SetWindowTextA(dialog, prompt);
  }
  return 0;
}

class Win32PlatformServices : public IPlatformServices
{
public:
  bool AskForFile(void* window, std::string& path, bool save, const char* directory) override
  {
    char initialDir[256] = {}, file[256] = {};
    if (directory && *directory) lstrcpynA(initialDir, directory, sizeof initialDir);
    OPENFILENAMEA dialog = {};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = static_cast<HWND>(window);
    dialog.lpstrFile = file;
    dialog.nMaxFile = sizeof(file) - 1;
    dialog.lpstrInitialDir = initialDir;
    dialog.Flags = save ? OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST : OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;
    const BOOL chosen = save ? GetSaveFileNameA(&dialog) : GetOpenFileNameA(&dialog);
    if (!chosen) return false;
    path = file;
    return true;
  }

  bool AskForColour(void* window, IRgba& colour, const char* prompt) override
  {
    CHOOSECOLORA dialog = {};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = static_cast<HWND>(window);
    dialog.rgbResult = RGB(colour.R, colour.G, colour.B);
    dialog.lpCustColors = mCustomColours;
    dialog.Flags = CC_RGBINIT | CC_FULLOPEN | CC_ENABLEHOOK | CC_SOLIDCOLOR | CC_ANYCOLOR;
    dialog.lpfnHook = ColourHook;
    dialog.lCustData = reinterpret_cast<LPARAM>(prompt);
    if (!ChooseColorA(&dialog)) return false;
    colour.R = GetRValue(dialog.rgbResult);
    colour.G = GetGValue(dialog.rgbResult);
    colour.B = GetBValue(dialog.rgbResult);
    return true;
  }

  bool AskYesNo(void* window, const char* title, const char* text) override
  {
    return MessageBoxA(static_cast<HWND>(window), text, title, MB_YESNO) == IDYES;
  }

  void ShowMessage(void* window, const char* title, const char* text) override
  {
    MessageBoxA(static_cast<HWND>(window), text, title, MB_OK);
  }

  bool OpenAddress(void* window, const char* address) override
  {
    DWORD state = 0;
    if (!InternetGetConnectedState(&state, 0)) return false;
    const HINSTANCE result =
      ShellExecuteA(static_cast<HWND>(window), "open", address, nullptr, nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > 32;
  }

  // The DLL's instance from DllMain; in a program, the module holding this code.
  void* ThisModule() override
  {
    if (gThisModule) return gThisModule;
    HMODULE module = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&CreatePlatformServices), &module);
    return module;
  }

  bool ExecutablePath(std::string& path) override { return ModuleFileName(nullptr, path); }
  bool ModulePath(void* moduleInstance, std::string& path) override
  {
    return moduleInstance && ModuleFileName(static_cast<HMODULE>(moduleInstance), path);
  }

private:
  COLORREF mCustomColours[16] = {};  // kept between dialogs
};

}  // namespace

IPlatformServices* CreatePlatformServices() { return new Win32PlatformServices(); }

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
  if (reason == DLL_PROCESS_ATTACH) gThisModule = instance;
  return TRUE;
}
