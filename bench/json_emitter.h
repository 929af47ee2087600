// Rng and Emitter: the deterministic random source and the JSON writer the
// generated stand-in documents are built with (generated_documents.cpp).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace bench {

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

}  // namespace bench
