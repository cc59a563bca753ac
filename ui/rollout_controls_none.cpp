#include "ui/rollout_controls.h"

void ShowRolloutControl(HWND, int, bool) {}

void SetRolloutControlText(HWND, int, const std::wstring&) {}

void SetRadioChecked(HWND, int, bool) {}

void PaintSwatches(HWND, const Palette&, int) {}

void MakeRolloutHyperlink(HWND, int) {}
