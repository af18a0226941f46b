// Target sizes, ring radii, cross and erase square; the size and place of the texts.
#include "app/target_graphic.h"

#include <gtest/gtest.h>

#include "app/text_layout.h"

TEST(TargetGraphic, GridTargetOnFullHd) {
    TargetGraphic g = MakeGridTargetGraphic(192, 108, 1920, 1080);
    EXPECT_EQ(g.Size, 90);
    EXPECT_EQ(g.RingCount, 4);
    EXPECT_EQ(RingRadius(g, 4), 44);
    EXPECT_EQ(RingRadius(g, 3), 32);
    EXPECT_EQ(RingRadius(g, 2), 21);
    EXPECT_EQ(RingRadius(g, 1), 10);
    EXPECT_EQ(CrossArm(g), 42);
    PixelRect square = TargetSquare(g);
    EXPECT_EQ(square.Left, 147);
    EXPECT_EQ(square.Bottom, 153);
}

TEST(TargetGraphic, SizeFollowsTheShorterSide) {
    EXPECT_EQ(MakeGridTargetGraphic(0, 0, 600, 800).Size, 50);  // 600 / 8 = 75, 150 / 3
    EXPECT_EQ(MakeGridTargetGraphic(0, 0, 960, 540).Size, 44);  // 540 / 8 = 67, 134 / 3
    EXPECT_EQ(MakeGridTargetGraphic(0, 0, 0, 1080).Size, 0);
    EXPECT_EQ(MakeGridTargetGraphic(0, 0, -50, 1080).Size, 0);
}

TEST(TargetGraphic, MiniTargetFromCaptionHeight) {
    TargetGraphic g = MakeMiniTargetGraphic(5, 6, 330);
    EXPECT_EQ(g.Size, 22);
    EXPECT_EQ(g.RingCount, 2);
    EXPECT_EQ(RingRadius(g, 2), 10);
    EXPECT_EQ(RingRadius(g, 1), 4);
    EXPECT_EQ(MakeMiniTargetGraphic(0, 0, -300).Size, 0);
    EXPECT_EQ(RingRadius(TargetGraphic{}, 1), -1);  // no rings: nothing drawn
}

TEST(TextLayout, SystemFontOrLargerAndAlwaysAboveTheButtons) {
    EXPECT_EQ(TextHeightForArea(1920, 1080, 16), 27);
    EXPECT_EQ(TextHeightForArea(1080, 1920, 16), 27);
    EXPECT_EQ(TextHeightForArea(800, 600, 16), 16);  // 15 would be smaller than the System font
    EXPECT_EQ(TextTop(600, 620, 27, false), 600);    // collecting: in its place
    EXPECT_EQ(TextTop(600, 620, 16, true), 600);     // one small line still ends above the buttons
    EXPECT_EQ(TextTop(600, 620, 54, true), 564);     // two large lines move up
}
