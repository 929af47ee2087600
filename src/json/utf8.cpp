#include "json/utf8.h"

namespace {

// How many bytes a prefix of bytes forms toward a well-formed character, and
// whether that prefix is complete.
struct Prefix {
    std::size_t length;
    bool complete;
};

Prefix well_formed_prefix(std::string_view bytes) {
    auto at = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    unsigned char lead = at(0);
    if (lead < 0x80) return {1, true};
    std::size_t need = 0;
    unsigned char lo = 0x80, hi = 0xBF;  // allowed range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        need = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        need = 3;
        if (lead == 0xE0) lo = 0xA0;
        if (lead == 0xED) hi = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        need = 4;
        if (lead == 0xF0) lo = 0x90;
        if (lead == 0xF4) hi = 0x8F;
    } else {
        return {1, false};
    }
    std::size_t n = 1;
    while (n < need && n < bytes.size()) {
        unsigned char c = at(n);
        bool ok = n == 1 ? (c >= lo && c <= hi) : (c >= 0x80 && c <= 0xBF);
        if (!ok) break;
        ++n;
    }
    return {n, n == need};
}

}  // namespace

std::size_t utf8_char_length(std::string_view bytes) {
    if (bytes.empty()) return 0;
    Prefix p = well_formed_prefix(bytes);
    return p.complete ? p.length : 0;
}

bool is_valid_utf8(std::string_view bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        if (static_cast<unsigned char>(bytes[i]) < 0x80) {
            ++i;
            continue;
        }
        std::size_t n = utf8_char_length(bytes.substr(i));
        if (n == 0) return false;
        i += n;
    }
    return true;
}

void append_utf8_lossy(std::string& out, std::string_view bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        Prefix p = well_formed_prefix(bytes.substr(i));
        if (p.complete)
            out.append(bytes.substr(i, p.length));
        else
            out.append("\xEF\xBF\xBD");
        i += p.length;
    }
}
