#pragma once

// Broadcast notifications from the host to registered callbacks.
#include "hostsdk/sdk_api.h"

struct NotifyInfo {
    int intcode;
    void* callParam;
};

using NOTIFYPROC = void (*)(void* param, NotifyInfo* info);

constexpr int NOTIFY_PRE_RENDER = 0x14;
constexpr int NOTIFY_POST_RENDER = 0x15;
constexpr int NOTIFY_PRE_RENDERFRAME = 0x16;
constexpr int NOTIFY_POST_RENDERFRAME = 0x17;

// Returns nonzero on success. Registering the same callback twice makes it run twice.
SDK_API int RegisterNotification(NOTIFYPROC proc, void* param, int code);
// Removes the registrations of `proc` with `param` for `code`.
SDK_API int UnRegisterNotification(NOTIFYPROC proc, void* param, int code);
// Removes the registrations of `proc` with `param` for every code.
SDK_API int UnRegisterNotification(NOTIFYPROC proc, void* param);
// Calls every callback registered for `code`, in registration order.
SDK_API void BroadcastNotification(int code, void* callParam = nullptr);
// Number of registrations for `code`, for the host's diagnostics.
SDK_API int NotificationCount(int code);
