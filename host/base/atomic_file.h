#pragma once

// Files the tool writes are replaced whole: the new content goes to a temporary file beside the target,
// reaches the disk, and then takes the target's place in one step. Whatever fails on the way, the old
// file stays as it was and no temporary file is left behind.
#include <filesystem>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

namespace host {

// A file that could not be written; the message names the file and the system's reason.
class FileWriteError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Makes `bytes` the whole content of `file` (a UTF-8 path made with PathFromUtf8). A symbolic link is
// followed, so that the file it points to is replaced; a link to nothing is refused. A target that is no file
// of the disk (a device, a named pipe) is written directly and never replaced, and "-" names standard output,
// as Unix tools take it. A file the user may not write is refused, not replaced. Throws FileWriteError.
void WriteFileAtomically(const std::filesystem::path& file, std::string_view bytes);

// Writes a file's content a part at a time: `write` takes each part in order.
using ContentParts = std::function<void(const std::function<void(std::string_view part)>& write)>;

// WriteFileAtomically with the content made by `produce` while it is written, for files too large to hold
// whole. Whatever `produce` throws passes on, after the temporary file is removed.
void WriteFileInParts(const std::filesystem::path& file, const ContentParts& produce);

// The name that stands for standard output where a file is written.
inline constexpr const char* kStandardOutputName = "-";

// Flushes whatever waits for standard output (std::cout and stdout) and says why it could not all be
// written, as cat does: "cannot write to standard output: No space left on device". Empty when it was.
std::string FlushStandardOutput();

// The system operations a replacement is made of, implemented once per platform. Each returns the
// system's reason for a failure (errno text, FormatMessage), empty on success.
class FileReplaceSteps {
public:
    virtual ~FileReplaceSteps() = default;
    // Creates and opens a new file of a unique name in `target`'s folder and names it in `temporary`.
    virtual std::string CreateTemporary(const std::filesystem::path& target,
                                        std::filesystem::path& temporary) = 0;
    // Appends every byte to the open temporary file.
    virtual std::string Write(std::string_view bytes) = 0;
    // Puts what was written on the disk and closes the file.
    virtual std::string Finish() = 0;
    // Moves the closed temporary file over the target in one step.
    virtual std::string Replace(const std::filesystem::path& temporary,
                                const std::filesystem::path& target) = 0;
    // Closes the temporary file if it is open and removes it.
    virtual void Discard(const std::filesystem::path& temporary) = 0;
};

std::unique_ptr<FileReplaceSteps> SystemFileReplaceSteps();

// What an existing target is, as far as writing it goes (implemented once per platform).
enum class WriteTarget {
    File,      // a file of the disk, or nothing yet: replaced whole
    Directory, // refused
    Stream,    // a device, a named pipe or a socket: written directly
};
WriteTarget KindOfWriteTarget(const std::filesystem::path& target);
// The system's reason why the user may not write the existing file `target` (read-only), empty when
// they may or when it does not exist.
std::string WriteRefusal(const std::filesystem::path& target);
// Writes every byte into the existing stream `target` as it stands; the system's reason for a failure.
std::string WriteIntoStream(const std::filesystem::path& target, std::string_view bytes);

// WriteFileAtomically through the given steps (tests put faults between them).
void WriteFileAtomically(const std::filesystem::path& file, std::string_view bytes, FileReplaceSteps& steps);
void WriteFileInParts(const std::filesystem::path& file, const ContentParts& produce,
                      FileReplaceSteps& steps);

// A new candidate name for a temporary file beside `target` on every call: hidden where a leading dot
// hides, and recognisably the target's.
std::filesystem::path TemporaryNameBeside(const std::filesystem::path& target);

} // namespace host
