#include "hostsdk/anim_time.h"
#include "hostsdk/bitmap.h"
#include "hostsdk/class_desc.h"
#include "hostsdk/core_interface.h"
#include "hostsdk/param_block.h"
#include "hostsdk/tex_gen.h"

#include "block_owner.h"
#include "change_listener.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string_view>
#include <utility>

namespace {

class Dummy : public ParamMap2UserDlgProc {
public:
    INT_PTR DlgProc(TimeValue, IParamMap2*, HWND, UINT, WPARAM, LPARAM) override { return 0; }
    void DeleteThis() override {}
};

enum { kInt = 1, kFloat = 2, kCombo = 3, kMap = 4, kOwned = 5, kBitmap = 6, kBool = 7, kSwitch = 8 };

ParamBlockDesc2 MakeDesc(Dummy* proc) {
    return ParamBlockDesc2(
        // clang-format off
        7, L"Test", 13, nullptr, P_AUTO_CONSTRUCT | P_AUTO_UI | P_MULTIMAP, 0,
        2, 1, 107, 12, 0, 0, proc,
           0, 106, 13, 0, 0, proc,
        kInt, L"count", TYPE_INT, P_ANIMATABLE, 152, p_default, 10, p_range, 1, 100,
            p_ui, 0, TYPE_SPINNER, EDITTYPE_INT, 1031, 1032, 1.0, p_end,
        kFloat, L"gamma", TYPE_FLOAT, P_ANIMATABLE, 47, p_default, 1.5, p_range, 0.1, 10.0,
            p_ui, 0, TYPE_SPINNER, EDITTYPE_FLOAT, 1036, 1037, static_cast<double>(0.1f), p_end,
        kCombo, L"sorts", TYPE_INT, 0, 6, p_default, 0,
            p_ui, 0, TYPE_INT_COMBOBOX, 1020, 3, 44, 45, 46, p_vals, 5, 6, 7, p_end,
        kMap, L"map", TYPE_TEXMAP, 0, 153, p_ui, 0, TYPE_TEXMAPBUTTON, 1033, p_subtexno, 0, p_end,
        kOwned, L"coords", TYPE_REFTARG, P_OWNERS_REF, 129, p_refno, 1, p_end,
        kBitmap, L"bitmap", TYPE_BITMAP, 0, 155, p_ui, 0, TYPE_BITMAPBUTTON, 1030, p_end,
        kBool, L"on", TYPE_BOOL, P_ANIMATABLE, 154, p_ui, 0, TYPE_SINGLECHECKBOX, 1034, p_end,
        kSwitch, L"done", TYPE_INT, P_ANIMATABLE, 156, p_default, 0, p_range, 0, 1, p_end,
        p_end
        // clang-format on
    );
}

// Decoding a well-formed list is driven field by field by the plug-in module's parameter block test.
TEST(ParamBlockDesc2, MalformedListsFailLoudly) {
    // One integer parameter "x" whose list goes on with the tags given.
    const auto list = [](auto... tags) {
        return ParamBlockDesc2(0, L"Bad", 0, nullptr, 0, 1, L"x", TYPE_INT, 0, 0, tags..., p_end);
    };
    const int unknownTag = p_default + 21; // a tag this host does not read
    EXPECT_THROW(list(unknownTag, 3, p_end), std::invalid_argument);
    // List values need the list they belong to.
    EXPECT_THROW(list(p_vals, 1, 2, p_end), std::invalid_argument);
    EXPECT_THROW(list(p_ui, 23, 1000, p_end), std::invalid_argument);
    EXPECT_THROW(list(p_ui, TYPE_INT_COMBOBOX, 1020, -1, p_end), std::invalid_argument);
    EXPECT_THROW(list(p_end, 1, L"y", TYPE_INT, 0, 0, p_end), std::invalid_argument);
}

// A block of the test description, owned by a minimal owner.
class IParamBlock2Test : public ::testing::Test {
protected:
    IParamBlock2Test() : desc(MakeDesc(&proc)) {
        block = CreateParameterBlock2(&desc, &owner);
        owner.ReplaceReference(0, block);
    }
    ~IParamBlock2Test() override { owner.DeleteAllRefs(); }

