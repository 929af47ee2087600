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

#include <fcntl.h>
#include <malloc.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <ctime>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <iostream>
#include <map>
#include <new>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include <rapidjson/document.h>

#include "json/json_format.h"
#include "json/json_tree.h"
#include "rapidjson_peer.h"

#ifndef LUMARO_BENCH_DATA_DEFAULT
#define LUMARO_BENCH_DATA_DEFAULT "../shared/bench-data"
#endif

// ---------------------------------------------------------------------------
// Heap accounting: every operator new/delete of the process goes through here;
// while `tracking` is on, the bytes live since it was turned on (as
// malloc_usable_size counts them) and their peak are kept. Off during the
// timed runs apart from one predictable branch per allocation.

namespace heap {

bool tracking = false;
std::int64_t live = 0;
std::int64_t peak = 0;
std::int64_t allocations = 0;

inline void on_alloc(void* p) {
    if (!tracking || p == nullptr) return;
    live += static_cast<std::int64_t>(malloc_usable_size(p));
    peak = std::max(peak, live);
    ++allocations;
}
inline void on_free(void* p) {
    if (!tracking || p == nullptr) return;
    live -= static_cast<std::int64_t>(malloc_usable_size(p));
}

void* allocate(std::size_t n) {
    void* p = std::malloc(n == 0 ? 1 : n);
    if (p == nullptr) throw std::bad_alloc();
    on_alloc(p);
    return p;
}
void* allocate_aligned(std::size_t n, std::align_val_t al) {
    auto a = static_cast<std::size_t>(al);
    std::size_t rounded = (std::max<std::size_t>(n, 1) + a - 1) / a * a;
    void* p = std::aligned_alloc(a, rounded);
    if (p == nullptr) throw std::bad_alloc();
    on_alloc(p);
    return p;
}
void release(void* p) noexcept {
    on_free(p);
    std::free(p);
}

struct Peak {
    std::int64_t bytes = 0;
    std::int64_t allocations = 0;
};

// Peak heap bytes allocated (and not yet freed) while f runs.
template <class F>
Peak measure(F&& f) {
    live = peak = allocations = 0;
    tracking = true;
    f();
    tracking = false;
    return {peak, allocations};
}

}  // namespace heap

void* operator new(std::size_t n) { return heap::allocate(n); }
void* operator new[](std::size_t n) { return heap::allocate(n); }
void* operator new(std::size_t n, const std::nothrow_t&) noexcept {
    try { return heap::allocate(n); } catch (...) { return nullptr; }
}
void* operator new[](std::size_t n, const std::nothrow_t&) noexcept {
    try { return heap::allocate(n); } catch (...) { return nullptr; }
}
void* operator new(std::size_t n, std::align_val_t al) { return heap::allocate_aligned(n, al); }
void* operator new[](std::size_t n, std::align_val_t al) { return heap::allocate_aligned(n, al); }
void operator delete(void* p) noexcept { heap::release(p); }
void operator delete[](void* p) noexcept { heap::release(p); }
void operator delete(void* p, std::size_t) noexcept { heap::release(p); }
void operator delete[](void* p, std::size_t) noexcept { heap::release(p); }
void operator delete(void* p, std::align_val_t) noexcept { heap::release(p); }
void operator delete[](void* p, std::align_val_t) noexcept { heap::release(p); }
void operator delete(void* p, std::size_t, std::align_val_t) noexcept { heap::release(p); }
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept { heap::release(p); }

namespace {

// ---------------------------------------------------------------------------
// Generated stand-ins for missing corpus files (deterministic).

struct Rng {
    std::uint64_t state;
    std::uint64_t next() {  // splitmix64
        std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    std::uint32_t below(std::uint32_t n) { return static_cast<std::uint32_t>(next() % n); }
    bool chance(std::uint32_t percent) { return below(100) < percent; }
    double unit() { return static_cast<double>(next() >> 11) * 0x1.0p-53; }
    template <class T, std::size_t N>
    const T& pick(const T (&items)[N]) { return items[below(static_cast<std::uint32_t>(N))]; }
};

// Writes JSON with a given indent (0: no white space at all).
class Emitter {
public:
    Emitter(std::string& out, unsigned indent) : out_(out), indent_(indent) {}

