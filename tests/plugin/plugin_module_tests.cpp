// The plug-in module as the host meets it: loaded from the plug-in directory, reached through its exports.
#include "host/base/plugin_library.h"

#include "hostsdk/class_desc.h"
#include "hostsdk/mental_ray.h"
#include "hostsdk/mtl_base.h"
#include "hostsdk/mtl_render_compatibility.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <tuple>
#include <vector>

namespace {

class PluginModule : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        library = std::make_unique<host::PluginLibrary>(host::ExecutableDirectory() / "plugins" /
                                                        "kr_tintworks.dlt");
    }
    static void TearDownTestSuite() { library.reset(); }
    static ClassDesc2* Desc() { return dynamic_cast<ClassDesc2*>(library->GetClassDesc(0)); }

    static std::unique_ptr<host::PluginLibrary> library;
};

std::unique_ptr<host::PluginLibrary> PluginModule::library;

// The names and numbers the host lists are the plugins command's test; here what the host asks besides.
TEST_F(PluginModule, ExportsDescribeTheLibrary) {
    EXPECT_EQ(library->NumberClasses(), 1);
    ASSERT_NE(library->GetClassDesc(0), nullptr);
    EXPECT_EQ(library->GetClassDesc(0), library->GetClassDesc(0));
    EXPECT_EQ(library->GetClassDesc(1), nullptr);
    EXPECT_EQ(library->GetClassDesc(-1), nullptr);
}

TEST_F(PluginModule, DescriptorIdentifiesTheMapClass) {
    ClassDesc* cd = library->GetClassDesc(0);
    EXPECT_STREQ(cd->InternalName(), cd->ClassName());
    EXPECT_EQ(cd->IsPublic(), 1);
    EXPECT_EQ(cd->OkToCreate(nullptr), 1);
    EXPECT_EQ(cd->InitialRollupPageState(), 0x7FFFFFFFu);
    EXPECT_NE(cd->HInstance(), nullptr);
}

TEST_F(PluginModule, PublishesMentalRayClassInfoAndRendererCompatibility) {
    ClassDesc* cd = library->GetClassDesc(0);
    ASSERT_EQ(cd->NumInterfaces(), 2);
    auto* info =
        dynamic_cast<imrShaderTranslation_ClassInfo*>(cd->GetInterface(Interface_ID(0x17A76FD6, 0x5AB32BCD)));
    ASSERT_NE(info, nullptr);
    EXPECT_STREQ(info->InternalName(), L"imrShaderTranslation_ClassInfo");
    EXPECT_EQ(static_cast<unsigned>(info->GetApplyTypes()), 64u);
    EXPECT_EQ(info->HInstance(), cd->HInstance());
    EXPECT_EQ(cd->GetInterfaceAt(0), info);

    auto* compat = dynamic_cast<IMtlRender_Compatibility_MtlBase*>(
        cd->GetInterface(Interface_ID(0x5537445B, 0x70A97E02)));
    ASSERT_NE(compat, nullptr);
    EXPECT_STREQ(compat->InternalName(), L"IMtlRender_Compability_MtlBase");
    EXPECT_EQ(cd->GetInterface(L"IMtlRender_Compability_MtlBase"), compat);
    EXPECT_EQ(compat->HInstance(), cd->HInstance());
    // Compatible with every renderer, one never seen before included.
    EXPECT_TRUE(compat->IsCompatibleWithRenderer(*cd));
    HIMAGELIST images = nullptr;
    int a = 0, b = 0, c = 0;
    EXPECT_FALSE(compat->GetCustomMtlBrowserIcon(images, a, b, c));
    EXPECT_EQ(cd->GetInterface(Interface_ID(1, 2)), nullptr);
}

// One row of the block as the description declares it. Numbers are the persistent values: types 0 float,
// 1 integer, 4 boolean, 15 map, 16 bitmap, 18 reference target; controls 0 spinner, 2 check box, 8 map
// button, 10 bitmap button, 26 drop-down list, -1 none.
struct ExpectedParam {
    ParamID id;
    const wchar_t* internalName;
    int type;
    int flags;
    const wchar_t* displayName;
    bool hasDefault;
    double defaultValue;
    bool hasRange;
    double low, high;
    int control;
    std::vector<int> controlIds;
    int editType;
    double step;
    std::vector<const wchar_t*> items;
    int refNo, subTexNo;
};

const std::vector<const wchar_t*> kSorts = {L"Count", L"Color", L"Luminance", L"Color (Inverse)",
                                            L"Luminance (Inverse)"};
