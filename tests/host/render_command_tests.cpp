#include "host/render/render_command.h"

#include "render_test_support.h"

#include "host/render/builtin_scene.h"
#include "host/render/png_file.h"
#include "host/text.h"

#include "test_files.h"

#include "hostsdk/bitmap.h"
#include "hostsdk/core_interface.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <vector>

namespace {

using host::Json;

std::string Parse(std::vector<std::string> args, host::RenderOptions& options) {
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(arg.data());
    return host::ParseRenderOptions(static_cast<int>(argv.size()), argv.data(), 0, options);
}

// The words of a command line.
std::vector<std::string> Words(const std::string& line) {
    std::istringstream in(line);
    return {std::istream_iterator<std::string>(in), {}};
}

TEST(RenderCommand, ParsesEveryOption) {
    host::RenderOptions options;
    ASSERT_EQ(
        Parse(Words("scene.json --bitmap sky.jpg --mode mIrRoR --colors 12 --skip 2 --gamma 2.2 --hue 50 "
                    "--saturation 60 --value 70 --renderer vray --size 320x200 --threads 3 --unlit "
                    "--allow-missing -o out.png"),
              options),
        "");
    EXPECT_EQ(options.scene, "scene.json");
    EXPECT_EQ(options.map.bitmap, "sky.jpg");
    EXPECT_EQ(options.map.mode, 11) << "labels are matched whatever their case";
    EXPECT_EQ(options.map.colours, 12);
    EXPECT_EQ(options.map.skip, 2);
    EXPECT_FLOAT_EQ(*options.map.gamma, 2.2f);
    EXPECT_EQ(options.map.hue, 50);
    EXPECT_EQ(options.map.saturation, 60);
    EXPECT_EQ(options.map.value, 70);
    EXPECT_EQ(options.renderer, host::RendererKind::VRay);
    EXPECT_EQ(options.width, 320);
    EXPECT_EQ(options.height, 200);
    EXPECT_EQ(options.threads, 3);
    EXPECT_TRUE(options.unlit);
    EXPECT_TRUE(options.allowMissing);
    EXPECT_EQ(options.output, "out.png");

    // Every mode by its rollout label, each to its own combined number.
    std::set<int> combined;
    for (const host::MapMode& mode : host::MapModes()) {
        host::RenderOptions each;
        ASSERT_EQ(Parse({"--mode", mode.label, "-o", "x.png"}, each), "") << mode.label;
        combined.insert(*each.map.mode);
    }
    EXPECT_EQ(combined.size(), 17u);
    EXPECT_EQ(*combined.begin(), 0);
    EXPECT_EQ(*combined.rbegin(), 16);

    host::RenderOptions mentalRay;
    ASSERT_EQ(Parse({"--renderer", "mentalray", "--print-shader", "-o", "x.png"}, mentalRay), "");
    EXPECT_EQ(mentalRay.renderer, host::RendererKind::MentalRay);
    EXPECT_TRUE(mentalRay.printShader);
}

TEST(RenderCommand, RejectsBadArgumentsWithClearMessages) {
    const struct {
        std::vector<std::string> args;
        std::string expected;
    } cases[] = {
        {{"--mode", "Per Polygon", "-o", "a.png"},
         "--mode takes a mode's label as the map's rollout shows it ("},
        {{"--size", "640", "-o", "a.png"}, "--size takes WIDTHxHEIGHT"},
        {{"--size", "0x480", "-o", "a.png"}, "--size takes WIDTHxHEIGHT, each from 1 to 8192 pixels"},
        {{"--size", "640x-2", "-o", "a.png"}, "not '640x-2'"},
        {{"--size", "9000x10", "-o", "a.png"}, "--size takes"},
        {{"--size", "64x48x2", "-o", "a.png"}, "--size takes"},
        {{"--colors", "0", "-o", "a.png"}, "--colors takes a number from 1 to 100"},
        {{"--skip", "31", "-o", "a.png"}, "--skip takes a number from 0 to 30"},
        {{"--gamma", "0", "-o", "a.png"}, "--gamma takes a number from 0.1 to 10"},
        {{"--hue", "101", "-o", "a.png"}, "--hue takes a percentage from 1 to 100"},
        {{"--threads", "0", "-o", "a.png"}, "--threads takes a number from 1 to 1024"},
        {{"--renderer", "mray", "-o", "a.png"}, "--renderer takes scanline, vray or mentalray, not 'mray'"},
        {{"--print-shader", "-o", "a.png"},
         "--print-shader shows mental ray's shaders: it needs --renderer mentalray"},
        {{"--frobnicate", "-o", "a.png"}, "unknown option '--frobnicate' for 'render'"},
        {{"a.json", "b.json", "-o", "a.png"}, "'render' takes one scene or model file, not also 'b.json'"},
        {{"--mode"}, "--mode needs a value"},
        {{"scene.json"}, "'render' needs an output file: -o OUT.png"},
    };
    for (const auto& c : cases) {
        host::RenderOptions options;
        const std::string error = Parse(c.args, options);
        EXPECT_NE(error.find(c.expected), std::string::npos)
            << "expected \"" << c.expected << "\" in \"" << error << "\" for "
            << ::testing::PrintToString(c.args);
    }
    host::RenderOptions options;
    EXPECT_NE(Parse({"--mode", "Per Polygon", "-o", "a.png"}, options).find("\"VRay Instance (rnd)\""),
              std::string::npos)
        << "the message lists the labels";
}

TEST(RenderCommand, FailsWithStatusOneWhenTheSceneOrOutputCannotBeUsed) {
    render_test::LoadedPlugins();
    const render_test::TempFile broken("broken.json");
    std::ofstream(broken.Path()) << "{\"format\": \"chromasift-scene\", \"version\": 1, \"objects\": [}";
    const render_test::TempFile output("never.png");
    // Keys on a picture, which does not animate, stay a load error whatever the map settings.
    const render_test::TempFile keyed("keyed_bitmap.json");
    render_test::WriteMapScene(keyed,
                               {{"id", 0}, {"type", "bitmap"}, {"keys", Json::array({Json::array({0, 1})})}});
    const render_test::TempFile missing("missing_picture.json");
    render_test::WriteMapScene(missing, {{"id", 0}, {"type", "bitmap"}, {"value", "no-such-picture.png"}});
    const std::string picture = TestDataFile("images/Silk.png");
    const struct {
        std::string scene;
        std::string bitmap;
        std::string output;
        std::string expected;
    } cases[] = {
        {"no-such-scene.json", "", output.Utf8(),
         "chromasift: no-such-scene.json: cannot open the scene file\n"},
        {broken.Utf8(), "", output.Utf8(), "not valid JSON: parse error at line 1"},
        {"", "no-such-picture.png", output.Utf8(),
         "cannot read the bitmap 'no-such-picture.png': file not found"},
        {"", broken.Utf8(), output.Utf8(), "broken.json': not an image file"},
        {keyed.Utf8(), "", output.Utf8(), "parameter 0 (\"Bitmapname\") is not animatable"},
        {keyed.Utf8(), picture, output.Utf8(), "parameter 0 (\"Bitmapname\") is not animatable"},
        {missing.Utf8(), "", output.Utf8(),
         "missing_picture.json: missing picture 'no-such-picture.png', wanted by the map \"Chromasift\"\n"
         "chromasift: " +
             missing.Utf8() + ": 1 picture is missing; --allow-missing renders without them\n"},
        {"", "", (std::filesystem::temp_directory_path() / "no-such-folder-chromasift" / "out.png").string(),
         "out.png: cannot open the file for writing"},
    };
    for (const auto& c : cases) {
        host::RenderOptions options;
        options.scene = c.scene;
        if (!c.bitmap.empty())
            options.map.bitmap = c.bitmap;
        options.output = c.output;
        options.width = 32;
        options.height = 24;
        std::ostringstream out, err;
        EXPECT_EQ(host::RunRenderCommand(options, render_test::LoadedPlugins(), out, err, false), 1);
        EXPECT_NE(err.str().find(c.expected), std::string::npos) << err.str();
        EXPECT_TRUE(out.str().empty());
    }
    EXPECT_FALSE(std::filesystem::exists(output.Path()));
}

TEST(RenderCommand, WarnsOfAllowedMissingPicturesAndOfNothingToDraw) {
    const render_test::TempFile scene("allowed_missing.json"), output("allowed_missing.png");
    render_test::WriteMapScene(scene, {{"id", 0}, {"type", "bitmap"}, {"value", "no-such-picture.png"}});
    host::RenderOptions options;
    options.scene = scene.Utf8();
    options.allowMissing = true;
    options.output = output.Utf8();
    options.width = 8;
    options.height = 6;
    std::ostringstream out, err;
    EXPECT_EQ(host::RunRenderCommand(options, render_test::LoadedPlugins(), out, err, false), 0) << err.str();
    EXPECT_NE(err.str().find("chromasift: warning: " + scene.Utf8() +
                             ": missing picture 'no-such-picture.png', wanted by the map \"Chromasift\"\n"),
              std::string::npos)
        << err.str();
    EXPECT_NE(err.str().find("chromasift: warning: " + scene.Utf8() + ": the scene has no visible objects"),
              std::string::npos)
        << err.str();
}

// As Unix tools take it, "-o -" is standard output: the picture alone, the words on standard error.
TEST(RenderCommand, APictureOnStandardOutputLeavesTheWordsToStandardError) {
    host::RenderOptions options;
    options.output = "-";
    options.width = 8;
    options.height = 6;
    std::ostringstream out, err;
    testing::internal::CaptureStdout();
    const int status = host::RunRenderCommand(options, render_test::LoadedPlugins(), out, err, false);
    const std::string written = testing::internal::GetCapturedStdout();
    EXPECT_EQ(status, 0) << err.str();
    EXPECT_EQ(written.substr(0, 4), "\x89PNG");
    EXPECT_EQ(out.str(), "");
    EXPECT_NE(err.str().find("-: 8 x 6 pixels"), std::string::npos) << err.str();
}

TEST(RenderCommand, FramesAndListsOfFrames) {
    host::RenderOptions options;
    ASSERT_EQ(Parse({"--frame", "-30", "-o", "a.png"}, options), "");
    EXPECT_EQ(options.frame, -30);
    host::RenderOptions list;
    ASSERT_EQ(Parse({"--frames", "24,1,8-9", "--skip-existing", "-o", "out/seq_####.png"}, list), "");
    EXPECT_EQ(list.frames, (std::vector<int>{1, 8, 9, 24}));
    EXPECT_TRUE(list.skipExisting);
    const struct {
        std::vector<std::string> args;
        std::string expected;
    } refused[] = {
        {{"--frame", "1000000000", "-o", "a.png"}, "--frame takes a frame number from -10000000 to 10000000"},
        {{"--frames", "0-2,2", "-o", "s_#.png"}, "--frames asks for frame 2 twice"},
        {{"--frames", "0-2", "-o", "s.png"}, "run of '#'"},
        {{"--frames", "0-2", "-o", "take#2/s_#.png"}, "the output's folder 'take#2/' holds a '#'"},
        {{"--frame", "1", "--frames", "0-2", "-o", "s_#.png"}, "cannot go together"},
        {{"--skip-existing", "-o", "s.png"}, "--skip-existing skips the frames of a sequence"},
    };
    for (const auto& c : refused) {
        host::RenderOptions bad;
        const std::string error = Parse(c.args, bad);
        EXPECT_NE(error.find(c.expected), std::string::npos) << error;
    }
}

TEST(RenderCommand, AFrameMovesTheSliderAndARangeMovesOnlyTheRendersTime) {
    const render_test::TempFile sceneFile("animated.json");
    const std::string scene = render_test::WriteAnimatedScene(sceneFile);
    const auto render = [&scene](const std::vector<std::string>& given) {
        // One render thread and, unless given, a mode without random draws: the same settings give the same
        // picture.
        std::vector<std::string> args = {scene,      "--size", "48x36",  "--threads",      "1",
                                         "--colors", "4",      "--mode", "Object (linear)"};
        args.insert(args.end(), given.begin(), given.end());
        host::RenderOptions options;
        EXPECT_EQ(Parse(args, options), "");
        std::ostringstream out, err;
        EXPECT_EQ(host::RunRenderCommand(options, render_test::LoadedPlugins(), out, err, false), 0)
            << err.str();
        return out.str();
    };
    const auto bytes = [](const std::string& file) {
        std::ifstream in(host::PathFromUtf8(file), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    const render_test::TempFile first("frame0.png"), last("frame30.png");
    render({"--frame", "0", "-o", first.Utf8()});
    EXPECT_EQ(GetCOREInterface()->GetTime(), 0);
    render({"--frame", "30", "-o", last.Utf8()});
    EXPECT_EQ(GetCOREInterface()->GetTime(), 4800);
    EXPECT_NE(bytes(first.Utf8()), bytes(last.Utf8())) << "Gamma 1 and 3 give other colours";

    const render_test::TempFile sequence("seq_####.png");
    const std::string summary = render({"--frames", "0-2", "-o", sequence.Utf8()});
    EXPECT_NE(summary.find("seq_0000.png to "), std::string::npos) << summary;
    EXPECT_NE(summary.find("(3 frames)"), std::string::npos) << summary;
    std::vector<std::string> frames;
    for (int frame = 0; frame <= 2; ++frame) {
        const std::string file = host::FrameFileName(sequence.Utf8(), frame);
        frames.push_back(bytes(file));
        EXPECT_FALSE(frames.back().empty()) << file;
        std::error_code ignored;
        std::filesystem::remove(host::PathFromUtf8(file), ignored);
    }
    // Shading reads the slider, which a range render leaves at the scene's frame 10.
    EXPECT_EQ(GetCOREInterface()->GetTime(), 1600);
    EXPECT_EQ(frames[0], frames[2]);
    const render_test::TempFile atSlider("frame10.png");
    render({"--frame", "10", "-o", atSlider.Utf8()});
    EXPECT_EQ(frames[0], bytes(atSlider.Utf8()));

    // A range is one render job: the random stream runs on into the second frame instead of starting again.
    const render_test::TempFile randomRange("random_#.png"), randomFrame("random.png");
    render({"--mode", "Random", "--frames", "0-1", "-o", randomRange.Utf8()});
    render({"--mode", "Random", "--frame", "10", "-o", randomFrame.Utf8()});
    const std::string second = bytes(host::FrameFileName(randomRange.Utf8(), 1));
    EXPECT_EQ(bytes(host::FrameFileName(randomRange.Utf8(), 0)), bytes(randomFrame.Utf8()));
    EXPECT_NE(bytes(host::FrameFileName(randomRange.Utf8(), 0)), second);
    EXPECT_FALSE(second.empty());
    for (int frame = 0; frame <= 1; ++frame)
        std::filesystem::remove(host::PathFromUtf8(host::FrameFileName(randomRange.Utf8(), frame)));
    GetCOREInterface()->SetTime(0);
}

TEST(RenderCommand, ASequenceSkipsTheFramesThereAndSaysWhenItWritesManyFiles) {
    const render_test::TempFile pattern("skip_####.png");
    const auto render = [&pattern](const std::string& frames) {
        host::RenderOptions options;
        EXPECT_EQ(
            Parse({"--frames", frames, "--skip-existing", "--size", "1x1", "-o", pattern.Utf8()}, options),
            "");
        std::ostringstream out, err;
        EXPECT_EQ(host::RunRenderCommand(options, render_test::LoadedPlugins(), out, err, false), 0)
            << err.str();
        return out.str() + err.str();
    };
    const auto file = [&pattern](int frame) {
        return host::PathFromUtf8(host::FrameFileName(pattern.Utf8(), frame));
    };
    std::ofstream(file(1)) << "there";
    const std::string said = render("0-2");
    EXPECT_NE(said.find("(2 frames, 1 frame there already)"), std::string::npos) << said;
    {
        // Closed before the files are removed: Windows removes no file that is open.
        std::ifstream kept(file(1));
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "there");
    }
    EXPECT_TRUE(std::filesystem::exists(file(0)) && std::filesystem::exists(file(2)));
    EXPECT_NE(render("0-2").find("Every one of the 3 frames is there already"), std::string::npos);

    // The count comes before the scene is read.
    host::RenderOptions many;
    ASSERT_EQ(Parse({"no-such-scene.json", "--frames", "0-1000", "-o", pattern.Utf8()}, many), "");
    std::ostringstream out, err;
    EXPECT_EQ(host::RunRenderCommand(many, render_test::LoadedPlugins(), out, err, false), 1);
    EXPECT_NE(err.str().find("chromasift: rendering 1001 frames: writes 1001 files, "), std::string::npos)
        << err.str();
    EXPECT_NE(err.str().find("cannot open the scene file"), std::string::npos);
    for (int frame = 0; frame <= 2; ++frame)
        std::filesystem::remove(file(frame));
}

// The map shows its picture's name (on the bitmap button): the built-in picture's reads as what it is.
TEST(RenderCommand, TheBuiltInPictureHasAReadableNameAndGoesWithItsFolder) {
    std::filesystem::path folder;
    {
        host::TemporaryPicture picture;
        EXPECT_EQ(host::PathToUtf8(picture.Path().filename()), "built-in picture.png");
        folder = picture.Path().parent_path();
        EXPECT_NE(folder, std::filesystem::temp_directory_path());
    }
    EXPECT_FALSE(std::filesystem::exists(folder));
}

TEST(RenderCommand, RendersTheBuiltInSceneWithoutInputFiles) {
    const render_test::TempFile output("builtin.png");
    host::RenderOptions options;
    options.output = output.Utf8();
    options.width = 96;
    options.height = 72;
    options.threads = 2;
    std::ostringstream out, err;
    ASSERT_EQ(host::RunRenderCommand(options, render_test::LoadedPlugins(), out, err, true), 0) << err.str();
    EXPECT_NE(out.str().find(": 96 x 72 pixels, scanline renderer, 2 threads, lit, "), std::string::npos)
        << out.str();
    EXPECT_NE(err.str().find("Rendering ["), std::string::npos) << "progress shows when asked";
    EXPECT_NE(err.str().find("100%"), std::string::npos);

    BitmapInfo info;
    info.SetName(output.Path().wstring().c_str());
    BMMRES status = 1;
    Bitmap* bitmap = TheManager->Load(&info, &status);
    ASSERT_EQ(status, 0);
    EXPECT_EQ(info.Width(), 96);
    EXPECT_EQ(info.Height(), 72);
    int opaque = 0, clear = 0;
    for (int y = 0; y < 72; ++y)
        for (int x = 0; x < 96; ++x) {
            BMM_Color_fl pixel;
            bitmap->GetLinearPixels(x, y, 1, &pixel);
            opaque += pixel.a == 1.0f;
            clear += pixel.a == 0.0f;
        }
    bitmap->DeleteThis();
    EXPECT_EQ(opaque + clear, 96 * 72);
    EXPECT_GT(opaque, 96 * 72 / 3) << "the objects and the ground fill much of the picture";
    EXPECT_GT(clear, 0) << "the sky is empty";
}

} // namespace
