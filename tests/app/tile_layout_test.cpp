// The tiling rule with the built-in list and with "QuvaVideo.txt" texts.
#include "display/tile_layout.h"

#include <gtest/gtest.h>

namespace {

struct Tiling {
    int32_t Result, Width, Height, Columns, Rows;
};

Tiling Tile(const std::vector<VideoMode>& modes, int32_t width, int32_t height) {
    Tiling t{0, width, height, -7, -7};
    t.Result = MatchTileLayout(modes, t.Width, t.Height, t.Columns, t.Rows);
    return t;
}

void ExpectTiling(const Tiling& t, int32_t result, int32_t w, int32_t h, int32_t c, int32_t r) {
    EXPECT_EQ(t.Result, result);
    EXPECT_EQ(t.Width, w);
    EXPECT_EQ(t.Height, h);
    EXPECT_EQ(t.Columns, c);
    EXPECT_EQ(t.Rows, r);
}

}  // namespace

TEST(TileLayout, BuiltInListFirstMatchWins) {
    const auto& modes = BuiltInVideoModes();
    ASSERT_EQ(modes.size(), 12u);
    ExpectTiling(Tile(modes, 2560, 1920), 4, 1280, 960, 2, 2);
    ExpectTiling(Tile(modes, 3200, 1200), 2, 1600, 1200, 2, 1);
    ExpectTiling(Tile(modes, 1280, 1024), 1, 1280, 1024, 1, 1);
    ExpectTiling(Tile(modes, 1920, 1080), 0, 1920, 1080, 1, 1);
    ExpectTiling(Tile(modes, 1024, 768), 1, 1024, 768, 1, 1);
    ExpectTiling(Tile(modes, 1280, 480), 2, 640, 480, 2, 1);  // 640 x 480 before 1280 x 960
}

TEST(TileLayout, ZeroAndNegativeSizesNeverTile) {
    const auto& modes = BuiltInVideoModes();
    ExpectTiling(Tile(modes, 0, 0), 0, 0, 0, 1, 1);
    ExpectTiling(Tile(modes, -1280, 960), 0, -1280, 960, 1, 1);
    ExpectTiling(Tile(modes, 1280, -960), 0, 1280, -960, 1, 1);
    ExpectTiling(Tile({}, 800, 600), 0, 800, 600, 1, 1);
}

// Tiles under 64 x 64 pixels, or more than 64 of them on one monitor, are never laid: the mode is
// passed over and the next one tried.
TEST(TileLayout, TinyModesAndTooManyTilesArePassedOver) {
    ExpectTiling(Tile({{1, 1}}, 1920, 1080), 0, 1920, 1080, 1, 1);
    ExpectTiling(Tile({{63, 64}, {64, 63}}, 1008, 1008), 0, 1008, 1008, 1, 1);
    ExpectTiling(Tile({{1, 1}, {960, 540}}, 1920, 1080), 4, 960, 540, 2, 2);
    ExpectTiling(Tile({{64, 64}}, 1024, 768), 0, 1024, 768, 1, 1);         // 16 x 12 tiles
    ExpectTiling(Tile({{128, 96}}, 1024, 768), 64, 128, 96, 8, 8);         // exactly the most
    ExpectTiling(Tile({{128, 128}, {64, 64}}, 512, 64), 8, 64, 64, 8, 1);  // 128 does not divide 64
    ExpectTiling(Tile({{64, 64}}, 2147483584, 64), 0, 2147483584, 64, 1, 1);
}

TEST(VideoModeFile, PairsSeparatedByWhiteSpace) {
    auto modes = ParseVideoModes("960,540\r\n1920,1080  800, 600\n");
    ASSERT_EQ(modes.size(), 3u);
    EXPECT_EQ(modes[0].Width, 960);
    EXPECT_EQ(modes[0].Height, 540);
    EXPECT_EQ(modes[2].Height, 600);
    ExpectTiling(Tile(ParseVideoModes("960,540"), 1920, 1080), 4, 960, 540, 2, 2);
}

