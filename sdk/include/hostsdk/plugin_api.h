#pragma once

// The four functions every plug-in module exports, by these undecorated names.
#include "hostsdk/max_types.h"

class ClassDesc;

using LibDescriptionProc = const MCHAR* (*)();
using LibNumberClassesProc = int (*)();
using LibClassDescProc = ClassDesc* (*)(int i);
using LibVersionProc = ULONG (*)();

#if defined(_WIN32)
#define PLUGIN_EXPORT extern "C" __declspec(dllexport)
#else
#define PLUGIN_EXPORT extern "C" __attribute__((visibility("default")))
#endif