    Emitter& key(std::string_view k) {
        separate();
        out_ += '"';
        out_ += k;
        out_ += indent_ != 0 ? "\": " : "\":";
        after_key_ = true;
        return *this;
    }
    void begin_object() { open('{'); }
    void end_object() { close('}'); }
    void begin_array() { open('['); }
    void end_array() { close(']'); }
    // `escaped` is already valid string content.
    void string(std::string_view escaped) {
        start_value();
        out_ += '"';
        out_ += escaped;
        out_ += '"';
    }
    void raw(std::string_view token) {
        start_value();
        out_ += token;
    }
    void integer(std::int64_t v) { raw(std::to_string(v)); }
    void boolean(bool v) { raw(v ? "true" : "false"); }
    void null() { raw("null"); }
    std::size_t size() const { return out_.size(); }

private:
    std::string& out_;
    unsigned indent_;
    std::vector<bool> first_;  // per open container: nothing written in it yet
    bool after_key_ = false;

    void newline() {
        if (indent_ == 0) return;
        out_ += '\n';
        out_.append(first_.size() * indent_, ' ');
    }
    void separate() {
        if (first_.empty()) return;
        if (!first_.back()) out_ += ',';
        first_.back() = false;
        newline();
    }
    void start_value() {
        if (after_key_) {
            after_key_ = false;
            return;
        }
        separate();
    }
    void open(char c) {
        start_value();
        out_ += c;
        first_.push_back(true);
    }
    void close(char c) {
        bool empty = first_.back();
        first_.pop_back();
        if (!empty) newline();
        out_ += c;
    }
};

constexpr const char* ascii_words[] = {
    "the", "night", "train", "coffee", "weekend", "music", "live", "today", "photo", "new",
    "city", "rain", "friends", "happy", "tickets", "update", "release", "match", "goal", "road",
};
constexpr const char* utf8_words[] = {
    "café", "naïve", "Größe", "東京", "今日は", "ありがとう", "😊", "✨✨", "❤️", "Привет", "données", "😋",
};
constexpr const char* escapes[] = {"\\n", "\\\"", "\\\\", "\\u00e9", "\\ud83d\\ude0a", "\\/", "\\t"};

std::string sentence(Rng& rng, std::size_t words) {
    std::string s;
    for (std::size_t i = 0; i < words; ++i) {
        if (i != 0) s += rng.chance(8) ? rng.pick(escapes) : " ";
        s += rng.chance(30) ? rng.pick(utf8_words) : rng.pick(ascii_words);
    }
    return s;
}

std::string digits(Rng& rng, std::size_t n) {
    std::string s(1, static_cast<char>('1' + rng.below(9)));
    while (s.size() < n) s += static_cast<char>('0' + rng.below(10));
    return s;
}

std::string handle(Rng& rng) {
    std::string s = rng.pick(ascii_words);
    s += '_';
    s += rng.pick(ascii_words);
    s += std::to_string(rng.below(1000));
    return s;
}

// Object-heavy, string-heavy, 2-space indent, about 620 KB.
std::string generate_tweets(std::size_t target) {
    std::string out;
    out.reserve(target + 16384);
    Rng rng{0x7477697474657231ull};
    Emitter e(out, 2);
    auto user = [&] {
        e.begin_object();
        std::string id = digits(rng, 9 + rng.below(2));
        e.key("id").raw(id);
        e.key("id_str").string(id);
        e.key("name").string(sentence(rng, 2));
        e.key("screen_name").string(handle(rng));
        e.key("location").string(rng.chance(50) ? sentence(rng, 1) : "");
        e.key("description").string(sentence(rng, 4 + rng.below(14)));
        e.key("url");
        if (rng.chance(40)) e.string("http:\\/\\/t.co\\/" + digits(rng, 10)); else e.null();
        e.key("entities").begin_object();
        e.key("description").begin_object();
        e.key("urls").begin_array();
        e.end_array();
        e.end_object();
        e.end_object();
        e.key("protected").boolean(false);
        e.key("followers_count").integer(rng.below(20000));
        e.key("friends_count").integer(rng.below(5000));
        e.key("listed_count").integer(rng.below(100));
        e.key("created_at").string("Mon Jul 07 12:34:56 +0000 2014");
        e.key("favourites_count").integer(rng.below(30000));
        e.key("utc_offset");
        if (rng.chance(50)) e.integer(32400); else e.null();
        e.key("time_zone");
        if (rng.chance(50)) e.string("Tokyo"); else e.null();
        e.key("geo_enabled").boolean(rng.chance(20));
        e.key("verified").boolean(false);
        e.key("statuses_count").integer(rng.below(100000));
        e.key("lang").string(rng.chance(70) ? "ja" : "en");
        e.key("profile_background_color").string("C0DEED");
        e.key("profile_background_image_url").string("http:\\/\\/abs.twimg.com\\/images\\/themes\\/theme1\\/bg.png");
        e.key("profile_image_url").string("http:\\/\\/pbs.twimg.com\\/profile_images\\/" + digits(rng, 18) + "\\/normal.jpeg");
        e.key("profile_link_color").string("0084B4");
        e.key("profile_use_background_image").boolean(true);
        e.key("default_profile").boolean(rng.chance(50));
        e.key("following").boolean(false);
        e.key("notifications").boolean(false);
        e.end_object();
    };
    auto tweet = [&](auto& self, bool nested) -> void {
        e.begin_object();
        e.key("metadata").begin_object();
        e.key("result_type").string("recent");
        e.key("iso_language_code").string(rng.chance(70) ? "ja" : "en");
        e.end_object();
        e.key("created_at").string("Sun Aug 31 00:29:15 +0000 2014");
        std::string id = digits(rng, 18);
        e.key("id").raw(id);
        e.key("id_str").string(id);
        e.key("text").string(sentence(rng, 6 + rng.below(20)));
        e.key("source").string("<a href=\\\"http:\\/\\/twitter.com\\/download\\/iphone\\\" rel=\\\"nofollow\\\">Twitter for iPhone<\\/a>");
        e.key("truncated").boolean(false);
        e.key("in_reply_to_status_id");
        if (rng.chance(30)) e.raw(digits(rng, 18)); else e.null();
        e.key("in_reply_to_screen_name");
        if (rng.chance(30)) e.string(handle(rng)); else e.null();
        e.key("user");
        user();
        e.key("geo").null();
        e.key("coordinates").null();
        e.key("place").null();
        e.key("contributors").null();
        if (!nested && rng.chance(35)) {
            e.key("retweeted_status");
            self(self, true);
        }
        e.key("retweet_count").integer(rng.below(500));
        e.key("favorite_count").integer(rng.below(500));
        e.key("entities").begin_object();
        e.key("hashtags").begin_array();
        for (std::uint32_t i = rng.below(3); i != 0; --i) {
            e.begin_object();
            e.key("text").string(rng.pick(utf8_words));
            e.key("indices").begin_array();
            std::uint32_t at = rng.below(100);
            e.integer(at);
            e.integer(at + 5);
            e.end_array();
            e.end_object();
        }
        e.end_array();
        e.key("symbols").begin_array();
        e.end_array();
        e.key("urls").begin_array();
        if (rng.chance(30)) {
            e.begin_object();
            e.key("url").string("http:\\/\\/t.co\\/" + digits(rng, 10));
            e.key("expanded_url").string("http:\\/\\/example.org\\/" + handle(rng));
            e.key("display_url").string("example.org\\/" + handle(rng));
            e.key("indices").begin_array();
            e.integer(20);
            e.integer(42);
            e.end_array();
            e.end_object();
        }
        e.end_array();
        e.key("user_mentions").begin_array();
        for (std::uint32_t i = rng.below(3); i != 0; --i) {
            e.begin_object();
            e.key("screen_name").string(handle(rng));
            e.key("name").string(sentence(rng, 2));
            std::string uid = digits(rng, 10);
            e.key("id").raw(uid);
            e.key("id_str").string(uid);
            e.key("indices").begin_array();
            e.integer(0);
            e.integer(12);
            e.end_array();
            e.end_object();
        }
        e.end_array();
        e.end_object();
        e.key("favorited").boolean(false);
        e.key("retweeted").boolean(false);
        e.key("lang").string(rng.chance(70) ? "ja" : "en");
        e.end_object();
    };
    e.begin_object();
    e.key("statuses").begin_array();
    while (e.size() < target - 1024) tweet(tweet, false);
    e.end_array();
    e.key("search_metadata").begin_object();
    e.key("completed_in").raw("0.087");
    e.key("max_id").raw("505874924095815681");
    e.key("query").string("%E4%B8%80");
    e.key("count").integer(100);
    e.end_object();
    e.end_object();
    return out;
}

// Many integer-named members, small integer arrays, 4-space indent, about 1.7 MB.
std::string generate_catalog(std::size_t target) {
    std::string out;
    out.reserve(target + 65536);
    Rng rng{0x6369746D63617431ull};
    Emitter e(out, 4);
    constexpr const char* names[] = {"Arrière-scène central", "1er balcon central", "2ème balcon cour",
                                     "Parterre jardin", "Loge côté cour", "Orchestre", "Corbeille"};
    auto id_map = [&](std::string_view key, std::uint32_t count, std::uint32_t base) {
        e.key(key).begin_object();
        for (std::uint32_t i = 0; i < count; ++i) e.key(std::to_string(base + i)).string(rng.pick(names));
        e.end_object();
    };
    e.begin_object();
    id_map("areaNames", 17, 205705993);
    id_map("audienceSubCategoryNames", 1, 337100890);
    e.key("blockNames").begin_object();
    e.end_object();
    e.key("events").begin_object();
    for (std::uint32_t i = 0; i < 184; ++i) {
        std::uint32_t id = 138586341 + i * 37;
        e.key(std::to_string(id)).begin_object();
        e.key("description").null();
        e.key("id").integer(id);
        e.key("logo");
        if (rng.chance(50)) e.string("/images/UE0AAAAACEKo6QAAAAZDSVRN"); else e.null();
        e.key("name").string(sentence(rng, 2 + rng.below(4)));
        e.key("subTopicIds").begin_array();
        for (std::uint32_t k = 1 + rng.below(4); k != 0; --k) e.integer(337184262 + rng.below(40));
        e.end_array();
        e.key("subjectCode").null();
        e.key("subtitle").null();
        e.key("topicIds").begin_array();
        for (std::uint32_t k = 1 + rng.below(2); k != 0; --k) e.integer(107888604 + rng.below(4) * 1000);
        e.end_array();
        e.end_object();
    }
    e.end_object();
    e.key("performances").begin_array();
    std::int64_t start = 1372701600000;
    while (e.size() < target - 20000) {
        e.begin_object();
        e.key("eventId").integer(138586341 + rng.below(184) * 37);
        e.key("id").integer(339887544 + rng.below(100000));
        e.key("logo");
        if (rng.chance(60)) e.string("/images/UE0AAAAACEKo6QAAAAZDSVRN"); else e.null();
        e.key("name").null();
        std::uint32_t categories = 1 + rng.below(4);
        e.key("prices").begin_array();
        for (std::uint32_t k = 0; k < categories; ++k) {
            e.begin_object();
            e.key("amount").integer(9000 + rng.below(80) * 1000);
            e.key("audienceSubCategoryId").integer(337100890);
            e.key("seatCategoryId").integer(338937295 + k);
            e.end_object();
        }
        e.end_array();
        e.key("seatCategories").begin_array();
        for (std::uint32_t k = 0; k < categories; ++k) {
            e.begin_object();
            e.key("areas").begin_array();
            for (std::uint32_t a = 1 + rng.below(8); a != 0; --a) {
                e.begin_object();
                e.key("areaId").integer(205705993 + rng.below(17));
                e.key("blockIds").begin_array();
                e.end_array();
                e.end_object();
            }
            e.end_array();
            e.key("seatCategoryId").integer(338937295 + k);
            e.end_object();
        }
        e.end_array();
        e.key("seatMapImage").null();
        start += 86400000 * (1 + rng.below(3));
        e.key("start").integer(start);
        e.key("venueCode").string("PLEYEL_PLEYEL");
        e.end_object();
    }
    e.end_array();
    id_map("seatCategoryNames", 64, 338937235);
    id_map("subTopicNames", 19, 337184262);
    e.key("subjectNames").begin_object();
    e.end_object();
    id_map("topicNames", 4, 107888604);
    e.key("topicSubTopics").begin_object();
    for (std::uint32_t t = 0; t < 4; ++t) {
        e.key(std::to_string(107888604 + t * 1000)).begin_array();
        for (std::uint32_t k = 0; k < 6; ++k) e.integer(337184262 + t * 6 + k);
        e.end_array();
    }
    e.end_object();
    e.key("venueNames").begin_object();
    e.key("PLEYEL_PLEYEL").string("Salle Pleyel");
    e.end_object();
    e.end_object();
    return out;
}

// Number-heavy: polygon rings of [lon,lat] pairs printed with 17 significant
// digits (as a binary double of a 6-decimal value prints), no white space
// inside the coordinates, about 2.1 MB.
std::string generate_coordinates(std::size_t target) {
    std::string out;
    out.reserve(target + 65536);
    Rng rng{0x63616E6164613131ull};
    Emitter e(out, 0);
    auto number = [&](double v) {
        double rounded = std::round(v * 1e6) / 1e6;
        char buf[40];
        std::snprintf(buf, sizeof buf, "%.17g", rounded);
        e.raw(buf);
    };
    e.begin_object();
    e.key("type").string("FeatureCollection");
    e.key("features").begin_array();
    e.begin_object();
    e.key("type").string("Feature");
    e.key("properties").begin_object();
    e.key("name").string("Canada");
    e.end_object();
    e.key("geometry").begin_object();
    e.key("type").string("Polygon");
    e.key("coordinates").begin_array();
    while (e.size() < target - 4096) {
        e.begin_array();
        double lon = -141.0 + 89.0 * rng.unit();
        double lat = 42.0 + 41.0 * rng.unit();
        for (std::uint32_t n = 4 + rng.below(1500); n != 0 && e.size() < target - 64; --n) {
            lon += (rng.unit() - 0.5) * 0.02;
            lat += (rng.unit() - 0.5) * 0.02;
            e.begin_array();
            number(lon);
            number(lat);
            e.end_array();
        }
        e.end_array();
    }
    e.end_array();
    e.end_object();
    e.end_object();
    e.end_array();
    e.end_object();
    return out;
}

// ---------------------------------------------------------------------------
// The documents.

struct Doc {
    std::string name;
    std::string text;
    bool generated = false;
};

bool read_file(const std::string& path, std::string& out) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    in.seekg(0, std::ios::end);
    auto size = static_cast<std::size_t>(in.tellg());
    in.seekg(0, std::ios::beg);
    out.resize(size);
    return static_cast<bool>(in.read(out.data(), static_cast<std::streamsize>(size)));
}

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
    return docs;
}

