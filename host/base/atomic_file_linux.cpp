#include "host/base/atomic_file.h"

#include "host/base/platform.h"
#include "host/base/removed_on_signal.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <optional>

namespace host {

namespace {

class PosixFileReplaceSteps final : public FileReplaceSteps {
public:
    ~PosixFileReplaceSteps() override { CloseIfOpen(); }

    std::string CreateTemporary(const std::filesystem::path& target,
                                std::filesystem::path& temporary) override {
        for (unsigned attempt = 0; attempt < 100; ++attempt) {
            const std::filesystem::path candidate = TemporaryNameBeside(target);
            // Named for removal before it exists: a signal between its creation and a later registration
            // would leave it behind.
            removal.emplace(candidate);
            descriptor = open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (descriptor >= 0) {
                temporary = candidate;
                // A replaced file keeps its owner and permissions, as it did when it was written in place,
                // where the user may set them (the owner only as root; a group the user belongs to). The
                // owner first: a change of owner clears the set-ID bits.
                struct stat old;
                if (stat(target.c_str(), &old) == 0) {
                    (void)fchown(descriptor, old.st_uid, old.st_gid);
                    (void)fchown(descriptor, static_cast<uid_t>(-1), old.st_gid);
                    (void)fchmod(descriptor, old.st_mode & 07777);
                }
                return std::string();
            }
            const std::string reason = errno != EEXIST ? LastSystemErrorText() : std::string();
            removal.reset();
            if (!reason.empty())
                return reason;
        }
        return "every name tried for a temporary file is taken";
    }

    std::string Write(std::string_view bytes) override {
        while (!bytes.empty()) {
            const ssize_t written =
                write(descriptor, bytes.data(), std::min<std::size_t>(bytes.size(), 1 << 30));
            if (written < 0 && errno == EINTR)
                continue;
            if (written < 0)
                return LastSystemErrorText();
            if (written == 0)
                return "the system took none of the bytes";
            bytes.remove_prefix(static_cast<std::size_t>(written));
        }
        return std::string();
    }

    std::string Finish() override {
        if (fsync(descriptor) != 0)
            return LastSystemErrorText();
        // close reports errors of writes the file system delayed; the descriptor is gone either way.
        const int closed = close(descriptor);
        descriptor = -1;
        return closed == 0 ? std::string() : LastSystemErrorText();
    }

    std::string Replace(const std::filesystem::path& temporary,
                        const std::filesystem::path& target) override {
        if (rename(temporary.c_str(), target.c_str()) != 0)
            return LastSystemErrorText();
        removal.reset();
        // The new name on the disk too. The file is replaced already, so a folder that cannot be synced
        // changes nothing that could be reported.
        const std::filesystem::path folder = target.has_parent_path() ? target.parent_path() : ".";
        const int directory = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (directory >= 0) {
            (void)fsync(directory);
            close(directory);
        }
        return std::string();
    }

    void Discard(const std::filesystem::path& temporary) override {
        CloseIfOpen();
        if (!temporary.empty())
            unlink(temporary.c_str());
        removal.reset();
    }

private:
    void CloseIfOpen() {
        if (descriptor >= 0)
            close(descriptor);
        descriptor = -1;
    }

    int descriptor = -1;
    std::optional<RemovedOnSignal> removal; // the temporary file's, from before it is created
};

} // namespace

std::unique_ptr<FileReplaceSteps> SystemFileReplaceSteps() {
    return std::make_unique<PosixFileReplaceSteps>();
}

WriteTarget KindOfWriteTarget(const std::filesystem::path& target) {
    struct stat status;
    if (stat(target.c_str(), &status) != 0 || S_ISREG(status.st_mode))
        return WriteTarget::File;
    return S_ISDIR(status.st_mode) ? WriteTarget::Directory : WriteTarget::Stream;
}

std::string WriteRefusal(const std::filesystem::path& target) {
    // The effective user's rights, as the write itself would be checked (root may write a read-only file).
    if (faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) == 0 || errno == ENOENT)
        return std::string();
    return LastSystemErrorText();
}

std::string WriteIntoStream(const std::filesystem::path& target, std::string_view bytes) {
    // No O_CREAT: the stream exists. A pipe's open waits for its reader, as any writer's does.
    const int descriptor = open(target.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    if (descriptor < 0)
        return LastSystemErrorText();
    while (!bytes.empty()) {
        const ssize_t written = write(descriptor, bytes.data(), std::min<std::size_t>(bytes.size(), 1 << 30));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            const std::string reason =
                written < 0 ? LastSystemErrorText() : "the system took none of the bytes";
            close(descriptor);
            return reason;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return close(descriptor) == 0 ? std::string() : LastSystemErrorText();
}

} // namespace host
