#include "change_listener.h"
#include "map_test_support.h"
#include "test_maps.h"

#include "map/chromasift_post_load.h"
#include "plugin/param_ids.h"
#include "plugin/plugin_main.h"
#include "ui/chromasift_dlg_proc.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

TEST(Chromasift, ALoadingMapGetsCoordinatesButNoBlock) {
    MapPtr loading = NewMap(true);
    EXPECT_EQ(loading->pblock, nullptr);
    EXPECT_NE(loading->GetReference(1), nullptr) << "default coordinates are installed when loading too";
}

// The interfaces the map answers.
TEST(Chromasift, AnswersTheHostsInterfaceQueries) {
    MapPtr map = NewMap();
    EXPECT_EQ(map->GetInterface(IMRSHADERTRANSLATION_INTERFACE_ID),
              static_cast<imrShaderTranslation*>(map.get()));
    EXPECT_EQ(map->GetInterface(Interface_ID(0x1C396ABD, 0x5F964E0D)), nullptr);
    EXPECT_EQ(map->GetInterface(I_SUBMAP), static_cast<ISubMap*>(map.get()));
    EXPECT_EQ(map->GetInterface(ULONG{0x1261}), nullptr);
}

// A change of a parameter reaches what refers to the map, and rebuilds nothing: the palette stays as set.
TEST(Chromasift, ChangesPassThroughTheMapAndRebuildNothing) {
    MapPtr map = NewMap();
    const Palette palette(2);
    map->SetPalette(palette);
    ChangeListener listener(map.get());
    map->pblock->SetValue(pb_num_colors, 0, 1);
    EXPECT_EQ(listener.changes, 1);
    EXPECT_EQ(*map->GetPalette(), palette);
}

// The load callback runs after the host's own (priority 0); on a map without a block it changes nothing (and
// must not fail); it deletes itself.
TEST(ChromasiftPostLoad, PriorityAndSelfDeletionOnAMapWithoutABlock) {
    class Watched : public ChromasiftPostLoad {
    public:
        Watched(Chromasift* map, bool& deleted) : ChromasiftPostLoad(map), deleted(deleted) {}
        ~Watched() override { deleted = true; }
        bool& deleted;
    };
    MapPtr map = NewMap(true);
    bool deleted = false;
    auto* callback = new Watched(map.get(), deleted);
    EXPECT_EQ(callback->Priority(), 5);
    callback->proc(nullptr);
    EXPECT_TRUE(deleted);
}

TEST(Chromasift, OnlySecondGenerationBlocksTakeReferenceZero) {
    MapPtr map = NewMap();
    IParamBlock2* block = map->pblock;
    StdXYZGen* stranger = GetNewDefaultXYZGen();
    map->ReplaceReference(0, stranger);
    EXPECT_EQ(map->pblock, block) << "a target that is no parameter block is ignored";
    stranger->DeleteThis();
}

TEST(Chromasift, SubMapsFollowTheInputMapSwitch) {
    MapPtr map = NewMap();
    BitmapTex* input = NewDefaultBitmapTex();
    map->SetSubTexmap(0, input);
    EXPECT_EQ(map->pblock->GetTexmap(pb_input_map), input);
    EXPECT_EQ(map->pblock->GetInt(pb_input_map_on), 1);
    map->SetSubTexmap(0, nullptr);
    EXPECT_EQ(map->GetSubTexmap(0), nullptr);
    EXPECT_EQ(map->pblock->GetInt(pb_input_map_on), 0);

    BitmapTex* source = NewDefaultBitmapTex();
    map->SetSubTexmap(1, source);
    map->pblock->SetValue(pb_input_map_on, 0, 1);
    EXPECT_EQ(map->GetSubTexmap(1), source);
    EXPECT_EQ(map->SubTexmapOn(1), 0) << "the source map is never reported active";
}

