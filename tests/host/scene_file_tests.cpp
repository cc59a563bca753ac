#include "host/scene/scene_file.h"

#include "host/scene/scene_checks.h"

#include "hostsdk/bitmap.h"
#include "hostsdk/core_interface.h"
#include "hostsdk/param_block.h"
#include "hostsdk/path_config.h"
#include "hostsdk/tex_gen.h"

#include "error_message.h"
#include "scratch_folder.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <sstream>
#include <string>
#include <tuple>

namespace {

// Parameter IDs as stored in scenes.
constexpr ParamID kBitmap = 0, kNumColors = 1, kMappingOld = 2, kInputMap = 4, kInputMapOn = 5, kGamma = 7,
                  kIsHarmonized = 13, kCategory = 14, kObjectMapping = 15, kPixelMapping = 16,
                  kCoordMapping = 17, kVersion = 19;
const Class_ID kChromasift(0x61c17ce2, 0x2fa47e5b);

// A scene of one Chromasift map whose block holds `params`, with `top` among the document's own entries and
// the objects `more` after the map.
std::string MapScene(const std::string& params, const std::string& top = "", const std::string& more = "") {
    return R"({"format": "chromasift-scene", "version": 1, )" + top +
           R"("objects": [{"id": 1, "superClass": "0x00000c10", "class": ["0x61c17ce2", "0x2fa47e5b"],
               "paramBlocks": [{"ref": 0, "block": 0, "params": [)" +
           params + "]}]}" + (more.empty() ? "" : ", " + more) + R"(], "maps": [1]})";
}

class SceneFile : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        IPathConfigMgr* paths = IPathConfigMgr::GetPathConfigMgr();
        paths->ClearPlugInEntries();
        paths->AddPlugInEntry(L"Plug-ins", (host::ExecutableDirectory() / "plugins").wstring());
        plugins = new host::PluginManager();
        plugins->LoadAll();
        GetCOREInterface()->SetQuietMode(TRUE);
    }
    static void TearDownTestSuite() {
        delete plugins;
        IPathConfigMgr::GetPathConfigMgr()->ClearPlugInEntries();
        GetCOREInterface()->SetQuietMode(FALSE);
    }

    static Texmap* NewMap() {
        ClassDesc* cd = plugins->FindClass(TEXMAP_CLASS_ID, kChromasift);
        return cd == nullptr ? nullptr : static_cast<Texmap*>(cd->Create(FALSE));
    }

    static std::unique_ptr<host::SceneRoot> Load(const std::string& json) {
        return host::SceneFromJson(json, "test.json", *plugins);
    }

    static std::string LoadError(const std::string& json) {
        return ErrorOf<host::SceneError>([&] { Load(json); });
    }

    static host::PluginManager* plugins;
};

host::PluginManager* SceneFile::plugins = nullptr;

// The golden scene holds what a saved scene holds: maps with their parameters' values and keys of every
// kind of number, an input map and coordinates; nodes of a mesh, a polygon mesh and a primitive, with names,
// object IDs, placements, a hidden node and a shared material; edges, material IDs, smoothing groups, hidden
// faces and map channels; a camera, the slider and the animation range. Loaded and saved again it gives its
// very bytes, so that whatever the loader drops or changes, or the writer leaves out, shows. After a
// deliberate change of the format, run the test with CHROMASIFT_WRITE_GOLDEN=1 to write the file anew, and
// read the difference before committing it.
TEST_F(SceneFile, TheGoldenSceneLoadsAndSavesToItsOwnBytes) {
    const std::filesystem::path golden = std::filesystem::path(CHROMASIFT_GOLDEN_DIR) / "saved_scene.json";
    const std::string text = ReadBytes(golden);
    ASSERT_FALSE(text.empty()) << "missing golden file " << golden;
    const std::unique_ptr<host::SceneRoot> loaded = Load(text);
    const std::string saved = host::SceneToJson(*loaded);
    if (std::getenv("CHROMASIFT_WRITE_GOLDEN") != nullptr)
        WriteBytes(golden, saved);
    EXPECT_EQ(saved, text);
    Load(R"({"format": "chromasift-scene", "version": 1, "objects": []})"); // the slider back at 0
}

TEST_F(SceneFile, FirstVersionMapsWithoutBitmapKeepTheirModes) {
    std::unique_ptr<host::SceneRoot> scene = Load(R"({"format": "chromasift-scene", "version": 1,
        "objects": [{"id": 1, "superClass": 3088, "class": [1640070370, 799309403],
                     "paramBlocks": [{"ref": 0, "block": 0, "params": [{"id": 2, "type": "int", "value": 11}]}]}],
        "maps": [1]})");
    IParamBlock2* pb = scene->Maps().at(0)->GetParamBlockByID(0);
    for (const ParamID id : {kCategory, kPixelMapping, kVersion, kIsHarmonized})
        EXPECT_EQ(pb->GetInt(id), 0) << "parameter " << id;
    EXPECT_EQ(scene->Maps().at(0)->GetSubTexmap(1), nullptr);
    // Any combined number loads: the upgrade converts or keeps it.
    EXPECT_NO_THROW(Load(MapScene(R"({"id": 2, "type": "int", "value": 40})")));
}

