// The tool's side of the model reader process: what it makes of a reader that answers, fails, crashes,
// hangs, runs out of memory or sends nonsense, with a stand-in reader that misbehaves on request (the file
// name says how). Every outcome is one line naming the file, and no child is left behind.
#include "host/import/model_reader_process.h"

#include "error_message.h"
#include "host/import/model_reader_limits.h"
#include "host/import/model_reader_protocol.h"
#include "part_faces.h"
#include "scratch_folder.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <stdexcept>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using host::ModelImportOptions;
using host::RunModelReader;

constexpr const char* kReader = MISBEHAVING_MODEL_READER;

// The message RunModelReader throws for the behaviour ("no error" when it takes the reader's answer).
std::string Failure(const std::string& behaviour, const ModelImportOptions& options = {}) {
    return ErrorOf<std::runtime_error>([&] { RunModelReader(kReader, "models/" + behaviour, options); });
}

// No child of this process is left running or unreaped.
void ExpectNoChildren() {
    errno = 0;
    EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1);
    EXPECT_EQ(errno, ECHILD) << "a reader process was left behind";
}

TEST(ModelReaderProcess, AnAnswerComesBackAsTheModel) {
    const host::ImportedModel model = RunModelReader(kReader, "quad", {});
    ASSERT_EQ(model.parts.size(), 1u);
    EXPECT_EQ(model.parts[0].name, "quad");
    EXPECT_EQ(import_test::Faces(model.parts[0]), (import_test::FaceLists{{0, 1, 2, 3}}));
    ExpectNoChildren();
}

TEST(ModelReaderProcess, TheOptionsReachTheReader) {
    ModelImportOptions options;
    options.triangulate = true;
    options.upAxis = 'z';
    options.memoryLimitBytes = 123456789;
    EXPECT_EQ(Failure("arguments", options), "triangulate 1, up z, memory 123456789");
    EXPECT_EQ(Failure("arguments"),
              "triangulate 0, up -, memory " + std::to_string(host::DefaultModelReaderMemoryLimit()));
}

TEST(ModelReaderProcess, TheReaderRunsWithHugePagesBesideTheToolsOwnTunablesUnlessTheySayOtherwise) {
    const char* own = std::getenv("GLIBC_TUNABLES");
    const std::string kept = own != nullptr ? own : "";
    unsetenv("GLIBC_TUNABLES");
    EXPECT_EQ(Failure("tunables"), "tunables glibc.malloc.hugetlb=1");
    setenv("GLIBC_TUNABLES", "glibc.malloc.check=0", 1);
    EXPECT_EQ(Failure("tunables"), "tunables glibc.malloc.check=0:glibc.malloc.hugetlb=1");
    // A user who set it, or chose another, has it passed on once, as it is.
    setenv("GLIBC_TUNABLES", "glibc.malloc.hugetlb=1", 1);
    EXPECT_EQ(Failure("tunables"), "tunables glibc.malloc.hugetlb=1");
    setenv("GLIBC_TUNABLES", "glibc.malloc.check=0:glibc.malloc.hugetlb=0", 1);
    EXPECT_EQ(Failure("tunables"), "tunables glibc.malloc.check=0:glibc.malloc.hugetlb=0");
    if (own != nullptr)
        setenv("GLIBC_TUNABLES", kept.c_str(), 1);
    else
        unsetenv("GLIBC_TUNABLES");
}

TEST(ModelReaderProcess, TheReaderInheritsNoDescriptors) {
    // A descriptor the tool opened without close-on-exec, as libraries sometimes do.
    const int leaky = open("/dev/null", O_RDONLY);
    ASSERT_GE(leaky, 0);
    EXPECT_EQ(Failure("descriptors"), "open: none");
    close(leaky);
}

