// The RollupWindow window class: rollouts stacked top to bottom, each a title bar and, when open, its
// dialog below it; a vertical scroll bar when they do not fit.
#include "hostsdk/rollup_window.h"

#include "custom_controls_internal.h"

#include <windowsx.h>

#include <algorithm>
#include <string>
#include <vector>

namespace hostsdk_controls {
namespace {

constexpr int kMargin = 3;       // around and between rollouts
constexpr int kWheelPixels = 40; // scrolled per wheel notch

class RollupWindow final : public IRollupWindow {
public:
    explicit RollupWindow(HWND window) : window(window) {}

    int AppendRollup(HINSTANCE instance, const MCHAR* dlgTemplate, DLGPROC dlgProc, const MCHAR* title,
                     LPARAM param, DWORD flags) override;
    void DeleteRollup(int index, int count) override;
    int GetNumPanels() override { return static_cast<int>(panels.size()); }
    HWND GetPanelDlg(int index) override { return Valid(index) ? panels[Index(index)].dlg : nullptr; }
    int GetPanelIndex(HWND dlg) override;
    MSTR GetPanelTitle(int index) override { return Valid(index) ? panels[Index(index)].title : MSTR(); }
    void SetPanelTitle(int index, const MCHAR* title) override;
    BOOL IsPanelOpen(int index) override { return Valid(index) && panels[Index(index)].open; }
    void SetPanelOpen(int index, BOOL open) override;
    int GetScrollPos() override { return scroll; }
    void SetScrollPos(int pixels) override;
    RECT GetPanelTitleRect(int index) override;

    LRESULT Handle(UINT msg, WPARAM wParam, LPARAM lParam);

private:
    struct Panel {
        HWND dlg;
        MSTR title;
        bool open;
        RECT titleRect;
    };
    static std::size_t Index(int index) { return static_cast<std::size_t>(index); }
    bool Valid(int index) const { return index >= 0 && index < static_cast<int>(panels.size()); }
    int TitleHeight() const;
    // Places every title and dialog from the scroll position and updates the scroll bar.
    void Layout();
    void Paint();
    void Click(POINT at);
    void Scroll(WPARAM request);

