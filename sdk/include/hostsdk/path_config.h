#pragma once

// The host's path configuration: among others, the directories it loads plug-ins from.
#include "hostsdk/max_types.h"
#include "hostsdk/sdk_api.h"

#include <vector>

class SDK_API IPathConfigMgr {
public:
    static IPathConfigMgr* GetPathConfigMgr();

    int GetPlugInEntryCount() const { return static_cast<int>(entries.size()); }
    // Null for an index out of range.
    const MCHAR* GetPlugInDesc(int i) const;
    const MCHAR* GetPlugInDir(int i) const;

    // Host side: the directories are configured at start-up.
    void AddPlugInEntry(const MSTR& description, const MSTR& directory);
    void ClearPlugInEntries() { entries.clear(); }

private:
    struct Entry {
        MSTR description;
        MSTR directory;
    };
    std::vector<Entry> entries;
};
