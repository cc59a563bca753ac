#pragma once

// A control of the material editor's own, beside the sample slot (Windows build).
#include <windows.h>

namespace host {

// A visible child of the editor with that class, text, style, place and ID, in the dialog font.
inline HWND CreateEditorControl(HWND editor, const wchar_t* windowClass, const wchar_t* text, DWORD style,
                                int x, int y, int width, int height, int id) {
    HWND control = CreateWindowExW(0, windowClass, text, WS_CHILD | WS_VISIBLE | style, x, y, width, height,
                                   editor, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                   GetModuleHandleW(nullptr), nullptr);
    if (control != nullptr)
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    return control;
}

} // namespace host
