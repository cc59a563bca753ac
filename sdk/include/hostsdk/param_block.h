#pragma once

// IParamBlock2: typed parameter values by ID and tab index, created from a ParamBlockDesc2.
#include "hostsdk/key_track.h"
#include "hostsdk/param_block_desc.h"
#include "hostsdk/references.h"

#include <atomic>
#include <bit>
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <vector>

class Texmap;
class PBBitmap;

class SDK_API IParamBlock2 : public ReferenceTarget {
public:
    IParamBlock2(ParamBlockDesc2* desc, ReferenceMaker* owner);
    ~IParamBlock2() override;

    SClass_ID SuperClassID() override { return PARAMETER_BLOCK2_CLASS_ID; }
    Class_ID ClassID() override { return Class_ID(0x82, 0); }

    ParamBlockDesc2* GetDesc() const { return desc; }
    BlockID ID() const { return desc->ID(); }
    ReferenceMaker* GetOwner() const { return owner; }
    void SetOwner(ReferenceMaker* newOwner) { owner = newOwner; }

    // Setters store the value when the parameter's type accepts it and return FALSE, storing nothing,
    // otherwise. Ranges are not enforced: they bound the user interface, not the program.
    // A number parameter declared animatable follows the host's animate mode: while Animating(), setting it
    // at t sets a key at t (the first key away from time 0 also keeps the old value in a key at time 0);
    // otherwise a parameter without keys takes the value for all time and one with keys has every key
    // moved by the change at t (an on/off parameter's keys staying off or on). Parameters that are not
    // animatable hold one value for all time.
    // Every change of a value (a set, keys set or cleared, a reset, a resize, a reference slot taken or
    // cleared) tells the block's dependents with REFMSG_CHANGE once it is stored, as the host's blocks do.
    BOOL SetValue(ParamID id, TimeValue t, int value, int tabIndex = 0);
    BOOL SetValue(ParamID id, TimeValue t, float value, int tabIndex = 0);
    BOOL SetValue(ParamID id, TimeValue t, const Point3& value, int tabIndex = 0);
    BOOL SetValue(ParamID id, TimeValue t, const Color& value, int tabIndex = 0);
    BOOL SetValue(ParamID id, TimeValue t, const AColor& value, int tabIndex = 0);
    BOOL SetValue(ParamID id, TimeValue t, Texmap* value, int tabIndex = 0);
    BOOL SetValue(ParamID id, TimeValue t, ReferenceTarget* value, int tabIndex = 0);
    // Stores a copy of the bitmap description (null clears the parameter).
    BOOL SetValue(ParamID id, TimeValue t, PBBitmap* value, int tabIndex = 0);
    BOOL SetValue(ParamID id, TimeValue t, const MCHAR* value, int tabIndex = 0);

    // Getters fill `value` (an animated parameter's value at t) and narrow `valid` to the time around t over
    // which it holds when the type matches; otherwise they set `value` to zero or null and return FALSE.
    BOOL GetValue(ParamID id, TimeValue t, int& value, Interval& valid, int tabIndex = 0);
    BOOL GetValue(ParamID id, TimeValue t, float& value, Interval& valid, int tabIndex = 0);
    BOOL GetValue(ParamID id, TimeValue t, Point3& value, Interval& valid, int tabIndex = 0);
    BOOL GetValue(ParamID id, TimeValue t, Color& value, Interval& valid, int tabIndex = 0);
    BOOL GetValue(ParamID id, TimeValue t, AColor& value, Interval& valid, int tabIndex = 0);
    BOOL GetValue(ParamID id, TimeValue t, Texmap*& value, Interval& valid, int tabIndex = 0);
    BOOL GetValue(ParamID id, TimeValue t, ReferenceTarget*& value, Interval& valid, int tabIndex = 0);
    BOOL GetValue(ParamID id, TimeValue t, PBBitmap*& value, Interval& valid, int tabIndex = 0);
    BOOL GetValue(ParamID id, TimeValue t, const MCHAR*& value, Interval& valid, int tabIndex = 0);

    // Shading reads parameters on every sample: the common case (tab index 0 of a matching type holding
    // one value for all time) is an index into the block's fast copies and a copy out of it.
    int GetInt(ParamID id, TimeValue t = 0, int tabIndex = 0) {
        if (const std::uint64_t word = FastCopy(id, tabIndex); static_cast<std::uint32_t>(word) == kFastInt)
            [[likely]]
            return static_cast<int>(word >> 32);
        return GetIntSlow(id, t, tabIndex);
    }
    float GetFloat(ParamID id, TimeValue t = 0, int tabIndex = 0) {
        if (const std::uint64_t word = FastCopy(id, tabIndex); static_cast<std::uint32_t>(word) == kFastFloat)
            [[likely]]
            return std::bit_cast<float>(static_cast<std::uint32_t>(word >> 32));
        return GetFloatSlow(id, t, tabIndex);
    }
    Texmap* GetTexmap(ParamID id, TimeValue t = 0, int tabIndex = 0) {
        if (static_cast<std::uint32_t>(FastCopy(id, tabIndex)) == kFastMap) [[likely]]
            return fastMaps[static_cast<std::size_t>(id)].load(std::memory_order_relaxed);
        return GetTexmapSlow(id, t, tabIndex);
    }
    PBBitmap* GetBitmap(ParamID id, TimeValue t = 0, int tabIndex = 0);
    ReferenceTarget* GetReferenceTarget(ParamID id, TimeValue t = 0, int tabIndex = 0);

