#include <gtest/gtest.h>

#include <set>
#include <string>

#include "settings/settings_controls.h"

namespace {

TEST(SettingsControls, IdsAreTheCommandIdsAndUnique) {
    std::set<int> ids;
    for (const SettingsControl& c : settings_controls)
        if (c.id != 0) {
            EXPECT_TRUE(ids.insert(c.id).second) << c.id;
        }
    EXPECT_EQ(ids, (std::set<int>{501, 502, 503, 504, 505, 506, 510, 511, 512, 520, 521, 522, 523, 524, 531, 532, 533,
                                  534}));
}

TEST(SettingsControls, EveryControlBelongsToOneTabOrToAll) {
    int per_tab[3] = {0, 0, 0};
    for (const SettingsControl& c : settings_controls) {
        if (c.tab == every_tab) continue;
        ASSERT_GE(c.tab, 0);
        ASSERT_LT(c.tab, 3);
        ++per_tab[c.tab];
    }
    EXPECT_EQ(per_tab[0], 13);
    EXPECT_EQ(per_tab[1], 7);
    EXPECT_EQ(per_tab[2], 10);
}

struct Row {
    SettingsSlot slot;
    LogicalRect at_720;  // page width 748 and wider: A = 720, M = 200
    LogicalRect at_500;  // page width 528: A = 500, M = 200
    LogicalRect at_400;  // page width 428: A = 400, M = 180
};

// A = min(width - 28, 720); M = min((A - 40) / 2, 200).
const Row rows[] = {
    {SettingsSlot::Title, {28, 24, 692, 39}, {28, 24, 472, 39}, {28, 24, 372, 39}},
    {SettingsSlot::Tab0, {28, 80, 110, 33}, {28, 80, 110, 33}, {28, 80, 110, 33}},
    {SettingsSlot::Tab1, {147, 80, 110, 33}, {147, 80, 110, 33}, {147, 80, 110, 33}},
    {SettingsSlot::Tab2, {266, 80, 110, 33}, {266, 80, 110, 33}, {266, 80, 110, 33}},
    {SettingsSlot::SchemeHeading, {28, 151, 412, 24}, {28, 151, 192, 24}, {28, 151, 92, 24}},
    {SettingsSlot::SchemeList, {458, 148, 154, 194}, {238, 148, 154, 194}, {138, 148, 154, 194}},
    {SettingsSlot::PickColor, {624, 148, 96, 34}, {404, 148, 96, 34}, {304, 148, 96, 34}},
    {SettingsSlot::BallHeading, {28, 216, 440, 26}, {28, 216, 220, 26}, {28, 216, 120, 26}},
    {SettingsSlot::BallHint, {28, 252, 692, 22}, {28, 252, 472, 22}, {28, 252, 372, 22}},
    {SettingsSlot::BallToggle, {624, 214, 96, 34}, {404, 214, 96, 34}, {304, 214, 96, 34}},
    {SettingsSlot::Collapse, {480, 214, 132, 34}, {260, 214, 132, 34}, {160, 214, 132, 34}},
    {SettingsSlot::DockHeading, {28, 301, 580, 26}, {28, 301, 360, 26}, {28, 301, 260, 26}},
    {SettingsSlot::DockHint, {28, 337, 692, 22}, {28, 337, 472, 22}, {28, 337, 372, 22}},
    {SettingsSlot::DockToggle, {624, 299, 96, 34}, {404, 299, 96, 34}, {304, 299, 96, 34}},
    {SettingsSlot::LoginHeading, {28, 386, 580, 26}, {28, 386, 360, 26}, {28, 386, 260, 26}},
    {SettingsSlot::LoginHint, {28, 422, 692, 22}, {28, 422, 472, 22}, {28, 422, 372, 22}},
    {SettingsSlot::LoginToggle, {624, 384, 96, 34}, {404, 384, 96, 34}, {304, 384, 96, 34}},
    {SettingsSlot::ToolsHeading, {28, 148, 580, 27}, {28, 148, 360, 27}, {28, 148, 260, 27}},
    {SettingsSlot::ToolsHint, {28, 184, 692, 24}, {28, 184, 472, 24}, {28, 184, 372, 24}},
    {SettingsSlot::Tool0, {28, 224, 200, 38}, {28, 224, 200, 38}, {28, 224, 180, 38}},
    {SettingsSlot::Tool1, {240, 224, 200, 38}, {240, 224, 200, 38}, {220, 224, 180, 38}},
    {SettingsSlot::Tool2, {28, 272, 200, 38}, {28, 272, 200, 38}, {28, 272, 180, 38}},
    {SettingsSlot::Tool3, {240, 272, 200, 38}, {240, 272, 200, 38}, {220, 272, 180, 38}},
    {SettingsSlot::Tool4, {28, 320, 200, 38}, {28, 320, 200, 38}, {28, 320, 180, 38}},
    {SettingsSlot::VersionHeading, {28, 148, 480, 28}, {28, 148, 260, 28}, {28, 148, 160, 28}},
    {SettingsSlot::VersionHint, {28, 186, 692, 22}, {28, 186, 472, 22}, {28, 186, 372, 22}},
    {SettingsSlot::CheckNow, {610, 148, 110, 34}, {390, 148, 110, 34}, {290, 148, 110, 34}},
    {SettingsSlot::AutoCheckHeading, {28, 238, 480, 28}, {28, 238, 260, 28}, {28, 238, 160, 28}},
    {SettingsSlot::AutoCheckHint, {28, 276, 692, 22}, {28, 276, 472, 22}, {28, 276, 372, 22}},
    {SettingsSlot::AutoCheckToggle, {610, 238, 110, 34}, {390, 238, 110, 34}, {290, 238, 110, 34}},
    {SettingsSlot::FeedbackHeading, {28, 328, 480, 28}, {28, 328, 260, 28}, {28, 328, 160, 28}},
    {SettingsSlot::FeedbackHint, {28, 366, 692, 22}, {28, 366, 472, 22}, {28, 366, 372, 22}},
    {SettingsSlot::Feedback, {610, 328, 110, 34}, {390, 328, 110, 34}, {290, 328, 110, 34}},
    {SettingsSlot::Guide, {500, 328, 100, 34}, {280, 328, 100, 34}, {180, 328, 100, 34}},
};

void expect_rect(const LogicalRect& got, const LogicalRect& want, const std::string& where) {
    EXPECT_EQ(got.x, want.x) << where;
    EXPECT_EQ(got.y, want.y) << where;
    EXPECT_EQ(got.width, want.width) << where;
    EXPECT_EQ(got.height, want.height) << where;
}

TEST(SettingsLayout, EveryControlAtThreeWidths) {
    static_assert(std::size(rows) == settings_slot_count);
    for (const Row& row : rows) {
        const std::string name = "slot " + std::to_string(slot_index(row.slot));
        expect_rect(settings_rect(row.slot, 748), row.at_720, name + " at 748");
        expect_rect(settings_rect(row.slot, 1400), row.at_720, name + " at 1400");
        expect_rect(settings_rect(row.slot, 528), row.at_500, name + " at 528");
        expect_rect(settings_rect(row.slot, 428), row.at_400, name + " at 428");
    }
}

TEST(SettingsLayout, RightEdgeAndToolColumns) {
    struct Case {
        int width, a, m;
    } const cases[] = {
        {2000, 720, 200}, {748, 720, 200}, {747, 719, 200}, {468, 440, 200}, {467, 439, 199},
        {428, 400, 180},  {69, 41, 0},     {68, 40, 0},     {28, 0, -20},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(settings_right_edge(c.width), c.a) << c.width;
        EXPECT_EQ(settings_tool_width(c.width), c.m) << c.width;
    }
}

}  // namespace