const std::vector<const wchar_t*> kHarmonies = {L"None",   L"i Type", L"V Type", L"L Type",
                                                L"I Type", L"T Type", L"Y Type", L"X Type"};
const std::vector<const wchar_t*> kMappings = {L"Pixels", L"Objects", L"Coordinates", L"Input map"};
const double kGammaStep = static_cast<double>(0.1f);

// clang-format off
const ExpectedParam kExpectedParams[] = {
    {0, L"Bitmapname", 16, 0, L"Bitmap", false, 0, false, 0, 0, 10, {1030}, 0, 0, {}, -1, -1},
    {1, L"# colors", 1, 1, L"# colors", true, 10, true, 1, 100, 0, {1031, 1032}, 0, 1.0, {}, -1, -1},
    {2, L"Mapping", 1, 1, L"Mappings", false, 0, false, 0, 0, -1, {}, 0, 0, {}, -1, -1},
    {3, L"coords", 18, 0x200, L"Coordinates", false, 0, false, 0, 0, -1, {}, 0, 0, {}, 1, -1},
    {4, L"Input map", 15, 0, L"Input map", false, 0, false, 0, 0, 8, {1033}, 0, 0, {}, -1, 0},
    {5, L"InputMapOn", 4, 1, L"Use input map", true, 0, false, 0, 0, 2, {1034}, 0, 0, {}, -1, -1},
    {6, L"Sorts", 1, 1, L"Mappings", true, 0, false, 0, 0, 26, {1020}, 0, 0, kSorts, -1, -1},
    {7, L"Gamma", 0, 1, L"Gamma setting", true, 1.0, true, 0.1, 10.0, 0, {1036, 1037}, 1, kGammaStep, {}, -1, -1},
    {8, L"output", 18, 0x200, L"Texture output", false, 0, false, 0, 0, -1, {}, 0, 0, {}, 2, -1},
    {9, L"# colors skip", 1, 1, L"# of colors to skip", true, 0, true, 0, 30, 0, {1038, 1039}, 0, 1.0, {}, -1, -1},
    {10, L"# of tile rows", 1, 1, L"# of tiling rows", true, 3, true, 1, 100, 0, {1040, 1041}, 0, 1.0, {}, -1, -1},
    {11, L"# of tile columns", 1, 1, L"# of tiling columns", true, 3, true, 1, 100, 0, {1042, 1043}, 0, 1.0, {}, -1, -1},
    {12, L"Color harmony", 1, 1, L"Colour harmony", true, 0, false, 0, 0, 26, {1021}, 0, 0, kHarmonies, -1, -1},
    {13, L"Is harmonized", 1, 1, L"Color harmonized", true, 0, true, 0, 1, -1, {}, 0, 0, {}, -1, -1},
    {14, L"Mapping", 1, 1, L"Mappings", true, 0, false, 0, 0, 26, {1019}, 0, 0, kMappings, -1, -1},
    {15, L"Object mapping", 1, 1, L"Object mapping", false, 0, false, 0, 0, -1, {}, 0, 0, {}, -1, -1},
    {16, L"Pixel mapping", 1, 1, L"Pixel mapping", false, 0, false, 0, 0, -1, {}, 0, 0, {}, -1, -1},
    {17, L"Coord mapping", 1, 1, L"Coordinate mapping", false, 0, false, 0, 0, -1, {}, 0, 0, {}, -1, -1},
    {18, L"Input mapping", 1, 1, L"Input mapping", false, 0, false, 0, 0, -1, {}, 0, 0, {}, -1, -1},
    {19, L"Version", 1, 1, L"Plugin version", false, 0, false, 0, 0, -1, {}, 0, 0, {}, -1, -1},
    {20, L"Hue alteration", 1, 1, L"Hue alteration", true, 100, true, 1, 100, 0, {1044, 1055}, 0, 1.0, {}, -1, -1},
    {21, L"Saturation alteration", 1, 1, L"Saturation alteration", true, 100, true, 1, 100, 0, {1056, 1057}, 0, 1.0, {}, -1, -1},
    {22, L"Value alteration", 1, 1, L"Value alteration", true, 100, true, 1, 100, 0, {1058, 1059}, 0, 1.0, {}, -1, -1},
    {23, L"source map", 15, 0, L"Input map", false, 0, false, 0, 0, -1, {}, 0, 0, {}, -1, 1},
};
// clang-format on

// A default or bound as declared: floating-point parameters keep the double, the others the integer.
double Declared(const ParamDef& def, const ParamValueSpec& value) {
    return def.type == 0 ? value.f : static_cast<double>(value.i);
}

