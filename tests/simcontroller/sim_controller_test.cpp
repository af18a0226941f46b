// Tests of the simulated controller behind the driver functions, with a script source and a fake
// platform.
#include "simcontroller/sim_controller.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <future>
#include <thread>

#include "simcontroller/calibration_mapping.h"
#include "tests/simcontroller/record_fitting.h"
#include "tests/simcontroller/sim_test_folder.h"

namespace {

const ScreenRect kMonitor{0, 0, 1024, 768};

class SimControllerTest : public ::testing::Test {
  protected:
    SimControllerTest() : folder_("controller") {}

    // A controller with a script source reading the given script text.
    std::unique_ptr<SimController> Make(const std::string& script, int screens = 1,
                                        const SimulatedPerson& person = {}) {
        folder_.Write("script.txt", script);
        SimSettings settings =
            ReadSimSettings(IniFile::FromText(""), folder_.Path(), folder_.Path() / "log");
        settings.source = TouchSourceKind::Script;
        settings.screenCount = screens;
        settings.screens.resize(screens);
        for (int i = 0; i < screens; ++i) {
            settings.screens[i].monitor = i + 1;
            settings.screens[i].person = person;
        }
        settings.scriptFile = folder_.Path() / "script.txt";
        SimEnvironment environment;
        environment.monitorCount = [screens] { return screens; };
        environment.monitorRect = [](int32_t monitor, ScreenRect* rect) {
            *rect = kMonitor;
            rect->left = (monitor - 1) * 1024;
            return monitor >= 1 && monitor <= 4;
        };
        environment.signalRedo = [this](int32_t screen) { redoScreen_ = screen; };
        auto controller = std::make_unique<SimController>(settings, environment);
        controller->StartSources();
        return controller;
    }

    std::string Log(const char* name) const { return folder_.Read(std::string("log/") + name); }

    SimTestFolder folder_;
    std::atomic<int> redoScreen_{-1};
};

// Calls a touch function on a thread; the future is ready when it returns.
std::future<int32_t> Touch(SimController& controller, int32_t screen, TouchSample* sample) {
    return std::async(std::launch::async, [&controller, screen, sample] {
        return screen < 0 ? controller.GetFirstCalTouch(sample)
                          : controller.GetNextCalTouch(screen, sample);
    });
}

bool Ready(std::future<int32_t>& call) {
    return call.wait_for(std::chrono::seconds(10)) == std::future_status::ready;
}

}  // namespace

TEST_F(SimControllerTest, AScriptedPassDeliversOneTouchPerCall) {
    std::string script;
    for (int i = 0; i < 25; ++i)
        script += "raw 0 " + std::to_string(1000 + i) + " " + std::to_string(2000 + i) + "\n";
    auto controller = Make(script);
    TouchSample sample{};
    ASSERT_EQ(controller->GetFirstCalTouch(&sample), 0);
    EXPECT_EQ(sample.X, 1000);
    EXPECT_EQ(sample.Y, 2000);
    EXPECT_EQ(sample.Z, 255);
    for (int i = 1; i < 25; ++i) {
        ASSERT_EQ(controller->GetNextCalTouch(0, &sample), 0);
        EXPECT_EQ(sample.X, 1000 + i);
        EXPECT_EQ(sample.Y, 2000 + i);
    }
    EXPECT_EQ(folder_.LinesWith("log/Touches.log", {"delivered"}).size(), 25u);
    // The script is used up: the next call blocks until it is released.
    auto blocked = Touch(*controller, 0, &sample);
    EXPECT_EQ(blocked.wait_for(std::chrono::milliseconds(100)), std::future_status::timeout);
    controller->ClearAllGetPoint(0);
    ASSERT_TRUE(Ready(blocked));
    EXPECT_EQ(blocked.get(), -1);
}

TEST_F(SimControllerTest, AnAfterLineIsQueuedAtItsTimeWhetherACallerWaitsOrNot) {
    auto controller = Make("raw 0 100 200\nraw 0 148 200 after=30\nraw 0 500 500\n");
    TouchSample sample{};
    ASSERT_EQ(controller->GetFirstCalTouch(&sample), 0);
    // Nobody waits, yet the bounce is queued 30 ms later and answers the next call at once.
    bool queued = false;
    for (int wait = 0; wait < 500 && !queued; ++wait) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        queued = !folder_.LinesWith("log/Touches.log", {"queued", "x=148"}).empty();
    }
    EXPECT_TRUE(queued);
    ASSERT_EQ(controller->GetNextCalTouch(0, &sample), 0);
    EXPECT_EQ(sample.X, 148);
    ASSERT_EQ(controller->GetNextCalTouch(0, &sample), 0);
    EXPECT_EQ(sample.X, 500);
}

