// The simulated controller's touch queue: blocking waits per screen, release of every waiter.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <vector>

// One touch as the controller delivers it: screen index, raw 16-bit X and Y, Z, and where it
// came from (a screen point in virtual-desktop pixels when known).
struct QueuedTouch {
    int32_t screen = 0;
    int32_t x = 0;
    int32_t y = 0;
    int32_t z = 0;
    bool hasPoint = false;
    double pointX = 0.0;
    double pointY = 0.0;
    uint64_t serial = 0;  // set by the queue, counts from 1
};

// Touches wait here until a caller takes them. A release wakes every blocked caller with
// nothing and drops what is queued. Every touch is taken at most once and is either delivered
// or returned by a release or a flush, never both.
class TouchQueue {
  public:
    static constexpr int32_t kAnyScreen = -1;

    // Appends a touch and wakes the callers; returns its serial number. When given, queued sees
    // the touch with its serial before any caller can take it (so logs keep their order).
    uint64_t Push(QueuedTouch touch, const std::function<void(const QueuedTouch&)>& queued = {});

    // Blocks until a touch for screen (kAnyScreen: any) is queued and takes the oldest such
    // touch (true), or until a release or Close (false).
    bool Wait(int32_t screen, QueuedTouch* out);

    // Releases every caller blocked at this moment and drops every queued touch (returned).
    std::vector<QueuedTouch> ReleaseAll();

    // Drops the queued touches of one screen without releasing anyone (returned).
    std::vector<QueuedTouch> DropScreen(int32_t screen);

    // Waits at most timeoutMs until some blocked caller finds no touch for it in the queue.
    bool WaitUntilHungry(uint32_t timeoutMs);

    // Releases everyone; later waits return false at once until Reopen.
    void Close();
    void Reopen();

    size_t QueuedCount() const;
    size_t WaiterCount() const;

  private:
    bool FindFor(int32_t screen, size_t* index) const;
    bool IsHungry() const;

    mutable std::mutex mutex_;
    std::condition_variable touchArrived_;
    std::condition_variable waiterArrived_;
    std::deque<QueuedTouch> queue_;
    std::vector<int32_t> waiting_;  // the screen each blocked caller waits for
    uint64_t generation_ = 0;       // advanced by every release
    uint64_t nextSerial_ = 1;
    bool closed_ = false;
};
