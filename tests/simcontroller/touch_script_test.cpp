// Tests of the touch script parser: the three kinds of line, options, comments and rejected lines.
#include "simcontroller/touch_script.h"

#include <gtest/gtest.h>

TEST(TouchScript, ParsesRawPointAndRedoLinesInOrder) {
    const std::string text =
        "# a pass\n"
        "raw 0 32768 1000\n"
        "  point 1 512.5 384 z=200 delay=150\r\n"
        "; comment\n"
        "\n"
        "redo 0 delay=2000\n"
        "raw 2 0 65535 z=7 after=30\n";
    std::vector<ScriptEntry> entries;
    std::string error;
    ASSERT_TRUE(ParseTouchScript(text, &entries, &error)) << error;
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[0].action, ScriptAction::RawTouch);
    EXPECT_EQ(entries[0].screen, 0);
    EXPECT_EQ(entries[0].x, 32768);
    EXPECT_EQ(entries[0].y, 1000);
    EXPECT_EQ(entries[0].z, -1);
    EXPECT_EQ(entries[0].delayMs, -1);
    EXPECT_EQ(entries[0].lineNumber, 2);
    EXPECT_EQ(entries[1].action, ScriptAction::PointTouch);
    EXPECT_EQ(entries[1].screen, 1);
    EXPECT_DOUBLE_EQ(entries[1].x, 512.5);
    EXPECT_EQ(entries[1].z, 200);
    EXPECT_EQ(entries[1].delayMs, 150);
    EXPECT_EQ(entries[2].action, ScriptAction::Redo);
    EXPECT_EQ(entries[2].delayMs, 2000);
    EXPECT_EQ(entries[3].z, 7);
    EXPECT_EQ(entries[3].y, 65535);
    EXPECT_EQ(entries[3].afterMs, 30);
    EXPECT_EQ(entries[1].afterMs, -1);
}

TEST(TouchScript, RejectsBadLinesNamingTheLine) {
    const char* bad[] = {
        "raw 0 70000 5\n",              // beyond 16 bits
        "raw 0 1.5 5\n",                // raw counts are whole
        "raw 0 100\n",                  // missing Y
        "point 0 abc 5\n",              // not a number
        "redo\n",                       // no screen
        "redo 0 z=5\n",                 // Z belongs to touches
        "raw 0 1 2 speed=3\n",          // unknown option
        "tap 0 1 2\n",                  // unknown word
        "raw -1 1 2\n",                 // no such screen index
        "raw 0 1 2 delay=-5\n",         // negative delay
        "raw 0 1 2 delay=5 after=5\n",  // a touch either waits for a caller or does not
        "redo 0 after=5\n",             // after belongs to touches
    };
    for (const char* line : bad) {
        std::vector<ScriptEntry> entries;
        std::string error;
        const std::string text = std::string("raw 0 1 1\n") + line;
        EXPECT_FALSE(ParseTouchScript(text, &entries, &error)) << line;
        EXPECT_EQ(error.rfind("line 2:", 0), 0u) << error;
    }
}

TEST(TouchScript, EmptyTextIsAnEmptyScript) {
    std::vector<ScriptEntry> entries{ScriptEntry{}};
    std::string error;
    EXPECT_TRUE(ParseTouchScript("# nothing\n\n", &entries, &error));
    EXPECT_TRUE(entries.empty());
}
