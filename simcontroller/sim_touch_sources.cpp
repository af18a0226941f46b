// The simulated controller's touch sources: the script feeder thread and presses of the pointer.
#include <fstream>
#include <sstream>

#include "simcontroller/sim_controller.h"

namespace {

constexpr uint32_t kHungryPollMs = 50;

std::string ReadText(const std::filesystem::path& path, bool* found) {
    std::ifstream stream(path, std::ios::binary);
    *found = static_cast<bool>(stream);
    std::ostringstream text;
    if (*found) text << stream.rdbuf();
    return text.str();
}

}  // namespace

void SimController::StartSources() {
    std::lock_guard<std::mutex> lock(sourceMutex_);
    if (sourcesRunning_) return;
    sourcesRunning_ = true;
    queue_.Reopen();
    if (settings_.source == TouchSourceKind::Pointer) {
        pointerRunning_ = environment_.startPointer && environment_.startPointer();
        recorder_.Call("pointer source %s", pointerRunning_ ? "started" : "not available");
        return;
    }
    bool found = false;
    const std::string text = ReadText(settings_.scriptFile, &found);
    std::vector<ScriptEntry> entries;
    std::string error;
    if (!found) {
        recorder_.Call("script %s not found", PathText(settings_.scriptFile).c_str());
    } else if (!ParseTouchScript(text, &entries, &error)) {
        recorder_.Call("script %s rejected: %s", PathText(settings_.scriptFile).c_str(),
                       error.c_str());
        entries.clear();
    } else {
        recorder_.Call("script %s: %zu entries", PathText(settings_.scriptFile).c_str(),
                       entries.size());
    }
    {
        std::lock_guard<std::mutex> stopLock(stopMutex_);
        stopScript_ = false;
    }
    if (!entries.empty())
        scriptThread_ = std::thread(&SimController::RunScript, this, std::move(entries));
}

void SimController::StopSources() {
    std::lock_guard<std::mutex> lock(sourceMutex_);
    if (!sourcesRunning_) return;
    sourcesRunning_ = false;
    {
        std::lock_guard<std::mutex> stopLock(stopMutex_);
        stopScript_ = true;
    }
    stopSignal_.notify_all();
    if (scriptThread_.joinable()) scriptThread_.join();
    if (pointerRunning_ && environment_.stopPointer) environment_.stopPointer();
    pointerRunning_ = false;
}

bool SimController::SleepUnlessStopped(uint32_t ms) {
    std::unique_lock<std::mutex> lock(stopMutex_);
    return !stopSignal_.wait_for(lock, std::chrono::milliseconds(ms), [&] { return stopScript_; });
}

bool SimController::MakeScriptTouch(const ScriptEntry& entry, QueuedTouch* touch) {
    touch->screen = entry.screen;
    if (entry.action == ScriptAction::RawTouch) {
        touch->x = static_cast<int32_t>(entry.x);
        touch->y = static_cast<int32_t>(entry.y);
        touch->z =
            entry.z >= 0
                ? entry.z
                : (ValidScreen(entry.screen) ? settings_.screens[entry.screen].sensor.z : 255);
        return true;
    }
    ScreenRect rect;
    if (!ScreenRectangle(entry.screen, &rect)) return false;
    std::lock_guard<std::mutex> lock(stateMutex_);
    const ScreenSettings& screen = settings_.screens[entry.screen];
    double x = entry.x, y = entry.y;  // where the person's touch lands
    PerturbTouchPoint(screen.person, rect.width, rect.height, personRandom_[entry.screen], &x, &y);
    const RawCounts counts = SensorRawTouch(rect, screen.sensor, x, y, &noise_[entry.screen]);
    *touch = QueuedTouch{entry.screen, counts.x, counts.y, entry.z >= 0 ? entry.z : counts.z,
                         true,         x,        y,        0};
    return true;
}

void SimController::RunScript(std::vector<ScriptEntry> entries) {
    for (;;) {
        if (scriptPosition_ >= entries.size()) {
            if (!settings_.scriptLoop) return;
            scriptPosition_ = 0;
        }
        const ScriptEntry& entry = entries[scriptPosition_];
        const uint32_t delay = entry.delayMs >= 0 ? entry.delayMs : settings_.scriptDelayMs;
        if (entry.action == ScriptAction::Redo) {
            if (!SleepUnlessStopped(delay)) return;
            recorder_.Call("script line %d: redo request for screen %d", entry.lineNumber,
                           entry.screen);
            if (environment_.signalRedo) environment_.signalRedo(entry.screen);
            ++scriptPosition_;
            continue;
        }
        if (entry.afterMs >= 0) {
            // Queued at its time, whether a caller waits or not.
            if (!SleepUnlessStopped(uint32_t(entry.afterMs))) return;
        } else {
            // A touch (or a cancel) comes when a caller waits for a touch that is not queued yet.
            while (!queue_.WaitUntilHungry(kHungryPollMs)) {
                if (!SleepUnlessStopped(0)) return;
            }
            if (!SleepUnlessStopped(delay)) return;
        }
        if (entry.action == ScriptAction::Cancel) {
            const std::vector<QueuedTouch> dropped = queue_.ReleaseAll();
            recorder_.Call("script line %d: cancelled the waiting touch calls", entry.lineNumber);
            LogDropped(dropped, "cancel");
            ++scriptPosition_;
            continue;
        }
        QueuedTouch touch;
        if (MakeScriptTouch(entry, &touch)) {
            queue_.Push(touch, [this](const QueuedTouch& queued) { LogQueued(queued); });
        } else {
            recorder_.Call("script line %d: screen %d has no rectangle, touch skipped",
                           entry.lineNumber, entry.screen);
        }
        ++scriptPosition_;
    }
}

bool SimController::PointerPress(double x, double y) {
    for (int32_t screen = 0; screen < settings_.screenCount; ++screen) {
        ScreenRect rect;
        if (!ScreenRectangle(screen, &rect) || !rect.Contains(x, y)) continue;
        QueuedTouch touch;
        {
            std::lock_guard<std::mutex> lock(stateMutex_);
            const ScreenSettings& settings = settings_.screens[screen];
            PerturbTouchPoint(settings.person, rect.width, rect.height, personRandom_[screen], &x,
                              &y);  // where the person's press lands
            const RawCounts counts = SensorRawTouch(rect, settings.sensor, x, y, &noise_[screen]);
            touch = QueuedTouch{screen, counts.x, counts.y, counts.z, true, x, y, 0};
        }
        queue_.Push(touch, [this](const QueuedTouch& queued) { LogQueued(queued); });
        return true;
    }
    recorder_.Touch("ignored press at (%.1f,%.1f): no touch screen there", x, y);
    return false;
}
