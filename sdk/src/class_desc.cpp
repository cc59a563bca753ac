#include "hostsdk/class_desc.h"

#include "param_map_rollouts.h"

#include <algorithm>

ClassDesc::~ClassDesc() = default;

const MCHAR* ClassDesc::GetRsrcString(StringResID id) {
    auto found = loadedStrings.find(id);
    if (found == loadedStrings.end()) {
        MCHAR buffer[1024];
        const int length = LoadStringW(HInstance(), static_cast<UINT>(id), buffer, 1024);
        found = loadedStrings.emplace(id, MSTR(buffer, static_cast<std::size_t>(std::max(length, 0)))).first;
    }
    return found->second.c_str();
}

FPInterface* ClassDesc::GetInterface(Interface_ID id) {
    for (FPInterface* fpi : interfaces)
        if (fpi->GetID() == id)
            return fpi;
    return nullptr;
}

FPInterface* ClassDesc::GetInterface(const MCHAR* name) {
    if (name == nullptr)
        return nullptr;
    for (FPInterface* fpi : interfaces)
        if (MSTR(fpi->GetDesc()->InternalName()) == name)
            return fpi;
    return nullptr;
}

void ClassDesc::AddInterface(FPInterface* fpi) {
    if (fpi != nullptr && std::find(interfaces.begin(), interfaces.end(), fpi) == interfaces.end())
        interfaces.push_back(fpi);
}

ClassDesc2::~ClassDesc2() {
    const std::vector<IAutoMParamDlg*> dialogs = openDialogs;
    for (IAutoMParamDlg* dlg : dialogs)
        dlg->DeleteThis();
    for (auto& [obj, maps] : commandPanelMaps)
        for (IParamMap2* map : maps)
            delete map;
}

ParamBlockDesc2* ClassDesc2::GetParamBlockDesc(int i) {
    if (i < 0 || i >= NumParamBlockDescs())
        return nullptr;
    return blockDescs[static_cast<std::size_t>(i)];
}

ParamBlockDesc2* ClassDesc2::GetParamBlockDescByID(BlockID id) {
    for (ParamBlockDesc2* pbd : blockDescs)
        if (pbd->ID() == id)
            return pbd;
    return nullptr;
}

void ClassDesc2::AddParamBlockDesc(ParamBlockDesc2* pbd) {
    if (pbd != nullptr && std::find(blockDescs.begin(), blockDescs.end(), pbd) == blockDescs.end())
        blockDescs.push_back(pbd);
}

std::vector<IParamMap2*> ClassDesc2::OpenMapsFor(ReferenceMaker* obj) {
    std::vector<IParamMap2*> maps;
    for (ParamBlockDesc2* pbd : blockDescs) {
        if ((pbd->Flags() & P_AUTO_UI) == 0)
            continue;
        IParamBlock2* block = obj->GetParamBlockByID(pbd->ID());
        if (block == nullptr)
            continue;
        for (int i = 0; i < pbd->NumMaps(); ++i)
            maps.push_back(new IParamMap2(block, pbd->GetMap(i)));
    }
    return maps;
}

void ClassDesc2::BeginEditParams(IObjParam*, ReferenceMaker* obj, ULONG, Animatable*) {
    if (obj == nullptr || commandPanelMaps.count(obj) != 0)
        return;
    std::vector<IParamMap2*> maps = OpenMapsFor(obj);
    openMaps.insert(openMaps.end(), maps.begin(), maps.end());
    commandPanelMaps[obj] = std::move(maps);
}

void ClassDesc2::EndEditParams(IObjParam*, ReferenceMaker* obj, ULONG, Animatable*) {
    const auto found = commandPanelMaps.find(obj);
    if (found == commandPanelMaps.end())
        return;
    for (IParamMap2* map : found->second) {
        openMaps.erase(std::remove(openMaps.begin(), openMaps.end(), map), openMaps.end());
        delete map;
    }
    commandPanelMaps.erase(found);
}

void ClassDesc2::InvalidateUI() {
    for (IParamMap2* map : openMaps)
        map->Invalidate();
}

void ClassDesc2::MakeAutoParamBlocks(ReferenceMaker* owner) {
    for (ParamBlockDesc2* pbd : blockDescs)
        if ((pbd->Flags() & P_AUTO_CONSTRUCT) != 0 && pbd->RefNo() >= 0)
            owner->ReplaceReference(pbd->RefNo(), CreateParameterBlock2(pbd, owner));
}

IParamMap2* ClassDesc2::GetParamMap(int i) {
    if (i < 0 || i >= NumParamMaps())
        return nullptr;
    return openMaps[static_cast<std::size_t>(i)];
}

void ClassDesc2::ResetClassParams(BOOL) {}

void ClassDesc2::Reset(ReferenceTarget* owner, BOOL updateUI, BOOL callSetHandlers) {
    if (owner == nullptr)
        return;
    for (ParamBlockDesc2* pbd : blockDescs)
        if (IParamBlock2* block = owner->GetParamBlockByID(pbd->ID()))
            block->ResetAll(updateUI, callSetHandlers);
    if (updateUI)
        InvalidateUI();
}

IAutoMParamDlg* ClassDesc2::CreateParamDlgs(HWND editorWindow, IMtlParams* params, ReferenceTarget* obj) {
    if (obj == nullptr)
        return nullptr;
    std::vector<IParamMap2*> maps = OpenMapsFor(obj);
    // The user procedures know their object before their rollouts receive the first message.
    for (IParamMap2* map : maps)
        if (map->GetUserDlgProc() != nullptr)
            map->GetUserDlgProc()->SetThing(obj);
    if (!OpenRollouts(this, editorWindow, params, maps)) {
        for (IParamMap2* map : maps)
            delete map;
        return nullptr;
    }
    openMaps.insert(openMaps.end(), maps.begin(), maps.end());
    auto* dlg = new IAutoMParamDlg(this, obj, std::move(maps));
    openDialogs.push_back(dlg);
    return dlg;
}

void ClassDesc2::ParamDlgClosed(IAutoMParamDlg* dlg) {
    openDialogs.erase(std::remove(openDialogs.begin(), openDialogs.end(), dlg), openDialogs.end());
    for (int i = 0; i < dlg->NumMaps(); ++i) {
        IParamMap2* map = dlg->GetMap(i);
        openMaps.erase(std::remove(openMaps.begin(), openMaps.end(), map), openMaps.end());
    }
}

void ClassDesc2::SetUserDlgProc(ParamBlockDesc2* pbd, MapID id, ParamMap2UserDlgProc* proc) {
    if (pbd != nullptr)
        pbd->SetUserDlgProc(id, proc);
}

void ClassDesc2::SetUserDlgProc(ParamBlockDesc2* pbd, ParamMap2UserDlgProc* proc) {
    if (pbd != nullptr && pbd->NumMaps() > 0)
        pbd->SetUserDlgProc(pbd->GetMap(0).mapId, proc);
}