// Keys, the slider and the range as the writer spells them are the golden scene's.
TEST_F(SceneFile, KeysOfSwitchesMayBeTrueOrFalseAndTheSliderStartsAtZero) {
    std::unique_ptr<host::SceneRoot> scene =
        Load(MapScene(R"({"id": 5, "type": "bool", "keys": [[0, true], [160, 0]]})"));
    IParamBlock2* pb = scene->Maps().at(0)->GetParamBlockByID(0);
    EXPECT_EQ(std::make_tuple(pb->GetInt(kInputMapOn, 0), pb->GetInt(kInputMapOn, 160)),
              std::make_tuple(1, 0));
    // A scene without a slider time or a range puts the slider back at 0 and the range at frames 0 to 100.
    Load(R"({"format": "chromasift-scene", "version": 1, "objects": []})");
    EXPECT_EQ(GetCOREInterface()->GetTime(), 0);
    EXPECT_EQ(GetCOREInterface()->GetAnimRange(), Interval(0, 16000));
}

TEST_F(SceneFile, TheUpgradeReadsAndWritesKeyedParametersAtTimeZero) {
    // Loading runs the map's upgrade (which modes it converts to is the map's to test). The slider stands at
    // 9600 while the upgrade runs; at time 0 the map is a first-version map of mode
    // 13 (Coordinates, sub-mode 3), at the slider it would be a current map of mode 9.
    const std::string image = TestDataFile("images/rubberwhale1.png");
    std::unique_ptr<host::SceneRoot> scene =
        Load(MapScene(R"({"id": 0, "type": "bitmap", "value": ")" + image + R"("},
                         {"id": 2, "type": "int", "keys": [[0, 13], [9600, 9]]},
                         {"id": 19, "type": "int", "keys": [[0, 1], [9600, 2]]},
                         {"id": 14, "type": "int", "keys": [[0, 0], [9600, 1]]},
                         {"id": 17, "type": "int", "keys": [[0, 0], [9600, 1]]})",
                      R"("sliderTime": 9600, )"));
    IParamBlock2* pb = scene->Maps().at(0)->GetParamBlockByID(0);
    // Written at time 0 outside animate mode: the category's curve moves by 2 - 0, the sub-mode's by 3 - 0.
    EXPECT_EQ(pb->GetKeys(kCategory), (KeyTrack{{0, 2.0f}, {9600, 3.0f}}));
    EXPECT_EQ(pb->GetKeys(kCoordMapping), (KeyTrack{{0, 3.0f}, {9600, 4.0f}}));
    EXPECT_EQ(pb->GetInt(kVersion, 0), 2);
    EXPECT_EQ(pb->GetInt(kNumColors), 10) << "parameters the file lacks take their defaults";
    GetCOREInterface()->SetTime(0);
}

