// The glass size from a monitor's EDID: parsing, the plausibility rule, a tile's share and the
// areas' glass under GlassSize=Monitor.
#include "display/monitor_glass.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "app/area_glass.h"
#include "display/edid.h"

namespace {

// An EDID 1.4 base block as monitors send it: maker "ABC", a preferred timing with the image size
// in mm, the size in cm at bytes 21-22, a name and a serial string, and a right checksum.
struct EdidBuilder {
    int WidthCm = 0, HeightCm = 0, WidthMm = 0, HeightMm = 0;
    std::string Name = "KIOSK 55", Serial = "SN-0042";
    uint16_t Product = 0x5B08;
    uint32_t SerialNumber = 123456;

    std::vector<uint8_t> Bytes() const {
        std::vector<uint8_t> b(kEdidBlockSize, 0);
        const uint8_t header[8] = {0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00};
        std::memcpy(b.data(), header, 8);
        const unsigned maker = 1u << 10 | 2u << 5 | 3u;  // "ABC"
        b[8] = uint8_t(maker >> 8);
        b[9] = uint8_t(maker);
        b[10] = uint8_t(Product);
        b[11] = uint8_t(Product >> 8);
        for (int i = 0; i < 4; ++i) b[12 + i] = uint8_t(SerialNumber >> (8 * i));
        b[18] = 1;
        b[19] = 4;
        b[21] = uint8_t(WidthCm);
        b[22] = uint8_t(HeightCm);
        uint8_t* timing = &b[54];
        timing[0] = 0x02;  // 148.5 MHz
        timing[1] = 0x3A;
        timing[12] = uint8_t(WidthMm);
        timing[13] = uint8_t(HeightMm);
        timing[14] = uint8_t((WidthMm >> 8) << 4 | (HeightMm >> 8));
        Text(&b[72], 0xFC, Name);
        Text(&b[90], 0xFF, Serial);
        uint8_t sum = 0;
        for (size_t i = 0; i + 1 < kEdidBlockSize; ++i) sum = uint8_t(sum + b[i]);
        b[127] = uint8_t(0x100 - sum);
        return b;
    }

