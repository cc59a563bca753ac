#pragma once

// The object model: animatables, reference makers and targets, and the remap directory used by cloning.
#include "hostsdk/dependent_list.h"
#include "hostsdk/max_types.h"
#include "hostsdk/sdk_api.h"

#include <map>
#include <vector>

using RefResult = int;
constexpr RefResult REF_FAIL = 0;
constexpr RefResult REF_SUCCEED = 1;
constexpr RefResult REF_DONTCARE = 2;
constexpr RefResult REF_STOP = 3;

using RefMessage = unsigned int;
constexpr RefMessage REFMSG_TARGET_DELETED = 0x20;
constexpr RefMessage REFMSG_CHANGE = 0x50;
constexpr RefMessage REFMSG_MTLXREF_GETNODES = 0x192;

using PartID = ULONG_PTR;
constexpr PartID PART_ALL = 0x800037FF;
constexpr SClass_ID NOTIFY_ALL = 0xfffffff0;

using IOResult = int;
constexpr IOResult IO_OK = 0;
constexpr IOResult IO_ERROR = 2;

class BaseInterface;
class ReferenceTarget;
class ReferenceMaker;
class RemapDir;
class ILoad;
class ISave;
class IParamBlock2;
class IObjParam;

using RefTargetHandle = ReferenceTarget*;
using RefMakerHandle = ReferenceMaker*;

class SDK_API Animatable {
public:
    Animatable() = default;
    Animatable(const Animatable&) = delete;
    Animatable& operator=(const Animatable&) = delete;
    virtual ~Animatable();

    virtual void DeleteThis() { delete this; }
    virtual Class_ID ClassID() { return Class_ID(0, 0); }
    virtual SClass_ID SuperClassID() = 0;
    virtual void GetClassName(MSTR& name) { name.clear(); }

    virtual int NumSubs() { return 0; }
    virtual Animatable* SubAnim(int) { return nullptr; }
    virtual MSTR SubAnimName(int) { return MSTR(); }

    virtual void* GetInterface(ULONG) { return nullptr; }
    virtual BaseInterface* GetInterface(Interface_ID) { return nullptr; }

    virtual int NumParamBlocks() { return 0; }
    virtual IParamBlock2* GetParamBlock(int) { return nullptr; }
    virtual IParamBlock2* GetParamBlockByID(BlockID) { return nullptr; }

    virtual void BeginEditParams(IObjParam*, ULONG, Animatable*) {}
    virtual void EndEditParams(IObjParam*, ULONG, Animatable*) {}
};

class SDK_API ReferenceMaker : public Animatable {
public:
    ~ReferenceMaker() override;

    virtual int NumRefs() { return 0; }
    virtual RefTargetHandle GetReference(int) { return nullptr; }
    // The super class of the targets that reference slot i holds, for callers that check what they connect
    // before connecting it (a scene loader); 0 when the slot takes any target.
    virtual SClass_ID ReferenceSuperClassID(int) { return 0; }

    // Installs newTarget in slot `which`, dropping the previous target (deleted when nothing else refers
    // to it and deleteOld is true) and registering this maker as a dependent of the new one. Fails, changing
    // nothing, when the new target refers back to this maker.
    RefResult ReplaceReference(int which, RefTargetHandle newTarget, BOOL deleteOld = TRUE);
    // Drops every reference; targets left without dependents are deleted.
    RefResult DeleteAllRefs();
    // Drops the reference in slot `which`, as ReplaceReference(which, nullptr) does.
    RefResult DeleteReference(int which);

    virtual RefResult NotifyRefChanged(const Interval& changeInterval, RefTargetHandle target, PartID& partId,
                                       RefMessage message, BOOL propagate) = 0;

    virtual IOResult Save(ISave*) { return IO_OK; }
    virtual IOResult Load(ILoad*) { return IO_OK; }

protected:
    friend class ReferenceTarget;
    virtual void SetReference(int, RefTargetHandle) {}
};

class SDK_API ReferenceTarget : public ReferenceMaker {
public:
    ~ReferenceTarget() override;

    int NumRefs() override { return 0; }
    RefResult NotifyRefChanged(const Interval&, RefTargetHandle, PartID&, RefMessage, BOOL) override {
        return REF_SUCCEED;
    }

    // Creates a copy of this target; references are cloned through the remap directory.
    virtual RefTargetHandle Clone(RemapDir& remap);
    // Copies what every target carries beyond its own data; called by Clone implementations last.
    virtual void BaseClone(ReferenceTarget* from, ReferenceTarget* to, RemapDir& remap);

    // Sends the message to every dependent. For REFMSG_MTLXREF_GETNODES, partId carries a pointer to a
    // node table that node dependents append themselves to.
    virtual RefResult NotifyDependents(const Interval& changeInterval, PartID partId, RefMessage message,
                                       SClass_ID sclass = NOTIFY_ALL, BOOL propagate = TRUE,
                                       RefTargetHandle target = nullptr);

    // The makers referring to this target, in the order they started to.
    std::vector<ReferenceMaker*> Dependents() const { return dependents.Makers(); }
    bool HasDependents() const { return !dependents.Empty(); }

    // Called when a maker starts referring to this target.
    virtual void RefAdded(RefMakerHandle) {}

private:
    friend class ReferenceMaker;
    void AddDependent(ReferenceMaker* maker);
    void RemoveDependent(ReferenceMaker* maker);

    DependentList dependents;
};

// Maps original targets to their clones during one clone operation, so that a target referred to twice
// is cloned once.
class SDK_API RemapDir {
public:
    RemapDir() = default;
    RemapDir(const RemapDir&) = delete;
    RemapDir& operator=(const RemapDir&) = delete;
    virtual ~RemapDir() = default;

    virtual RefTargetHandle CloneRef(RefTargetHandle original);
    virtual RefTargetHandle FindMapping(RefTargetHandle original);
    virtual void AddEntry(RefTargetHandle original, RefTargetHandle clone);

private:
    std::map<RefTargetHandle, RefTargetHandle> clones;
};
