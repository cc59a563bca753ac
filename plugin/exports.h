#pragma once

#include "plugin/host_sdk.h"

// The library's exports, declared for code linked with the library itself (tests).
PLUGIN_EXPORT const MCHAR* LibDescription();
PLUGIN_EXPORT int LibNumberClasses();
PLUGIN_EXPORT ClassDesc* LibClassDesc(int i);
PLUGIN_EXPORT ULONG LibVersion();
