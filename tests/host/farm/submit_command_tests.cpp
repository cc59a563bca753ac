#include "host/farm/submit_command.h"

#include "host/base/text.h"
#include "host/farm/job_script.h"
#include "host/farm/job_watch.h"
#include "host/scene/frame_list.h"

#include "scratch_folder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

std::string Parse(std::vector<std::string> args, host::SubmitOptions& options) {
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(arg.data());
    return host::ParseSubmitOptions(static_cast<int>(argv.size()), argv.data(), 0, options);
}

std::string Absolute(const std::string& path) {
    return host::PathToUtf8(std::filesystem::absolute(path).lexically_normal());
}

TEST(SubmitCommand, TakesItsOwnOptionsAndPassesRendersOnWithAbsolutePaths) {
    host::SubmitOptions options;
    ASSERT_EQ(Parse({"shot.json", "--chunk", "5", "--frames", "0-11", "--mode", "Per Face", "--partition",
                     "gpu", "--wait", "--skip-existing", "--bitmap", "sky.jpg", "-o", "out/seq_####.png"},
                    options),
              "");
    EXPECT_EQ(options.chunk, 5);
    EXPECT_EQ(options.partition, "gpu");
    EXPECT_TRUE(options.wait);
    EXPECT_EQ(options.render.frames->size(), 12u);
    EXPECT_EQ(host::AbsoluteRenderArguments(options.renderArguments),
              (std::vector<std::string>{Absolute("shot.json"), "--mode", "Per Face", "--bitmap",
                                        Absolute("sky.jpg"), "-o", Absolute("out/seq_####.png")}));
    const struct {
        std::vector<std::string> args;
        std::string expected;
    } refused[] = {
        {{"--frames", "0-9", "--chunk", "0", "-o", "s_#.png"},
         "--chunk takes a number of frames from 1 to 100000"},
        {{"--frame", "3", "-o", "s.png"}, "'submit' renders sequences: --frames LIST, not --frame"},
        {{"-o", "s_#.png"}, "'submit' needs the frames to render"},
        {{"--frames", "0-9", "--partition", "a b", "-o", "s_#.png"}, "--partition takes a partition's name"},
        {{"--frames", "0-9", "--colors", "0", "-o", "s_#.png"}, "--colors takes a number from 1 to 100"},
    };
    for (const auto& c : refused) {
        host::SubmitOptions bad;
        const std::string error = Parse(c.args, bad);
        EXPECT_NE(error.find(c.expected), std::string::npos) << error;
    }
}

TEST(SubmitCommand, WarnsOfModesThatDependOnHowTheSequenceIsCut) {
    const struct {
        std::vector<std::string> args;
        std::string expected; // empty: no warning
    } cases[] = {
        {{"--frames", "0-11", "--mode", "Linear"}, "the scene's maps use \"Linear\", which carry a counter"},
        {{"--frames", "0-11"}, "use \"Random\""}, // the built-in scene's map leaves its mode at "Random"
        {{"--frames", "0-11", "--mode", "Mirror", "--chunk", "1"}, ""},
        {{"--frames", "0-11", "--mode", "Per Face"}, ""},
    };
    for (const auto& c : cases) {
        host::SubmitOptions options;
        std::vector<std::string> args = c.args;
        args.insert(args.end(), {"-o", "s_##.png"});
        ASSERT_EQ(Parse(args, options), "");
        const std::string warning = host::ChunkingWarning(options);
        if (c.expected.empty())
            EXPECT_EQ(warning, "") << ::testing::PrintToString(c.args);
        else
            EXPECT_NE(warning.find(c.expected), std::string::npos) << warning;
    }
}

