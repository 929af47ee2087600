#include "settings/settings_rules.h"

SchemeStep scheme_step(ColorSchemeSetting current, std::uint32_t scheme, Colorref color) {
    if (scheme == current.scheme && color == current.color) return SchemeStep::Unchanged;
    if (!encode_color_scheme(scheme, color)) return SchemeStep::Invalid;
    return SchemeStep::Save;
}

std::string tool_switched_text(int tool, bool listed) {
    if (tool < 0 || tool >= tool_count) return {};
    return std::string(tool_names[tool]) + "已" + (listed ? "显示" : "隐藏") + "。";
}
