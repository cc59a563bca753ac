#include "hostsdk/param_block.h"

#include "hostsdk/anim_time.h"
#include "hostsdk/bitmap.h"
#include "hostsdk/mtl_base.h"

#include "param_value_types.h"

#include <algorithm>
#include <atomic>
#include <cmath>

namespace {

using namespace param_value_types;

bool IsAnimatableNumber(const ParamDef& def) {
    return (def.flags & P_ANIMATABLE) != 0 && !is_tab(def.type) &&
           (AcceptsInt(def.type) || is_float_type(def.type));
}

// Integer parameters follow the float curve of their keys, rounded to the nearest integer.
int RoundedKeyValue(float value) {
    return static_cast<int>(std::lround(value));
}

// An on/off parameter: a boolean, or an integer whose range is off and on. Its keys step.
bool IsSwitch(const ParamDef& def) {
    return base_type(def.type) == TYPE_BOOL ||
           (base_type(def.type) == TYPE_INT && def.hasRange && def.rangeLow.i == 0 && def.rangeHigh.i == 1);
}

float KeyedValue(const ParamDef& def, std::span<const TrackKey> keys, TimeValue t, Interval& valid) {
    if (IsSwitch(def))
        return SteppedTrackValue(keys, t, valid);
    const float value = TrackValue(keys, t, valid);
    return AcceptsInt(def.type) ? static_cast<float>(RoundedKeyValue(value)) : value;
}

} // namespace

// Render threads read values while the user interface thread edits them: integers, floats and
// references are read and written as relaxed atomics, which cost nothing more than plain moves here. Every
// change of an integer or float at tab index 0, or of its keys, refreshes the parameter's fast copy.

IParamBlock2::IParamBlock2(ParamBlockDesc2* desc_, ReferenceMaker* owner_) : desc(desc_), owner(owner_) {
    values.resize(static_cast<std::size_t>(desc->Count()));
    for (int i = 0; i < desc->Count(); ++i) {
        const ParamDef& def = desc->GetParamDefByIndex(i);
        values[static_cast<std::size_t>(i)].resize(
            static_cast<std::size_t>(is_tab(def.type) ? def.tabSize : 1));
    }
    RebuildSlots();
    SetDefaults(false);
    RefreshFastCopies();
}

IParamBlock2::~IParamBlock2() {
    DeleteAllRefs();
}

void IParamBlock2::RebuildSlots() {
    slots.clear();
    for (int i = 0; i < desc->Count(); ++i) {
        const ParamDef& def = desc->GetParamDefByIndex(i);
        if (!IsReferenceType(def.type) || IsOwnersReference(def))
            continue;
        for (std::size_t tab = 0; tab < values[static_cast<std::size_t>(i)].size(); ++tab)
            slots.push_back(Slot{i, static_cast<int>(tab)});
    }
}

IParamBlock2::Value IParamBlock2::DefaultValue(const ParamDef& def) const {
    Value fresh;
    if (def.hasDefault) {
        fresh.i = def.defaultValue.i;
        fresh.f = static_cast<float>(def.defaultValue.f);
        fresh.p = def.defaultValue.p;
        if (base_type(def.type) == TYPE_STRING || base_type(def.type) == TYPE_FILENAME)
            if (def.defaultValue.ptr != nullptr)
                fresh.text = static_cast<const MCHAR*>(def.defaultValue.ptr);
    }
    return fresh;
}

void IParamBlock2::SetDefaults(bool keepReferences) {
    for (int i = 0; i < desc->Count(); ++i) {
        const ParamDef& def = desc->GetParamDefByIndex(i);
        if (IsReferenceType(def.type))
            continue;
        for (Value& value : values[static_cast<std::size_t>(i)])
            value = DefaultValue(def);
    }
    (void)keepReferences;
}

