#include "host/edit/material_editor.h"

namespace host {
namespace {

int NoWindows(std::ostream& err) {
    err << "chromasift: this build of the host has no window system; 'edit' needs the Windows build\n";
    return 1;
}

} // namespace

int RunMaterialEditor(EditorSession&, std::ostream& err) {
    return NoWindows(err);
}

int ReplayEditScript(EditorSession&, const std::vector<EditAction>&, std::ostream&, std::ostream& err) {
    return NoWindows(err);
}

} // namespace host
