// The profile lookup table against this build's reader, and the value conversions.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "config/platform.h"
#include "config/profile_values.h"
#include "tests/config/cfg_file.h"
#include "tests/config/profile_cases.h"

namespace {

std::string Printable(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) out += (c >= 32 && c < 127) ? char(c) : '?';
    return out;
}

TEST(ProfileLookup, EveryTableCaseGivesThePlatformsAnswer) {
    for (const ProfileCase& c : kProfileCases) {
        TempCfgFile file(c.fileBytes);
        wchar_t out[400];
        size_t count =
            PlatformReadProfileString(c.section, c.key, L"", out, c.capacity, file.Path());
        std::wstring got(out, count);
        EXPECT_EQ(got, std::wstring(c.expected)) << c.name << ": got \"" << Printable(got) << "\"";
        EXPECT_EQ(out[count], L'\0') << c.name;
    }
}

TEST(ProfileLookup, MissingFileGivesTheDefault) {
    wchar_t out[20];
    std::wstring missing = MissingCfgPath();
    EXPECT_EQ(PlatformReadProfileString(L"S", L"K", L"dflt", out, 20, missing.c_str()), 4u);
    EXPECT_EQ(std::wstring(out), L"dflt");
}

TEST(ProfileLookup, FileEditedBetweenReadsIsReadAgain) {
    TempCfgFile file("[TARNIX-APP]\r\nK=1\r\n");
    wchar_t out[20];
    PlatformReadProfileString(L"TARNIX-APP", L"K", L"", out, 20, file.Path());
    EXPECT_EQ(std::wstring(out), L"1");
    file.Write("[TARNIX-APP]\r\nK=22\r\n");
    PlatformReadProfileString(L"TARNIX-APP", L"K", L"", out, 20, file.Path());
    EXPECT_EQ(std::wstring(out), L"22");
}

#ifndef _WIN32
// The portable reader decodes a file once per reading pass: an edit made during the pass is seen
// by the next pass, not by the rest of this one.
TEST(ProfileLookup, OneDecodingPerReadingPass) {
    TempCfgFile file("[TARNIX-APP]\r\nK=1\r\n");
    wchar_t out[20];
    {
        ProfileReadingPass pass;
        PlatformReadProfileString(L"TARNIX-APP", L"K", L"", out, 20, file.Path());
        file.Write("[TARNIX-APP]\r\nK=22\r\nL=3\r\n");
        ProfileReadingPass nested;
        PlatformReadProfileString(L"tarnix-app", L"k", L"", out, 20, file.Path());
        EXPECT_EQ(std::wstring(out), L"1");
        EXPECT_EQ(PlatformReadProfileString(L"TARNIX-APP", L"L", L"d", out, 20, file.Path()), 1u);
        EXPECT_EQ(std::wstring(out), L"d");
    }
    ProfileReadingPass next;
    PlatformReadProfileString(L"TARNIX-APP", L"K", L"", out, 20, file.Path());
    EXPECT_EQ(std::wstring(out), L"22");
}

// The portable reader reads the first 2 MB of a file: a key beyond them is not seen.
TEST(ProfileLookup, OnlyTheFirstTwoMegabytesAreRead) {
    TempCfgFile file("[TARNIX-APP]\r\nK=1\r\n;" + std::string(2 * 1024 * 1024, 'x') +
                     "\r\nL=2\r\n");
    wchar_t out[20];
    PlatformReadProfileString(L"TARNIX-APP", L"K", L"", out, 20, file.Path());
    EXPECT_EQ(std::wstring(out), L"1");
    PlatformReadProfileString(L"TARNIX-APP", L"L", L"none", out, 20, file.Path());
    EXPECT_EQ(std::wstring(out), L"none");
}
#endif

