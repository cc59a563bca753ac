#pragma once

// Reading a model file with the model library, in the model reader process (never in the tool itself).
#include "host/import/imported_model.h"

namespace host {

// The file's mesh nodes as parts. Throws std::runtime_error naming the file and what is wrong: a file that
// cannot be opened or parsed, or a file with no faces.
ImportedModel ReadModelFile(const std::string& file, const ModelImportOptions& options);

} // namespace host
