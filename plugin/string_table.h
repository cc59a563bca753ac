#pragma once

#include "plugin/host_sdk.h"

#include <cstddef>

// The string table as data, registered with the stand-in resource loader where the system has no resource
// sections.
extern const ModuleString kStringTable[];
extern const std::size_t kStringTableSize;
