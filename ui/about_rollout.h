#pragma once

// The About rollout's two live items: the version label and the documentation link.
#include "plugin/host_sdk.h"

// At WM_INITDIALOG: the installed plug-in file's version into the label, then the link text made a link.
void InitAboutRollout(HWND rollout);
// At WM_COMMAND: a click on the link opens the documentation; other controls do nothing.
void AboutRolloutCommand(HWND rollout, int control);
