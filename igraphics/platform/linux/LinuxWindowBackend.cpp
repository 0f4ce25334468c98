// Linux until the X11 window exists: the editor paints off screen only.
#include "HeadlessWindowBackend.h"

IWindowBackend* CreatePlatformWindowBackend() { return CreateHeadlessWindowBackend(); }
