#include "host/base/plugin_library.h"

#include "hostsdk/path_config.h"

#include <algorithm>
#include <stdexcept>

namespace host {

namespace {

template <typename Proc>
Proc Resolve(ModuleHandle* module, const char* name, const std::filesystem::path& file) {
    void* symbol = FindExport(module, name);
    if (symbol == nullptr)
        throw std::runtime_error(file.string() + ": not a plug-in: it does not export " + name);
    return reinterpret_cast<Proc>(symbol);
}

} // namespace

PluginLibrary::PluginLibrary(const std::filesystem::path& file_) : file(file_) {
    std::string error;
    module = OpenModule(file, error);
    if (module == nullptr)
        throw std::runtime_error(file.string() + ": cannot load: " + error);
    try {
        libDescription = Resolve<LibDescriptionProc>(module, "LibDescription", file);
        libNumberClasses = Resolve<LibNumberClassesProc>(module, "LibNumberClasses", file);
        libClassDesc = Resolve<LibClassDescProc>(module, "LibClassDesc", file);
        libVersion = Resolve<LibVersionProc>(module, "LibVersion", file);
    } catch (...) {
        CloseModule(module);
        throw;
    }
}

PluginLibrary::~PluginLibrary() {
    CloseModule(module);
}

std::wstring PluginLibrary::Description() const {
    const MCHAR* text = libDescription();
    return text == nullptr ? std::wstring() : std::wstring(text);
}

void PluginManager::LoadAll() {
    IPathConfigMgr* paths = IPathConfigMgr::GetPathConfigMgr();
    for (int i = 0; i < paths->GetPlugInEntryCount(); ++i) {
        const std::filesystem::path directory(paths->GetPlugInDir(i));
        std::error_code error;
        std::vector<std::filesystem::path> files;
        for (const auto& entry : std::filesystem::directory_iterator(directory, error))
            if (entry.is_regular_file() && entry.path().extension() == ".dlt")
                files.push_back(entry.path());
        if (error) {
            failures.push_back(Failure{directory, "cannot read the plug-in directory: " + error.message()});
            continue;
        }
        std::sort(files.begin(), files.end());
        for (const auto& file : files) {
            try {
                libraries.push_back(std::make_unique<PluginLibrary>(file));
            } catch (const std::exception& e) {
                failures.push_back(Failure{file, e.what()});
            }
        }
    }
}

ClassDesc* PluginManager::FindClass(SClass_ID superClass, const Class_ID& classId) const {
    for (const auto& library : libraries)
        for (int i = 0; i < library->NumberClasses(); ++i) {
            ClassDesc* cd = library->GetClassDesc(i);
            if (cd != nullptr && cd->SuperClassID() == superClass && cd->ClassID() == classId)
                return cd;
        }
    return nullptr;
}

} // namespace host
