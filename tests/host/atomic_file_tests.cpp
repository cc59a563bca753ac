// Files replaced whole: a write that fails at any step leaves the old file as it was, no temporary file
// behind, and a message naming the file and the reason.
#include "atomic_file_test_support.h"
#include "error_message.h"

#include "host/base/atomic_file.h"
#include "host/base/text.h"
#include "host/draw/png_file.h"
#include "host/scene/scene.h"
#include "host/scene/scene_file.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;
using atomic_file_test::ExpectFailure;
using atomic_file_test::FolderEntries;

// The system's steps with one of them failing the way the system fails. A failing write first puts half
// the bytes into the temporary file, as a disk that fills up part way does; a failing flush leaves the
// file open; a failing replacement leaves the finished temporary file where it is; a throwing step (no
// memory) leaves the temporary file open.
class FailingSteps final : public host::FileReplaceSteps {
public:
    enum class Fault { Create, Write, Finish, Replace, Throw };
    explicit FailingSteps(Fault fault) : fault(fault), system(host::SystemFileReplaceSteps()) {}

    std::string CreateTemporary(const fs::path& target, fs::path& temporary) override {
        if (fault == Fault::Create)
            return "no room for a new file";
        const std::string reason = system->CreateTemporary(target, temporary);
        created = temporary;
        return reason;
    }
    std::string Write(std::string_view bytes) override {
        if (fault == Fault::Throw)
            throw std::runtime_error("the writer threw");
        if (fault != Fault::Write)
            return system->Write(bytes);
        EXPECT_EQ(system->Write(bytes.substr(0, bytes.size() / 2)), "");
        EXPECT_TRUE(fs::exists(created)) << "the half-written temporary file exists until it is discarded";
        return "no space left";
    }
    std::string Finish() override { return fault == Fault::Finish ? "the flush failed" : system->Finish(); }
    std::string Replace(const fs::path& temporary, const fs::path& target) override {
        return fault == Fault::Replace ? "the target is locked" : system->Replace(temporary, target);
    }
    void Discard(const fs::path& temporary) override {
        ++discarded;
        system->Discard(temporary);
    }

    Fault fault;
    std::unique_ptr<host::FileReplaceSteps> system;
    fs::path created;
    int discarded = 0;
};

TEST(AtomicFile, ReplacesTheWholeFileAndLeavesNothingBeside) {
    const ScratchFolder folder;
    const fs::path file = folder.Path() / "scene.json";
    host::WriteFileAtomically(file, "first content, rather long\n");
    EXPECT_EQ(ReadBytes(file), "first content, rather long\n");
    host::WriteFileAtomically(file, "second\r\n");
    EXPECT_EQ(ReadBytes(file), "second\r\n") << "shorter content leaves no tail, bytes stay unchanged";
    host::WriteFileAtomically(file, "");
    EXPECT_EQ(ReadBytes(file), "");
    EXPECT_EQ(FolderEntries(folder.Path()), std::vector<std::string>{"scene.json"});

    // UTF-8 names, as the user gives them.
    const fs::path named = folder.Path() / host::PathFromUtf8("pal\xc3\xa9tte \xe2\x98\x85.gpl");
    host::WriteFileAtomically(named, "GIMP Palette\n");
    EXPECT_EQ(ReadBytes(named), "GIMP Palette\n");
}

TEST(AtomicFile, AFailureAtAnyStepKeepsTheOldFileAndRemovesTheTemporary) {
    const ScratchFolder folder;
    const fs::path file = folder.Path() / "picture.png";
    const std::string old = "the old picture, which must survive";
    const std::string name = host::PathToUtf8(file);
    const struct {
        FailingSteps::Fault fault;
        std::string message;
        bool temporaryMade;
    } cases[] = {
        {FailingSteps::Fault::Create, name + ": cannot open the file for writing: no room for a new file",
         false},
        {FailingSteps::Fault::Write, name + ": cannot write the file: no space left", true},
        {FailingSteps::Fault::Finish, name + ": cannot write the file: the flush failed", true},
        {FailingSteps::Fault::Replace, name + ": cannot replace the file: the target is locked", true},
        {FailingSteps::Fault::Throw, "the writer threw", true}, // passed on as it was thrown
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        WriteBytes(file, old);
        FailingSteps steps(c.fault);
        // The new content is longer than the old, so that a write in place would show.
        ExpectFailure([&] { host::WriteFileAtomically(file, std::string(50000, 'x'), steps); }, c.message);
        EXPECT_EQ(ReadBytes(file), old);
        EXPECT_EQ(FolderEntries(folder.Path()), std::vector<std::string>{"picture.png"});
        EXPECT_EQ(steps.discarded, c.temporaryMade ? 1 : 0);
        if (c.temporaryMade) {
            EXPECT_EQ(steps.created.parent_path(), file.parent_path())
                << "the temporary lies beside the target";
            EXPECT_NE(steps.created, file);
        }
    }
}

