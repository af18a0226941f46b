// DebugPrint on Win32: the EnableDebug switch in HKLM and the debugger channel.
#include <gtest/gtest.h>

#include <string>

#include "platform/debug_trace.h"
#include "platform/trace_format.h"
#include "tests/foundation/win32_test_support.h"

namespace {

class DebugPrintChannel : public testing::Test {
  protected:
    void TearDown() override { SetEnableDebug(0, true); }
};

std::wstring TraceOnceWith(DWORD value, bool absent = false) {
    SetEnableDebug(value, absent);
    DebuggerChannelCapture capture;
    DebugPrint(L"Tarnix.exe: %s=%d\n", L"EnableDebug", static_cast<int>(value));
    return capture.Joined();
}

TEST_F(DebugPrintChannel, OnlyOneEnablesTraces) {
    EXPECT_EQ(TraceOnceWith(1), L"Tarnix.exe: EnableDebug=1\n");
    EXPECT_EQ(TraceOnceWith(0), L"");
    EXPECT_EQ(TraceOnceWith(2), L"");
    EXPECT_EQ(TraceOnceWith(0, true), L"");
}

TEST_F(DebugPrintChannel, ReadEnableDebugReadsTheMachineValue) {
    SetEnableDebug(7);
    EXPECT_EQ(ReadEnableDebug(), 7u);
    SetEnableDebug(0, true);
    EXPECT_EQ(ReadEnableDebug(), 0u);
}

TEST_F(DebugPrintChannel, EachCallIsOneStringEndingOnlyWhereTheFormatEnds) {
    SetEnableDebug(1);
    DebuggerChannelCapture capture;
    DebugPrint(L"RegCopyValues: Success copy key cnt%d", 5);
    DebugPrint(L"LocalAlloc Error %u\n", 8u);
    std::vector<std::wstring> lines = capture.Lines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], L"RegCopyValues: Success copy key cnt5");
    EXPECT_EQ(lines[1], L"LocalAlloc Error 8\n");
}

TEST_F(DebugPrintChannel, OverlongTraceIsCutTo1023Characters) {
    SetEnableDebug(1);
    DebuggerChannelCapture capture;
    std::wstring longText(4000, L'q');
    DebugPrint(L"Tarnix.exe: %s", longText.c_str());
    std::vector<std::wstring> lines = capture.Lines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].size(), kMaxTraceLength);
    EXPECT_EQ(lines[0].substr(0, 13), L"Tarnix.exe: q");
}

}  // namespace
