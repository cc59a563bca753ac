#pragma once

// Parameter maps: the rollouts built from a parameter block descriptor, and the dialog procedures that
// plug-ins attach to them.
#include "hostsdk/param_block.h"
#include "hostsdk/param_dlg.h"

class ClassDesc2;
class IParamMap2;

class SDK_API ParamMap2UserDlgProc {
public:
    virtual ~ParamMap2UserDlgProc();
    // Called after the map has handled the message itself.
    virtual INT_PTR DlgProc(TimeValue t, IParamMap2* map, HWND hWnd, UINT msg, WPARAM wParam,
                            LPARAM lParam) = 0;
    virtual void DeleteThis() = 0;
    virtual void SetThing(ReferenceTarget*) {}
    virtual void Update(TimeValue) {}
};

// One open rollout bound to a block. In the Windows build a map created inside a rollup window has its
// dialog there: the controls named by the block's p_ui entries show and edit their parameters, and the
// rollout's user procedure sees every message after the map has handled it. Elsewhere, and without a
// rollup window, the map has no window and only keeps its state.
class SDK_API IParamMap2 {
public:
    IParamMap2(IParamBlock2* block, const ParamMapSpec& rollout) : block(block), rollout(rollout) {}
    IParamMap2(const IParamMap2&) = delete;
    IParamMap2& operator=(const IParamMap2&) = delete;
    // Destroys the rollout's window, if it has one.
    ~IParamMap2();

    IParamBlock2* GetParamBlock() const { return block; }
    void SetParamBlock(IParamBlock2* newBlock) { block = newBlock; }
    MapID GetMapID() const { return rollout.mapId; }
    const ParamMapSpec& Rollout() const { return rollout; }
    ParamMap2UserDlgProc* GetUserDlgProc() const { return rollout.userDlgProc; }
    // The rollout's dialog; null when the map has no window.
    HWND GetHWnd() const { return window; }
    // Shows the block's values in every control of the rollout (at once; the user procedure's Update
    // follows). Counted, so that callers can observe it in builds without windows.
    void Invalidate();
    // The same for the controls of one parameter.
    void Invalidate(ParamID id);
    int InvalidationCount() const { return invalidations; }

    // Used by the SDK's rollout code when the dialog is created and destroyed.
    void AttachWindow(HWND dlg) { window = dlg; }

private:
    IParamBlock2* block;
    ParamMapSpec rollout;
    HWND window = nullptr;
    int invalidations = 0;
};

// The master dialog of an object in the material editor: its own rollouts plus added sub-dialogs.
class SDK_API IAutoMParamDlg : public ParamDlg {
public:
    IAutoMParamDlg(ClassDesc2* cd, ReferenceTarget* thing, std::vector<IParamMap2*> maps);
    ~IAutoMParamDlg() override;

    Class_ID ClassID() override;
    // Shows `thing`'s blocks in the rollouts and hands it to their user procedures.
    void SetThing(ReferenceTarget* thing) override;
    ReferenceTarget* GetThing() override { return thing; }
    void ReloadDialog() override;
    // Closes the rollouts (destroying their windows) and the added sub-dialogs.
    void DeleteThis() override;

    void AddDlg(ParamDlg* dlg) { subDialogs.push_back(dlg); }
    int NumDlgs() const { return static_cast<int>(subDialogs.size()); }
    ParamDlg* GetDlg(int i) const { return subDialogs.at(static_cast<std::size_t>(i)); }
    int NumMaps() const { return static_cast<int>(maps.size()); }
    IParamMap2* GetMap(int i) const { return maps.at(static_cast<std::size_t>(i)); }

private:
    ClassDesc2* cd;
    ReferenceTarget* thing;
    std::vector<IParamMap2*> maps;
    std::vector<ParamDlg*> subDialogs;
};
