#include "host/commands/plugins_command.h"

#include "host/base/text.h"

#include <iomanip>
#include <sstream>

namespace host {

namespace {

std::string Hex(unsigned long value) {
    std::ostringstream text;
    text << "0x" << std::hex << std::setfill('0') << std::setw(8) << value;
    return text.str();
}

std::string ShortHex(unsigned long value) {
    std::ostringstream text;
    text << "0x" << std::hex << value;
    return text.str();
}

std::string Text(const MCHAR* text) {
    return text == nullptr ? std::string() : ToUtf8(text);
}

} // namespace

void PrintPlugins(const PluginManager& plugins, std::ostream& out, std::ostream& err) {
    for (const auto& library : plugins.Libraries()) {
        out << library->File().filename().string() << "  (" << library->File().parent_path().string()
            << ")\n";
        out << "  Description:  " << ToUtf8(library->Description()) << "\n";
        out << "  Version:      " << Hex(library->Version()) << "\n";
        const int count = library->NumberClasses();
        out << "  Classes:      " << count << "\n";
        for (int i = 0; i < count; ++i) {
            ClassDesc* cd = library->GetClassDesc(i);
            if (cd == nullptr) {
                out << "    [" << i << "] (no descriptor)\n";
                continue;
            }
            const Class_ID id = cd->ClassID();
            out << "    [" << i << "] " << Text(cd->ClassName()) << "\n";
            out << "        Category:     " << Text(cd->Category()) << "\n";
            out << "        Class ID:     " << Hex(id.PartA()) << " " << Hex(id.PartB()) << "\n";
            out << "        Super class:  " << ShortHex(cd->SuperClassID()) << "\n";
        }
    }
    for (const auto& failure : plugins.Failures()) {
        // The file by its whole path, once: the loader's reasons name it again, which says nothing more.
        const std::string path = PathToUtf8(failure.file);
        std::string reason = failure.reason;
        for (std::size_t at = reason.find(path + ": "); at != std::string::npos;
             at = reason.find(path + ": "))
            reason.erase(at, path.size() + 2);
        err << "chromasift: " << path << ": " << reason << "\n";
    }
    if (plugins.Libraries().empty() && plugins.Failures().empty())
        err << "chromasift: No plug-ins found.\n";
}

} // namespace host