// ---------------------------------------------------------------------------
// Benchmarks. Every one reports SetBytesProcessed(input bytes).

// The machines are small shared VMs where other work (builds, fuzzers) comes
// and goes: the thread's CPU time (user + system, page faults included) is far
// steadier than wall-clock time there. --real-time / LUMARO_BENCH_REAL_TIME=1
// switches every benchmark to wall-clock time.
bool use_wall_clock = false;

const std::string* as_string(const std::variant<std::string, JsonError>& r) { return std::get_if<std::string>(&r); }

void finish(benchmark::State& state, const Doc& doc) {
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(doc.text.size()));
    if (doc.generated) state.SetLabel("generated");
}

// format_json exactly as the worker calls it: a view of the text, a fresh
// std::string back (destroyed at the end of the iteration).
void bm_ours_format(benchmark::State& state, const Doc* doc, JsonMode mode) {
    std::string_view text = doc->text;
    for (auto _ : state) {
        auto result = format_json(text, mode);
        if (as_string(result) == nullptr) {
            state.SkipWithError("format_json failed");
            break;
        }
        benchmark::DoNotOptimize(result);
    }
    finish(state, *doc);
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

void bm_peer_text(benchmark::State& state, const Doc* doc, std::size_t (*run)(const std::string&)) {
    for (auto _ : state) {
        std::size_t n = run(doc->text);
        if (n == 0) {
            state.SkipWithError("RapidJSON failed");
            break;
        }
        benchmark::DoNotOptimize(n);
    }
    finish(state, *doc);
}

void bm_peer_dom(benchmark::State& state, const Doc* doc, bool (*run)(const std::string&)) {
    for (auto _ : state) {
        bool ok = run(doc->text);
        if (!ok) {
            state.SkipWithError("RapidJSON failed");
            break;
        }
        benchmark::DoNotOptimize(ok);
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
        reg("rj_pretty", [=](benchmark::State& s) { bm_peer_text(s, doc, rj.pretty); });
        reg("rj_sse2_pretty", [=](benchmark::State& s) { bm_peer_text(s, doc, rj2.pretty); });
        reg("ours_compact", [=](benchmark::State& s) { bm_ours_format(s, doc, JsonMode::compact); });
        reg("rj_writer", [=](benchmark::State& s) { bm_peer_text(s, doc, rj.compact); });
        reg("rj_sse2_writer", [=](benchmark::State& s) { bm_peer_text(s, doc, rj2.compact); });
        reg("ours_tree", [=](benchmark::State& s) { bm_ours_tree(s, doc); });
        reg("ours_tree_copy", [=](benchmark::State& s) { bm_ours_tree_copy(s, doc); });
        reg("rj_dom", [=](benchmark::State& s) { bm_peer_dom(s, doc, rj.dom); });
        reg("rj_sse2_dom", [=](benchmark::State& s) { bm_peer_dom(s, doc, rj2.dom); });
        reg("rj_dom_insitu", [=](benchmark::State& s) { bm_peer_dom_insitu(s, doc, rj.dom_insitu); }, true);
    }
}

// ---------------------------------------------------------------------------
// Collects bytes_per_second per benchmark (the median aggregate when there
// are repetitions) and passes everything on to the usual display reporter.

class CollectingReporter : public benchmark::BenchmarkReporter {
public:
    explicit CollectingReporter(benchmark::BenchmarkReporter* inner) : inner_(inner) {}

    bool ReportContext(const Context& context) override { return inner_->ReportContext(context); }
    void ReportRuns(const std::vector<Run>& runs) override {
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
    void Finalize() override { inner_->Finalize(); }

    // Bytes per second (the median, or with best = true the best repetition),
    // or a negative value when the benchmark did not run.
    double rate(const std::string& name, bool best) const {
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

private:
    benchmark::BenchmarkReporter* inner_;
    std::map<std::string, double> medians_;
    std::map<std::string, double> maxima_;
    std::map<std::string, std::vector<double>> samples_;
};

// ---------------------------------------------------------------------------
// Peak memory.

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

struct MemoryRow {
    std::string name;
    std::size_t input = 0;
    std::size_t output = 0;      // ours, pretty form
    std::size_t capacity = 0;    // capacity() of the returned string
    heap::Peak format_peak;      // operator new bytes live at the peak of one call
    long format_rss_kib = -1;    // peak RSS growth of one call (forked child)
    std::size_t rj_output = 0;   // RapidJSON pretty output
    long rj_rss_kib = -1;
    heap::Peak compact_peak;
    heap::Peak tree_peak;
};

// RSS figures first, while the heap holds no freed blocks from other runs.
std::vector<MemoryRow> measure_memory(const std::vector<Doc>& docs) {
    std::vector<MemoryRow> rows;
    for (const Doc& d : docs) {
        MemoryRow row;
        row.name = d.name + (d.generated ? "*" : "");
        row.input = d.text.size();
        std::string_view text = d.text;
        row.format_rss_kib = child_rss_growth_kib([&] {
            auto r = format_json(text, JsonMode::format);
            benchmark::DoNotOptimize(r);
        });
        row.rj_rss_kib = child_rss_growth_kib([&] {
            std::size_t n = peer::rapidjson_default.pretty(d.text);
            benchmark::DoNotOptimize(n);
        });
        rows.push_back(row);
    }
    for (std::size_t i = 0; i < docs.size(); ++i) {
        const Doc& d = docs[i];
        MemoryRow& row = rows[i];
        std::string_view text = d.text;
        std::variant<std::string, JsonError> kept;
        row.format_peak = heap::measure([&] { kept = format_json(text, JsonMode::format); });
        if (const std::string* s = as_string(kept)) {
            row.output = s->size();
            row.capacity = s->capacity();
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

void validate(const std::vector<Doc>& docs, std::ostream& out) {
    for (const Doc& d : docs) {
        auto pretty = format_json(d.text, JsonMode::format);
        auto compact = format_json(d.text, JsonMode::compact);
        auto tree = build_json_tree(d.text);
        if (!as_string(pretty) || !as_string(compact) || !std::holds_alternative<JsonTree>(tree)) {
            out << "  " << d.name << ": our engine rejected the document\n";
        } else {
            if (!same_values(d.text, *as_string(pretty))) out << "  " << d.name << ": WARNING pretty form differs in value\n";
            if (!same_values(d.text, *as_string(compact))) out << "  " << d.name << ": WARNING compact form differs in value\n";
        }
        if (peer::rapidjson_default.pretty(d.text) == 0 || !peer::rapidjson_default.dom(d.text) ||
            peer::rapidjson_sse2.compact(d.text) == 0) {
            out << "  " << d.name << ": RapidJSON rejected the document\n";
        }
    }
}

// ---------------------------------------------------------------------------
// Tables.

std::string fixed(double v, int decimals) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
    return buf;
}

std::string mib(double bytes) { return fixed(bytes / (1024.0 * 1024.0), 2); }

void print_ratios(const CollectingReporter& rep, const std::vector<Doc>& docs, const std::string& allocator,
                  bool best, std::ostream& out) {
    struct Pair {
        const char* ours;
        const char* peer;
        const char* what;
        double target;  // 0: for information
    };
    const Pair pairs[] = {
        {"ours_format", "rj_pretty", "format  / Reader+PrettyWriter", 1.5},
        {"ours_compact", "rj_writer", "compact / Reader+Writer", 1.5},
        {"ours_tree", "rj_dom", "tree    / Document::Parse", 1.0},
        {"ours_format", "rj_sse2_pretty", "format  / PrettyWriter, SSE2", 0},
        {"ours_compact", "rj_sse2_writer", "compact / Writer, SSE2", 0},
        {"ours_tree", "rj_sse2_dom", "tree    / Document::Parse, SSE2", 0},
        {"ours_tree", "rj_dom_insitu", "tree    / ParseInsitu", 0},
        {"ours_tree_copy", "rj_dom", "tree+copy / Document::Parse", 0},
    };
    out << (best ? "\nBest repetition's" : "\nMedian") << " throughput, ours / RapidJSON (MB/s = 10^6 bytes of input per second of "
        << (use_wall_clock ? "wall-clock" : "thread CPU") << " time; allocator: " << allocator << ")\n";
    char line[256];
    std::snprintf(line, sizeof line, "%-13s %-34s %9s %9s %7s %7s  %s\n", "file", "comparison", "ours", "peer",
                  "ratio", "target", "");
    out << line;
    out << std::string(96, '-') << '\n';
    for (const Doc& d : docs) {
        for (const Pair& p : pairs) {
            double a = rep.rate(std::string(p.ours) + "/" + d.name, best);
            double b = rep.rate(std::string(p.peer) + "/" + d.name, best);
            if (a < 0 || b < 0) continue;
            double ratio = a / b;
            std::string target = p.target > 0 ? fixed(p.target, 1) + "x" : "info";
            const char* verdict = p.target <= 0 ? "" : ratio >= p.target ? "met" : "MISSED";
            std::snprintf(line, sizeof line, "%-13s %-34s %9.1f %9.1f %6.2fx %7s  %s\n",
                          (d.name + (d.generated ? "*" : "")).c_str(), p.what, a / 1e6, b / 1e6, ratio,
                          target.c_str(), verdict);
            out << line;
        }
    }
    bool any_generated = std::any_of(docs.begin(), docs.end(), [](const Doc& d) { return d.generated; });
    if (any_generated) out << "* generated stand-in (the corpus file was not found)\n";
}

void print_memory(const std::vector<MemoryRow>& rows, std::ostream& out) {
    out << "\nPeak memory of one format (pretty) call, MiB. 'heap peak' = most operator-new bytes live at once\n"
           "during the call (exact, from counting new/delete); 'RSS peak' = resident-set high-water growth of the\n"
           "call in a forked child with a trimmed heap. Target: input + output + 1 MiB, i.e. heap peak <= output + 1.\n";
    char line[256];
    std::snprintf(line, sizeof line, "%-13s %7s %7s %8s %9s %9s %9s %7s  %9s %9s\n", "file", "input", "output",
                  "capacity", "heap peak", "RSS peak", "in+peak", "limit", "RJ output", "RJ RSS");
    out << line << std::string(100, '-') << '\n';
    for (const MemoryRow& r : rows) {
        double limit = static_cast<double>(r.input + r.output) + 1024.0 * 1024.0;
        double total = static_cast<double>(r.input) + static_cast<double>(r.format_peak.bytes);
        std::snprintf(line, sizeof line, "%-13s %7s %7s %8s %9s %9s %9s %7s  %9s %9s  %s\n", r.name.c_str(),
                      mib(static_cast<double>(r.input)).c_str(), mib(static_cast<double>(r.output)).c_str(),
                      mib(static_cast<double>(r.capacity)).c_str(),
                      mib(static_cast<double>(r.format_peak.bytes)).c_str(),
                      r.format_rss_kib < 0 ? "?" : mib(static_cast<double>(r.format_rss_kib) * 1024).c_str(),
                      mib(total).c_str(), mib(limit).c_str(), mib(static_cast<double>(r.rj_output)).c_str(),
                      r.rj_rss_kib < 0 ? "?" : mib(static_cast<double>(r.rj_rss_kib) * 1024).c_str(),
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
        print_ratios(reporter, docs, allocator, false, out);
        print_ratios(reporter, docs, allocator, true, out);
        print_memory(memory, out);
    }
    benchmark::Shutdown();
    return 0;
}
