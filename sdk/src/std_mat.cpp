#include "hostsdk/std_mat.h"

Mtl::~Mtl() = default;

StdMat::StdMat() = default;

StdMat::~StdMat() {
    DeleteAllRefs();
}

Color StdMat::GetDiffuse(int, BOOL) {
    return diffuse;
}

void StdMat::SetDiffuse(Color c, TimeValue) {
    diffuse = c;
    NotifyDependents(FOREVER, PART_ALL, REFMSG_CHANGE);
}

Texmap* StdMat::GetSubTexmap(int i) {
    return i >= 0 && i < STDMAT_NUM_MAPS ? maps[i] : nullptr;
}

void StdMat::SetSubTexmap(int i, Texmap* map) {
    if (i >= 0 && i < STDMAT_NUM_MAPS)
        ReplaceReference(i, map);
}

int StdMat::SubTexmapOn(int i) {
    return i >= 0 && i < STDMAT_NUM_MAPS && mapOn[i] ? 1 : 0;
}

MSTR StdMat::GetSubTexmapSlotName(int i) {
    switch (i) {
    case ID_AM:
        return _M("Ambient Color");
    case ID_DI:
        return _M("Diffuse Color");
    default:
        return MSTR();
    }
}

void StdMat::EnableMap(int id, BOOL onOff) {
    if (id >= 0 && id < STDMAT_NUM_MAPS)
        mapOn[id] = onOff != FALSE;
}

void StdMat::Update(TimeValue t, Interval& valid) {
    for (Texmap* map : maps)
        if (map != nullptr)
            map->Update(t, valid);
}

void StdMat::Reset() {
    for (int i = 0; i < STDMAT_NUM_MAPS; ++i) {
        ReplaceReference(i, nullptr);
        mapOn[i] = true;
    }
    diffuse = Color(0.5f, 0.5f, 0.5f);
}

Interval StdMat::Validity(TimeValue t) {
    Interval valid = FOREVER;
    for (Texmap* map : maps)
        if (map != nullptr)
            valid &= map->Validity(t);
    return valid;
}

RefTargetHandle StdMat::GetReference(int i) {
    return i >= 0 && i < STDMAT_NUM_MAPS ? maps[i] : nullptr;
}

void StdMat::SetReference(int i, RefTargetHandle target) {
    if (i >= 0 && i < STDMAT_NUM_MAPS)
        maps[i] = dynamic_cast<Texmap*>(target);
}

RefTargetHandle StdMat::Clone(RemapDir& remap) {
    auto* copy = new StdMat();
    *static_cast<MtlBase*>(copy) = *this;
    copy->diffuse = diffuse;
    for (int i = 0; i < STDMAT_NUM_MAPS; ++i) {
        copy->ReplaceReference(i, remap.CloneRef(maps[i]));
        copy->mapOn[i] = mapOn[i];
    }
    BaseClone(this, copy, remap);
    return copy;
}

StdMat* NewDefaultStdMat() {
    return new StdMat();
}
