#include "hostsdk/path_config.h"

IPathConfigMgr* IPathConfigMgr::GetPathConfigMgr() {
    static IPathConfigMgr manager;
    return &manager;
}

const MCHAR* IPathConfigMgr::GetPlugInDesc(int i) const {
    if (i < 0 || i >= GetPlugInEntryCount())
        return nullptr;
    return entries[static_cast<std::size_t>(i)].description.c_str();
}

const MCHAR* IPathConfigMgr::GetPlugInDir(int i) const {
    if (i < 0 || i >= GetPlugInEntryCount())
        return nullptr;
    return entries[static_cast<std::size_t>(i)].directory.c_str();
}

void IPathConfigMgr::AddPlugInEntry(const MSTR& description, const MSTR& directory) {
    entries.push_back(Entry{description, directory});
}
