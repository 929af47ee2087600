// Throughput and memory of the JSON engine (format, compact, tree) against
// RapidJSON in the same binary, on the standard corpus files twitter.json,
// citm_catalog.json and canada.json.
//
//   build/bench/bench/json_bench [--default-malloc] [benchmark flags]
//
// Data: $LUMARO_BENCH_DATA, else ../shared/bench-data beside the source tree;
// a file that is missing there is replaced by a generated document of the same
// shape (deterministic), and its benchmarks carry the label "generated".
//
// Clock: the thread's CPU time (user + system, so page faults count), which
// other work sharing the VM disturbs far less than wall-clock time;
// --real-time or LUMARO_BENCH_REAL_TIME=1 switches to wall-clock time.
//
// Allocator: unless --default-malloc is given or LUMARO_BENCH_DEFAULT_MALLOC=1,
// main() first tells glibc to serve every block from the heap (no mmap) and to
// never give freed memory back to the system, so a freed output buffer is
// reused by the next call instead of being unmapped and faulted in afresh
// (about 10 us per first-touched page on these VMs). Ours and the peer always
// run under the same setting.
//
// Defaults (each overridable on the command line): 5 repetitions, aggregates
// only, 0.2 s minimum per repetition, repetitions in random interleaved order
// (about a minute in all). After the runs two tables of throughput ratios
// (ours / RapidJSON) against the targets are printed, from the medians and
// from the best repetitions, then a table of peak memory per format call.

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <algorithm>
#include <ctime>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include <rapidjson/document.h>

#include "bench_documents.h"
#include "bench_memory.h"
#include "bench_report.h"
#include "json/json_format.h"
#include "json/json_tree.h"
#include "json/json_messages.h"
#include "json/json_scanner.h"
#include "rapidjson_peer.h"
#if defined(LUMARO_BENCH_YYJSON)
#include "yyjson_peer.h"
#endif

using namespace bench;

namespace {

// ---------------------------------------------------------------------------
// Benchmarks. Every one reports SetBytesProcessed(input bytes).

// The machines are small shared VMs where other work (builds, fuzzers) comes
// and goes: the thread's CPU time (user + system, page faults included) is far
// steadier than wall-clock time there. --real-time / LUMARO_BENCH_REAL_TIME=1
// switches every benchmark to wall-clock time.
bool use_wall_clock = false;

void finish(benchmark::State& state, const Doc& doc) {
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(doc.text.size()));
    if (doc.generated) state.SetLabel("generated");
}

// format_json exactly as the worker calls it: the text, a fresh std::string
// back (destroyed at the end of the iteration). For a document whose pretty
// form passes the limit this times the refusal.
void bm_ours_format(benchmark::State& state, const Doc* doc, JsonMode mode) {
    const std::string& text = doc->text;
    bool refusal = mode == JsonMode::format && doc->pretty_refused;
    for (auto _ : state) {
        auto result = format_json(text, mode);
        const auto* error = std::get_if<JsonError>(&result);
        if (error != nullptr && !(refusal && error->message == json_messages::pretty_too_large)) {
            state.SkipWithError("format_json failed");
            break;
        }
        benchmark::DoNotOptimize(result);
    }
    finish(state, *doc);
    if (refusal) state.SetLabel("refused");
}

// build_json_tree with the owned text moved in, as the worker does. The text
// is taken back out of the returned tree (JsonTree::text holds it byte for
// byte) and moved in again next time, so no copy is made and nothing is
// paused: the timed loop is exactly move-in + build + destroy the node table.
void bm_ours_tree(benchmark::State& state, const Doc* doc) {
    std::string owned = doc->text;
    for (auto _ : state) {
        auto result = build_json_tree(std::move(owned));
        auto* tree = std::get_if<JsonTree>(&result);
        if (tree == nullptr) {
            state.SkipWithError("build_json_tree failed");
            break;
        }
        benchmark::DoNotOptimize(tree->nodes.data());
        owned = std::move(tree->text);
    }
    if (owned != doc->text) state.SkipWithError("the tree did not hand back the text");
    finish(state, *doc);
}