TEST(IntegerConversion, TakesTheLeadingPart) {
    EXPECT_EQ(ConvertLeadingInteger(L"42"), 42);
    EXPECT_EQ(ConvertLeadingInteger(L"  -17xyz"), -17);
    EXPECT_EQ(ConvertLeadingInteger(L"+8"), 8);
    EXPECT_EQ(ConvertLeadingInteger(L"3.9"), 3);
    EXPECT_EQ(ConvertLeadingInteger(L"abc"), 0);
    EXPECT_EQ(ConvertLeadingInteger(L"- 5"), 0);
    EXPECT_EQ(ConvertLeadingInteger(L"0x10"), 0);
}

TEST(IntegerConversion, SaturatesAtThe32BitLimits) {
    EXPECT_EQ(ConvertLeadingInteger(L"99999999999999999999"), 2147483647);
    EXPECT_EQ(ConvertLeadingInteger(L"-99999999999999999999"), -2147483647 - 1);
    EXPECT_EQ(ConvertLeadingInteger(L"-2147483648"), -2147483647 - 1);
}

TEST(RealConversion, TakesTheLeadingPart) {
    EXPECT_DOUBLE_EQ(ConvertLeadingReal(L"0.05"), 0.05);
    EXPECT_DOUBLE_EQ(ConvertLeadingReal(L" -1.5e2mm"), -150.0);
    EXPECT_DOUBLE_EQ(ConvertLeadingReal(L".5"), 0.5);
    EXPECT_DOUBLE_EQ(ConvertLeadingReal(L"7."), 7.0);
    EXPECT_DOUBLE_EQ(ConvertLeadingReal(L"2e"), 2.0);
    EXPECT_DOUBLE_EQ(ConvertLeadingReal(L"3,5"), 3.0);
    EXPECT_EQ(ConvertLeadingReal(L"230.4"), 230.4);
}

TEST(RealConversion, NoNumberGivesZero) {
    EXPECT_EQ(ConvertLeadingReal(L""), 0.0);
    EXPECT_EQ(ConvertLeadingReal(L"."), 0.0);
    EXPECT_EQ(ConvertLeadingReal(L"nan"), 0.0);
    EXPECT_EQ(ConvertLeadingReal(L"inf"), 0.0);
    EXPECT_EQ(ConvertLeadingReal(L"0x1p3"), 0.0);
}

TEST(RealConversion, OverflowIsReportedNotFinite) {
    bool finite = true;
    ConvertLeadingReal(L"1e999", &finite);
    EXPECT_FALSE(finite);
    EXPECT_EQ(ConvertLeadingReal(L"1e-999", &finite), 0.0);
    EXPECT_TRUE(finite);
}

TEST(CfgValues, EmptyValueTakesTheDefault) {
    TempCfgFile file;
    file.WriteKeys("A=\r\nB=  \r\nC=12\r\n");
    EXPECT_EQ(ReadCfgInteger(file.Path(), L"A", 5), 5);
    EXPECT_EQ(ReadCfgInteger(file.Path(), L"B", 6), 6);
    EXPECT_EQ(ReadCfgInteger(file.Path(), L"C", 6), 12);
    EXPECT_TRUE(ReadCfgFlag(file.Path(), L"A", true));
    EXPECT_TRUE(ReadCfgFlag(file.Path(), L"C", false));
}

TEST(CfgValues, OutOfRangeRealCountsAsAbsent) {
    TempCfgFile file;
    file.WriteKeys("R=-1e400\r\n");
    EXPECT_EQ(ReadCfgReal(file.Path(), L"R", 2.5), 2.5);
}

TEST(CfgValues, NumberedKeysHaveTwoDigitsAtLeast) {
    wchar_t key[64];
    FormatNumberedKey(key, L"TargetGridX%02d", 3);
    EXPECT_EQ(std::wstring(key), L"TargetGridX03");
    FormatNumberedKey(key, L"TouchGridY%02d", 123);
    EXPECT_EQ(std::wstring(key), L"TouchGridY123");
}

}  // namespace
