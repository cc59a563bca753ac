#include "hostsdk/node.h"

#include "hostsdk/mtl.h"

INode::INode() = default;

INode::~INode() {
    DeleteAllRefs();
}

void INode::SetMtl(Mtl* m) {
    ReplaceReference(MTL_REF, m);
}

// The transform is not animated, so it leaves the caller's validity as it is.
Matrix3 INode::GetNodeTM(TimeValue, Interval*) {
    return nodeTM;
}

ObjectState INode::EvalWorldState(TimeValue, BOOL evalHidden) {
    if (hidden && !evalHidden)
        return ObjectState();
    return ObjectState(object);
}

RefTargetHandle INode::GetReference(int i) {
    if (i == OBJECT_REF)
        return object;
    if (i == MTL_REF)
        return material;
    return nullptr;
}

SClass_ID INode::ReferenceSuperClassID(int i) {
    if (i == OBJECT_REF)
        return GEOMOBJECT_CLASS_ID;
    return i == MTL_REF ? MATERIAL_CLASS_ID : 0;
}

void INode::SetReference(int i, RefTargetHandle target) {
    if (i == OBJECT_REF)
        object = dynamic_cast<Object*>(target);
    else if (i == MTL_REF)
        material = dynamic_cast<Mtl*>(target);
}

RefResult INode::NotifyRefChanged(const Interval&, RefTargetHandle, PartID& partId, RefMessage message,
                                  BOOL) {
    if (message != REFMSG_MTLXREF_GETNODES)
        return REF_SUCCEED;
    // The node using the map answers; nothing that depends on the node uses the map through it.
    if (auto* table = reinterpret_cast<INodeTab*>(partId); table != nullptr)
        table->AppendNode(this);
    return REF_STOP;
}
