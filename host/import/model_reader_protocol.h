#pragma once

// How the tool asks its model reader process for a file: the program's name, its arguments and the exit
// statuses that carry meaning. The answer itself travels on the reader's standard output (model_answer.h).
#include "host/import/imported_model.h"

#include <cstdint>
#include <string>
#include <vector>

namespace host {

// The reader program, installed beside the tool.
inline constexpr const char* kModelReaderProgram = "chromasift-model-reader";

// The reader's exit status when it ran out of the memory it may use.
inline constexpr int kModelReaderOutOfMemoryStatus = 3;
// The reader's exit status for arguments it does not understand.
inline constexpr int kModelReaderUsageStatus = 2;

struct ModelReaderRequest {
    std::string file;
    bool triangulate = false;
    char upAxis = 0;
    std::uint64_t memoryLimitBytes = 0; // 0: no limit
};

// The reader's arguments for `request` (after the program's name).
std::vector<std::string> ModelReaderArguments(const ModelReaderRequest& request);

// Reads the reader's arguments (argv[1] on); false when they are not ones ModelReaderArguments writes.
bool ParseModelReaderArguments(int argc, const char* const* argv, ModelReaderRequest& request);

} // namespace host
