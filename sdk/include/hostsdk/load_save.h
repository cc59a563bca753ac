#pragma once

// Scene loading and saving as objects see it.
#include "hostsdk/references.h"

class ILoad;

// Work run once the whole scene has been read, lowest priority first.
class SDK_API PostLoadCallback {
public:
    virtual ~PostLoadCallback();
    virtual void proc(ILoad* iload) = 0;
    // 0 is reserved for the host's parameter blocks; plug-ins use 5 unless they must run earlier.
    virtual int Priority() { return 5; }
    virtual INT_PTR Execute(int, ULONG_PTR = 0, ULONG_PTR = 0, ULONG_PTR = 0) { return 0; }
};

class SDK_API ILoad {
public:
    virtual ~ILoad();
    virtual void RegisterPostLoadCallback(PostLoadCallback* cb) = 0;
};

class SDK_API ISave {
public:
    virtual ~ISave();
};