    Dummy proc;
    ParamBlockDesc2 desc;
    BlockOwner owner;
    IParamBlock2* block = nullptr;
};

TEST_F(IParamBlock2Test, TypeMismatchSetsNothingAndGetsZero) {
    EXPECT_FALSE(block->SetValue(kInt, 0, 2.5f));
    EXPECT_EQ(block->GetInt(kInt), 10);
    EXPECT_FALSE(block->SetValue(kFloat, 0, 3));
    EXPECT_FLOAT_EQ(block->GetFloat(kFloat), 1.5f);
    EXPECT_FALSE(block->SetValue(99, 0, 3));
    EXPECT_FALSE(block->SetValue(kInt, 0, 3, 1)); // no such tab index
    EXPECT_FALSE(block->SetValue(kInt, 0, AColor(1, 0, 0, 1)));
    EXPECT_FALSE(block->SetCount(kInt, 2)) << "a single value has no count";

    float f = 7.0f;
    Interval valid = FOREVER;
    EXPECT_FALSE(block->GetValue(kInt, 0, f, valid));
    EXPECT_EQ(f, 0.0f);
    EXPECT_EQ(block->GetFloat(kInt), 0.0f);
    EXPECT_EQ(block->GetInt(kFloat), 0);
}

TEST_F(IParamBlock2Test, MapsAreReferencesOfTheBlockAndOwnedReferencesOfTheOwner) {
    BitmapTex* texture = NewDefaultBitmapTex();
    EXPECT_TRUE(block->SetValue(kMap, 0, static_cast<Texmap*>(texture)));
    EXPECT_EQ(block->GetTexmap(kMap), texture);
    ASSERT_EQ(block->NumRefs(), 1);
    EXPECT_EQ(block->GetReference(0), texture);
    EXPECT_EQ(texture->Dependents().size(), 1u);
    // A texture map is not an acceptable value for an integer.
    EXPECT_FALSE(block->SetValue(kInt, 0, static_cast<Texmap*>(texture)));

    // The owner's reference 1 stands behind the "coords" parameter.
    StdXYZGen* coords = GetNewDefaultXYZGen();
    EXPECT_TRUE(block->SetValue(kOwned, 0, static_cast<ReferenceTarget*>(coords)));
    EXPECT_EQ(owner.refs[1], coords);
    EXPECT_EQ(block->GetReferenceTarget(kOwned), coords);

    // Resetting keeps references; clearing drops and deletes the texture.
    block->ResetAll();
    EXPECT_EQ(block->GetTexmap(kMap), texture);
    EXPECT_TRUE(block->SetValue(kMap, 0, static_cast<Texmap*>(nullptr)));
    EXPECT_EQ(block->GetTexmap(kMap), nullptr);
    owner.DeleteAllRefs();
    EXPECT_EQ(owner.refs[0], nullptr);
    EXPECT_EQ(owner.refs[1], nullptr);
}

// Every change of a value tells the block's dependents once, after it is stored; a refused set tells nobody.
TEST_F(IParamBlock2Test, EveryChangeOfAValueTellsTheDependentsOnceItIsStored) {
    std::pair<int, Texmap*> seen;
    ChangeListener listener(block, [&] { seen = {block->GetInt(kInt, 300), block->GetTexmap(kMap)}; });
    BitmapTex* held = NewDefaultBitmapTex();
    PBBitmap bitmap;
    const KeyTrack rising{{0, 1.0f}, {600, 7.0f}};
    // Each tells once, but the refused set at the end.
    const std::pair<const char*, std::function<void()>> changes[] = {
        {"int", [&] { block->SetValue(kInt, 0, 42); }},
        {"float", [&] { block->SetValue(kFloat, 0, 2.0f); }},
        {"bool", [&] { block->SetValue(kBool, 0, 1); }},
        {"map", [&] { block->SetValue(kMap, 0, static_cast<Texmap*>(held)); }},
        {"map deleted", [&] { held->DeleteThis(); }},
        {"owner's reference",
         [&] { block->SetValue(kOwned, 0, static_cast<ReferenceTarget*>(GetNewDefaultXYZGen())); }},
        {"bitmap", [&] { block->SetValue(kBitmap, 0, &bitmap); }},
        {"keys", [&] { block->SetKeys(kInt, rising); }},
        {"keys moved", [&] { block->SetValue(kInt, 0, 5); }},
        {"keys cleared", [&] { block->SetKeys(kInt, KeyTrack{}); }},
        {"animate mode",
         [&] {
             AnimateOn();
             block->SetValue(kInt, 300, 9);
             AnimateOff();
         }},
        {"reset", [&] { block->ResetAll(); }},
        {"refused", [&] { block->SetValue(kInt, 0, 2.5f); }},
    };
    for (const auto& [change, make] : changes) {
        const int before = listener.changes;
        make();
        EXPECT_EQ(listener.changes - before, std::string_view(change) == "refused" ? 0 : 1) << change;
        EXPECT_EQ(seen, std::make_pair(block->GetInt(kInt, 300), block->GetTexmap(kMap))) << change;
    }
}

// Animate mode is host-wide: every test that turns it on turns it off again.
class AnimatedParameters : public IParamBlock2Test {
protected:
    ~AnimatedParameters() override { AnimateOff(); }

