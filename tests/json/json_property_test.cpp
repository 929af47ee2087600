// Properties over many generated documents: the forms agree with each other,
// re-formatting changes nothing, and any mutation is either accepted by all
// three drivers or rejected by all three with the same error.
#include <gtest/gtest.h>

#include <random>

#include "json_test_support.h"

namespace {

class DocumentMaker {
public:
    explicit DocumentMaker(unsigned seed) : rng_(seed) {}

    std::string make() {
        out_.clear();
        space();
        value(0);
        space();
        return out_;
    }

private:
    std::mt19937 rng_;
    std::string out_;

    int pick(int n) { return static_cast<int>(rng_() % static_cast<unsigned>(n)); }

    void space() {
        static const char* runs[] = {"", "", "", " ", "\n", "\r\n  ", "\t", "  \n    "};
        out_ += runs[pick(8)];
    }

    void string() {
        static const char* parts[] = {"a", "key", " ", "\\\"", "\\\\", "\\n", "\\u00e9", "\\uD83D\\uDE00",
                                      "\xE4\xB8\xAD", "\xF0\x9F\x98\x80", ",", ":", "[", "}", "/"};
        out_ += '"';
        for (int n = pick(5); n > 0; --n) out_ += parts[pick(15)];
        out_ += '"';
    }

    void value(int depth) {
        static const char* scalars[] = {"0", "-0", "12", "1.50", "-3e+7", "2E-2", "true", "false", "null"};
        int kind = depth > 6 ? pick(2) : pick(4);
        if (kind == 0) {
            out_ += scalars[pick(9)];
        } else if (kind == 1) {
            string();
        } else {
            bool object = kind == 2;
            out_ += object ? '{' : '[';
            int members = pick(5);
            for (int i = 0; i < members; ++i) {
                if (i > 0) out_ += ',';
                space();
                if (object) {
                    string();
                    space();
                    out_ += ':';
                    space();
                }
                value(depth + 1);
                space();
            }
            if (members == 0) space();
            out_ += object ? '}' : ']';
        }
    }
};

std::string must(const std::variant<std::string, JsonError>& r) {
    if (auto* e = std::get_if<JsonError>(&r)) ADD_FAILURE() << e->message;
    return output_of(r);
}

JSON_SCAN_SUITE(JsonProperties);

TEST_P(JsonProperties, FormsAgreeOnValidDocuments) {
    DocumentMaker maker(20261209);
    for (int i = 0; i < 2000; ++i) {
        std::string doc = maker.make();
        SCOPED_TRACE(doc);
        std::string pretty = must(format_json(doc, JsonMode::format));
        std::string compact = must(format_json(doc, JsonMode::compact));
        EXPECT_EQ(must(format_json(pretty, JsonMode::compact)), compact);
        EXPECT_EQ(must(format_json(pretty, JsonMode::format)), pretty);
        EXPECT_EQ(must(format_json(compact, JsonMode::format)), pretty);
        EXPECT_EQ(must(format_json(compact, JsonMode::compact)), compact);
        EXPECT_LE(compact.size(), doc.size());
        auto tree = build_json_tree(doc);
        ASSERT_EQ(error_of(tree), nullptr);
        // The compact and pretty forms index to the same shape.
        auto compact_tree = build_json_tree(compact);
        ASSERT_EQ(error_of(compact_tree), nullptr);
        const auto& a = std::get<JsonTree>(tree).nodes;
        const auto& b = std::get<JsonTree>(compact_tree).nodes;
        ASSERT_EQ(a.size(), b.size());
        for (std::size_t n = 0; n < a.size(); ++n) {
            EXPECT_EQ(a[n].kind, b[n].kind);
            EXPECT_EQ(a[n].first_child, b[n].first_child);
            EXPECT_EQ(a[n].next_sibling, b[n].next_sibling);
            if (a[n].kind == static_cast<std::uint32_t>(JsonNodeKind::scalar)) {
                EXPECT_EQ(doc.substr(a[n].a, a[n].b - a[n].a), compact.substr(b[n].a, b[n].b - b[n].a));
            }
        }
    }
}

TEST_P(JsonProperties, MutationsAreJudgedAlikeByAllDrivers) {
    DocumentMaker maker(7);
    std::mt19937 rng(11);
    const char bytes[] = {'"', '\\', ',', ':', '[', ']', '{', '}', ' ', '\n', '0', '-', 'e', '.', 't', 'x', '\x01', '\xC3'};
    for (int i = 0; i < 3000; ++i) {
        std::string doc = maker.make();
        if (doc.empty()) continue;
        std::size_t at = rng() % doc.size();
        switch (rng() % 3) {
        case 0: doc[at] = bytes[rng() % sizeof bytes]; break;
        case 1: doc.erase(at, 1); break;
        default: doc.insert(doc.begin() + static_cast<std::ptrdiff_t>(at), bytes[rng() % sizeof bytes]); break;
        }
        SCOPED_TRACE(doc);
        ScanOutcomes r = scan_all_ways(doc);
        const JsonError* p = error_of(r.pretty);
        const JsonError* c = error_of(r.compact);
        const JsonError* t = error_of(r.tree);
        ASSERT_EQ(p == nullptr, c == nullptr);
        ASSERT_EQ(p == nullptr, t == nullptr);
        if (p) {
            EXPECT_TRUE(same_error(*p, *c));
            EXPECT_TRUE(same_error(*p, *t));
        }
    }
}

}  // namespace
