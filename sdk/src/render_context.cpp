#include "hostsdk/render_context.h"

RenderInstance::~RenderInstance() = default;

RenderGlobalContext::~RenderGlobalContext() = default;
