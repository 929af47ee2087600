#pragma once

// The strict JSON scanner shared by the formatting and tree drivers. It walks
// the text once, recursively, and hands every token to a driver; it never
// decodes strings or converts numbers. Both drivers see the same grammar, the
// same nesting limit and the same (message, offset) for the first problem.
//
// A driver provides:
//   bool scalar(const JsonSlot&, unsigned depth, std::size_t begin, std::size_t end, std::uint32_t& node);
//   bool open(const JsonSlot&, unsigned depth, bool object, std::uint32_t& node);
//   bool close(std::uint32_t node, unsigned depth, bool object, std::uint32_t members, std::uint32_t last_child);
// and returns false from any of them to stop the scan for a reason of its own
// (the pretty form's size limit).

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "json/json_messages.h"

inline constexpr unsigned json_max_depth = 256;

enum class JsonPlace : std::uint8_t { top, element, member };

// Where the value being scanned sits.
struct JsonSlot {
    JsonPlace place = JsonPlace::top;
    bool follows_sibling = false;
    std::uint32_t index = 0;      // array element: position in the array
    std::size_t key_start = 0;    // object member: offset of the key's opening quote
    std::size_t key_end = 0;      // ... and one past its closing quote
};

struct JsonScanFailure {
    const char* message = nullptr;  // one of json_messages::scanner_all, or null when the driver stopped
    std::size_t offset = 0;
};

// How the scanner reads runs of string bytes and digits past their first
// sixteen bytes: eight at a time in a 64-bit word, or sixteen in an SSE2 register (every x64
// processor has SSE2). Tests and benchmarks force one to check or time it.
enum class JsonScanPath : std::uint8_t { word, sse2 };

#if defined(__SSE2__)
inline constexpr JsonScanPath json_widest_scan_path = JsonScanPath::sse2;
#else
inline constexpr JsonScanPath json_widest_scan_path = JsonScanPath::word;
#endif

inline std::atomic<JsonScanPath> json_scan_path{json_widest_scan_path};

namespace json_detail {

inline bool is_digit(unsigned char c) { return static_cast<unsigned char>(c - '0') < 10; }
inline bool is_hex(unsigned char c) {
    return is_digit(c) || static_cast<unsigned char>((c | 0x20) - 'a') < 6;
}

inline std::uint64_t load8(const unsigned char* p) {
    std::uint64_t v;
    std::memcpy(&v, p, 8);
    return v;
}

constexpr std::uint64_t ones = 0x0101010101010101ull;
constexpr std::uint64_t highs = 0x8080808080808080ull;

// The high bit of every byte of x that is not zero (exact for every byte: no
// carry crosses a byte).
inline std::uint64_t nonzero_bytes(std::uint64_t x) {
    return (x | ((x & ~highs) + ~highs)) & highs;
}

// Index of the first byte (in memory order) whose high bit is set in mask.
inline unsigned first_marked(std::uint64_t mask) { return static_cast<unsigned>(__builtin_ctzll(mask)) / 8; }

// Bytes that end a run of plain string bytes: quote, backslash, control.
// Only the first marked byte is exact, which is the only one used.
inline std::uint64_t string_stops(std::uint64_t v) {
    std::uint64_t quote = v ^ (ones * '"');
    std::uint64_t backslash = v ^ (ones * '\\');
    std::uint64_t stops = ((quote - ones) & ~quote) | ((backslash - ones) & ~backslash) | ((v - ones * 0x20) & ~v);
    return stops & highs;
}

// Bytes that are not ASCII digits: the high nibble is not 3, or adding 6 to
// the low nibble carries into it. A carry out of a byte only comes from one
// that is not a digit, so every byte up to the first marked one is exact.
inline std::uint64_t non_digits(std::uint64_t v) {
    std::uint64_t high = (v & (ones * 0xF0)) ^ (ones * 0x30);
    std::uint64_t over = ((v + ones * 0x06) & (ones * 0xF0)) ^ (ones * 0x30);
    return nonzero_bytes(high | over);
}

// The runs the scanner skips. Each tells which bytes end it: in a 64-bit word
// (high bit of each such byte), in 16 bytes with SSE2 (one bit per byte), and
// one byte at a time (the NUL after the text ends every run).
struct Digits {
    static std::uint64_t stops8(std::uint64_t v) { return non_digits(v); }
    static bool continues(unsigned char c) { return is_digit(c); }
#if defined(__SSE2__)
    // Digits are the bytes that, moved down by '0' and across the sign,
    // compare below the ten smallest signed values.
    static unsigned stops16(__m128i v) {
        __m128i moved = _mm_add_epi8(v, _mm_set1_epi8(static_cast<char>(0x80 - '0')));
        __m128i digit = _mm_cmplt_epi8(moved, _mm_set1_epi8(static_cast<char>(-128 + 10)));
        return static_cast<unsigned>(_mm_movemask_epi8(digit)) ^ 0xFFFFu;
    }
#endif
};

inline constexpr auto plain_string_byte = [] {
    std::array<bool, 256> plain{};
    for (unsigned c = 0x20; c < 256; ++c) plain[c] = c != '"' && c != '\\';
    return plain;
}();

// Plain string bytes: all but quote, backslash and control bytes.
struct StringBytes {
    static std::uint64_t stops8(std::uint64_t v) { return string_stops(v); }
    static bool continues(unsigned char c) { return plain_string_byte[c]; }
#if defined(__SSE2__)
    // Flipping bit 1 keeps the control bytes below 0x20 and takes the quote
    // (0x22) to 0x20, while no other byte lands at 0x20 or below.
    static unsigned stops16(__m128i v) {
        const __m128i space = _mm_set1_epi8(0x20);
        __m128i flipped = _mm_xor_si128(v, _mm_set1_epi8(0x02));
        __m128i special = _mm_or_si128(_mm_cmpeq_epi8(_mm_max_epu8(flipped, space), space),
                                       _mm_cmpeq_epi8(v, _mm_set1_epi8('\\')));
        return static_cast<unsigned>(_mm_movemask_epi8(special));
    }
#endif
};

}  // namespace json_detail

