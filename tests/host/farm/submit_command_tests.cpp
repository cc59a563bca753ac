#include "host/farm/submit_command.h"

#include "host/base/text.h"
#include "host/farm/job_script.h"
#include "host/farm/job_watch.h"
#include "host/farm/slurm_client.h"
#include "host/scene/frame_list.h"

#include "../render_test_support.h"
#include "command_line.h"
#include "scratch_folder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <utility>

namespace {

std::string Parse(std::vector<std::string> args, host::SubmitOptions& options) {
    return ParseCommandLine(host::ParseSubmitOptions, std::move(args), options);
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
    EXPECT_NE(text.find("#SBATCH --array=1-2\n#SBATCH --output=\"/r/seq.%A_%a.log\"\n"), std::string::npos)
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

// No name turns into a command of the job script, and Slurm expands no '%' of a path.
TEST(JobScript, CarriesEveryNameAsItIsOrRefusesIt) {
    EXPECT_EQ(host::TaskLogFile("/r/100%%/a%b.%A_%a.log", "12", 3), "/r/100%/a%b.12_3.log");
    host::FarmJob job;
    job.name = "chromasift-a #\"b";
    job.logPattern = host::SlurmFilePattern("/r/100% done/a") + ".%A_%a.log";
    job.chunks = {{0}};
    job.tasks = {0};
    const std::string text = host::JobScriptText(job);
    EXPECT_NE(text.find("#SBATCH --job-name=\"chromasift-a \\#\\\"b\"\n"), std::string::npos) << text;
    EXPECT_NE(text.find("#SBATCH --output=\"/r/100%% done/a.%A_%a.log\"\n"), std::string::npos) << text;
    EXPECT_EQ(host::JobScriptRefusal(job), "");
    job.renderArguments = {"-o", "/r/a\nrm -rf ~_#.png"};
    EXPECT_NE(host::JobScriptRefusal(job).find("'/r/a\\nrm -rf ~_#.png' holds a control character"),
              std::string::npos);
    job.renderArguments.clear();
    job.logPattern = "/r/a\\b.%A_%a.log";
    EXPECT_NE(host::JobScriptRefusal(job).find("holds a backslash"), std::string::npos);
}

// Slurm as the watch sees it: the job's queue look by look, and frames that appear between looks.
class ScriptedSlurm : public host::SlurmClient {
public:
    std::vector<std::vector<host::QueuedTask>> looks;
    int look = 0;

    std::vector<std::string> submitted; // the scripts, in order
    std::map<int, std::string> ends;    // how tasks ended, as the controller says

    std::string TaskEnd(const std::string&, int task) override { return ends[task]; }

    std::string Submit(const std::string& script) override {
        submitted.push_back(script);
        return "7";
    }
    std::vector<host::QueuedTask> Queue(const std::string& id) override {
        EXPECT_EQ(id, "7");
        return look < static_cast<int>(looks.size()) ? looks[static_cast<std::size_t>(look)]
                                                     : std::vector<host::QueuedTask>();
    }
};

// Job 7 of every chunk's task, writing f_##.png and its logs into `folder`.
host::WatchedJob JobIn(const ScratchFolder& folder, std::vector<std::vector<int>> chunks) {
    host::WatchedJob job;
    job.id = "7";
    job.outputPattern = folder.File("f_##.png");
    job.logPattern = folder.File("f.%A_%a.log");
    job.chunks = std::move(chunks);
    for (std::size_t task = 0; task < job.chunks.size(); ++task)
        job.tasks.push_back(static_cast<int>(task));
    return job;
}

TEST(JobWatch, NamesTheChunksWhoseFramesAreMissingWithTheirLogs) {
    const ScratchFolder folder;
    const host::WatchedJob job = JobIn(folder, {{0, 1}, {2, 3}, {4}});
    const auto write = [&](int frame) {
        std::ofstream(host::FrameFileName(job.outputPattern, frame)) << render_test::kWholePng;
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

// On a terminal the progress is one line redrawn; a task that left its log empty is told by how Slurm says it
// ended; a job whose frames are all there succeeds.
TEST(JobWatch, RedrawsOneLineAndSaysHowASilentTaskEnded) {
    const ScratchFolder folder;
    const host::WatchedJob job = JobIn(folder, {{0}, {1}});
    ScriptedSlurm slurm;
    slurm.ends[1] = "state CANCELLED, signal 15";
    slurm.looks = {{{0, "R"}, {1, "R"}}};
    const auto watch = [&](std::string& said) {
        std::ostringstream out, err;
        slurm.look = 0;
        const int status = host::WatchJob(job, slurm, out, err, true, [&] {
            std::ofstream(host::FrameFileName(job.outputPattern, 0)) << render_test::kWholePng;
            ++slurm.look;
        });
        said = out.str() + err.str();
        return status;
    };
    std::string said;
    EXPECT_EQ(watch(said), 1);
    EXPECT_EQ(
        said.rfind(
            "\rJob 7: 0 of 2 frames, 2 tasks running, 0 failed\rJob 7: 1 of 2 frames, 0 tasks running, "
            "1 failed\nchromasift: task 1 (frames 1) failed, 1 missing: its log says nothing; Slurm says "
            "state CANCELLED, signal 15\n",
            0),
        0u)
        << said;
    std::ofstream(host::FrameFileName(job.outputPattern, 1)) << render_test::kWholePng;
    EXPECT_EQ(watch(said), 0);
    EXPECT_NE(said.find("All 2 frames are there\n"), std::string::npos) << said;

    const std::pair<const char*, const char*> records[] = {
        {"JobId=5 ArrayTaskId=1 JobState=CANCELLED Reason=None ExitCode=0:15", "state CANCELLED, signal 15"},
        {"JobId=5 JobState=FAILED Reason=NonZeroExitCode ExitCode=1:0", "state FAILED, exit code 1"},
        {"JobId=5 JobState=TIMEOUT ExitCode=0:0", "state TIMEOUT"},
        {"slurm_load_jobs error: Invalid job id specified", ""}};
    for (const auto& [record, expected] : records)
        EXPECT_EQ(host::TaskEndFromRecord(record), expected);
}

// Submitting again sends only the chunks with frames missing, names the job's files, passes the plug-in
// folders on, and sends nothing when every frame is there or a name cannot go into the script.
TEST(SubmitCommand, SubmitsTheChunksWithFramesMissing) {
    const ScratchFolder folder;
    const std::string pattern = folder.File("s_#.png");
    std::ofstream(host::FrameFileName(pattern, 0)) << render_test::kWholePng;
    std::ofstream(host::FrameFileName(pattern, 1)) << render_test::kWholePng;
    std::ofstream(host::FrameFileName(pattern, 3)); // empty: missing
    const auto submit = [&](const std::string& frames, const std::string& output, ScriptedSlurm& slurm) {
        host::SubmitOptions options;
        EXPECT_EQ(Parse({"--frames", frames, "--chunk", "2", "--mode", "Per Face", "-o", output}, options),
                  "");
        options.pluginDirs = {"plug ins"};
        std::ostringstream out, err;
        const int status = host::RunSubmitCommand(options, slurm, out, err, false);
        return std::to_string(status) + " " + out.str() + err.str();
    };
    ScriptedSlurm slurm;
    const std::string said = submit("0-4", pattern, slurm);
    EXPECT_EQ(said, "0 Submitted job 7: frames 0-4 in 2 of 3 chunks of up to 2 frames; script " +
                        folder.File("s.sbatch") + "; logs " + folder.File("s.%A_%a.log") + "\n");
    ASSERT_EQ(slurm.submitted, std::vector<std::string>{folder.File("s.sbatch")});
    const std::string script = ReadBytes(folder / "s.sbatch");
    EXPECT_NE(script.find("#SBATCH --array=1-2\n"), std::string::npos) << script;
    EXPECT_NE(script.find("--plugin-dir '" + Absolute("plug ins") + "' render"), std::string::npos) << script;

    EXPECT_EQ(submit("0-1", pattern, slurm),
              "0 Every one of the 2 frames is there already: nothing to submit\n");
    EXPECT_NE(submit("0-1", folder.File("a\nb_#.png"), slurm).find("1 chromasift: cannot submit the job: "),
              std::string::npos);
    EXPECT_EQ(slurm.submitted.size(), 1u);
}

} // namespace
