// Peak memory of one call per document: resident-set growth measured in a
// forked child, heap peaks from counting operator new (heap_counter.h), and
// the table they are printed in.
#pragma once

#include <cstddef>
#include <ostream>
#include <string>
#include <vector>

#include "bench_documents.h"
#include "heap_counter.h"

namespace bench {

struct MemoryRow {
    std::string name;
    std::size_t input = 0;
    std::size_t output = 0;      // ours, pretty form
    std::size_t capacity = 0;    // capacity() of the returned string
    heap::Peak format_peak;      // operator new bytes live at the peak of one call
    long format_rss_kib = -1;    // peak RSS growth of one call (forked child)
    std::size_t rj_output = 0;   // RapidJSON pretty output
    long rj_rss_kib = -1;
    long yy_rss_kib = -1;        // yyjson read + pretty write (it allocates with malloc, so RSS only)
    bool refused = false;        // ours refused the pretty form (over 24 MiB)
    heap::Peak compact_peak;
    heap::Peak tree_peak;
};

// RSS figures first, while the heap holds no freed blocks from other runs.
std::vector<MemoryRow> measure_memory(const std::vector<Doc>& docs);

void print_memory(const std::vector<MemoryRow>& rows, std::ostream& out);

}  // namespace bench
