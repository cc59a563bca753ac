#pragma once

// Reading a model file in a reader process of its own (Linux build): the model library runs there, so
// that its faults (crashes, endless loops, runaway memory) end the reader, never the tool.
#include "host/import/imported_model.h"

#include <string>

namespace host {

// The reader program: beside the running program (the tool, a test program), or else where the build put
// it. Empty when neither has it.
std::string FindModelReader();

// Reads `file` by running `reader` under the options' time and memory limits. Throws std::runtime_error
// with one line naming the file: the reader's own message, or what became of the reader (crashed, stopped
// at a limit, answered nonsense).
ImportedModel RunModelReader(const std::string& reader, const std::string& file,
                             const ModelImportOptions& options);

} // namespace host
