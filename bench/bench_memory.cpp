#include "bench_memory.h"

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <malloc.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <iostream>
#include <string_view>
#include <utility>
#include <variant>

#include "bench_report.h"
#include "json/json_format.h"
#include "json/json_tree.h"
#include "json/json_messages.h"
#include "rapidjson_peer.h"
#if defined(LUMARO_BENCH_YYJSON)
#include "yyjson_peer.h"
#endif

namespace bench {

namespace {

long status_kib(const char* field) {
    std::ifstream in("/proc/self/status");
    std::string line;
    std::size_t n = std::strlen(field);
    while (std::getline(in, line)) {
        if (line.compare(0, n, field) == 0) return std::strtol(line.c_str() + n, nullptr, 10);
    }
    return -1;
}

// Peak resident-set growth (KiB) while f runs, measured in a forked child:
// free heap pages are handed back first (malloc_trim), the high-water mark is
// reset (clear_refs 5), f runs once, and VmHWM minus the starting RSS is the
// memory the call made resident. Counts what the kernel saw, page by page,
// whichever allocator the code uses.
long child_rss_growth_kib(const std::function<void()>& f) {
    int fds[2];
    if (pipe(fds) != 0) return -1;
    std::cout.flush();
    pid_t pid = fork();
    if (pid < 0) return -1;
    if (pid == 0) {
        close(fds[0]);
        malloc_trim(0);
        int fd = open("/proc/self/clear_refs", O_WRONLY);
        if (fd >= 0) {
            ssize_t ignored = write(fd, "5", 1);
            (void)ignored;
            close(fd);
        }
        long before = status_kib("VmRSS:");
        f();
        long after = status_kib("VmHWM:");
        long growth = before < 0 || after < 0 ? -1 : after - before;
        ssize_t ignored = write(fds[1], &growth, sizeof growth);
        (void)ignored;
        _exit(0);
    }
    close(fds[1]);
    long growth = -1;
    if (read(fds[0], &growth, sizeof growth) != static_cast<ssize_t>(sizeof growth)) growth = -1;
    close(fds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    return growth;
}

}  // namespace

std::vector<MemoryRow> measure_memory(const std::vector<Doc>& docs) {
    std::vector<MemoryRow> rows;
    for (const Doc& d : docs) {
        MemoryRow row;
        row.name = d.name + (d.generated ? "*" : "");
        row.input = d.text.size();
        const std::string& text = d.text;
        row.format_rss_kib = child_rss_growth_kib([&] {
            auto r = format_json(text, JsonMode::format);
            benchmark::DoNotOptimize(r);
        });
        row.rj_rss_kib = child_rss_growth_kib([&] {
            std::size_t n = peer::rapidjson_default.pretty(d.text);
            benchmark::DoNotOptimize(n);
        });
#if defined(LUMARO_BENCH_YYJSON)
        row.yy_rss_kib = child_rss_growth_kib([&] {
            std::size_t n = peer::yyjson_pretty(d.text);
            benchmark::DoNotOptimize(n);
        });
#endif
        rows.push_back(row);
    }
    for (std::size_t i = 0; i < docs.size(); ++i) {
        const Doc& d = docs[i];
        MemoryRow& row = rows[i];
        const std::string& text = d.text;
        std::variant<std::string, JsonError> kept;
        row.format_peak = heap::measure([&] { kept = format_json(text, JsonMode::format); });
        if (const std::string* s = std::get_if<std::string>(&kept)) {
            row.output = s->size();
            row.capacity = s->capacity();
        } else {
            row.refused = std::get<JsonError>(kept).message == json_messages::pretty_too_large;
        }
        kept = std::string();
        row.compact_peak = heap::measure([&] { kept = format_json(text, JsonMode::compact); });
        kept = std::string();
        std::string owned = d.text;
        row.tree_peak = heap::measure([&] {
            auto r = build_json_tree(std::move(owned));
            benchmark::DoNotOptimize(r);
        });
        row.rj_output = peer::rapidjson_default.pretty(d.text);
    }
    return rows;
}

void print_memory(const std::vector<MemoryRow>& rows, std::ostream& out) {
    out << "\nPeak memory of one format (pretty) call, MiB. 'heap peak' = most operator-new bytes live at once\n"
           "during the call (exact, from counting new/delete); 'RSS peak' = resident-set high-water growth of the\n"
           "call in a forked child with a trimmed heap. Target: input + output + 1 MiB, i.e. heap peak <= output + 1;\n"
           "for a refused document (output 'refused') input + 24 MiB + 1 MiB.\n";
    char line[256];
    std::snprintf(line, sizeof line, "%-13s %7s %7s %8s %9s %9s %9s %7s  %9s %9s %9s\n", "file", "input", "output",
                  "capacity", "heap peak", "RSS peak", "in+peak", "limit", "RJ output", "RJ RSS", "yyjson RSS");
    out << line << std::string(110, '-') << '\n';
    for (const MemoryRow& r : rows) {
        double limit = static_cast<double>(r.input + (r.refused ? json_pretty_limit : r.output)) + 1024.0 * 1024.0;
        double total = static_cast<double>(r.input) + static_cast<double>(r.format_peak.bytes);
        std::snprintf(line, sizeof line, "%-13s %7s %7s %8s %9s %9s %9s %7s  %9s %9s %9s  %s\n", r.name.c_str(),
                      mib(static_cast<double>(r.input)).c_str(),
                      r.refused ? "refused" : mib(static_cast<double>(r.output)).c_str(),
                      mib(static_cast<double>(r.capacity)).c_str(),
                      mib(static_cast<double>(r.format_peak.bytes)).c_str(),
                      r.format_rss_kib < 0 ? "?" : mib(static_cast<double>(r.format_rss_kib) * 1024).c_str(),
                      mib(total).c_str(), mib(limit).c_str(), mib(static_cast<double>(r.rj_output)).c_str(),
                      r.rj_rss_kib < 0 ? "?" : mib(static_cast<double>(r.rj_rss_kib) * 1024).c_str(),
                      r.yy_rss_kib < 0 ? "-" : mib(static_cast<double>(r.yy_rss_kib) * 1024).c_str(),
                      total <= limit ? "met" : "MISSED");
        out << line;
    }
    out << "Heap peak of the other calls (MiB, allocations): ";
    for (const MemoryRow& r : rows) {
        out << r.name << " compact " << mib(static_cast<double>(r.compact_peak.bytes)) << " ("
            << r.compact_peak.allocations << "), tree " << mib(static_cast<double>(r.tree_peak.bytes)) << " ("
            << r.tree_peak.allocations << ");  ";
    }
    out << "format allocations: ";
    for (const MemoryRow& r : rows) out << r.name << " " << r.format_peak.allocations << "  ";
    out << '\n';
}

}  // namespace bench
