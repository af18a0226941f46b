// The drift picture's caption: every line fits the picture's width, and no word is lost.
#include "tools/tarnix_history/drift_svg.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

namespace {

constexpr double kFontSize = 3.0;  // mm, as the picture states it
constexpr double kCharWidth = 0.6;

struct Picture {
    double Width = 0.0, Height = 0.0;
    std::vector<std::string> Lines;
    std::vector<double> Baselines;
};

Picture ReadPicture(const std::string& svg) {
    Picture p;
    std::smatch box;
    EXPECT_TRUE(std::regex_search(svg, box, std::regex(R"re(viewBox="0 0 ([\d.]+) ([\d.]+)")re")));
    if (box.size() == 3) {
        p.Width = std::stod(box[1]);
        p.Height = std::stod(box[2]);
    }
    EXPECT_NE(svg.find("font-size=\"3\""), std::string::npos);
    const std::regex line(R"re(<tspan x="[\d.]+" y="([\d.]+)">([^<]*)</tspan>)re");
    for (auto it = std::sregex_iterator(svg.begin(), svg.end(), line); it != std::sregex_iterator();
         ++it) {
        p.Baselines.push_back(std::stod((*it)[1]));
        p.Lines.push_back((*it)[2]);
    }
    return p;
}

std::string WithoutSpaces(std::string text) {
    std::erase(text, ' ');
    return text;
}

DriftResult GlassOf(double widthMm, double heightMm) {
    DriftResult drift;
    drift.Steps = kDriftGridSteps;
    drift.MaxMm = 1.66;
    drift.WidthMm = widthMm;
    drift.HeightMm = heightMm;
    return drift;
}

void ExpectCaptionFits(const DriftResult& drift, const std::string& caption) {
    const Picture p = ReadPicture(DriftSvg(drift, caption));
    ASSERT_FALSE(p.Lines.empty());
    std::string joined;
    for (size_t i = 0; i < p.Lines.size(); ++i) {
        EXPECT_LE(double(p.Lines[i].size()) * kFontSize * kCharWidth, p.Width - 2 * 10.0)
            << p.Lines[i];
        EXPECT_GT(p.Baselines[i], drift.HeightMm + 10.0);  // under the glass
        EXPECT_LE(p.Baselines[i], p.Height);               // inside the picture
        joined += p.Lines[i];
    }
    EXPECT_EQ(WithoutSpaces(joined).find(WithoutSpaces(caption)), 0u);
    EXPECT_NE(p.Lines.back().find("times)"), std::string::npos);  // the magnification is seen
}

}  // namespace

// The case that ran off the picture: a 184 mm glass (a 204 mm picture) and the sentence of two
// entries, 134 characters with the magnification.
TEST(DriftSvg, TheCaptionOfTwoEntriesFitsInLines) {
    const std::string caption =
        "Moved at most 1.66 mm between 2026-12-09 13:55:00 (20261209-135500-s0) and "
        "2026-12-09 13:55:28 (20261209-135528-s0)";
    const DriftResult drift = GlassOf(184.0, 138.0);
    ExpectCaptionFits(drift, caption);
    EXPECT_GE(ReadPicture(DriftSvg(drift, caption)).Lines.size(), 2u);
}

// A small glass, and a word longer than a whole line: cut over lines, nothing lost.
TEST(DriftSvg, ASmallGlassCutsAWordLongerThanALine) {
    ExpectCaptionFits(GlassOf(40.0, 30.0),
                      "Moved at most 0.20 mm between "
                      "an-entry-name-that-is-far-longer-than-a-line-of-it "
                      "and another");
    ExpectCaptionFits(GlassOf(300.0, 200.0), "short");
}
