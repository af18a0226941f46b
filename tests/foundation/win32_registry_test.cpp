// The registry list operations on the Win32 registry (scratch keys under HKCU\Software\TarnixTest).
#include <gtest/gtest.h>

#include <string>

#include "platform/registry_values.h"
#include "tests/foundation/win32_test_support.h"

namespace {

class RegistryLists : public testing::Test {
  protected:
    void TearDown() override { SetEnableDebug(0, true); }
};

TEST_F(RegistryLists, DefaultValueIsReadAndWrittenAsTheUnnamedValue) {
    ScratchKey source(L"ReadSource");
    ScratchKey target(L"WriteTarget");
    source.SetText(nullptr, L"arrow.cur");
    source.SetNumber(L"Scheme Source", 2);
    DWORD scheme = 0;
    RegistryValueSpec list[] = {
        {0, L"(Default)", REG_SZ, 0, nullptr},
        {0, L"Scheme Source", REG_DWORD, sizeof scheme, &scheme},
        {0, L"Missing", REG_SZ, 0, nullptr},
        {0, L"", 0, 0, nullptr},
    };
    RegistryStatus status = {};
    EXPECT_EQ(ReadRegistryValues(HKEY_CURRENT_USER, source.Path().c_str(), list, status), 2);
    EXPECT_EQ(std::wstring(status.KeyPath), source.Path());
    EXPECT_EQ(status.LastError, static_cast<DWORD>(ERROR_FILE_NOT_FOUND));  // "Missing"
    ASSERT_EQ(list[0].Found, 1u);
    EXPECT_STREQ(static_cast<wchar_t*>(list[0].Data), L"arrow.cur");
    EXPECT_EQ(list[1].Found, 1u);
    EXPECT_EQ(scheme, 2u);
    EXPECT_EQ(list[2].Found, 0u);

    std::wcscpy(status.KeyPath, target.Path().c_str());
    EXPECT_EQ(WriteRegistryValues(HKEY_CURRENT_USER, list, status), 2);
    EXPECT_EQ(target.Text(nullptr), L"arrow.cur");
    EXPECT_EQ(target.ValueCount(), 2u);
    EXPECT_EQ(target.Text(L"(Default)"), L"<absent>");  // never a value literally so named
    delete[] static_cast<BYTE*>(list[0].Data);
}

TEST_F(RegistryLists, ValueLargerThanItsBufferIsSkippedNotTruncated) {
    ScratchKey source(L"Overlong");
    source.SetText(L"Arrow", std::wstring(100, L'a'));
    source.SetText(L"Hand", L"hand.cur");
    wchar_t small[4] = L"zzz";
    wchar_t hand[16] = L"";
    RegistryValueSpec list[] = {
        {0, L"Arrow", REG_SZ, sizeof small, small},
        {0, L"Hand", REG_SZ, sizeof hand, hand},
        {0, nullptr, 0, 0, nullptr},
    };
    RegistryStatus status = {};
    EXPECT_EQ(ReadRegistryValues(HKEY_CURRENT_USER, source.Path().c_str(), list, status), 1);
    EXPECT_EQ(list[0].Found, 0u);
    EXPECT_EQ(list[0].Size, sizeof small);  // the buffer's capacity, not the stored size
    EXPECT_EQ(status.LastError, static_cast<DWORD>(ERROR_MORE_DATA));
    EXPECT_EQ(list[1].Found, 1u);
    EXPECT_STREQ(hand, L"hand.cur");

    ScratchKey target(L"OverlongTarget");
    std::wcscpy(status.KeyPath, target.Path().c_str());
    EXPECT_EQ(WriteRegistryValues(HKEY_CURRENT_USER, list, status), 1);
    EXPECT_EQ(target.Text(L"Arrow"), L"<absent>");
}

TEST_F(RegistryLists, WriteUsesThePathFromSystemOn) {
    ScratchKey root(L"SystemRoot");
    DWORD number = 9;
    RegistryValueSpec list[] = {{1, L"Value", REG_DWORD, sizeof number, &number},
                                {0, L"", 0, 0, nullptr}};
    RegistryStatus status = {};
    std::wcscpy(status.KeyPath, L"Ignored\\Prefix\\System\\Cursors");
    EXPECT_EQ(WriteRegistryValues(root.Key(), list, status), 1);
    HKEY written = nullptr;
    EXPECT_EQ(RegOpenKeyExW(root.Key(), L"System\\Cursors", 0, KEY_READ, &written), ERROR_SUCCESS);
    RegCloseKey(written);
    EXPECT_NE(RegOpenKeyExW(root.Key(), L"Ignored", 0, KEY_READ, &written), ERROR_SUCCESS);
}

TEST_F(RegistryLists, MissingKeyReadsNothingAndKeepsTheError) {
    RegistryValueSpec list[] = {{1, L"Arrow", REG_SZ, 0, nullptr}, {0, L"", 0, 0, nullptr}};
    RegistryStatus status = {};
    EXPECT_EQ(ReadRegistryValues(HKEY_CURRENT_USER, L"Software\\TarnixTest\\Absent", list, status),
              0);
    EXPECT_EQ(status.LastError, static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(list[0].Found, 1u);  // untouched: the key was never opened
}

TEST_F(RegistryLists, DeleteEmptiesAKeyOfThreeValues) {
    ScratchKey key(L"DeleteThree");
    key.SetText(nullptr, L"default");
    key.SetText(L"Arrow", L"a.cur");
    key.SetNumber(L"Scheme Source", 1);
    RegistryStatus status = {};
    RegOpenKeyExW(HKEY_CURRENT_USER, key.Path().c_str(), 0, KEY_QUERY_VALUE | KEY_SET_VALUE,
                  &status.Key);
    DeleteRegistryValues(status);
    EXPECT_EQ(status.Key, nullptr);
    EXPECT_EQ(key.ValueCount(), 0u);
}

TEST_F(RegistryLists, DeleteRemovesAtMost31Values) {
    ScratchKey key(L"DeleteMany");
    for (int i = 0; i < 40; ++i) key.SetNumber((L"V" + std::to_wstring(i)).c_str(), i);
    RegistryStatus status = {};
    RegOpenKeyExW(HKEY_CURRENT_USER, key.Path().c_str(), 0, KEY_QUERY_VALUE | KEY_SET_VALUE,
                  &status.Key);
    DeleteRegistryValues(status);
    EXPECT_EQ(key.ValueCount(), 9u);
}

TEST_F(RegistryLists, CopyOfFiveValuesTracesTheCountAndSkipsOversizedOnes) {
    ScratchKey from(L"CopyFrom");
    ScratchKey to(L"CopyTo");
    from.SetText(nullptr, L"default");
    for (const wchar_t* name : {L"Arrow", L"Hand", L"Wait"}) from.SetText(name, name);
    from.SetNumber(L"Scheme Source", 2);
    from.SetText(L"Huge", std::wstring(300, L'h'));               // 602 bytes of data
    from.SetText(std::wstring(128, L'n').c_str(), L"long name");  // 128-character name
    SetEnableDebug(1);
    DebuggerChannelCapture capture;
    RegistryStatus status = {};
    RegCopyValues(status, to.Path().c_str(), from.Path().c_str());
    ASSERT_EQ(capture.Lines().size(), 1u);
    EXPECT_EQ(capture.Lines()[0], L"RegCopyValues: Success copy key cnt5");
    EXPECT_EQ(to.ValueCount(), 5u);
    EXPECT_EQ(to.Text(nullptr), L"default");
    EXPECT_EQ(to.Text(L"Wait"), L"Wait");
    EXPECT_EQ(to.Text(L"Huge"), L"<absent>");
}

TEST_F(RegistryLists, CopyTracesWhichKeyCouldNotBeOpened) {
    ScratchKey existing(L"CopyExisting");
    SetEnableDebug(1);
    DebuggerChannelCapture capture;
    RegistryStatus status = {};
    RegCopyValues(status, existing.Path().c_str(), L"Software\\TarnixTest\\NoSuchSource");
    EXPECT_EQ(status.LastError, static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    RegCopyValues(status, L"Software\\TarnixTest\\NoSuchTarget", existing.Path().c_str());
    std::vector<std::wstring> lines = capture.Lines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], L"RegCopyValues: Error opening from key");
    EXPECT_EQ(lines[1], L"RegCopyValues: Error opening to key");
}

}  // namespace
