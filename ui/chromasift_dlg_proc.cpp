#include "ui/chromasift_dlg_proc.h"

#include "map/chromasift.h"
#include "plugin/param_ids.h"
#include "plugin/plugin_main.h"
#include "plugin/resource_ids.h"
#include "shade/distribution_mode.h"
#include "ui/about_rollout.h"
#include "ui/manual_reorder.h"
#include "ui/mode_choices.h"
#include "ui/rollout_controls.h"

#include <algorithm>
#include <cwchar>

constinit ChromasiftDlgProc theChromasiftDlgProc;

namespace {

TimeValue Now() {
    return GetCOREInterface()->GetTime();
}

bool VRayIsCurrentRenderer() {
    Renderer* renderer = GetCOREInterface()->GetCurrentRenderer();
    return renderer != nullptr && renderer->ClassID() == VRAY_RENDERER_CLASS_ID;
}

bool IsModeRadio(int control) {
    return std::find(kModeRadios.begin(), kModeRadios.end(), control) != kModeRadios.end();
}

} // namespace

INT_PTR ChromasiftDlgProc::DlgProc(TimeValue, IParamMap2* paramMap, HWND hWnd, UINT msg, WPARAM wParam,
                                   LPARAM) {
    const bool about = paramMap != nullptr && paramMap->GetMapID() == kAboutMapId;
    switch (msg) {
    case WM_INITDIALOG:
        if (about)
            InitAboutRollout(hWnd);
        else
            LayOutModes(hWnd);
        return FALSE;
    case WM_COMMAND:
        // Every notification of a control triggers its action, whatever its code.
        if (about)
            AboutRolloutCommand(hWnd, LOWORD(wParam));
        else
            Command(hWnd, LOWORD(wParam));
        return TRUE;
    case WM_PAINT:
        if (!about)
            ShowPalette(hWnd);
        return FALSE;
    case CC_SPINNER_CHANGE:
        if (!about)
            SpinnerChanged(hWnd, LOWORD(wParam));
        return FALSE;
    default:
        return FALSE;
    }
}

void ChromasiftDlgProc::Command(HWND rollout, int control) {
    if (map == nullptr || map->pblock == nullptr)
        return;
    switch (control) {
    case IDC_MAPPING_COMBO:
        LayOutModes(rollout);
        break;
    case IDC_SORTS_COMBO:
        map->AutoSortPalette();
        GetChromasiftDesc()->InvalidateUI();
        break;
    case IDC_HARMONY_COMBO:
        map->HarmonisePalette();
        GetChromasiftDesc()->InvalidateUI();
        break;
    case IDC_MANUAL_BUTTON:
        ManualReorder(*map);
        break;
    case IDC_BITMAP_BUTTON:
        map->MarkExtractPending();
        break;
    default:
        if (IsModeRadio(control))
            ModeRadioClicked(rollout, control);
        break;
    }
}

void ChromasiftDlgProc::SpinnerChanged(HWND rollout, int spinner) {
    if (map == nullptr || map->pblock == nullptr)
        return;
    if (spinner == IDC_NUM_COLORS_SPIN || spinner == IDC_SKIP_COLORS_SPIN) {
        IParamBlock2* block = map->pblock;
        const TimeValue now = Now();
        // Negative counts read as their unsigned patterns, as everywhere extraction takes them.
        const auto numColours = static_cast<std::uint32_t>(block->GetInt(pb_num_colors, now));
        const auto skipColours = static_cast<std::uint32_t>(block->GetInt(pb_skip_colors, now));
        if (PBBitmap* bitmap = block->GetBitmap(pb_bitmap, 0))
            map->ReextractPalette(bitmap->bi, numColours, skipColours);
        GetChromasiftDesc()->InvalidateUI();
    }
    ShowPalette(rollout);
}

void ChromasiftDlgProc::LayOutModes(HWND rollout) {
    if (map == nullptr || map->pblock == nullptr)
        return;
    IParamBlock2* block = map->pblock;
    const TimeValue now = Now();
    const int category = block->GetInt(pb_mapping, now);
    const std::optional<CategoryLayout> layout = LayOutCategory(category, VRayIsCurrentRenderer());
    if (!layout)
        return;
    for (const auto& [radio, label] : layout->labels)
        SetRolloutControlText(rollout, radio, label);
    for (const auto& [control, shown] : layout->visibility)
        ShowRolloutControl(rollout, control, shown);

    const ModeChoice* chosen =
        FindModeChoiceBySubMode(category, block->GetInt(*SubModeParameter(category), now));
    if (chosen == nullptr)
        return;
    for (int radio : kModeRadios)
        if (FindModeChoice(category, radio) != nullptr)
            SetRadioChecked(rollout, radio, radio == chosen->radioId);
    // The sub-mode is where the choice came from: only the combined mode is brought into line with it.
    WriteCombinedMode(*chosen, now);
}

void ChromasiftDlgProc::ModeRadioClicked(HWND rollout, int radio) {
    const TimeValue now = Now();
    if (const ModeChoice* choice = FindModeChoice(map->pblock->GetInt(pb_mapping, now), radio)) {
        map->pblock->SetValue(choice->subMode, now, choice->subModeValue);
        WriteCombinedMode(*choice, now);
    }
    // The seven radios form two automatic groups in the template; unchecking across them makes one choice.
    for (int other : kModeRadios)
        if (other != radio)
            SetRadioChecked(rollout, other, false);
}

void ChromasiftDlgProc::WriteCombinedMode(const ModeChoice& choice, TimeValue t) {
    map->pblock->SetValue(pb_mapping_old, t, choice.combinedMode);
    // Tiles follow the object's UV mapping: the explicit map-channel coordinates. Only the standard
    // generator has a coordinate system to set; another generator would be cast to what it is not.
    if (choice.combinedMode == distribution::kTiles)
        if (XYZGen* coords = map->GetTheXYZGen(); coords != nullptr && coords->IsStdXYZGen())
            static_cast<StdXYZGen*>(coords)->SetCoordSystem(UVW_COORDS);
}

void ChromasiftDlgProc::ShowPalette(HWND rollout) {
    if (map == nullptr || map->pblock == nullptr)
        return;
    const Chromasift::PalettePin pinned = map->GetPalette();
    const Palette& palette = *pinned;
    wchar_t number[16];
    std::swprintf(number, 16, L" %d", static_cast<int>(palette.size()));
    SetRolloutControlText(rollout, IDC_COUNT_LABEL, std::wstring(L"max #colors extracted:") + number);
    const int numColours = map->pblock->GetInt(pb_num_colors, Now());
    PaintSwatches(rollout, palette, std::min(static_cast<int>(palette.size()), numColours));
}