    // The validity an integer read at t narrows FOREVER to.
    Interval Validity(ParamID id, TimeValue t) {
        Interval valid = FOREVER;
        int value = 0;
        EXPECT_TRUE(block->GetValue(id, t, value, valid));
        return valid;
    }
};

TEST_F(AnimatedParameters, AnimateModeSetsKeysAndTheFirstKeyKeepsTheOldValueAtZero) {
    AnimateOn();
    // At time 0 with no keys yet the change holds for all time, as the host's Auto Key does.
    EXPECT_TRUE(block->SetValue(kFloat, 0, 2.0f));
    EXPECT_TRUE(block->GetKeys(kFloat).empty());
    EXPECT_TRUE(block->SetValue(kFloat, 4800, 4.0f));
    EXPECT_EQ(block->GetKeys(kFloat), (KeyTrack{{0, 2.0f}, {4800, 4.0f}}));
    EXPECT_EQ(block->GetFloat(kFloat, 0), 2.0f);
    EXPECT_EQ(block->GetFloat(kFloat, 4800), 4.0f);
    block->SetValue(kFloat, 2400, 5.0f);
    EXPECT_EQ(block->GetKeys(kFloat).size(), 3u);

    // Integers follow the same curve, rounded; GetValue narrows the validity it is given.
    block->SetValue(kInt, 300, 20);
    EXPECT_EQ(block->GetKeys(kInt), (KeyTrack{{0, 10.0f}, {300, 20.0f}}));
    EXPECT_EQ(block->GetInt(kInt, 100), 13); // 10 + 10 * (3/9 - 2/27) = 12.59
    EXPECT_EQ(Validity(kInt, 100), Interval(100, 100));

    // Parameters without the animatable flag never animate; suspended animate mode sets no key.
    block->SetValue(kCombo, 4800, 2);
    EXPECT_TRUE(block->GetKeys(kCombo).empty());
    EXPECT_EQ(block->GetInt(kCombo, 0), 2);
    EXPECT_EQ(Validity(kCombo, 4800), FOREVER);
    {
        AnimateSuspend suspended;
        EXPECT_FALSE(Animating());
        block->SetValue(kFloat, 4800, 6.0f);
    }
    EXPECT_TRUE(Animating());
    EXPECT_EQ(block->GetKeys(kFloat), (KeyTrack{{0, 4.0f}, {2400, 7.0f}, {4800, 6.0f}}));
}

TEST_F(AnimatedParameters, OutsideAnimateModeAChangeMovesTheWholeCurve) {
    const KeyTrack keys{{0, 15.0f}, {1600, 30.0f}, {3200, 50.0f}};
    ASSERT_TRUE(block->SetKeys(kFloat, keys));
    // At the middle key: 30 becomes 40, and every key moves by 10.
    block->SetValue(kFloat, 1600, 40.0f);
    EXPECT_EQ(block->GetKeys(kFloat), (KeyTrack{{0, 25.0f}, {1600, 40.0f}, {3200, 60.0f}}));
    // The change is measured at the time given: at the last key 60 becomes 50.
    block->SetValue(kFloat, 3200, 50.0f);
    EXPECT_EQ(block->GetFloat(kFloat, 0), 15.0f);
    // Without keys the value holds for all time, whatever the time given.
    block->SetValue(kInt, 4800, 7);
    EXPECT_TRUE(block->GetKeys(kInt).empty());
    EXPECT_EQ(block->GetInt(kInt, 0), 7);
}

TEST_F(AnimatedParameters, SwitchesStepAtTheirKeysAndStayOffOrOn) {
    // Booleans and integers ranging from 0 to 1 hold a key's value up to the next key.
    for (const ParamID id : {kBool, kSwitch}) {
        ASSERT_TRUE(block->SetKeys(id, KeyTrack{{0, 0.0f}, {4800, 1.0f}}));
        EXPECT_EQ(block->GetInt(id, 4799), 0) << id;
        EXPECT_EQ(block->GetInt(id, 4800), 1) << id;
        EXPECT_EQ(Validity(id, 3000), Interval(0, 4799)) << id;
        // Switched off outside animate mode where it is on: the whole track moves, and stays off or on.
        block->SetValue(id, 4800, 0);
        EXPECT_EQ(block->GetKeys(id), (KeyTrack{{0, 0.0f}, {4800, 0.0f}})) << id;
    }
    // An integer of a wider range keeps the smooth curve, rounded.
    ASSERT_TRUE(block->SetKeys(kInt, KeyTrack{{0, 1.0f}, {4800, 2.0f}}));
    EXPECT_EQ(block->GetInt(kInt, 4000), 2);
}

TEST_F(AnimatedParameters, KeysAreCheckedClonedAndDroppedByReset) {
    const KeyTrack unsorted{{100, 1.0f}, {50, 2.0f}};
    EXPECT_FALSE(block->SetKeys(kFloat, unsorted));
    EXPECT_FALSE(block->SetKeys(kCombo, KeyTrack{{0, 1.0f}}));
    EXPECT_FALSE(block->SetKeys(kMap, KeyTrack{{0, 1.0f}}));
    EXPECT_TRUE(block->GetKeys(kFloat).empty());

    ASSERT_TRUE(block->SetKeys(kInt, KeyTrack{{0, 3.0f}, {160, 9.0f}}));
    RemapDir remap;
    auto* copy = static_cast<IParamBlock2*>(remap.CloneRef(block));
    EXPECT_EQ(copy->GetKeys(kInt), block->GetKeys(kInt));
    EXPECT_EQ(copy->GetInt(kInt, 160), 9);
    // The copy's keys are its own.
    AnimateOn();
    copy->SetValue(kInt, 160, 1);
    EXPECT_EQ(block->GetInt(kInt, 160), 9);
    copy->DeleteThis();

    // No keys leave the value the keys gave at time 0.
    ASSERT_TRUE(block->SetKeys(kInt, KeyTrack{}));
    EXPECT_EQ(block->GetInt(kInt, 160), 3);
    block->SetKeys(kInt, KeyTrack{{0, 3.0f}, {160, 9.0f}});
    block->ResetAll();
    EXPECT_TRUE(block->GetKeys(kInt).empty());
    EXPECT_EQ(block->GetInt(kInt, 160), 10);
}

TEST(AnimatedParametersBesideTables, KeepTheirKeysWhenATableGrows) {
    Dummy proc;
    enum { kWeights = 9 };
    ParamBlockDesc2 desc(
        // clang-format off
        8, L"Tables", 14, nullptr, P_AUTO_CONSTRUCT, 0,
        kFloat, L"gamma", TYPE_FLOAT, P_ANIMATABLE, 47, p_default, 1.5, p_end,
        kWeights, L"weights", TYPE_FLOAT | TYPE_TAB, 1, 0, 48, p_default, 0.5, p_end,
        p_end
        // clang-format on
    );
    IParamBlock2* block = CreateParameterBlock2(&desc, nullptr);
    ASSERT_TRUE(block->SetKeys(kFloat, KeyTrack{{0, 2.0f}, {160, 4.0f}}));
    // Growing a table moves its elements and renews every parameter's quick access; keys still decide.
    ASSERT_TRUE(block->SetCount(kWeights, 40));
    EXPECT_EQ(block->GetFloat(kFloat, 160), 4.0f);
    EXPECT_EQ(block->GetFloat(kWeights, 160, 39), 0.5f);
    block->SetValue(kWeights, 0, 0.25f);
    EXPECT_EQ(block->GetFloat(kWeights, 160), 0.25f);
    ASSERT_TRUE(block->SetKeys(kFloat, KeyTrack{}));
    EXPECT_EQ(block->GetFloat(kFloat, 160), 2.0f);
    block->DeleteThis();
}

TEST(ParamBlockTables, ShrinkingAMapTableReleasesTheDroppedMapsAndClonesKeepCounts) {
    std::vector<ParamDef> defs(2);
    defs[0].id = 0;
    defs[0].internalName = L"maps";
    defs[0].type = TYPE_TEXMAP | TYPE_TAB;
    defs[1].id = 4;
    defs[1].internalName = L"level";
    defs[1].type = TYPE_FLOAT;
    ParamBlockDesc2 desc(3, L"Block", defs);
    IParamBlock2* block = CreateParameterBlock2(&desc, nullptr);
    EXPECT_EQ(block->IndextoID(1), 4);
    ASSERT_TRUE(block->SetCount(0, 2));
    BitmapTex* kept = NewDefaultBitmapTex();
    BitmapTex* dropped = NewDefaultBitmapTex();
    ASSERT_TRUE(block->SetValue(0, 0, static_cast<Texmap*>(kept), 0));
    ASSERT_TRUE(block->SetValue(0, 0, static_cast<Texmap*>(dropped), 1));
    EXPECT_EQ(block->NumRefs(), 2);
    // Another holder keeps the dropped map alive so that its dependents can be looked at.
    auto* holder = CreateParameterBlock2(&desc, nullptr);
    holder->SetCount(0, 1);
    holder->SetValue(0, 0, static_cast<Texmap*>(dropped), 0);

    ASSERT_TRUE(block->SetCount(0, 1));
    EXPECT_EQ(block->NumRefs(), 1);
    EXPECT_EQ(block->GetTexmap(0, 0, 0), kept);
    EXPECT_EQ(dropped->Dependents().size(), 1u) << "only the other holder still refers to it";

    block->SetValue(4, 0, 2.5f);
    RemapDir remap;
    auto* copy = static_cast<IParamBlock2*>(block->Clone(remap));
    EXPECT_EQ(copy->Count(0), 1);
    EXPECT_EQ(copy->GetFloat(4), 2.5f);
    copy->DeleteThis();
    holder->DeleteThis();
    block->DeleteThis();
}

} // namespace