TEST_F(SimControllerTest, ScriptPointsGoThroughTheScreensSensor) {
    auto controller = Make("point 1 1324 400 delay=5\n", 2);
    TouchSample sample{};
    ASSERT_EQ(controller->GetFirstCalTouch(&sample), 1);
    const ScreenRect second{1024, 0, 1024, 768};
    const RawCounts expected = SensorRawTouch(second, SensorParameters{}, 1324, 400, nullptr);
    EXPECT_EQ(sample.X, expected.x);
    EXPECT_EQ(sample.Y, expected.y);
    EXPECT_EQ(
        folder_.LinesWith("log/Touches.log", {"delivered", "screen=1", "point=(1324.00,400.00)"})
            .size(),
        1u);
}

// The landing points the touch log shows for the delivered touches, in order.
std::vector<std::pair<double, double>> LandingPoints(const SimTestFolder& folder) {
    std::vector<std::pair<double, double>> points;
    for (const std::string& line : folder.LinesWith("log/Touches.log", {"delivered"})) {
        double x = 0.0, y = 0.0;
        const size_t at = line.find("point=(");
        if (at != std::string::npos &&
            std::sscanf(line.c_str() + at, "point=(%lf,%lf)", &x, &y) == 2)
            points.emplace_back(x, y);
    }
    return points;
}

TEST_F(SimControllerTest, APersonScattersScriptPointsByTheSetMillimetresSeeded) {
    std::string script;
    for (int i = 0; i < 300; ++i) script += "point 0 512 384\n";
    // 204.8 x 153.6 mm on 1024 x 768: 0.2 mm a pixel, so 1 mm is 5 px on either axis.
    const SimulatedPerson person{1.0, 204.8, 153.6, 7};
    std::vector<std::vector<int32_t>> runs;
    for (int run = 0; run < 2; ++run) {
        auto controller = Make(script, 1, person);
        std::vector<int32_t> raws;
        TouchSample sample{};
        for (int i = 0; i < 300; ++i) {
            ASSERT_EQ(controller->GetFirstCalTouch(&sample), 0);
            raws.push_back(sample.X);
            raws.push_back(sample.Y);
        }
        runs.push_back(raws);
    }
    EXPECT_EQ(runs[0], runs[1]);  // the same seed, the same touches
    const auto points = LandingPoints(folder_);
    ASSERT_EQ(points.size(), 600u);
    double sumX = 0, sumY = 0, squaresX = 0, squaresY = 0;
    for (size_t i = 0; i < 300; ++i) {
        sumX += points[i].first - 512;
        sumY += points[i].second - 384;
        squaresX += (points[i].first - 512) * (points[i].first - 512);
        squaresY += (points[i].second - 384) * (points[i].second - 384);
    }
    EXPECT_NEAR(sumX / 300, 0.0, 1.0);
    EXPECT_NEAR(sumY / 300, 0.0, 1.0);
    EXPECT_NEAR(std::sqrt(squaresX / 300), 5.0, 0.6);
    EXPECT_NEAR(std::sqrt(squaresY / 300), 5.0, 0.6);
    // The raw counts are the sensor's at the landing point.
    const RawCounts last = SensorRawTouch(kMonitor, SensorParameters{}, points.back().first,
                                          points.back().second, nullptr);
    EXPECT_NEAR(last.x, runs[1][598], 16 * 0.1);
    EXPECT_NEAR(last.y, runs[1][599], 16 * 0.1);
}

TEST_F(SimControllerTest, AWaitForOneScreenIsNotAnsweredByAnother) {
    auto controller = Make("raw 1 5 5\nraw 0 6 6\n", 2);
    TouchSample sample{};
    ASSERT_EQ(controller->GetNextCalTouch(0, &sample), 0);
    EXPECT_EQ(sample.X, 6);
    ASSERT_EQ(controller->GetFirstCalTouch(&sample), 1);
    EXPECT_EQ(sample.X, 5);
}

