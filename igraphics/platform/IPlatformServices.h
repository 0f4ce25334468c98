#pragma once
// Services of the operating system that an editor may ask for besides its window: file and
// colour dialogs, messages, web addresses, and where the host and the module live.
// Every member runs on the host's GUI thread. |window| is the editor's window (or null),
// owner of any dialog.

#include <string>

#include "IGraphicsTypes.h"

class IPlatformServices
{
public:
  virtual ~IPlatformServices() = default;

  virtual bool AskForFile(void* window, std::string& path, bool save, const char* directory) = 0;
  virtual bool AskForColour(void* window, IRgba& colour, const char* prompt) = 0;
  virtual bool AskYesNo(void* window, const char* title, const char* text) = 0;
  virtual void ShowMessage(void* window, const char* title, const char* text) = 0;
  // Opens a web address in the user's browser when a connection exists.
  virtual bool OpenAddress(void* window, const char* address) = 0;

  // The module that holds this code (its instance handle where resources need one, else null).
  virtual void* ThisModule() = 0;
  virtual bool ExecutablePath(std::string& path) = 0;
  virtual bool ModulePath(void* moduleInstance, std::string& path) = 0;
};

// This platform's services; the caller owns them.
IPlatformServices* CreatePlatformServices();
