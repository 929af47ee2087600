#include "json/caret_mapping.h"

#include <optional>

#include "json/utf8.h"

namespace {

struct WalkChar {
    std::uint32_t position_after;
    bool significant;
};

// Walks a text character by character in edit-control positions, telling the
// JSON tokens (significant) from the white space a reformat may change.
class TextWalk {
public:
    TextWalk(std::string_view text, bool rich) : text_(text), break_units_(rich ? 1 : 2) {}

    std::optional<WalkChar> next() {
        for (;;) {
            if (at_ >= text_.size()) return std::nullopt;
            char c = text_[at_];
            if (c == '\n' && at_ > 0 && text_[at_ - 1] == '\r') {
                ++at_;  // the second half of a CR LF pair: neither counted nor judged
                continue;
            }
            std::size_t n = utf8_char_length(text_.substr(at_));
            if (n == 0) n = 1;
            bool first = at_ == 0;
            std::string_view ch = text_.substr(at_, n);
            at_ += n;
            position_ += c == '\r' || c == '\n' ? break_units_ : (n == 4 ? 2 : 1);
            return WalkChar{position_, judge(ch, first)};
        }
    }

    std::uint32_t position() const { return position_; }

private:
    std::string_view text_;
    std::uint32_t break_units_;
    std::size_t at_ = 0;
    std::uint32_t position_ = 0;
    bool in_string_ = false;
    bool escaped_ = false;

    bool judge(std::string_view ch, bool first) {
        char c = ch[0];
        if (in_string_) {
            if (escaped_)
                escaped_ = false;
            else if (c == '\\')
                escaped_ = true;
            else if (c == '"')
                in_string_ = false;
            return true;
        }
        if (c == '"') {
            in_string_ = true;
            return true;
        }
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f') return false;
        return !(first && ch == "\xEF\xBB\xBF");
    }
};

}  // namespace

bool same_up_to_line_breaks(std::string_view input, std::string_view output) {
    std::size_t i = 0, o = 0;
    while (i < input.size()) {
        char c = input[i];
        if (c == '\r') {
            if (o >= output.size() || output[o] != '\n') return false;
            i += i + 1 < input.size() && input[i + 1] == '\n' ? 2 : 1;
            ++o;
            continue;
        }
        if (o >= output.size() || output[o] != c) return false;
        ++i;
        ++o;
    }
    return o == output.size();
}

SelectionRange map_selection(std::string_view input, std::string_view output, SelectionRange selection,
                             bool rich_positions) {
    TextWalk in(input, rich_positions);
    TextWalk out(output, rich_positions);
    std::optional<WalkChar> held;
    std::uint32_t mapped = 0;
    auto map = [&](std::uint32_t target) {
        for (;;) {
            std::optional<WalkChar> c = held ? held : in.next();
            held.reset();
            if (!c) break;
            if (c->position_after > target) {
                held = c;
                break;
            }
            if (!c->significant) continue;
            while (std::optional<WalkChar> o = out.next()) {
                if (o->significant) {
                    mapped = o->position_after;
                    break;
                }
            }
        }
        return mapped;
    };
    std::uint32_t start = map(selection.start);
    std::uint32_t end = map(selection.end);
    return {start, end};
}
