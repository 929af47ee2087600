#include "json/json_tree_label.h"

#include "json/utf8.h"

namespace {

// The bytes of [from, to) that lie inside the text.
std::string_view span(std::string_view text, std::uint32_t from, std::uint32_t to) {
    const std::size_t end = to < text.size() ? to : text.size();
    const std::size_t start = from < end ? from : end;
    return text.substr(start, end - start);
}

void append_container(std::string& out, const JsonNode& node) {
    const bool object = node.kind == static_cast<std::uint32_t>(JsonNodeKind::object);
    if (node.a == 0) {
        out += object ? "{}" : "[]";
        return;
    }
    out += object ? "{…} " : "[…] ";
    out += std::to_string(node.a);
    out += " 项";
}

}  // namespace

std::string shorten(std::string_view text) {
    // Only the first 89 characters are looked at: a token of megabytes costs
    // no more than a short one.
    std::size_t end = 0;
    for (std::size_t count = 0; count < json_label_part_limit; ++count) {
        if (end == text.size()) return std::string(text);
        const std::size_t n = utf8_char_length(text.substr(end));
        end += n == 0 ? 1 : n;
    }
    if (end == text.size()) return std::string(text);
    std::string out(text.substr(0, end));
    out += "…";
    return out;
}

std::string json_node_label(const JsonTree& tree, std::uint32_t index) {
    if (index >= tree.nodes.size()) return {};
    const JsonNode& node = tree.nodes[index];
    const std::string_view text = tree.text;
    std::string label;
    if (node.key_end != 0) {
        label = shorten(span(text, node.key_or_index, node.key_end));
        label += ": ";
    } else if (index != 0) {
        label = "[" + std::to_string(node.key_or_index) + "]: ";
    }
    if (node.kind == static_cast<std::uint32_t>(JsonNodeKind::scalar))
        label += shorten(span(text, node.a, node.b));
    else
        append_container(label, node);
    return label;
}
