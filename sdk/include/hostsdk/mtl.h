#pragma once

// Materials: the base of every material and the standard material with its diffuse map slot.
#include "hostsdk/mtl_base.h"

class SDK_API Mtl : public MtlBase {
public:
    ~Mtl() override;
    SClass_ID SuperClassID() override { return MATERIAL_CLASS_ID; }

    virtual int NumSubMtls() { return 0; }
    virtual Mtl* GetSubMtl(int) { return nullptr; }
    virtual void SetSubMtl(int, Mtl*) {}

    virtual Color GetDiffuse(int mtlNum = 0, BOOL backFace = FALSE) = 0;
    virtual void SetDiffuse(Color c, TimeValue t) = 0;
};
