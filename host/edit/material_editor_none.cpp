#include "host/edit/material_editor.h"

namespace host {
namespace {

int NoWindows(std::ostream& err, const char* command = "edit") {
    err << "chromasift: this build of the host has no window system; '" << command
        << "' needs the Windows build\n";
    return 1;
}

} // namespace

bool HasWindowSystem() {
    return false;
}

int RunMaterialEditor(EditorSession&, std::ostream& err) {
    return NoWindows(err);
}

int ReplayEditScript(EditorSession&, const std::vector<EditAction>&, std::ostream&, std::ostream& err) {
    return NoWindows(err);
}

int TakeScreenshots(EditorSession&, const std::string&, const std::filesystem::path&, std::ostream&,
                    std::ostream& err) {
    return NoWindows(err, "screenshot");
}

} // namespace host