TEST_F(SimControllerTest, ClearAndDisableReleaseBlockedCallsPromptly) {
    auto controller = Make("");
    for (int round = 0; round < 2; ++round) {
        TouchSample sample{};
        auto first = Touch(*controller, -1, &sample);
        TouchSample other{};
        auto next = Touch(*controller, 0, &other);
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        const auto start = std::chrono::steady_clock::now();
        if (round == 0)
            controller->ClearAllGetPoint(0);
        else
            controller->DisableTouch(0, -1);
        ASSERT_TRUE(Ready(first));
        ASSERT_TRUE(Ready(next));
        const double ms =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count();
        std::printf("released after %.2f ms\n", ms);
        EXPECT_EQ(first.get(), -1);
        EXPECT_EQ(next.get(), -1);
        EXPECT_LT(ms, 1000.0);
    }
}

TEST_F(SimControllerTest, WrittenRecordsAreSavedAndAppliedToLaterTouches) {
    auto controller = Make("point 0 300 200\npoint 0 700 500\n");
    TouchSample sample{};
    ASSERT_EQ(controller->GetFirstCalTouch(&sample), 0);
    EXPECT_EQ(folder_.LinesWith("log/Touches.log", {"delivered", "calibrated=-"}).size(), 1u);

    CalibrationDataRecord record = FitRecordToSensor(kMonitor, SensorParameters{}, 3, 5);
    record.TrailingScreenIndex = 0;
    EXPECT_EQ(controller->WriteCalibrationData(&record, 1), 1);
    CalibrationDataRecord saved{};
    ASSERT_TRUE(ReadRecordFile(folder_.Path() / "log" / "CalibrationData-0.bin", &saved));
    EXPECT_EQ(std::memcmp(&saved, &record, sizeof record), 0);
    EXPECT_EQ(folder_.Read("log/CalibrationHistory.bin").size(), sizeof record);
    EXPECT_EQ(controller->WriteCalibrationData(&record, 1), 1);
    EXPECT_EQ(folder_.Read("log/CalibrationHistory.bin").size(), 2 * sizeof record);
    EXPECT_FALSE(
        folder_.LinesWith("log/Calls.log", {"QuvaIF_WriteCalibrationData", "PolynomialOrder=3"})
            .empty());

    ASSERT_EQ(controller->GetNextCalTouch(0, &sample), 0);
    double x = 0, y = 0;
    ASSERT_TRUE(controller->CalibratedPoint(0, sample.X, sample.Y, &x, &y));
    EXPECT_NEAR(x, 700, 2.0);
    EXPECT_NEAR(y, 500, 2.0);
    EXPECT_EQ(
        folder_.LinesWith("log/Touches.log", {"delivered", "point=(700.00,500.00) calibrated=("})
            .size(),
        1u);
}

TEST_F(SimControllerTest, ALaterControllerStartsFromTheSavedRecord) {
    CalibrationDataRecord record = IdentityRecord(kMonitor);
    {
        auto controller = Make("");
        controller->WriteCalibrationData(&record, 1);
    }
    auto controller = Make("");
    double x = 0, y = 0;
    EXPECT_TRUE(controller->CalibratedPoint(0, 2047 << 4, 2047 << 4, &x, &y));
    EXPECT_DOUBLE_EQ(x, 512);
}