IParamBlock2::Value* IParamBlock2::Find(ParamID id, int tabIndex, const ParamDef** def) {
    const int index = desc->IDtoIndex(id);
    if (index < 0)
        return nullptr;
    std::vector<Value>& tab = values[static_cast<std::size_t>(index)];
    if (tabIndex < 0 || static_cast<std::size_t>(tabIndex) >= tab.size())
        return nullptr;
    *def = &desc->GetParamDefByIndex(index);
    return &tab[static_cast<std::size_t>(tabIndex)];
}

void IParamBlock2::NotifyChanged() {
    NotifyDependents(FOREVER, PART_ALL, REFMSG_CHANGE);
}

double IParamBlock2::NumberAt(const ParamDef& def, Value& slot, TimeValue t, Interval& valid) {
    std::shared_ptr<const KeyTrack> keys;
    {
        // Only the pointer is taken under the lock: tracks are never changed in place, so render threads
        // evaluate their copy side by side.
        std::lock_guard<std::mutex> lock(keysLock);
        keys = slot.keys;
    }
    if (keys != nullptr) {
        const float value = KeyedValue(def, *keys, t, valid);
        return AcceptsInt(def.type) ? RoundedKeyValue(value) : value;
    }
    valid &= FOREVER;
    // A double holds every int and every float exactly.
    // (Each side widened on its own: a conditional of an int and a float would round the int to a float.)
    return AcceptsInt(def.type)
               ? static_cast<double>(std::atomic_ref<int>(slot.i).load(std::memory_order_relaxed))
               : static_cast<double>(std::atomic_ref<float>(slot.f).load(std::memory_order_relaxed));
}

void IParamBlock2::StoreKeys(int index, int tabIndex, Value& slot, std::shared_ptr<const KeyTrack> keys) {
    {
        std::lock_guard<std::mutex> lock(keysLock);
        slot.keys = std::move(keys);
    }
    if (tabIndex == 0)
        RefreshFastCopy(index);
}

bool IParamBlock2::SetAnimated(const ParamDef& def, int index, int tabIndex, Value& slot, TimeValue t,
                               float value) {
    if (!IsAnimatableNumber(def))
        return false;
    std::shared_ptr<const KeyTrack> keys;
    {
        std::lock_guard<std::mutex> lock(keysLock);
        keys = slot.keys;
    }
    const bool integer = AcceptsInt(def.type);
    if (keys == nullptr) {
        // The host's "Auto Key" default frame is 0: a change there leaves the value constant, and the first
        // key anywhere else comes with a key at 0 that keeps the value the parameter had.
        if (!Animating() || t == 0)
            return false;
        const float old = integer ? static_cast<float>(slot.i) : slot.f;
        auto track = std::make_shared<KeyTrack>(KeyTrack{TrackKey{0, old}});
        SetTrackKey(*track, t, value);
        StoreKeys(index, tabIndex, slot, std::move(track));
        return true;
    }
    auto track = std::make_shared<KeyTrack>(*keys);
    if (Animating()) {
        SetTrackKey(*track, t, value);
    } else {
        // Outside animate mode a change to an animated value moves the whole curve by the same amount; a
        // switch's track holds only off and on, so its keys stay within them.
        Interval ignored = FOREVER;
        const float change = value - KeyedValue(def, *track, t, ignored);
        for (TrackKey& key : *track)
            key.value = IsSwitch(def) ? std::clamp(key.value + change, 0.0f, 1.0f) : key.value + change;
    }
    StoreKeys(index, tabIndex, slot, std::move(track));
    return true;
}

KeyTrack IParamBlock2::GetKeys(ParamID id, int tabIndex) {
    const ParamDef* def = nullptr;
    Value* slot = Find(id, tabIndex, &def);
    if (slot == nullptr)
        return {};
    std::lock_guard<std::mutex> lock(keysLock);
    return slot->keys == nullptr ? KeyTrack() : *slot->keys;
}