// A picture that is there but cannot be read is named as a missing one is, with the reason.
TEST_F(SceneFile, UnreadablePicturesAreNamedWithTheirReason) {
    const ScratchFolder folder;
    const std::string jpeg = ReadBytes(TestDataFile("images/Aqua.jpg"));
    const struct {
        std::string bytes, reason;
    } cases[] = {{jpeg.substr(0, jpeg.size() / 3), "the image is damaged or truncated"},
                 {"{\"format\": \"chromasift-scene\"}", "not an image file"}};
    for (const auto& c : cases) {
        WriteBytes(folder / "picture.jpg", c.bytes);
        const std::unique_ptr<host::SceneRoot> scene =
            Load(MapScene(R"({"id": 0, "type": "bitmap", "value": )" +
                          host::Json(folder.File("picture.jpg")).dump() + "}"));
        const std::vector<host::MissingPicture> missing = host::FindMissingPictures(*scene);
        ASSERT_EQ(missing.size(), 1u) << c.reason;
        EXPECT_EQ(missing[0].unreadable, c.reason);
    }
}

// A scene written with class names, parameter names and a mode label is the scene written with IDs.
TEST_F(SceneFile, NamesLoadAsTheirIds) {
    const std::string tail =
        R"({"id": 2, "class": "box"}, {"id": 3, "class": "node", "references": [{"ref": 0, "object": 2}]}],
                                "maps": [1], "nodes": [3]})";
    const std::string named =
        R"({"format": "chromasift-scene", "version": 1, "objects": [{"id": 1, "class": "chromasift",
        "paramBlocks": [{"ref": 0, "block": 0, "mode": "Per Face", "params": [{"name": "Version", "value": 2},
        {"name": "Gamma", "value": 2.5}, {"name": "# colors", "type": "int", "value": 4}]}]}, )" +
        tail;
    const std::string ids =
        MapScene(R"({"id": 19, "type": "int", "value": 2}, {"id": 7, "type": "float", "value": 2.5},
        {"id": 1, "type": "int", "value": 4}, {"id": 2, "type": "int", "value": 12},
        {"id": 14, "type": "int", "value": 1}, {"id": 15, "type": "int", "value": 5})",
                 "", R"({"id": 2, "superClass": "0x10", "class": ["0x4e7b0010", "0x1c5a2b01"]},
        {"id": 3, "superClass": "0x1", "class": ["0x0", "0x0"], "references": [{"ref": 0, "object": 2}]})");
    const std::string fromNames = host::SceneToJson(*Load(named));
    EXPECT_EQ(fromNames, host::SceneToJson(*Load(ids.substr(0, ids.size() - 1) + R"(, "nodes": [3]})")));
}

// A scene's relative picture path is read from the scene's folder, and saved relative to the folder it is
// saved in when it lies under it.
TEST_F(SceneFile, PicturePathsAreRelativeToTheSceneFile) {
    const ScratchFolder folder, other;
    const std::unique_ptr<host::SceneRoot> scene =
        host::SceneFromJson(MapScene(R"({"id": 0, "type": "bitmap", "value": "sub/pic.png"})"),
                            (folder / "scene.json").string(), *plugins);
    const std::filesystem::path read =
        scene->Maps().at(0)->GetParamBlockByID(0)->GetBitmap(kBitmap)->bi.Name();
    EXPECT_EQ(read, folder / "sub" / "pic.png");
    host::SaveScene(*scene, folder / "saved.json");
    host::SaveScene(*scene, other / "saved.json");
    EXPECT_NE(ReadBytes(folder / "saved.json").find(R"("value": "sub/pic.png")"), std::string::npos);
    EXPECT_NE(ReadBytes(other / "saved.json").find(host::Json(read.string()).dump()), std::string::npos);
}

