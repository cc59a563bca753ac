// The block's fast copies of its values, refreshed on every change of a value before its dependents are
// told of it.
#include "hostsdk/param_block.h"

#include "hostsdk/mtl_base.h"

#include "param_value_types.h"

#include <atomic>
#include <bit>

void IParamBlock2::RefreshFastCopies() {
    for (std::size_t i = 0; i < values.size(); ++i)
        RefreshFastCopy(static_cast<int>(i));
}

void IParamBlock2::RefreshFastCopy(int index) {
    const ParamID paramId = desc->IndextoID(index);
    const std::vector<Value>& tab = values[static_cast<std::size_t>(index)];
    if (paramId < 0 || static_cast<std::size_t>(paramId) >= kFastIds || tab.empty())
        return;
    const ParamDef& def = desc->GetParamDefByIndex(index);
    const auto id = static_cast<std::size_t>(paramId);
    if (base_type(def.type) == TYPE_TEXMAP && !param_value_types::IsOwnersReference(def)) {
        ReferenceTarget* target =
            std::atomic_ref<ReferenceTarget* const>(tab[0].ref).load(std::memory_order_relaxed);
        fastMaps[id].store(dynamic_cast<Texmap*>(target), std::memory_order_relaxed);
        fast[id].store(kFastMap, std::memory_order_relaxed);
        return;
    }
    bool keyed = false;
    {
        std::lock_guard<std::mutex> lock(keysLock);
        keyed = tab[0].keys != nullptr;
    }
    std::uint64_t word = 0;
    if (!keyed && param_value_types::AcceptsInt(def.type))
        word = kFastInt | std::uint64_t{static_cast<std::uint32_t>(
                              std::atomic_ref<const int>(tab[0].i).load(std::memory_order_relaxed))}
                              << 32;
    else if (!keyed && is_float_type(def.type))
        word = kFastFloat | std::uint64_t{std::bit_cast<std::uint32_t>(
                                std::atomic_ref<const float>(tab[0].f).load(std::memory_order_relaxed))}
                                << 32;
    fast[id].store(word, std::memory_order_relaxed);
}
