// Tests of the touch queue: per-screen waits, release with nothing, no lost or doubled touch in
// races.
#include "simcontroller/touch_queue.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <set>
#include <thread>

namespace {

QueuedTouch TouchOn(int32_t screen, int32_t x) {
    QueuedTouch touch;
    touch.screen = screen;
    touch.x = x;
    return touch;
}

// Waits (bounded) until the queue has the given number of blocked callers.
bool WaitForWaiters(const TouchQueue& queue, size_t count) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (queue.WaiterCount() < count) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

}  // namespace

TEST(TouchQueue, QueuedTouchesComeOutInOrderWithSerials) {
    TouchQueue queue;
    EXPECT_EQ(queue.Push(TouchOn(0, 10)), 1u);
    EXPECT_EQ(queue.Push(TouchOn(0, 11)), 2u);
    QueuedTouch out;
    ASSERT_TRUE(queue.Wait(0, &out));
    EXPECT_EQ(out.x, 10);
    EXPECT_EQ(out.serial, 1u);
    ASSERT_TRUE(queue.Wait(TouchQueue::kAnyScreen, &out));
    EXPECT_EQ(out.x, 11);
    EXPECT_EQ(queue.QueuedCount(), 0u);
}

TEST(TouchQueue, AWaitForOneScreenSkipsTouchesOfOthers) {
    TouchQueue queue;
    queue.Push(TouchOn(1, 5));
    queue.Push(TouchOn(0, 6));
    QueuedTouch out;
    ASSERT_TRUE(queue.Wait(0, &out));
    EXPECT_EQ(out.x, 6);
    ASSERT_TRUE(queue.Wait(TouchQueue::kAnyScreen, &out));
    EXPECT_EQ(out.screen, 1);
}

TEST(TouchQueue, ABlockedWaitWakesForItsTouch) {
    TouchQueue queue;
    auto waiter = std::async(std::launch::async, [&] {
        QueuedTouch out;
        return queue.Wait(2, &out) ? out.x : -1;
    });
    ASSERT_TRUE(WaitForWaiters(queue, 1));
    queue.Push(TouchOn(1, 7));  // another screen: still blocked
    EXPECT_EQ(waiter.wait_for(std::chrono::milliseconds(50)), std::future_status::timeout);
    queue.Push(TouchOn(2, 8));
    ASSERT_EQ(waiter.wait_for(std::chrono::seconds(10)), std::future_status::ready);
    EXPECT_EQ(waiter.get(), 8);
    EXPECT_EQ(queue.QueuedCount(), 1u);
}

TEST(TouchQueue, ReleaseAllWakesEveryWaiterWithNothingAndDropsTheQueue) {
    TouchQueue queue;
    queue.Push(TouchOn(3, 1));
    std::vector<std::future<bool>> waiters;
    for (int screen = 0; screen < 3; ++screen) {
        waiters.push_back(std::async(std::launch::async, [&queue, screen] {
            QueuedTouch out;
            return queue.Wait(screen, &out);
        }));
    }
    ASSERT_TRUE(WaitForWaiters(queue, 3));
    const auto dropped = queue.ReleaseAll();
    ASSERT_EQ(dropped.size(), 1u);
    EXPECT_EQ(dropped[0].screen, 3);
    for (auto& waiter : waiters) {
        ASSERT_EQ(waiter.wait_for(std::chrono::seconds(10)), std::future_status::ready);
        EXPECT_FALSE(waiter.get());
    }
    // A release is not sticky: the next wait blocks for the next touch.
    queue.Push(TouchOn(0, 9));
    QueuedTouch out;
    EXPECT_TRUE(queue.Wait(0, &out));
}

TEST(TouchQueue, DropScreenRemovesOnlyThatScreen) {
    TouchQueue queue;
    queue.Push(TouchOn(0, 1));
    queue.Push(TouchOn(1, 2));
    queue.Push(TouchOn(0, 3));
    EXPECT_EQ(queue.DropScreen(0).size(), 2u);
    EXPECT_EQ(queue.QueuedCount(), 1u);
}

TEST(TouchQueue, CloseFailsWaitsUntilReopened) {
    TouchQueue queue;
    queue.Close();
    queue.Push(TouchOn(0, 1));
    QueuedTouch out;
    EXPECT_FALSE(queue.Wait(0, &out));
    queue.Reopen();
    EXPECT_TRUE(queue.Wait(0, &out));
}

