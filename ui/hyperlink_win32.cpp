#include "ui/hyperlink.h"

#include <windowsx.h>

namespace {

WNDPROC OriginalProc(HWND window) {
    return reinterpret_cast<WNDPROC>(GetPropW(window, kHyperlinkOriginalProc));
}

// Installs `proc` and keeps the window's current procedure in its property.
void Subclass(HWND window, WNDPROC proc) {
    SetPropW(window, kHyperlinkOriginalProc,
             reinterpret_cast<HANDLE>(GetWindowLongPtrW(window, GWLP_WNDPROC)));
    SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc));
}

// Puts the previous procedure back and forgets it; returns it for the message still to be passed on.
WNDPROC Unsubclass(HWND window) {
    const WNDPROC original = OriginalProc(window);
    SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
    RemovePropW(window, kHyperlinkOriginalProc);
    return original;
}

void ShowFont(HWND link, const wchar_t* property) {
    SendMessageW(link, WM_SETFONT, reinterpret_cast<WPARAM>(GetPropW(link, property)), FALSE);
    InvalidateRect(link, nullptr, FALSE);
}

// The hover effect: entering the static underlines it and captures the mouse, so that leaving it is seen.
void TrackHover(HWND link, LPARAM point) {
    if (GetCapture() != link) {
        ShowFont(link, kHyperlinkUnderlineFont);
        SetCapture(link);
        return;
    }
    POINT where{GET_X_LPARAM(point), GET_Y_LPARAM(point)};
    ClientToScreen(link, &where);
    RECT bounds;
    GetWindowRect(link, &bounds);
    if (!PtInRect(&bounds, where)) {
        ShowFont(link, kHyperlinkOriginalFont);
        ReleaseCapture();
    }
}

} // namespace

BOOL MakeHyperlinkStatic(HWND staticWindow) {
    if (HWND parent = GetParent(staticWindow);
        parent != nullptr &&
        GetWindowLongPtrW(parent, GWLP_WNDPROC) != reinterpret_cast<LONG_PTR>(&HyperlinkParentProc))
        Subclass(parent, HyperlinkParentProc);

    // A click is then reported to the parent as a command with the static's ID.
    SetWindowLongPtrW(staticWindow, GWL_STYLE, GetWindowLongPtrW(staticWindow, GWL_STYLE) | SS_NOTIFY);
    Subclass(staticWindow, HyperlinkStaticProc);

    const auto font = reinterpret_cast<HFONT>(SendMessageW(staticWindow, WM_GETFONT, 0, 0));
    SetPropW(staticWindow, kHyperlinkOriginalFont, font);
    LOGFONTW description{};
    // A static without a font of its own draws with the system font.
    if (GetObjectW(font != nullptr ? static_cast<HGDIOBJ>(font) : GetStockObject(SYSTEM_FONT),
                   sizeof description, &description) != 0) {
        description.lfUnderline = TRUE;
        SetPropW(staticWindow, kHyperlinkUnderlineFont, CreateFontIndirectW(&description));
    }
    SetPropW(staticWindow, kHyperlinkFromStatic, reinterpret_cast<HANDLE>(1));
    return TRUE;
}

LRESULT CALLBACK HyperlinkParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const WNDPROC original = OriginalProc(window);
    switch (message) {
    case WM_CTLCOLORSTATIC:
        if (GetPropW(reinterpret_cast<HWND>(lParam), kHyperlinkFromStatic) != nullptr) {
            // The previous procedure chooses the brush and colours; the link keeps only its text colour.
            const LRESULT brush = CallWindowProcW(original, window, message, wParam, lParam);
            SetTextColor(reinterpret_cast<HDC>(wParam), kHyperlinkColour);
            return brush;
        }
        break;
    case WM_DESTROY:
        return CallWindowProcW(Unsubclass(window), window, message, wParam, lParam);
    default:
        break;
    }
    return CallWindowProcW(original, window, message, wParam, lParam);
}

HCURSOR HyperlinkCursor(HCURSOR (*load)(HINSTANCE, LPCWSTR)) {
    HCURSOR hand = load(nullptr, IDC_HAND);
    return hand != nullptr ? hand : load(nullptr, IDC_ARROW);
}

LRESULT CALLBACK HyperlinkStaticProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SETCURSOR:
        SetCursor(HyperlinkCursor());
        return TRUE;
    case WM_MOUSEMOVE:
        TrackHover(window, lParam);
        break;
    case WM_DESTROY: {
        const WNDPROC original = Unsubclass(window);
        SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(GetPropW(window, kHyperlinkOriginalFont)),
                     FALSE);
        RemovePropW(window, kHyperlinkOriginalFont);
        DeleteObject(static_cast<HGDIOBJ>(RemovePropW(window, kHyperlinkUnderlineFont)));
        RemovePropW(window, kHyperlinkFromStatic);
        return CallWindowProcW(original, window, message, wParam, lParam);
    }
    default:
        break;
    }
    return CallWindowProcW(OriginalProc(window), window, message, wParam, lParam);
}