TEST(VideoModeFile, ListEndsAtWidthZeroOrABadLine) {
    EXPECT_TRUE(ParseVideoModes("0,0\n960,540\n").empty());
    EXPECT_EQ(ParseVideoModes("960,540\n0,100\n800,600").size(), 1u);
    EXPECT_EQ(ParseVideoModes("960,540\nwide,tall\n800,600").size(), 1u);
    EXPECT_EQ(ParseVideoModes("960,540\n1024 768\n800,600").size(), 1u);
    EXPECT_EQ(ParseVideoModes("960,540\n1024,\n").size(), 1u);
    EXPECT_TRUE(ParseVideoModes("").empty());
}

TEST(VideoModeFile, ZeroHeightNegativeAndOverflowingPairsEndTheList) {
    EXPECT_EQ(ParseVideoModes("960,540 640,0 800,600").size(), 1u);
    EXPECT_EQ(ParseVideoModes("960,540 -640,480 800,600").size(), 1u);
    EXPECT_EQ(ParseVideoModes("960,540 99999999999,480 800,600").size(), 1u);
}

#ifndef _WIN32
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/debug_trace.h"

// The window tiles with the modes ReadVideoModes reads from "QuvaVideo.txt" in the support folder
// at every call.
TEST(VideoModeFile, ReadVideoModesReadsTheSupportFolderFile) {
    auto folder =
        std::filesystem::temp_directory_path() / ("tarnix-tiles-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    setenv("TARNIX_SUPPORT_DIR", folder.c_str(), 1);
    auto write = [&](const char* text) {
        std::FILE* f = std::fopen((folder / "QuvaVideo.txt").c_str(), "wb");
        ASSERT_NE(f, nullptr);
        std::fputs(text, f);
        std::fclose(f);
    };
    int32_t w = 1920, h = 1080, c = 0, r = 0;
    EXPECT_EQ(MatchTileLayout(ReadVideoModes(), w, h, c, r), 0);  // no file: the built-in list

    write("960,540\n");
    w = 1920, h = 1080;
    EXPECT_EQ(MatchTileLayout(ReadVideoModes(), w, h, c, r), 4);
    EXPECT_EQ(w, 960);
    EXPECT_EQ(c, 2);

    write("0,0\n960,540\n");  // a first pair 0,0: the built-in list
    w = 2560, h = 1920;
    EXPECT_EQ(MatchTileLayout(ReadVideoModes(), w, h, c, r), 4);
    EXPECT_EQ(w, 1280);
    EXPECT_EQ(h, 960);

    // 64 KiB are read to the last byte; one byte more and the file is refused whole, with a
    // trace: its first pair is not used either (it used to be, the rest cut off).
    const std::string pair = "960,540\n";
    write((std::string(65536 - pair.size(), ' ') + pair).c_str());
    w = 1920, h = 1080;
    EXPECT_EQ(MatchTileLayout(ReadVideoModes(), w, h, c, r), 4);
    write((pair + std::string(65537 - pair.size(), ' ')).c_str());
    std::ofstream(folder / "machine-settings.ini") << "[Software\\Quvatec]\nEnableDebug=1\n";
    DebugState = -1;
    testing::internal::CaptureStderr();
    const std::vector<VideoMode> refused = ReadVideoModes();
    const std::string trace = testing::internal::GetCapturedStderr();
    std::filesystem::remove(folder / "machine-settings.ini");
    DebugState = -1;
    w = 1920, h = 1080;
    EXPECT_EQ(MatchTileLayout(refused, w, h, c, r), 0);
    EXPECT_NE(trace.find("QuvaVideo.txt holds 65537 bytes, more than the limit of 65536: it is "
                         "not read; the built-in modes are used"),
              std::string::npos)
        << trace;
    write("1,1\n");
    w = 1920, h = 1080;
    EXPECT_EQ(MatchTileLayout(ReadVideoModes(), w, h, c, r), 0);
    EXPECT_EQ(w, 1920);
    std::filesystem::remove_all(folder);
    unsetenv("TARNIX_SUPPORT_DIR");
}
#endif
