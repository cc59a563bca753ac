#include "host/job/render_options.h"

#include "render_test_support.h"

#include "host/base/text.h"
#include "host/commands/palette_command.h"
#include "host/commands/render_command.h"
#include "host/draw/png_file.h"
#include "host/job/render_source.h"
#include "host/render/scene_renderer.h"
#include "host/scene/builtin_scene.h"
#include "host/scene/frame_list.h"

#include "test_files.h"

#include "hostsdk/core_interface.h"
#include "hostsdk/param_block_desc.h"

#include "plugin/param_ids.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>
#include <vector>

namespace {

using render_test::ParseRender;
using render_test::RunRender;
using render_test::Words;

TEST(RenderCommand, ParsesEveryOption) {
    host::RenderOptions options;
    ASSERT_EQ(ParseRender(
                  Words("scene.json --bitmap sky.jpg --mode mIrRoR --colors 12 --skip 2 --gamma 2.2 --hue 50 "
                        "--saturation 60 --value 70 --renderer vray --size 320x200 --threads 3 --unlit "
                        "--allow-missing -o out.png"),
                  options),
              "");
    EXPECT_EQ(options.map.mode, 11) << "labels are matched whatever their case";
    EXPECT_FLOAT_EQ(*options.map.gamma, 2.2f);
    const host::MapSettings& map = options.map;
    EXPECT_EQ(std::tie(options.scene, map.bitmap, options.output, map.colours, map.skip, map.hue,
                       map.saturation, map.value),
              std::make_tuple("scene.json", "sky.jpg", "out.png", 12, 2, 50, 60, 70));
    EXPECT_EQ(std::tie(options.renderer, options.width, options.height, options.threads, options.unlit,
                       options.allowMissing),
              std::make_tuple(host::RendererKind::VRay, 320, 200, 3, true, true));

    host::RenderOptions more, list;
    ASSERT_EQ(ParseRender(Words("--renderer mentalray --print-shader --frame -30 -o x.png"), more), "");
    EXPECT_EQ(std::tie(more.renderer, more.printShader, more.frame),
              std::make_tuple(host::RendererKind::MentalRay, true, -30));
    ASSERT_EQ(ParseRender(Words("--frames 8-9 --skip-existing -o out/seq_####.png"), list), "");
    EXPECT_EQ(list.frames, (std::vector<int>{8, 9}));
    EXPECT_TRUE(list.skipExisting);
}

TEST(RenderCommand, RejectsBadArgumentsWithClearMessages) {
    const struct {
        std::string line, expected;
    } cases[] = {
        {"--mode Polygon -o a.png", "--mode takes a mode's label as the map's rollout shows it ("},
        {"--mode Polygon -o a.png", "\"VRay Instance (rnd)\""}, // the message lists the labels
        {"--size 640 -o a.png", "--size takes WIDTHxHEIGHT"},
        {"--size 0x480 -o a.png", "--size takes WIDTHxHEIGHT, each from 1 to 8192 pixels"},
        {"--size 640x-2 -o a.png", "not '640x-2'"},
        {"--size 9000x10 -o a.png", "--size takes"},
        {"--size 64x48x2 -o a.png", "--size takes"},
        {"--colors 0 -o a.png", "--colors takes a number from 1 to 100"},
        {"--skip 31 -o a.png", "--skip takes a number from 0 to 30"},
        {"--threads 0 -o a.png", "--threads takes a number from 1 to 1024"},
        {"--frame 1000000000 -o a.png", "--frame takes a frame number from -10000000 to 10000000"},
        {"--gamma 0 -o a.png", "--gamma takes a number from 0.1 to 10"},
        {"--hue 101 -o a.png", "--hue takes a percentage from 1 to 100"},
        {"--renderer mray -o a.png", "--renderer takes scanline, vray or mentalray, not 'mray'"},
        {"--print-shader -o a.png",
         "--print-shader shows mental ray's shaders: it needs --renderer mentalray"},
        {"a.json b.json -o a.png", "'render' takes one scene or model file, not also 'b.json'"},
        {"--mode", "--mode needs a value"},
        {"scene.json", "'render' needs an output file: -o OUT.png"},
        {"--frames 0-2 -o s.png", "run of '#'"},
        {"--frame 1 --frames 0-2 -o s_#.png", "cannot go together"},
        {"--skip-existing -o s.png", "--skip-existing skips the frames of a sequence"},
        {"-o out.JPG", "-o out.JPG: 'render' writes .png files, not .jpg"},
        {"--frames 0,99-100 -o f_##.png",
         "frame 100 needs 3 digits, but the file name of -o f_##.png has a run of 2"},
    };
    for (const auto& c : cases) {
        host::RenderOptions options;
        const std::string error = ParseRender(Words(c.line), options);
        EXPECT_NE(error.find(c.expected), std::string::npos)
            << "expected \"" << c.expected << "\" in \"" << error << "\" for " << c.line;
    }
}

// The map's options are bounded as the loaded map's parameter block declares its parameters, in render
// and in palette alike.
TEST(RenderCommand, MapOptionsTakeTheRangesTheMapDeclares) {
    auto* desc = static_cast<ClassDesc2*>(
        render_test::LoadedPlugins().FindClass(TEXMAP_CLASS_ID, CHROMASIFT_CLASS_ID));
    ASSERT_NE(desc, nullptr);
    const ParamBlockDesc2& block = *desc->GetParamBlockDescByID(chromasift_params);
    host::RenderOptions render;
    host::PaletteOptions palette;
    const host::OptionTable tables[] = {host::RenderOptionTable(render), host::PaletteOptionTable(palette)};
    const std::pair<const char*, ParamID> options[] = {{"--colors", pb_num_colors},
                                                       {"--skip", pb_skip_colors},
                                                       {"--gamma", pb_gamma},
                                                       {"--hue", pb_hue_alteration},
                                                       {"--saturation", pb_saturation_alteration},
                                                       {"--value", pb_value_alteration}};
    for (const host::OptionTable& table : tables)
        for (const auto& [name, id] : options) {
            const host::CommandOption* option = host::FindOption(table, name);
            if (option == nullptr && &table != &tables[0])
                continue; // palette has the counts alone
            ASSERT_NE(option, nullptr) << name;
            const ParamDef& def = *block.GetParamDef(id);
            const auto declared = [&def](const ParamValueSpec& v) {
                return def.type == TYPE_FLOAT ? v.f : v.i;
            };
            EXPECT_EQ(std::make_tuple(option->bounds->low, option->bounds->high),
                      std::make_tuple(declared(def.rangeLow), declared(def.rangeHigh)))
                << name;
        }
}

TEST(RenderCommand, FailsWithStatusOneWhenTheSceneOrOutputCannotBeUsed) {
    const ScratchFolder folder;
    WriteBytes(folder / "broken.json", "{\"format\": \"chromasift-scene\", \"version\": 1, \"objects\": [}");
    const std::string broken = folder.File("broken.json"), output = folder.File("never.png");
    // Keys on a picture, which does not animate, stay a load error whatever the map settings.
    const std::string keyed = TestDataFile("scenes/keyed_picture.json");
    const std::string missing = TestDataFile("scenes/missing_picture.json"); // and nothing to draw
    // Named from the scene's folder.
    const std::string absent =
        (std::filesystem::path(missing).parent_path() / "no-such-picture.png").lexically_normal().string();
    const std::string picture = TestDataFile("images/Silk.png");
    const struct {
        std::string scene, bitmap, output, expected;
    } cases[] = {
        {"no-such-scene.json", "", output,
         "chromasift: no-such-scene.json: cannot open the scene file: No such file or directory\n"},
        {"", "no-such-picture.png", output, "cannot read the bitmap 'no-such-picture.png': file not found"},
        {"", broken, output, "broken.json': not an image file"},
        {keyed, picture, output, "parameter 0 (\"Bitmapname\") is not animatable"},
        {missing, "", output,
         "missing_picture.json: missing picture '" + absent +
             "', wanted by the map \"Chromasift\"\n"
             "chromasift: " +
             missing + ": 1 picture is missing; --allow-missing renders without them\n"},
    };
    for (const auto& c : cases) {
        host::RenderOptions options;
        options.scene = c.scene;
        if (!c.bitmap.empty())
            options.map.bitmap = c.bitmap;
        options.output = c.output;
        options.width = 32;
        options.height = 24;
        const render_test::Run run = render_test::RunRenderWith(options);
        EXPECT_EQ(std::make_tuple(run.status, run.out), std::make_tuple(1, "")) << c.expected;
        EXPECT_NE(run.err.find(c.expected), std::string::npos) << run.err;
    }
    EXPECT_FALSE(std::filesystem::exists(folder / "never.png"));

    // Allowed, the missing picture is a warning, as a scene with nothing to draw is.
    const render_test::Run allowed =
        RunRender({missing, "--allow-missing", "--size", "8x6", "-o", folder.File("allowed.png")});
    EXPECT_EQ(allowed.status, 0) << allowed.err;
    for (const std::string& warning :
         {": missing picture '" + absent + "', wanted by the map \"Chromasift\"\n",
          std::string(": the scene has no visible objects")})
        EXPECT_NE(allowed.err.find("chromasift: warning: " + missing + warning), std::string::npos)
            << allowed.err;
}

// A scene without the map hears nothing of the map's settings when none were given.
TEST(RenderCommand, ASceneWithoutTheMapWarnsOnlyOfSettingsGiven) {
    const ScratchFolder folder;
    const std::string scene = folder.File("no_map.json");
    WriteBytes(folder / "no_map.json",
               R"({"format": "chromasift-scene", "version": 1, "maps": [], "nodes": [2], "objects": [
                   {"id": 1, "superClass": "0x10", "class": ["0x9", "0x0"], "settings": {"mesh": {
                    "verts": [[0, 0, 0], [1, 0, 0], [0, 1, 0]], "faces": [{"v": [0, 1, 2]}]}}},
                   {"id": 2, "superClass": "0x1", "class": ["0x0", "0x0"],
                    "references": [{"ref": 0, "object": 1}]}]})");
    const render_test::Run run = RunRender({scene, "--size", "8x6", "-o", folder.File("no_map.png")});
    EXPECT_EQ(std::make_tuple(run.status, run.err), std::make_tuple(0, "")) << run.err;
}

