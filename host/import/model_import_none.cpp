#include "host/import/imported_model.h"

#include <stdexcept>

namespace host {

bool CanImportModels() {
    return false;
}

ImportedModel ImportModel(const std::string& file, const ModelImportOptions&) {
    throw std::runtime_error(file + ": this build of the host cannot import model files; use the Linux "
                                    "build, or a scene file with its meshes written out");
}

} // namespace host
