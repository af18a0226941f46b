// Test of QuvaIntf.dll under Wine: releases racing script touches lose none and deliver none twice.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "driver/quva_driver.h"
#include "tests/simcontroller/win32_test_support.h"

namespace {

constexpr int kTouches = 400;

std::string RaceScript() {
    std::string script;
    for (int i = 0; i < kTouches; ++i) script += "raw 0 " + std::to_string(i) + " 7\r\n";
    return script;
}

const std::filesystem::path kFolder =
    UseSimSettings("dll-race", "TouchSource=script\r\n", RaceScript());

}  // namespace

TEST(QuvaIntfDll, ReleasesRacingTouchesNeitherLoseNorDoubleThem) {
    std::atomic<bool> done{false}, finished{false};
    std::vector<int32_t> delivered;
    std::thread caller([&] {
        TouchSample sample{};
        while (!done) {
            if (QuvaIF_GetNextCalTouch(0, &sample) == 0) delivered.push_back(sample.X);
            if (!delivered.empty() && delivered.back() == kTouches - 1) break;
        }
        finished = true;
    });
    for (int i = 0; i < 300 && !finished; ++i) {
        QuvaIF_ClearAllGetPoint(0);
        std::this_thread::sleep_for(std::chrono::microseconds(200 + (i * 53) % 900));
    }
    const std::filesystem::path touches = kFolder / "log" / "Touches.log";
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(120);
    while (!finished && CountLinesWith(touches, "queued") < static_cast<size_t>(kTouches) &&
           std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    done = true;
    for (int i = 0; i < 2000 && !finished; ++i) {
        QuvaIF_ClearAllGetPoint(0);
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ASSERT_TRUE(finished.load());
    caller.join();

    const size_t dropped = CountLinesWith(touches, "dropped");
    std::printf("delivered %zu, dropped by releases %zu, of %d touches\n", delivered.size(),
                dropped, kTouches);
    for (size_t i = 1; i < delivered.size(); ++i) ASSERT_LT(delivered[i - 1], delivered[i]) << i;
    EXPECT_EQ(CountLinesWith(touches, "queued"), static_cast<size_t>(kTouches));
    EXPECT_EQ(delivered.size() + dropped, static_cast<size_t>(kTouches));
    EXPECT_EQ(CountLinesWith(touches, "delivered"), delivered.size());
}