TEST_F(SimControllerTest, ScriptRedoLinesSignalTheRedoRequest) {
    auto controller = Make("raw 0 1 1\nredo 0 delay=10\n");
    TouchSample sample{};
    ASSERT_EQ(controller->GetFirstCalTouch(&sample), 0);
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (redoScreen_ < 0 && std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    EXPECT_EQ(redoScreen_, 0);
}

TEST_F(SimControllerTest, DiagnosticsScreensAndLocks) {
    auto controller = Make("", 2);
    DiagnosticsRecord diagnostics;
    std::memset(&diagnostics, 0xAB, sizeof diagnostics);
    EXPECT_EQ(controller->GetDiagnosticsData(&diagnostics, 1), 1);
    EXPECT_EQ(diagnostics.ControllerType, '2');
    EXPECT_EQ(diagnostics.PassEndWord, 0);
    EXPECT_EQ(diagnostics.CalibrationByte, 1);
    EXPECT_EQ(diagnostics.Reserved8[100], 0);  // zero-filled apart from the named fields
    EXPECT_EQ(controller->EnumTouchScreen(), 2);
    EXPECT_EQ(controller->GetMonitorNumberByScreenIndex(1), 2);
    EXPECT_EQ(controller->GetMonitorNumberByScreenIndex(5), 0);
    EXPECT_EQ(controller->GetScreenCntForMonitor(2), 1);
    int32_t state = -5;
    EXPECT_EQ(controller->GetTouchState(&state, 0), 1);
    EXPECT_EQ(state, 1);
    EXPECT_EQ(controller->GetNextCalTouch(7, nullptr), -1);  // no such screen: no wait

    EXPECT_EQ(controller->FlushControllerTalksetBuffer(0), 0);  // not locked
    EXPECT_EQ(controller->AcquireTalksetLock(0, 3), 1);
    EXPECT_EQ(controller->AcquireTalksetLock(0, 3), 0);  // held already
    EXPECT_EQ(controller->FlushControllerTalksetBuffer(0), 1);
    EXPECT_EQ(controller->ReleaseTalksetLock(0), 1);
    EXPECT_EQ(controller->ReleaseTalksetLock(0), 0);
    EXPECT_EQ(controller->AcquireTalksetLock(9, 3), 0);

    ClipRecord clip{};
    clip.MonitorNumber = 2;
    EXPECT_EQ(controller->GetClipRectangles(&clip), 1);
    int32_t edges[4];
    std::memcpy(edges, clip.Reserved4, sizeof edges);
    EXPECT_EQ(edges[0], 1024);
    EXPECT_EQ(edges[2], 2048);
    VirtualScreenRecord screen{0, 1023, 1, 767, 1, 0, 0, 2};
    EXPECT_EQ(controller->SetVirtualFullScreen(&screen), 1);
    EXPECT_EQ(
        folder_.LinesWith("log/Calls.log", {"SetVirtualFullScreen", "RightEdge=1023", "Mode=2"})
            .size(),
        1u);
    EXPECT_FALSE(
        folder_.LinesWith("log/Calls.log", {"QuvaIF_AcquireTalksetLock(screen=0, mode=3) = 1"})
            .empty());
}

TEST_F(SimControllerTest, CloseDeviceHandlesReleasesAndTheNextCallReopens) {
    auto controller = Make("raw 0 1 1\nraw 0 2 2\n");
    TouchSample sample{};
    ASSERT_EQ(controller->GetFirstCalTouch(&sample), 0);
    auto blocked = Touch(*controller, 7, &sample);  // invalid screen returns at once
    ASSERT_TRUE(Ready(blocked));
    EXPECT_EQ(controller->CloseDeviceHandles(), 1);
    ASSERT_EQ(controller->GetNextCalTouch(0, &sample), 0);  // the script goes on after reopening
    EXPECT_EQ(sample.X, 2);
}

// Releases race with script touches; every touch is delivered or dropped once, and in order.
TEST_F(SimControllerTest, ReleasesRacingTouchesNeitherLoseNorDouble) {
    constexpr int kTouches = 300;
    std::string script;
    for (int i = 0; i < kTouches; ++i) script += "raw 0 " + std::to_string(i) + " 0\n";
    auto controller = Make(script);
    std::atomic<bool> done{false}, finished{false};
    std::vector<int32_t> delivered;
    std::thread caller([&] {
        TouchSample sample{};
        while (!done) {
            if (controller->GetNextCalTouch(0, &sample) == 0) delivered.push_back(sample.X);
            if (!delivered.empty() && delivered.back() == kTouches - 1) break;
        }
        finished = true;
    });
    std::thread releaser([&] {
        for (int i = 0; i < 200 && !done; ++i) {
            controller->ClearAllGetPoint(0);
            std::this_thread::sleep_for(std::chrono::microseconds(300 + (i * 37) % 500));
        }
    });
    releaser.join();
    // Bounded: the script delivers at most a few hundred touches; then the caller is released.
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (std::chrono::steady_clock::now() < end &&
           folder_.LinesWith("log/Touches.log", {"queued"}).size() < kTouches)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    done = true;
    for (int i = 0; i < 2000 && !finished; ++i) {
        controller->ClearAllGetPoint(0);
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ASSERT_TRUE(finished.load());
    caller.join();

    const size_t dropped = folder_.LinesWith("log/Touches.log", {"dropped"}).size();
    std::printf("delivered %zu, dropped %zu of %d\n", delivered.size(), dropped, kTouches);
    for (size_t i = 1; i < delivered.size(); ++i) ASSERT_LT(delivered[i - 1], delivered[i]);
    EXPECT_EQ(delivered.size() + dropped, static_cast<size_t>(kTouches));
    EXPECT_EQ(folder_.LinesWith("log/Touches.log", {"delivered"}).size(), delivered.size());
}
