#include "host/base/atomic_file.h"

#include "host/base/text.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <random>

namespace host {

namespace {

// The file a write replaces: writing through a symbolic link replaces the file it points to, as writing
// into the link did, rather than the link.
std::filesystem::path ReplacedFile(const std::filesystem::path& file) {
    std::error_code error;
    if (!std::filesystem::is_symlink(file, error))
        return file;
    const std::filesystem::path resolved = std::filesystem::canonical(file, error);
    return error ? file : resolved;
}

} // namespace

std::string FlushStandardOutput() {
    // std::cout writes through stdout: its flush is the one that meets the failure, and errno keeps why.
    errno = 0;
    std::cout.flush();
    const bool flushed = std::fflush(stdout) == 0;
    const int reason = errno;
    if (flushed && std::ferror(stdout) == 0 && std::cout.good())
        return std::string();
    // A failure of an earlier write whose reason the stream kept no trace of.
    return std::string("cannot write to standard output: ") + std::strerror(reason != 0 ? reason : EIO);
}

std::filesystem::path TemporaryNameBeside(const std::filesystem::path& target) {
    // Several programs, and several threads of one, may write beside one target at once: every process
    // draws names of its own, and every call the next of them.
    static const unsigned long long seed =
        std::random_device()() ^
        static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count());
    static std::atomic<unsigned long long> drawn{0};
    std::mt19937_64 numbers(seed + drawn++);
    char suffix[17];
    static const char digits[] = "0123456789abcdef";
    unsigned long long value = numbers();
    for (int i = 15; i >= 0; --i, value >>= 4)
        suffix[i] = digits[value & 15];
    suffix[16] = 0;
    return target.parent_path() / PathFromUtf8("." + PathToUtf8(target.filename()) + "." + suffix + ".tmp");
}

void WriteFileInParts(const std::filesystem::path& file, const ContentParts& produce,
                      FileReplaceSteps& steps) {
    if (file == std::filesystem::path(kStandardOutputName)) {
        // After whatever the command wrote through the stream before.
        std::cout.flush();
        produce([](std::string_view part) {
            if (std::fwrite(part.data(), 1, part.size(), stdout) != part.size())
                throw FileWriteError(std::string("cannot write to standard output: ") + std::strerror(errno));
        });
        if (const std::string failure = FlushStandardOutput(); !failure.empty())
            throw FileWriteError(failure);
        return;
    }
    const std::string name = PathToUtf8(file);
    // A link to nothing names no file to replace: writing a file in its place would lose the link, and
    // following it may write where the user did not look. GNU cp refuses it likewise.
    if (std::error_code error;
        std::filesystem::is_symlink(file, error) && !std::filesystem::exists(file, error))
        throw FileWriteError(name + ": not writing through dangling symlink");
    const std::filesystem::path target = ReplacedFile(file);
    switch (KindOfWriteTarget(target)) {
    case WriteTarget::Directory:
        throw FileWriteError(name + ": cannot write the file: it is a directory");
    case WriteTarget::Stream: {
        // A device or a pipe replaced by a file would stop being one: its reader would receive nothing.
        std::string bytes;
        produce([&bytes](std::string_view part) { bytes.append(part); });
        if (const std::string reason = WriteIntoStream(target, bytes); !reason.empty())
            throw FileWriteError(name + ": cannot write the file: " + reason);
        return;
    }
    case WriteTarget::File:
        break;
    }
    if (const std::string reason = WriteRefusal(target); !reason.empty())
        throw FileWriteError(name + ": cannot write the file: " + reason);

    std::filesystem::path temporary;
    if (const std::string reason = steps.CreateTemporary(target, temporary); !reason.empty())
        throw FileWriteError(name + ": cannot open the file for writing: " + reason);
    std::string failure = "cannot write the file: ";
    std::string reason;
    try {
        produce([&](std::string_view part) {
            if (const std::string written = steps.Write(part); !written.empty())
                throw FileWriteError(name + ": " + failure + written);
        });
        reason = steps.Finish();
        if (reason.empty()) {
            failure = "cannot replace the file: ";
            reason = steps.Replace(temporary, target);
        }
    } catch (...) {
        steps.Discard(temporary);
        throw;
    }
    if (!reason.empty()) {
        steps.Discard(temporary);
        throw FileWriteError(name + ": " + failure + reason);
    }
}

void WriteFileAtomically(const std::filesystem::path& file, std::string_view bytes, FileReplaceSteps& steps) {
    WriteFileInParts(
        file, [bytes](const auto& write) { write(bytes); }, steps);
}

void WriteFileInParts(const std::filesystem::path& file, const ContentParts& produce) {
    const std::unique_ptr<FileReplaceSteps> steps = SystemFileReplaceSteps();
    WriteFileInParts(file, produce, *steps);
}

void WriteFileAtomically(const std::filesystem::path& file, std::string_view bytes) {
    const std::unique_ptr<FileReplaceSteps> steps = SystemFileReplaceSteps();
    WriteFileAtomically(file, bytes, *steps);
}

} // namespace host
