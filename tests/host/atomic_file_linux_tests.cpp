// Whole-file replacement against the real system calls of Linux: a write the kernel cuts short, the
// permissions and owner of a replaced file, a file the user may not write, a target reached through a
// symbolic link (and one to nothing, refused), and targets that are no files (a device, a named pipe,
// standard output).
#include "atomic_file_test_support.h"

#include "host/base/atomic_file.h"
#include "host/base/text.h"
#include "host/draw/png_file.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using atomic_file_test::ExpectFailure;
using atomic_file_test::FolderEntries;

// While it lives, files of this process cannot grow past `bytes`: write(2) stores what fits and then fails
// with EFBIG, as it fails with ENOSPC on a full disk.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved);
        previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved;
        limit.rlim_cur = bytes;
        EXPECT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previousHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit saved{};
    void (*previousHandler)(int) = nullptr;
};

TEST(AtomicFileLinux, AWriteTheKernelCutsShortKeepsTheOldFile) {
    const ScratchFolder folder;
    const fs::path file = folder.Path() / "render.png";
    const std::string old(1000, 'o');
    WriteBytes(file, old);
    const std::string name = host::PathToUtf8(file);
    {
        const FileSizeLimit limit(4096);
        ExpectFailure([&] { host::WriteFileAtomically(file, std::string(10000, 'n')); },
                      name + ": cannot write the file: File too large");
    }
    EXPECT_EQ(ReadBytes(file), old);
    EXPECT_EQ(FolderEntries(folder.Path()), std::vector<std::string>{"render.png"});
}

// A user other than root, for what root may do anyway.
constexpr uid_t kOtherUser = 65534;

TEST(AtomicFileLinux, AReplacedFileKeepsItsPermissionsAndOwner) {
    const ScratchFolder folder;
    const fs::path file = folder.Path() / "palette.gpl";
    WriteBytes(file, "old");
    ASSERT_EQ(chmod(file.c_str(), 0640), 0);
    const bool root = geteuid() == 0;
    if (root) {
        ASSERT_EQ(chown(file.c_str(), kOtherUser, kOtherUser), 0);
    }
    host::WriteFileAtomically(file, "new");
    struct stat status {};
    ASSERT_EQ(stat(file.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0640u);
    if (root) {
        EXPECT_EQ(status.st_uid, kOtherUser) << "root replaces another user's file, which stays theirs";
    }
    EXPECT_EQ(ReadBytes(file), "new");
}

// Refused as cp refuses it; root may write such a file, so the write is tried as another user.
TEST(AtomicFileLinux, AFileTheUserMayNotWriteIsRefusedAndKept) {
    const ScratchFolder folder;
    ASSERT_EQ(chmod(folder.Path().c_str(), 0777), 0) << "the folder would take a replacement";
    const fs::path file = folder.Path() / "render.png";
    WriteBytes(file, "old");
    ASSERT_EQ(chmod(file.c_str(), 0444), 0);
    const std::string expected = host::PathToUtf8(file) + ": cannot write the file: Permission denied";
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (geteuid() == 0 && (setgid(kOtherUser) != 0 || setuid(kOtherUser) != 0))
            _exit(3);
        try {
            host::WriteFileAtomically(file, "new");
        } catch (const host::FileWriteError& e) {
            _exit(e.what() == expected ? 0 : 2);
        }
        _exit(1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_EQ(WEXITSTATUS(status), 0)
        << "1: written, 2: another message than '" << expected << "', 3: no other user to be";
    EXPECT_EQ(ReadBytes(file), "old");
}

// Whatever is no file of the disk is written as it stands, never replaced by a file.
TEST(AtomicFileLinux, DevicesPipesAndStandardOutputAreWrittenNotReplaced) {
    const ScratchFolder folder;
    const std::vector<std::uint8_t> rgba = {255, 0, 0, 255, 0, 0, 255, 255};
    const fs::path regular = folder.Path() / "render.png";
    host::WritePng(regular, 2, 1, rgba);
    const std::string png = ReadBytes(regular);

    // A null device of the test's own.
    const fs::path device = folder.Path() / "null";
    if (mknod(device.c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0)
        GTEST_SKIP() << "no device node can be made here (mknod: " << std::strerror(errno)
                     << "); it needs root outside a container that forbids it";
    host::WritePng(device, 2, 1, rgba);
    struct stat status {};
    ASSERT_EQ(stat(device.c_str(), &status), 0);
    EXPECT_TRUE(S_ISCHR(status.st_mode)) << "the device was replaced";

    // A named pipe whose reader receives the picture. The reader is open before the write (the picture
    // fits the pipe's buffer), so that a pipe replaced by a file leaves it reading nothing, not waiting.
    const fs::path pipe = folder.Path() / "pipe";
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    const int reader = open(pipe.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    host::WritePng(pipe, 2, 1, rgba);
    std::string received(png.size() + 1, '\0');
    const ssize_t got = read(reader, received.data(), received.size());
    close(reader);
    received.resize(got < 0 ? 0 : static_cast<std::size_t>(got));
    EXPECT_EQ(received, png);
    ASSERT_EQ(stat(pipe.c_str(), &status), 0);
    EXPECT_TRUE(S_ISFIFO(status.st_mode)) << "the pipe was replaced";

    testing::internal::CaptureStdout();
    host::WritePng(host::kStandardOutputName, 2, 1, rgba);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), png);
    EXPECT_EQ(FolderEntries(folder.Path()), (std::vector<std::string>{"null", "pipe", "render.png"}));
}

TEST(AtomicFileLinux, ALinkedTargetIsReplacedThroughTheLink) {
    const ScratchFolder folder;
    fs::create_directories(folder.Path() / "real");
    const fs::path real = folder.Path() / "real" / "scene.json";
    WriteBytes(real, "old scene");
    const fs::path link = folder.Path() / "scene.json";
    fs::create_symlink(real, link);
    host::WriteFileAtomically(link, "new scene");
    EXPECT_TRUE(fs::is_symlink(link)) << "the link stays a link";
    EXPECT_EQ(ReadBytes(real), "new scene");
    EXPECT_EQ(FolderEntries(folder.Path() / "real"), std::vector<std::string>{"scene.json"});
    EXPECT_EQ(FolderEntries(folder.Path()), (std::vector<std::string>{"real", "scene.json"}));

    const fs::path dangling = folder.Path() / "dangling.png";
    fs::create_symlink(folder.Path() / "nowhere.png", dangling);
    ExpectFailure([&dangling] { host::WriteFileAtomically(dangling, "picture"); },
                  host::PathToUtf8(dangling) + ": not writing through dangling symlink");
    EXPECT_TRUE(fs::is_symlink(dangling));
    EXPECT_FALSE(fs::exists(folder.Path() / "nowhere.png"));
}

} // namespace
