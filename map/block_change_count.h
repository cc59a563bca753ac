#pragma once

// The changes of the map's parameter block, counted for shading: a reference maker of its own that holds
// the map's block and is told of every change of a value by the block's REFMSG_CHANGE. It keeps shading
// out of the map's own NotifyRefChanged, which rebuilds nothing whatever it is told.
#include "plugin/host_sdk.h"

#include <atomic>
#include <cstdint>

class BlockChangeCount final : public ReferenceMaker {
public:
    BlockChangeCount() = default;
    // Lets go of the block without deleting it: the block is its owner's.
    ~BlockChangeCount() override;

    // Follows `block` (null: none) from now on, counting the switch as a change.
    void Follow(IParamBlock2* block);
    // The changes counted so far. A reader takes it before it reads the block's values: a change made
    // meanwhile leaves a larger count behind.
    std::uint64_t Count() const { return count.load(std::memory_order_acquire); }

    SClass_ID SuperClassID() override { return REF_MAKER_CLASS_ID; }
    int NumRefs() override { return 1; }
    RefTargetHandle GetReference(int i) override { return i == 0 ? block : nullptr; }
    // Counts every message: a change, the block's deletion, anything else the block passes on.
    RefResult NotifyRefChanged(const Interval& changeInterval, RefTargetHandle target, PartID& partId,
                               RefMessage message, BOOL propagate) override;

protected:
    void SetReference(int i, RefTargetHandle target) override;

private:
    // After the change is stored: a reader that finds the new count finds the new values.
    void Advance() { count.fetch_add(1, std::memory_order_release); }

    RefTargetHandle block = nullptr; // reference 0
    std::atomic<std::uint64_t> count{0};
};