TEST(Chromasift, UpdateTurnsAPendingBitmapIntoASourceMapOnce) {
    MapPtr map = NewMap();
    Interval valid = FOREVER;
    map->MarkExtractPending();
    map->Update(0, valid);
    EXPECT_FALSE(map->IsExtractPending()) << "cleared also without a bitmap";
    EXPECT_EQ(map->GetSubTexmap(1), nullptr);

    BitmapInfo info;
    info.SetName(L"missing-picture.png");
    PBBitmap bitmap(info);
    map->pblock->SetValue(pb_bitmap, 0, &bitmap);
    GetCOREInterface()->SetQuietMode(TRUE);
    map->MarkExtractPending();
    map->Update(0, valid);
    auto* source = dynamic_cast<BitmapTex*>(map->GetSubTexmap(1));
    ASSERT_NE(source, nullptr);
    EXPECT_STREQ(source->GetMapName(), L"missing-picture.png");
    EXPECT_EQ(source->GetName(), L"missing-picture.png");

    map->Update(0, valid);
    EXPECT_EQ(map->GetSubTexmap(1), source) << "a second Update finds nothing pending";
    GetCOREInterface()->SetQuietMode(FALSE);
}

// Coordinates and output that record the times they are updated at.
class CountingCoords : public XYZGen {
public:
    void GetXYZ(ShadeContext&, Point3& p, Point3& dp) override { p = dp = Point3(0.0f, 0.0f, 0.0f); }
    void Update(TimeValue t, Interval&) override { updates.push_back(t); }
    void Reset() override {}
    Interval Validity(TimeValue) override { return FOREVER; }
    ParamDlg* CreateParamDlg(HWND, IMtlParams*) override { return nullptr; }
    std::vector<TimeValue> updates;
};

class CountingOutput : public TextureOutput {
public:
    AColor Filter(AColor c) override { return c; }
    float Filter(float f) override { return f; }
    Point3 Filter(Point3 p) override { return p; }
    float GetOutputLevel(TimeValue) override { return 1.0f; }
    void SetOutputLevel(TimeValue, float) override {}
    void SetInvert(BOOL) override {}
    BOOL GetInvert() override { return FALSE; }
    void Update(TimeValue t, Interval&) override { updates.push_back(t); }
    void Reset() override {}
    Interval Validity(TimeValue) override { return FOREVER; }
    ParamDlg* CreateParamDlg(HWND, IMtlParams*) override { return nullptr; }
    std::vector<TimeValue> updates;
};

TEST(Chromasift, UpdateReachesSubMapsCoordinatesAndOutput) {
    MapPtr map = NewMap();
    auto* input = new ConstantMap();
    auto* source = new ConstantMap();
    auto* coords = new CountingCoords();
    auto* output = new CountingOutput();
    map->SetSubTexmap(0, input);
    map->SetSubTexmap(1, source);
    map->ReplaceReference(1, coords);
    map->ReplaceReference(2, output);
    Interval valid = FOREVER;
    map->Update(160, valid);
    for (const std::vector<TimeValue>* updates :
         {&input->updates, &source->updates, &coords->updates, &output->updates})
        EXPECT_EQ(*updates, std::vector<TimeValue>{160});
}

TEST(Chromasift, ResetRestoresDefaultsButKeepsSourceMap) {
    MapPtr map = NewMap();
    BitmapTex* source = NewDefaultBitmapTex();
    map->SetSubTexmap(1, source);
    ReferenceTarget* coords = map->GetReference(1);
    ReferenceTarget* output = map->GetReference(2);
    Palette palette(3);
    palette[1].red = 4000;
    map->SetPalette(palette);
    map->pblock->SetValue(pb_gamma, 0, 2.5f);
    map->Reset();
    EXPECT_FLOAT_EQ(map->pblock->GetFloat(pb_gamma), 1.0f);
    EXPECT_EQ(map->GetSubTexmap(1), source);
    EXPECT_EQ(map->GetReference(1), coords);
    EXPECT_EQ(map->GetReference(2), output);
    EXPECT_EQ(*map->GetPalette(), palette) << "the palette is not a parameter";
}

