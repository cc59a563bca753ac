#include "host/base/atomic_file.h"

#include "host/base/platform.h"

#include <windows.h>

#include <algorithm>

namespace host {

namespace {

class Win32FileReplaceSteps final : public FileReplaceSteps {
public:
    ~Win32FileReplaceSteps() override { CloseIfOpen(); }

    std::string CreateTemporary(const std::filesystem::path& target,
                                std::filesystem::path& temporary) override {
        for (unsigned attempt = 0; attempt < 100; ++attempt) {
            const std::filesystem::path candidate = TemporaryNameBeside(target);
            file = CreateFileW(candidate.wstring().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
            if (file != INVALID_HANDLE_VALUE) {
                temporary = candidate;
                return std::string();
            }
            const DWORD code = GetLastError();
            if (code != ERROR_FILE_EXISTS && code != ERROR_ALREADY_EXISTS)
                return LastSystemErrorText();
        }
        return "every name tried for a temporary file is taken";
    }

    std::string Write(std::string_view bytes) override {
        while (!bytes.empty()) {
            const auto chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1 << 30));
            DWORD written = 0;
            if (!::WriteFile(file, bytes.data(), chunk, &written, nullptr))
                return LastSystemErrorText();
            if (written == 0)
                return "the system took none of the bytes";
            bytes.remove_prefix(written);
        }
        return std::string();
    }

    std::string Finish() override {
        if (!FlushFileBuffers(file))
            return LastSystemErrorText();
        const BOOL closed = CloseHandle(file);
        file = INVALID_HANDLE_VALUE;
        return closed ? std::string() : LastSystemErrorText();
    }

    std::string Replace(const std::filesystem::path& temporary,
                        const std::filesystem::path& target) override {
        // A target that another program holds open for a moment (a writer replacing it too, a virus
        // scanner, an indexer) cannot be replaced until it lets go: a few tries over about a second.
        for (int attempt = 1;; ++attempt) {
            if (MoveFileExW(temporary.wstring().c_str(), target.wstring().c_str(),
                            MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
                return std::string();
            const DWORD code = GetLastError();
            if (attempt == 20 || (code != ERROR_ACCESS_DENIED && code != ERROR_SHARING_VIOLATION))
                return LastSystemErrorText();
            Sleep(50);
        }
    }

    void Discard(const std::filesystem::path& temporary) override {
        CloseIfOpen();
        if (!temporary.empty())
            DeleteFileW(temporary.wstring().c_str());
    }

private:
    void CloseIfOpen() {
        if (file != INVALID_HANDLE_VALUE)
            CloseHandle(file);
        file = INVALID_HANDLE_VALUE;
    }

    HANDLE file = INVALID_HANDLE_VALUE;
};

} // namespace

std::unique_ptr<FileReplaceSteps> SystemFileReplaceSteps() {
    return std::make_unique<Win32FileReplaceSteps>();
}

WriteTarget KindOfWriteTarget(const std::filesystem::path& target) {
    // Devices such as NUL and CON have no attributes of a file: their handle's type tells.
    HANDLE handle =
        CreateFileW(target.wstring().c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return WriteTarget::File;
    const DWORD type = GetFileType(handle);
    BY_HANDLE_FILE_INFORMATION information{};
    const bool directory = type == FILE_TYPE_DISK && GetFileInformationByHandle(handle, &information) &&
                           (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    CloseHandle(handle);
    if (type != FILE_TYPE_DISK)
        return WriteTarget::Stream;
    return directory ? WriteTarget::Directory : WriteTarget::File;
}

std::string WriteRefusal(const std::filesystem::path& target) {
    const DWORD attributes = GetFileAttributesW(target.wstring().c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_READONLY) == 0)
        return std::string();
    return "the file is read-only";
}

std::string WriteIntoStream(const std::filesystem::path& target, std::string_view bytes) {
    HANDLE handle = CreateFileW(target.wstring().c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return LastSystemErrorText();
    while (!bytes.empty()) {
        const auto chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1 << 30));
        DWORD written = 0;
        std::string reason;
        if (!::WriteFile(handle, bytes.data(), chunk, &written, nullptr))
            reason = LastSystemErrorText();
        else if (written == 0)
            reason = "the system took none of the bytes";
        if (!reason.empty()) {
            CloseHandle(handle);
            return reason;
        }
        bytes.remove_prefix(written);
    }
    return CloseHandle(handle) ? std::string() : LastSystemErrorText();
}

} // namespace host
