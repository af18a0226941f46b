// tarnix-history export: one JSON document of the machine's history, read back whole.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "history/history_folder.h"
#include "tests/history/history_test_support.h"
#include "tools/tool_json/json_value.h"

namespace {

// 400 x 300 mm of glass over the 800 x 600 area: half a millimetre a pixel.
const std::string kGlassKeys = "[TARNIX-APP]\r\nScreenWidth=400\r\nScreenHeight=300\r\n";
// A constant term of CoeffX raised by this moves every point 164 / 16384 of 800 px, 4.0039 mm.
constexpr int32_t kStep = 164;
constexpr double kStepMm = kStep / 16384.0 * 800 * 0.5;

CalibrationDataRecord ShiftedBy(int32_t steps, int32_t screen = 0) {
    CalibrationDataRecord record = BowedRecord();
    record.ScreenIndex = screen;
    AddToCoefficient(record, offsetof(CalibrationDataRecord, CoeffX), steps * kStep);
    return record;
}

JsonValue ReadBack(const std::string& text) {
    std::string error;
    std::optional<JsonValue> document = ParseJson(text, error);
    EXPECT_TRUE(document) << error << "\n" << text;
    return document.value_or(JsonValue());
}

const JsonValue& At(const JsonValue& value, const char* name) {
    static const JsonValue missing;
    const JsonValue* member = value.Find(name);
    EXPECT_TRUE(member) << "no member " << name;
    return member ? *member : missing;
}

}  // namespace

