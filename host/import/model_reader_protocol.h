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

// The reader's environment settings: the C library's allocator gives the reader's large blocks huge
// pages, so that the model library's and the reader's arrays cost a fraction of the page faults.
// `tunables` is the tool's own GLIBC_TUNABLES, or null; its settings are kept (TunablesWithHugePages).
std::vector<std::string> ModelReaderEnvironment(const char* tunables);

// Reads the reader's arguments (argv[1] on); false when they are not ones ModelReaderArguments writes.
bool ParseModelReaderArguments(int argc, const char* const* argv, ModelReaderRequest& request);

} // namespace host
