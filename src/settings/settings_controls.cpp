#include "settings/settings_controls.h"

#include <algorithm>

#include "ui/page_layout.h"

int settings_right_edge(int page_width) { return std::min(page_width - page_left_margin, 720); }

int settings_tool_width(int page_width) { return std::min((settings_right_edge(page_width) - 40) / 2, 200); }

LogicalRect settings_rect(SettingsSlot slot, int page_width) {
    const int a = settings_right_edge(page_width);
    const int m = settings_tool_width(page_width);
    const int left = page_left_margin;
    const int second_column = m + 40;
    switch (slot) {
        case SettingsSlot::Title: return {left, page_title_top, a - left, page_title_height(settings_page)};
        case SettingsSlot::Tab0: return {28, 80, 110, 33};
        case SettingsSlot::Tab1: return {147, 80, 110, 33};
        case SettingsSlot::Tab2: return {266, 80, 110, 33};

        case SettingsSlot::SchemeHeading: return {left, 151, a - 308, 24};
        case SettingsSlot::SchemeList: return {a - 262, 148, 154, 194};
        case SettingsSlot::PickColor: return {a - 96, 148, 96, 34};
        case SettingsSlot::BallHeading: return {left, 216, a - 280, 26};
        case SettingsSlot::BallHint: return {left, 252, a - 28, 22};
        case SettingsSlot::BallToggle: return {a - 96, 214, 96, 34};
        case SettingsSlot::Collapse: return {a - 240, 214, 132, 34};
        case SettingsSlot::DockHeading: return {left, 301, a - 140, 26};
        case SettingsSlot::DockHint: return {left, 337, a - 28, 22};
        case SettingsSlot::DockToggle: return {a - 96, 299, 96, 34};
        case SettingsSlot::LoginHeading: return {left, 386, a - 140, 26};
        case SettingsSlot::LoginHint: return {left, 422, a - 28, 22};
        case SettingsSlot::LoginToggle: return {a - 96, 384, 96, 34};

        case SettingsSlot::ToolsHeading: return {left, 148, a - 140, 27};
        case SettingsSlot::ToolsHint: return {left, 184, a - 28, 24};
        case SettingsSlot::Tool0: return {left, 224, m, 38};
        case SettingsSlot::Tool1: return {second_column, 224, m, 38};
        case SettingsSlot::Tool2: return {left, 272, m, 38};
        case SettingsSlot::Tool3: return {second_column, 272, m, 38};
        case SettingsSlot::Tool4: return {left, 320, m, 38};

        case SettingsSlot::VersionHeading: return {left, 148, a - 240, 28};
        case SettingsSlot::VersionHint: return {left, 186, a - 28, 22};
        case SettingsSlot::CheckNow: return {a - 110, 148, 110, 34};
        case SettingsSlot::AutoCheckHeading: return {left, 238, a - 240, 28};
        case SettingsSlot::AutoCheckHint: return {left, 276, a - 28, 22};
        case SettingsSlot::AutoCheckToggle: return {a - 110, 238, 110, 34};
        case SettingsSlot::FeedbackHeading: return {left, 328, a - 240, 28};
        case SettingsSlot::FeedbackHint: return {left, 366, a - 28, 22};
        case SettingsSlot::Feedback: return {a - 110, 328, 110, 34};
        case SettingsSlot::Guide: return {a - 220, 328, 100, 34};
    }
    return {};
}
