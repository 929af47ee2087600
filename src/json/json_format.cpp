#include "json/json_format.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "json/json_literal.h"
#include "json/json_scanner.h"

namespace {

// Writes may run up to this many bytes past their end (whole 16- or 32-byte
// moves instead of a call per token); the buffer keeps that much spare room.
constexpr std::size_t slack = 32;

// How far ahead of the writes the pretty form's buffer is made usable.
constexpr std::size_t touch_step = 256 * 1024;

constexpr std::size_t indent_run = 2 * json_max_depth;
struct Spaces {
    char bytes[indent_run + slack];
    constexpr Spaces() : bytes() {
        for (char& c : bytes) c = ' ';
    }
};
constexpr Spaces spaces;

// Copies n bytes; short runs move as one fixed-size block when the source has
// the room to read it.
inline void copy_bytes(char* dst, const char* src, std::size_t n, const char* src_end) {
    std::size_t room = static_cast<std::size_t>(src_end - src);
    if (n <= 16 && room >= 16) {
        std::memcpy(dst, src, 16);
    } else if (n <= 32 && room >= 32) {
        std::memcpy(dst, src, 32);
    } else {
        std::memcpy(dst, src, n);
    }
}

// The compact form is never longer than its input, so the buffer sized to the
// input needs no checks while writing.
class CompactDriver {
public:
    CompactDriver(std::string_view text, char* out) : text_(text.data()), text_end_(text.data() + text.size()), w_(out), begin_(out) {}

    bool scalar(const JsonSlot& slot, unsigned, std::size_t begin, std::size_t end, std::uint32_t&) {
        prefix(slot);
        copy_bytes(w_, text_ + begin, end - begin, text_end_);
        w_ += end - begin;
        return true;
    }
    bool open(const JsonSlot& slot, unsigned, bool object, std::uint32_t&) {
        prefix(slot);
        *w_++ = object ? '{' : '[';
        return true;
    }
    bool close(std::uint32_t, unsigned, bool object, std::uint32_t) {
        *w_++ = object ? '}' : ']';
        return true;
    }
    std::size_t length() const { return static_cast<std::size_t>(w_ - begin_); }

private:
    const char* text_;
    const char* text_end_;
    char* w_;
    char* begin_;

    void prefix(const JsonSlot& slot) {
        if (slot.follows_sibling) *w_++ = ',';
        if (slot.place == JsonPlace::member) {
            std::size_t n = slot.key_end - slot.key_start;
            copy_bytes(w_, text_ + slot.key_start, n, text_end_);
            w_ += n;
            *w_++ = ':';
        }
    }
};

// Bytes the pretty form writes before a value: comma, line break,
// indentation, and for a member its key, colon and space.
std::size_t pretty_prefix_length(const JsonSlot& slot, unsigned depth) {
    if (slot.place == JsonPlace::top) return 0;
    std::size_t n = (slot.follows_sibling ? 2 : 1) + 2 * std::size_t{depth};
    if (slot.place == JsonPlace::member) n += slot.key_end - slot.key_start + 2;
    return n;
}

std::size_t pretty_close_length(unsigned depth, std::uint32_t members) {
    return members == 0 ? 1 : 2 * std::size_t{depth} + 2;
}

// Counts what the pretty form would write, with the same limit checks in the
// same order, without writing. With a probe offset it stops at the first
// scalar that ends there or later.
class PrettyCounter {
public:
    explicit PrettyCounter(std::size_t probe_end) : probe_end_(probe_end) {}

    bool scalar(const JsonSlot& slot, unsigned depth, std::size_t begin, std::size_t end, std::uint32_t&) {
        if (!add(pretty_prefix_length(slot, depth) + (end - begin))) return false;
        if (end >= probe_end_) {
            probed_ = end;
            return false;
        }
        return true;
    }
    bool open(const JsonSlot& slot, unsigned depth, bool, std::uint32_t&) {
        return add(pretty_prefix_length(slot, depth) + 1);
    }
    bool close(std::uint32_t, unsigned depth, bool, std::uint32_t members) {
        return add(pretty_close_length(depth, members));
    }

    std::size_t length() const { return length_; }
    std::size_t probed() const { return probed_; }  // input offset where the probe stopped, else 0
    bool too_large() const { return too_large_; }

private:
    std::size_t probe_end_;
    std::size_t probed_ = 0;
    std::size_t length_ = 0;
    bool too_large_ = false;

    bool add(std::size_t n) {
        length_ += n;
        if (length_ > json_pretty_limit) {
            too_large_ = true;
            return false;
        }
        return true;
    }
};

// The pretty form checks every write against the 24 MiB limit before making it.
class PrettyDriver {
public:
    PrettyDriver(std::string_view text, std::string& out, std::size_t capacity)
        : text_(text.data()), text_end_(text.data() + text.size()), out_(out), capacity_(capacity) {
        out_.reserve(capacity_ + slack);
    }

