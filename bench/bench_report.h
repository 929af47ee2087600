// What is printed after the runs: the reporter that collects the rates, and
// the tables of throughput ratios (ours / RapidJSON) against the targets.
#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "bench_documents.h"

namespace bench {

// Collects bytes_per_second per benchmark (the median aggregate when there
// are repetitions) and passes everything on to the usual display reporter.
class CollectingReporter : public benchmark::BenchmarkReporter {
public:
    explicit CollectingReporter(benchmark::BenchmarkReporter* inner) : inner_(inner) {}

    bool ReportContext(const Context& context) override { return inner_->ReportContext(context); }
    void ReportRuns(const std::vector<Run>& runs) override;
    void Finalize() override { inner_->Finalize(); }

    // Bytes per second (the median, or with best = true the best repetition),
    // or a negative value when the benchmark did not run.
    double rate(const std::string& name, bool best) const;

private:
    benchmark::BenchmarkReporter* inner_;
    std::map<std::string, double> medians_;
    std::map<std::string, double> maxima_;
    std::map<std::string, std::vector<double>> samples_;
};

// Bytes in MiB with two decimals, for the tables.
std::string mib(double bytes);

// One table of ratios per document and comparison, from the medians or (best =
// true) the best repetitions; `wall_clock` names the clock the rates are on.
void print_ratios(const CollectingReporter& rep, const std::vector<Doc>& docs, const std::string& allocator,
                  bool wall_clock, bool best, std::ostream& out);

}  // namespace bench
