#include "map/block_change_count.h"

BlockChangeCount::~BlockChangeCount() {
    ReplaceReference(0, nullptr, FALSE);
}

void BlockChangeCount::Follow(IParamBlock2* newBlock) {
    ReplaceReference(0, newBlock, FALSE);
}

RefResult BlockChangeCount::NotifyRefChanged(const Interval&, RefTargetHandle, PartID&, RefMessage, BOOL) {
    Advance();
    return REF_SUCCEED;
}

void BlockChangeCount::SetReference(int i, RefTargetHandle target) {
    if (i != 0)
        return;
    block = target;
    Advance();
}
