// The command-line parser: -N, -S, their numbers, and the letters that stop start-up.
#include "config/command_line.h"

#include <gtest/gtest.h>

TEST(CommandLine, EmptyAndPlainPathsLetStartUpGoOn) {
    CommandLineOptions options;
    EXPECT_TRUE(ParseCommandLine(L"", options));
    EXPECT_TRUE(ParseCommandLine(nullptr, options));
    EXPECT_TRUE(ParseCommandLine(L"\"C:\\Program Files\\Zeph\\Touch\\Tarnix.exe\"", options));
    EXPECT_FALSE(options.ExplicitTarget);
    EXPECT_EQ(options.OptionMonitor, 0);
    EXPECT_EQ(options.ScreenIndex, -1);
}

TEST(CommandLine, MonitorAndScreenAreBothSet) {
    CommandLineOptions options;
    ASSERT_TRUE(ParseCommandLine(L"\"C:\\Tarnix.exe\" -N 2 -S 0", options));
    EXPECT_TRUE(options.HasMonitor);
    EXPECT_EQ(options.OptionMonitor, 2);
    EXPECT_TRUE(options.HasScreen);
    EXPECT_EQ(options.ScreenIndex, 0);
    EXPECT_TRUE(options.ExplicitTarget);
}

TEST(CommandLine, LowerCaseLettersBlanksAndMissingNumbers) {
    CommandLineOptions options;
    ASSERT_TRUE(ParseCommandLine(L"x.exe -n\t 13 -s7", options));
    EXPECT_EQ(options.OptionMonitor, 13);
    EXPECT_EQ(options.ScreenIndex, 7);

    CommandLineOptions none;
    ASSERT_TRUE(ParseCommandLine(L"x.exe -N -S", none));
    EXPECT_TRUE(none.HasMonitor);
    EXPECT_EQ(none.OptionMonitor, 0);
    EXPECT_TRUE(none.HasScreen);
    EXPECT_EQ(none.ScreenIndex, 0);
}

TEST(CommandLine, AnyOtherLetterStops) {
    CommandLineOptions options;
    EXPECT_FALSE(ParseCommandLine(L"C:\\tools-x\\Tarnix.exe", options));
    EXPECT_FALSE(ParseCommandLine(L"Tarnix.exe -P", options));
    EXPECT_FALSE(ParseCommandLine(L"Tarnix.exe -N 1 -- ", options));
    CommandLineOptions later;
    EXPECT_FALSE(ParseCommandLine(L"Tarnix.exe -N 3 -q", later));
    EXPECT_EQ(later.OptionMonitor, 3);  // read before the stop
}

TEST(CommandLine, VerifyTakesNoNumberAndKeepsTheScreen) {
    CommandLineOptions options;
    EXPECT_TRUE(ParseCommandLine(L"Tarnix.exe -v -S 1", options));
    EXPECT_TRUE(options.Verify);
    EXPECT_EQ(options.ScreenIndex, 1);
    CommandLineOptions plain;
    EXPECT_TRUE(ParseCommandLine(L"Tarnix.exe -S 1", plain));
    EXPECT_FALSE(plain.Verify);
    CommandLineOptions other;
    EXPECT_FALSE(ParseCommandLine(L"Tarnix.exe -V -x", other));
    EXPECT_TRUE(other.Verify);  // read before the stop
}

TEST(CommandLine, TrailingDashEndsTheText) {
    CommandLineOptions options;
    EXPECT_TRUE(ParseCommandLine(L"Tarnix.exe -S 1 -", options));
    EXPECT_EQ(options.ScreenIndex, 1);
}

TEST(CommandLine, HugeNumbersAreClampedAndNumbersHaveNoSign) {
    CommandLineOptions options;
    ASSERT_TRUE(ParseCommandLine(L"t -N 99999999999999999999 -S +4", options));
    EXPECT_EQ(options.OptionMonitor, INT32_MAX);
    EXPECT_EQ(options.ScreenIndex, 0);  // '+' is no digit: no number

    // The '-' after the letter starts the next option, "-2", which stops start-up.
    for (const wchar_t* line : {L"t -N -2", L"t -S -4", L"t -S\t-1 -N 1"}) {
        CommandLineOptions signed_;
        EXPECT_FALSE(ParseCommandLine(line, signed_));
        EXPECT_TRUE(signed_.ExplicitTarget);
        EXPECT_EQ(signed_.OptionMonitor, 0);
        EXPECT_LE(signed_.ScreenIndex, 0);
    }
}
