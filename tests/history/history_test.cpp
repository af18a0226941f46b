// The calibration history: the drift figure, the bound of entries per screen, and an entry whose
// configuration tarnix-fit fits again into the very record that was kept.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "fit/calibration_record.h"
#include "history/history_config.h"
#include "history/history_folder.h"
#include "history/history_keeping.h"
#include "history/record_drift.h"
#include "tests/history/history_test_support.h"

TEST(Drift, IdenticalFitsDoNotMoveAndAShiftedFitMovesByItsShift) {
    const CalibrationDataRecord base = BowedRecord();
    const GlassScale glass = GlassScaleOfRecord(base, 300.0, 225.0);
    const auto same = MeasureDrift(base, base, glass);
    ASSERT_TRUE(same);
    EXPECT_EQ(same->Samples.size(), size_t(kDriftGridSteps * kDriftGridSteps));
    EXPECT_LT(same->MaxMm, 1e-9);

    // The earlier record put every touch 128/16384 of the width further right and 64/16384 of
    // the height further up: 2.34375 mm across and 0.87890625 mm up on a 300 x 225 mm glass.
    CalibrationDataRecord earlier = base;
    AddToCoefficient(earlier, offsetof(CalibrationDataRecord, CoeffX), 128);
    AddToCoefficient(earlier, offsetof(CalibrationDataRecord, CoeffY), -64);
    const auto shifted = MeasureDrift(base, earlier, glass);
    ASSERT_TRUE(shifted);
    const double expected = std::hypot(2.34375, 0.87890625);
    EXPECT_NEAR(shifted->MaxMm, expected, 1e-6);
    for (const DriftSample& s : shifted->Samples) {
        EXPECT_NEAR(s.Dx, 2.34375, 1e-6);
        EXPECT_NEAR(s.Dy, -0.87890625, 1e-6);
    }
    // The corners are on the grid.
    EXPECT_DOUBLE_EQ(shifted->Samples.front().X, -0.5);
    EXPECT_DOUBLE_EQ(shifted->Samples.back().Y, 0.5);
}

TEST(Drift, AGrowingBowMovesMostAtTheCorners) {
    const CalibrationDataRecord base = BowedRecord();
    CalibrationDataRecord bowed = base;
    AddToCoefficient(bowed, offsetof(CalibrationDataRecord, CoeffX) + 6 * 4, 2000);  // v^3
    const auto drift = MeasureDrift(bowed, base, GlassScaleOfRecord(base, 306.4, 230.4));
    ASSERT_TRUE(drift);
    const DriftSample& centre = drift->Samples[drift->Samples.size() / 2];
    EXPECT_LT(centre.Mm, 0.01);
    EXPECT_GT(drift->MaxMm, 1.0);
    const size_t last = drift->Samples.size() - 1, steps = size_t(drift->Steps);
    double corners = 0.0;
    for (size_t corner : {size_t(0), steps - 1, last - (steps - 1), last})
        corners = std::max(corners, drift->Samples[corner].Mm);
    EXPECT_DOUBLE_EQ(drift->MaxMm, corners);
}

TEST(Drift, OnlyRecordsOfOneScreenAndAreaWithAMappingCompare) {
    const CalibrationDataRecord base = BowedRecord();
    CalibrationDataRecord other = base;
    other.AreaLeft = 800;
    EXPECT_FALSE(MeasureDrift(base, other, GlassScaleOfRecord(base, 306.4, 230.4)));
    other = base;
    other.ScreenIndex = 1;
    EXPECT_FALSE(MeasureDrift(base, other, GlassScaleOfRecord(base, 306.4, 230.4)));
    other = base;
    other.PolynomialOrder = 0;  // a type '7' record carries no fit
    EXPECT_FALSE(MeasureDrift(base, other, GlassScaleOfRecord(base, 306.4, 230.4)));
    EXPECT_FALSE(MeasureDrift(base, base, GlassScaleOfRecord(base, 0.0, 230.4)));  // no glass size
}

