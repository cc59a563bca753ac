#pragma once

// Objects of the geometry pipeline, and the state a node evaluates to.
#include "hostsdk/channels.h"
#include "hostsdk/references.h"

#include <array>

class INode;
class Mesh;
class View;

constexpr SClass_ID GEOMOBJECT_CLASS_ID = 0x00000010;

class SDK_API Object : public ReferenceTarget {
public:
    Object();
    ~Object() override;

    virtual int IsRenderable() { return TRUE; }
    // Narrows the validity of pipeline channel nchan (TOPO_CHAN_NUM, MTL_CHAN_NUM, ...) to v; channels start
    // valid forever.
    virtual void UpdateValidity(int nchan, Interval v);
    // The channel's validity; empty for a channel number outside 0..NUM_OBJ_CHANS - 1.
    virtual Interval ChannelValidity(TimeValue t, int nchan);

private:
    std::array<Interval, NUM_OBJ_CHANS> channelValidity;
};

// Objects with a surface that renders.
class SDK_API GeomObject : public Object {
public:
    ~GeomObject() override;
    SClass_ID SuperClassID() override { return GEOMOBJECT_CLASS_ID; }

    // The mesh to render at time t. needDelete is set TRUE when the caller owns the mesh and must delete
    // it, FALSE when the object keeps it. Null when the object has no mesh.
    virtual Mesh* GetRenderMesh(TimeValue t, INode* inode, View& view, BOOL& needDelete);

    // A render works on render-time copies of the geometry, made when the host begins the render and
    // dropped when it ends: what the render writes into them (face material IDs that a renderer's shader
    // reads) never reaches the stored geometry.
    virtual void BeginRenderCopy() {}
    virtual void EndRenderCopy() {}
};

// What a node's pipeline evaluates to.
class ObjectState {
public:
    ObjectState() = default;
    explicit ObjectState(Object* object) : obj(object) {}

    Object* obj = nullptr;
};
