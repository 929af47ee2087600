#include <gtest/gtest.h>

#include <string>

#include "ui/page_layout.h"

namespace {

TEST(PageLayout, TitleHeights) {
    EXPECT_EQ(page_title_height(json_page), 38);
    for (int index = 1; index < page_count; ++index) EXPECT_EQ(page_title_height(index), 39) << index;
}

TEST(PageLayout, ContentWidthOfFullWidthPages) {
    for (int index : {json_page, uuid_page, id_number_page}) {
        EXPECT_EQ(page_content_width(index, 908), 852) << index;
        EXPECT_EQ(page_content_width(index, 2000), 1944) << index;
    }
}

TEST(PageLayout, ContentWidthCaps) {
    EXPECT_EQ(page_content_width(timestamp_page, 908), 852);
    EXPECT_EQ(page_content_width(timestamp_page, 936), 880);
    EXPECT_EQ(page_content_width(timestamp_page, 937), 880);
    EXPECT_EQ(page_content_width(timestamp_page, 2000), 880);
    EXPECT_EQ(page_content_width(time_diff_page, 816), 760);
    EXPECT_EQ(page_content_width(time_diff_page, 815), 759);
    EXPECT_EQ(page_content_width(time_diff_page, 2000), 760);
}

TEST(PageLayout, SettingsRightEdge) {
    // The right edge stays at min(width - 28, 720).
    EXPECT_EQ(28 + page_content_width(settings_page, 600), 572);
    EXPECT_EQ(28 + page_content_width(settings_page, 748), 720);
    EXPECT_EQ(28 + page_content_width(settings_page, 908), 720);
}

TEST(PageLayout, NarrowPagesGiveNonPositiveWidths) {
    // place_control turns a width below 1 into 0.
    EXPECT_EQ(page_content_width(uuid_page, 56), 0);
    EXPECT_LT(page_content_width(timestamp_page, 10), 1);
    EXPECT_LT(page_content_width(settings_page, 40), 1);
}

TEST(PageLayout, PageIndices) {
    EXPECT_FALSE(is_page_index(-1));
    EXPECT_TRUE(is_page_index(0));
    EXPECT_TRUE(is_page_index(settings_page));
    EXPECT_FALSE(is_page_index(6));
    EXPECT_EQ(std::string(page_titles[settings_page]), "设置");
    EXPECT_EQ(std::string(page_titles[json_page]), "JSON 格式美化");
}

}  // namespace
