#pragma once

// Windows and mouse input for the SDK's user-interface tests (Windows build, run under Wine).
#include "hostsdk/max_types.h"

#include <string>

// A visible top-level window of a class with the default procedure, standing in for the host's editor.
HWND CreateHostWindow(int width = 400, int height = 500);

// Mouse messages sent straight to a control, in its client coordinates: a move with the left button down,
// and a press and release at the same point.
void MoveMouse(HWND control, int x, int y);
void ClickAt(HWND control, int x, int y);

// Types `text` into an edit (replacing what it shows) and presses Enter.
void TypeAndEnter(HWND edit, const std::wstring& text);

std::wstring WindowText(HWND window);