TEST(HistoryNames, OrderAndScreenOfAName) {
    const HistoryTime t{2026, 12, 9, 13, 45, 10};
    EXPECT_EQ(HistoryEntryName(t, 0), "20261209-134510-s0");
    EXPECT_EQ(HistoryEntryName(t, 12, 3), "20261209-134510-s12-3");
    EXPECT_EQ(ScreenOfEntryName("20261209-134510-s12-3"), 12);
    EXPECT_FALSE(ScreenOfEntryName("20261209-134510-s12-1"));
    EXPECT_FALSE(ScreenOfEntryName("2026120x-134510-s1"));
    EXPECT_FALSE(ScreenOfEntryName("Coefficients"));
    EXPECT_TRUE(EntryNameOlder("20261209-134510-s0-9", "20261209-134510-s0-10"));
    EXPECT_TRUE(EntryNameOlder("20261209-134510-s0", "20261209-134510-s0-2"));
    EXPECT_TRUE(EntryNameOlder("20261208-235959-s3", "20261209-000000-s0"));
    EXPECT_EQ(FormatHistoryTime(t), "2026-12-09 13:45:10");
    ASSERT_TRUE(ParseHistoryTime("2026-12-09 13:45:10"));
    EXPECT_EQ(ParseHistoryTime("2026-12-09 13:45:10")->Minute, 45);
}

TEST(HistoryFolder, KeepsTheNewestTwentyOfEachScreen) {
    ScratchHistory scratch;
    CalibrationDataRecord screen0 = BowedRecord(), screen1 = BowedRecord();
    screen1.ScreenIndex = 1;
    for (int32_t i = 0; i < 23; ++i) {
        const HistoryTime t{2026, 12, 9, 10, i / 2, 0};  // two entries in each second but the last
        ASSERT_TRUE(WriteHistoryEntry(scratch.Folder(), t, screen0, "; entry\r\n"));
    }
    ASSERT_TRUE(WriteHistoryEntry(scratch.Folder(), {2026, 12, 9, 9, 0, 0}, screen1, "x"));
    ASSERT_TRUE(WriteHistoryEntry(scratch.Folder(), {2026, 12, 9, 9, 0, 0}, screen1, "y"));
    EXPECT_EQ(ListHistoryEntries(scratch.Folder()).size(), 25u);

    const std::vector<std::string> removed = PruneHistory(scratch.Folder());
    EXPECT_EQ(removed, (std::vector<std::string>{"20261209-100000-s0", "20261209-100000-s0-2",
                                                 "20261209-100100-s0"}));
    const std::vector<std::string> kept = ListHistoryEntries(scratch.Folder());
    ASSERT_EQ(kept.size(), 22u);
    EXPECT_EQ(kept.front(), "20261209-090000-s1");  // screen 1's two are older, and stay
    EXPECT_EQ(kept[1], "20261209-090000-s1-2");
    EXPECT_EQ(kept.back(), "20261209-101100-s0");
    EXPECT_FALSE(std::filesystem::exists(scratch.Path() / "History" / "20261209-100000-s0.bin"));
    EXPECT_TRUE(PruneHistory(scratch.Folder()).empty());

    HistoryEntry entry;
    std::string error;
    ASSERT_TRUE(ReadHistoryEntry(scratch.Folder(), kept[1], entry, error)) << error;
    EXPECT_EQ(entry.ConfigText, "y");
    EXPECT_EQ(int32_t(entry.Record.ScreenIndex), 1);  // a copy: the record is packed
    EXPECT_FALSE(ReadHistoryEntry(scratch.Folder(), "20261209-100000-s0", entry, error));
    EXPECT_EQ(error, "no such entry: 20261209-100000-s0");
}

