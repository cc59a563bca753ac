#pragma once

#include "plugin/host_sdk.h"

class Chromasift;

// The one dialog procedure shared by both rollouts of every map. It acts on the map whose rollouts were
// opened or created last.
class ChromasiftDlgProc : public ParamMap2UserDlgProc {
public:
    constexpr ChromasiftDlgProc() = default;

    INT_PTR DlgProc(TimeValue t, IParamMap2* map, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) override;
    // The procedure is a static object that lives as long as the library.
    void DeleteThis() override {}
    void SetThing(ReferenceTarget* thing) override;

    Chromasift* GetMap() const { return map; }
    void SetMap(Chromasift* newMap) { map = newMap; }

private:
    Chromasift* map = nullptr;
};

extern constinit ChromasiftDlgProc theChromasiftDlgProc;