TEST(Chromasift, UserDialogProcedureGoesToTheParametersRollout) {
    ClassDesc2* cd = GetChromasiftDesc();
    ParamBlockDesc2* pbd = cd->GetParamBlockDescByID(0);
    ASSERT_NE(pbd, nullptr);
    ChromasiftDlgProc other;
    cd->SetUserDlgProc(pbd, &other);
    const ParamMap2UserDlgProc* params = pbd->FindMap(0)->userDlgProc;
    const ParamMap2UserDlgProc* about = pbd->FindMap(1)->userDlgProc;
    cd->SetUserDlgProc(pbd, &theChromasiftDlgProc);
    EXPECT_EQ(params, &other);
    EXPECT_EQ(about, &theChromasiftDlgProc) << "the About rollout keeps its procedure";
}

TEST(Chromasift, CloneCopiesReferencesNotIdentity) {
    MapPtr map = NewMap();
    map->SetName(L"Sunset");
    map->pblock->SetValue(pb_num_colors, 0, 7);
    BitmapTex* input = NewDefaultBitmapTex();
    map->SetSubTexmap(0, input);
    MapPtr copy = CloneOf(*map);
    ASSERT_NE(copy->pblock, nullptr);
    EXPECT_NE(copy->pblock, map->pblock);
    EXPECT_EQ(copy->pblock->GetInt(pb_num_colors), 7);
    EXPECT_EQ(copy->GetName(), L"Sunset");
    EXPECT_NE(copy->GetReference(1), map->GetReference(1));
    ASSERT_NE(copy->GetSubTexmap(0), nullptr);
    EXPECT_NE(copy->GetSubTexmap(0), input);
    EXPECT_EQ(copy->pblock->GetReferenceTarget(pb_coords), copy->GetReference(1));
    EXPECT_TRUE(copy->GetPalette()->empty()) << "a clone without a bitmap keeps empty palette lists";
}

TEST(Chromasift, ParamDialogsPointTheSharedProcedureAtTheirMap) {
    MapPtr first = NewMap();
    MapPtr second = NewMap();
    EXPECT_EQ(theChromasiftDlgProc.GetMap(), second.get()) << "the most recent construction wins";
    auto* master = static_cast<IAutoMParamDlg*>(first->CreateParamDlg(nullptr, nullptr));
    ASSERT_NE(master, nullptr);
    EXPECT_EQ(theChromasiftDlgProc.GetMap(), first.get());
    EXPECT_EQ(master->NumMaps(), 2) << "the About and parameters rollouts";
    ASSERT_EQ(master->NumDlgs(), 2);
    ParamDlg* coordsDlg = master->GetDlg(0);
    ParamDlg* outputDlg = master->GetDlg(1);
    EXPECT_EQ(coordsDlg->GetThing(), first->GetReference(1));
    EXPECT_EQ(outputDlg->GetThing(), first->GetReference(2));

    // Switching the material editor to the second map hands it the same sub-dialogs.
    EXPECT_TRUE(second->SetDlgThing(coordsDlg));
    EXPECT_EQ(coordsDlg->GetThing(), second->GetReference(1));
    EXPECT_TRUE(second->SetDlgThing(outputDlg));
    EXPECT_EQ(outputDlg->GetThing(), second->GetReference(2));
    EXPECT_FALSE(second->SetDlgThing(master));
    EXPECT_EQ(theChromasiftDlgProc.GetMap(), second.get());
    master->DeleteThis();
}

TEST(Chromasift, DestructionForgetsTheMapEverywhere) {
    const int registrations = NotificationCount(NOTIFY_PRE_RENDER);
    {
        MapPtr map = NewMap();
        EXPECT_EQ(NotificationCount(NOTIFY_PRE_RENDER), registrations + 1);
    }
    EXPECT_EQ(NotificationCount(NOTIFY_PRE_RENDER), registrations);
    EXPECT_EQ(theChromasiftDlgProc.GetMap(), nullptr) << "the procedure must not act on a destroyed map";
    BroadcastNotification(NOTIFY_PRE_RENDER); // must not reach the destroyed map
}

} // namespace