// As Unix tools take it, "-o -" is standard output: the picture alone, the words on standard error.
TEST(RenderCommand, APictureOnStandardOutputLeavesTheWordsToStandardError) {
    testing::internal::CaptureStdout();
    const render_test::Run run = RunRender({"--size", "8x6", "-o", "-"});
    const std::string written = testing::internal::GetCapturedStdout();
    EXPECT_EQ(std::make_tuple(run.status, run.out, written.substr(0, 4)), std::make_tuple(0, "", "\x89PNG"))
        << run.err;
    EXPECT_NE(run.err.find("-: 8 x 6 pixels"), std::string::npos) << run.err;
}

TEST(RenderCommand, AFrameMovesTheSliderAndARangeMovesOnlyTheRendersTime) {
    const ScratchFolder folder;
    const std::string scene = render_test::WriteAnimatedScene(folder / "animated.json");
    // One render thread and, unless given, a mode without random draws: the same settings give the same
    // picture.
    const auto render = [&](const std::string& given, const std::string& file,
                            const char* mode = "Object (linear)") {
        const render_test::Run run = RunRender(Words("--size 48x36 --threads 1 --colors 4 " + given,
                                                     {scene, "--mode", mode, "-o", folder.File(file)}));
        EXPECT_EQ(run.status, 0) << run.err;
        // A range under a renderer that reads the keyed "Gamma" at the slider says so, once.
        const bool warns =
            given.find("--frames") != std::string::npos && given.find("mentalray") == std::string::npos;
        EXPECT_EQ(run.err.find("keys \"Gamma\", which the scanline renderer reads at the time slider") !=
                      std::string::npos,
                  warns)
            << given << ": " << run.err;
        return run.out;
    };
    // The bytes of a file, or of a sequence's frame.
    const auto bytes = [&](const std::string& file, int frame = -1) {
        return ReadBytes(host::PathFromUtf8(frame < 0 ? folder.File(file)
                                                      : host::FrameFileName(folder.File(file), frame)));
    };
    render("--frame 0", "frame0.png");
    EXPECT_EQ(GetCOREInterface()->GetTime(), 0);
    render("--frame 30", "frame30.png");
    EXPECT_EQ(GetCOREInterface()->GetTime(), 4800);
    EXPECT_NE(bytes("frame0.png"), bytes("frame30.png")) << "Gamma 1 and 3 give other colours";

    const std::string summary = render("--frames 0-2", "seq_####.png");
    EXPECT_NE(summary.find("seq_0000.png to "), std::string::npos) << summary;
    EXPECT_NE(summary.find("(3 frames)"), std::string::npos) << summary;
    // Shading reads the slider, which a range render leaves at the scene's frame 10.
    EXPECT_EQ(GetCOREInterface()->GetTime(), 1600);
    render("--frame 10", "frame10.png");
    EXPECT_FALSE(bytes("seq_####.png", 0).empty());
    EXPECT_EQ(bytes("seq_####.png", 0), bytes("seq_####.png", 2));
    EXPECT_EQ(bytes("seq_####.png", 0), bytes("frame10.png"));

    // A range is one render job: the random stream runs on into the second frame instead of starting
    // again.
    render("--frames 0-1", "random_#.png", "Random");
    render("--frames 0-1 --renderer mentalray", "mental_#.png");
    render("--frame 10", "random.png", "Random");
    EXPECT_EQ(bytes("random_#.png", 0), bytes("random.png"));
    EXPECT_NE(bytes("random_#.png", 0), bytes("random_#.png", 1));
    EXPECT_FALSE(bytes("random_#.png", 1).empty());
    GetCOREInterface()->SetTime(0);
}

