// The driver version rule and the language-id table.
#include <gtest/gtest.h>

#include <cwchar>

#include "config/language_table.h"
#include "config/version_check.h"

TEST(DriverVersion, LeadingDigitsAreComparedWithFour) {
    EXPECT_TRUE(IsDriverVersionTooOld(L"3.9"));
    EXPECT_FALSE(IsDriverVersionTooOld(L"4.0"));
    EXPECT_FALSE(IsDriverVersionTooOld(L"4.2.0.17"));
    EXPECT_FALSE(IsDriverVersionTooOld(L"10.1"));
    EXPECT_EQ(LeadingVersionNumber(L"10.1"), 10);
    EXPECT_EQ(LeadingVersionNumber(L"39"), 39);  // no separator: all digits count
}

TEST(DriverVersion, MissingOrDigitlessTextIsTooOld) {
    EXPECT_TRUE(IsDriverVersionTooOld(nullptr));
    EXPECT_TRUE(IsDriverVersionTooOld(L""));
    EXPECT_TRUE(IsDriverVersionTooOld(L"v4.0"));
    EXPECT_EQ(LeadingVersionNumber(L"99999999999999.0"), INT32_MAX);
}

TEST(LanguageTable, EveryLanguageHasItsSuffix) {
    EXPECT_STREQ(LanguageSuffixForId(L"0409"), L"ENG");
    EXPECT_STREQ(LanguageSuffixForId(L"2c09"), L"ENG");
    EXPECT_STREQ(LanguageSuffixForId(L"040c"), L"FRE");
    EXPECT_STREQ(LanguageSuffixForId(L"140c"), L"FRE");
    EXPECT_STREQ(LanguageSuffixForId(L"0407"), L"GER");
    EXPECT_STREQ(LanguageSuffixForId(L"0810"), L"ITA");
    EXPECT_STREQ(LanguageSuffixForId(L"500a"), L"SPA");
    EXPECT_STREQ(LanguageSuffixForId(L"0411"), L"JAP");
    EXPECT_STREQ(LanguageSuffixForId(L"1404"), L"CHI");
    EXPECT_STREQ(LanguageSuffixForId(L"1004"), L"MDN");
}

TEST(LanguageTable, UnknownIdsAndOtherCaseGiveEnglish) {
    EXPECT_STREQ(LanguageSuffixForId(L"0413"), L"ENG");
    EXPECT_STREQ(LanguageSuffixForId(L"040C"), L"ENG");  // the match is case-sensitive
    EXPECT_STREQ(LanguageSuffixForId(L"040c "), L"ENG");
    EXPECT_STREQ(LanguageSuffixForId(L""), L"ENG");
    EXPECT_STREQ(LanguageSuffixForId(nullptr), L"ENG");
}