// Each failure is one line naming the file and saying what the reader did.
TEST(ModelReaderProcess, ReadersThatCrashHangFloodOrAnswerBadlyAreStopped) {
    ModelImportOptions plain, timed, roomy, small;
    timed.timeLimitSeconds = 0.3;
    roomy.memoryLimitBytes = std::uint64_t(512) << 20;
    small.memoryLimitBytes = std::uint64_t(64) << 20;
    const std::string stopped = "the model reader took longer than 0.3 s and was stopped "
                                "(--import-time-limit sets the limit)";
    const std::string malformed = "the model reader gave a malformed answer: ";
    const struct {
        const char* behaviour;
        const ModelImportOptions& options;
        std::string expected;
    } cases[] = {
        {"bus-error", plain, "the model reader crashed (SIGBUS)"},
        {"abort", plain, "the model reader crashed (SIGABRT)"},
        {"hang", timed, stopped},
        // Its answer was complete, but the reader never ended: the limit covers the whole run.
        {"hang-after-answer", timed, stopped},
        {"memory", roomy, "the model reader ran out of memory (it may use 512 MiB) and was stopped"},
        {"flood", small, "the model reader sent more than 64 MiB and was stopped"},
        // The reader ended well but its answer did not: decoded as it came, it stopped inside the vertices.
        {"truncated", plain, malformed + "it ends inside vertices"},
        {"garbage", plain, malformed + "it does not start as an answer does"},
        {"garbage-then-more", plain, malformed + "it does not start as an answer does"},
        {"crash-inside-answer", plain, "the model reader crashed (SIGSEGV)"},
        {"exit-5", plain, "the model reader failed with exit status 5"},
        {"unknown-behaviour", plain, "the model reader failed with exit status 2"},
    };
    for (const auto& c : cases) {
        if (std::string(c.behaviour) == "memory" && !host::AddressSpaceLimitWorks())
            continue; // a sanitized build runs readers without a memory limit
        EXPECT_EQ(Failure(c.behaviour, c.options), "models/" + std::string(c.behaviour) + ": " + c.expected);
    }
    EXPECT_EQ(ErrorOf<std::runtime_error>([] { RunModelReader("/nonexistent/reader", "model.ply", {}); }),
              "model.ply: the model reader /nonexistent/reader could not be started");
    ExpectNoChildren();
}

// A signal that interrupts the tool's waits (no SA_RESTART) many times while it reads an answer that
// arrives in pieces.
TEST(ModelReaderProcess, InterruptedReadsGoOn) {
    struct sigaction tick {};
    tick.sa_handler = [](int) {};
    struct sigaction previous {};
    ASSERT_EQ(sigaction(SIGALRM, &tick, &previous), 0);
    const itimerval often{{0, 2000}, {0, 2000}};
    ASSERT_EQ(setitimer(ITIMER_REAL, &often, nullptr), 0);
    std::string failure;
    host::ImportedModel model;
    try {
        model = RunModelReader(kReader, "slow-answer", {});
    } catch (const std::runtime_error& e) {
        failure = e.what();
    }
    const itimerval off{};
    setitimer(ITIMER_REAL, &off, nullptr);
    sigaction(SIGALRM, &previous, nullptr);
    EXPECT_EQ(failure, "");
    ASSERT_EQ(model.parts.size(), 1u);
    EXPECT_EQ(model.parts[0].verts.size(), 4u);
    ExpectNoChildren();
}

// A device or a pipe would keep a reader reading until its time runs out: it is refused first.
TEST(ModelReaderProcess, APathThatIsNoRegularFileStartsNoReader) {
    const ScratchFolder folder;
    const std::string pipe = folder.File("pipe.obj");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    ModelImportOptions options;
    options.timeLimitSeconds = 1;
    EXPECT_EQ(ErrorOf<std::runtime_error>([&] { host::ImportModel(pipe, options); }),
              pipe + ": cannot open the model file: it is not a regular file");
}

TEST(ModelReaderProcess, TheToolFindsTheBuildsReader) {
    const std::string reader = host::FindModelReader();
    ASSERT_FALSE(reader.empty());
    EXPECT_EQ(reader.substr(reader.find_last_of('/') + 1), host::kModelReaderProgram);
}

} // namespace
