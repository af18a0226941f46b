// Translated texts with numbers, and the order in which language libraries are tried.
#include "app/text_format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "config/language_table.h"

TEST(FormatNumberText, FirstPercentDTakesTheNumber) {
    EXPECT_EQ(FormatNumberText(L"at least %d grid points", 10, 256), L"at least 10 grid points");
    EXPECT_EQ(FormatNumberText(L"%d", -7, 256), L"-7");
    EXPECT_EQ(FormatNumberText(L"%d then %d", 1, 256), L"1 then %d");
    EXPECT_EQ(FormatNumberText(L"no number", 5, 256), L"no number");
}

TEST(FormatNumberText, OtherConversionsAreKeptAsText) {
    // A library text is never used as a printf format: %s or %n cannot read or write memory.
    EXPECT_EQ(FormatNumberText(L"%s %n %d", 3, 256), L"%s %n 3");
    EXPECT_EQ(FormatNumberText(L"100%% %d", 3, 256), L"100% 3");
    EXPECT_EQ(FormatNumberText(L"trailing %", 3, 256), L"trailing %");
}

TEST(FormatNumberText, LongTextsAreCut) {
    std::wstring longText(2000, L'x');
    EXPECT_EQ(FormatNumberText(longText + L"%d", 1, 256).size(), 256u);
    EXPECT_EQ(FormatNumberText(L"%d", 123456, 3), L"123");
}

TEST(FormatWordsText, SuccessiveWordsAndNothingElse) {
    EXPECT_EQ(FormatWordsText(L"RMS %s px, max %s px", {L"0.4", L"0.8"}, 256),
              L"RMS 0.4 px, max 0.8 px");
    EXPECT_EQ(FormatWordsText(L"%s %d %n 100%% %s %s", {L"a", L"b"}, 256), L"a %d %n 100% b %s");
    EXPECT_EQ(FormatWordsText(L"%s", {std::wstring(300, L'y')}, 256).size(), 256u);
    EXPECT_EQ(DecimalText(0.35, 1), L"0.3");  // 0.35 is a little below 0.35 as a double
    EXPECT_EQ(DecimalText(12.96, 1), L"13.0");
    EXPECT_EQ(DecimalText(std::nan(""), 1), L"-");
}

// Every double is written whole, however many digits it has (1e62 and more used to overflow a
// fixed buffer and leave it unterminated); the sanitizer builds check no byte past it is read.
TEST(DecimalText, EveryDoubleWholeAndNothingPastItsBuffer) {
    const double huge = std::numeric_limits<double>::max();
    const std::wstring largest = DecimalText(huge, 1);
    EXPECT_EQ(largest.size(), 309u + 2u);
    EXPECT_EQ(largest.substr(0, 6), L"179769");
    EXPECT_EQ(largest.substr(309), L".0");
    EXPECT_EQ(DecimalText(-huge, 1).size(), 1u + 309u + 2u);
    const std::wstring e300 = DecimalText(1e300, 1);
    EXPECT_EQ(e300.size(), 301u + 2u);
    EXPECT_EQ(e300.substr(0, 17), L"10000000000000000");
    EXPECT_EQ(DecimalText(1e62, 0),
              L"100000000000000003502199685943161173046080317798311825604870144");
    EXPECT_EQ(DecimalText(std::numeric_limits<double>::denorm_min(), 1), L"0.0");
    EXPECT_EQ(DecimalText(-0.04, 1), L"-0.0");
    for (double odd :
         {std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(),
          std::numeric_limits<double>::quiet_NaN()})
        EXPECT_EQ(DecimalText(odd, 1), L"-");
    // Decimals outside 0..kMaxDecimals are taken as the nearest bound.
    EXPECT_EQ(DecimalText(2.5, -3), L"2");
    EXPECT_EQ(DecimalText(0.5, 1000).size(), 2u + size_t(kMaxDecimals));
}

TEST(ListText, CommasAndTheLanguagesWordBeforeTheLast) {
    EXPECT_EQ(ListText({L"0.6", L"0.9", L"1.1"}, L" and "), L"0.6, 0.9 and 1.1");
    EXPECT_EQ(ListText({L"0.6", L"0.9"}, L" et "), L"0.6 et 0.9");
    EXPECT_EQ(ListText({L"0.6"}, L" and "), L"0.6");
    EXPECT_EQ(ListText({}, L" and "), L"");
}

TEST(LanguageLibraries, WantedLanguageThenEnglish) {
    using Names = std::vector<std::wstring>;
    EXPECT_EQ(LanguageLibraryNames(L"040c"), (Names{L"QuvaStrings_FRE", L"QuvaStrings_ENG"}));
    EXPECT_EQ(LanguageLibraryNames(L"0411"), (Names{L"QuvaStrings_JAP", L"QuvaStrings_ENG"}));
    EXPECT_EQ(LanguageLibraryNames(L"0409"), (Names{L"QuvaStrings_ENG"}));
    EXPECT_EQ(LanguageLibraryNames(L"0413"), (Names{L"QuvaStrings_ENG"}));  // unknown id
    EXPECT_EQ(LanguageLibraryNames(nullptr), (Names{L"QuvaStrings_ENG"}));  // failed query
}
