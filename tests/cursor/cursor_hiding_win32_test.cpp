// Cursor hiding on the real registry (run under Wine in a throw-away prefix): the hidden state,
// the saved copy, restoring, scheme lists, the default list and a run killed while hidden.
#include <gtest/gtest.h>
#include <windows.h>

#include "cursors/cursor_hiding.h"
#include "cursors/cursor_scheme.h"
#include "tests/cursor/cursor_registry_win32.h"

namespace {

const HKEY kUser = HKEY_CURRENT_USER;
const HKEY kMachine = HKEY_LOCAL_MACHINE;

std::wstring NullInCursors() { return NullCursorPath(WindowsFolder()); }

// A user with the standard scheme and a few cursors of their own.
KeySnapshot SetUpUserScheme() {
    EXPECT_TRUE(DeleteKeyTree(kUser, kUserCursorsKey));
    SetText(kUser, kUserCursorsKey, nullptr, L"Windows Standard");
    SetNumber(kUser, kUserCursorsKey, L"Scheme Source", 2);
    SetText(kUser, kUserCursorsKey, L"Arrow", L"%SystemRoot%\\cursors\\arrow_user.cur");
    SetText(kUser, kUserCursorsKey, L"AppStarting", L"%SystemRoot%\\cursors\\busy_user.ani");
    SetText(kUser, kUserCursorsKey, L"Wait", L"%SystemRoot%\\cursors\\wait_user.ani");
    SetText(kUser, kUserCursorsKey, L"IBeam", L"");
    SetText(kUser, kUserCursorsKey, L"Hand", L"D:\\mine\\hand.cur");
    return SnapshotKey(kUser, kUserCursorsKey);
}

void SetSchemeList(const std::wstring& list) {
    SetText(kMachine, kCursorSchemesKey, L"Quva", list);
}

class CursorHiding : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(InstallNullCursorIntoSupportFolder());
        ASSERT_TRUE(InstallNullCursor());
        SetSchemeList(L"%SystemRoot%\\cursors\\null.cur,,%SystemRoot%\\cursors\\null.cur");
    }
};

TEST_F(CursorHiding, HideSavesEveryValueAndMarksTheScheme) {
    const KeySnapshot user = SetUpUserScheme();
    HideCursorsIfNeeded();
    EXPECT_EQ(SnapshotKey(kUser, kSavedCursorsKey), user);
    const KeySnapshot hidden = SnapshotKey(kUser, kUserCursorsKey);
    EXPECT_EQ(TextOf(hidden, L""), L"Quva");
    EXPECT_EQ(hidden.at(L"Scheme Source"), user.at(L"Scheme Source"));
    // Three entries with the middle one empty: Arrow and AppStarting, then the list ends at Wait.
    EXPECT_TRUE(SamePath(TextOf(hidden, L"Arrow"), NullInCursors()));
    EXPECT_TRUE(SamePath(TextOf(hidden, L"AppStarting"), NullInCursors()));
    EXPECT_EQ(TextOf(hidden, L"Wait"), L"%SystemRoot%\\cursors\\wait_user.ani");
    EXPECT_EQ(TextOf(hidden, L"Hand"), L"D:\\mine\\hand.cur");
}

TEST_F(CursorHiding, SecondHideChangesNothing) {
    SetUpUserScheme();
    HideCursorsIfNeeded();
    const KeySnapshot hidden = SnapshotKey(kUser, kUserCursorsKey);
    const KeySnapshot saved = SnapshotKey(kUser, kSavedCursorsKey);
    HideCursorsIfNeeded();
    EXPECT_EQ(SnapshotKey(kUser, kUserCursorsKey), hidden);
    EXPECT_EQ(SnapshotKey(kUser, kSavedCursorsKey), saved);
}

TEST_F(CursorHiding, RestoreReturnsTheSavedValuesOnce) {
    const KeySnapshot user = SetUpUserScheme();
    HideCursorsIfNeeded();
    RestoreCursorsIfNeeded();
    EXPECT_EQ(SnapshotKey(kUser, kUserCursorsKey), user);
    // Not hidden any more: a second restore leaves the user's values alone.
    SetText(kUser, kUserCursorsKey, L"Arrow", L"C:\\changed\\after.cur");
    const KeySnapshot changed = SnapshotKey(kUser, kUserCursorsKey);
    RestoreCursorsIfNeeded();
    EXPECT_EQ(SnapshotKey(kUser, kUserCursorsKey), changed);
}

