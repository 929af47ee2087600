#include "json/json_tree.h"

#include <algorithm>

#include "json/json_scanner.h"

namespace {

class TreeDriver {
public:
    explicit TreeDriver(std::vector<JsonNode>& nodes) : nodes_(nodes) {}

    bool scalar(const JsonSlot& slot, unsigned, std::size_t begin, std::size_t end, std::uint32_t& node) {
        node = append(slot, JsonNodeKind::scalar, static_cast<std::uint32_t>(begin), static_cast<std::uint32_t>(end));
        return true;
    }
    bool open(const JsonSlot& slot, unsigned, bool object, std::uint32_t& node) {
        node = append(slot, object ? JsonNodeKind::object : JsonNodeKind::array, 0, 0);
        return true;
    }
    bool close(std::uint32_t node, unsigned, bool, std::uint32_t members) {
        nodes_[node].a = members;
        return true;
    }

private:
    std::vector<JsonNode>& nodes_;

    std::uint32_t append(const JsonSlot& slot, JsonNodeKind kind, std::uint32_t a, std::uint32_t b) {
        auto index = static_cast<std::uint32_t>(nodes_.size());
        // Filled in place: building the node aside and copying it stalls on
        // the overlapping moves of a 28-byte record.
        JsonNode& n = nodes_.emplace_back();
        n.kind = static_cast<std::uint32_t>(kind);
        n.a = a;
        n.b = b;
        n.key_or_index = slot.place == JsonPlace::member    ? static_cast<std::uint32_t>(slot.key_start)
                         : slot.place == JsonPlace::element ? slot.index
                                                            : 0;
        n.key_end = slot.place == JsonPlace::member ? static_cast<std::uint32_t>(slot.key_end) : 0;
        n.first_child = 0;
        n.next_sibling = 0;
        if (slot.place != JsonPlace::top) {
            if (slot.follows_sibling)
                nodes_[slot.previous].next_sibling = index;
            else
                nodes_[slot.parent].first_child = index;
        }
        return index;
    }
};

}  // namespace

std::variant<JsonTree, JsonError> build_json_tree(std::string text) {
    // Node offsets are 32-bit.
    if (static_cast<std::uint64_t>(text.size()) >= (std::uint64_t{1} << 32))
        return plain_json_error(json_messages::tree_too_large);

    JsonTree tree;
    // Number-heavy documents need a node per 12 to 14 bytes, others far fewer;
    // this much keeps the table from being copied while it grows in most cases.
    tree.nodes.reserve(std::min<std::size_t>(text.size() / 12, std::size_t{1} << 22) + 1);
    TreeDriver driver(tree.nodes);
    JsonScanner<TreeDriver> scanner(text, driver);
    if (!scanner.scan_document()) {
        const JsonScanFailure& f = scanner.failure();
        return make_json_error(text, f.offset, f.message);
    }
    tree.text = std::move(text);
    return tree;
}