BOOL IParamBlock2::SetKeys(ParamID id, std::span<const TrackKey> keys, int tabIndex) {
    const ParamDef* def = nullptr;
    Value* slot = Find(id, tabIndex, &def);
    if (slot == nullptr || !IsAnimatableNumber(*def) || !KeysInOrder(keys))
        return FALSE;
    const int index = desc->IDtoIndex(id);
    if (keys.empty()) {
        Interval ignored = FOREVER;
        const double atZero = NumberAt(*def, *slot, 0, ignored);
        if (AcceptsInt(def->type))
            std::atomic_ref<int>(slot->i).store(static_cast<int>(atZero), std::memory_order_relaxed);
        else
            std::atomic_ref<float>(slot->f).store(static_cast<float>(atZero), std::memory_order_relaxed);
        StoreKeys(index, tabIndex, *slot, nullptr);
    } else {
        StoreKeys(index, tabIndex, *slot, std::make_shared<const KeyTrack>(keys.begin(), keys.end()));
    }
    NotifyChanged();
    return TRUE;
}

BOOL IParamBlock2::SetValue(ParamID id, TimeValue t, int value, int tabIndex) {
    const ParamDef* def = nullptr;
    Value* slot = Find(id, tabIndex, &def);
    if (slot == nullptr || !AcceptsInt(def->type))
        return FALSE;
    if (!SetAnimated(*def, desc->IDtoIndex(id), tabIndex, *slot, t, static_cast<float>(value))) {
        std::atomic_ref<int>(slot->i).store(value, std::memory_order_relaxed);
        if (tabIndex == 0)
            RefreshFastCopy(desc->IDtoIndex(id));
    }
    NotifyChanged();
    return TRUE;
}

BOOL IParamBlock2::SetValue(ParamID id, TimeValue t, float value, int tabIndex) {
    const ParamDef* def = nullptr;
    Value* slot = Find(id, tabIndex, &def);
    if (slot == nullptr || !is_float_type(def->type))
        return FALSE;
    if (!SetAnimated(*def, desc->IDtoIndex(id), tabIndex, *slot, t, value)) {
        std::atomic_ref<float>(slot->f).store(value, std::memory_order_relaxed);
        if (tabIndex == 0)
            RefreshFastCopy(desc->IDtoIndex(id));
    }
    NotifyChanged();
    return TRUE;
}

BOOL IParamBlock2::SetValue(ParamID id, TimeValue, const Point3& value, int tabIndex) {
    const ParamDef* def = nullptr;
    Value* slot = Find(id, tabIndex, &def);
    if (slot == nullptr || !AcceptsPoint(def->type))
        return FALSE;
    slot->p = value;
    NotifyChanged();
    return TRUE;
}

BOOL IParamBlock2::SetValue(ParamID id, TimeValue t, const Color& value, int tabIndex) {
    return SetValue(id, t, Point3(value.r, value.g, value.b), tabIndex);
}

BOOL IParamBlock2::SetValue(ParamID id, TimeValue, const AColor& value, int tabIndex) {
    const ParamDef* def = nullptr;
    Value* slot = Find(id, tabIndex, &def);
    if (slot == nullptr || !AcceptsPoint4(def->type))
        return FALSE;
    slot->p = Point3(value.r, value.g, value.b);
    slot->w = value.a;
    NotifyChanged();
    return TRUE;
}

BOOL IParamBlock2::SetValue(ParamID id, TimeValue, Texmap* value, int tabIndex) {
    return SetReferenceValue(id, value, tabIndex, true);
}

BOOL IParamBlock2::SetValue(ParamID id, TimeValue, ReferenceTarget* value, int tabIndex) {
    return SetReferenceValue(id, value, tabIndex, false);
}

