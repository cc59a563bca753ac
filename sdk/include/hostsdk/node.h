#pragma once

// Scene nodes: a named placement of an object with a material, and the table that collects nodes.
#include "hostsdk/matrix3.h"
#include "hostsdk/object.h"
#include "hostsdk/tab.h"

#include <cstddef>
#include <unordered_set>

class INode;
class Mtl;

constexpr SClass_ID BASENODE_CLASS_ID = 0x00000001;

class INodeTab : public Tab<INode*> {
public:
    using Tab<INode*>::Tab;
    // The index of node in the table, or -1.
    int IndexOf(const INode* node) const {
        for (int i = 0; i < Count(); ++i)
            if ((*this)[static_cast<std::size_t>(i)] == node)
                return i;
        return -1;
    }
    // Appends node unless allowDups is false and the table holds it already; returns its new index, or
    // -1 when it was not appended. The table keeps an index of its nodes, so that collecting many
    // thousands stays linear; when its size was changed in other ways than by AppendNode, the index is
    // built again first (an entry replaced in place is not noticed).
    int AppendNode(INode* node, bool allowDups = false) {
        if (indexedCount != size()) {
            members.clear();
            members.insert(begin(), end());
        }
        if (!members.insert(node).second && !allowDups) {
            indexedCount = size();
            return -1;
        }
        push_back(node);
        indexedCount = size();
        return Count() - 1;
    }

private:
    std::unordered_set<const INode*> members;
    std::size_t indexedCount = 0;
};

// A node refers to its object (reference 0) and its material (reference 1), so it is a dependent of both,
// and through the material a dependent of that material's maps: a map collects the nodes using it with
// NotifyDependents(FOREVER, (PartID)&table, REFMSG_MTLXREF_GETNODES).
class SDK_API INode : public ReferenceTarget {
public:
    INode();
    ~INode() override;

    SClass_ID SuperClassID() override { return BASENODE_CLASS_ID; }

    virtual const MCHAR* GetName() { return name.c_str(); }
    virtual void SetName(const MCHAR* newName) { name = newName != nullptr ? newName : _M(""); }

    // The user's G-buffer object ID, 0 by default.
    virtual ULONG GetGBufID() { return gbufID; }
    virtual void SetGBufID(ULONG id) { gbufID = id; }
    // The renderer's number for the node in the current render, 0xffff when it has none.
    virtual USHORT GetRenderID() { return renderID; }
    virtual void SetRenderID(USHORT id) { renderID = id; }

    virtual Object* GetObjectRef() { return object; }
    virtual void SetObjectRef(Object* o) { ReplaceReference(OBJECT_REF, o); }
    virtual Mtl* GetMtl() { return material; }
    virtual void SetMtl(Mtl* m);

    virtual Matrix3 GetNodeTM(TimeValue t, Interval* valid = nullptr);
    virtual void SetNodeTM(TimeValue, const Matrix3& tm) { nodeTM = tm; }
    // The object's own transform; this host keeps no offset between node and object.
    virtual Matrix3 GetObjectTM(TimeValue t, Interval* valid = nullptr) { return GetNodeTM(t, valid); }

    virtual void Hide(BOOL onOff) { hidden = onOff != FALSE; }
    virtual int IsHidden() { return hidden ? TRUE : FALSE; }

    // The node's object as the pipeline leaves it at time t; no object for a hidden node unless evalHidden.
    virtual ObjectState EvalWorldState(TimeValue t, BOOL evalHidden = TRUE);

    int NumRefs() override { return 2; }
    RefTargetHandle GetReference(int i) override;
    SClass_ID ReferenceSuperClassID(int i) override;
    // Answers REFMSG_MTLXREF_GETNODES by appending itself, once, to the INodeTab that partId points to.
    RefResult NotifyRefChanged(const Interval& changeInterval, RefTargetHandle target, PartID& partId,
                               RefMessage message, BOOL propagate) override;

    static constexpr int OBJECT_REF = 0;
    static constexpr int MTL_REF = 1;

protected:
    void SetReference(int i, RefTargetHandle target) override;

private:
    MSTR name;
    ULONG gbufID = 0;
    USHORT renderID = 0xffff;
    bool hidden = false;
    Matrix3 nodeTM{true};
    Object* object = nullptr;
    Mtl* material = nullptr;
};
