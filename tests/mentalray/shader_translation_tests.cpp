// The map's translation into the mental ray shader "Chromasift", against shader instances of the SDK's
// shader library with declarations written for each case.
#include "map_test_support.h"
#include "mentalray/shader_parameters.h"
#include "plugin/param_ids.h"
#include "test_maps.h"

#include "hostsdk/mr_shader_library.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cwchar>
#include <vector>

namespace {

// The shader's declaration as the host's own shader states it, without the parameters named in `without`.
mrShaderDeclaration Declaration(std::vector<std::wstring> without = {}) {
    using enum mrParamKind;
    const struct {
        const wchar_t* name;
        mrParamKind kind;
        bool connectable;
    } params[] = {
        {L"colors", ColourTable, false}, {L"mappingMode", Integer, false}, {L"inputMap", Float, true},
        {L"mapping", Integer, false},    {L"UScale", Float, false},        {L"VScale", Float, false},
        {L"WScale", Float, false},       {L"UOffset", Float, false},       {L"VOffset", Float, false},
        {L"WOffset", Float, false},      {L"UAngle", Float, false},        {L"VAngle", Float, false},
        {L"WAngle", Float, false},       {L"tileWidth", Integer, false},   {L"tileHeight", Integer, false},
    };
    mrShaderDeclaration declaration{L"Chromasift", {}};
    for (const auto& p : params) {
        if (std::find(without.begin(), without.end(), p.name) != without.end())
            continue;
        // A value no translation writes, so that an untouched parameter shows.
        declaration.params.push_back({p.name, p.kind, p.connectable, -7.0});
    }
    return declaration;
}

// A standard generator whose values depend on the time they are read at, and which records those times.
class TimedXYZGen : public StdXYZGen {
public:
    Class_ID ClassID() override { return STDXYZGEN_CLASS_ID; }
    void GetXYZ(ShadeContext&, Point3& p, Point3& dp) override { p = dp = Point3(); }
    void SetCoordSystem(int) override {}
    int GetCoordSystem() override { return UVW_COORDS; }
    void SetOffs(int, float, TimeValue) override {}
    float GetOffs(int axis, TimeValue t) override { return Read(t, 10.0f + static_cast<float>(axis)); }
    void SetScl(int, float, TimeValue) override {}
    float GetScl(int axis, TimeValue t) override { return Read(t, 20.0f + static_cast<float>(axis)); }
    void SetAng(int, float, TimeValue) override {}
    float GetAng(int axis, TimeValue t) override { return Read(t, 30.0f + static_cast<float>(axis)); }
    int GetMapChannel() override { return 1; }
    void SetMapChannel(int) override {}
    void Update(TimeValue, Interval&) override {}
    void Reset() override {}
    Interval Validity(TimeValue) override { return FOREVER; }
    ParamDlg* CreateParamDlg(HWND, IMtlParams*) override { return nullptr; }

    float Read(TimeValue t, float base) {
        times.push_back(t);
        return base + static_cast<float>(t) / 1000.0f;
    }
    std::vector<TimeValue> times;
};

// A generator that is not the standard one.
class OtherXYZGen : public XYZGen {
public:
    Class_ID ClassID() override { return Class_ID(0x1234, 0x5678); }
    void GetXYZ(ShadeContext&, Point3& p, Point3& dp) override { p = dp = Point3(); }
    void Update(TimeValue, Interval&) override {}
    void Reset() override {}
    Interval Validity(TimeValue) override { return FOREVER; }
    ParamDlg* CreateParamDlg(HWND, IMtlParams*) override { return nullptr; }
};

// A shader that lacks one of its blocks.
class PartialShader : public imrShader {
public:
    PartialShader(IParamBlock2* values, IParamBlock2* connections)
        : values(values), connections(connections) {}
    const MCHAR* GetName() override { return L"partial"; }
    const MCHAR* GetDeclarationName() override { return L"Chromasift"; }
    IParamBlock2* GetParametersParamBlock() override { return values; }
    IParamBlock2* GetConnectionsParamBlock() override { return connections; }
    IParamBlock2* values;
    IParamBlock2* connections;
};

class HostTranslation : public imrTranslation {};

class ShaderTranslation : public ::testing::Test {
protected:
    void SetUp() override {
        map = NewMap();
        map->SetName(L"Map #4");
        library.Declare(Declaration());
    }