BOOL IParamBlock2::SetReferenceValue(ParamID id, ReferenceTarget* value, int tabIndex, bool texmapOnly) {
    const ParamDef* def = nullptr;
    Value* slot = Find(id, tabIndex, &def);
    if (slot == nullptr || !IsReferenceType(def->type))
        return FALSE;
    if (texmapOnly && base_type(def->type) != TYPE_TEXMAP)
        return FALSE;
    if (IsOwnersReference(*def)) {
        if (owner == nullptr)
            return FALSE;
        if (owner->ReplaceReference(def->refNo, value) != REF_SUCCEED)
            return FALSE;
        NotifyChanged();
        return TRUE;
    }
    // The block's own slot tells the dependents itself (SetReference).
    for (std::size_t i = 0; i < slots.size(); ++i) {
        const Slot& s = slots[i];
        if (&values[static_cast<std::size_t>(s.paramIndex)][static_cast<std::size_t>(s.tabIndex)] == slot)
            return ReplaceReference(static_cast<int>(i), value) == REF_SUCCEED;
    }
    return FALSE;
}

BOOL IParamBlock2::SetValue(ParamID id, TimeValue, PBBitmap* value, int tabIndex) {
    const ParamDef* def = nullptr;
    Value* slot = Find(id, tabIndex, &def);
    if (slot == nullptr || base_type(def->type) != TYPE_BITMAP)
        return FALSE;
    slot->bitmap = value == nullptr ? nullptr : std::make_shared<PBBitmap>(value->bi);
    NotifyChanged();
    return TRUE;
}

BOOL IParamBlock2::SetValue(ParamID id, TimeValue, const MCHAR* value, int tabIndex) {
    const ParamDef* def = nullptr;
    Value* slot = Find(id, tabIndex, &def);
    if (slot == nullptr || (base_type(def->type) != TYPE_STRING && base_type(def->type) != TYPE_FILENAME))
        return FALSE;
    slot->text = value == nullptr ? MSTR() : MSTR(value);
    NotifyChanged();
    return TRUE;
}

BOOL IParamBlock2::GetValue(ParamID id, TimeValue t, int& value, Interval& valid, int tabIndex) {
    const ParamDef* def = nullptr;
    Value* slot = Find(id, tabIndex, &def);
    value = 0;
    if (slot == nullptr || !AcceptsInt(def->type))
        return FALSE;
    value = static_cast<int>(NumberAt(*def, *slot, t, valid));
    return TRUE;
}

BOOL IParamBlock2::GetValue(ParamID id, TimeValue t, float& value, Interval& valid, int tabIndex) {
    const ParamDef* def = nullptr;
    Value* slot = Find(id, tabIndex, &def);
    value = 0.0f;
    if (slot == nullptr || !is_float_type(def->type))
        return FALSE;
    value = static_cast<float>(NumberAt(*def, *slot, t, valid));
    return TRUE;
}

BOOL IParamBlock2::GetValue(ParamID id, TimeValue, Point3& value, Interval& valid, int tabIndex) {
    const ParamDef* def = nullptr;
    Value* slot = Find(id, tabIndex, &def);
    value = Point3();
    if (slot == nullptr || !AcceptsPoint(def->type))
        return FALSE;
    value = slot->p;
    valid &= FOREVER;
    return TRUE;
}

BOOL IParamBlock2::GetValue(ParamID id, TimeValue t, Color& value, Interval& valid, int tabIndex) {
    Point3 point;
    const BOOL ok = GetValue(id, t, point, valid, tabIndex);
    value = Color(point.x, point.y, point.z);
    return ok;
}

BOOL IParamBlock2::GetValue(ParamID id, TimeValue, AColor& value, Interval& valid, int tabIndex) {
    const ParamDef* def = nullptr;
    Value* slot = Find(id, tabIndex, &def);
    value = AColor();
    if (slot == nullptr || !AcceptsPoint4(def->type))
        return FALSE;
    value = AColor(slot->p.x, slot->p.y, slot->p.z, slot->w);
    valid &= FOREVER;
    return TRUE;
}

