// A stand-in for the model reader that misbehaves on purpose, for the tests of the tool's side: it takes
// the reader's arguments and runs under the reader's memory limit, and the file name (its last part) says
// what it does instead of reading a model.
#include "host/import/model_answer.h"
#include "host/import/model_reader_limits.h"
#include "host/import/model_reader_protocol.h"

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

void Write(const std::string& bytes) {
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = write(1, bytes.data() + written, bytes.size() - written);
        if (n <= 0)
            std::_Exit(1);
        written += static_cast<std::size_t>(n);
    }
}

[[noreturn]] void Hang() {
    for (;;)
        pause();
}

std::string Quad() {
    host::ImportedModel model;
    host::ImportedPart part;
    part.name = "quad";
    part.verts = {Point3(0, 0, 0), Point3(1, 0, 0), Point3(1, 1, 0), Point3(0, 1, 0)};
    const int corners[] = {0, 1, 2, 3};
    part.AddFace(corners, 0);
    model.parts.push_back(part);
    return host::EncodeModelAnswer(model);
}

// The descriptors open in this process beyond standard input, output and error.
std::string OpenDescriptors() {
    std::string open;
    // The listing's own descriptor shows up too.
    const std::filesystem::path listing = "/proc/" + std::to_string(getpid()) + "/fd";
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
        const int fd = std::atoi(entry.path().filename().c_str());
        std::error_code error;
        const std::filesystem::path target = std::filesystem::read_symlink(entry.path(), error);
        if (fd > 2 && !error && target != listing)
            open += " " + std::to_string(fd) + " (" + target.string() + ")";
    }
    return open.empty() ? " none" : open;
}

} // namespace

int main(int argc, char** argv) {
    host::ModelReaderRequest request;
    if (!host::ParseModelReaderArguments(argc, argv, request))
        return host::kModelReaderUsageStatus;
    host::ApplyModelReaderMemoryLimit(request.memoryLimitBytes);
    const std::string behaviour = std::filesystem::path(request.file).filename().string();
    if (behaviour == "quad") {
        Write(Quad());
    } else if (behaviour == "arguments") {
        Write(host::EncodeErrorAnswer("triangulate " + std::to_string(request.triangulate) + ", up " +
                                      (request.upAxis ? std::string(1, request.upAxis) : "-") + ", memory " +
                                      std::to_string(request.memoryLimitBytes)));
    } else if (behaviour == "tunables") {
        const char* tunables = std::getenv("GLIBC_TUNABLES");
        Write(host::EncodeErrorAnswer(std::string("tunables ") + (tunables != nullptr ? tunables : "none")));
    } else if (behaviour == "descriptors") {
        Write(host::EncodeErrorAnswer("open:" + OpenDescriptors()));
    } else if (behaviour == "bus-error") {
        // As a plain build dies of it: a sanitized build's own handler would report and exit instead.
        signal(SIGBUS, SIG_DFL);
        raise(SIGBUS);
    } else if (behaviour == "abort") {
        std::abort();
    } else if (behaviour == "hang") {
        Hang();
    } else if (behaviour == "hang-after-answer") {
        Write(Quad());
        close(1);
        Hang();
    } else if (behaviour == "slow-answer") {
        // The answer in small pieces with pauses between them, so that the tool reads it in parts.
        const std::string answer = Quad();
        for (std::size_t at = 0; at < answer.size(); at += 7) {
            Write(answer.substr(at, 7));
            usleep(20000);
        }
    } else if (behaviour == "memory") {
        std::vector<std::vector<char>> held;
        for (;;)
            held.emplace_back(std::size_t(64) << 20, 'x');
    } else if (behaviour == "flood") {
        const std::string block(1 << 16, 'x');
        for (;;)
            Write(block);
    } else if (behaviour == "truncated") {
        const std::string answer = Quad();
        Write(answer.substr(0, answer.size() / 2));
    } else if (behaviour == "crash-inside-answer") {
        // Half an answer, then a crash: what the reader became of counts, not the answer cut short.
        const std::string answer = Quad();
        Write(answer.substr(0, answer.size() / 2));
        signal(SIGSEGV, SIG_DFL);
        raise(SIGSEGV);
    } else if (behaviour == "garbage") {
        Write("not an answer");
    } else if (behaviour == "garbage-then-more") {
        // Far more than a pipe holds after a bad start: the tool must take it all for the reader to end.
        Write("not an answer");
        const std::string block(1 << 16, 'x');
        for (int i = 0; i < 128; ++i)
            Write(block);
    } else if (behaviour == "exit-5") {
        return 5;
    } else {
        return host::kModelReaderUsageStatus;
    }
    return 0;
}
