#pragma once

// The strict JSON scanner shared by the formatting and tree drivers. It walks
// the text once, recursively, and hands every token to a driver; it never
// decodes strings or converts numbers. Both drivers see the same grammar, the
// same nesting limit and the same (message, offset) for the first problem.
//
// A driver provides:
//   bool scalar(const JsonSlot&, unsigned depth, std::size_t begin, std::size_t end, std::uint32_t& node);
//   bool open(const JsonSlot&, unsigned depth, bool object, std::uint32_t& node);
//   bool close(std::uint32_t node, unsigned depth, bool object, std::uint32_t members);
// and returns false from any of them to stop the scan for a reason of its own
// (the pretty form's size limit).

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

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
    std::uint32_t parent = 0;     // tree driver: the container's node
    std::uint32_t previous = 0;   // tree driver: the preceding sibling's node
};

struct JsonScanFailure {
    const char* message = nullptr;  // one of json_messages::scanner_all, or null when the driver stopped
    std::size_t offset = 0;
};

namespace json_detail {

inline bool is_digit(unsigned char c) { return static_cast<unsigned char>(c - '0') < 10; }
inline bool is_space(unsigned char c) { return c == ' ' || c == '\n' || c == '\r' || c == '\t'; }
inline std::uint64_t load8(const unsigned char* p) {
    std::uint64_t v;
    std::memcpy(&v, p, 8);
    return v;
}
// Eight ASCII digits: every high nibble is 3 and adding 6 to each low nibble
// does not carry into it.
inline bool all_digits(std::uint64_t v) {
    return (v & 0xF0F0F0F0F0F0F0F0ull) == 0x3030303030303030ull &&
           ((v + 0x0606060606060606ull) & 0xF0F0F0F0F0F0F0F0ull) == 0x3030303030303030ull;
}
inline bool is_hex(unsigned char c) {
    return is_digit(c) || static_cast<unsigned char>((c | 0x20) - 'a') < 6;
}

}  // namespace json_detail

template <class Driver>
class JsonScanner {
public:
    JsonScanner(std::string_view text, Driver& driver)
        : base_(reinterpret_cast<const unsigned char*>(text.data())),
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

    void skip_space() {
        while (p_ != end_ && json_detail::is_space(*p_)) {
            // Indentation after a line break comes in long runs of spaces.
            if (*p_ == '\n') {
                ++p_;
                while (end_ - p_ >= 8 && json_detail::load8(p_) == 0x2020202020202020ull) p_ += 8;
                continue;
            }
            ++p_;
        }
    }

    void skip_digits() {
        while (end_ - p_ >= 8 && json_detail::all_digits(json_detail::load8(p_))) p_ += 8;
        while (p_ != end_ && json_detail::is_digit(*p_)) ++p_;
    }

    bool scan_value(const JsonSlot& slot, unsigned depth, std::uint32_t& node) {
        if (p_ != end_ && *p_ <= 0x20) skip_space();
        if (p_ == end_) return fail(json_messages::end_expect_value, p_);
        const unsigned char* start = p_;
        switch (*p_) {
        case '"':
            if (!scan_string()) return false;
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
            return fail(json_messages::expect_value, p_);
        }
        if (!driver_.scalar(slot, depth, offset(start), offset(p_), node)) return stopped();
        return true;
    }

    // From the opening quote to one past the closing quote; escapes are
    // validated, never decoded.
    bool scan_string() {
        ++p_;
        for (;;) {
#if defined(__SSE2__)
            const __m128i quote = _mm_set1_epi8('"');
            const __m128i backslash = _mm_set1_epi8('\\');
            const __m128i control_max = _mm_set1_epi8(0x1F);
            while (end_ - p_ >= 16) {
                __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p_));
                __m128i special = _mm_or_si128(
                    _mm_or_si128(_mm_cmpeq_epi8(v, quote), _mm_cmpeq_epi8(v, backslash)),
                    _mm_cmpeq_epi8(_mm_max_epu8(v, control_max), control_max));
                unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(special));
                if (mask != 0) {
                    p_ += __builtin_ctz(mask);
                    goto special_byte;
                }
                p_ += 16;
            }
