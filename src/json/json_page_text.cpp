#include "json/json_page_text.h"

#include "ui/white_space.h"

bool is_blank_input(std::string_view text) { return trim_unicode_white_space(text).empty(); }

std::string history_header(std::size_t entries) { return "最近记录 · " + std::to_string(entries); }

std::string tree_status(std::size_t nodes) { return "树视图 · " + std::to_string(nodes) + " 个节点"; }
