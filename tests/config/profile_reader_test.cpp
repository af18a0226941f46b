// The profile lookup table against this build's reader, and the value conversions.
#include <gtest/gtest.h>

#include <cmath>
#include <cwchar>
#include <string>

#include "config/profile_values.h"
#include "platform/platform.h"
#include "platform/profile_size.h"
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

// A file over the limit is refused whole, never read in part (a value at the cut used to be read
// short: MaxFitResidual=12.5 as 12); a file of exactly the limit is read to its last byte.
TEST(ProfileLookup, AFileOverTheLimitIsRefusedWhole) {
    const std::string head = "[TARNIX-APP]\r\nK=1\r\n;";
    const std::string tail = "\r\nMaxFitResidual=12.5";
    const size_t filler = size_t(kMaxProfileBytes) - head.size() - tail.size();
    TempCfgFile file(head + std::string(filler, 'x') + tail);
    wchar_t out[20];
    PlatformReadProfileString(L"TARNIX-APP", L"MaxFitResidual", L"none", out, 20, file.Path());
    EXPECT_EQ(std::wstring(out), L"12.5");
    EXPECT_EQ(OversizedProfileBytes(file.Path()), 0u);

    file.Write(head + std::string(filler + 4, 'x') + tail);
    for (const wchar_t* key : {L"K", L"MaxFitResidual"}) {
        PlatformReadProfileString(L"TARNIX-APP", key, L"none", out, 20, file.Path());
        EXPECT_EQ(std::wstring(out), L"none");
    }
    EXPECT_EQ(OversizedProfileBytes(file.Path()), kMaxProfileBytes + 4);
    EXPECT_NE(OversizedProfileText(file.Path(), kMaxProfileBytes + 4).find(L"4194308 bytes"),
              std::wstring::npos);
}

#endif

// A 10,000-point configuration with targets and touches, saved as UTF-16, fits and is read whole.
TEST(ProfileLookup, ATenThousandPointConfigurationInUtf16Fits) {
    std::wstring text = L"[TARNIX-APP]\r\nNumGridRows=100\r\nNumGridPoints=10000\r\n";
    wchar_t line[64];
    for (int i = 0; i < 10000; ++i) {
        for (const wchar_t* axis : {L"X", L"Y"}) {
            std::swprintf(line, 64, L"TargetGrid%ls%04d=0.%08d\r\n", axis, i, 5 + 9999 * i);
            text += line;
            std::swprintf(line, 64, L"TouchGrid%ls%04d=%d.2500\r\n", axis, i, 100 + i % 3800);
            text += line;
        }
    }
    std::string bytes = "\xff\xfe";
    for (wchar_t c : text) bytes += {char(c & 0xff), char((c >> 8) & 0xff)};
    EXPECT_GT(bytes.size(), 2u * 1024 * 1024);  // over the old limit, where it was cut
    EXPECT_LT(bytes.size(), kMaxProfileBytes);
    TempCfgFile file(bytes);
    wchar_t out[40];
    PlatformReadProfileString(L"TARNIX-APP", L"TouchGridY9999", L"none", out, 40, file.Path());
    EXPECT_EQ(std::wstring(out), L"2499.2500");
}

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
