#include "map/chromasift.h"

#include "map/chromasift_post_load.h"
#include "plugin/chromasift_class_desc.h"
#include "plugin/param_ids.h"
#include "plugin/plugin_main.h"
#include "plugin/string_ids.h"
#include "ui/chromasift_dlg_proc.h"

namespace {

// The sub-dialogs of the coordinates and output objects created last, shared by all maps: SetDlgThing
// compares a dialog against them.
ParamDlg* currentCoordsDlg = nullptr;
ParamDlg* currentOutputDlg = nullptr;

void PreRenderCallback(void* param, NotifyInfo*) {
    static_cast<Chromasift*>(param)->PrepareForRender();
}

} // namespace

Chromasift::Chromasift(bool loading) {
    if (!loading) {
        GetChromasiftDesc()->MakeAutoParamBlocks(this);
        pblock->SetValue(pb_pixel_mapping, 0, 0);
        pblock->SetValue(pb_object_mapping, 0, 0);
        pblock->SetValue(pb_coord_mapping, 0, 0);
        pblock->SetValue(pb_input_mapping, 0, 0);
        pblock->SetValue(pb_mapping_old, 0, 0);
        pblock->SetValue(pb_version, 0, kCurrentVersion);
    }
    meshCacheLock = std::make_unique<std::mutex>();
    drawLock = std::make_unique<std::mutex>();
    coords = nullptr;
    output = nullptr;
    theChromasiftDlgProc.SetMap(this);
    ReplaceReference(kRefCoords, GetNewDefaultXYZGen());
    ReplaceReference(kRefOutput, GetNewDefaultTextureOutput());
    RegisterNotification(PreRenderCallback, this, NOTIFY_PRE_RENDER);
    extractPending = false;
}

Chromasift::~Chromasift() {
    meshCacheLock.reset();
    drawLock.reset();
    UnRegisterNotification(PreRenderCallback, this, NOTIFY_PRE_RENDER);
    DeleteAllRefs();
    // The shared dialog procedure must never act on a destroyed map.
    if (theChromasiftDlgProc.GetMap() == this)
        theChromasiftDlgProc.SetMap(nullptr);
}

BaseInterface* Chromasift::GetInterface(Interface_ID id) {
    if (id == IMRSHADERTRANSLATION_INTERFACE_ID)
        return static_cast<imrShaderTranslation*>(this);
    return nullptr;
}

void* Chromasift::GetInterface(ULONG id) {
    if (id == I_SUBMAP)
        return static_cast<ISubMap*>(this);
    return Texmap::GetInterface(id);
}

void Chromasift::GetClassName(MSTR& name) {
    name = GetChromasiftDesc()->ClassName();
}

SClass_ID Chromasift::SuperClassID() {
    return GetChromasiftDesc()->SuperClassID();
}

Class_ID Chromasift::ClassID() {
    return GetChromasiftDesc()->ClassID();
}

void Chromasift::BeginEditParams(IObjParam* ip, ULONG flags, Animatable* prev) {
    GetChromasiftDesc()->BeginEditParams(ip, this, flags, prev);
}

void Chromasift::EndEditParams(IObjParam* ip, ULONG flags, Animatable* prev) {
    GetChromasiftDesc()->EndEditParams(ip, this, flags, prev);
}

MSTR Chromasift::SubAnimName(int i) {
    switch (i) {
    case kRefParamBlock: {
        const MCHAR* name = GetString(IDS_SUBANIM_PARAMS);
        return name == nullptr ? MSTR() : MSTR(name);
    }
    case kRefCoords:
        return L"Map Coordinates";
    case kRefOutput:
        return L"Maps output";
    default:
        return MSTR();
    }
}

RefTargetHandle Chromasift::GetReference(int i) {
    switch (i) {
    case kRefParamBlock:
        return pblock;
    case kRefCoords:
        return coords;
    case kRefOutput:
        return output;
    default:
        return nullptr;
    }
}

