#pragma once

// The Windows types and the few Windows functions the plug-in uses. The Windows build takes them from the
// real headers; the Linux build from the stand-in declarations beside this file.
#if defined(_WIN32)
#include <windows.h>
// Declares HIMAGELIST, which material browsers use for icons.
#include <commctrl.h>
#else
#include "hostsdk/win32_linux.h"
#endif