    bool scalar(const JsonSlot& slot, unsigned depth, std::size_t begin, std::size_t end, std::uint32_t&) {
        std::size_t n = end - begin;
        if (!reserve(pretty_prefix_length(slot, depth) + n)) return false;
        char* w = write_prefix(slot, depth);
        copy_bytes(w, text_ + begin, n, text_end_);
        length_ += n;
        return true;
    }
    bool open(const JsonSlot& slot, unsigned depth, bool object, std::uint32_t&) {
        if (!reserve(pretty_prefix_length(slot, depth) + 1)) return false;
        char* w = write_prefix(slot, depth);
        *w = object ? '{' : '[';
        ++length_;
        return true;
    }
    bool close(std::uint32_t, unsigned depth, bool object, std::uint32_t members) {
        char bracket = object ? '}' : ']';
        if (!reserve(pretty_close_length(depth, members))) return false;
        if (members == 0) {
            out_[length_++] = bracket;
            return true;
        }
        std::size_t indent = 2 * std::size_t{depth};
        char* w = out_.data() + length_;
        *w++ = '\n';
        copy_bytes(w, spaces.bytes, indent, spaces.bytes + sizeof spaces.bytes);
        w[indent] = bracket;
        length_ += indent + 2;
        return true;
    }

    bool too_large() const { return too_large_; }
    std::size_t length() const { return length_; }

private:
    const char* text_;
    const char* text_end_;
    std::string& out_;
    std::size_t capacity_;
    std::size_t length_ = 0;
    bool too_large_ = false;

    // Makes room for n more bytes, or refuses when the output would pass the
    // limit. The common case, room already usable, stays inline.
    bool reserve(std::size_t n) {
        if (length_ + n + slack <= out_.size()) return true;
        return grow(length_ + n);
    }

    // Growth doubles, but stops at the limit when that is enough. The reserved
    // room is only touched a step ahead of the writes, so memory in use
    // follows the output, not the capacity.
    [[gnu::noinline]] bool grow(std::size_t need) {
        if (need > json_pretty_limit) {
            too_large_ = true;
            return false;
        }
        if (need > capacity_) {
            capacity_ = std::min(std::max(need, 2 * capacity_), json_pretty_limit);
            out_.reserve(capacity_ + slack);
        }
        out_.resize(std::min(capacity_, need + touch_step) + slack);
        return true;
    }

    char* write_prefix(const JsonSlot& slot, unsigned depth) {
        char* w = out_.data() + length_;
        char* start = w;
        if (slot.place != JsonPlace::top) {
            if (slot.follows_sibling) *w++ = ',';
            *w++ = '\n';
            std::size_t indent = 2 * std::size_t{depth};
            copy_bytes(w, spaces.bytes, indent, spaces.bytes + sizeof spaces.bytes);
            w += indent;
            if (slot.place == JsonPlace::member) {
                std::size_t k = slot.key_end - slot.key_start;
                copy_bytes(w, text_ + slot.key_start, k, text_end_);
                w += k;
                *w++ = ':';
                *w++ = ' ';
            }
        }
        length_ += static_cast<std::size_t>(w - start);
        return w;
    }
};

std::variant<std::string, JsonError> compact(std::string_view text) {
    std::string out;
    out.resize(text.size() + slack);
    CompactDriver driver(text, out.data());
    JsonScanner<CompactDriver> scanner(text, driver);
    if (!scanner.scan_document()) {
        const JsonScanFailure& f = scanner.failure();
        return make_json_error(text, f.offset, f.message);
    }
    out.resize(driver.length());
    return out;
}

// The output buffer starts at the input's size. For a document that the
// pretty form expands (compact input), a counting pass first finds the exact
// size, so the buffer is never copied while it grows and the memory in use
// stays at input plus output. A probe over the document's start tells which
// kind it is, so indented documents are not scanned twice.
constexpr std::size_t pretty_probe_bytes = 64 * 1024;

// Why a scan with the pretty form's counter or writer stopped.
template <class Driver>
JsonError pretty_failure(std::string_view text, const JsonScanner<Driver>& scanner, const Driver& driver) {
    if (driver.too_large()) return plain_json_error(json_messages::pretty_too_large);
    const JsonScanFailure& f = scanner.failure();
    return make_json_error(text, f.offset, f.message);
}

std::variant<std::string, JsonError> pretty(std::string_view text) {
    std::size_t capacity = std::min(text.size(), json_pretty_limit);
    if (text.size() > pretty_probe_bytes) {
        PrettyCounter probe(pretty_probe_bytes);
        JsonScanner<PrettyCounter> probe_scan(text, probe);
        bool whole = probe_scan.scan_document();
        if (whole) {
            capacity = probe.length();
        } else if (probe.probed() == 0) {
            return pretty_failure(text, probe_scan, probe);
        } else if (probe.length() > probe.probed()) {
            PrettyCounter counter(SIZE_MAX);
            JsonScanner<PrettyCounter> count_scan(text, counter);
            if (!count_scan.scan_document()) return pretty_failure(text, count_scan, counter);
            capacity = counter.length();
        }
    }
    std::string out;
    PrettyDriver driver(text, out, capacity);
    JsonScanner<PrettyDriver> scanner(text, driver);
    if (!scanner.scan_document()) return pretty_failure(text, scanner, driver);
    out.resize(driver.length());
    return out;
}

}  // namespace

std::variant<std::string, JsonError> format_json(std::string_view text, JsonMode mode) {
    switch (mode) {
    case JsonMode::format:
        return pretty(text);
    case JsonMode::compact:
        return compact(text);
    case JsonMode::escape:
        return escape_json_text(text);
    case JsonMode::unescape:
        return unescape_json_literal(text);
    }
    return plain_json_error(json_messages::unescape_failed);
}