TEST(TouchQueue, HungryWhenAWaiterFindsNothingForIt) {
    TouchQueue queue;
    EXPECT_FALSE(queue.WaitUntilHungry(1));
    auto waiter = std::async(std::launch::async, [&] {
        QueuedTouch out;
        return queue.Wait(0, &out);
    });
    EXPECT_TRUE(queue.WaitUntilHungry(10000));
    queue.Push(TouchOn(1, 1));  // not for the waiter: still hungry
    EXPECT_TRUE(queue.WaitUntilHungry(1));
    queue.Push(TouchOn(0, 2));
    ASSERT_EQ(waiter.wait_for(std::chrono::seconds(10)), std::future_status::ready);
    EXPECT_TRUE(waiter.get());
    EXPECT_FALSE(queue.WaitUntilHungry(1));
}

// Producers, consumers and releases race; every touch ends up delivered or dropped, exactly once.
TEST(TouchQueue, RacingReleasesNeitherLoseNorDoubleTouches) {
    TouchQueue queue;
    constexpr int kTouches = 4000;
    std::atomic<bool> producing{true};
    std::mutex seenMutex;
    std::multiset<uint64_t> seen;
    std::atomic<int> delivered{0}, droppedCount{0};

    auto consumer = [&](int32_t screen) {
        for (;;) {
            QueuedTouch out;
            if (queue.Wait(screen, &out)) {
                if (out.x < 0) return;  // the end marker of this consumer
                {
                    std::lock_guard<std::mutex> lock(seenMutex);
                    seen.insert(out.serial);
                    ++delivered;
                }
                // Now and then a slow caller, so that touches pile up for the releases.
                if (out.serial % 16 == 0)
                    std::this_thread::sleep_for(std::chrono::microseconds(200));
            }
        }
    };
    std::thread consumers[] = {std::thread(consumer, 0), std::thread(consumer, 1)};
    std::thread releaser([&] {
        while (producing) {
            const auto dropped = queue.ReleaseAll();
            std::lock_guard<std::mutex> lock(seenMutex);
            for (const QueuedTouch& touch : dropped) seen.insert(touch.serial);
            droppedCount += static_cast<int>(dropped.size());
            std::this_thread::yield();
        }
    });
    for (int i = 0; i < kTouches; ++i) {
        queue.Push(TouchOn(i % 2, i));
        if (i % 32 == 0) std::this_thread::sleep_for(std::chrono::microseconds(100));
    }
    producing = false;
    releaser.join();
    queue.Push(TouchOn(0, -1));
    queue.Push(TouchOn(1, -1));
    for (auto& c : consumers) c.join();
    const auto left = queue.ReleaseAll();
    for (const QueuedTouch& touch : left) seen.insert(touch.serial);

    EXPECT_EQ(delivered + droppedCount + static_cast<int>(left.size()), kTouches);
    EXPECT_EQ(seen.size(), static_cast<size_t>(kTouches));
    for (uint64_t serial = 1; serial <= kTouches; ++serial)
        EXPECT_EQ(seen.count(serial), 1u) << serial;
    std::printf("delivered %d, dropped by releases %d, left %zu\n", delivered.load(),
                droppedCount.load(), left.size());
}

// A release never misses a caller that is about to block, and never strands one.
TEST(TouchQueue, EveryReleaseReachesTheBlockedCaller) {
    TouchQueue queue;
    for (int i = 0; i < 500; ++i) {
        auto waiter = std::async(std::launch::async, [&] {
            QueuedTouch out;
            return queue.Wait(0, &out);
        });
        ASSERT_TRUE(WaitForWaiters(queue, 1));
        queue.ReleaseAll();
        ASSERT_EQ(waiter.wait_for(std::chrono::seconds(10)), std::future_status::ready) << i;
        EXPECT_FALSE(waiter.get());
    }
}

TEST(TouchQueue, TheQueuedCallbackSeesTheTouchBeforeAnyCallerCanTakeIt) {
    TouchQueue queue;
    std::vector<uint64_t> seen;
    // A caller blocked before the push cannot take the touch before the callback has run.
    auto waiter = std::async(std::launch::async, [&] {
        QueuedTouch out;
        const bool taken = queue.Wait(0, &out);
        return taken && seen.size() == 1 && seen[0] == out.serial;
    });
    ASSERT_TRUE(WaitForWaiters(queue, 1));
    queue.Push(TouchOn(0, 1), [&](const QueuedTouch& touch) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));  // a slow log line
        seen.push_back(touch.serial);
    });
    ASSERT_EQ(waiter.wait_for(std::chrono::seconds(10)), std::future_status::ready);
    EXPECT_TRUE(waiter.get());
}
