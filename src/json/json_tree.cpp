#include "json/json_tree.h"

#include <algorithm>

#include "json/json_scanner.h"

namespace {

class TreeDriver {
public:
    explicit TreeDriver(JsonNodes& nodes) : nodes_(nodes) {}

    [[gnu::always_inline]] bool scalar(const JsonSlot& slot, unsigned, std::size_t begin, std::size_t end,
                                       std::uint32_t& node) {
        node = append(slot, JsonNodeKind::scalar, static_cast<std::uint32_t>(begin), static_cast<std::uint32_t>(end));
        return true;
    }
    [[gnu::always_inline]] bool open(const JsonSlot& slot, unsigned, bool object, std::uint32_t& node) {
        node = append(slot, object ? JsonNodeKind::object : JsonNodeKind::array, 0, 0);
        return true;
    }
    bool close(std::uint32_t node, unsigned, bool, std::uint32_t members) {
        nodes_[node].a = members;
        return true;
    }

private:
    JsonNodes& nodes_;
    std::uint32_t count_ = 0;  // nodes_.size(), without the division it costs

    [[gnu::always_inline]] std::uint32_t append(const JsonSlot& slot, JsonNodeKind kind, std::uint32_t a, std::uint32_t b) {
        std::uint32_t index = count_++;
        std::uint32_t key_or_index = 0;
        std::uint32_t key_end = 0;
        if (slot.place == JsonPlace::member) {
            key_or_index = static_cast<std::uint32_t>(slot.key_start);
            key_end = static_cast<std::uint32_t>(slot.key_end);
        } else if (slot.place == JsonPlace::element) {
            key_or_index = slot.index;
        }
        // Filled in place, never zeroed first: building the node aside and
        // copying it stalls on the overlapping moves of a 28-byte record.
        JsonNode& n = nodes_.emplace_back();
        n.kind = static_cast<std::uint32_t>(kind);
        n.a = a;
        n.b = b;
        n.key_or_index = key_or_index;
        n.key_end = key_end;
        n.first_child = 0;
        n.next_sibling = 0;
        if (slot.place != JsonPlace::top) {
            JsonNode* base = nodes_.data();
            if (slot.follows_sibling)
                base[slot.previous].next_sibling = index;
            else
                base[slot.parent].first_child = index;
        }
        return index;
    }
};

// Nodes per input byte in the document's first part, to size the table once.
struct NodeCounter {
    std::size_t probe_end;
    std::size_t nodes = 0;
    std::size_t probed = 0;

    bool scalar(const JsonSlot&, unsigned, std::size_t, std::size_t end, std::uint32_t&) {
        ++nodes;
        if (end < probe_end) return true;
        probed = end;
        return false;
    }
    bool open(const JsonSlot&, unsigned, bool, std::uint32_t&) {
        ++nodes;
        return true;
    }
    bool close(std::uint32_t, unsigned, bool, std::uint32_t) { return true; }
};

constexpr std::size_t tree_probe_bytes = 16 * 1024;

// Room for the node table. Under 1 MiB a node per 8 bytes, more than most
// documents need, costs less than a probe; larger documents are measured by
// the probe's density with a margin, at least one node per 12 bytes (what
// number-heavy documents need). A document denser further on grows the table
// once or twice.
std::size_t node_estimate(const std::string& text) {
    if (text.size() < 1024 * 1024) return text.size() / 8 + 16;
    NodeCounter probe{tree_probe_bytes};
    JsonScanFailure failure;
    bool whole = scan_json(text, probe, failure);
    if (whole || probe.probed == 0) return probe.nodes + 1;
    double per_byte = static_cast<double>(probe.nodes) / static_cast<double>(probe.probed);
    auto estimate = static_cast<std::size_t>(per_byte * 1.125 * static_cast<double>(text.size()));
    return std::max(estimate, text.size() / 12) + 16;
}

}  // namespace

std::variant<JsonTree, JsonError> build_json_tree(std::string text) {
    // Node offsets are 32-bit.
    if (static_cast<std::uint64_t>(text.size()) >= (std::uint64_t{1} << 32))
        return plain_json_error(json_messages::tree_too_large);

    JsonTree tree;
    tree.nodes.reserve(node_estimate(text));
    TreeDriver driver(tree.nodes);
    JsonScanFailure failure;
    if (!scan_json(text, driver, failure)) return make_json_error(text, failure.offset, failure.message);
    tree.text = std::move(text);
    return tree;
}
