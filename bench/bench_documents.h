// The documents: the standard corpus files from the data folder, or
// generated stand-ins for the ones that are missing there.
#pragma once

#include <string>
#include <vector>

namespace bench {

struct Doc {
    std::string name;
    std::string text;
    bool generated = false;
    bool scaled = false;  // an array of copies of the corpus files
    bool pretty_refused = false;  // its pretty form passes the 24 MiB limit
};

// Reads twitter, citm_catalog and canada (.json) from $LUMARO_BENCH_DATA, else
// LUMARO_BENCH_DATA_DEFAULT (the folder used is stored in `folder`); a file
// missing there is replaced by a generated stand-in (Doc::generated). Then
// the scaled documents: arrays of copies of the three, about 16 and 64 MiB.
std::vector<Doc> load_documents(std::string& folder);

}  // namespace bench
