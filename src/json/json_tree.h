#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "json/json_error.h"

enum class JsonNodeKind : std::uint32_t { object = 0, array = 1, scalar = 2 };

// One value of the flat tree table: 28 bytes, seven 32-bit fields in this order.
struct JsonNode {
    std::uint32_t kind;          // JsonNodeKind
    std::uint32_t a;             // container: member count; scalar: first byte
    std::uint32_t b;             // container: 0; scalar: one past the last byte
    std::uint32_t key_or_index;  // member: key's opening quote; element: index; top: 0
    std::uint32_t key_end;       // member: one past the key's closing quote; otherwise 0
    std::uint32_t first_child;   // 0: none (node 0 is the top level, never a child)
    std::uint32_t next_sibling;  // 0: none

    friend bool operator==(const JsonNode&, const JsonNode&) = default;
};
static_assert(sizeof(JsonNode) == 28);

// Leaves a node added without a value unfilled instead of zeroing it: the
// tree is built by appending empty nodes and writing every field at once.
template <class T>
struct UnfilledAllocator : std::allocator<T> {
    template <class U>
    struct rebind {
        using other = UnfilledAllocator<U>;
    };
    UnfilledAllocator() = default;
    template <class U>
    UnfilledAllocator(const UnfilledAllocator<U>&) noexcept {}
    template <class U, class... Args>
    void construct(U* at, Args&&... args) {
        if constexpr (sizeof...(Args) == 0)
            ::new (static_cast<void*>(at)) U;
        else
            ::new (static_cast<void*>(at)) U(std::forward<Args>(args)...);
    }
};

using JsonNodes = std::vector<JsonNode, UnfilledAllocator<JsonNode>>;

// Nodes are in document order: a container before its children.
struct JsonTree {
    std::string text;  // byte for byte, byte-order mark included
    JsonNodes nodes;
};

std::variant<JsonTree, JsonError> build_json_tree(std::string text);