    imrShader* Translate(TimeValue t = 0) {
        imrShader* shader = library.CreateShader(L"Chromasift", L"test");
        Interval valid(10, 20);
        map->TranslateParameters(translation, shader, t, valid);
        EXPECT_EQ(valid, Interval(10, 20)) << "the interval is left as it was";
        return shader;
    }

    // The block's parameter of that exact name.
    static ParamID Id(IParamBlock2* block, const wchar_t* name) {
        const int index = block->GetDesc()->NameToIndex(name);
        EXPECT_GE(index, 0) << "no parameter named " << std::string(name, name + std::wcslen(name));
        return block->IndextoID(index);
    }
    static int Int(imrShader* shader, const wchar_t* name) {
        return shader->GetParametersParamBlock()->GetInt(Id(shader->GetParametersParamBlock(), name));
    }
    static float Float(imrShader* shader, const wchar_t* name) {
        return shader->GetParametersParamBlock()->GetFloat(Id(shader->GetParametersParamBlock(), name));
    }
    static std::vector<AColor> Colours(imrShader* shader, const wchar_t* name = L"colors") {
        IParamBlock2* block = shader->GetParametersParamBlock();
        const ParamID id = Id(block, name);
        std::vector<AColor> colours;
        for (int i = 0; i < block->Count(id); ++i) {
            AColor c;
            Interval valid = FOREVER;
            block->GetValue(id, 0, c, valid, i);
            colours.push_back(c);
        }
        return colours;
    }
    static Texmap* Connection(imrShader* shader, const wchar_t* name = L"inputMap.shader") {
        return shader->GetConnectionsParamBlock()->GetTexmap(Id(shader->GetConnectionsParamBlock(), name));
    }

    void SetPalette(int size) {
        Palette palette;
        for (int i = 0; i < size; ++i)
            palette.push_back(
                {static_cast<std::uint16_t>(1000 * i), 7, static_cast<std::uint16_t>(65535 - i), 65535});
        map->SetPalette(palette);
    }

