#pragma once

// The standard material: a diffuse colour and map slots numbered by the host's map IDs.
#include "hostsdk/mtl.h"

// Map slot IDs: sub-map number i is slot i.
constexpr int ID_AM = 0;
constexpr int ID_DI = 1;
constexpr int STDMAT_NUM_MAPS = 2;

constexpr ULONG DMTL_CLASS_ID = 0x00000002;

class SDK_API StdMat : public Mtl {
public:
    StdMat();
    ~StdMat() override;

    Class_ID ClassID() override { return Class_ID(DMTL_CLASS_ID, 0); }
    void GetClassName(MSTR& name) override { name = _M("Standard"); }

    Color GetDiffuse(int mtlNum = 0, BOOL backFace = FALSE) override;
    void SetDiffuse(Color c, TimeValue t) override;

    // Map slots; a map renders only while its slot is enabled, as every slot is at first.
    int NumSubTexmaps() override { return STDMAT_NUM_MAPS; }
    Texmap* GetSubTexmap(int i) override;
    void SetSubTexmap(int i, Texmap* map) override;
    int SubTexmapOn(int i) override;
    MSTR GetSubTexmapSlotName(int i) override;
    virtual void EnableMap(int id, BOOL onOff);
    virtual BOOL MapEnabled(int id) { return SubTexmapOn(id); }

    void Update(TimeValue t, Interval& valid) override;
    void Reset() override;
    Interval Validity(TimeValue t) override;
    ParamDlg* CreateParamDlg(HWND, IMtlParams*) override { return nullptr; }

    int NumRefs() override { return STDMAT_NUM_MAPS; }
    RefTargetHandle GetReference(int i) override;
    SClass_ID ReferenceSuperClassID(int) override { return TEXMAP_CLASS_ID; }
    RefTargetHandle Clone(RemapDir& remap) override;

protected:
    void SetReference(int i, RefTargetHandle target) override;

private:
    Color diffuse{0.5f, 0.5f, 0.5f};
    Texmap* maps[STDMAT_NUM_MAPS] = {nullptr, nullptr};
    bool mapOn[STDMAT_NUM_MAPS] = {true, true};
};

// A new standard material with default settings.
SDK_API StdMat* NewDefaultStdMat();