// The text must be followed by a NUL byte (a std::string always is): every
// loop over a run of bytes stops on it as on any other byte that ends the
// run, and only then asks whether it was the end of the text.
template <class Driver, JsonScanPath Path>
class JsonScanner {
public:
    JsonScanner(const std::string& text, Driver& driver)
        : base_(reinterpret_cast<const unsigned char*>(text.c_str())),
          p_(base_),
          end_(base_ + text.size()),
          driver_(driver) {}

    // Scans the whole text: an optional byte-order mark, one value, white space.
    bool scan_document() {
        if (end_ - p_ >= 3 && p_[0] == 0xEF && p_[1] == 0xBB && p_[2] == 0xBF) p_ += 3;
        JsonSlot top;
        std::uint32_t node = 0;
        if (!scan_value(top, 0, node)) return false;
        skip_space();
        if (p_ != end_) return fail(json_messages::trailing, p_);
        return true;
    }

    const JsonScanFailure& failure() const { return failure_; }

private:
    const unsigned char* base_;
    const unsigned char* p_;
    const unsigned char* end_;
    Driver& driver_;
    JsonScanFailure failure_;

    bool fail(const char* message, const unsigned char* at) {
        failure_.message = message;
        failure_.offset = static_cast<std::size_t>(at - base_);
        return false;
    }
    bool stopped() {
        failure_.message = nullptr;
        failure_.offset = static_cast<std::size_t>(p_ - base_);
        return false;
    }
    std::size_t offset(const unsigned char* at) const { return static_cast<std::size_t>(at - base_); }

    // To the first byte that is not white space.
    void skip_space() {
        for (;;) {
            unsigned char c = *p_;
            if (c > ' ') return;
            if (c == '\n') {
                ++p_;
                skip_indentation();
            } else if (c == ' ' || c == '\r' || c == '\t') {
                ++p_;
            } else {
                return;
            }
        }
    }

    // To the first byte that ends the run: a short prefix one branch per
    // byte, then whole blocks while a block remains before the end, then byte
    // by byte.
    //
    // Each of the first sixteen bytes has a branch of its own: the predictor
    // learns the lengths of recurring short runs (keys, indentation, digits),
    // so the next token does not wait on a length computed from a mask. With
    // SSE2 the branches test the bits of one mask of the sixteen bytes; the
    // word path tests the bytes, whose stop byte (at the latest the NUL) ends
    // the prefix before the text does.
    template <class Run>
    [[gnu::always_inline]] void skip_run() {
        constexpr unsigned prefix = 16;
#if defined(__SSE2__)
        if constexpr (Path == JsonScanPath::sse2) {
            if (end_ - p_ >= 16) [[likely]] {
                unsigned stops = Run::stops16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p_)));
#pragma GCC unroll 16
                for (unsigned i = 0; i < prefix; ++i) {
                    if (stops & (1u << i)) {
                        p_ += i;
                        return;
                    }
                }
                p_ += prefix;
                skip_blocks<Run>();
                return;
            }
        }
