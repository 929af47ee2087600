#include "json/json_tree.h"

#include <algorithm>

#include "json/json_scanner.h"

namespace {

// Writes each node once, when it is appended. A node's next sibling is taken
// to be the node that follows its subtree, which holds for every node but
// the last of a container: that one is put right when the container closes,
// so no earlier node is touched per value. A container's first child, when
// it has any, is the node after it.
class TreeDriver {
public:
    TreeDriver(JsonNodes& nodes, std::size_t estimate) : nodes_(nodes) {
        // Unfilled: the allocator leaves the appended nodes as they are.
        nodes_.resize(std::max<std::size_t>(estimate, 1));
        base_ = nodes_.data();
        room_ = nodes_.size();
    }

    [[gnu::always_inline]] bool scalar(const JsonSlot& slot, unsigned, std::size_t begin, std::size_t end,
                                       std::uint32_t& node) {
        node = append(slot, JsonNodeKind::scalar, static_cast<std::uint32_t>(begin), static_cast<std::uint32_t>(end));
        return true;
    }
    [[gnu::always_inline]] bool open(const JsonSlot& slot, unsigned, bool object, std::uint32_t& node) {
        node = append(slot, object ? JsonNodeKind::object : JsonNodeKind::array, 0, 0);
        return true;
    }
    bool close(std::uint32_t node, unsigned, bool, std::uint32_t members, std::uint32_t last_child) {
        JsonNode& n = base_[node];
        n.a = members;
        n.next_sibling = static_cast<std::uint32_t>(count_);
        if (members != 0) {
            n.first_child = node + 1;
            base_[last_child].next_sibling = 0;
        }
        return true;
    }

    // The table holds exactly the nodes appended, and the top level has no sibling.
    void finish() {
        nodes_.resize(count_);
        if (count_ != 0) nodes_[0].next_sibling = 0;
    }

private:
    JsonNodes& nodes_;
    // Not 32-bit, so the node fields written in between cannot alias them and
    // they stay in registers.
    JsonNode* base_ = nullptr;
    std::size_t count_ = 0;
    std::size_t room_ = 0;

    [[gnu::noinline]] void grow() {
        nodes_.resize(room_ * 2);
        base_ = nodes_.data();
        room_ = nodes_.size();
    }

    [[gnu::always_inline]] std::uint32_t append(const JsonSlot& slot, JsonNodeKind kind, std::uint32_t a, std::uint32_t b) {
        if (count_ == room_) [[unlikely]]
            grow();
        auto index = static_cast<std::uint32_t>(count_++);
        std::uint32_t key_or_index = 0;
        std::uint32_t key_end = 0;
        if (slot.place == JsonPlace::member) {
            key_or_index = static_cast<std::uint32_t>(slot.key_start);
            key_end = static_cast<std::uint32_t>(slot.key_end);
        } else if (slot.place == JsonPlace::element) {
            key_or_index = slot.index;
        }
        // Filled in place: building the node aside and copying it stalls on
        // the overlapping moves of a 28-byte record.
        JsonNode& n = base_[index];
        n.kind = static_cast<std::uint32_t>(kind);
        n.a = a;
        n.b = b;
        n.key_or_index = key_or_index;
        n.key_end = key_end;
        n.first_child = 0;
        n.next_sibling = index + 1;
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
    bool close(std::uint32_t, unsigned, bool, std::uint32_t, std::uint32_t) { return true; }
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
    TreeDriver driver(tree.nodes, node_estimate(text));
    JsonScanFailure failure;
    if (!scan_json(text, driver, failure)) return make_json_error(text, failure.offset, failure.message);
    driver.finish();
    tree.text = std::move(text);
    return tree;
}