// A path to a device or a stream without end ends with a message, as a file too large does.
TEST(SceneFileText, MoreThanTheLimitIsRefused) {
    const ScratchFolder folder;
    const std::filesystem::path file = folder / "large_scene.json";
    WriteBytes(file, "{" + std::string(69999, ' '));
    EXPECT_EQ(host::ReadSceneFile(file, 70000).size(), 70000u);
    const auto refusal = [](const std::function<void()>& read) { return ErrorOf<host::SceneError>(read); };
    EXPECT_EQ(refusal([&] { host::ReadSceneFile(file, 69999); }),
              file.string() + ": not a scene file: it holds more than 69999 bytes");
    std::istringstream endless("{" + std::string(200000, ' ')), zeros(std::string(200000, '\0'));
    EXPECT_EQ(refusal([&] { host::ReadSceneText(endless, "stream", 100000); }),
              "stream: not a scene file: it holds more than 100000 bytes");
    EXPECT_EQ(refusal([&] { host::ReadSceneText(zeros, "zeros", 100000); }),
              "zeros: not a scene file: it does not start with a JSON object");
    EXPECT_EQ(zeros.tellg(), 65536) << "refused at the first bytes";
    // A picture where a scene goes is named as one; a file that cannot be opened gives the system's reason.
    WriteBytes(file, ReadBytes(TestDataFile("images/Aqua.jpg")));
    EXPECT_EQ(refusal([&] { host::ReadSceneFile(file); }),
              file.string() + ": not a scene file: it is a JPEG picture; a picture is given with --bitmap");
    EXPECT_EQ(refusal([&] { host::ReadSceneFile(folder / "none.json"); }),
              (folder / "none.json").string() + ": cannot open the scene file: No such file or directory");
}