// A pass whose grid was spread and spaced: the entry's TargetGrid keys hold the targets where
// the pass drew them, and reading the entry back does not spread them a second time.
TEST(HistoryConfig, AnEntryKeepsTheTargetsWhereThePassDrewThem) {
    ScratchHistory scratch;
    std::ifstream example(std::filesystem::path(TARNIX_EXAMPLES_DIR) / "sim-5x5.cfg",
                          std::ios::binary);
    std::string cfg((std::istreambuf_iterator<char>(example)), std::istreambuf_iterator<char>());
    const std::string section = "[TARNIX-APP]\r\n";
    cfg.insert(cfg.find(section) + section.size(), "GridMagnification=1.05\r\nGridSpacing=1\r\n");
    std::ofstream(scratch.Path() / "spread.cfg", std::ios::binary) << cfg;
    ToolOptions options;
    options.ConfigPath = ToolWidePath(scratch.Path() / "spread.cfg");
    FitSession pass;
    std::string error;
    ASSERT_EQ(LoadFitSession(options, pass, error), kExitFitted) << error;
    ASSERT_EQ(RunFitSession(pass, error), kExitFitted) << error;
    CalibrationDataRecord sent;
    ASSERT_TRUE(PackSessionRecord(pass, sent));
    const std::string text = ComposeHistoryConfig(sent, *pass.Fit, *pass.Config, pass.Parameters,
                                                  {{2026, 12, 9, 13, 45, 10}, "1.0.0.0"}, {});
    EXPECT_NEAR(pass.Config->Targets[0].X, 0.5 - 0.5 * 1.05 * 0.8, 1e-12);  // spread once
    // Entries written before kept the pass's spread beside the spread targets.
    std::string older = text;
    const std::string asDrawn = "GridMagnification=1\r\nGridSpacing=0\r\n";
    ASSERT_NE(older.find(asDrawn), std::string::npos);
    older.replace(older.find(asDrawn), asDrawn.size(), "GridMagnification=1.05\r\n");
    int32_t second = 10;
    for (const std::string& written : {text, older}) {
        const auto name =
            WriteHistoryEntry(scratch.Folder(), {2026, 12, 9, 13, 45, second++}, sent, written);
        ASSERT_TRUE(name);
        HistoryEntry entry;
        ASSERT_TRUE(ReadHistoryEntry(scratch.Folder(), *name, entry, error)) << error;
        ToolOptions again;
        again.ConfigPath = entry.ConfigPath;
        FitSession refit;
        ASSERT_EQ(LoadFitSession(again, refit, error), kExitFitted) << error;
        for (uint32_t i = 0; i < 25; ++i) {
            EXPECT_EQ(refit.Config->Targets[i].X, pass.Config->Targets[i].X) << *name << i;
            EXPECT_EQ(refit.Config->Targets[i].Y, pass.Config->Targets[i].Y) << *name << i;
        }
    }
}