TEST_F(CursorHiding, RestoreRemovesValuesAddedWhileHidden) {
    const KeySnapshot user = SetUpUserScheme();
    HideCursorsIfNeeded();
    SetText(kUser, kUserCursorsKey, L"Pin", L"C:\\added\\while_hidden.cur");
    SetText(kUser, kUserCursorsKey, L"Person", std::wstring(600, L'x'));  // too long to copy
    RestoreCursorsIfNeeded();
    EXPECT_EQ(SnapshotKey(kUser, kUserCursorsKey), user);
}

// The saved copy holds 32 values: a key with more is not hidden at all, and a hidden state whose
// copy was cut at 32 loses none of the values the copy could not hold.
TEST_F(CursorHiding, KeysWithMoreValuesThanTheCopyHoldsLoseNone) {
    SetUpUserScheme();
    for (int i = 0; i < 40; ++i)
        SetText(kUser, kUserCursorsKey, (L"Extra" + std::to_wstring(i)).c_str(),
                L"C:\\extra\\" + std::to_wstring(i) + L".cur");
    const KeySnapshot user = SnapshotKey(kUser, kUserCursorsKey);
    ASSERT_EQ(user.size(), 47u);
    HideCursorsIfNeeded();
    EXPECT_EQ(SnapshotKey(kUser, kUserCursorsKey), user);

    ASSERT_TRUE(DeleteKeyTree(kUser, kSavedCursorsKey));
    SetText(kUser, kSavedCursorsKey, nullptr, L"Windows Standard");
    for (int i = 0; i < 31; ++i)
        SetText(kUser, kSavedCursorsKey, (L"Extra" + std::to_wstring(i)).c_str(),
                L"C:\\extra\\" + std::to_wstring(i) + L".cur");
    SetText(kUser, kUserCursorsKey, nullptr, L"Quva");
    SetText(kUser, kUserCursorsKey, L"Extra3", L"C:\\hidden.cur");
    RestoreCursorsIfNeeded();
    EXPECT_EQ(SnapshotKey(kUser, kUserCursorsKey), user);
}

TEST_F(CursorHiding, RestoreWithoutHideDoesNothing) {
    const KeySnapshot user = SetUpUserScheme();
    SetText(kUser, kSavedCursorsKey, nullptr, L"Stale copy");
    RestoreCursorsIfNeeded();
    EXPECT_EQ(SnapshotKey(kUser, kUserCursorsKey), user);
}

TEST_F(CursorHiding, FreshProfileWithoutCursorsKeyHidesAndRestores) {
    ASSERT_TRUE(DeleteKeyTree(kUser, kUserCursorsKey));
    HideCursorsIfNeeded();
    const KeySnapshot hidden = SnapshotKey(kUser, kUserCursorsKey);
    EXPECT_EQ(TextOf(hidden, L""), L"Quva");
    // "Scheme Source" could not be read, so none is invented.
    EXPECT_EQ(hidden.count(L"Scheme Source"), 0u);
    EXPECT_TRUE(KeyExists(kUser, kSavedCursorsKey));
    EXPECT_TRUE(SnapshotKey(kUser, kSavedCursorsKey).empty());
    RestoreCursorsIfNeeded();
    EXPECT_TRUE(SnapshotKey(kUser, kUserCursorsKey).empty());
}

TEST_F(CursorHiding, MissingSchemeListGetsTheDefaultListIntoTheCursorsFolder) {
    DeleteValue(kMachine, kCursorSchemesKey, L"Quva");
    const KeySnapshot user = SetUpUserScheme();
    HideCursorsIfNeeded();
    const KeySnapshot schemes = SnapshotKey(kMachine, kCursorSchemesKey);
    EXPECT_EQ(TextOf(schemes, L"Quva"), BuildNullCursorScheme(WindowsFolder()));
    const KeySnapshot hidden = SnapshotKey(kUser, kUserCursorsKey);
    for (size_t row = 0; row < 12; ++row)
        EXPECT_TRUE(SamePath(TextOf(hidden, CursorTable[row].Name), NullInCursors()))
            << "row " << row + 1;
    EXPECT_EQ(TextOf(hidden, L"Hand"), TextOf(user, L"Hand"));
    RestoreCursorsIfNeeded();
    EXPECT_EQ(SnapshotKey(kUser, kUserCursorsKey), user);
}