TEST(JobScript, NamesItsFilesBesideTheFramesAndRunsEachChunk) {
    EXPECT_EQ(host::JobFileName("/r/seq_####.png", ".sbatch"), "/r/seq.sbatch");
    EXPECT_EQ(host::JobFileName("/r/####.png", ".sbatch"), "/r/frames.sbatch");
    EXPECT_EQ(host::JobFileName("/r/a_##_b.exr", ".1_2.log"), "/r/a_b.1_2.log");
    EXPECT_EQ(host::TaskLogFile("/r/seq.%A_%a.log", "12", 3), "/r/seq.12_3.log");

    // The script runs in a POSIX shell; `echo` in place of the tool shows what a task runs.
    const ScratchFolder folder;
    host::FarmJob job;
    job.name = "chromasift-seq";
    job.script = folder.File("job.sbatch");
    job.tool = "/bin/echo";
    job.toolOptions = {"--plugin-dir", "/opt/plug ins"};
    job.renderArguments = {"/scenes/it's.json", "--mode", "Per Face", "-o", "/r/seq_####.png"};
    job.chunks = {{0, 1, 2}, {3, 4, 8}, {9}};
    job.tasks = {1, 2};
    job.logPattern = "/r/seq.%A_%a.log";
    const std::string text = host::JobScriptText(job);
    EXPECT_NE(text.find("#SBATCH --array=1-2\n#SBATCH --output=/r/seq.%A_%a.log\n"), std::string::npos)
        << text;
    EXPECT_EQ(text.find("--partition"), std::string::npos);
    WriteBytes(folder / "job.sbatch", text);
    const auto run = [&job](int task) {
        const std::string command =
            "SLURM_ARRAY_TASK_ID=" + std::to_string(task) + " sh " + job.script + " 2>&1";
        FILE* pipe = popen(command.c_str(), "r");
        std::string output;
        char buffer[256];
        while (pipe != nullptr && std::fgets(buffer, sizeof buffer, pipe) != nullptr)
            output += buffer;
        return output + "status " + std::to_string(pipe != nullptr ? pclose(pipe) : -1);
    };
    EXPECT_EQ(run(1),
              "--plugin-dir /opt/plug ins render /scenes/it's.json --mode Per Face -o /r/seq_####.png "
              "--skip-existing --frames 3-4,8\nstatus 0");
    EXPECT_NE(run(0).find("--frames 0-2\nstatus 0"), std::string::npos) << "every chunk has its case";
    EXPECT_NE(run(7).find("this job has no task '7'"), std::string::npos);
}

// Slurm as the watch sees it: the job's queue look by look, and frames that appear between looks.
class ScriptedSlurm : public host::SlurmClient {
public:
    std::vector<std::vector<host::QueuedTask>> looks;
    int look = 0;

    std::string Submit(const std::string&) override { return "7"; }
    std::vector<host::QueuedTask> Queue(const std::string& id) override {
        EXPECT_EQ(id, "7");
        return look < static_cast<int>(looks.size()) ? looks[static_cast<std::size_t>(look)]
                                                     : std::vector<host::QueuedTask>();
    }
};

TEST(JobWatch, NamesTheChunksWhoseFramesAreMissingWithTheirLogs) {
    const ScratchFolder folder;
    host::WatchedJob job;
    job.id = "7";
    job.outputPattern = folder.File("f_##.png");
    job.logPattern = folder.File("f.%A_%a.log");
    job.chunks = {{0, 1}, {2, 3}, {4}};
    job.tasks = {0, 1, 2};
    const auto write = [&](int frame) {
        std::ofstream(host::FrameFileName(job.outputPattern, frame)) << "png";
    };
    std::ofstream(host::TaskLogFile(job.logPattern, "7", 1))
        << "starting\nchromasift: s.json: cannot open the scene file\n\n";

    ScriptedSlurm slurm;
    slurm.looks = {{{0, "R"}, {1, "R"}, {2, "PD"}}, {{2, "R"}}, {{2, "CG"}}};
    std::ostringstream out, err;
    const int status = host::WatchJob(job, slurm, out, err, false, [&] {
        // Task 0 writes its frames and ends; task 1 ends without; task 2 writes its frame.
        if (slurm.look == 0) {
            write(0);
            write(1);
        }
        if (slurm.look == 1)
            write(4);
        ++slurm.look;
    });
    EXPECT_EQ(status, 1);
    EXPECT_NE(err.str().find("Job 7: 0 of 5 frames, 2 tasks running, 0 failed\n"
                             "Job 7: 2 of 5 frames, 1 task running, 1 failed\n"
                             "Job 7: 3 of 5 frames, 1 task running, 1 failed\n"
                             "Job 7: 3 of 5 frames, 0 tasks running, 1 failed\n"),
              std::string::npos)
        << err.str();
    EXPECT_NE(
        err.str().find("chromasift: task 1 (frames 2-3) failed, 2-3 missing: chromasift: s.json: cannot "
                       "open the scene file\n  log: " +
                       host::TaskLogFile(job.logPattern, "7", 1) + "\n"),
        std::string::npos)
        << err.str();
    EXPECT_NE(err.str().find("2 of 5 frames missing"), std::string::npos);
    EXPECT_EQ(err.str().find("task 0"), std::string::npos);
}

} // namespace
