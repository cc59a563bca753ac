// Whole-file replacement against the real calls of Windows (under Wine in CI): a read-only file refused and
// kept, a device written as it stands, and a target another program holds open replaced once it lets go.
#include "scratch_folder.h"

#include "host/base/atomic_file.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <thread>

namespace {

namespace fs = std::filesystem;

TEST(AtomicFileWin32, ReadOnlyRefusedDevicesWrittenAndHeldTargetsRetried) {
    const ScratchFolder folder;
    const fs::path file = folder.Path() / "render.png";
    WriteBytes(file, "old");
    ASSERT_TRUE(SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_THROW(host::WriteFileAtomically(file, "new"), host::FileWriteError);
    EXPECT_EQ(ReadBytes(file), "old");
    ASSERT_TRUE(SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL));

    EXPECT_NO_THROW(host::WriteFileAtomically(L"NUL", "into the device"));

    // Open without sharing, as a scanner may hold it: the replacement waits for it to let go.
    HANDLE held = CreateFileW(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    std::thread release([held] {
        Sleep(150);
        CloseHandle(held);
    });
    EXPECT_NO_THROW(host::WriteFileAtomically(file, "new"));
    release.join();
    EXPECT_EQ(ReadBytes(file), "new");
}

} // namespace