    HWND window;
    std::vector<Panel> panels;
    int scroll = 0;
    int contentHeight = 0;
};

int RollupWindow::TitleHeight() const {
    TEXTMETRICW metrics{};
    const HDC dc = GetDC(window);
    const HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(window, dc);
    return metrics.tmHeight + 6;
}

int RollupWindow::AppendRollup(HINSTANCE instance, const MCHAR* dlgTemplate, DLGPROC dlgProc,
                               const MCHAR* title, LPARAM param, DWORD flags) {
    const HWND dlg = CreateDialogParamW(instance, dlgTemplate, window, dlgProc, param);
    if (dlg == nullptr)
        return -1;
    panels.push_back(
        {dlg, title == nullptr ? MSTR() : MSTR(title), (flags & APPENDROLL_CLOSED) == 0, RECT{}});
    Layout();
    return static_cast<int>(panels.size()) - 1;
}

void RollupWindow::DeleteRollup(int index, int count) {
    // Destroying a dialog removes its panel (WM_PARENTNOTIFY); collect the windows first.
    std::vector<HWND> doomed;
    for (int i = index; i < index + count && Valid(i); ++i)
        doomed.push_back(panels[Index(i)].dlg);
    for (HWND dlg : doomed)
        DestroyWindow(dlg);
}

int RollupWindow::GetPanelIndex(HWND dlg) {
    for (std::size_t i = 0; i < panels.size(); ++i)
        if (panels[i].dlg == dlg)
            return static_cast<int>(i);
    return -1;
}

void RollupWindow::SetPanelTitle(int index, const MCHAR* title) {
    if (!Valid(index))
        return;
    panels[Index(index)].title = title == nullptr ? MSTR() : MSTR(title);
    InvalidateRect(window, &panels[Index(index)].titleRect, TRUE);
}

void RollupWindow::SetPanelOpen(int index, BOOL open) {
    if (!Valid(index) || panels[Index(index)].open == (open != 0))
        return;
    panels[Index(index)].open = open != 0;
    Layout();
}

void RollupWindow::SetScrollPos(int pixels) {
    RECT client;
    GetClientRect(window, &client);
    const int limit = std::max(0, contentHeight - static_cast<int>(client.bottom));
    const int next = std::clamp(pixels, 0, limit);
    if (next == scroll)
        return;
    scroll = next;
    Layout();
}

RECT RollupWindow::GetPanelTitleRect(int index) {
    return Valid(index) ? panels[Index(index)].titleRect : RECT{};
}

void RollupWindow::Layout() {
    RECT client;
    GetClientRect(window, &client);
    const int titleHeight = TitleHeight();
    int y = kMargin;
    for (Panel& panel : panels) {
        RECT dlgRect;
        GetWindowRect(panel.dlg, &dlgRect);
        const int width = std::max(static_cast<int>(dlgRect.right - dlgRect.left), 1);
        const int height = dlgRect.bottom - dlgRect.top;
        panel.titleRect = {kMargin, y - scroll, kMargin + width, y - scroll + titleHeight};
        y += titleHeight;
        if (panel.open) {
            SetWindowPos(panel.dlg, nullptr, kMargin, y - scroll, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            ShowWindow(panel.dlg, SW_SHOWNA);
            y += height;
        } else {
            ShowWindow(panel.dlg, SW_HIDE);
        }
        y += kMargin;
    }
    contentHeight = y;
    const int limit = std::max(0, contentHeight - static_cast<int>(client.bottom));
    if (scroll > limit) {
        scroll = limit;
        Layout();
        return;
    }
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMin = 0;
    info.nMax = std::max(contentHeight - 1, 0);
    info.nPage = static_cast<UINT>(std::max(static_cast<int>(client.bottom), 0));
    info.nPos = scroll;
    SetScrollInfo(window, SB_VERT, &info, TRUE);
    InvalidateRect(window, nullptr, TRUE);
}

void RollupWindow::Paint() {
    PAINTSTRUCT ps;
    const HDC dc = BeginPaint(window, &ps);
    const HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    for (const Panel& panel : panels) {
        RECT bar = panel.titleRect;
        FillRect(dc, &bar, GetSysColorBrush(COLOR_BTNFACE));
        DrawEdge(dc, &bar, EDGE_RAISED, BF_RECT);
        // "+" marks a closed rollout and "-" an open one, as in the host's editors.
        const std::wstring text = std::wstring(panel.open ? L"- " : L"+ ") + panel.title;
        DrawTextW(dc, text.c_str(), -1, &bar, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
    SelectObject(dc, oldFont);
    EndPaint(window, &ps);
}

void RollupWindow::Click(POINT at) {
    for (std::size_t i = 0; i < panels.size(); ++i)
        if (PtInRect(&panels[i].titleRect, at)) {
            SetPanelOpen(static_cast<int>(i), panels[i].open ? FALSE : TRUE);
            return;
        }
}

void RollupWindow::Scroll(WPARAM request) {
    RECT client;
    GetClientRect(window, &client);
    const int page = std::max(static_cast<int>(client.bottom) - kWheelPixels, kWheelPixels);
    switch (LOWORD(request)) {
    case SB_LINEUP:
        SetScrollPos(scroll - kWheelPixels);
        break;
    case SB_LINEDOWN:
        SetScrollPos(scroll + kWheelPixels);
        break;
    case SB_PAGEUP:
        SetScrollPos(scroll - page);
        break;
    case SB_PAGEDOWN:
        SetScrollPos(scroll + page);
        break;
    case SB_TOP:
        SetScrollPos(0);
        break;
    case SB_BOTTOM:
        SetScrollPos(contentHeight);
        break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
        SCROLLINFO info{};
        info.cbSize = sizeof(info);
        info.fMask = SIF_TRACKPOS;
        GetScrollInfo(window, SB_VERT, &info);
        SetScrollPos(info.nTrackPos);
        break;
    }
    default:
        break;
    }
}

LRESULT RollupWindow::Handle(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_PAINT:
        Paint();
        return 0;
    case WM_SIZE:
        Layout();
        return 0;
    case WM_LBUTTONDOWN:
        Click(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
    case WM_VSCROLL:
        Scroll(wParam);
        return 0;
    case WM_MOUSEWHEEL:
        SetScrollPos(scroll - GET_WHEEL_DELTA_WPARAM(wParam) * kWheelPixels / WHEEL_DELTA);
        return 0;
    case WM_PARENTNOTIFY:
        // A rollout dialog was destroyed, by DeleteRollup or by its owner: its panel goes with it.
        if (LOWORD(wParam) == WM_DESTROY) {
            const int index = GetPanelIndex(reinterpret_cast<HWND>(lParam));
            if (index >= 0) {
                panels.erase(panels.begin() + index);
                Layout();
            }
        }
        return 0;
    default:
        // Messages of the rollouts' controls that their dialogs pass on reach the editor.
        return DefWindowProcW(window, msg, wParam, lParam);
    }
}

LRESULT CALLBACK RollupProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE)
        SetWindowLongPtrW(window, 0, reinterpret_cast<LONG_PTR>(new RollupWindow(window)));
    auto* rollup = reinterpret_cast<RollupWindow*>(GetWindowLongPtrW(window, 0));
    if (rollup == nullptr)
        return DefWindowProcW(window, msg, wParam, lParam);
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrW(window, 0, 0);
        delete rollup;
        return DefWindowProcW(window, msg, wParam, lParam);
    }
    return rollup->Handle(msg, wParam, lParam);
}

} // namespace

bool RegisterRollupClass(HINSTANCE module) {
    return RegisterOwnClass(module, ROLLUPWINDOWCLASS, RollupProc, IDC_ARROW, COLOR_APPWORKSPACE,
                            sizeof(RollupWindow*));
}

} // namespace hostsdk_controls

IRollupWindow::~IRollupWindow() = default;

IRollupWindow* GetIRollup(HWND window) {
    wchar_t className[32] = {};
    if (window == nullptr || GetClassNameW(window, className, 32) == 0 ||
        lstrcmpiW(className, ROLLUPWINDOWCLASS) != 0)
        return nullptr;
    return reinterpret_cast<hostsdk_controls::RollupWindow*>(GetWindowLongPtrW(window, 0));
}

void ReleaseIRollup(IRollupWindow*) {}

RollupMtlParams::~RollupMtlParams() = default;
