// The UUID and ID-number generators: 10,000 results generated and formatted
// (target 10 ms each), and the ID-number draw over totals from 10^4 to
// 10^18, whose time and peak heap follow the count, not the total.
#include <benchmark/benchmark.h>

#include <string>
#include <variant>

#include "heap_counter.h"
#include "identity/distinct_draw.h"
#include "identity/id_number.h"
#include "uuid/uuid.h"

namespace {

// One system-generator call per UUID, as the page does.
void BM_Uuids(benchmark::State& state) {
    std::string count = std::to_string(state.range(0));
    for (auto _ : state) {
        BatchOutcome outcome = generate_uuid_batch(count, 0, 0);
        benchmark::DoNotOptimize(std::get<Batch>(outcome).text.data());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_Uuids)->Arg(10000)->Unit(benchmark::kMillisecond);

// Province position 0 is the national list (2849 areas, total about 4.5e10
// for ages 18 to 60); 1 with county 1 is one district (total about 1.6e7).
void BM_IdNumbers(benchmark::State& state) {
    std::string count = std::to_string(state.range(0));
    int province = static_cast<int>(state.range(1));
    IdNumberRequest request{count, "18", "60", 0, province, province, CivilDate{2026, 1, 1}};
    for (auto _ : state) {
        BatchOutcome outcome = generate_id_numbers(request);
        benchmark::DoNotOptimize(std::get<Batch>(outcome).text.data());
    }
    heap::Peak peak = heap::measure([&] { generate_id_numbers(request); });
    state.counters["peak_heap_bytes"] = static_cast<double>(peak.bytes);
    state.counters["bytes_per_number"] = static_cast<double>(peak.bytes) / static_cast<double>(state.range(0));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_IdNumbers)
    ->Args({10000, 0})
    ->Args({10000, 1})
    ->Args({1000, 0})
    ->Unit(benchmark::kMillisecond);

void BM_DrawDistinct(benchmark::State& state) {
    std::uint64_t total = 1;
    for (std::int64_t k = 0; k < state.range(0); ++k) total *= 10;
    for (auto _ : state) {
        auto drawn = draw_distinct(total, 10000, thread_rng());
        benchmark::DoNotOptimize(drawn.data());
    }
    heap::Peak peak = heap::measure([&] { draw_distinct(total, 10000, thread_rng()); });
    state.counters["peak_heap_bytes"] = static_cast<double>(peak.bytes);
}
BENCHMARK(BM_DrawDistinct)->DenseRange(4, 18, 7)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
