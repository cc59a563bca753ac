// Parameter maps' rollouts in the Windows build: one dialog per map in the material editor's rollup
// window, whose procedure handles the bound controls first and then passes every message to the map's
// user procedure.
#include "param_map_rollouts.h"

#include "param_map_bindings_win32.h"

#include "hostsdk/class_desc.h"
#include "hostsdk/core_interface.h"
#include "hostsdk/rollup_window.h"

namespace {

IRollupWindow* FindRollup(HWND editorWindow, IMtlParams* params) {
    if (params != nullptr)
        if (IRollupWindow* rollup = params->GetMtlEditorRollup())
            return rollup;
    if (editorWindow == nullptr)
        return nullptr;
    if (IRollupWindow* rollup = GetIRollup(editorWindow))
        return rollup;
    return GetIRollup(FindWindowExW(editorWindow, nullptr, ROLLUPWINDOWCLASS, nullptr));
}

INT_PTR CALLBACK ParamMapDlgProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam) {
    IParamMap2* map = nullptr;
    if (msg == WM_INITDIALOG) {
        map = reinterpret_cast<IParamMap2*>(lParam);
        SetWindowLongPtrW(dlg, DWLP_USER, lParam);
        map->AttachWindow(dlg);
        SetUpBoundControls(*map);
        ShowBoundParams(*map, -1);
    } else {
        map = reinterpret_cast<IParamMap2*>(GetWindowLongPtrW(dlg, DWLP_USER));
    }
    if (map == nullptr)
        return FALSE;

    const TimeValue t = GetCOREInterface()->GetTime();
    // The parameter is stored before the user procedure sees the message, so that it reads the new value.
    INT_PTR result = StoreFromBoundControl(*map, t, msg, wParam) ? TRUE : FALSE;
    if (ParamMap2UserDlgProc* user = map->GetUserDlgProc())
        if (const INT_PTR userResult = user->DlgProc(t, map, dlg, msg, wParam, lParam))
            result = userResult;

    if (msg == WM_DESTROY) {
        SetWindowLongPtrW(dlg, DWLP_USER, 0);
        map->AttachWindow(nullptr);
    }
    return result;
}

} // namespace

bool OpenRollouts(ClassDesc2* cd, HWND editorWindow, IMtlParams* params,
                  const std::vector<IParamMap2*>& maps) {
    IRollupWindow* rollup = FindRollup(editorWindow, params);
    if (cd == nullptr || rollup == nullptr)
        return true;
    InitCustomControls();
    for (IParamMap2* map : maps) {
        const ParamMapSpec& layout = map->Rollout();
        const int index =
            rollup->AppendRollup(cd->HInstance(), MAKEINTRESOURCEW(layout.dialogTemplate), ParamMapDlgProc,
                                 cd->GetRsrcString(layout.title), reinterpret_cast<LPARAM>(map),
                                 static_cast<DWORD>(layout.rollupFlags));
        if (index < 0) {
            for (IParamMap2* opened : maps)
                CloseRollout(*opened);
            return false;
        }
    }
    return true;
}

void RefreshRollout(IParamMap2& map, ParamID id) {
    if (map.GetHWnd() == nullptr)
        return;
    ShowBoundParams(map, id);
    // A whole map's invalidation redraws its rollout: what the user procedure paints itself (not a bound
    // control) comes from the thing, which has changed, and is drawn at the rollout's next WM_PAINT.
    if (id == -1)
        InvalidateRect(map.GetHWnd(), nullptr, TRUE);
    if (ParamMap2UserDlgProc* user = map.GetUserDlgProc())
        user->Update(GetCOREInterface()->GetTime());
}

void CloseRollout(IParamMap2& map) {
    if (map.GetHWnd() != nullptr)
        DestroyWindow(map.GetHWnd());
}
