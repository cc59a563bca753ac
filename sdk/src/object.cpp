#include "hostsdk/object.h"

Object::Object() {
    channelValidity.fill(FOREVER);
}

Object::~Object() = default;

void Object::UpdateValidity(int nchan, Interval v) {
    if (nchan >= 0 && nchan < NUM_OBJ_CHANS)
        channelValidity[static_cast<std::size_t>(nchan)] &= v;
}

Interval Object::ChannelValidity(TimeValue, int nchan) {
    if (nchan < 0 || nchan >= NUM_OBJ_CHANS)
        return Interval();
    return channelValidity[static_cast<std::size_t>(nchan)];
}

GeomObject::~GeomObject() = default;

Mesh* GeomObject::GetRenderMesh(TimeValue, INode*, View&, BOOL& needDelete) {
    needDelete = FALSE;
    return nullptr;
}
