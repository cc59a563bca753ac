#pragma once

// Symbols of the stand-in SDK library: exported when the library itself is built, imported by the
// plug-in and the host, so that both share one copy of every SDK global.
#if defined(_WIN32)
#if defined(HOSTSDK_BUILDING)
#define SDK_API __declspec(dllexport)
#else
#define SDK_API __declspec(dllimport)
#endif
#else
#define SDK_API __attribute__((visibility("default")))
#endif
