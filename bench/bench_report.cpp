#include "bench_report.h"

#include <algorithm>
#include <cstdio>

namespace bench {

namespace {

std::string fixed(double v, int decimals) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
    return buf;
}

}  // namespace

void CollectingReporter::ReportRuns(const std::vector<Run>& runs) {
    for (const Run& r : runs) {
        if (r.error_occurred) continue;
        auto it = r.counters.find("bytes_per_second");
        if (it == r.counters.end()) continue;
        const std::string& name = r.run_name.function_name;
        if (r.run_type == Run::RT_Aggregate) {
            if (r.aggregate_name == "median") medians_[name] = it->second.value;
            if (r.aggregate_name == "max") maxima_[name] = it->second.value;
        } else {
            samples_[name].push_back(it->second.value);
        }
    }
    inner_->ReportRuns(runs);
}

double CollectingReporter::rate(const std::string& name, bool best) const {
    const auto& aggregates = best ? maxima_ : medians_;
    if (auto it = aggregates.find(name); it != aggregates.end()) return it->second;
    auto it = samples_.find(name);
    if (it == samples_.end() || it->second.empty()) return -1;
    std::vector<double> v = it->second;
    std::sort(v.begin(), v.end());
    std::size_t n = v.size();
    if (best) return v.back();
    return n % 2 == 1 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

std::string mib(double bytes) { return fixed(bytes / (1024.0 * 1024.0), 2); }

void print_ratios(const CollectingReporter& rep, const std::vector<Doc>& docs, const std::string& allocator,
                  bool wall_clock, bool best, std::ostream& out) {
    struct Pair {
        const char* ours;
        const char* peer;
        const char* what;
        double target;         // on the three corpus files; 0: for information
        double scaled_target;  // on the scaled documents
    };
    const Pair pairs[] = {
        {"ours_format", "yy_pretty", "format  / yyjson read+write pretty", 1.2, 1.0},
        {"ours_compact", "yy_compact", "compact / yyjson read+write", 1.2, 1.0},
        {"ours_tree", "yy_read", "tree    / yyjson read", 1.2, 1.0},
        {"ours_format", "rj_pretty", "format  / Reader+PrettyWriter", 1.5, 0},
        {"ours_compact", "rj_writer", "compact / Reader+Writer", 1.5, 0},
        {"ours_tree", "rj_dom", "tree    / Document::Parse", 1.0, 0},
        {"ours_format", "rj_sse2_pretty", "format  / PrettyWriter, SSE2", 0, 0},
        {"ours_compact", "rj_sse2_writer", "compact / Writer, SSE2", 0, 0},
        {"ours_tree", "rj_sse2_dom", "tree    / Document::Parse, SSE2", 0, 0},
        {"ours_tree", "rj_dom_insitu", "tree    / ParseInsitu", 0, 0},
        {"ours_tree_copy", "rj_dom", "tree+copy / Document::Parse", 0, 0},
    };
    out << (best ? "\nBest repetition's" : "\nMedian") << " throughput, ours / peer (MB/s = 10^6 bytes of input per second of "
        << (wall_clock ? "wall-clock" : "thread CPU") << " time; allocator: " << allocator << ")\n";
    char line[256];
    std::snprintf(line, sizeof line, "%-16s %-34s %9s %9s %7s %7s  %s\n", "file", "comparison", "ours", "peer",
                  "ratio", "target", "");
    out << line;
    out << std::string(99, '-') << '\n';
    for (const Doc& d : docs) {
        for (const Pair& p : pairs) {
            double a = rep.rate(std::string(p.ours) + "/" + d.name, best);
            double b = rep.rate(std::string(p.peer) + "/" + d.name, best);
            if (a < 0 || b < 0) continue;
            std::string name = d.name + (d.generated ? "*" : "");
            if (d.pretty_refused && std::string(p.ours) == "ours_format") {
                // No output to compare: the time of the refusal itself.
                std::snprintf(line, sizeof line, "%-16s %-34s refused in %.1f ms (peer %.1f ms)\n", name.c_str(), p.what,
                              1e3 * static_cast<double>(d.text.size()) / a, 1e3 * static_cast<double>(d.text.size()) / b);
                out << line;
                continue;
            }
            double ratio = a / b;
            double goal = d.scaled ? p.scaled_target : p.target;
            std::string target = goal > 0 ? fixed(goal, 1) + "x" : "info";
            const char* verdict = goal <= 0 ? "" : ratio >= goal ? "met" : "MISSED";
            std::snprintf(line, sizeof line, "%-16s %-34s %9.1f %9.1f %6.2fx %7s  %s\n", name.c_str(), p.what, a / 1e6,
                          b / 1e6, ratio, target.c_str(), verdict);
            out << line;
        }
    }
    bool any_generated = std::any_of(docs.begin(), docs.end(), [](const Doc& d) { return d.generated; });
    if (any_generated) out << "* generated stand-in (the corpus file was not found)\n";
}

}  // namespace bench
