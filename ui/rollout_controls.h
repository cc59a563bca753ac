#pragma once

// The rollout's own controls as the dialog procedure changes them: the Windows build acts on the real
// controls; the Linux build has no windows, so there these do nothing and only the parameters change.
#include "palette/palette_entry.h"
#include "plugin/host_sdk.h"

#include <string>

void ShowRolloutControl(HWND rollout, int id, bool visible);
void SetRolloutControlText(HWND rollout, int id, const std::wstring& text);
void SetRadioChecked(HWND rollout, int id, bool checked);
// Paints the first `count` palette colours into the swatch frame, between BeginPaint and EndPaint.
void PaintSwatches(HWND rollout, const Palette& palette, int count);
// The `count` of the last PaintSwatches, in both builds, so that tests without windows see it too.
int LastSwatchCount();
// Turns the rollout's text static `id` into a hyperlink.
void MakeRolloutHyperlink(HWND rollout, int id);
