// The scanner, both formatting forms and the tree over arbitrary bytes: the
// three drivers must agree, failures must be fixed messages at real places,
// and successful output must be stable under re-formatting.
#include <cstdint>
#include <string>

#include "fuzz_check.h"
#include "json/json_format.h"
#include "json/json_literal.h"
#include "json/json_messages.h"
#include "json/json_scanner.h"
#include "json/json_tree.h"

namespace {

bool same(const JsonError& a, const JsonError& b) {
    return a.positioned == b.positioned && a.message == b.message && a.context == b.context && a.line == b.line &&
           a.column_utf16 == b.column_utf16 && a.length_utf16 == b.length_utf16;
}

struct NullDriver {
    bool scalar(const JsonSlot&, unsigned, std::size_t, std::size_t, std::uint32_t&) { return true; }
    bool open(const JsonSlot&, unsigned, bool, std::uint32_t&) { return true; }
    bool close(std::uint32_t, unsigned, bool, std::uint32_t, std::uint32_t) { return true; }
};

bool is_scanner_message(const char* m) {
    for (const char* known : json_messages::scanner_all)
        if (m == known) return true;
    return false;
}

std::string ok(const std::variant<std::string, JsonError>& r) {
    FUZZ_CHECK(std::holds_alternative<std::string>(r));
    return std::get<std::string>(r);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    // The forms below read runs of bytes one way for odd sizes, the other for even.
    json_scan_path = size % 2 == 1 ? JsonScanPath::word : JsonScanPath::sse2;
    auto pretty = format_json(text, JsonMode::format);
    auto compact = format_json(text, JsonMode::compact);
    auto tree = build_json_tree(text);

    const JsonError* pe = std::get_if<JsonError>(&pretty);
    const JsonError* ce = std::get_if<JsonError>(&compact);
    const JsonError* te = std::get_if<JsonError>(&tree);
    FUZZ_CHECK((pe == nullptr) == (ce == nullptr));
    FUZZ_CHECK((pe == nullptr) == (te == nullptr));
    // Both ways of reading runs of bytes agree on every input.
    NullDriver null_driver;
    JsonScanner<NullDriver, JsonScanPath::word> bare(text, null_driver);
    bool accepted = bare.scan_document();
    FUZZ_CHECK(accepted == (pe == nullptr));
    JsonScanner<NullDriver, JsonScanPath::sse2> wide(text, null_driver);
    FUZZ_CHECK(wide.scan_document() == accepted);
    FUZZ_CHECK(wide.failure().message == bare.failure().message && wide.failure().offset == bare.failure().offset);
    if (pe) {
        // The raw failure: a fixed message at a place inside the text.
        const JsonScanFailure& f = bare.failure();
        FUZZ_CHECK(f.message != nullptr && is_scanner_message(f.message) && f.offset <= text.size());
        FUZZ_CHECK(same(*pe, make_json_error(text, f.offset, f.message)));
        FUZZ_CHECK(same(*pe, *ce) && same(*pe, *te));
        FUZZ_CHECK(error_is_one_of(text, *pe, json_messages::scanner_all, std::size(json_messages::scanner_all)));
    } else {
        const std::string& p = std::get<std::string>(pretty);
        const std::string& c = std::get<std::string>(compact);
        FUZZ_CHECK(c.size() <= text.size());
        FUZZ_CHECK(ok(format_json(p, JsonMode::compact)) == c);
        FUZZ_CHECK(ok(format_json(p, JsonMode::format)) == p);
        FUZZ_CHECK(ok(format_json(c, JsonMode::format)) == p);
        FUZZ_CHECK(ok(format_json(c, JsonMode::compact)) == c);
        const JsonTree& t = std::get<JsonTree>(tree);
        FUZZ_CHECK(t.text == text && !t.nodes.empty());
        for (const JsonNode& n : t.nodes) {
            FUZZ_CHECK(n.first_child < t.nodes.size() && n.next_sibling < t.nodes.size());
            if (n.kind == static_cast<std::uint32_t>(JsonNodeKind::scalar)) FUZZ_CHECK(n.a < n.b && n.b <= text.size());
        }
    }

    // Large documents take other buffer paths in the pretty form (a probe, a
    // counting pass, growth); every eighth input is also tried inside one.
    if (size % 8 == 0) {
        std::string big = "[" + std::string(35000, '0');
        for (std::size_t i = 1; i < big.size(); i += 2) big[i] = ',';
        big += text;
        big += "]";
        auto big_pretty = format_json(big, JsonMode::format);
        auto big_compact = format_json(big, JsonMode::compact);
        const JsonError* bpe = std::get_if<JsonError>(&big_pretty);
        const JsonError* bce = std::get_if<JsonError>(&big_compact);
        FUZZ_CHECK((bpe == nullptr) == (bce == nullptr));
        if (bpe) {
            FUZZ_CHECK(same(*bpe, *bce));
        } else {
            FUZZ_CHECK(ok(format_json(std::get<std::string>(big_pretty), JsonMode::compact)) ==
                       std::get<std::string>(big_compact));
            FUZZ_CHECK(ok(format_json(std::get<std::string>(big_compact), JsonMode::format)) ==
                       std::get<std::string>(big_pretty));
        }
    }

    // Escape never fails, and what it writes unescapes back to the text.
    std::string literal = ok(format_json(text, JsonMode::escape));
    if (is_valid_utf8(text)) FUZZ_CHECK(ok(format_json(literal, JsonMode::unescape)) == text);
    return 0;
}
