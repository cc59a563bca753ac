// What guarding a published snapshot costs: a pinned read against a bare pointer load, on one and two
// threads; and a replacement, with no reader and with a pin held through all the replacements.
#include "snapshot/published_snapshot.h"

#include <benchmark/benchmark.h>

#include <array>
#include <atomic>
#include <optional>

namespace {

using Value = std::array<int, 8>;

// A value replaced by nobody, read without any guard: the floor a pinned read is measured against.
void UnguardedRead(benchmark::State& state) {
    static const Value value{1, 2, 3, 4, 5, 6, 7, 8};
    static std::atomic<const Value*> current{&value};
    for (auto _ : state) {
        const Value* seen = current.load(std::memory_order_acquire);
        benchmark::DoNotOptimize((*seen)[3]);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(UnguardedRead)->Threads(1)->Threads(2)->UseRealTime();

void PinnedRead(benchmark::State& state) {
    static PublishedSnapshot<Value> cell(Value{1, 2, 3, 4, 5, 6, 7, 8});
    for (auto _ : state) {
        const auto pin = cell.Read();
        benchmark::DoNotOptimize((*pin)[3]);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(PinnedRead)->Threads(1)->Threads(2)->Threads(16)->UseRealTime();

// Replacements with a pin held all along (state.range(0) == 1) or with no reader: the time per
// replacement and the snapshots left waiting stay flat however many replacements came before.
void Publish(benchmark::State& state) {
    PublishedSnapshot<Value> cell(Value{});
    std::optional<PublishedSnapshot<Value>::Pin> held;
    if (state.range(0) == 1)
        held.emplace(cell.Read());
    int i = 0;
    for (auto _ : state)
        cell.Publish(Value{++i});
    state.counters["waiting"] = static_cast<double>(cell.RetiredCount());
    state.SetItemsProcessed(state.iterations());
}
// The second argument only names the run length.
BENCHMARK(Publish)->Args({0, 50000})->Args({1, 50000})->Iterations(50000);
BENCHMARK(Publish)->Args({0, 500000})->Args({1, 500000})->Iterations(500000);

} // namespace