#endif
            while (p_ != end_ && *p_ != '"' && *p_ != '\\' && *p_ >= 0x20) ++p_;
            if (p_ == end_) return fail(json_messages::unterminated_string, p_);
#if defined(__SSE2__)
        special_byte:
#endif
            if (*p_ == '"') {
                ++p_;
                return true;
            }
            if (*p_ < 0x20) return fail(json_messages::control_in_string, p_);
            ++p_;  // the backslash
            if (p_ == end_) return fail(json_messages::bad_escape, p_);
            switch (*p_) {
            case '"': case '\\': case '/': case 'b': case 'f': case 'n': case 'r': case 't':
                ++p_;
                break;
            case 'u':
                ++p_;
                for (int i = 0; i < 4; ++i, ++p_) {
                    if (p_ == end_ || !json_detail::is_hex(*p_)) return fail(json_messages::unicode_escape, p_);
                }
                break;
            default:
                return fail(json_messages::bad_escape, p_);
            }
        }
    }

    // The token is the raw text; no range check, no conversion.
    bool scan_number() {
        using json_detail::is_digit;
        if (*p_ == '-') {
            ++p_;
            if (p_ == end_ || !is_digit(*p_)) return fail(json_messages::expect_digit, p_);
        }
        if (*p_ == '0') {
            ++p_;
            if (p_ != end_ && is_digit(*p_)) return fail(json_messages::leading_zero, p_);
        } else {
            skip_digits();
        }
        if (p_ != end_ && *p_ == '.') {
            ++p_;
            if (p_ == end_ || !is_digit(*p_)) return fail(json_messages::fraction_digit, p_);
            skip_digits();
        }
        if (p_ != end_ && (*p_ | 0x20) == 'e') {
            ++p_;
            if (p_ != end_ && (*p_ == '+' || *p_ == '-')) ++p_;
            if (p_ == end_ || !is_digit(*p_)) return fail(json_messages::exponent_digit, p_);
            skip_digits();
        }
        return true;
    }

    bool scan_literal(const char* word, std::size_t length) {
        if (static_cast<std::size_t>(end_ - p_) >= length && std::memcmp(p_, word, length) == 0) {
            p_ += length;
            return true;
        }
        for (std::size_t i = 1; i < length; ++i) {
            if (p_ + i == end_) return fail(json_messages::bad_literal, end_);
            if (p_[i] != static_cast<unsigned char>(word[i])) return fail(json_messages::bad_literal, p_ + i);
        }
        return fail(json_messages::bad_literal, p_);  // unreachable: the word matched
    }

    template <bool Object>
    bool scan_container(const JsonSlot& slot, unsigned depth, std::uint32_t& node) {
        constexpr unsigned char closing = Object ? '}' : ']';
        const char* wrong_separator = Object ? json_messages::comma_or_brace : json_messages::comma_or_bracket;
        if (depth == json_max_depth) return fail(json_messages::too_deep, p_);
        if (!driver_.open(slot, depth, Object, node)) return stopped();
        ++p_;
        skip_space();
        if (p_ != end_ && *p_ == closing) {
            ++p_;
            return driver_.close(node, depth, Object, 0) || stopped();
        }
        JsonSlot child;
        child.place = Object ? JsonPlace::member : JsonPlace::element;
        child.parent = node;
        std::uint32_t members = 0;
        for (;;) {
            if constexpr (Object) {
                if (p_ == end_ || *p_ != '"') return fail(json_messages::key_quote, p_);
                child.key_start = offset(p_);
                if (!scan_string()) return false;
                child.key_end = offset(p_);
                skip_space();
                if (p_ == end_ || *p_ != ':') return fail(json_messages::key_colon, p_);
                ++p_;
            } else {
                child.index = members;
            }
            std::uint32_t child_node = 0;
            if (!scan_value(child, depth + 1, child_node)) return false;
            ++members;
            skip_space();
            if (p_ == end_) return fail(wrong_separator, p_);
            if (*p_ == ',') {
                ++p_;
                skip_space();
                child.follows_sibling = true;
                child.previous = child_node;
                continue;
            }
            if (*p_ != closing) return fail(wrong_separator, p_);
            ++p_;
            break;
        }
        return driver_.close(node, depth, Object, members) || stopped();
    }
};
