#pragma once

// A scene header that reaches up into the renderers, which the layer check must refuse.
#include "host/render/renderers.h"
