#pragma once

#include "plugin/host_sdk.h"

// The library's own module handle, recorded by the entry point; every resource load uses it.
extern HINSTANCE hInstance;

// Loads string-table entry `id` into the library's one string buffer and returns the buffer, or null when
// the module handle is unknown or the entry is missing. Each call overwrites the previous text.
const MCHAR* GetString(int id);

// The class descriptor of the map, built on first use and destroyed when the library unloads.
ClassDesc2* GetChromasiftDesc();

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, ULONG reason, LPVOID reserved);
