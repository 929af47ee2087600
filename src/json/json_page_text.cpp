#include "json/json_page_text.h"

#include <algorithm>

#include "ui/white_space.h"

bool is_blank_input(std::u16string_view units) {
    // Every white-space character lies in the Basic Multilingual Plane, so a
    // surrogate, paired or not, is never one.
    return std::all_of(units.begin(), units.end(), [](char16_t u) { return is_unicode_white_space(u); });
}

std::string history_header(std::size_t entries) { return "最近记录 · " + std::to_string(entries); }

std::string tree_status(std::size_t nodes) { return "树视图 · " + std::to_string(nodes) + " 个节点"; }
