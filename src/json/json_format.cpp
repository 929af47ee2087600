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
    bool close(std::uint32_t, unsigned, bool object, std::uint32_t, std::uint32_t) {
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
    bool close(std::uint32_t, unsigned depth, bool, std::uint32_t members, std::uint32_t) {
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

// The pretty form writes into a buffer of a size fixed beforehand (from the
// probe below), checking every write against it. Past that room it only
// counts, with the 24 MiB limit checked at the same points as a writer would,
// so a short buffer costs one more pass but never a copy while growing.
class PrettyWriter {
public:
    PrettyWriter(std::string_view text, char* out, std::size_t room)
        : text_(text.data()), text_end_(text.data() + text.size()), out_(out), room_(room) {}

    bool scalar(const JsonSlot& slot, unsigned depth, std::size_t begin, std::size_t end, std::uint32_t&) {
        std::size_t n = end - begin;
        std::size_t need = pretty_prefix_length(slot, depth) + n;
        if (length_ + need > room_) return count(need);
        char* w = write_prefix(slot, depth);
        copy_bytes(w, text_ + begin, n, text_end_);
        length_ += n;
        return true;
    }
    bool open(const JsonSlot& slot, unsigned depth, bool object, std::uint32_t&) {
        std::size_t need = pretty_prefix_length(slot, depth) + 1;
        if (length_ + need > room_) return count(need);
        char* w = write_prefix(slot, depth);
        *w = object ? '{' : '[';
        ++length_;
        return true;
    }
    bool close(std::uint32_t, unsigned depth, bool object, std::uint32_t members, std::uint32_t) {
        char bracket = object ? '}' : ']';
        std::size_t need = pretty_close_length(depth, members);
        if (length_ + need > room_) return count(need);
        char* w = out_ + length_;
        if (members == 0) {
            *w = bracket;
            ++length_;
            return true;
        }
        std::size_t indent = 2 * std::size_t{depth};
        *w++ = '\n';
        copy_bytes(w, spaces.bytes, indent, spaces.bytes + sizeof spaces.bytes);
        w[indent] = bracket;
        length_ += indent + 2;
        return true;
    }

    bool too_large() const { return too_large_; }
    bool overflowed() const { return length_ > room_; }
    std::size_t length() const { return length_; }  // exact once overflowed, too

private:
    const char* text_;
    const char* text_end_;
    char* out_;
    std::size_t room_;  // at most the limit; the buffer holds room_ + slack bytes
    std::size_t length_ = 0;
    bool too_large_ = false;

    // Once past the room every call lands here, since the length only grows.
    [[gnu::noinline]] bool count(std::size_t n) {
        length_ += n;
        if (length_ > json_pretty_limit) {
            too_large_ = true;
            return false;
        }
        return true;
    }

    char* write_prefix(const JsonSlot& slot, unsigned depth) {
        char* w = out_ + length_;
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

// Memory is given back (by a copy) when the compact result leaves at least
// this much, and half its size, unused.
constexpr std::size_t compact_spare_kept = 1024 * 1024;

std::variant<std::string, JsonError> compact(const std::string& text) {
    std::string out;
    bool ok = true;
    JsonScanFailure failure;
    // Written in place: the buffer is never filled with zeros first.
    out.resize_and_overwrite(text.size() + slack, [&](char* p, std::size_t) {
        CompactDriver driver(text, p);
        ok = scan_json(text, driver, failure);
        return ok ? driver.length() : std::size_t{0};
    });
    if (!ok) return make_json_error(text, failure.offset, failure.message);
    std::size_t spare = out.capacity() - out.size();
    if (spare >= compact_spare_kept && spare >= out.size() / 2) out.shrink_to_fit();
    return out;
}

// The buffer is sized from a probe of the document's first 64 KiB: the bytes
// the pretty form writes per input byte there, times the input, with a small
// margin. A document whose rest expands more than its start is written to the
// end of the room, counted from there on, and written once more at its exact
// size; the memory in use stays input plus the larger of the two buffers.
constexpr std::size_t pretty_probe_bytes = 64 * 1024;

// Why a scan with the pretty form's counter or writer stopped.
template <class Driver>
JsonError pretty_failure(std::string_view text, const JsonScanFailure& f, const Driver& driver) {
    if (driver.too_large()) return plain_json_error(json_messages::pretty_too_large);
    return make_json_error(text, f.offset, f.message);
}

struct PrettyPass {
    bool failed = false;
    bool overflowed = false;
    std::size_t length = 0;
    JsonError error;
};

PrettyPass write_pretty(const std::string& text, std::size_t room, std::string& out) {
    PrettyPass pass;
    out.resize_and_overwrite(room + slack, [&](char* p, std::size_t) {
        PrettyWriter writer(text, p, room);
        JsonScanFailure failure;
        if (!scan_json(text, writer, failure)) {
            pass.failed = true;
            pass.error = pretty_failure(text, failure, writer);
        }
        pass.overflowed = writer.overflowed();
        pass.length = writer.length();
        return pass.failed || pass.overflowed ? std::size_t{0} : pass.length;
    });
    return pass;
}

// The room for the pretty form of text: exact when the probe saw the whole
// document or a counting pass was cheaper than a doomed write, else estimated.
std::variant<std::size_t, JsonError> pretty_room(const std::string& text) {
    if (text.size() <= pretty_probe_bytes) return std::min(json_pretty_limit, 3 * text.size() + 1024);
    PrettyCounter probe(pretty_probe_bytes);
    JsonScanFailure failure;
    if (scan_json(text, probe, failure)) return probe.length();
    if (probe.probed() == 0) return pretty_failure(text, failure, probe);
    double per_byte = static_cast<double>(probe.length()) / static_cast<double>(probe.probed());
    double estimate = per_byte * static_cast<double>(text.size());
    // Clearly over the limit: counting finds the refusal (or the exact size)
    // without writing or allocating anything.
    if (estimate > 1.25 * static_cast<double>(json_pretty_limit)) {
        PrettyCounter counter(SIZE_MAX);
        if (!scan_json(text, counter, failure)) return pretty_failure(text, failure, counter);
        return counter.length();
    }
    auto room = static_cast<std::size_t>(estimate);
    room += std::min<std::size_t>(room / 32, 512 * 1024) + 4096;
    return std::min(room, json_pretty_limit);
}

std::variant<std::string, JsonError> pretty(const std::string& text) {
    auto room = pretty_room(text);
    if (auto* e = std::get_if<JsonError>(&room)) return std::move(*e);
    std::string out;
    PrettyPass pass = write_pretty(text, std::get<std::size_t>(room), out);
    if (!pass.failed && pass.overflowed) {
        std::string().swap(out);  // the short buffer goes before the exact one is made
        pass = write_pretty(text, pass.length, out);
    }
    if (pass.failed) return std::move(pass.error);
    return out;
}

}  // namespace

std::variant<std::string, JsonError> format_json(const std::string& text, JsonMode mode) {
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
