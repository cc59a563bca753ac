#pragma once

// A table that render threads read without locks while one writer at a time adds to it: the keyed
// colour draws, the element lists and the numbered meshes of a render. Readers find an entry or learn
// that it is missing; a reader that misses takes the caller's lock, looks again and adds. Entries are never
// changed or removed: a render starts with new tables, and the old ones go when no reader holds them.
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

template <typename Key, typename Value> class ConcurrentTable {
public:
    ConcurrentTable() {
        tables.push_back(std::make_unique<Slots>(kInitialSize));
        current.store(tables.back().get(), std::memory_order_release);
    }
    ConcurrentTable(const ConcurrentTable&) = delete;
    ConcurrentTable& operator=(const ConcurrentTable&) = delete;

    // The value stored under key, or null. Safe beside Insert.
    const Value* Find(const Key& key) const {
        const Slots* slots = current.load(std::memory_order_acquire);
        for (std::size_t i = Hash(key) & slots->mask;; i = (i + 1) & slots->mask) {
            const Entry* entry = slots->entries[i].load(std::memory_order_acquire);
            if (entry == nullptr)
                return nullptr;
            if (entry->key == key)
                return &entry->value;
        }
    }

    // Adds a key that Find does not hold; callers serialise their inserts.
    const Value& Insert(const Key& key, Value value) {
        owned.push_back(std::make_unique<Entry>(Entry{key, std::move(value)}));
        const Entry* entry = owned.back().get();
        Slots* slots = current.load(std::memory_order_relaxed);
        if (2 * owned.size() > slots->mask + 1) {
            // Readers still walking the old slots find every entry they could find before.
            slots = Grow(*slots);
        }
        Place(*slots, entry);
        return entry->value;
    }

    std::size_t Size() const { return owned.size(); }

private:
    static constexpr std::size_t kInitialSize = 64;

    struct Entry {
        Key key;
        Value value;
    };
    struct Slots {
        explicit Slots(std::size_t size) : mask(size - 1), entries(new std::atomic<const Entry*>[size]) {
            for (std::size_t i = 0; i < size; ++i)
                entries[i].store(nullptr, std::memory_order_relaxed);
        }
        std::size_t mask;
        std::unique_ptr<std::atomic<const Entry*>[]> entries;
    };

    static std::size_t Hash(const Key& key) {
        // Keys are small numbers or aligned pointers: spread them before masking.
        const std::uint64_t h = static_cast<std::uint64_t>(std::hash<Key>()(key)) * 0x9E3779B97F4A7C15ull;
        return static_cast<std::size_t>(h >> 17);
    }

    static void Place(Slots& slots, const Entry* entry) {
        std::size_t i = Hash(entry->key) & slots.mask;
        while (slots.entries[i].load(std::memory_order_relaxed) != nullptr)
            i = (i + 1) & slots.mask;
        slots.entries[i].store(entry, std::memory_order_release);
    }

    Slots* Grow(const Slots& old) {
        tables.push_back(std::make_unique<Slots>(2 * (old.mask + 1)));
        Slots* bigger = tables.back().get();
        for (std::size_t i = 0; i <= old.mask; ++i)
            if (const Entry* entry = old.entries[i].load(std::memory_order_relaxed))
                Place(*bigger, entry);
        current.store(bigger, std::memory_order_release);
        return bigger;
    }

    std::atomic<Slots*> current{nullptr};
    // Every slot array stays alive with the table: a reader may still hold an older one.
    std::vector<std::unique_ptr<Slots>> tables;
    std::vector<std::unique_ptr<Entry>> owned;
};
