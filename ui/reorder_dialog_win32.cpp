#include "ui/reorder_dialog.h"

#include "plugin/plugin_main.h"
#include "plugin/resource_ids.h"
#include "ui/manual_reorder.h"
#include "ui/swatch_layout.h"
#include "ui/swatch_reorder.h"
#include "ui/swatches.h"

#include <windowsx.h>

namespace {

// The point of a mouse message in the swatch frame's client coordinates, and whether it lies in the frame.
bool FramePoint(HWND dialog, LPARAM lParam, POINT& point) {
    point = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    HWND frame = GetDlgItem(dialog, IDC_SWATCH_FRAME);
    if (frame == nullptr)
        return false;
    MapWindowPoints(dialog, frame, &point, 1);
    RECT client;
    GetClientRect(frame, &client);
    return PtInRect(&client, point) != FALSE;
}

void RedrawNow(HWND dialog) {
    InvalidateRect(dialog, nullptr, FALSE);
    UpdateWindow(dialog);
}

void EndDrag(HWND dialog, LPARAM lParam) {
    ReorderState& state = theReorderState;
    POINT point;
    if (FramePoint(dialog, lParam, point)) {
        const int target = SwatchIndexAt(dialog, point.x, point.y);
        if (target != -1 && state.working != nullptr)
            MoveSwatch(*state.working, state.dragSource, target);
    }
    state.dragSource = -1;
    RedrawNow(dialog);
}

} // namespace

int SwatchIndexAt(HWND dialog, int x, int y) {
    RECT client{0, 0, 0, 0};
    if (HWND frame = GetDlgItem(dialog, IDC_SWATCH_FRAME))
        GetClientRect(frame, &client);
    return SwatchCellAt(client.right, client.bottom, theReorderState.count, x, y);
}

INT_PTR CALLBACK ReorderDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    ReorderState& state = theReorderState;
    switch (message) {
    case WM_INITDIALOG:
        GetCOREInterface()->RegisterDlgWnd(dialog);
        state.working = reinterpret_cast<Palette*>(lParam);
        state.count = state.working != nullptr ? static_cast<int>(state.working->size()) : 0;
        state.dragSource = -1;
        return TRUE;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(dialog, &paint);
        if (dc != nullptr && state.working != nullptr)
            DrawSwatches(dialog, dc, state.count, *state.working);
        EndPaint(dialog, &paint);
        return TRUE;
    }
    case WM_LBUTTONDOWN: {
        // The mouse is not captured: a release outside the dialog is never seen and the drag stays pending.
        POINT point;
        if (FramePoint(dialog, lParam, point))
            state.dragSource = SwatchIndexAt(dialog, point.x, point.y);
        return TRUE;
    }
    case WM_MOUSEMOVE:
        if (state.dragSource != -1 && (wParam & MK_LBUTTON) != 0) {
            POINT point;
            FramePoint(dialog, lParam, point);
            state.dragX = point.x;
            state.dragY = point.y;
            RedrawNow(dialog);
        }
        return TRUE;
    case WM_LBUTTONUP:
        if (state.dragSource != -1)
            EndDrag(dialog, lParam);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, static_cast<INT_PTR>(wParam));
            GetCOREInterface()->UnRegisterDlgWnd(dialog);
            state.dragSource = -1;
        }
        return TRUE;
    default:
        return FALSE;
    }
}

bool RunReorderDialog(Palette& working) {
    const INT_PTR result =
        DialogBoxParamW(hInstance, MAKEINTRESOURCEW(IDD_REORDER), GetCOREInterface()->GetMAXHWnd(),
                        ReorderDlgProc, reinterpret_cast<LPARAM>(&working));
    theReorderState.working = nullptr;
    return result == IDOK;
}
