// Whole-file replacement against the real system calls of Linux: a write the kernel cuts short, the
// permissions of a replaced file, and a target reached through a symbolic link.
#include "atomic_file_test_support.h"

#include "host/atomic_file.h"
#include "host/render/png_file.h"
#include "host/text.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using atomic_file_test::ExpectFailure;
using atomic_file_test::FolderEntries;
using atomic_file_test::ReadBytes;
using atomic_file_test::TestFolder;
using atomic_file_test::WriteBytes;

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
    const TestFolder folder("file_size_limit");
    const fs::path file = folder.Path() / "render.png";
    const std::string old(1000, 'o');
    WriteBytes(file, old);
    const std::string name = host::PathToUtf8(file);
    {
        const FileSizeLimit limit(4096);
        ExpectFailure([&] { host::WriteFileAtomically(file, std::string(10000, 'n')); },
                      name + ": cannot write the file: File too large");
        // A whole PNG of 300 x 200 noisy pixels is larger than the limit too.
        std::vector<std::uint8_t> rgba(300 * 200 * 4);
        for (std::size_t i = 0; i < rgba.size(); ++i)
            rgba[i] = static_cast<std::uint8_t>((i * 2654435761u) >> 13);
        ExpectFailure([&] { host::WritePng(file, 300, 200, rgba); },
                      name + ": cannot write the file: File too large");
    }
    EXPECT_EQ(ReadBytes(file), old);
    EXPECT_EQ(FolderEntries(folder.Path()), std::vector<std::string>{"render.png"});
}

TEST(AtomicFileLinux, AReplacedFileKeepsItsPermissions) {
    const TestFolder folder("permissions");
    const fs::path file = folder.Path() / "palette.gpl";
    WriteBytes(file, "old");
    ASSERT_EQ(chmod(file.c_str(), 0640), 0);
    host::WriteFileAtomically(file, "new");
    struct stat status {};
    ASSERT_EQ(stat(file.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0640u);
    EXPECT_EQ(ReadBytes(file), "new");
}

TEST(AtomicFileLinux, ALinkedTargetIsReplacedThroughTheLink) {
    const TestFolder folder("link");
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
}

} // namespace
