#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "json/json_error.h"
#include "json/json_format.h"
#include "json/json_scanner.h"
#include "json/json_tree.h"

// The three ways the page scans a text: pretty, compact and the tree. Each
// gives either its output or an error; the tests compare them.
struct ScanOutcomes {
    std::variant<std::string, JsonError> pretty;
    std::variant<std::string, JsonError> compact;
    std::variant<JsonTree, JsonError> tree;
};

inline ScanOutcomes scan_all_ways(const std::string& text) {
    return {format_json(text, JsonMode::format), format_json(text, JsonMode::compact),
            build_json_tree(text)};
}

template <class T>
const JsonError* error_of(const std::variant<T, JsonError>& r) {
    return std::get_if<JsonError>(&r);
}

inline std::string output_of(const std::variant<std::string, JsonError>& r) {
    if (auto* e = std::get_if<JsonError>(&r)) return "<error: " + e->message + ">";
    return std::get<std::string>(r);
}

inline bool same_error(const JsonError& a, const JsonError& b) {
    return a.positioned == b.positioned && a.line == b.line && a.column_utf16 == b.column_utf16 &&
           a.length_utf16 == b.length_utf16 && a.message == b.message && a.context == b.context;
}

inline std::string repeat(std::string_view piece, std::size_t times) {
    std::string out;
    for (std::size_t i = 0; i < times; ++i) out += piece;
    return out;
}

// "message（第 L 行，第 C 列）" as the page shows it.
inline std::string positioned_message(std::string_view message, int line, int column) {
    return std::string(message) + "（第 " + std::to_string(line) + " 行，第 " + std::to_string(column) + " 列）";
}

// Suites that check the scanner run once per way of reading runs of bytes
// (JSON_SCAN_SUITE(Name) before their TEST_P(Name, ...) cases).
class ScanPathTest : public ::testing::TestWithParam<JsonScanPath> {
protected:
    void SetUp() override { json_scan_path = GetParam(); }
    void TearDown() override { json_scan_path = json_widest_scan_path; }
};

inline std::string scan_path_name(const ::testing::TestParamInfo<JsonScanPath>& info) {
    return info.param == JsonScanPath::word ? "Word" : "Sse2";
}

#define JSON_SCAN_SUITE(name)                                                                                   \
    class name : public ScanPathTest {};                                                                        \
    INSTANTIATE_TEST_SUITE_P(Paths, name, ::testing::Values(JsonScanPath::word, JsonScanPath::sse2), scan_path_name)
