// Tests of QuvaDkMon.exe under Wine: it holds "QuvaDskMonClose", exits when it is set, logs both.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <thread>

#include "tests/simcontroller/win32_test_support.h"

namespace {

const std::filesystem::path kFolder = UseSimSettings("dkmon", "", "");

HANDLE StartMonitor() {
    std::wstring command = L"\"" + (TestProgramFolder() / L"QuvaDkMon.exe").wstring() + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return nullptr;
    CloseHandle(process.hThread);
    return process.hProcess;
}

// The close event as Tarnix opens it, waiting at most ten seconds for the monitor to make it.
HANDLE OpenCloseEvent() {
    for (int i = 0; i < 1000; ++i) {
        HANDLE event = OpenEventW(EVENT_MODIFY_STATE, TRUE, L"QuvaDskMonClose");
        if (event != nullptr) return event;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return nullptr;
}

}  // namespace

TEST(QuvaDkMon, ClosesWhenItsEventIsSetAndLogsStartAndExit) {
    HANDLE monitor = StartMonitor();
    ASSERT_NE(monitor, nullptr);
    HANDLE event = OpenCloseEvent();
    ASSERT_NE(event, nullptr);
    EXPECT_EQ(WaitForSingleObject(monitor, 300), static_cast<DWORD>(WAIT_TIMEOUT));  // it waits

    // A second instance finds the event taken and leaves at once.
    HANDLE second = StartMonitor();
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(WaitForSingleObject(second, 10000), WAIT_OBJECT_0);
    CloseHandle(second);
    EXPECT_EQ(WaitForSingleObject(monitor, 0), static_cast<DWORD>(WAIT_TIMEOUT));

    ASSERT_TRUE(SetEvent(event));
    CloseHandle(event);
    ASSERT_EQ(WaitForSingleObject(monitor, 10000), WAIT_OBJECT_0);
    DWORD code = 99;
    GetExitCodeProcess(monitor, &code);
    EXPECT_EQ(code, 0u);
    CloseHandle(monitor);

    const std::filesystem::path log = kFolder / "log" / "QuvaDkMon" / "Calls.log";
    EXPECT_EQ(CountLinesWith(log, "start: waiting for QuvaDskMonClose"), 1u);
    EXPECT_EQ(CountLinesWith(log, "another instance holds the close event"), 1u);
    EXPECT_EQ(CountLinesWith(log, "exit: QuvaDskMonClose was set"), 1u);
}

TEST(QuvaDkMon, CanBeStartedAgainAfterClosing) {
    HANDLE monitor = StartMonitor();
    ASSERT_NE(monitor, nullptr);
    HANDLE event = OpenCloseEvent();
    ASSERT_NE(event, nullptr);
    SetEvent(event);
    CloseHandle(event);
    EXPECT_EQ(WaitForSingleObject(monitor, 10000), WAIT_OBJECT_0);
    CloseHandle(monitor);
}
