#pragma once

// A text static made a hyperlink (Windows build): the hand cursor over it, underlined while the mouse is
// on it, drawn in the link colour, and a click reported to its parent as a command. Everything lives in
// window properties of the static and its parent and is undone when they are destroyed.
#include <windows.h>

// The link text colour, dark blue.
inline constexpr COLORREF kHyperlinkColour = RGB(0, 0, 192);

// Window properties: the previous procedure (on the static and on its parent), the static's previous font
// (not owned), its underlined copy (owned by the link) and the mark the parent's colouring looks for.
inline constexpr const wchar_t* kHyperlinkOriginalProc = L"_Hyperlink_Original_Proc_";
inline constexpr const wchar_t* kHyperlinkOriginalFont = L"_Hyperlink_Original_Font_";
inline constexpr const wchar_t* kHyperlinkUnderlineFont = L"_Hyperlink_Underline_Font_";
inline constexpr const wchar_t* kHyperlinkFromStatic = L"_Hyperlink_From_Static_";

// Converts the static into a hyperlink and subclasses its parent once, however many links it holds.
BOOL MakeHyperlinkStatic(HWND staticWindow);
LRESULT CALLBACK HyperlinkStaticProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// The cursor over a link: the system's hand, or the arrow on a system without one. `load` is how a cursor is
// loaded (a test's stand-in for the system's cursors).
HCURSOR HyperlinkCursor(HCURSOR (*load)(HINSTANCE, LPCWSTR) = LoadCursorW);
LRESULT CALLBACK HyperlinkParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
