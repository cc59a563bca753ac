#pragma once

// A map's rollouts as the material editor shows them (Windows build, under Wine): a host window holding a
// rollup window, with the parameters and About rollouts opened on request.
#include "map_test_support.h"

#include "plugin/param_ids.h"

#include "hostsdk/custom_controls.h"
#include "hostsdk/rollup_window.h"

#include "ui_test_windows.h"

#include <gtest/gtest.h>

#include <memory>

class MapRollouts : public ::testing::Test {
protected:
    void SetUp() override {
        GetCOREInterface()->SetQuietMode(TRUE);
        ASSERT_TRUE(InitCustomControls());
        map = NewMap();
        host = CreateHostWindow(460, 900);
        ASSERT_NE(host, nullptr);
        HWND rollupWindow = CreateWindowExW(0, ROLLUPWINDOWCLASS, L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL, 0,
                                            0, 440, 860, host, nullptr, nullptr, nullptr);
        ASSERT_NE(rollupWindow, nullptr);
        params = std::make_unique<RollupMtlParams>(rollupWindow);
    }
    void TearDown() override {
        Close();
        if (host != nullptr)
            DestroyWindow(host);
        GetCOREInterface()->SetQuietMode(FALSE);
    }

    void Open() {
        dialog = dynamic_cast<IAutoMParamDlg*>(map->CreateParamDlg(host, params.get()));
        ASSERT_NE(dialog, nullptr);
        for (int i = 0; i < dialog->NumMaps(); ++i)
            (dialog->GetMap(i)->GetMapID() == kParamsMapId ? rollout : about) = dialog->GetMap(i)->GetHWnd();
        ASSERT_NE(rollout, nullptr);
        ASSERT_NE(about, nullptr);
    }
    void Close() {
        if (dialog != nullptr)
            dialog->DeleteThis();
        dialog = nullptr;
        rollout = about = nullptr;
    }

    MapPtr map;
    HWND host = nullptr;
    std::unique_ptr<RollupMtlParams> params;
    IAutoMParamDlg* dialog = nullptr;
    HWND rollout = nullptr;
    HWND about = nullptr;
};