    MapPtr map;
    mrShaderLibrary library;
    HostTranslation translation;
};

TEST_F(ShaderTranslation, CreatesAChromasiftShaderNamedAfterTheMapAndTranslatesEverythingItself) {
    imrShader* shader = map->GetMRShader(library);
    ASSERT_NE(shader, nullptr);
    EXPECT_EQ(std::wstring(shader->GetDeclarationName()), L"Chromasift");
    EXPECT_EQ(std::wstring(shader->GetName()), L"Map #4 (KR Chromasift)");
    EXPECT_FALSE(map->NeedsAutomaticParamBlock2Translation());

    mrShaderLibrary empty;
    EXPECT_EQ(map->GetMRShader(empty), nullptr) << "a host without the declaration has no shader to give";
}

TEST_F(ShaderTranslation, ModeSixteenArrivesAsMaterialIdAndEveryOtherValueUnchanged) {
    for (int mode : {-1, 0, 1, 5, 8, 9, 12, 13, 15, 16, 17, 1000}) {
        map->pblock->SetValue(pb_mapping_old, 0, mode);
        EXPECT_EQ(Int(Translate(), L"mappingMode"), mode == 16 ? 8 : mode) << "mode " << mode;
    }
}

// The table holds the first min(palette size, "# colors") entries; a count below one gives none.
TEST_F(ShaderTranslation, ColoursAreTheActiveEntriesInPaletteOrder) {
    const struct {
        int paletteSize, numColours;
        std::size_t expected;
    } rows[] = {{12, 5, 5}, {12, 20, 12}, {0, 5, 0},  {1, 1, 1},   {1, 2, 1},
                {1, 20, 1}, {4, 0, 0},    {4, -1, 0}, {4, -30, 0}, {4, 1, 1}};
    for (const auto& row : rows) {
        SetPalette(row.paletteSize);
        map->pblock->SetValue(pb_num_colors, 0, row.numColours);
        const std::vector<AColor> colours = Colours(Translate());
        ASSERT_EQ(colours.size(), row.expected) << row.paletteSize << " entries, " << row.numColours;
        for (std::size_t i = 0; i < colours.size(); ++i)
            EXPECT_EQ(colours[i], ShaderColour((*map->GetPalette())[i])) << "entry " << i;
    }

    // The palette's current order counts, not the extracted one.
    SetPalette(12);
    Palette reversed(map->GetPalette()->rbegin(), map->GetPalette()->rend());
    map->SetPalette(reversed);
    const std::vector<AColor> colours = Colours(Translate());
    ASSERT_EQ(colours.size(), 1u);
    EXPECT_FLOAT_EQ(colours[0].r, 11000.0f / 65536.0f);
}

TEST_F(ShaderTranslation, ChannelsAreMultipliedNotDivided) {
    // A full channel stays below 1.
    EXPECT_EQ(ShaderColour({32768, 16384, 65535, 32768}), AColor(0.5f, 0.25f, 0.9999847412109375f, 0.5f));
}

TEST_F(ShaderTranslation, InputMapIsConnectedOnlyWhenSwitchedOnAndPresent) {
    map->pblock->SetValue(pb_input_map_on, 0, 1);
    imrShader* shader = Translate();
    EXPECT_EQ(Float(shader, L"inputMap"), 0.0f) << "switched on with no map: the value 0";
    EXPECT_EQ(Connection(shader), nullptr);

    auto* input = new ConstantMap();
    map->pblock->SetValue(pb_input_map, 0, static_cast<Texmap*>(input));
    shader = Translate();
    EXPECT_EQ(Connection(shader), input);
    EXPECT_EQ(Float(shader, L"inputMap"), -7.0f) << "a connected input keeps its value untouched";

    map->pblock->SetValue(pb_input_map_on, 0, 0);
    shader = Translate();
    EXPECT_EQ(Connection(shader), nullptr) << "switched off: not connected";
    EXPECT_EQ(Float(shader, L"inputMap"), 0.0f);
}

// The translation reads the map at the render's time and writes the shader at time 0: in animate mode,
// with the slider elsewhere, a write at any other time would leave keys and the old value at time 0.
TEST_F(ShaderTranslation, ReadsAtTheRenderTimeAndWritesAtTimeZero) {
    SetPalette(12);
    auto* input = new ConstantMap();
    map->pblock->SetValue(pb_input_map, 0, static_cast<Texmap*>(input));
    KeyThreeTimes(*map->pblock, pb_mapping_old, 3, 13, 14);
    KeyThreeTimes(*map->pblock, pb_num_colors, 2, 5, 7);
    KeyThreeTimes(*map->pblock, pb_tile_columns, 1, 2, 4);
    KeyThreeTimes(*map->pblock, pb_tile_rows, 1, 2, 6);
    KeyThreeTimes(*map->pblock, pb_input_map_on, 0, 0, 1);
    const SliderAt slider(kSliderTime, true);

    imrShader* shader = Translate(kRenderTime);
    EXPECT_EQ(Int(shader, L"mappingMode"), 14);
    EXPECT_EQ(Colours(shader).size(), 7u);
    EXPECT_EQ(Int(shader, L"tileWidth"), 4);
    EXPECT_EQ(Int(shader, L"tileHeight"), 6);
    EXPECT_EQ(Connection(shader), input);
    IParamBlock2* values = shader->GetParametersParamBlock();
    for (const wchar_t* name :
         {L"mappingMode", L"tileWidth", L"tileHeight", L"inputMap", L"mapping", L"UScale", L"VScale",
          L"WScale", L"UOffset", L"VOffset", L"WOffset", L"UAngle", L"VAngle", L"WAngle"})
        EXPECT_TRUE(values->GetKeys(Id(values, name)).empty()) << "a key on a shader parameter";
}

TEST_F(ShaderTranslation, CoordinatesAreReadAtRenderTimeOnlyFromAStandardGenerator) {
    map->pblock->SetValue(pb_tile_columns, 0, 4);
    auto* coords = new TimedXYZGen();
    map->ReplaceReference(Chromasift::kRefCoords, coords);
    imrShader* shader = Translate(2400);
    EXPECT_EQ(Int(shader, L"mapping"), UVW_COORDS);
    const wchar_t* const names[3][3] = {{L"UOffset", L"VOffset", L"WOffset"},
                                        {L"UScale", L"VScale", L"WScale"},
                                        {L"UAngle", L"VAngle", L"WAngle"}};
    for (int kind = 0; kind < 3; ++kind)
        for (int axis = 0; axis < 3; ++axis)
            EXPECT_FLOAT_EQ(Float(shader, names[kind][axis]),
                            10.0f * static_cast<float>(kind + 1) + static_cast<float>(axis) + 2.4f)
                << "read at the render's time";
    EXPECT_EQ(coords->times, std::vector<TimeValue>(9, 2400));

    map->ReplaceReference(Chromasift::kRefCoords, new OtherXYZGen());
    shader = Translate(2400);
    EXPECT_EQ(Int(shader, L"mapping"), -7) << "another generator leaves the shader's own coordinates";
    for (const auto& row : names)
        for (const wchar_t* name : row)
            EXPECT_EQ(Float(shader, name), -7.0f);
    EXPECT_EQ(Int(shader, L"tileWidth"), 4) << "tiles are written whatever the generator";
}

// The lookup behind every write: the first parameter named alike in any letter case, else -1.
TEST_F(ShaderTranslation, FindShaderParamTakesTheFirstNameEqualIgnoringCase) {
    const struct {
        std::vector<const wchar_t*> declared;
        const wchar_t* name;
        int expected; // the index among the declared
    } rows[] = {
        {{L"tileWidth"}, L"tileWidth", 0},
        {{L"colors", L"tileWidth"}, L"TILEwidth", 1},
        {{L"colors", L"mapping", L"UScale"}, L"uscale", 2},
        {{L"TILEWIDTH", L"tileWidth"}, L"tileWidth", 0},
        {{L"colors", L"tileWidth"}, L"tileHeight", -1},
        {{L"tileWidths"}, L"tileWidth", -1},
        {{}, L"colors", -1},
    };
    for (const auto& row : rows) {
        mrShaderDeclaration declaration{L"Lookup", {}};
        for (const wchar_t* name : row.declared)
            declaration.params.push_back({name, mrParamKind::Integer, false, 0.0});
        library.Declare(declaration);
        IParamBlock2& values = *library.CreateShader(L"Lookup", L"lookup")->GetParametersParamBlock();
        const ParamID expected = row.expected < 0 ? ParamID(-1) : values.IndextoID(row.expected);
        EXPECT_EQ(FindShaderParam(values, row.name), expected)
            << std::string(row.name, row.name + std::wcslen(row.name)) << " among " << row.declared.size();
    }
}

TEST_F(ShaderTranslation, AMissingParameterIsSkippedAndTheOthersStillWritten) {
    library.Declare(Declaration({L"colors", L"mappingMode", L"VScale", L"tileWidth"}));
    SetPalette(4);
    map->pblock->SetValue(pb_tile_rows, 0, 5);
    imrShader* shader = Translate();
    EXPECT_EQ(Float(shader, L"UScale"), 1.0f);
    EXPECT_EQ(Float(shader, L"WScale"), 1.0f);
    EXPECT_EQ(Int(shader, L"tileHeight"), 5);
    EXPECT_EQ(Float(shader, L"inputMap"), 0.0f);
}

// No shader, a shader lacking a block, or a map without a parameter block: the shader keeps its declared
// values.
TEST_F(ShaderTranslation, WithoutEitherSideNothingIsWritten) {
    SetPalette(4);
    Interval valid = FOREVER;
    map->TranslateParameters(translation, nullptr, 0, valid); // must simply return
    imrShader* complete = library.CreateShader(L"Chromasift", L"blocks");
    for (const bool keepValues : {true, false}) {
        PartialShader partial(keepValues ? complete->GetParametersParamBlock() : nullptr,
                              keepValues ? nullptr : complete->GetConnectionsParamBlock());
        map->TranslateParameters(translation, &partial, 0, valid);
    }
    map = NewMap(true);
    ASSERT_EQ(map->pblock, nullptr);
    SetPalette(5);
    for (imrShader* shader : {complete, Translate()}) {
        EXPECT_TRUE(Colours(shader).empty());
        for (const wchar_t* name : {L"mappingMode", L"mapping", L"tileWidth", L"tileHeight"})
            EXPECT_EQ(Int(shader, name), -7);
        for (const wchar_t* name : {L"inputMap", L"UScale", L"WAngle"})
            EXPECT_EQ(Float(shader, name), -7.0f);
    }
}

} // namespace
