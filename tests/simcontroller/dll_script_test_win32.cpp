// Tests of QuvaIntf.dll under Wine with a script source: a pass, releases, diagnostics, records,
// exports.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <cstring>
#include <future>
#include <thread>

#include "driver/quva_driver.h"
#include "tests/simcontroller/win32_test_support.h"

namespace {

constexpr int kPassTouches = 25;

std::string PassScript() {
    std::string script = "# one pass of a 5 x 5 grid\r\n";
    for (int i = 0; i < kPassTouches; ++i)
        script += "raw 0 " + std::to_string(4000 + 2000 * i) + " " +
                  std::to_string(60000 - 2000 * i) + " z=" + std::to_string(100 + i) + "\r\n";
    return script + "redo 0 delay=20\r\n";  // asks Tarnix for a redo once the pass is over
}

// The settings are in place before the library's first call.
const std::filesystem::path kFolder =
    UseSimSettings("dll-script",
                   "TouchSource=script\r\nControllerType=7\r\nDiagnosticsWord4=3\r\n"
                   "CalibrationByte=0x41\r\nScreenCount=2\r\n",
                   PassScript());

// The redo event as Tarnix's worker thread holds it (auto-reset), made before the script runs.
const HANDLE kRedoEvent = CreateEventW(nullptr, FALSE, FALSE, L"QuvaReDoCalEvent4683");

}  // namespace

TEST(QuvaIntfDll, ExportsTheTwentyFunctionsByPlainName) {
    HMODULE library = GetModuleHandleW(L"QuvaIntf.dll");
    ASSERT_NE(library, nullptr);
    const char* names[] = {"QuvaIF_EnumTouchScreen",
                           "QuvaIF_GetMonitorCount",
                           "QuvaIF_GetScreenCntForMonitor",
                           "QuvaIF_GetMonitorNumberByScreenIndex",
                           "QuvaIF_GetTouchState",
                           "QuvaIF_ClearAllGetPoint",
                           "QuvaIF_GetFirstCalTouch",
                           "QuvaIF_GetNextCalTouch",
                           "QuvaIF_ReDoCalTouch",
                           "QuvaIF_GetDiagnosticsData",
                           "QuvaIF_MakeBeep",
                           "QuvaIF_GetClipRectangles",
                           "QuvaIF_SetVirtualFullScreen",
                           "QuvaIF_WriteCalibrationData",
                           "QuvaIF_EnableScreen",
                           "QuvaIF_DisableTouch",
                           "QuvaIF_AcquireTalksetLock",
                           "QuvaIF_FlushControllerTalksetBuffer",
                           "QuvaIF_ReleaseTalksetLock",
                           "QuvaIF_CloseDeviceHandles"};
    for (const char* name : names) EXPECT_NE(GetProcAddress(library, name), nullptr) << name;
}

TEST(QuvaIntfDll, AScriptedPassDeliversTwentyFiveTouchesOnePerCall) {
    EXPECT_EQ(QuvaIF_EnumTouchScreen(), 2);
    TouchSample sample{};
    ASSERT_EQ(QuvaIF_GetFirstCalTouch(&sample), 0);
    EXPECT_EQ(sample.X, 4000);
    EXPECT_EQ(sample.Y, 60000);
    EXPECT_EQ(sample.Z, 100);
    for (int i = 1; i < kPassTouches; ++i) {
        std::memset(&sample, 0, sizeof sample);
        ASSERT_EQ(QuvaIF_GetNextCalTouch(0, &sample), 0) << i;
        EXPECT_EQ(sample.X, 4000 + 2000 * i);
        EXPECT_EQ(sample.Y, 60000 - 2000 * i);
        EXPECT_EQ(sample.Z, 100 + i);
    }
    EXPECT_EQ(CountLinesWith(kFolder / "log" / "Touches.log", "delivered"), 25u);
    EXPECT_EQ(CountLinesWith(kFolder / "log" / "Calls.log", "QuvaIF_GetNextCalTouch(screen=0) = 0"),
              24u);
}

