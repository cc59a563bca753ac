#pragma once

// Class registration: the descriptor through which the host creates and lists a plug-in class.
#include "hostsdk/function_publishing.h"
#include "hostsdk/param_map.h"

#include <map>
#include <vector>

class IObjParam;
class Interface;

class SDK_API ClassDesc {
public:
    ClassDesc() = default;
    ClassDesc(const ClassDesc&) = delete;
    ClassDesc& operator=(const ClassDesc&) = delete;
    virtual ~ClassDesc();

    virtual int IsPublic() = 0;
    virtual void* Create(BOOL loading = FALSE) = 0;
    virtual const MCHAR* ClassName() = 0;
    virtual SClass_ID SuperClassID() = 0;
    virtual Class_ID ClassID() = 0;
    virtual const MCHAR* Category() = 0;
    virtual BOOL OkToCreate(Interface*) { return TRUE; }
    virtual DWORD InitialRollupPageState() { return 0x7fffffff; }
    virtual const MCHAR* InternalName() { return nullptr; }
    virtual HINSTANCE HInstance() { return nullptr; }

    // Loads a string of the class's module; the text stays valid as long as the descriptor.
    virtual const MCHAR* GetRsrcString(StringResID id);

    // Published interfaces, in the order they were added.
    int NumInterfaces() const { return static_cast<int>(interfaces.size()); }
    FPInterface* GetInterfaceAt(int i) const { return interfaces.at(static_cast<std::size_t>(i)); }
    virtual FPInterface* GetInterface(Interface_ID id);
    virtual FPInterface* GetInterface(const MCHAR* name);
    virtual void AddInterface(FPInterface* fpi);

private:
    std::vector<FPInterface*> interfaces;
    std::map<StringResID, MSTR> loadedStrings;
};

// The descriptor with parameter-block support: automatic blocks, their rollouts and their resets.
class SDK_API ClassDesc2 : public ClassDesc {
public:
    ~ClassDesc2() override;

    virtual int NumParamBlockDescs() { return static_cast<int>(blockDescs.size()); }
    virtual ParamBlockDesc2* GetParamBlockDesc(int i);
    virtual ParamBlockDesc2* GetParamBlockDescByID(BlockID id);
    virtual void AddParamBlockDesc(ParamBlockDesc2* pbd);

    // Shows and hides the object-level rollouts of `obj` (command panels).
    virtual void BeginEditParams(IObjParam* ip, ReferenceMaker* obj, ULONG flags, Animatable* prev);
    virtual void EndEditParams(IObjParam* ip, ReferenceMaker* obj, ULONG flags, Animatable* prev);
    // Asks every open rollout of this class to redraw from its block.
    virtual void InvalidateUI();
    // Creates every automatically constructed block and installs it in `owner` at its reference number.
    virtual void MakeAutoParamBlocks(ReferenceMaker* owner);
    virtual int NumParamMaps() { return static_cast<int>(openMaps.size()); }
    virtual IParamMap2* GetParamMap(int i);
    virtual void ResetClassParams(BOOL fileReset = FALSE);
    // Returns every block of `owner` built from this class's descriptors to its defaults.
    virtual void Reset(ReferenceTarget* owner, BOOL updateUI = TRUE, BOOL callSetHandlers = TRUE);
    // Builds the material-editor rollouts of every block of `obj`; the result is the master dialog. In the
    // Windows build the rollouts are dialogs in the editor's rollup window (see hostsdk/rollup_window.h);
    // null when one of them could not be created.
    virtual IAutoMParamDlg* CreateParamDlgs(HWND editorWindow, IMtlParams* params, ReferenceTarget* obj);
    virtual void SetUserDlgProc(ParamBlockDesc2* pbd, MapID id, ParamMap2UserDlgProc* proc);
    virtual void SetUserDlgProc(ParamBlockDesc2* pbd, ParamMap2UserDlgProc* proc);

    // Called by a master dialog when it closes.
    void ParamDlgClosed(IAutoMParamDlg* dlg);

private:
    std::vector<IParamMap2*> OpenMapsFor(ReferenceMaker* obj);

    std::vector<ParamBlockDesc2*> blockDescs;
    std::vector<IParamMap2*> openMaps;
    std::vector<IAutoMParamDlg*> openDialogs;
    std::map<ReferenceMaker*, std::vector<IParamMap2*>> commandPanelMaps;
};
