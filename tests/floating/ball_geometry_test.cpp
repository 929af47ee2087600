#include "floating/ball_geometry.h"

#include <gtest/gtest.h>

namespace {

const BallSizes at96 = ball_sizes(96);

TEST(BallSizes, TabAndBallAtTwoDpis) {
    EXPECT_EQ(at96.strip_width, 10);
    EXPECT_EQ(at96.strip_height, 46);
    EXPECT_EQ(at96.ball_width, 56);
    EXPECT_EQ(at96.ball_height, 56);
    const BallSizes at144 = ball_sizes(144);
    EXPECT_EQ(at144.strip_width, 15);
    EXPECT_EQ(at144.strip_height, 69);
    EXPECT_EQ(at144.ball_width, 84);
}

TEST(InitialStrip, RightEdge142PixelsAboveTheBottom) {
    struct Case {
        BallRect work;
        int dpi;
        BallRect expected;
    };
    const Case cases[] = {
        {{0, 0, 1920, 1040}, 96, {1910, 898, 1920, 944}},
        // 144 DPI: 34 + 179 = 213 above the bottom.
        {{0, 0, 1920, 1040}, 144, {1905, 827, 1920, 896}},
        {{100, 50, 900, 650}, 96, {890, 508, 900, 554}},
        // A work area too low for the distance: the tab stays at its top.
        {{0, 0, 800, 100}, 96, {790, 0, 800, 46}},
        // Narrower than the tab: at its left edge.
        {{300, 0, 305, 1000}, 96, {300, 858, 310, 904}},
    };
    for (const Case& c : cases) {
        const BallSizes sizes = ball_sizes(c.dpi);
        EXPECT_EQ(initial_strip_rect(c.work, sizes, c.dpi), c.expected) << c.expected.left << "," << c.expected.top;
    }
}

TEST(DockedStrip, NearerEdgeWithTheMiddleCountingAsRight) {
    const BallRect work{0, 0, 1920, 1040};
    struct Case {
        BallPoint p;
        BallSide side;
        BallRect rect;
    };
    const Case cases[] = {
        {{959, 500}, BallSide::Left, {0, 477, 10, 523}},
        {{960, 500}, BallSide::Right, {1910, 477, 1920, 523}},
        {{-300, 10}, BallSide::Left, {0, 0, 10, 46}},             // above the top: pulled down
        {{2500, 2000}, BallSide::Right, {1910, 994, 1920, 1040}}, // below the bottom: pulled up
    };
    for (const Case& c : cases) {
        DockedStrip d = docked_strip(work, c.p, at96);
        EXPECT_EQ(d.side, c.side) << c.p.x;
        EXPECT_EQ(d.rect, c.rect) << c.p.x;
    }
    // A second monitor's work area has its own middle.
    const BallRect second{1920, 0, 3200, 1000};
    EXPECT_EQ(docked_strip(second, {2559, 300}, at96).side, BallSide::Left);
    EXPECT_EQ(docked_strip(second, {2559, 300}, at96).rect, (BallRect{1920, 277, 1930, 323}));
    EXPECT_EQ(docked_strip(second, {2560, 300}, at96).side, BallSide::Right);
}

TEST(FreeBall, PulledInsideTheWorkArea) {
    const BallRect work{0, 0, 1920, 1040};
    EXPECT_EQ(free_ball_rect(work, {500, 500}, at96), (BallRect{472, 472, 528, 528}));
    EXPECT_EQ(free_ball_rect(work, {1915, 1035}, at96), (BallRect{1864, 984, 1920, 1040}));
    EXPECT_EQ(free_ball_rect(work, {5, 3}, at96), (BallRect{0, 0, 56, 56}));
    // A work area smaller than the ball keeps the ball's corner at its own.
    EXPECT_EQ(free_ball_rect({10, 20, 40, 50}, {25, 35}, at96), (BallRect{10, 20, 66, 76}));
}

TEST(DraggedBall, CentredWithoutLimits) {
    EXPECT_EQ(dragged_ball_rect({-5, 3000}, at96), (BallRect{-33, 2972, 23, 3028}));
}

TEST(ShapeCentre, TabInsideThePeekWindowOrTheWindowsCentre) {
    EXPECT_EQ(shape_centre({1859, 890, 1920, 946}, {BallKind::Peek, BallSide::Right, 5}, at96), (BallPoint{1915, 918}));
    EXPECT_EQ(shape_centre({0, 890, 61, 946}, {BallKind::Peek, BallSide::Left, 0}, at96), (BallPoint{5, 913}));
    EXPECT_EQ(shape_centre({1910, 898, 1920, 944}, {BallKind::Strip, BallSide::Right, 0}, at96), (BallPoint{1915, 921}));
    EXPECT_EQ(shape_centre({100, 100, 156, 156}, {BallKind::Ball, BallSide::Right, 0}, at96), (BallPoint{128, 128}));
}

TEST(PeekPlacement, TheTabStaysWhereItWas) {
    const BallRect work{0, 0, 1920, 1040};
    PeekPlacement right = peek_placement({1910, 898, 1920, 944}, work, BallSide::Right, at96);
    EXPECT_EQ(right.rect, (BallRect{1859, 893, 1920, 949}));
    EXPECT_EQ(right.shape, (BallShape{BallKind::Peek, BallSide::Right, 5}));
    PeekPlacement left = peek_placement({0, 400, 10, 446}, work, BallSide::Left, at96);
    EXPECT_EQ(left.rect, (BallRect{0, 395, 61, 451}));
    EXPECT_EQ(left.shape.peek_offset, 5);
    // At the top of the work area the ball cannot rise above it; the tab is
    // drawn lower inside the window.
    PeekPlacement top = peek_placement({1910, 0, 1920, 46}, work, BallSide::Right, at96);
    EXPECT_EQ(top.rect, (BallRect{1859, 0, 1920, 56}));
    EXPECT_EQ(top.shape.peek_offset, 0);
    PeekPlacement bottom = peek_placement({1910, 994, 1920, 1040}, work, BallSide::Right, at96);
    EXPECT_EQ(bottom.rect, (BallRect{1859, 984, 1920, 1040}));
    EXPECT_EQ(bottom.shape.peek_offset, 10);
}

TEST(WithinClick, BelowTheThresholdInBothAxes) {
    EXPECT_TRUE(within_click({100, 100}, {103, 97}, 4));
    EXPECT_FALSE(within_click({100, 100}, {104, 100}, 4));
    EXPECT_FALSE(within_click({100, 100}, {100, 96}, 4));
}

}  // namespace