// The same with the copy of the input into a std::string inside the loop (a
// caller that keeps its own text pays this; the copy is freed with the tree).
void bm_ours_tree_copy(benchmark::State& state, const Doc* doc) {
    for (auto _ : state) {
        auto result = build_json_tree(doc->text);
        if (!std::holds_alternative<JsonTree>(result)) {
            state.SkipWithError("build_json_tree failed");
            break;
        }
        benchmark::DoNotOptimize(result);
    }
    finish(state, *doc);
}

// run gives an output size or a success flag: 0 or false is a parse error.
template <class Result>
void bm_peer(benchmark::State& state, const Doc* doc, Result (*run)(const std::string&)) {
    for (auto _ : state) {
        Result r = run(doc->text);
        if (!r) {
            state.SkipWithError("the peer failed");
            break;
        }
        benchmark::DoNotOptimize(r);
    }
    finish(state, *doc);
}

double now_seconds() {
    timespec ts{};
    clock_gettime(use_wall_clock ? CLOCK_MONOTONIC : CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

// ParseInsitu overwrites its buffer, so every iteration needs a fresh copy.
// The copy is made outside the measured interval (manual timing, on the same
// clock as the other benchmarks: two clock reads per millisecond-long
// iteration, far cheaper than PauseTiming/ResumeTiming).
void bm_peer_dom_insitu(benchmark::State& state, const Doc* doc, bool (*run)(char*)) {
    std::vector<char> buffer(doc->text.size() + 1);
    for (auto _ : state) {
        std::memcpy(buffer.data(), doc->text.c_str(), buffer.size());
        double t0 = now_seconds();
        bool ok = run(buffer.data());
        double t1 = now_seconds();
        if (!ok) {
            state.SkipWithError("RapidJSON failed");
            break;
        }
        state.SetIterationTime(t1 - t0);
    }
    finish(state, *doc);
}

void register_benchmarks(const std::vector<Doc>& docs) {
    for (const Doc& d : docs) {
        const Doc* doc = &d;
        // Rates come from the thread's CPU time (user + system, so page faults
        // count) unless wall-clock time was asked for; ParseInsitu times itself
        // on the same clock (see bm_peer_dom_insitu).
        // Besides mean/median/stddev/cv, a "max" aggregate of every column:
        // for bytes_per_second that is the best repetition, the estimate that
        // outside load (which only ever slows a run down) disturbs least.
        auto reg = [&](const std::string& kind, auto fn, bool manual = false) {
            auto* b = benchmark::RegisterBenchmark((kind + "/" + d.name).c_str(), fn)
                          ->Unit(benchmark::kMicrosecond)
                          ->ComputeStatistics("max", [](const std::vector<double>& v) {
                              return v.empty() ? 0.0 : *std::max_element(v.begin(), v.end());
                          });
            if (manual) return b->UseManualTime();
            return use_wall_clock ? b->UseRealTime() : b;
        };
        const peer::RapidJsonApi& rj = peer::rapidjson_default;
        const peer::RapidJsonApi& rj2 = peer::rapidjson_sse2;
        reg("ours_format", [=](benchmark::State& s) { bm_ours_format(s, doc, JsonMode::format); });
        reg("rj_pretty", [=](benchmark::State& s) { bm_peer(s, doc, rj.pretty); });
        reg("rj_sse2_pretty", [=](benchmark::State& s) { bm_peer(s, doc, rj2.pretty); });
        reg("ours_compact", [=](benchmark::State& s) { bm_ours_format(s, doc, JsonMode::compact); });
        reg("rj_writer", [=](benchmark::State& s) { bm_peer(s, doc, rj.compact); });
        reg("rj_sse2_writer", [=](benchmark::State& s) { bm_peer(s, doc, rj2.compact); });
        reg("ours_tree", [=](benchmark::State& s) { bm_ours_tree(s, doc); });
        reg("ours_tree_copy", [=](benchmark::State& s) { bm_ours_tree_copy(s, doc); });
        reg("rj_dom", [=](benchmark::State& s) { bm_peer(s, doc, rj.dom); });
        reg("rj_sse2_dom", [=](benchmark::State& s) { bm_peer(s, doc, rj2.dom); });
        reg("rj_dom_insitu", [=](benchmark::State& s) { bm_peer_dom_insitu(s, doc, rj.dom_insitu); }, true);
#if defined(LUMARO_BENCH_YYJSON)
        reg("yy_pretty", [=](benchmark::State& s) {
            bm_peer<std::size_t>(s, doc, [](const std::string& t) { return peer::yyjson_pretty(t); });
        });
        reg("yy_compact", [=](benchmark::State& s) {
            bm_peer<std::size_t>(s, doc, [](const std::string& t) { return peer::yyjson_compact(t); });
        });
        reg("yy_read", [=](benchmark::State& s) { bm_peer(s, doc, peer::yyjson_dom); });
#endif
    }
}

// ---------------------------------------------------------------------------
// Checks before timing: every engine accepts every document, and our pretty
// and compact forms hold the same values as the input (RapidJSON DOM equality).

bool same_values(const std::string& a, const std::string& b) {
    rapidjson::Document da;
    rapidjson::Document db;
    da.Parse(a.c_str());
    db.Parse(b.c_str());
    return !da.HasParseError() && !db.HasParseError() && da == db;
}

#if defined(LUMARO_BENCH_YYJSON)
// yyjson must write exactly our bytes, or the comparison is not like for like.
void check_identical(const Doc& d, const char* form, const std::string* ours,
                     std::size_t (*peer_write)(const std::string&, std::string*), std::ostream& out) {
    std::string theirs;
    if (peer_write(d.text, &theirs) == 0) {
        out << "  " << d.name << ": yyjson rejected the document\n";
        return;
    }
    if (ours == nullptr) return;
    if (theirs == *ours) {
        out << "  " << d.name << ": " << form << " form byte-identical to yyjson's (" << ours->size() << " bytes)\n";
        return;
    }
    auto diff = std::mismatch(ours->begin(), ours->end(), theirs.begin(), theirs.end());
    out << "  " << d.name << ": WARNING " << form << " form differs from yyjson's at byte "
        << (diff.first - ours->begin()) << "\n";
}
#endif

void validate(std::vector<Doc>& docs, std::ostream& out) {
    for (Doc& d : docs) {
        auto pretty = format_json(d.text, JsonMode::format);
        auto compact = format_json(d.text, JsonMode::compact);
        auto tree = build_json_tree(d.text);
        const std::string* pretty_text = std::get_if<std::string>(&pretty);
        const std::string* compact_text = std::get_if<std::string>(&compact);
        const auto* pretty_error = std::get_if<JsonError>(&pretty);
        d.pretty_refused = pretty_error != nullptr && pretty_error->message == json_messages::pretty_too_large;
        if ((!pretty_text && !d.pretty_refused) || !compact_text || !std::holds_alternative<JsonTree>(tree)) {
            out << "  " << d.name << ": our engine rejected the document\n";
        } else {
            if (pretty_text && !same_values(d.text, *pretty_text))
                out << "  " << d.name << ": WARNING pretty form differs in value\n";
            if (!same_values(d.text, *compact_text)) out << "  " << d.name << ": WARNING compact form differs in value\n";
        }
        if (d.pretty_refused) out << "  " << d.name << ": pretty form refused (over 24 MiB); its time is the refusal's\n";
#if defined(LUMARO_BENCH_YYJSON)
        check_identical(d, "pretty", pretty_text, peer::yyjson_pretty, out);
        check_identical(d, "compact", compact_text, peer::yyjson_compact, out);
#endif
        if (peer::rapidjson_default.pretty(d.text) == 0 || !peer::rapidjson_default.dom(d.text) ||
            peer::rapidjson_sse2.compact(d.text) == 0) {
            out << "  " << d.name << ": RapidJSON rejected the document\n";
        }
    }
}

bool has_flag(const std::vector<std::string>& args, std::string_view prefix) {
    return std::any_of(args.begin(), args.end(), [&](const std::string& a) { return a.rfind(prefix, 0) == 0; });
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args;
    bool default_malloc = false;
    auto env_on = [](const char* name) {
        const char* v = std::getenv(name);
        return v != nullptr && std::strcmp(v, "1") == 0;
    };
    default_malloc = env_on("LUMARO_BENCH_DEFAULT_MALLOC");
    // The scanner reads runs of bytes with SSE2 unless told to use 64-bit words.
    const char* path = std::getenv("LUMARO_JSON_SCAN_PATH");
    if (path != nullptr && std::strcmp(path, "word") == 0) json_scan_path = JsonScanPath::word;
    use_wall_clock = env_on("LUMARO_BENCH_REAL_TIME");
    for (int i = 0; i < argc; ++i) {
        if (i > 0 && std::strcmp(argv[i], "--default-malloc") == 0) {
            default_malloc = true;
            continue;
        }
        if (i > 0 && std::strcmp(argv[i], "--real-time") == 0) {
            use_wall_clock = true;
            continue;
        }
        args.emplace_back(argv[i]);
    }

    // Same allocator settings for ours and the peer, before anything allocates much.
    std::string allocator = "glibc defaults";
    if (!default_malloc) {
        // No mmap for any block (so nothing is unmapped on free), and no trim
        // of the heap top: freed memory stays resident and is reused.
        // (M_MMAP_THRESHOLD alone is capped at 32 MiB on 64-bit glibc.)
        bool ok = mallopt(M_MMAP_MAX, 0) == 1;
        ok = mallopt(M_TRIM_THRESHOLD, 1 << 30) == 1 && ok;
        ok = mallopt(M_TOP_PAD, 16 << 20) == 1 && ok;
        allocator = ok ? "no mmap, no trim, 16 MiB top pad" : "mallopt FAILED, partly glibc defaults";
    }

    if (!has_flag(args, "--benchmark_repetitions")) args.emplace_back("--benchmark_repetitions=5");
    if (!has_flag(args, "--benchmark_report_aggregates_only") && !has_flag(args, "--benchmark_display_aggregates_only"))
        args.emplace_back("--benchmark_report_aggregates_only=true");
    if (!has_flag(args, "--benchmark_min_time")) args.emplace_back("--benchmark_min_time=0.2");
    // Repetitions of different benchmarks in random order, so a burst of
    // outside load spreads over ours and the peer alike.
    if (!has_flag(args, "--benchmark_enable_random_interleaving"))
        args.emplace_back("--benchmark_enable_random_interleaving=true");
    bool tables_to_stderr = has_flag(args, "--benchmark_format=json") || has_flag(args, "--benchmark_format=csv");
    std::ostream& out = tables_to_stderr ? std::cerr : std::cout;
    bool list_only = has_flag(args, "--benchmark_list_tests");

    std::vector<char*> cargs;
    for (std::string& a : args) cargs.push_back(a.data());
    cargs.push_back(nullptr);
    int cargc = static_cast<int>(args.size());
    benchmark::Initialize(&cargc, cargs.data());
    if (benchmark::ReportUnrecognizedArguments(cargc, cargs.data())) return 1;

    std::string folder;
    std::vector<Doc> docs = load_documents(folder);
    benchmark::AddCustomContext("allocator", allocator);
    benchmark::AddCustomContext("clock", use_wall_clock ? "wall" : "thread CPU time");
    benchmark::AddCustomContext("scan path", json_scan_path == JsonScanPath::word ? "64-bit words" : "SSE2");
    benchmark::AddCustomContext("data", folder);
    for (const Doc& d : docs)
        benchmark::AddCustomContext(d.name, std::to_string(d.text.size()) + " bytes" + (d.generated ? ", generated" : ""));

    std::vector<MemoryRow> memory;
    if (!list_only) {
        memory = measure_memory(docs);
        validate(docs, out);
    }
    register_benchmarks(docs);

    CollectingReporter reporter(benchmark::CreateDefaultDisplayReporter());
    benchmark::RunSpecifiedBenchmarks(&reporter);
    if (!list_only) {
        print_ratios(reporter, docs, allocator, use_wall_clock, false, out);
        print_ratios(reporter, docs, allocator, use_wall_clock, true, out);
        print_memory(memory, out);
    }
    benchmark::Shutdown();
    return 0;
}