void Chromasift::SetReference(int i, RefTargetHandle target) {
    switch (i) {
    case kRefParamBlock:
        // Only a second-generation parameter block (or nothing) can take the block's place.
        if (target == nullptr || target->SuperClassID() == PARAMETER_BLOCK2_CLASS_ID)
            pblock = static_cast<IParamBlock2*>(target);
        blockChanges.Follow(pblock);
        break;
    case kRefCoords:
        coords = static_cast<XYZGen*>(target);
        break;
    case kRefOutput:
        output = static_cast<TextureOutput*>(target);
        break;
    default:
        break;
    }
}

IOResult Chromasift::Save(ISave*) {
    return IO_OK;
}

IOResult Chromasift::Load(ILoad* iload) {
    iload->RegisterPostLoadCallback(new ChromasiftPostLoad(this));
    return IO_OK;
}

RefResult Chromasift::NotifyRefChanged(const Interval&, RefTargetHandle, PartID&, RefMessage, BOOL) {
    // The palette is rebuilt only by explicit actions, never as a side effect of a parameter change.
    return REF_SUCCEED;
}

ULONG Chromasift::LocalRequirements(int subMtlNum) {
    return coords == nullptr ? 0 : coords->Requirements(subMtlNum);
}

void Chromasift::LocalMappingsRequired(int subMtlNum, BitArray& mapreq, BitArray& bumpreq) {
    if (coords != nullptr)
        coords->MappingsRequired(subMtlNum, mapreq, bumpreq);
}

void Chromasift::Reset() {
    GetChromasiftDesc()->Reset(this, TRUE, TRUE);
}

Interval Chromasift::Validity(TimeValue) {
    return FOREVER;
}

ParamDlg* Chromasift::CreateParamDlg(HWND editorWindow, IMtlParams* params) {
    theChromasiftDlgProc.SetMap(this);
    IAutoMParamDlg* master = GetChromasiftDesc()->CreateParamDlgs(editorWindow, params, this);
    currentCoordsDlg = coords == nullptr ? nullptr : coords->CreateParamDlg(editorWindow, params);
    currentOutputDlg = output == nullptr ? nullptr : output->CreateParamDlg(editorWindow, params);
    if (master != nullptr) {
        if (currentCoordsDlg != nullptr)
            master->AddDlg(currentCoordsDlg);
        if (currentOutputDlg != nullptr)
            master->AddDlg(currentOutputDlg);
    }
    return master;
}

void Chromasift::SetOutputLevel(TimeValue t, float level) {
    if (output != nullptr)
        output->SetOutputLevel(t, level);
}

Texmap* Chromasift::GetSubTexmap(int i) {
    if (pblock == nullptr)
        return nullptr;
    switch (i) {
    case kSubMapInput:
        return pblock->GetTexmap(pb_input_map, 0);
    case kSubMapSource:
        return pblock->GetTexmap(pb_source_map, 0);
    default:
        return nullptr;
    }
}

void Chromasift::SetSubTexmap(int i, Texmap* map) {
    if (pblock == nullptr)
        return;
    const TimeValue now = GetCOREInterface()->GetTime();
    switch (i) {
    case kSubMapInput:
        pblock->SetValue(pb_input_map, now, map);
        pblock->SetValue(pb_input_map_on, 0, map != nullptr ? 1 : 0);
        break;
    case kSubMapSource:
        pblock->SetValue(pb_source_map, now, map);
        break;
    default:
        break;
    }
}

int Chromasift::SubTexmapOn(int i) {
    if (i != kSubMapInput || pblock == nullptr)
        return 0;
    return pblock->GetInt(pb_input_map_on, 0);
}

MSTR Chromasift::GetSubTexmapSlotName(int i) {
    switch (i) {
    case kSubMapInput:
        return L"Input map";
    case kSubMapSource:
        return L"Source map";
    default:
        return MSTR();
    }
}

BOOL Chromasift::SetDlgThing(ParamDlg* dlg) {
    theChromasiftDlgProc.SetMap(this);
    if (dlg != nullptr && dlg == currentCoordsDlg) {
        dlg->SetThing(coords);
        return TRUE;
    }
    if (dlg != nullptr && dlg == currentOutputDlg) {
        dlg->SetThing(output);
        return TRUE;
    }
    return FALSE;
}

void Chromasift::SetPalette(Palette newPalette) {
    shading.Replace([&newPalette](const ShadingState& now) {
        return ShadingState{std::move(newPalette), now.tables};
    });
}