#endif
#pragma GCC unroll 16
        for (unsigned i = 0; i < prefix; ++i) {
            if (!Run::continues(p_[i])) {
                p_ += i;
                return;
            }
        }
        p_ += prefix;
        skip_blocks<Run>();
    }

    [[gnu::always_inline]] void skip_fraction() {
#if defined(__SSE2__)
        if constexpr (Path == JsonScanPath::sse2) {
            if (end_ - p_ >= 16) [[likely]] {
                unsigned stops = json_detail::Digits::stops16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p_)));
                if (stops != 0) {
                    p_ += __builtin_ctz(stops);
                    return;
                }
                p_ += 16;
                skip_blocks<json_detail::Digits>();
                return;
            }
        }
#endif
        skip_run<json_detail::Digits>();
    }

    template <class Run>
    void skip_blocks() {
#if defined(__SSE2__)
        if constexpr (Path == JsonScanPath::sse2) {
            while (end_ - p_ >= 16) {
                unsigned stops = Run::stops16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p_)));
                if (stops != 0) {
                    p_ += __builtin_ctz(stops);
                    return;
                }
                p_ += 16;
            }
        }
#endif
        while (end_ - p_ >= 8) {
            std::uint64_t stops = Run::stops8(json_detail::load8(p_));
            if (stops != 0) {
                p_ += json_detail::first_marked(stops);
                return;
            }
            p_ += 8;
        }
        while (Run::continues(*p_)) ++p_;
    }

    // The run of spaces that follows a line break in indented text: whole
    // words of spaces, then single ones, each step a branch of its own, as
    // indented text repeats a few depths, which the predictor learns.
    void skip_indentation() {
        while (end_ - p_ >= 8 && json_detail::load8(p_) == json_detail::ones * ' ') p_ += 8;
        // The next eight bytes hold one that is not a space: in the word that
        // stopped the loop, or the NUL after the text.
#pragma GCC unroll 7
        for (unsigned i = 0; i < 7; ++i) {
            if (p_[i] != ' ') {
                p_ += i;
                return;
            }
        }
        p_ += 7;
    }

    void skip_digits() { skip_run<json_detail::Digits>(); }

    // Inlined into the container loop; only containers recurse. Strings are
    // scanned in line among an object's members, where most of them are.
    template <bool InObject = false>
    [[gnu::always_inline]] bool scan_value(const JsonSlot& slot, unsigned depth, std::uint32_t& node) {
        if (*p_ <= ' ') {
            // One space, as after a colon or comma in indented text, then the value.
            if (*p_ == ' ' && p_[1] > ' ')
                ++p_;
            else
                skip_space();
        }
        const unsigned char* start = p_;
        switch (*p_) {
        case '"':
            if (!(InObject ? scan_string() : scan_string_call())) return false;
            break;
        case '-': case '0': case '1': case '2': case '3': case '4':
        case '5': case '6': case '7': case '8': case '9':
            if (!scan_number()) return false;
            break;
        case 't':
            if (!scan_literal("true", 4)) return false;
            break;
        case 'f':
            if (!scan_literal("false", 5)) return false;
            break;
        case 'n':
            if (!scan_literal("null", 4)) return false;
            break;
        case '[':
            return scan_container<false>(slot, depth, node);
        case '{':
            return scan_container<true>(slot, depth, node);
        default:
            return fail(p_ == end_ ? json_messages::end_expect_value : json_messages::expect_value, p_);
        }
        if (!driver_.scalar(slot, depth, offset(start), offset(p_), node)) return stopped();
        return true;
    }

    // From the opening quote to one past the closing quote; escapes are
    // validated, never decoded.
    [[gnu::noinline]] bool scan_string_call() { return scan_string(); }

    [[gnu::always_inline]] bool scan_string() {
        ++p_;
        for (;;) {
            skip_run<json_detail::StringBytes>();
            if (*p_ == '"') {
                ++p_;
                return true;
            }
            if (*p_ < 0x20)
                return fail(p_ == end_ ? json_messages::unterminated_string : json_messages::control_in_string, p_);
            ++p_;  // the backslash
            switch (*p_) {
            case '"': case '\\': case '/': case 'b': case 'f': case 'n': case 'r': case 't':
                ++p_;
                break;
            case 'u':
                ++p_;
                for (int i = 0; i < 4; ++i, ++p_) {
                    if (!json_detail::is_hex(*p_)) return fail(json_messages::unicode_escape, p_);
                }
                break;
            default:
                return fail(json_messages::bad_escape, p_);
            }
        }
    }

    // The token is the raw text; no range check, no conversion.
    [[gnu::always_inline]] bool scan_number() {
        using json_detail::is_digit;
        if (*p_ == '-') {
            ++p_;
            if (!is_digit(*p_)) return fail(json_messages::expect_digit, p_);
        }
        if (*p_ == '0') {
            ++p_;
            if (is_digit(*p_)) return fail(json_messages::leading_zero, p_);
        } else {
            skip_digits();
        }
        if (*p_ == '.') {
            ++p_;
            if (!is_digit(*p_)) return fail(json_messages::fraction_digit, p_);
            // In line, and measured from a mask: coordinates and measurements
            // are mostly long fractions of lengths no predictor learns.
            skip_fraction();
        }
        if ((*p_ | 0x20) == 'e') {
            ++p_;
            if (*p_ == '+' || *p_ == '-') ++p_;
            if (!is_digit(*p_)) return fail(json_messages::exponent_digit, p_);
            skip_digits();
        }
        return true;
    }

    bool scan_literal(const char* word, std::size_t length) {
        // The last four bytes in one comparison when the text holds them.
        if (end_ - p_ >= static_cast<std::ptrdiff_t>(length)) {
            std::uint32_t want;
            std::uint32_t have;
            std::memcpy(&want, word + length - 4, 4);
            std::memcpy(&have, p_ + length - 4, 4);
            if (want == have) {
                p_ += length;
                return true;
            }
        }
        // The first byte matched; a mismatch (the NUL after the text is one)
        // stops the comparison and is where the error is.
        for (std::size_t i = 1; i < length; ++i) {
            if (p_[i] != static_cast<unsigned char>(word[i]))
                return fail(json_messages::bad_literal, p_ + i);
        }
        p_ += length;
        return true;
    }

    template <bool Object>
    [[gnu::noinline]] bool scan_container(const JsonSlot& slot, unsigned depth, std::uint32_t& node) {
        constexpr unsigned char closing = Object ? '}' : ']';
        const char* wrong_separator = Object ? json_messages::comma_or_brace : json_messages::comma_or_bracket;
        if (depth == json_max_depth) return fail(json_messages::too_deep, p_);
        if (!driver_.open(slot, depth, Object, node)) return stopped();
        ++p_;
        if (*p_ <= ' ') skip_space();
        if (*p_ == closing) {
            ++p_;
            return driver_.close(node, depth, Object, 0, 0) || stopped();
        }
        JsonSlot child;
        child.place = Object ? JsonPlace::member : JsonPlace::element;
        std::uint32_t members = 0;
        std::uint32_t child_node = 0;
        for (;;) {
            if constexpr (Object) {
                if (*p_ != '"') return fail(json_messages::key_quote, p_);
                child.key_start = offset(p_);
                if (!scan_string()) return false;
                child.key_end = offset(p_);
                if (*p_ != ':') {
                    skip_space();
                    if (*p_ != ':') return fail(json_messages::key_colon, p_);
                }
                ++p_;
            } else {
                child.index = members;
            }
            if (!scan_value<Object>(child, depth + 1, child_node)) return false;
            ++members;
            if (*p_ <= ' ') skip_space();
            if (*p_ == ',') {
                ++p_;
                if (*p_ <= ' ') {
                    // Indented text: a line break and the next line's indentation.
                    if (*p_ == '\n') {
                        ++p_;
                        skip_indentation();
                    }
                    if (*p_ <= ' ') skip_space();
                }
                child.follows_sibling = true;
                continue;
            }
            if (*p_ != closing) return fail(wrong_separator, p_);
            ++p_;
            break;
        }
        return driver_.close(node, depth, Object, members, child_node) || stopped();
    }
};

// One scan of text with the driver on the path chosen for the process.
template <class Driver>
bool scan_json(const std::string& text, Driver& driver, JsonScanFailure& failure) {
#if defined(__SSE2__)
    if (json_scan_path.load(std::memory_order_relaxed) == JsonScanPath::sse2) {
        JsonScanner<Driver, JsonScanPath::sse2> scanner(text, driver);
        if (scanner.scan_document()) return true;
        failure = scanner.failure();
        return false;
    }
#endif
    JsonScanner<Driver, JsonScanPath::word> scanner(text, driver);
    if (scanner.scan_document()) return true;
    failure = scanner.failure();
    return false;
}
