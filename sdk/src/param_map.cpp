#include "hostsdk/param_map.h"

#include "hostsdk/class_desc.h"
#include "hostsdk/mtl_base.h"

#include "param_map_rollouts.h"

ParamMap2UserDlgProc::~ParamMap2UserDlgProc() = default;

IParamMap2::~IParamMap2() {
    CloseRollout(*this);
}

void IParamMap2::Invalidate() {
    ++invalidations;
    RefreshRollout(*this, -1);
}

void IParamMap2::Invalidate(ParamID id) {
    ++invalidations;
    RefreshRollout(*this, id);
}

IAutoMParamDlg::IAutoMParamDlg(ClassDesc2* cd_, ReferenceTarget* thing_, std::vector<IParamMap2*> maps_)
    : cd(cd_), thing(thing_), maps(std::move(maps_)) {}

IAutoMParamDlg::~IAutoMParamDlg() {
    for (ParamDlg* dlg : subDialogs)
        dlg->DeleteThis();
    for (IParamMap2* map : maps)
        delete map;
}

Class_ID IAutoMParamDlg::ClassID() {
    return thing == nullptr ? Class_ID(0, 0) : thing->ClassID();
}

void IAutoMParamDlg::SetThing(ReferenceTarget* newThing) {
    thing = newThing;
    for (IParamMap2* map : maps) {
        if (newThing != nullptr && map->GetParamBlock() != nullptr)
            map->SetParamBlock(newThing->GetParamBlockByID(map->GetParamBlock()->ID()));
        if (map->GetUserDlgProc() != nullptr)
            map->GetUserDlgProc()->SetThing(newThing);
    }
    // The added dialogs follow as the host's do: the new object places its own sub-objects in them, and a
    // dialog it does not know is handed the object itself. All of it before the rollouts show the object.
    auto* material = dynamic_cast<MtlBase*>(newThing);
    for (ParamDlg* dlg : subDialogs)
        if (material == nullptr || !material->SetDlgThing(dlg))
            dlg->SetThing(newThing);
    for (IParamMap2* map : maps)
        map->Invalidate();
}

void IAutoMParamDlg::ReloadDialog() {
    for (IParamMap2* map : maps)
        map->Invalidate();
}

void IAutoMParamDlg::DeleteThis() {
    if (cd != nullptr)
        cd->ParamDlgClosed(this);
    delete this;
}