TEST(QuvaIntfDll, ClearAllGetPointReleasesABlockedCallFromAnotherThread) {
    TouchSample sample{};
    std::promise<std::chrono::steady_clock::time_point> returned;
    std::thread caller([&] {
        const int32_t result = QuvaIF_GetNextCalTouch(0, &sample);
        returned.set_value(std::chrono::steady_clock::now());
        EXPECT_EQ(result, -1);
    });
    std::this_thread::sleep_for(
        std::chrono::milliseconds(200));  // the script is used up: it blocks
    auto future = returned.get_future();
    EXPECT_EQ(future.wait_for(std::chrono::milliseconds(0)), std::future_status::timeout);
    const auto start = std::chrono::steady_clock::now();
    QuvaIF_ClearAllGetPoint(0);
    ASSERT_EQ(future.wait_for(std::chrono::seconds(10)), std::future_status::ready);
    const double ms = std::chrono::duration<double, std::milli>(future.get() - start).count();
    std::printf("blocked call released %.2f ms after QuvaIF_ClearAllGetPoint\n", ms);
    EXPECT_LT(ms, 1000.0);
    caller.join();
}

TEST(QuvaIntfDll, DisableTouchReleasesBothKindsOfTouchCall) {
    TouchSample first{}, next{};
    auto a = std::async(std::launch::async, [&] { return QuvaIF_GetFirstCalTouch(&first); });
    auto b = std::async(std::launch::async, [&] { return QuvaIF_GetNextCalTouch(1, &next); });
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    QuvaIF_DisableTouch(0, -1);
    ASSERT_EQ(a.wait_for(std::chrono::seconds(10)), std::future_status::ready);
    ASSERT_EQ(b.wait_for(std::chrono::seconds(10)), std::future_status::ready);
    EXPECT_EQ(a.get(), -1);
    EXPECT_EQ(b.get(), -1);
}

TEST(QuvaIntfDll, DiagnosticsReportTheConfiguredBytes) {
    DiagnosticsRecord record{};
    EXPECT_EQ(QuvaIF_GetDiagnosticsData(&record, 0), 1);
    const auto* bytes = reinterpret_cast<const uint8_t*>(&record);
    EXPECT_EQ(bytes[701], '7');
    int32_t word = 0;
    std::memcpy(&word, bytes + 4, sizeof word);
    EXPECT_EQ(word, 3);
    EXPECT_EQ(bytes[707], 0x41);
}

TEST(QuvaIntfDll, AWrittenRecordIsStoredByteForByte) {
    CalibrationDataRecord record;
    auto* bytes = reinterpret_cast<uint8_t*>(&record);
    for (size_t i = 0; i < sizeof record; ++i) bytes[i] = static_cast<uint8_t>(i * 7 + 3);
    record.ScreenIndex = 1;
    EXPECT_EQ(QuvaIF_WriteCalibrationData(&record, 0x41), 1);
    const std::string stored = ReadWholeFile(kFolder / "log" / "CalibrationData-1.bin");
    ASSERT_EQ(stored.size(), sizeof record);
    EXPECT_EQ(std::memcmp(stored.data(), &record, sizeof record), 0);
    const std::string history = ReadWholeFile(kFolder / "log" / "CalibrationHistory.bin");
    ASSERT_GE(history.size(), sizeof record);
    EXPECT_EQ(std::memcmp(history.data() + history.size() - sizeof record, &record, sizeof record),
              0);
}

TEST(QuvaIntfDll, CommitAndTearDownCallsAreLoggedByField) {
    ClipRecord clip{};
    clip.MonitorNumber = 1;
    EXPECT_EQ(QuvaIF_GetClipRectangles(&clip), 1);
    VirtualScreenRecord screen{0, 1023, 1, 767, 1, 0, 0, 2};
    EXPECT_EQ(QuvaIF_SetVirtualFullScreen(&screen), 1);
    EXPECT_EQ(QuvaIF_EnableScreen(0), 1);
    EXPECT_EQ(QuvaIF_AcquireTalksetLock(0, 3), 1);
    EXPECT_EQ(QuvaIF_FlushControllerTalksetBuffer(0), 1);
    EXPECT_EQ(QuvaIF_ReleaseTalksetLock(0), 1);
    EXPECT_EQ(QuvaIF_ReDoCalTouch(0), 1);
    EXPECT_EQ(QuvaIF_MakeBeep(1000, 100), 1);
    const std::filesystem::path calls = kFolder / "log" / "Calls.log";
    EXPECT_EQ(CountLinesWith(calls, "QuvaIF_GetClipRectangles(MonitorNumber=1) = 1"), 1u);
    EXPECT_EQ(
        CountLinesWith(calls, "ScreenIndex=0 RightEdge=1023 LeftEdge=1 BottomEdge=767 TopEdge=1"),
        1u);
    EXPECT_EQ(CountLinesWith(calls, "QuvaIF_MakeBeep(frequency=1000, duration=100) = 1"), 1u);
    EXPECT_EQ(QuvaIF_CloseDeviceHandles(), 1);
}