TEST_F(PluginModule, ParameterBlockDeclaresAllParametersInOrder) {
    ClassDesc2* cd = Desc();
    ASSERT_NE(cd, nullptr);
    ASSERT_EQ(cd->NumParamBlockDescs(), 1);
    ParamBlockDesc2* pbd = cd->GetParamBlockDescByID(0);
    ASSERT_NE(pbd, nullptr);
    EXPECT_STREQ(pbd->InternalName(), L"ShaderParameters");
    EXPECT_STREQ(cd->GetRsrcString(pbd->LocalName()), L"Chromasift parameters");
    EXPECT_EQ(pbd->Flags(), 0x26);
    EXPECT_EQ(pbd->RefNo(), 0);
    EXPECT_EQ(pbd->ClassDescriptor(), cd);
    ASSERT_EQ(pbd->NumMaps(), 2);
    EXPECT_EQ(pbd->GetMap(0).mapId, 1);
    EXPECT_EQ(pbd->GetMap(0).dialogTemplate, 107);
    EXPECT_STREQ(cd->GetRsrcString(pbd->GetMap(0).title), L"About");
    EXPECT_EQ(pbd->GetMap(1).mapId, 0);
    EXPECT_EQ(pbd->GetMap(1).dialogTemplate, 106);
    EXPECT_STREQ(cd->GetRsrcString(pbd->GetMap(1).title), L"Chromasift parameters");
    EXPECT_EQ(std::tuple(pbd->GetMap(0).flagMask, pbd->GetMap(0).rollupFlags, pbd->GetMap(1).flagMask,
                         pbd->GetMap(1).rollupFlags),
              std::tuple(0, 0, 0, 0))
        << "both rollouts open, neither rolled up";
    EXPECT_NE(pbd->GetMap(0).userDlgProc, nullptr);
    EXPECT_EQ(pbd->GetMap(0).userDlgProc, pbd->GetMap(1).userDlgProc);

    ASSERT_EQ(pbd->Count(), 24);
    for (int i = 0; i < 24; ++i) {
        const ParamDef& def = pbd->GetParamDefByIndex(i);
        const ExpectedParam& row = kExpectedParams[i];
        SCOPED_TRACE(testing::Message() << "row " << i);
        const auto text = [](const wchar_t* t) { return std::wstring(t != nullptr ? t : L"(none)"); };
        EXPECT_EQ(std::tuple(def.id, text(def.internalName), def.type, def.flags,
                             text(cd->GetRsrcString(def.localName)), def.refNo, def.subTexNo),
                  std::tuple(row.id, text(row.internalName), row.type, row.flags, text(row.displayName),
                             row.refNo, row.subTexNo));
        // Defaults, bounds and spinner settings count only where declared.
        EXPECT_EQ(std::tuple(def.hasDefault, def.hasDefault ? Declared(def, def.defaultValue) : 0.0,
                             def.hasRange, def.hasRange ? Declared(def, def.rangeLow) : 0.0,
                             def.hasRange ? Declared(def, def.rangeHigh) : 0.0),
                  std::tuple(row.hasDefault, row.defaultValue, row.hasRange, row.low, row.high));
        const bool spinner = def.hasUi && def.controlType == 0;
        EXPECT_EQ(std::tuple(def.hasUi ? def.controlType : -1,
                             def.hasUi ? def.controlIds : std::vector<int>{}, def.uiMapId,
                             spinner ? def.editType : 0, spinner ? def.spinnerScale : 0.0),
                  std::tuple(row.control, row.controlIds, 0, row.editType, row.step))
            << "every control sits on the parameters rollout";
        ASSERT_EQ(def.itemStrings.size(), row.items.size());
        for (std::size_t item = 0; item < row.items.size(); ++item) {
            EXPECT_STREQ(cd->GetRsrcString(def.itemStrings[item]), row.items[item]) << "item " << item;
            ASSERT_EQ(def.listValues.size(), row.items.size());
            EXPECT_EQ(def.listValues[item], static_cast<int>(item)) << "lists store the item's position";
        }
    }
}

// What construction installs is the map's own test; here the loaded module's descriptor makes maps.
TEST_F(PluginModule, ANewMapGetsItsBlock) {
    ClassDesc2* cd = Desc();
    auto* map = static_cast<Texmap*>(cd->Create(FALSE));
    ASSERT_NE(map, nullptr);
    IParamBlock2* pb = map->GetParamBlockByID(0);
    ASSERT_NE(pb, nullptr);
    EXPECT_EQ(pb->GetInt(1), 10) << "the block is made from the description";
    map->DeleteThis();
}

} // namespace
