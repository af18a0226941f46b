// The window's texts placed clear of the shipped layout's targets, the buttons and the countdown
// on every screen size a kiosk has, from 800 x 600 to 3840 x 2160.
#include "app/text_placement.h"

#include <gtest/gtest.h>

#include <string>

#include "app/text_layout.h"
#include "display/target_layout.h"

namespace {

constexpr int32_t kSystemFontHeight = 16;
constexpr int32_t kCountdownBand = 60;
constexpr int32_t kButtonWidth = 65, kButtonHeight = 56;  // the buttons' pictures at 100 %

struct ScreenSize {
    int32_t Width, Height;
};
constexpr ScreenSize kSizes[] = {{800, 600},   {1024, 768},  {1280, 800}, {1366, 768},
                                 {1920, 1080}, {2560, 1440}, {3840, 2160}};

std::wstring ShippedCfgPath() {
    std::string path = TARNIX_SHIPPED_CFG;
#ifdef _WIN32
    path = "Z:" + path;  // Wine maps the Unix root to drive Z
#endif
    return std::wstring(path.begin(), path.end());
}

CalibrationArea ShippedArea(CalibrationConfig& config, ScreenSize size) {
    CalibrationArea area;
    area.Width = size.Width;
    area.Height = size.Height;
    area.Targets.assign(config.TargetCount, AreaTarget());
    PlaceAreaTargets(area, config);
    return area;
}

bool Overlaps(const PixelRect& a, const PixelRect& b) {
    return a.Left <= b.Right && b.Left <= a.Right && a.Top <= b.Bottom && b.Top <= a.Bottom;
}

// The text's box at top, centred across the area (edges included).
PixelRect TextBox(ScreenSize size, int32_t width, int32_t height, int32_t top) {
    const int32_t left = (size.Width - width) / 2;
    return PixelRect{left, top, left + width - 1, top + height - 1};
}

class ShippedLayout : public ::testing::Test {
  protected:
    void SetUp() override {
        const std::wstring path = ShippedCfgPath();
        config_ = CalibrationConfig(path.c_str());
        ASSERT_TRUE(ReadGridConfig(config_));
        ASSERT_TRUE(BuildGridCells(config_));
        ASSERT_TRUE(BuildTargets(config_));
    }

    CalibrationConfig config_;
};

}  // namespace

// The premise: where the texts usually go, the instruction line crosses target 21 at 800 x 600.
TEST_F(ShippedLayout, TheUsualPlaceCrossesATargetAt800By600) {
    const ScreenSize size{800, 600};
    const CalibrationArea area = ShippedArea(config_, size);
    const int32_t height = TextHeightForArea(size.Width, size.Height, kSystemFontHeight);
    const PixelRect usual = TextBox(size, size.Width, height, size.Height / 2 + 60);
    const PixelRect target21 = TargetSquare(
        MakeGridTargetGraphic(area.Targets[20].ScreenX, area.Targets[20].ScreenY, 800, 600));
    EXPECT_TRUE(Overlaps(usual, target21));
}

// One to four lines as wide as the area, kept out of what the window shows besides them: while
// collecting every target's place and the countdown; once finished (no target drawn) the
// countdown and the buttons. The text crosses none of them and stays inside the area, a finished
// one above the buttons.
TEST_F(ShippedLayout, TextsKeepClearOfTargetsAtEverySize) {
    for (const ScreenSize size : kSizes) {
        const CalibrationArea area = ShippedArea(config_, size);
        const std::vector<PixelRect> targets = TargetSquares(area, config_);
        ASSERT_EQ(targets.size(), config_.NumGridPoints);  // the shipped file has no mini targets
        const int32_t cx = size.Width / 2, cy = size.Height / 2;
        const PixelRect band{0, size.Height - kCountdownBand, size.Width, size.Height};
        const PixelRect buttons{cx - 15 - kButtonWidth, cy + 80, cx + 15 + kButtonWidth,
                                cy + 80 + kButtonHeight};
        const int32_t line = TextHeightForArea(size.Width, size.Height, kSystemFontHeight);
        for (bool finished : {false, true}) {
            std::vector<PixelRect> keepOut{band};
            if (finished)
                keepOut.push_back(buttons);
            else
                keepOut.insert(keepOut.end(), targets.begin(), targets.end());
            for (int32_t lines = 1; lines <= 4; ++lines) {
                const int32_t height = lines * line;
                const int32_t usual = TextTop(cy + 60, cy + 80, height, finished);
                const int32_t top =
                    ClearTextTop(usual, size.Width, height, size.Width, size.Height, keepOut);
                const PixelRect box = TextBox(size, size.Width, height, top);
                SCOPED_TRACE(testing::Message() << size.Width << " x " << size.Height << ", "
                                                << lines << " lines, finished " << finished);
                EXPECT_GE(box.Top, 0);
                EXPECT_LT(box.Bottom, size.Height);
                for (size_t i = 0; i < keepOut.size(); ++i)
                    EXPECT_FALSE(Overlaps(box, keepOut[i])) << "crosses keep-out " << i;
                if (finished) {
                    EXPECT_LT(box.Bottom, buttons.Top);
                }
            }
        }
    }
}

// A text that already keeps clear stays where it is; one with no clear place anywhere, too.
TEST(TextPlacement, StaysInPlaceWhenClearOrWhenNothingIs) {
    const std::vector<PixelRect> row{{0, 100, 799, 150}};
    EXPECT_EQ(ClearTextTop(200, 400, 20, 800, 600, row), 200);
    EXPECT_EQ(ClearTextTop(140, 400, 20, 800, 600, row), 152);  // nearer below than above
    EXPECT_EQ(ClearTextTop(110, 400, 20, 800, 600, row), 78);   // nearer above
    EXPECT_EQ(ClearTextTop(110, 400, 20, 800, 600, {{0, 0, 799, 599}}), 110);
    // A square beside the text's columns does not move it.
    EXPECT_EQ(ClearTextTop(110, 400, 20, 800, 600, {{0, 100, 150, 150}}), 110);
}