TEST(RenderCommand, ASequenceSkipsTheFramesThereAndSaysWhenItWritesManyFiles) {
    const ScratchFolder folder;
    const std::string pattern = folder.File("skip_####.png");
    const auto render = [&pattern](const std::string& frames) {
        const render_test::Run run =
            RunRender({"--frames", frames, "--skip-existing", "--size", "1x1", "-o", pattern});
        EXPECT_EQ(run.status, 0) << run.err;
        return run.out + run.err;
    };
    const auto file = [&pattern](int frame) {
        return host::PathFromUtf8(host::FrameFileName(pattern, frame));
    };
    // Only a whole PNG counts as done: an empty file or one cut short is rendered again.
    WriteBytes(file(0), "");
    WriteBytes(file(1), std::string(render_test::kWholePng));
    WriteBytes(file(2), std::string(render_test::kWholePng.substr(0, 16)));
    const std::string said = render("0-2");
    EXPECT_NE(said.find("(2 frames, 1 frame there already)"), std::string::npos) << said;
    EXPECT_EQ(ReadBytes(file(1)), render_test::kWholePng);
    EXPECT_GT(ReadBytes(file(0)).size(), 20u);
    EXPECT_GT(ReadBytes(file(2)).size(), 20u);
    EXPECT_NE(render("0-2").find("Every one of the 3 frames is there already"), std::string::npos);

    // The count comes before the scene is read.
    const render_test::Run many = RunRender({"no-such-scene.json", "--frames", "0-1000", "-o", pattern});
    EXPECT_EQ(many.status, 1);
    EXPECT_NE(many.err.find("chromasift: rendering 1001 frames: writes 1001 files, "), std::string::npos)
        << many.err;
    EXPECT_NE(many.err.find("cannot open the scene file"), std::string::npos);
}