BOOL IParamBlock2::GetValue(ParamID id, TimeValue t, Texmap*& value, Interval& valid, int tabIndex) {
    value = nullptr;
    const ParamDef* def = nullptr;
    if (Find(id, tabIndex, &def) == nullptr || base_type(def->type) != TYPE_TEXMAP)
        return FALSE;
    ReferenceTarget* target = nullptr;
    const BOOL ok = GetValue(id, t, target, valid, tabIndex);
    value = dynamic_cast<Texmap*>(target);
    return ok;
}

BOOL IParamBlock2::GetValue(ParamID id, TimeValue, ReferenceTarget*& value, Interval& valid, int tabIndex) {
    const ParamDef* def = nullptr;
    Value* slot = Find(id, tabIndex, &def);
    value = nullptr;
    if (slot == nullptr || !IsReferenceType(def->type))
        return FALSE;
    if (IsOwnersReference(*def))
        value = owner == nullptr ? nullptr : owner->GetReference(def->refNo);
    else
        value = std::atomic_ref<ReferenceTarget*>(slot->ref).load(std::memory_order_relaxed);
    valid &= FOREVER;
    return TRUE;
}

BOOL IParamBlock2::GetValue(ParamID id, TimeValue, PBBitmap*& value, Interval& valid, int tabIndex) {
    const ParamDef* def = nullptr;
    Value* slot = Find(id, tabIndex, &def);
    value = nullptr;
    if (slot == nullptr || base_type(def->type) != TYPE_BITMAP)
        return FALSE;
    value = slot->bitmap.get();
    valid &= FOREVER;
    return TRUE;
}

BOOL IParamBlock2::GetValue(ParamID id, TimeValue, const MCHAR*& value, Interval& valid, int tabIndex) {
    const ParamDef* def = nullptr;
    Value* slot = Find(id, tabIndex, &def);
    value = nullptr;
    if (slot == nullptr || (base_type(def->type) != TYPE_STRING && base_type(def->type) != TYPE_FILENAME))
        return FALSE;
    value = slot->text.c_str();
    valid &= FOREVER;
    return TRUE;
}

// Animated values, tab indices other than 0, and parameters of other types.
int IParamBlock2::GetIntSlow(ParamID id, TimeValue t, int tabIndex) {
    int value = 0;
    Interval valid = FOREVER;
    GetValue(id, t, value, valid, tabIndex);
    return value;
}

float IParamBlock2::GetFloatSlow(ParamID id, TimeValue t, int tabIndex) {
    float value = 0.0f;
    Interval valid = FOREVER;
    GetValue(id, t, value, valid, tabIndex);
    return value;
}

Texmap* IParamBlock2::GetTexmapSlow(ParamID id, TimeValue t, int tabIndex) {
    Texmap* value = nullptr;
    Interval valid = FOREVER;
    GetValue(id, t, value, valid, tabIndex);
    return value;
}

PBBitmap* IParamBlock2::GetBitmap(ParamID id, TimeValue t, int tabIndex) {
    PBBitmap* value = nullptr;
    Interval valid = FOREVER;
    GetValue(id, t, value, valid, tabIndex);
    return value;
}

ReferenceTarget* IParamBlock2::GetReferenceTarget(ParamID id, TimeValue t, int tabIndex) {
    ReferenceTarget* value = nullptr;
    Interval valid = FOREVER;
    GetValue(id, t, value, valid, tabIndex);
    return value;
}

int IParamBlock2::Count(ParamID id) {
    const int index = desc->IDtoIndex(id);
    return index < 0 ? 0 : static_cast<int>(values[static_cast<std::size_t>(index)].size());
}