// A live pass on an area right of the primary monitor: its entry's configuration, read by
// tarnix-fit's loader as it is, gives the record that was sent, byte for byte.
TEST(HistoryConfig, TarnixFitReproducesTheRecordOfTheEntry) {
    ScratchHistory scratch;
    FitSession pass;
    ASSERT_NO_FATAL_FAILURE(FitExamplePass(pass, 1024, 768));
    std::string error;
    const RecordArea area{1024, 768, 800, 0, 2};
    CalibrationDataRecord sent;
    ASSERT_TRUE(PackCalibrationRecord(area, 1, kPlainControllerType, {1824, 768, 0, 0},
                                      pass.Fit.get(), sent));

    const std::vector<HistoryFigure> figures = PassFigures(*pass.Fit, pass.Parameters);
    HistoryFacts glassFacts{{2026, 12, 9, 13, 45, 10}, "1.0.0.0"};
    glassFacts.GlassLines = {{"Glass size", "1209.6 x 680.4 mm (monitor EDID)"},
                             {"Monitor maker", "ABC"},
                             {"Monitor model", "KIOSK 55"},
                             {"Monitor serial", "SN-0042"}};
    const std::string text =
        ComposeHistoryConfig(sent, *pass.Fit, *pass.Config, pass.Parameters, glassFacts, figures);
    EXPECT_EQ(text.find('\n'), text.find("\r\n") + 1);  // CR LF line ends
    const auto name = WriteHistoryEntry(scratch.Folder(), {2026, 12, 9, 13, 45, 10}, sent, text);
    ASSERT_TRUE(name);
    EXPECT_EQ(*name, "20261209-134510-s1");

    HistoryEntry entry;
    ASSERT_TRUE(ReadHistoryEntry(scratch.Folder(), *name, entry, error)) << error;
    EXPECT_EQ(entry.Header.Value("Date"), "2026-12-09 13:45:10");
    EXPECT_EQ(entry.Header.Value("Area"), "1024x768 at (800,0)");
    EXPECT_EQ(entry.Header.Value("Monitor"), "2");
    EXPECT_EQ(entry.Header.Lines.front().first, "Date");  // the title line is no header line
    EXPECT_EQ(entry.Header.Value("Glass size"), "1209.6 x 680.4 mm (monitor EDID)");
    EXPECT_EQ(entry.Header.Value("Monitor model"), "KIOSK 55");
    EXPECT_EQ(entry.Header.Value("Monitor serial"), "SN-0042");
    EXPECT_EQ(entry.Header.Figures().size(), figures.size());  // the glass lines are no figures
    const double mmPerPixel = pass.Parameters.ScreenWidth / 1024;
    EXPECT_NEAR(*entry.Header.Figure("Millimetres per pixel across (mm)"), mmPerPixel, 1e-4);
    EXPECT_GT(*entry.Header.Figure("RMS residual (mm)"), 0.0);
    EXPECT_NEAR(*entry.Header.Figure("RMS residual (px)"), figures[0].Value, 1e-3);

    ToolOptions again;
    again.ConfigPath = entry.ConfigPath;
    FitSession refit;
    ASSERT_EQ(LoadFitSession(again, refit, error), kExitFitted) << error;
    ASSERT_TRUE(refit.HasPlacement);
    EXPECT_EQ(refit.Config->CaptionHeight, 405);
    ASSERT_EQ(RunFitSession(refit, error), kExitFitted) << error;
    CalibrationDataRecord refitted;
    ASSERT_TRUE(PackSessionRecord(refit, refitted));
    EXPECT_EQ(std::memcmp(&refitted, &sent, sizeof sent), 0);
    EXPECT_EQ(int32_t(refitted.AreaLeft), 800);
    EXPECT_EQ(int32_t(refitted.ScreenIndex), 1);

    // Keeping fails softly where the history cannot be: a file stands in its place.
    const std::filesystem::path blocked = scratch.Path() / "blocked";
    std::ofstream(blocked) << "not a folder";
    const KeptHistory kept = KeepHistoryEntry(ToolWidePath(blocked), sent, *pass.Fit, *pass.Config,
                                              pass.Parameters, {{}, "1.0.0.0"});
    EXPECT_FALSE(kept.Name);
    EXPECT_EQ(kept.Problem, "the entry could not be written");
    // A record without a fit (type '7') is not kept.
    CalibrationDataRecord noFit = sent;
    noFit.PolynomialOrder = 0;
    EXPECT_EQ(KeepHistoryEntry(scratch.Folder(), noFit, *pass.Fit, *pass.Config, pass.Parameters,
                               {{}, "1.0.0.0"})
                  .Problem,
              "the record carries no fit");
    EXPECT_EQ(ListHistoryEntries(scratch.Folder()).size(), 1u);

    // The pass's judgement follows the fit's figures in the header.
    const HistoryFacts facts{
        {2026, 12, 9, 14, 0, 0},
        "1.0.0.0",
        {{"Expected error (mm)", 0.612, 3}, {"Targets asked again (count)", 1, 0}}};
    const KeptHistory judged =
        KeepHistoryEntry(scratch.Folder(), sent, *pass.Fit, *pass.Config, pass.Parameters, facts);
    ASSERT_TRUE(judged.Name) << judged.Problem;
    HistoryEntry judgedEntry;
    ASSERT_TRUE(ReadHistoryEntry(scratch.Folder(), *judged.Name, judgedEntry, error)) << error;
    EXPECT_EQ(judgedEntry.Header.Figures().size(), figures.size() + 2);
    EXPECT_NEAR(*judgedEntry.Header.Figure("Expected error (mm)"), 0.612, 1e-9);
    EXPECT_EQ(*judgedEntry.Header.Figure("Targets asked again (count)"), 1.0);
}
