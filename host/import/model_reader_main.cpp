// The model reader: reads one model file with the model library and writes the answer (model_answer.h)
// to its standard output. The tool runs it as a process of its own (model_reader_process.h), so that a
// fault of the library ends this process only. Its exit status is 0 whenever it answered, the file's
// errors included.
#include "host/import/model_answer.h"
#include "host/import/model_read_assimp.h"
#include "host/import/model_reader_limits.h"
#include "host/import/model_reader_protocol.h"

#include <cerrno>
#include <cstdio>
#include <stdexcept>
#include <string_view>

#include <unistd.h>

namespace {

// The library's messages may span lines; the tool reports one.
std::string OneLine(std::string text) {
    for (char& c : text)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f)
            c = ' ';
    return text;
}

bool WriteAll(std::string_view bytes) {
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = write(1, bytes.data() + written, bytes.size() - written);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        written += static_cast<std::size_t>(n);
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    host::ModelReaderRequest request;
    if (!host::ParseModelReaderArguments(argc, argv, request)) {
        std::fprintf(stderr,
                     "usage: %s [--triangulate] [--up y|z] [--memory-limit BYTES] -- FILE\n"
                     "(run by chromasift to read model files)\n",
                     host::kModelReaderProgram);
        return host::kModelReaderUsageStatus;
    }
    // First, before the model library allocates anything: the tool starts this program with posix_spawn,
    // which has no step in the child where the tool could set the limit for it.
    host::ApplyModelReaderMemoryLimit(request.memoryLimitBytes);
    host::ModelImportOptions options;
    options.triangulate = request.triangulate;
    options.upAxis = request.upAxis;
    std::string answer;
    try {
        const host::ImportedModel model = host::ReadModelFile(request.file, options);
        bool written = true;
        host::WriteModelAnswer(model,
                               [&written](std::string_view piece) { written = written && WriteAll(piece); });
        // The model's memory goes back with the process: freeing a large model piece by piece would only
        // keep the tool waiting for this process to end.
        _exit(written ? 0 : 1);
    } catch (const std::bad_alloc&) {
        return host::kModelReaderOutOfMemoryStatus;
    } catch (const std::exception& e) {
        const std::string message = OneLine(e.what());
        answer =
            host::EncodeErrorAnswer(message.empty() ? request.file + ": cannot read the model" : message);
    }
    return WriteAll(answer) ? 0 : 1;
}
