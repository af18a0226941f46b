// DebugPrint on the portable build: the switch, %s as wide text, line ends and truncation.
#include "platform/debug_trace.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "platform/trace_format.h"
#include "tests/foundation/portable_test_support.h"

namespace {

using testing::internal::CaptureStderr;
using testing::internal::GetCapturedStderr;

std::string TraceWith(const std::string& enableDebug) {
    ScratchFolders folders;
    if (!enableDebug.empty()) folders.EnableTracing(enableDebug);
    CaptureStderr();
    DebugPrint(L"Tarnix.exe: %s %d\n", L"hello", 42);
    return GetCapturedStderr();
}

TEST(DebugPrint, OnlyEnableDebugOneTraces) {
    EXPECT_EQ(TraceWith("1"), "Tarnix.exe: hello 42\n");
    EXPECT_EQ(TraceWith("0"), "");
    EXPECT_EQ(TraceWith("2"), "");
    EXPECT_EQ(TraceWith(""), "");  // no settings file at all
}

TEST(DebugPrint, SwitchIsReadOncePerProcess) {
    ScratchFolders folders;
    folders.EnableTracing("1");
    CaptureStderr();
    DebugPrint(L"first");
    folders.EnableTracing("0");
    DebugPrint(L" second");
    EXPECT_EQ(GetCapturedStderr(), "first second");
    EXPECT_EQ(ReadEnableDebug(), 0u);
}

TEST(DebugPrint, LineEndOnlyWhenTheFormatHasOne) {
    ScratchFolders folders;
    folders.EnableTracing("1");
    CaptureStderr();
    DebugPrint(L"RegCopyValues: Success copy key cnt%d", 5);
    DebugPrint(L"|LocalAlloc Error %u\n", 8u);
    EXPECT_EQ(GetCapturedStderr(), "RegCopyValues: Success copy key cnt5|LocalAlloc Error 8\n");
}

TEST(DebugPrint, ConcurrentFirstCallsKeepEveryLineWhole) {
    ScratchFolders folders;
    folders.EnableTracing("1");
    CaptureStderr();
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([t] {
            for (int i = 0; i < 50; ++i) DebugPrint(L"thread %d line %d %s\n", t, i, L"done");
        });
    }
    for (auto& thread : threads) thread.join();
    std::string all = GetCapturedStderr();
    size_t lines = 0;
    for (size_t start = 0, end; (end = all.find('\n', start)) != std::string::npos;
         start = end + 1, ++lines) {
        std::string line = all.substr(start, end - start);
        EXPECT_EQ(line.rfind("thread ", 0), 0u) << line;
        EXPECT_EQ(line.substr(line.size() - 5), " done") << line;
    }
    EXPECT_EQ(lines, 200u);
}

TEST(TraceFormat, PlainStringConversionsBecomeWide) {
    EXPECT_EQ(WidenStringConversions(L"a %s b"), L"a %ls b");
    EXPECT_EQ(WidenStringConversions(L"%-12s|%.3s"), L"%-12ls|%.3ls");
    EXPECT_EQ(WidenStringConversions(L"%ls %hs %%s %d %5.2f %%"), L"%ls %hs %%s %d %5.2f %%");
    EXPECT_EQ(WidenStringConversions(L"%*s end%"), L"%*ls end%");
}

std::wstring Format(const wchar_t* format, ...) {
    va_list args;
    va_start(args, format);
    std::wstring line = FormatTraceLine(format, args);
    va_end(args);
    return line;
}

TEST(TraceFormat, LongLinesAreCutAt1023Characters) {
    std::wstring longText(5000, L'x');
    std::wstring line = Format(L"Tarnix.exe: %s", longText.c_str());
    ASSERT_EQ(line.size(), kMaxTraceLength);
    EXPECT_EQ(line.substr(0, 12), L"Tarnix.exe: ");
    EXPECT_EQ(line.back(), L'x');
    std::wstring exact(1023, L'y');
    EXPECT_EQ(Format(L"%s", exact.c_str()), exact);
}

TEST(TraceFormat, NumbersAreThirtyTwoBit) {
    EXPECT_EQ(Format(L"%d %u %d", -7, 4000000000u, 64), L"-7 4000000000 64");
}

}  // namespace
