#include "hostsdk/references.h"

#include <algorithm>
#include <unordered_map>

Animatable::~Animatable() = default;

ReferenceMaker::~ReferenceMaker() = default;

namespace {

// True when `target` refers to `maker`, directly or through the targets it refers to.
bool RefersTo(ReferenceMaker* target, const ReferenceMaker* maker, std::vector<ReferenceMaker*>& visited) {
    if (target == maker)
        return true;
    if (std::find(visited.begin(), visited.end(), target) != visited.end())
        return false;
    visited.push_back(target);
    for (int i = 0; i < target->NumRefs(); ++i) {
        ReferenceTarget* next = target->GetReference(i);
        if (next != nullptr && RefersTo(next, maker, visited))
            return true;
    }
    return false;
}

} // namespace

RefResult ReferenceMaker::ReplaceReference(int which, RefTargetHandle newTarget, BOOL deleteOld) {
    if (which < 0 || which >= NumRefs())
        return REF_FAIL;
    // A reference loop would make every notification run forever; the host refuses it.
    std::vector<ReferenceMaker*> visited;
    if (newTarget != nullptr && RefersTo(newTarget, this, visited))
        return REF_FAIL;
    ReferenceTarget* oldTarget = GetReference(which);
    if (oldTarget == newTarget) {
        SetReference(which, newTarget);
        return REF_SUCCEED;
    }
    // Register with the new target before installing it, so that a target that is both old and new
    // elsewhere in this maker is never deleted half-way.
    if (newTarget != nullptr)
        newTarget->AddDependent(this);
    SetReference(which, newTarget);
    if (oldTarget != nullptr) {
        // The same target may sit in another slot of this maker; it stays a dependent then.
        bool stillReferenced = false;
        for (int i = 0; i < NumRefs() && !stillReferenced; ++i)
            stillReferenced = GetReference(i) == oldTarget;
        if (!stillReferenced) {
            oldTarget->RemoveDependent(this);
            if (deleteOld && !oldTarget->HasDependents())
                oldTarget->DeleteThis();
        }
    }
    return REF_SUCCEED;
}

RefResult ReferenceMaker::DeleteReference(int which) {
    return ReplaceReference(which, nullptr, TRUE);
}

RefResult ReferenceMaker::DeleteAllRefs() {
    // As ReplaceReference(i, nullptr) slot by slot, but with the number of slots holding each target
    // counted once: a maker of many slots (a scene's root) would otherwise search all its slots for
    // every one it drops.
    std::unordered_map<ReferenceTarget*, int> holders;
    for (int i = 0; i < NumRefs(); ++i)
        if (ReferenceTarget* target = GetReference(i))
            ++holders[target];
    for (int i = 0; i < NumRefs(); ++i) {
        ReferenceTarget* target = GetReference(i);
        if (target == nullptr)
            continue;
        SetReference(i, nullptr);
        if (--holders[target] > 0)
            continue;
        target->RemoveDependent(this);
        if (!target->HasDependents())
            target->DeleteThis();
    }
    return REF_SUCCEED;
}

ReferenceTarget::~ReferenceTarget() {
    // Makers still referring to a deleted target forget it, as the host's reference system guarantees.
    for (ReferenceMaker* maker : dependents.Makers()) {
        PartID part = PART_ALL;
        maker->NotifyRefChanged(FOREVER, this, part, REFMSG_TARGET_DELETED, TRUE);
        for (int i = 0; i < maker->NumRefs(); ++i)
            if (maker->GetReference(i) == this)
                maker->SetReference(i, nullptr);
    }
}

RefTargetHandle ReferenceTarget::Clone(RemapDir&) {
    return nullptr;
}

void ReferenceTarget::BaseClone(ReferenceTarget*, ReferenceTarget*, RemapDir&) {}

RefResult ReferenceTarget::NotifyDependents(const Interval& changeInterval, PartID partId, RefMessage message,
                                            SClass_ID sclass, BOOL propagate, RefTargetHandle) {
    // The makers as they are now: one that starts referring to this target meanwhile is not told.
    for (ReferenceMaker* maker : dependents.Makers()) {
        if (sclass != NOTIFY_ALL && maker->SuperClassID() != sclass)
            continue;
        PartID part = partId;
        const RefResult result = maker->NotifyRefChanged(changeInterval, this, part, message, propagate);
        if (result == REF_STOP)
            continue;
        if (propagate) {
            if (auto* target = dynamic_cast<ReferenceTarget*>(maker))
                target->NotifyDependents(changeInterval, partId, message, sclass, propagate, this);
        }
    }
    return REF_SUCCEED;
}

void ReferenceTarget::AddDependent(ReferenceMaker* maker) {
    if (dependents.Add(maker))
        RefAdded(maker);
}

void ReferenceTarget::RemoveDependent(ReferenceMaker* maker) {
    dependents.Remove(maker);
}

RefTargetHandle RemapDir::CloneRef(RefTargetHandle original) {
    if (original == nullptr)
        return nullptr;
    if (RefTargetHandle existing = FindMapping(original))
        return existing;
    RefTargetHandle clone = original->Clone(*this);
    AddEntry(original, clone);
    return clone;
}

RefTargetHandle RemapDir::FindMapping(RefTargetHandle original) {
    const auto found = clones.find(original);
    return found == clones.end() ? nullptr : found->second;
}

void RemapDir::AddEntry(RefTargetHandle original, RefTargetHandle clone) {
    clones[original] = clone;
}