TEST_F(CursorHiding, UnloadableFilesAreSkippedButStillUseUpTheirEntry) {
    SetSchemeList(L"%SystemRoot%\\cursors\\missing.cur,%SystemRoot%\\cursors\\null.cur");
    const KeySnapshot user = SetUpUserScheme();
    HideCursorsIfNeeded();
    const KeySnapshot hidden = SnapshotKey(kUser, kUserCursorsKey);
    EXPECT_EQ(TextOf(hidden, L"Arrow"), TextOf(user, L"Arrow"));
    EXPECT_TRUE(SamePath(TextOf(hidden, L"AppStarting"), NullInCursors()));
    EXPECT_EQ(TextOf(hidden, L"Wait"), TextOf(user, L"Wait"));
}

TEST(NullCursor, IsInstalledIntoTheCursorsFolderAndLoads) {
    ASSERT_TRUE(InstallNullCursorIntoSupportFolder());
    DeleteFileW(NullInCursors().c_str());
    ASSERT_TRUE(InstallNullCursor());
    HCURSOR cursor = LoadCursorFromFileW(NullInCursors().c_str());
    ASSERT_NE(cursor, nullptr);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(cursor, &info));
    BITMAP mask{};
    ASSERT_NE(GetObjectW(info.hbmMask, sizeof mask, &mask), 0);
    EXPECT_EQ(mask.bmWidth, 32);
    DeleteObject(info.hbmMask);
    if (info.hbmColor) DeleteObject(info.hbmColor);
    DestroyCursor(cursor);
}

TEST(CursorPaths, SystemRootExpandsToTheWindowsFolder) {
    std::wstring path = L"%SystemRoot%\\cursors\\aero_arrow.cur";
    ASSERT_TRUE(ExpandPathVariables(path));
    EXPECT_TRUE(SamePath(path, WindowsFolder() + L"\\cursors\\aero_arrow.cur")) << path.c_str();
}

TEST(UserCursorValues, ReadEveryValueOfTheKey) {
    const KeySnapshot user = SetUpUserScheme();
    const std::vector<RegistryValue> values = ReadUserCursorValues();
    ASSERT_EQ(values.size(), user.size());
    for (const RegistryValue& value : values) ASSERT_EQ(user.count(value.Name), 1u);
}

// A run that dies while the cursors are hidden: a child process hides and is killed.
TEST(CrashedRun, ChildHidesAndDies) {
    if (GetEnvironmentVariableW(L"TARNIX_CURSOR_CHILD", nullptr, 0) == 0) GTEST_SKIP();
    HideCursorsIfNeeded();
    TerminateProcess(GetCurrentProcess(), 3);
}

TEST_F(CursorHiding, RunKilledWhileHiddenIsRestoredByTheNextRun) {
    const KeySnapshot user = SetUpUserScheme();
    wchar_t self[MAX_PATH];
    ASSERT_NE(GetModuleFileNameW(nullptr, self, MAX_PATH), 0u);
    std::wstring command =
        L"\"" + std::wstring(self) + L"\" --gtest_filter=CrashedRun.ChildHidesAndDies";
    SetEnvironmentVariableW(L"TARNIX_CURSOR_CHILD", L"1");
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION child{};
    const BOOL started = CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0,
                                        nullptr, nullptr, &startup, &child);
    SetEnvironmentVariableW(L"TARNIX_CURSOR_CHILD", nullptr);
    ASSERT_TRUE(started);
    ASSERT_EQ(WaitForSingleObject(child.hProcess, 60000), WAIT_OBJECT_0);
    DWORD exitCode = 0;
    GetExitCodeProcess(child.hProcess, &exitCode);
    CloseHandle(child.hThread);
    CloseHandle(child.hProcess);
    ASSERT_EQ(exitCode, 3u);

    // The next run: its hide keeps the saved copy, its restore brings the user's values back.
    EXPECT_EQ(TextOf(SnapshotKey(kUser, kUserCursorsKey), L""), L"Quva");
    HideCursorsIfNeeded();
    EXPECT_EQ(SnapshotKey(kUser, kSavedCursorsKey), user);
    RestoreCursorsIfNeeded();
    EXPECT_EQ(SnapshotKey(kUser, kUserCursorsKey), user);
}

}  // namespace
