#include "host/import/model_reader_process.h"

#include "host/base/child_process.h"
#include "host/base/platform.h"
#include "host/import/model_answer_decoder.h"
#include "host/import/model_reader_limits.h"
#include "host/import/model_reader_protocol.h"
#include "hostsdk/large_arrays.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <stdexcept>

#include <sys/mman.h>
#include <unistd.h>

namespace host {

namespace {

// Three significant digits: "60", "0.5", "11.8".
std::string Amount(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3g", value);
    return text;
}

std::string MemoryAmount(std::uint64_t bytes) {
    const double mib = static_cast<double>(bytes) / (1 << 20);
    return mib >= 1024 ? Amount(mib / 1024) + " GiB" : Amount(mib) + " MiB";
}

// The answer's bytes, read to their end into one buffer: address space for as much as the reader may send,
// mapped from the system, so that only the pages written become memory and the buffer never grows by
// copying. (A growing string also raises the C library's threshold for mapping large blocks, which then
// keeps the freed model arrays resident through the render.)
class AnswerBuffer {
public:
    AnswerBuffer(std::size_t most, const std::string& file) : most(most) {
        void* mapped =
            mmap(nullptr, most, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
        if (mapped == MAP_FAILED)
            throw std::runtime_error(file + ": no memory for the model reader's answer (up to " +
                                     MemoryAmount(most) + ")");
        data = static_cast<char*>(mapped);
        // A fresh page costs more than filling it: a big answer fills huge ones.
        AdviseHugePages(data, most);
    }
    AnswerBuffer(const AnswerBuffer&) = delete;
    AnswerBuffer& operator=(const AnswerBuffer&) = delete;
    ~AnswerBuffer() { munmap(data, most); }

    // RunChild hands over no more than `most` bytes in all.
    void Append(std::string_view piece) {
        std::memcpy(data + size, piece.data(), piece.size());
        size += piece.size();
    }
    std::string_view Bytes() const { return std::string_view(data, size); }

private:
    std::size_t most;
    char* data = nullptr;
    std::size_t size = 0;
};

} // namespace

std::string FindModelReader() {
    if (const std::filesystem::path self = ExecutableFile(); !self.empty()) {
        const std::filesystem::path beside = self.parent_path() / kModelReaderProgram;
        if (access(beside.c_str(), X_OK) == 0)
            return beside.string();
    }
#ifdef CHROMASIFT_MODEL_READER_BUILD_PATH
    // Test programs outside the build's bin/ folder find the build's own reader.
    if (access(CHROMASIFT_MODEL_READER_BUILD_PATH, X_OK) == 0)
        return CHROMASIFT_MODEL_READER_BUILD_PATH;
#endif
    return std::string();
}

ImportedModel RunModelReader(const std::string& reader, const std::string& file,
                             const ModelImportOptions& options) {
    ModelReaderRequest request;
    request.file = file;
    request.triangulate = options.triangulate;
    request.upAxis = options.upAxis;
    request.memoryLimitBytes =
        options.memoryLimitBytes != 0 ? options.memoryLimitBytes : DefaultModelReaderMemoryLimit();
    // The reader applies its memory limit itself, from its arguments, before it reads anything. It cannot
    // hold more model than that memory, so it cannot rightly send more either.
    ChildOptions child;
    child.settings = ModelReaderEnvironment(std::getenv("GLIBC_TUNABLES"));
    child.seconds = options.timeLimitSeconds;
    child.outputBytes = request.memoryLimitBytes;
    // The answer is read whole, and decoded once the reader has ended well. Its counts are bounded by what
    // the reader may send, so that an answer that ends short says where it ends.
    AnswerBuffer answerBytes(child.outputBytes, file);
    const ChildResult result =
        RunChild(reader, ModelReaderArguments(request), child,
                 [&answerBytes](std::string_view piece) { answerBytes.Append(piece); });
    const std::string prefix = file + ": the model reader ";
    switch (result.end) {
    case ChildResult::End::NotStarted:
        throw std::runtime_error(prefix + reader + " could not be started");
    case ChildResult::End::TimedOut:
        throw std::runtime_error(prefix + "took longer than " + Amount(options.timeLimitSeconds) +
                                 " s and was stopped (--import-time-limit sets the limit)");
    case ChildResult::End::TooMuchOutput:
        throw std::runtime_error(prefix + "sent more than " + MemoryAmount(child.outputBytes) +
                                 " and was stopped");
    case ChildResult::End::Signalled:
        throw std::runtime_error(prefix + "crashed (" + SignalName(result.status) + ")");
    case ChildResult::End::Exited:
        break;
    }
    if (result.status == kModelReaderOutOfMemoryStatus)
        throw std::runtime_error(prefix + "ran out of memory (it may use " +
                                 MemoryAmount(request.memoryLimitBytes) + ") and was stopped");
    if (result.status != 0)
        throw std::runtime_error(prefix + "failed with exit status " + std::to_string(result.status));
    ModelAnswer answer;
    try {
        answer = DecodeModelAnswer(answerBytes.Bytes(), child.outputBytes);
    } catch (const MalformedModelAnswer& e) {
        throw std::runtime_error(prefix + "gave a malformed answer: " + e.what());
    }
    if (!answer.error.empty())
        throw std::runtime_error(answer.error);
    return std::move(answer.model);
}

bool CanImportModels() {
    return true;
}

ImportedModel ImportModel(const std::string& file, const ModelImportOptions& options) {
    // Before a reader starts: a device or a pipe would keep it reading until its time runs out.
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(file, error);
    if (status.type() == std::filesystem::file_type::not_found)
        throw std::runtime_error(file + ": cannot open the model file: file not found");
    if (status.type() == std::filesystem::file_type::directory)
        throw std::runtime_error(file + ": cannot open the model file: it is a directory");
    if (!error && status.type() != std::filesystem::file_type::regular)
        throw std::runtime_error(file + ": cannot open the model file: it is not a regular file");
    const std::string reader = FindModelReader();
    if (reader.empty())
        throw std::runtime_error(file + ": cannot import models: the model reader " +
                                 std::string(kModelReaderProgram) + " is not installed beside the program");
    return RunModelReader(reader, file, options);
}

} // namespace host
