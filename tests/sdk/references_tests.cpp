#include "hostsdk/notify.h"
#include "hostsdk/references.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

int liveTargets = 0;

class Target : public ReferenceTarget {
public:
    Target() { ++liveTargets; }
    ~Target() override { --liveTargets; }
    SClass_ID SuperClassID() override { return REF_TARGET_CLASS_ID; }
    RefTargetHandle Clone(RemapDir& remap) override {
        auto* copy = new Target();
        BaseClone(this, copy, remap);
        return copy;
    }
};

// A maker of two slots unless told otherwise; a scene's root has many.
class Maker : public ReferenceTarget {
public:
    explicit Maker(int slots = 2) : refs(static_cast<std::size_t>(slots), nullptr) {}
    SClass_ID SuperClassID() override { return REF_TARGET_CLASS_ID; }
    int NumRefs() override { return static_cast<int>(refs.size()); }
    RefTargetHandle GetReference(int i) override { return refs[static_cast<std::size_t>(i)]; }
    void SetReference(int i, RefTargetHandle target) override { refs[static_cast<std::size_t>(i)] = target; }
    RefResult NotifyRefChanged(const Interval&, RefTargetHandle, PartID&, RefMessage message, BOOL) override {
        messages.push_back(message);
        if (told != nullptr)
            told->push_back(this);
        return REF_SUCCEED;
    }
    std::vector<RefTargetHandle> refs;
    std::vector<RefMessage> messages;
    // Where every maker records itself when told of a change, in order; null when nobody listens.
    static inline std::vector<ReferenceMaker*>* told = nullptr;
};

TEST(References, TargetsLiveWhileReferenced) {
    liveTargets = 0;
    Maker a;
    Maker b;
    auto* shared = new Target();
    a.ReplaceReference(0, shared);
    b.ReplaceReference(0, shared);
    EXPECT_EQ(shared->Dependents().size(), 2u);

    auto* second = new Target();
    a.ReplaceReference(0, second);
    EXPECT_EQ(liveTargets, 2) << "a target still referenced by b must survive";
    b.DeleteAllRefs();
    EXPECT_EQ(liveTargets, 1) << "a target left without dependents is deleted";
    a.ReplaceReference(0, nullptr, FALSE);
    EXPECT_EQ(liveTargets, 1) << "deleteOld false keeps the old target";
    second->DeleteThis();
    EXPECT_EQ(a.ReplaceReference(5, nullptr), REF_FAIL);
}

TEST(References, DeletedTargetsAreClearedFromTheirMakers) {
    Maker a;
    auto* target = new Target();
    a.ReplaceReference(1, target);
    target->DeleteThis();
    EXPECT_EQ(a.refs[1], nullptr);
    ASSERT_FALSE(a.messages.empty());
    EXPECT_EQ(a.messages.back(), REFMSG_TARGET_DELETED);
}

TEST(References, LoopsAreRefused) {
    Maker outer;
    auto* inner = new Maker();
    outer.ReplaceReference(0, inner);
    EXPECT_EQ(inner->ReplaceReference(0, &outer), REF_FAIL);
    EXPECT_EQ(inner->refs[0], nullptr);
    EXPECT_EQ(inner->ReplaceReference(1, inner), REF_FAIL);
    outer.DeleteAllRefs();
}

TEST(References, CloneRefClonesEachTargetOnce) {
    auto* original = new Target();
    RemapDir remap;
    RefTargetHandle first = remap.CloneRef(original);
    EXPECT_EQ(remap.CloneRef(original), first);
    EXPECT_EQ(remap.CloneRef(nullptr), nullptr);
    first->DeleteThis();
    original->DeleteThis();
}

// The makers a target tells, in the order it tells them.
std::vector<ReferenceMaker*> Told(ReferenceTarget& target) {
    std::vector<ReferenceMaker*> told;
    Maker::told = &told;
    target.NotifyDependents(FOREVER, PART_ALL, REFMSG_CHANGE);
    Maker::told = nullptr;
    return told;
}

TEST(References, ManyDependentsKeepTheirOrderThroughRemovals) {
    liveTargets = 0;
    auto* shared = new Target();
    std::vector<std::unique_ptr<Maker>> makers;
    for (int i = 0; i < 40; ++i) {
        makers.push_back(std::make_unique<Maker>());
        makers.back()->ReplaceReference(0, shared);
    }
    makers[3]->ReplaceReference(1, shared);
    EXPECT_EQ(shared->Dependents().size(), 40u) << "a maker holding the target twice is one dependent";

    // Dropping all but every third, one at a time, in an order that empties the front first.
    std::vector<ReferenceMaker*> kept;
    for (int i = 0; i < 40; ++i) {
        if (i % 3 == 0) {
            kept.push_back(makers[static_cast<std::size_t>(i)].get());
            continue;
        }
        makers[static_cast<std::size_t>(i)]->ReplaceReference(0, nullptr);
        EXPECT_EQ(liveTargets, 1);
    }
    EXPECT_EQ(shared->Dependents(), kept);
    makers[3]->ReplaceReference(0, nullptr);
    EXPECT_EQ(shared->Dependents(), kept) << "the second slot still holds it";

    // A maker that returns goes to the end; every dependent is told once, in order.
    makers[1]->ReplaceReference(0, shared);
    kept.push_back(makers[1].get());
    EXPECT_EQ(Told(*shared), kept);

    for (ReferenceMaker* maker : kept)
        maker->DeleteAllRefs();
    EXPECT_EQ(liveTargets, 0) << "the last dependent to let go deletes it";
}

TEST(References, DeleteAllRefsDeletesWhatNothingElseHolds) {
    liveTargets = 0;
    Maker root(50);
    std::vector<Target*> targets;
    for (int i = 0; i < 50; ++i) {
        if (i % 10 == 9) {
            // Every tenth slot holds the target of the slot before it again.
            root.ReplaceReference(i, targets.back());
            continue;
        }
        targets.push_back(new Target());
        root.ReplaceReference(i, targets.back());
    }
    Maker other;
    other.ReplaceReference(0, targets[8]);
    other.ReplaceReference(1, targets[20]);
    EXPECT_EQ(liveTargets, 45);
    root.DeleteAllRefs();
    EXPECT_EQ(liveTargets, 2) << "the targets the other maker holds survive";
    for (RefTargetHandle slot : root.refs)
        EXPECT_EQ(slot, nullptr);
    EXPECT_EQ(targets[8]->Dependents(), std::vector<ReferenceMaker*>{&other});
    EXPECT_EQ(targets[20]->Dependents(), std::vector<ReferenceMaker*>{&other});
    other.DeleteAllRefs();
    EXPECT_EQ(liveTargets, 0);
}

int notified = 0;
void Count(void*, NotifyInfo*) {
    ++notified;
}

TEST(Notifications, UnregisteringOneCodeKeepsTheOthers) {
    int param = 0;
    RegisterNotification(Count, &param, NOTIFY_PRE_RENDER);
    RegisterNotification(Count, &param, NOTIFY_POST_RENDER);
    UnRegisterNotification(Count, &param, NOTIFY_PRE_RENDER);
    notified = 0;
    BroadcastNotification(NOTIFY_PRE_RENDER);
    BroadcastNotification(NOTIFY_POST_RENDER);
    EXPECT_EQ(notified, 1);
    UnRegisterNotification(Count, &param);
}

} // namespace
