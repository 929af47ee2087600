#include "bench_documents.h"

#include <cstdlib>
#include <fstream>
#include <utility>

#include "generated_documents.h"

#ifndef LUMARO_BENCH_DATA_DEFAULT
#define LUMARO_BENCH_DATA_DEFAULT "../shared/bench-data"
#endif

namespace bench {

namespace {

bool read_file(const std::string& path, std::string& out) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    in.seekg(0, std::ios::end);
    auto size = static_cast<std::size_t>(in.tellg());
    in.seekg(0, std::ios::beg);
    out.resize(size);
    return static_cast<bool>(in.read(out.data(), static_cast<std::streamsize>(size)));
}

}  // namespace

std::vector<Doc> load_documents(std::string& folder) {
    const char* env = std::getenv("LUMARO_BENCH_DATA");
    folder = env != nullptr && *env != '\0' ? env : LUMARO_BENCH_DATA_DEFAULT;
    struct Source {
        const char* name;
        std::string (*generate)(std::size_t);
        std::size_t size;
    };
    const Source sources[] = {
        {"twitter", generate_tweets, 620'000},
        {"citm_catalog", generate_catalog, 1'700'000},
        {"canada", generate_coordinates, 2'100'000},
    };
    std::vector<Doc> docs;
    for (const Source& s : sources) {
        Doc d;
        d.name = s.name;
        if (!read_file(folder + "/" + s.name + ".json", d.text)) {
            d.text = s.generate(s.size);
            d.generated = true;
        }
        docs.push_back(std::move(d));
    }
    const std::size_t corpus = docs.size();
    for (std::size_t mib : {16, 64}) {
        Doc d;
        d.name = "scaled_" + std::to_string(mib) + "mib";
        d.scaled = true;
        d.text = "[";
        for (std::size_t i = 0; d.text.size() < (mib << 20); ++i) {
            if (i > 0) d.text += ",\n";
            d.text += docs[i % corpus].text;
            d.generated = d.generated || docs[i % corpus].generated;
        }
        d.text += "]";
        docs.push_back(std::move(d));
    }
    return docs;
}

}  // namespace bench
