// The simulated controller's touch queue: blocking waits per screen, release of every waiter.
#include "simcontroller/touch_queue.h"

#include <algorithm>
#include <chrono>

uint64_t TouchQueue::Push(QueuedTouch touch,
                          const std::function<void(const QueuedTouch&)>& queued) {
    std::lock_guard<std::mutex> lock(mutex_);
    touch.serial = nextSerial_++;
    if (queued) queued(touch);
    queue_.push_back(touch);
    touchArrived_.notify_all();
    return touch.serial;
}

bool TouchQueue::FindFor(int32_t screen, size_t* index) const {
    for (size_t i = 0; i < queue_.size(); ++i) {
        if (screen == kAnyScreen || queue_[i].screen == screen) {
            *index = i;
            return true;
        }
    }
    return false;
}

bool TouchQueue::Wait(int32_t screen, QueuedTouch* out) {
    std::unique_lock<std::mutex> lock(mutex_);
    if (closed_) return false;
    const uint64_t generation = generation_;
    waiting_.push_back(screen);
    waiterArrived_.notify_all();
    size_t index = 0;
    touchArrived_.wait(lock, [&] { return generation_ != generation || FindFor(screen, &index); });
    waiting_.erase(std::find(waiting_.begin(), waiting_.end(), screen));
    if (generation_ != generation) return false;
    *out = queue_[index];
    queue_.erase(queue_.begin() + static_cast<std::ptrdiff_t>(index));
    return true;
}

std::vector<QueuedTouch> TouchQueue::ReleaseAll() {
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<QueuedTouch> dropped(queue_.begin(), queue_.end());
    queue_.clear();
    ++generation_;
    touchArrived_.notify_all();
    return dropped;
}

std::vector<QueuedTouch> TouchQueue::DropScreen(int32_t screen) {
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<QueuedTouch> dropped;
    std::deque<QueuedTouch> kept;
    for (const QueuedTouch& touch : queue_) {
        if (touch.screen == screen) {
            dropped.push_back(touch);
        } else {
            kept.push_back(touch);
        }
    }
    queue_.swap(kept);
    return dropped;
}

bool TouchQueue::IsHungry() const {
    for (int32_t screen : waiting_) {
        size_t index = 0;
        if (!FindFor(screen, &index)) return true;
    }
    return false;
}

bool TouchQueue::WaitUntilHungry(uint32_t timeoutMs) {
    std::unique_lock<std::mutex> lock(mutex_);
    return waiterArrived_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                   [&] { return IsHungry(); });
}

void TouchQueue::Close() {
    std::lock_guard<std::mutex> lock(mutex_);
    closed_ = true;
    queue_.clear();
    ++generation_;
    touchArrived_.notify_all();
}

void TouchQueue::Reopen() {
    std::lock_guard<std::mutex> lock(mutex_);
    closed_ = false;
}

size_t TouchQueue::QueuedCount() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return queue_.size();
}

size_t TouchQueue::WaiterCount() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return waiting_.size();
}
