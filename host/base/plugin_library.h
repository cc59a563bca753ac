#pragma once

// One plug-in module as the host sees it: a file in a plug-in directory reached only through its exports.
#include "host/base/platform.h"

#include "hostsdk/class_desc.h"
#include "hostsdk/plugin_api.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace host {

class PluginLibrary {
public:
    // Loads the module and resolves its four exports. Throws std::runtime_error naming the file and the
    // problem when the file cannot be loaded or lacks an export.
    explicit PluginLibrary(const std::filesystem::path& file);
    PluginLibrary(const PluginLibrary&) = delete;
    PluginLibrary& operator=(const PluginLibrary&) = delete;
    ~PluginLibrary();

    const std::filesystem::path& File() const { return file; }
    // The description text, or an empty text when the module returns none.
    std::wstring Description() const;
    ULONG Version() const { return libVersion(); }
    int NumberClasses() const { return libNumberClasses(); }
    ClassDesc* GetClassDesc(int i) const { return libClassDesc(i); }

private:
    std::filesystem::path file;
    ModuleHandle* module = nullptr;
    LibDescriptionProc libDescription = nullptr;
    LibNumberClassesProc libNumberClasses = nullptr;
    LibClassDescProc libClassDesc = nullptr;
    LibVersionProc libVersion = nullptr;
};

// The plug-ins of the host: every "*.dlt" file in the configured plug-in directories, in directory order
// and by file name within a directory.
class PluginManager {
public:
    struct Failure {
        std::filesystem::path file;
        std::string reason;
    };

    // Loads every plug-in of the directories that IPathConfigMgr lists.
    void LoadAll();
    const std::vector<std::unique_ptr<PluginLibrary>>& Libraries() const { return libraries; }
    const std::vector<Failure>& Failures() const { return failures; }
    // The first class with that class ID and super class, or null.
    ClassDesc* FindClass(SClass_ID superClass, const Class_ID& classId) const;

private:
    std::vector<std::unique_ptr<PluginLibrary>> libraries;
    std::vector<Failure> failures;
};

} // namespace host
