#pragma once

// The rollup window (Windows build only): a scrolling container that stacks rollouts, each a child dialog
// under a title bar that opens and closes it, and the material-editor parameters that hand it to
// parameter dialogs.
//
// How a host shows a map's rollouts:
//
//     InitCustomControls();
//     HWND editor = CreateWindowExW(0, L"MyEditor", L"Material Editor", WS_OVERLAPPEDWINDOW, ...);
//     HWND rollup = CreateWindowExW(0, ROLLUPWINDOWCLASS, L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL,
//                                   0, 0, width, height, editor, nullptr, nullptr, nullptr);
//     RollupMtlParams params(rollup);
//     ParamDlg* dlg = map->CreateParamDlg(editor, &params);
//         // (which calls classDesc->CreateParamDlgs(editor, &params, map))
//     ... pump messages; resize the rollup with the editor ...
//     dlg->DeleteThis();                                     // destroys the rollouts
//
// The parameter dialog puts its rollouts into params->GetMtlEditorRollup(). Without one (null params, or
// params without a rollup) it uses the editor window if that is a rollup window, else the editor's first
// child rollup window, else it creates no windows at all (as in the Linux build).
#include "hostsdk/custom_controls.h"
#include "hostsdk/param_dlg.h"

// AppendRollup flag: the rollout starts closed (title only).
constexpr DWORD APPENDROLL_CLOSED = 0x0001;

class SDK_API IRollupWindow {
public:
    virtual ~IRollupWindow();

    // Creates the dialog `dlgTemplate` of `instance` as a rollout under `title` and returns its index, or
    // -1 when the dialog could not be created (for instance a control class is not registered). `param`
    // reaches the dialog procedure with WM_INITDIALOG.
    virtual int AppendRollup(HINSTANCE instance, const MCHAR* dlgTemplate, DLGPROC dlgProc,
                             const MCHAR* title, LPARAM param = 0, DWORD flags = 0) = 0;
    // Destroys `count` rollouts from `index` on.
    virtual void DeleteRollup(int index, int count) = 0;
    virtual int GetNumPanels() = 0;
    virtual HWND GetPanelDlg(int index) = 0;
    // -1 when the dialog is no rollout of this window.
    virtual int GetPanelIndex(HWND dlg) = 0;
    virtual MSTR GetPanelTitle(int index) = 0;
    virtual void SetPanelTitle(int index, const MCHAR* title) = 0;
    virtual BOOL IsPanelOpen(int index) = 0;
    virtual void SetPanelOpen(int index, BOOL open) = 0;
    // Pixels scrolled from the top.
    virtual int GetScrollPos() = 0;
    virtual void SetScrollPos(int pixels) = 0;
    // The title bar of a rollout, in the rollup window's client coordinates.
    virtual RECT GetPanelTitleRect(int index) = 0;
};

// Null when the window is not a rollup window.
SDK_API IRollupWindow* GetIRollup(HWND window);
SDK_API void ReleaseIRollup(IRollupWindow* rollup);

// The material editor's parameters for a host whose editor shows rollouts in one rollup window.
class SDK_API RollupMtlParams : public IMtlParams {
public:
    explicit RollupMtlParams(HWND rollupWindow) : rollupWindow(rollupWindow) {}
    ~RollupMtlParams() override;
    IRollupWindow* GetMtlEditorRollup() override { return GetIRollup(rollupWindow); }

private:
    HWND rollupWindow;
};
