#pragma once

// The host's file chooser for bitmap parameters (Windows build only). The default is the system's
// open-file dialog; a host or a test can put its own function in its place, so that nothing blocks.
#include "hostsdk/max_types.h"
#include "hostsdk/sdk_api.h"

#include <functional>

// Returns true and sets `chosen` when the user picked a file; `current` is the file the parameter names.
using BitmapFileChooser = std::function<bool(HWND owner, const MSTR& current, MSTR& chosen)>;

SDK_API bool ChooseBitmapFile(HWND owner, const MSTR& current, MSTR& chosen);
// Installs `chooser` and returns the one it replaces; an empty function restores the system dialog.
SDK_API BitmapFileChooser SetBitmapFileChooser(BitmapFileChooser chooser);