    static void Text(uint8_t* d, uint8_t tag, const std::string& text) {
        d[3] = tag;
        std::memset(d + 5, ' ', 13);
        std::memcpy(d + 5, text.data(), std::min<size_t>(text.size(), 13));
        if (text.size() < 13) d[5 + text.size()] = 0x0A;
    }
};

EdidInfo Parse(const std::vector<uint8_t>& bytes) { return ParseEdid(bytes.data(), bytes.size()); }

const EdidBuilder kLaptop156{34, 19, 344, 194};    // 15.6 inch 16:9
const EdidBuilder kDisplay55{121, 68, 1210, 680};  // 55 inch 16:9
const EdidBuilder kPanel7{15, 9, 154, 86};         // 7 inch, 800 x 480

TEST(Edid, ReadsMakerModelSerialAndTheTimingsSizeInMillimetres) {
    const EdidInfo e = Parse(kDisplay55.Bytes());
    ASSERT_TRUE(e.Valid);
    EXPECT_EQ(e.Maker, "ABC");
    EXPECT_EQ(e.ProductCode, 0x5B08);
    EXPECT_EQ(e.SerialNumber, 123456u);
    EXPECT_EQ(e.Name, "KIOSK 55");
    EXPECT_EQ(e.SerialText, "SN-0042");
    EXPECT_TRUE(e.SizeFromTiming);
    EXPECT_EQ(e.WidthMm, 1210.0);  // needs the high nibbles of byte 14
    EXPECT_EQ(e.HeightMm, 680.0);
    EXPECT_EQ(EdidModelText(e), "KIOSK 55");
    EXPECT_EQ(EdidSerialText(e), "SN-0042");
}

TEST(Edid, FallsBackToCentimetresAndToTheProductCode) {
    EdidBuilder b = kLaptop156;
    b.WidthMm = b.HeightMm = 0;
    b.Name = b.Serial = "";
    std::vector<uint8_t> bytes = b.Bytes();
    bytes[75] = bytes[93] = 0x10;  // the text descriptors become dummies
    bytes[127] = 0;
    uint8_t sum = 0;
    for (size_t i = 0; i < 127; ++i) sum = uint8_t(sum + bytes[i]);
    bytes[127] = uint8_t(0x100 - sum);
    const EdidInfo e = Parse(bytes);
    ASSERT_TRUE(e.Valid);
    EXPECT_FALSE(e.SizeFromTiming);
    EXPECT_EQ(e.WidthMm, 340.0);
    EXPECT_EQ(e.HeightMm, 190.0);
    EXPECT_EQ(EdidModelText(e), "0x5B08");
    EXPECT_EQ(EdidSerialText(e), "123456");
}

TEST(Edid, RefusesACorruptChecksumAShortBlockAndGarbage) {
    std::vector<uint8_t> bytes = kLaptop156.Bytes();
    bytes[100] ^= 0x01;
    EXPECT_FALSE(Parse(bytes).Valid);
    EXPECT_EQ(Parse(bytes).Maker, "");
    const std::vector<uint8_t> whole = kLaptop156.Bytes();
    EXPECT_FALSE(ParseEdid(whole.data(), 127).Valid);
    EXPECT_FALSE(ParseEdid(nullptr, 128).Valid);
    std::mt19937 random(7);
    for (int i = 0; i < 2000; ++i) {
        std::vector<uint8_t> junk = kDisplay55.Bytes();
        for (size_t k = 8; k < junk.size(); ++k)
            if (random() % 4 == 0) junk[k] = uint8_t(random());
        junk[127] = 0;
        uint8_t sum = 0;
        for (size_t k = 0; k < 127; ++k) sum = uint8_t(sum + junk[k]);
        junk[127] = uint8_t(0x100 - sum);
        const EdidInfo e = Parse(junk);  // valid checksum, garbage fields
        EXPECT_TRUE(e.Valid);
        for (char c : e.Name + e.SerialText + e.Maker) EXPECT_TRUE(c >= 0x20 && c < 0x7F);
        EXPECT_LE(e.Maker.size(), 3u);
        EXPECT_LE(e.WidthMm, 4095.0);
    }
}

struct Case {
    const char* What;
    EdidBuilder Edid;
    int32_t Width, Height;
    GlassVerdict Verdict;
    double WidthMm, HeightMm;
};

TEST(MonitorGlass, ThePlausibilityRule) {
    EdidBuilder zero{0, 0, 0, 0};
    EdidBuilder aspectOnly{0, 0, 16, 9};  // an aspect ratio where the size belongs
    EdidBuilder projector{0, 0, 0, 0};
    projector.Name = "BEAMER";
    EdidBuilder oneAxis{121, 0, 0, 0};  // EDID 1.4: a landscape aspect ratio, no size
    const Case cases[] = {
        {"15.6 inch", kLaptop156, 1920, 1080, GlassVerdict::Plausible, 344, 194},
        {"55 inch", kDisplay55, 3840, 2160, GlassVerdict::Plausible, 1210, 680},
        {"7 inch", kPanel7, 800, 480, GlassVerdict::Plausible, 154, 86},
        {"55 inch turned", kDisplay55, 2160, 3840, GlassVerdict::Plausible, 680, 1210},
        {"0 x 0", zero, 1920, 1080, GlassVerdict::NoSize, 0, 0},
        {"projector", projector, 1024, 768, GlassVerdict::NoSize, 0, 0},
        {"one axis", oneAxis, 1920, 1080, GlassVerdict::NoSize, 0, 0},
        {"16:9 at 5:4", kDisplay55, 1280, 1024, GlassVerdict::AspectDisagrees, 0, 0},
        {"aspect as size", aspectOnly, 1920, 1080, GlassVerdict::PitchImplausible, 0, 0},
        {"55 inch at 180 lines", kDisplay55, 320, 180, GlassVerdict::PitchImplausible, 0, 0},
    };
    for (const Case& c : cases) {
        double width = 0.0, height = 0.0;
        EXPECT_EQ(JudgeMonitorGlass(Parse(c.Edid.Bytes()), c.Width, c.Height, width, height),
                  c.Verdict)
            << c.What;
        EXPECT_EQ(width, c.WidthMm) << c.What;
        EXPECT_EQ(height, c.HeightMm) << c.What;
    }
    std::vector<uint8_t> corrupt = kLaptop156.Bytes();
    corrupt[127] ^= 0xFF;
    double width = 0.0, height = 0.0;
    EXPECT_EQ(JudgeMonitorGlass(Parse(corrupt), 1920, 1080, width, height), GlassVerdict::NoEdid);
}

TEST(MonitorGlass, TheFilesSizeStandsWhenTheMonitorsIsImplausible) {
    const AreaGlass good = GlassOfMonitor(Parse(kDisplay55.Bytes()), 3840, 2160, 306.4, 230.4);
    EXPECT_TRUE(good.FromMonitor);
    EXPECT_EQ(good.WidthMm, 1210.0);
    EXPECT_EQ(GlassSizeText(good), "1210.0 x 680.0 mm (monitor EDID)");
    const AreaGlass wrong = GlassOfMonitor(Parse(kDisplay55.Bytes()), 1280, 1024, 306.4, 230.4);
    EXPECT_FALSE(wrong.FromMonitor);
    EXPECT_EQ(GlassSizeText(wrong), "306.4 x 230.4 mm (Tarnix.cfg)");
    EXPECT_EQ(wrong.Maker, "ABC");  // the monitor is still known
    const AreaGlass none = GlassOfMonitor(EdidInfo(), 1280, 1024, 306.4, 230.4);
    EXPECT_EQ(GlassHeaderLines(none), (std::vector<std::pair<std::string, std::string>>{
                                          {"Glass size", "306.4 x 230.4 mm (Tarnix.cfg)"}}));
}

// A 55-inch 3840 x 2160 monitor tiled 2 x 2 into full-HD areas beside a 15.6-inch one without an
// EDID: each tile gets a quarter of the glass, the other monitor the file's size.
TEST(AreaGlass, TilesShareTheirMonitorsGlassUnderGlassSizeMonitor) {
    std::vector<MonitorDescription> monitors = {{{0, 0, 3840, 2160}, kDisplay55.Bytes()},
                                                {{3840, 0, 5760, 1080}, {}}};
    CalibrationConfig config;
    config.NumGridRows = config.NumGridColumns = 2;
    config.NumGridPoints = config.TargetCount = 4;
    config.Targets.assign(4 + kMiniTargetSlots, TargetPoint{0.25, 0.75});
    CalibrationAreaList list;
    ASSERT_EQ(BuildAreaList(list, {monitors[0].Rect, monitors[1].Rect}, {{1920, 1080}}, config), 5);
    ControllerParameters parameters;
    parameters.GlassFromMonitor = true;
    AssignAreaGlass(list, monitors, parameters);
    int tiles = 0;
    for (const CalibrationArea& area : list.Areas) {
        if (area.MonitorNumber != 1) continue;
        ++tiles;
        EXPECT_TRUE(area.Glass.FromMonitor);
        EXPECT_DOUBLE_EQ(area.Glass.WidthMm, 605.0);
        EXPECT_DOUBLE_EQ(area.Glass.HeightMm, 340.0);
        EXPECT_EQ(area.Glass.Model, "KIOSK 55");
    }
    EXPECT_EQ(tiles, 4);
    const CalibrationArea& other = list.Areas.back();
    EXPECT_FALSE(other.Glass.FromMonitor);
    EXPECT_EQ(GlassSizeText(other.Glass), "306.4 x 230.4 mm (Tarnix.cfg)");

    // A pass on a tile measures in its share; a pass on the other monitor in the file's size.
    ControllerParameters pass = parameters;
    UseAreaGlass(pass, list.Areas.front());
    EXPECT_DOUBLE_EQ(pass.ScreenWidth, 605.0);
    UseAreaGlass(pass, other);
    EXPECT_DOUBLE_EQ(pass.ScreenWidth, 306.4);
    EXPECT_DOUBLE_EQ(pass.ScreenHeight, 230.4);

    // Without the key every area keeps the file's size, whatever the EDID says.
    parameters.GlassFromMonitor = false;
    AssignAreaGlass(list, monitors, parameters);
    for (const CalibrationArea& area : list.Areas) {
        EXPECT_FALSE(area.Glass.FromMonitor);
        EXPECT_EQ(area.Glass.WidthMm, 306.4);
    }
}

}  // namespace
