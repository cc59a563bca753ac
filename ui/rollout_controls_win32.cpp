#include "ui/rollout_controls.h"

#include "plugin/resource_ids.h"
#include "ui/hyperlink.h"
#include "ui/swatches.h"

void ShowRolloutControl(HWND rollout, int id, bool visible) {
    if (HWND control = GetDlgItem(rollout, id))
        ShowWindow(control, visible ? SW_SHOW : SW_HIDE);
}

void SetRolloutControlText(HWND rollout, int id, const std::wstring& text) {
    SetDlgItemTextW(rollout, id, text.c_str());
}

void SetRadioChecked(HWND rollout, int id, bool checked) {
    SendDlgItemMessageW(rollout, id, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

namespace {
int lastSwatchCount = 0;
}

int LastSwatchCount() {
    return lastSwatchCount;
}

void PaintSwatches(HWND rollout, const Palette& palette, int count) {
    lastSwatchCount = count;
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(rollout, &paint);
    if (dc != nullptr)
        DrawSwatches(rollout, dc, count, palette);
    EndPaint(rollout, &paint);
}

void MakeRolloutHyperlink(HWND rollout, int id) {
    if (HWND control = GetDlgItem(rollout, id))
        MakeHyperlinkStatic(control);
}
