#include "ui_test_windows.h"

namespace {

LPARAM At(int x, int y) {
    return MAKELPARAM(static_cast<WORD>(static_cast<short>(x)), static_cast<WORD>(static_cast<short>(y)));
}

} // namespace

HWND CreateHostWindow(int width, int height) {
    static const wchar_t* const kClass = L"SdkUiTestHost";
    static const bool registered = [] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = kClass;
        return RegisterClassExW(&wc) != 0;
    }();
    if (!registered)
        return nullptr;
    const HWND host = CreateWindowExW(0, kClass, L"Editor", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0,
                                      width, height, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (host != nullptr)
        ShowWindow(host, SW_SHOW);
    return host;
}

void MoveMouse(HWND control, int x, int y) {
    SendMessageW(control, WM_MOUSEMOVE, MK_LBUTTON, At(x, y));
}

void ClickAt(HWND control, int x, int y) {
    SendMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, At(x, y));
    SendMessageW(control, WM_LBUTTONUP, 0, At(x, y));
}

void TypeAndEnter(HWND edit, const std::wstring& text) {
    SendMessageW(edit, EM_SETSEL, 0, -1);
    for (wchar_t c : text)
        SendMessageW(edit, WM_CHAR, c, 1);
    SendMessageW(edit, WM_KEYDOWN, VK_RETURN, 1);
}

std::wstring WindowText(HWND window) {
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return text;
}