TEST_F(SceneFile, MalformedFilesSayWhatIsWrongAndWhere) {
    const std::string head = R"({"format": "chromasift-scene", "version": 1, "objects": [)";
    const std::string param = "/objects/0/paramBlocks/0/params/0";
    const std::string ref = "/objects/0/references/0/object: reference ";
    const std::string map = R"({"id": 1, "superClass": "0xc10", "class": ["0x61c17ce2", "0x2fa47e5b"])";
    const std::string bitmap = R"({"id": 2, "superClass": "0xc10", "class": ["0x240", "0x0"]})";
    const std::string coords = R"({"id": 2, "superClass": "0xc30", "class": ["0x100", "0x0"]})";
    const std::string output = R"({"id": 2, "superClass": "0xc40", "class": ["0x200", "0x0"]})";
    // The map with the given parameters in its block, and any further objects after it.
    const auto params = [](const std::string& list, const std::string& more = "") {
        return MapScene(list, "", more);
    };
    const struct {
        std::string json, expected;
    } cases[] = {
        {"{\"format\": \"chromasift-scene\",\n \"version\": 1,,}",
         "test.json: not valid JSON: parse error at line 2, column 15"},
        {R"({"format": "chromasift-scene", "version": 1e400})",
         "test.json: not valid JSON: number overflow parsing '1e400'"},
        {"[1, 2]", "test.json: /: a scene file holds one JSON object"},
        {R"({"format": "other"})", "/format: expected \"chromasift-scene\""},
        {R"({"format": 1, "version": 1, "objects": []})", "/format: expected \"chromasift-scene\""},
        {R"({"format": "chromasift-scene", "version": 7, "objects": []})",
         "/version: this host reads scene version 1"},
        {head + R"({"id": 1, "superClass": "0xc10", "class": ["0x1", "0x2"]}]})",
         "/objects/0/class: no class 0x00000001 0x00000002 of super class 0x00000c10 is installed"},
        {params(R"({"id": 1, "type": "float", "value": 2})"),
         param + "/type: parameter 1 (\"# colors\") has type \"int\", the file gives \"float\""},
        {params(R"({"id": 77, "type": "int", "value": 2})"), param + "/id: the block has no parameter 77"},
        {head + map + R"(, "references": [{"ref": 1, "object": 5}]}]})",
         "/objects/0/references/0/object: no object with ID 5"},
        {head + map + R"(, "references": [{"ref": 9, "object": 1}]}]})",
         "/objects/0/references/0/ref: the object has no reference 9"},
        {head + map + "}, " + map + "}]}", "/objects/1/id: object ID 1 is used twice"},
        {params(R"({"id": 4, "type": "texmap", "value": 1}, {"id": 1, "type": "int", "value": "ten"})"),
         param + "/value: the reference would make the object refer to itself"},
        {params(R"({"id": 1, "type": "int", "value": "ten"})"), param + "/value: expected an integer"},
        // Each reference slot takes only what it holds; shading would use anything else as that kind.
        {head + map + R"(, "references": [{"ref": 1, "object": 2}]}, )" + bitmap + "]}",
         ref + "1 holds a coordinate generator, the file gives a map"},
        {head + map + R"(, "references": [{"ref": 2, "object": 2}]}, )" + coords + "]}",
         ref + "2 holds a texture output, the file gives a coordinate generator"},
        {head + map + R"(, "references": [{"ref": 0, "object": 2}]}, )" + coords + "]}",
         ref + "0 holds a parameter block, the file gives a coordinate generator"},
        {head + map + R"(, "paramBlocks": [{"ref": 1, "block": 0, "params": []}]}]})",
         "/objects/0/paramBlocks/0/ref: reference 1 holds a coordinate generator, the file gives a parameter "
         "block"},
        {params(R"({"id": 3, "type": "reftarg", "value": 2})", output),
         param + "/value: parameter 3 (\"coords\") holds a coordinate generator, the file gives a texture "
                 "output"},
        {params(R"({"id": 8, "type": "reftarg", "value": 2})", bitmap),
         param + "/value: parameter 8 (\"output\") holds a texture output, the file gives a map"},
        // Keys: only on animatable numbers, in rising time, of the parameter's type.
        {params(R"({"id": 7, "type": "float", "keys": [[0, 1.0], [4800, 2.0], [2400, 3.0]]})"),
         param + "/keys/2/0: key times must rise: 2400 follows 4800"},
        {params(R"({"id": 7, "type": "float", "keys": [[0, 1.0], [0, 2.0]]})"),
         param + "/keys/1/0: key times must rise: 0 follows 0"},
        {params(R"({"id": 1, "type": "int", "keys": [[0, 4], [160, 4.5]]})"),
         param + "/keys/1/1: expected an integer"},
        {params(R"({"id": 7, "type": "float", "keys": [[0.5, 1.0]]})"),
         param + "/keys/0/0: expected an integer"},
        {params(R"({"id": 7, "type": "float", "keys": [[0, "x"]]})"), param + "/keys/0/1: expected a number"},
        {params(R"({"id": 7, "type": "float", "keys": [5]})"),
         param + "/keys/0: expected a key: [time in ticks, value]"},
        {params(R"({"id": 0, "type": "bitmap", "keys": [[0, 1]]})"),
         param + "/keys: parameter 0 (\"Bitmapname\") is not animatable"},
        {params(R"({"id": 7, "type": "float", "value": 1, "keys": [[0, 1]]})"),
         param + ": a parameter holds either a value or keys, the file gives both"},
        {head + R"(], "sliderTime": "frame 3"})", "/sliderTime: expected an integer"},
        {head + R"(], "animationRange": 30})", "/animationRange: expected [first, last] in frames"},
        {head + R"(], "animationRange": [30, 29]})",
         "/animationRange: expected a first frame not after the last"},
        {params(R"({"id": 4, "type": "texmap", "value": 2})", coords),
         param + "/value: parameter 4 (\"Input map\") holds a map, the file gives a coordinate generator"},
        // Stored numbers within their parameters' ranges, declared or bounded by what they mean.
        {params(R"({"id": 1, "type": "int", "value": 300})"),
         param + "/value: parameter 1 (\"# colors\") is 300, outside its range 1 to 100"},
        {params(R"({"id": 7, "type": "float", "value": 25})"),
         param + "/value: parameter 7 (\"Gamma\") is 25, outside its range 0.1 to 10"},
        {params(R"({"id": 7, "type": "float", "keys": [[0, 1], [160, 0.05]]})"),
         param + "/keys/1/1: parameter 7 (\"Gamma\") is 0.05"},
        {params(R"({"id": 15, "type": "int", "value": 9})"),
         param + "/value: parameter 15 (\"Object mapping\") is 9, outside its range 0 to 6"},
        {params(R"({"id": 16, "type": "int", "value": 3})"),
         "(\"Pixel mapping\") is 3, outside its range 0 to 2"},
        {params(R"({"id": 14, "type": "int", "value": 4})"), "(\"Mapping\") is 4, outside its range 0 to 3"},
        {params(R"({"id": 6, "type": "int", "value": 5})"), "(\"Sorts\") is 5, outside its range 0 to 4"},
        {params(R"({"id": 12, "type": "int", "value": -1})"),
         "(\"Color harmony\") is -1, outside its range 0 to 7"},
        {params(R"({"id": 19, "type": "int", "value": 3})"), "(\"Version\") is 3, outside its range 0 to 2"},
        {params(R"({"id": 19, "type": "int", "value": 2}, {"id": 2, "type": "int", "value": 40})"),
         "/params/1/value: parameter 2 (\"Mapping\") is 40, outside its range 0 to 16"},
        // Refusals of values, kinds and lists.
        {R"({"format": "chromasift-scene", "version": 4294967297, "objects": []})",
         "/version: this host reads scene version 1"},
        {head + coords + R"(], "maps": [2]})", "/maps/0: the object is not a map"},
        {params(R"({"id": 1, "type": "int", "value": 4294967296})"), param + "/value: integer out of range"},
        {head + R"(], "animationRange": [0, 2000000000]})",
         "/animationRange: expected a first frame not after"},
        {head +
             R"({"id": 2, "superClass": "0xc30", "class": ["0x100", "0x0"], "paramBlocks": [{"ref": 0, "block": 0, "params": []}]}]})",
         "/objects/0/paramBlocks/0: this object's class has no parameter blocks"},
        {head + map + R"(, "paramBlocks": [{"ref": 0, "block": 5, "params": []}]}]})",
         "/objects/0/paramBlocks/0/block: the class has no parameter block 5"},
        {head + map + R"(, "paramBlocks": [{"ref": 3, "block": 0, "params": []}]}]})",
         "/objects/0/paramBlocks/0/ref: the object has no reference 3"},
        {params(R"({"id": 0, "type": "bitmap", "value": 5})"),
         param + "/value: expected a file name or null"},
        {params(R"({"id": 7, "type": "float", "keys": []})"),
         param + "/keys: expected an array of [time, value] keys"},
        {head + R"({"id": 1, "superClass": "c10", "class": ["0x1", "0x2"]}]})",
         "/objects/0/superClass: expected a class word such as \"0x00000c10\""},
        {head + R"({"id": 1, "superClass": "0xc10", "class": ["0x1"]}]})",
         "/objects/0/class: expected two class ID words"},
        {head + R"({"id": 1, "superClass": "0xc10", "class": ["0x1", "two"]}]})",
         "/objects/0/class: expected two class ID words such as"},
        // A map's slots refused a wrong kind of object in the loader's own words: reference 0 by a block
        // record, 1 and 2 by their parameters too.
        {params(R"({"id": 3, "type": "reftarg", "value": 2})", bitmap),
         param + "/value: parameter 3 (\"coords\") holds a coordinate generator, the file gives a map"},
        {head + map + R"(, "references": [{"ref": 2, "object": 2}]}, )" + bitmap + "]}",
         ref + "2 holds a texture output, the file gives a map"},
        {head + map + R"(, "references": [{"ref": 0, "object": 2}]}, )" + bitmap + "]}",
         ref + "0 holds a parameter block, the file gives a map"},
        {params(
             R"({"id": 19, "type": "int", "value": 2}, {"id": 14, "type": "int", "value": 1}, {"id": 15, "type": "int", "value": 1}, {"id": 2, "type": "int", "value": 0})"),
         "/params/3: the combined mode 0 (\"Random\") disagrees with the category 1 and its choice 1"},
        // Classes, parameters and modes by name.
        {head + R"({"id": 1, "class": "sphear"}]})",
         "/objects/0/class: no class is called \"sphear\"; the names are"},
        {head + R"({"id": 1, "superClass": "0xc10", "class": "box"}]})",
         "/objects/0/superClass: the class \"box\" is of super class 0x00000010"},
        {params(R"({"name": "Mapping", "value": 1})"),
         param + "/name: \"Mapping\" names parameters 2 and 14; give its \"id\""},
        {params(R"({"name": "Gama", "value": 1})"),
         param + "/name: the block has no parameter called \"Gama\""},
        {head + map + R"(, "paramBlocks": [{"ref": 0, "block": 0, "mode": "Per Fase", "params": []}]}]})",
         "/objects/0/paramBlocks/0/mode: expected the label of a mode: \"Random\""},
        {head + map +
             R"(, "paramBlocks": [{"ref": 0, "block": 0, "mode": "Per Face", "params": [{"id": 14, "type": "int", "value": 1}]}]}]})",
         "/objects/0/paramBlocks/0/mode: give the mode either by its label or by its numbers, not both"},
        // Every member of every record is known: a misspelt one would drop what it holds.
        {head +
             R"({"id": 1, "superClass": "0xc10", "class": ["0x61c17ce2", "0x2fa47e5b"], "paramblocks": []}]})",
         "/objects/0/paramblocks: unknown member; did you mean \"paramBlocks\"?"},
        {head + map + R"(, "refrences": []}]})",
         "/objects/0/refrences: unknown member; did you mean \"references\"?"},
        {head + R"(], "node": []})", "/node: unknown member; did you mean \"nodes\"?"},
        {head + R"(], "slidertime": 0})", "/slidertime: unknown member; did you mean \"sliderTime\"?"},
        {head + R"(], "animationrange": [0, 1]})", "/animationrange: unknown member; did you mean"},
        {head + R"({"id": 2, "superClass": "0xc30", "class": ["0x100", "0x0"], "setings": {}}]})",
         "/objects/0/setings: unknown member; did you mean \"settings\"?"},
        {head +
             R"({"id": 2, "superClass": "0xc30", "class": ["0x100", "0x0"], "settings": {"mapchanel": 1}}]})",
         "/objects/0/settings/mapchanel: unknown member; did you mean \"mapChannel\"?"},
        {head + R"({"id": 2, "superClass": "0xc40", "class": ["0x200", "0x0"], "settings": {"level": 1}}]})",
         "/objects/0/settings/level: unknown member; this record knows \"outputLevel\", \"invert\""},
        {head + map + R"(, "settings": {"gamma": 2}}]})",
         "/objects/0/settings/gamma: unknown member: this record takes none"},
        {params(R"({"id": 7, "type": "float", "valeu": 2})"),
         param + "/valeu: unknown member; did you mean \"value\"?"},
        {head + map + R"(, "paramBlocks": [{"ref": 0, "blok": 0, "params": []}]}]})",
         "/objects/0/paramBlocks/0/blok: unknown member; did you mean \"block\"?"},
        {head + map + R"(, "references": [{"ref": 1, "objct": 1}]}]})",
         "/objects/0/references/0/objct: unknown member; did you mean \"object\"?"},
    };
    for (const auto& c : cases) {
        const std::string message = LoadError(c.json);
        EXPECT_NE(message.find(c.expected), std::string::npos)
            << "expected \"" << c.expected << "\" in \"" << message << "\"";
    }
}

} // namespace