TEST(ParamBlockQuickReads, FollowEveryChangeAndReachIdsBeyondTheCopies) {
    // Reads of a block's own values go through copies refreshed on every change; an ID past the copies
    // is read from the value itself.
    std::vector<ParamDef> defs(3);
    defs[0].id = 2;
    defs[0].internalName = L"map";
    defs[0].type = TYPE_TEXMAP;
    defs[1].id = 70;
    defs[1].internalName = L"count";
    defs[1].type = TYPE_INT;
    defs[2].id = 71;
    defs[2].internalName = L"level";
    defs[2].type = TYPE_FLOAT;
    ParamBlockDesc2 desc(5, L"Wide", defs);
    IParamBlock2* block = CreateParameterBlock2(&desc, nullptr);
    block->SetValue(70, 0, 12);
    block->SetValue(71, 0, 0.75f);
    EXPECT_EQ(block->GetInt(70), 12);
    EXPECT_EQ(block->GetFloat(71), 0.75f);

    // A map set through the reference slot rather than SetValue is seen at once, and so is its removal.
    BitmapTex* texture = NewDefaultBitmapTex();
    ASSERT_EQ(block->ReplaceReference(0, texture), REF_SUCCEED);
    EXPECT_EQ(block->GetTexmap(2), texture);
    RemapDir remap;
    auto* copy = static_cast<IParamBlock2*>(block->Clone(remap));
    EXPECT_NE(copy->GetTexmap(2), nullptr);
    EXPECT_EQ(copy->GetInt(70), 12);
    copy->DeleteThis();
    ASSERT_EQ(block->ReplaceReference(0, nullptr), REF_SUCCEED);
    EXPECT_EQ(block->GetTexmap(2), nullptr);
    block->DeleteThis();
}
