#pragma once

#include "plugin/host_sdk.h"

class Chromasift;
struct ModeChoice;

// The one dialog procedure shared by both rollouts of every map. It adds what the host's bindings cannot
// do: the distribution-mode choice, the palette display, re-extraction, sorting and harmonisation on the
// spot. It acts on the map whose rollouts were opened or created last: the map sets itself here whenever
// it is created or its rollouts are opened or handed to it, so the host's SetThing keeps its default.
class ChromasiftDlgProc : public ParamMap2UserDlgProc {
public:
    constexpr ChromasiftDlgProc() = default;

    INT_PTR DlgProc(TimeValue t, IParamMap2* map, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) override;
    // The procedure is a static object that lives as long as the library.
    void DeleteThis() override {}

    Chromasift* GetMap() const { return map; }
    void SetMap(Chromasift* newMap) { map = newMap; }

private:
    void Command(HWND rollout, int control);
    void SpinnerChanged(HWND rollout, int spinner);
    // Labels, shows and hides the mode radios and the category's controls, then checks the stored choice
    // and brings the combined mode into line with it.
    void LayOutModes(HWND rollout);
    void ModeRadioClicked(HWND rollout, int radio);
    // The choice's combined mode; "As Tiles" also switches the coordinates to the explicit map channel.
    void WriteCombinedMode(const ModeChoice& choice, TimeValue t);
    // The count label and the swatches.
    void ShowPalette(HWND rollout);

    Chromasift* map = nullptr;
};

extern constinit ChromasiftDlgProc theChromasiftDlgProc;
