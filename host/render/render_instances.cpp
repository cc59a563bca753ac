#include "host/render/render_instances.h"

#include "hostsdk/mesh.h"

namespace host {

HostRenderInstance::~HostRenderInstance() = default;

HostRenderGlobalContext::~HostRenderGlobalContext() = default;

RenderInstance* HostRenderGlobalContext::GetRenderInstance(int i) {
    if (i < 0 || i >= NumRenderInstances())
        return nullptr;
    return instances[static_cast<std::size_t>(i)].get();
}

HostRenderInstance& HostRenderGlobalContext::AddInstance(std::unique_ptr<HostRenderInstance> instance) {
    if (!instances.empty())
        instances.back()->SetNext(instance.get());
    instances.push_back(std::move(instance));
    return *instances.back();
}

} // namespace host
