#include "ui/rollout_controls.h"

void ShowRolloutControl(HWND, int, bool) {}

void SetRolloutControlText(HWND, int, const std::wstring&) {}

void SetRadioChecked(HWND, int, bool) {}

namespace {
int lastSwatchCount = 0;
}

void PaintSwatches(HWND, const Palette&, int count) {
    lastSwatchCount = count;
}

int LastSwatchCount() {
    return lastSwatchCount;
}

void MakeRolloutHyperlink(HWND, int) {}