TEST(RenderCommand, TheBuiltInPictureGoesWithItsFolder) {
    std::filesystem::path folder;
    {
        host::TemporaryPicture picture;
        folder = picture.Path().parent_path();
        EXPECT_NE(folder, std::filesystem::temp_directory_path());
    }
    EXPECT_FALSE(std::filesystem::exists(folder));
}

TEST(RenderCommand, RendersTheBuiltInSceneWithoutInputFiles) {
    const ScratchFolder folder;
    host::RenderOptions options;
    ASSERT_EQ(ParseRender(Words("--size 96x72 --threads 2", {"-o", folder.File("builtin.png")}), options),
              "");
    const render_test::Run run = render_test::RunRenderWith(options, true);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find(": 96 x 72 pixels, scanline renderer, 2 threads, lit, "), std::string::npos)
        << run.out;
    EXPECT_NE(run.err.find("Rendering ["), std::string::npos) << "progress shows when asked";
    EXPECT_NE(run.err.find("100%"), std::string::npos);
    const render_test::Picture picture(folder / "builtin.png");
    EXPECT_TRUE(picture.Loaded() && picture.Width() == 96 && picture.Height() == 72);
}

// Every mode renders through the command, and the file holds the frame the scene gives when rendered
// here.
TEST(RenderCommand, EveryModeRendersAndThePngHoldsTheUnlitFrame) {
    const ScratchFolder folder;
    for (const host::MapMode& mode : host::MapModes()) {
        host::RenderOptions options = render_test::ModeOptions(mode.label);
        options.renderer = mode.combined == 16 ? host::RendererKind::VRay : host::RendererKind::Scanline;
        options.width = 64;
        options.height = 48;
        options.threads = 1;
        options.unlit = true;
        options.output = folder.File("mode.png");
        const render_test::Run run = render_test::RunRenderWith(options);
        ASSERT_EQ(run.status, 0) << mode.label << ": " << run.err;
        EXPECT_EQ(run.err, "") << mode.label;

        host::TemporaryPicture picture;
        const host::FrameBuffer frame =
            render_test::RenderUnlit(*render_test::Prepare(options, picture), 64, 48, 1, options.renderer);
        host::WritePng(folder / "mode_here.png", 64, 48, host::ToRgba8(frame));
        EXPECT_EQ(ReadBytes(folder / "mode.png"), ReadBytes(folder / "mode_here.png")) << mode.label;
    }
}

} // namespace
