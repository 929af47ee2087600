// The flat node table.
#include <gtest/gtest.h>

#include "json_test_support.h"

void PrintTo(const JsonNode& n, std::ostream* os) {
    *os << "{" << n.kind << "," << n.a << "," << n.b << "," << n.key_or_index << "," << n.key_end << ","
        << n.first_child << "," << n.next_sibling << "}";
}

namespace {

using K = JsonNodeKind;

JsonNode node(K kind, std::uint32_t a, std::uint32_t b, std::uint32_t key_or_index, std::uint32_t key_end,
              std::uint32_t first_child, std::uint32_t next_sibling) {
    return {static_cast<std::uint32_t>(kind), a, b, key_or_index, key_end, first_child, next_sibling};
}

struct TreeCase {
    std::string text;
    JsonNodes nodes;
};

const TreeCase tree_cases[] = {
    {"[1,{\"k\":true}]",
     {node(K::array, 2, 0, 0, 0, 1, 0), node(K::scalar, 1, 2, 0, 0, 0, 2), node(K::object, 1, 0, 1, 0, 3, 0),
      node(K::scalar, 8, 12, 4, 7, 0, 0)}},
    {"\"s\"", {node(K::scalar, 0, 3, 0, 0, 0, 0)}},
    {"\xEF\xBB\xBF -1.5e3 ", {node(K::scalar, 4, 10, 0, 0, 0, 0)}},
    {"{\"a\":1,\"a\":2}",
     {node(K::object, 2, 0, 0, 0, 1, 0), node(K::scalar, 5, 6, 1, 4, 0, 2), node(K::scalar, 11, 12, 7, 10, 0, 0)}},
    {"[[],{}]", {node(K::array, 2, 0, 0, 0, 1, 0), node(K::array, 0, 0, 0, 0, 0, 2), node(K::object, 0, 0, 1, 0, 0, 0)}},
    {"[[1,2],3]",
     {node(K::array, 2, 0, 0, 0, 1, 0), node(K::array, 2, 0, 0, 0, 2, 4), node(K::scalar, 2, 3, 0, 0, 0, 3),
      node(K::scalar, 4, 5, 1, 0, 0, 0), node(K::scalar, 7, 8, 1, 0, 0, 0)}},
};

JSON_SCAN_SUITE(JsonTreeTable);

TEST_P(JsonTreeTable, NodeTables) {
    for (const TreeCase& c : tree_cases) {
        SCOPED_TRACE(c.text);
        auto r = build_json_tree(c.text);
        ASSERT_EQ(error_of(r), nullptr);
        const JsonTree& tree = std::get<JsonTree>(r);
        EXPECT_EQ(tree.text, c.text);  // kept byte for byte, mark included
        EXPECT_EQ(tree.nodes, c.nodes);
    }
}

TEST_P(JsonTreeTable, ScalarSpansAndKeySpansPointIntoTheText) {
    const std::string text = "{\"name\":\"\xE4\xB8\xAD\",\"list\":[null,false]}";
    auto r = build_json_tree(text);
    ASSERT_EQ(error_of(r), nullptr);
    const JsonTree& tree = std::get<JsonTree>(r);
    auto span = [&](std::uint32_t a, std::uint32_t b) { return tree.text.substr(a, b - a); };
    ASSERT_EQ(tree.nodes.size(), 5u);
    EXPECT_EQ(span(tree.nodes[1].key_or_index, tree.nodes[1].key_end), "\"name\"");
    EXPECT_EQ(span(tree.nodes[1].a, tree.nodes[1].b), "\"\xE4\xB8\xAD\"");
    EXPECT_EQ(span(tree.nodes[2].key_or_index, tree.nodes[2].key_end), "\"list\"");
    EXPECT_EQ(span(tree.nodes[3].a, tree.nodes[3].b), "null");
    EXPECT_EQ(span(tree.nodes[4].a, tree.nodes[4].b), "false");
    EXPECT_EQ(tree.nodes[4].key_or_index, 1u);
}

TEST(JsonTreeLimit, RefusesTextsOf4GiBAndMore) {
    // Offsets in the table are 32-bit. The refusal comes before any scanning,
    // so the content does not matter.
    auto r = build_json_tree(std::string(std::size_t{1} << 32, ' '));
    ASSERT_NE(error_of(r), nullptr);
    EXPECT_FALSE(error_of(r)->positioned);
    EXPECT_EQ(error_of(r)->message, "文本过大，无法构建树视图");
    EXPECT_EQ(error_of(r)->context, "");
}

}  // namespace

// Documents far denser than the first estimate of the table: a node every
// two bytes, once throughout and once behind a sparse first 16 KiB.
TEST_P(JsonTreeTable, TablesGrowPastTheirEstimateIntact) {
    const std::size_t count = 700'000;
    const std::string dense = [&] {
        std::string t = "[";
        for (std::size_t i = 0; i < count; ++i) t += "0,";
        t.back() = ']';
        return t;
    }();
    const std::string sparse_first = "[\"" + std::string(20'000, 'x') + "\"," + dense.substr(1);
    for (const std::string* text : {&dense, &sparse_first}) {
        auto r = build_json_tree(*text);
        ASSERT_EQ(error_of(r), nullptr);
        const JsonNodes& nodes = std::get<JsonTree>(r).nodes;
        const std::size_t elements = nodes.size() - 1;
        ASSERT_EQ(elements, count + (text == &sparse_first ? 1 : 0));
        EXPECT_EQ(nodes[0].a, elements);
        EXPECT_EQ(nodes[0].first_child, 1u);
        EXPECT_EQ(nodes[0].next_sibling, 0u);
        for (std::size_t n = 1; n <= elements; ++n) {
            ASSERT_EQ(nodes[n].key_or_index, n - 1);
            ASSERT_EQ(nodes[n].next_sibling, n == elements ? 0u : n + 1);
        }
    }
}
