#pragma once

// An owner for parameter blocks in tests of the SDK: its reference 0 holds the block, and reference 1 is
// there for a block parameter that the owner keeps (P_OWNERS_REF with p_refno 1).
#include "hostsdk/param_block.h"

class BlockOwner : public ReferenceTarget {
public:
    SClass_ID SuperClassID() override { return REF_TARGET_CLASS_ID; }
    int NumRefs() override { return 2; }
    RefTargetHandle GetReference(int i) override { return refs[i]; }
    void SetReference(int i, RefTargetHandle target) override { refs[i] = target; }
    IParamBlock2* GetParamBlockByID(BlockID id) override {
        IParamBlock2* block = Block();
        return block != nullptr && block->ID() == id ? block : nullptr;
    }
    IParamBlock2* Block() { return static_cast<IParamBlock2*>(refs[0]); }

    RefTargetHandle refs[2] = {nullptr, nullptr};
};
