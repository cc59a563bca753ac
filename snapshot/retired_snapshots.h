#pragma once

// The replaced snapshots of every published snapshot in the process, waiting until no hazard slot
// (hazard_slots.h) holds them. One list for the process: a reader that empties a slot a writer waits for
// asks for a reclaim without knowing whose snapshot held it up.
//
// A reclaim passes the process-wide barrier (asymmetric_fence.h), so that every reader's store to its
// slot before that point is seen, and every reader after it finds the replacement instead; then it frees
// what no slot holds. For what some slot still holds it marks the slot wanted and passes the barrier once
// more (unless the slot was marked already): a reader emptying the slot after that sees the mark and asks
// for a reclaim, one emptying it before is seen by a second look. So a replaced snapshot is freed as soon
// as its last reader leaves, by that reader, and the writer never waits for readers.
#include <cstddef>

// The part of a snapshot the list needs: its link, its owner and how to free it.
struct RetiredNode {
    RetiredNode* nextRetired = nullptr;
    const void* owner = nullptr;
    void (*destroy)(RetiredNode*) = nullptr;
    bool held = false; // seen in a slot by the reclaim under way
};

namespace retired_snapshots {

// Takes a node that new readers can no longer find and frees it once no slot holds it. Allocates nothing
// and throws nothing.
void Retire(RetiredNode* node);
// From a reader that emptied a wanted slot: reclaims now, or has the reclaim under way go round once more.
void RequestReclaim();
// The nodes of the owner still waiting.
std::size_t WaitingCount(const void* owner);
// Frees every waiting node of the owner, which no pin holds any longer.
void FreeAllOf(const void* owner);

} // namespace retired_snapshots