    // The keys of an animated number parameter in time order; empty while it holds one value for all time.
    // The host reaches them through the parameter's controller; the stand-in keeps them in the block.
    KeyTrack GetKeys(ParamID id, int tabIndex = 0);
    // Replaces the keys. No keys leave the parameter the value it had at time 0. FALSE, changing nothing,
    // for a parameter that is not an animatable number, or keys not in ascending time.
    BOOL SetKeys(ParamID id, std::span<const TrackKey> keys, int tabIndex = 0);

    int Count(ParamID id);
    // Sets the number of elements of a table parameter: new elements hold the default, dropped ones
    // release their references. FALSE for a parameter that is not a table.
    BOOL SetCount(ParamID id, int n);

    // The parameters in declaration order, as the descriptor lists them.
    int NumParams() { return desc->Count(); }
    ParamID IndextoID(int index) { return desc->IndextoID(index); }
    // Null when the block has no parameter with that ID.
    const ParamDef* GetParamDef(ParamID id) { return desc->GetParamDef(id); }

    // Returns every parameter that holds a value (not a reference) to its declared default, or to zero when
    // none is declared. Maps and other references held in the block are kept.
    void ResetAll(BOOL updateUI = TRUE, BOOL callSetHandlers = TRUE);

    // References: one slot per (reference-typed parameter, tab index) that the block itself holds.
    int NumRefs() override;
    RefTargetHandle GetReference(int i) override;
    RefTargetHandle Clone(RemapDir& remap) override;
    void RefAdded(RefMakerHandle maker) override;

    int NumSubs() override { return 0; }

protected:
    void SetReference(int i, RefTargetHandle target) override;

private:
    struct Value {
        int i = 0;
        float f = 0.0f;
        Point3 p;
        float w = 0.0f; // the fourth component of colours with alpha and four-component points
        ReferenceTarget* ref = nullptr;
        std::shared_ptr<PBBitmap> bitmap;
        MSTR text;
        // Null while the value holds for all time; replaced whole, never changed in place.
        std::shared_ptr<const KeyTrack> keys;
    };
    struct Slot {
        int paramIndex;
        int tabIndex;
    };

    Value* Find(ParamID id, int tabIndex, const ParamDef** def);
    // The value of a number parameter at t, from its keys when it has any.
    double NumberAt(const ParamDef& def, Value& slot, TimeValue t, Interval& valid);
    // Applies a new number at t; false when the parameter holds one value for all time and it is stored
    // there by the caller.
    bool SetAnimated(const ParamDef& def, int index, int tabIndex, Value& slot, TimeValue t, float value);
    void StoreKeys(int index, int tabIndex, Value& slot, std::shared_ptr<const KeyTrack> keys);
    // Tab index 0's fast copy of the parameter, or 0 (no kind) for the slow path.
    std::uint64_t FastCopy(ParamID id, int tabIndex) const {
        return tabIndex == 0 && static_cast<std::size_t>(id) < kFastIds
                   ? fast[static_cast<std::size_t>(id)].load(std::memory_order_relaxed)
                   : 0;
    }
    int GetIntSlow(ParamID id, TimeValue t, int tabIndex);
    float GetFloatSlow(ParamID id, TimeValue t, int tabIndex);
    Texmap* GetTexmapSlow(ParamID id, TimeValue t, int tabIndex);
    BOOL SetReferenceValue(ParamID id, ReferenceTarget* value, int tabIndex, bool texmapOnly);
    void RebuildSlots();
    void RefreshFastCopies();
    // Copies the parameter's tab index 0 into its fast copy, or marks the copy absent (keys, other types).
    void RefreshFastCopy(int index);
    Value DefaultValue(const ParamDef& def) const;
    void SetDefaults(bool keepReferences);
    void NotifyChanged();

    ParamBlockDesc2* desc;
    ReferenceMaker* owner;
    std::vector<std::vector<Value>> values;
    std::vector<Slot> slots;
    // Per parameter ID, tab index 0 copied where a read needs nothing else: an integer or float holding one
    // value for all time (its 32 bits in the high half of the word, its kind in the low half), or a map
    // the block itself holds (kind kFastMap, the map in fastMaps). No kind (0) for keyed values, other
    // types and IDs the block lacks, which take the slow path.
    static constexpr std::uint32_t kFastInt = 1;
    static constexpr std::uint32_t kFastFloat = 2;
    static constexpr std::uint32_t kFastMap = 3;
    // IDs from 0 to kFastIds - 1 have copies, held in the block itself: a read with a constant ID is then
    // one load at a fixed place and one comparison. Blocks rarely have more parameters.
    static constexpr std::size_t kFastIds = 64;
    std::atomic<std::uint64_t> fast[kFastIds] = {};
    std::atomic<Texmap*> fastMaps[kFastIds] = {};
    // Guards every Value::keys: render threads read keys while the user interface thread sets them.
    std::mutex keysLock;
};

// Creates a block with the descriptor's defaults.
SDK_API IParamBlock2* CreateParameterBlock2(ParamBlockDesc2* desc, ReferenceMaker* owner);