BOOL IParamBlock2::SetCount(ParamID id, int n) {
    const int index = desc->IDtoIndex(id);
    if (index < 0 || n < 0)
        return FALSE;
    const ParamDef& def = desc->GetParamDefByIndex(index);
    if (!is_tab(def.type))
        return FALSE;
    std::vector<Value>& tab = values[static_cast<std::size_t>(index)];
    const std::size_t count = static_cast<std::size_t>(n);
    if (IsReferenceType(def.type) && !IsOwnersReference(def))
        for (std::size_t i = 0; i < slots.size(); ++i)
            if (slots[i].paramIndex == index && static_cast<std::size_t>(slots[i].tabIndex) >= count)
                ReplaceReference(static_cast<int>(i), nullptr);
    tab.resize(count, DefaultValue(def));
    // Growing the table may move its elements, and the reference slots follow the elements.
    RebuildSlots();
    RefreshFastCopies();
    NotifyChanged();
    return TRUE;
}

void IParamBlock2::ResetAll(BOOL, BOOL) {
    for (std::size_t p = 0; p < values.size(); ++p)
        for (std::size_t tab = 0; tab < values[p].size(); ++tab)
            StoreKeys(static_cast<int>(p), static_cast<int>(tab), values[p][tab], nullptr);
    SetDefaults(true);
    RefreshFastCopies();
    NotifyChanged();
}

int IParamBlock2::NumRefs() {
    return static_cast<int>(slots.size());
}

RefTargetHandle IParamBlock2::GetReference(int i) {
    if (i < 0 || static_cast<std::size_t>(i) >= slots.size())
        return nullptr;
    const Slot& s = slots[static_cast<std::size_t>(i)];
    return std::atomic_ref<ReferenceTarget*>(
               values[static_cast<std::size_t>(s.paramIndex)][static_cast<std::size_t>(s.tabIndex)].ref)
        .load(std::memory_order_relaxed);
}

void IParamBlock2::SetReference(int i, RefTargetHandle target) {
    if (i < 0 || static_cast<std::size_t>(i) >= slots.size())
        return;
    const Slot& s = slots[static_cast<std::size_t>(i)];
    std::atomic_ref<ReferenceTarget*>(
        values[static_cast<std::size_t>(s.paramIndex)][static_cast<std::size_t>(s.tabIndex)].ref)
        .store(target, std::memory_order_relaxed);
    if (s.tabIndex == 0)
        RefreshFastCopy(s.paramIndex);
    // Whoever changes the slot (a set, the reference system clearing a deleted map, a resize), the value
    // has changed.
    NotifyChanged();
}

void IParamBlock2::RefAdded(RefMakerHandle maker) {
    // The first maker to refer to a block is its owner: the object that the block describes.
    if (owner == nullptr)
        owner = maker;
}

RefTargetHandle IParamBlock2::Clone(RemapDir& remap) {
    auto* copy = new IParamBlock2(desc, nullptr);
    for (std::size_t p = 0; p < values.size(); ++p)
        copy->values[p].resize(values[p].size());
    copy->RebuildSlots();
    for (std::size_t p = 0; p < values.size(); ++p)
        for (std::size_t tab = 0; tab < values[p].size(); ++tab) {
            const Value& source = values[p][tab];
            Value& target = copy->values[p][tab];
            target.i = source.i;
            target.f = source.f;
            target.p = source.p;
            target.w = source.w;
            target.text = source.text;
            target.bitmap =
                source.bitmap == nullptr ? nullptr : std::make_shared<PBBitmap>(source.bitmap->bi);
            // Key tracks are never changed in place, so the copy can share them.
            std::lock_guard<std::mutex> lock(keysLock);
            if (source.keys != nullptr)
                copy->StoreKeys(static_cast<int>(p), static_cast<int>(tab), target, source.keys);
        }
    copy->RefreshFastCopies();
    for (int i = 0; i < NumRefs(); ++i)
        if (ReferenceTarget* target = GetReference(i))
            copy->ReplaceReference(i, remap.CloneRef(target));
    BaseClone(this, copy, remap);
    return copy;
}

IParamBlock2* CreateParameterBlock2(ParamBlockDesc2* desc, ReferenceMaker* owner) {
    return new IParamBlock2(desc, owner);
}