TEST(AtomicFile, FoldersThatCannotTakeTheFileAreReportedWithTheSystemsReason) {
    const ScratchFolder folder;
    const fs::path missing = folder.Path() / "no-such-folder" / "out.png";
    const std::string name = host::PathToUtf8(missing);
    const std::string message =
        ErrorOf<host::FileWriteError>([&] { host::WriteFileAtomically(missing, "bytes"); });
    const std::string expected = name + ": cannot open the file for writing: ";
    EXPECT_EQ(message.substr(0, expected.size()), expected);
    EXPECT_GT(message.size(), expected.size() + 3) << "the system's reason follows: " << message;
    EXPECT_FALSE(fs::exists(missing.parent_path()));

    // A folder where the file should be stays a folder, with what it holds.
    const fs::path directory = folder.Path() / "out.gpl";
    fs::create_directories(directory / "inside");
    ExpectFailure([&] { host::WriteFileAtomically(directory, "bytes"); },
                  host::PathToUtf8(directory) + ": cannot write the file: it is a directory");
    EXPECT_EQ(FolderEntries(directory), std::vector<std::string>{"inside"});
    EXPECT_EQ(FolderEntries(folder.Path()), std::vector<std::string>{"out.gpl"});
}

TEST(AtomicFile, WritersAtOnceEachReplaceTheFileWhole) {
    const ScratchFolder folder;
    const fs::path file = folder.Path() / "sheet.png";
    const int writers = 8;
    std::vector<std::string> contents;
    for (int i = 0; i < writers; ++i)
        contents.push_back(std::string(20000 + i, static_cast<char>('a' + i)));
    std::vector<std::string> errors(writers);
    std::vector<std::thread> threads;
    for (int i = 0; i < writers; ++i)
        threads.emplace_back([&, i] {
            for (int round = 0; round < 10; ++round) {
                try {
                    host::WriteFileAtomically(file, contents[i]);
                } catch (const std::exception& e) {
                    errors[i] = e.what();
                }
            }
        });
    for (std::thread& thread : threads)
        thread.join();
    for (const std::string& error : errors)
        EXPECT_EQ(error, "");
    const std::string result = ReadBytes(file);
    EXPECT_NE(std::find(contents.begin(), contents.end(), result), contents.end())
        << "one writer's whole content, not a mixture: " << result.size() << " bytes";
    EXPECT_EQ(FolderEntries(folder.Path()), std::vector<std::string>{"sheet.png"});
}

// The tool's writers go through the replacement: a target they cannot replace keeps its content.
TEST(AtomicFile, PicturesAndScenesAreReplacedWhole) {
    const ScratchFolder folder;
    const fs::path picture = folder.Path() / "render.png";
    host::WritePng(picture, 2, 1, {255, 0, 0, 255, 0, 0, 255, 255});
    const std::string first = ReadBytes(picture);
    EXPECT_EQ(first.substr(1, 3), "PNG");
    host::WritePng(picture, 1, 1, {0, 255, 0, 255});
    EXPECT_NE(ReadBytes(picture), first);
    EXPECT_EQ(FolderEntries(folder.Path()), std::vector<std::string>{"render.png"});

    host::SceneRoot scene;
    const fs::path saved = folder.Path() / "scene.json";
    host::SaveScene(scene, saved);
    EXPECT_EQ(ReadBytes(saved), host::SceneToJson(scene));
    ExpectFailure(
        [&] {
            host::WritePng(folder.Path(), 1, 1, {0, 0, 0, 255});
        },
        host::PathToUtf8(folder.Path()) + ": cannot write the file: it is a directory");
}

} // namespace