// Three calibrations of screen 0 moved step by step, the last not accepted, with the monitor lines
// (one with a quote and a byte that is no UTF-8), and one of screen 1 without them.
TEST(HistoryExport, TheWholeHistoryReadsBackWithMonitorsDriftAndRecords) {
    ScratchHistory scratch;
    const std::wstring folder = scratch.Folder();
    const std::string first =
        *WriteHistoryEntry(folder, {2026, 12, 1, 9, 0, 0}, ShiftedBy(0),
                           "; Date: 2026-12-01 09:00:00\r\n; Sequence: 1\r\n" + kGlassKeys);
    ASSERT_TRUE(WriteHistoryEntry(folder, {2026, 12, 2, 9, 0, 0}, ShiftedBy(1),
                                  "; Sequence: 2\r\n; RMS residual (mm): 0.25\r\n" + kGlassKeys));
    ASSERT_TRUE(WriteHistoryEntry(folder, {2026, 12, 3, 9, 0, 0}, ShiftedBy(0, 1),
                                  "; Sequence: 3\r\n" + kGlassKeys));
    const std::string last = *WriteHistoryEntry(
        folder, {2026, 12, 4, 9, 0, 0}, ShiftedBy(2),
        "; Sequence: 4\r\n; Accepted: no\r\n; Expected error (mm): nan\r\n"
        "; Monitor maker: ABC\r\n; Monitor model: Panel \"22\" \xff\r\n"
        "; Monitor serial: SN-0042\r\n; Glass size: 1209.6 x 680.4 mm (monitor EDID)\r\n" +
            kGlassKeys);

    const ToolRun run = RunTool({L"export", L"--machine", L"kiosk-7", L"--folder", folder});
    ASSERT_EQ(run.Status, kHistoryDone) << run.Err;
    const JsonValue document = ReadBack(run.Out);
    EXPECT_EQ(document.NumberAt("SchemaVersion"), 1.0);
    EXPECT_EQ(document.TextAt("Machine"), "kiosk-7");

    const JsonValue& screens = At(document, "Screens");
    ASSERT_EQ(screens.Items.size(), 2u) << run.Out;
    const JsonValue& screen0 = screens.Items[0];
    EXPECT_EQ(screen0.NumberAt("Screen"), 0.0);
    EXPECT_EQ(screen0.TextAt("NewestEntry"), last);
    EXPECT_EQ(screen0.TextAt("Maker"), "ABC");
    EXPECT_EQ(screen0.TextAt("Model"), "Panel \"22\" \xc3\xbf");
    EXPECT_EQ(screen0.TextAt("Serial"), "SN-0042");
    EXPECT_EQ(At(screen0, "Glass").NumberAt("WidthMm"), 1209.6);
    EXPECT_EQ(At(screen0, "Glass").TextAt("Source"), "monitor EDID");
    EXPECT_EQ(At(screen0, "Area").NumberAt("Width"), 800.0);
    const JsonValue& screen1 = screens.Items[1];
    EXPECT_EQ(At(screen1, "Maker").Type, JsonValue::Kind::Null);
    EXPECT_EQ(At(screen1, "Glass").Type, JsonValue::Kind::Null);

    const JsonValue& entries = At(document, "Entries");
    ASSERT_EQ(entries.Items.size(), 4u);
    for (const JsonValue& entry : entries.Items) EXPECT_EQ(entry.TextAt("Kind"), "calibration");
    const JsonValue& e0 = entries.Items[0];
    EXPECT_EQ(e0.TextAt("Entry"), first);
    EXPECT_EQ(e0.TextAt("Date"), "2026-12-01 09:00:00");
    EXPECT_EQ(At(e0, "DriftSincePrevious").Find("Mm")->Type, JsonValue::Kind::Null);
    EXPECT_EQ(e0.NumberAt("GlassWidthMm"), 400.0);
    const JsonValue& e1 = entries.Items[1];
    EXPECT_EQ(At(e1, "Date").Type, JsonValue::Kind::Null);
    EXPECT_EQ(At(e1, "Figures").NumberAt("RMS residual (mm)"), 0.25);
    EXPECT_EQ(e1.NumberAt("ExpectedErrorMm"), 0.25);
    EXPECT_NEAR(At(e1, "DriftSincePrevious").NumberAt("Mm").value_or(-1), kStepMm, 1e-6);
    EXPECT_EQ(At(e1, "Live").Bool, false);
    const JsonValue& e3 = entries.Items[3];
    EXPECT_EQ(At(e3, "Accepted").Bool, false);
    EXPECT_EQ(At(e3, "Live").Bool, true);
    EXPECT_EQ(At(At(e3, "Figures"), "Expected error (mm)").Type, JsonValue::Kind::Null);
    EXPECT_NEAR(At(e3, "DriftSincePrevious").NumberAt("Mm").value_or(-1), kStepMm, 1e-6);
    EXPECT_NEAR(At(e3, "DriftSinceFirst").NumberAt("Mm").value_or(-1), 2 * kStepMm, 1e-6);
    EXPECT_EQ(At(e3, "DriftSinceFirst").TextAt("Since"), first);
    const JsonValue& record = At(e3, "Record");
    EXPECT_EQ(At(record, "CoeffX").Items.at(0).Number, 40 + 2 * kStep);
    EXPECT_EQ(At(record, "CoeffY").Items.at(2).Number, 18500);
    EXPECT_EQ(At(record, "MiniTargetSpacing").Items.size(), 121u);
    EXPECT_EQ(record.NumberAt("PolynomialOrder"), 3.0);

    // --out writes the same document.
    const std::filesystem::path file = scratch.Path() / "kiosk-7.json";
    const ToolRun out = RunTool(
        {L"export", L"--machine", L"kiosk-7", L"--folder", folder, L"--out", ToolWidePath(file)});
    ASSERT_EQ(out.Status, kHistoryDone) << out.Err;
    std::ostringstream written;
    written << std::ifstream(file, std::ios::binary).rdbuf();
    EXPECT_EQ(written.str(), run.Out);
}

// Options of export belong to export; an empty history is a document without entries.
TEST(HistoryExport, AnEmptyHistoryIsAValidDocumentAndOptionsBelongToExport) {
    ScratchHistory scratch;
    std::filesystem::create_directories(scratch.Path() / "History");
    const ToolRun run = RunTool({L"export", L"--folder", scratch.Folder()});
    ASSERT_EQ(run.Status, kHistoryDone) << run.Err;
    const JsonValue document = ReadBack(run.Out);
    EXPECT_TRUE(At(document, "Entries").Items.empty());
    EXPECT_TRUE(document.TextAt("Machine")) << run.Out;
    EXPECT_EQ(RunTool({L"list", L"--out", L"x.json"}).Status, kHistoryUsage);
    EXPECT_EQ(RunTool({L"export", L"first"}).Status, kHistoryUsage);
}
