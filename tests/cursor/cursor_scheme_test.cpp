// The text rules of cursor hiding: table lookup, hidden marker, scheme lists and path variables.
#include "cursors/cursor_scheme.h"

#include <gtest/gtest.h>

#include <map>

namespace {

const std::wstring kWindows = L"C:\\windows";

// All files a scheme list yields, in order, until the reader says none.
std::vector<std::wstring> FilesOf(const std::wstring& list) {
    SchemeListReader reader(list);
    std::vector<std::wstring> files;
    std::wstring path;
    while (files.size() < 100 && NextSchemeCursorFile(reader, kWindows, path))
        files.push_back(path);
    return files;
}

EnvironmentLookup FakeEnvironment(std::map<std::wstring, std::wstring> values) {
    return [values](const std::wstring& name) {
        auto it = values.find(name);
        return it == values.end() ? std::wstring() : it->second;
    };
}

TEST(CursorTable, LooksNamesUpExactly) {
    EXPECT_EQ(FindCursorId(L"Arrow"), 32512u);
    EXPECT_EQ(FindCursorId(L"AppStarting"), 32650u);
    EXPECT_EQ(FindCursorId(L"Hand"), 32649u);
    EXPECT_EQ(FindCursorId(L"UpArrow"), 32516u);
    EXPECT_EQ(FindCursorId(L"arrow"), 0u);
    EXPECT_EQ(FindCursorId(L"Scheme Source"), 0u);
    EXPECT_EQ(FindCursorId(L""), 0u);
    EXPECT_EQ(FindCursorId(nullptr), 0u);
    EXPECT_STREQ(CursorTable[2].Name, L"Wait");
    EXPECT_STREQ(CursorTable[11].Name, L"UpArrow");
}

TEST(HiddenMarker, IsCaseInsensitiveContainment) {
    EXPECT_TRUE(IsHiddenSchemeName(L"Quva"));
    EXPECT_TRUE(IsHiddenSchemeName(L"my QUVA scheme"));
    EXPECT_FALSE(IsHiddenSchemeName(L"Windows Default"));
    EXPECT_FALSE(IsHiddenSchemeName(L"Qu va"));
    EXPECT_FALSE(IsHiddenSchemeName(L""));
    EXPECT_FALSE(IsHiddenSchemeName(nullptr));
}

TEST(DefaultScheme, HasFourteenEntriesWithTheSecondAndSeventhEmpty) {
    const std::wstring list = BuildNullCursorScheme(L"C:\\windows\\");
    const std::wstring file = L"C:\\windows\\cursors\\null.cur";
    std::wstring expected;
    for (int i = 1; i <= 14; ++i) {
        if (i != 2 && i != 7) expected += file;
        if (i != 14) expected += L",";
    }
    EXPECT_EQ(list, expected);
}

TEST(DefaultScheme, ServesTheFirstTwelveRows) {
    const std::vector<std::wstring> files = FilesOf(BuildNullCursorScheme(kWindows));
    ASSERT_EQ(files.size(), 12u);
    for (const std::wstring& file : files) EXPECT_EQ(file, L"C:\\windows\\cursors\\null.cur");
}

TEST(SchemeList, EmptyMiddleEntryIsPassedOverAndTheListEndsAfterTwoFiles) {
    const std::vector<std::wstring> files =
        FilesOf(L"%SystemRoot%\\cursors\\a.cur,,%SystemRoot%\\cursors\\b.cur");
    ASSERT_EQ(files.size(), 2u);  // Arrow and AppStarting; Wait gets nothing
    EXPECT_EQ(files[0], L"C:\\windows\\cursors\\a.cur");
    EXPECT_EQ(files[1], L"C:\\windows\\cursors\\b.cur");
}

TEST(SchemeList, RunsOfCommasCollapse) {
    EXPECT_EQ(FilesOf(L"x\\cursors\\a.cur,,,,x\\cursors\\b.cur,x\\cursors\\c.cur").size(), 3u);
    EXPECT_EQ(FilesOf(L",,x\\cursors\\a.cur").size(), 1u);
    EXPECT_EQ(FilesOf(L"x\\cursors\\a.cur,").size(), 1u);
}

TEST(SchemeList, AnEntryOutsideTheCursorsFolderEndsTheList) {
    const std::vector<std::wstring> files =
        FilesOf(L"D:\\cursors\\a.cur,C:\\windows\\null.cur,D:\\cursors\\c.cur");
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(files[0], L"C:\\windows\\cursors\\a.cur");
    EXPECT_TRUE(FilesOf(L"C:\\Windows\\Cursors\\a.cur").empty());  // the folder name is exact
    EXPECT_TRUE(FilesOf(L"").empty());
}

TEST(SchemeList, TakesTheFileFromTheCursorsFolderOfTheWindowsFolder) {
    SchemeListReader reader(L"E:\\old\\cursors\\sub\\x.ani");
    std::wstring path;
    ASSERT_TRUE(NextSchemeCursorFile(reader, L"C:\\WINNT\\", path));
    EXPECT_EQ(path, L"C:\\WINNT\\cursors\\sub\\x.ani");
    EXPECT_FALSE(NextSchemeCursorFile(reader, L"C:\\WINNT", path));
}

TEST(PathVariables, ExpandTheFirstVariableAsAPathComponent) {
    const EnvironmentLookup env = FakeEnvironment({{L"SYSTEMROOT", L"C:\\windows"}});
    std::wstring path = L"%SystemRoot%\\cursors\\aero_arrow.cur";
    ASSERT_TRUE(ExpandPathVariables(path, env));
    EXPECT_EQ(path, L"C:\\windows\\cursors\\aero_arrow.cur");

    path = L"%systemroot%cursors\\x.cur";  // joined with a separator, name upper-cased
    ASSERT_TRUE(ExpandPathVariables(path, env));
    EXPECT_EQ(path, L"C:\\windows\\cursors\\x.cur");

    path = L"D:\\%SystemRoot%\\%SystemRoot%";  // only the first variable
    ASSERT_TRUE(ExpandPathVariables(path, env));
    EXPECT_EQ(path, L"D:\\C:\\windows\\%SystemRoot%");
}

TEST(PathVariables, HandlePlainUnsetAndBrokenPaths) {
    const EnvironmentLookup env = FakeEnvironment({{L"EMPTY", L""}});
    std::wstring path = L"C:\\cursors\\plain.cur";
    ASSERT_TRUE(ExpandPathVariables(path, env));
    EXPECT_EQ(path, L"C:\\cursors\\plain.cur");

    path = L"%UNSET%\\a.cur";
    ASSERT_TRUE(ExpandPathVariables(path, env));
    EXPECT_EQ(path, L"a.cur");

    path = L"%EMPTY%";
    EXPECT_FALSE(ExpandPathVariables(path, env));
    path = L"%SystemRoot\\a.cur";
    EXPECT_FALSE(ExpandPathVariables(path, env));
    EXPECT_EQ(path, L"%SystemRoot\\a.cur");
    path = L"";
    EXPECT_FALSE(ExpandPathVariables(path, env));
}

TEST(PathVariables, RefuseResultsLongerThanAPath) {
    const EnvironmentLookup env = FakeEnvironment({{L"LONG", std::wstring(300, L'x')}});
    std::wstring path = L"%LONG%\\a.cur";
    EXPECT_FALSE(ExpandPathVariables(path, env));
    path = std::wstring(kCursorPathCapacity, L'y');
    EXPECT_FALSE(ExpandPathVariables(path, env));
}

TEST(PathJoin, PutsExactlyOneSeparator) {
    EXPECT_EQ(JoinPathComponent(L"C:\\a", L"b"), L"C:\\a\\b");
    EXPECT_EQ(JoinPathComponent(L"C:\\a\\", L"\\\\b"), L"C:\\a\\b");
    EXPECT_EQ(JoinPathComponent(L"", L"\\b"), L"b");
    EXPECT_EQ(JoinPathComponent(L"C:\\a", L""), L"C:\\a");
}

}  // namespace
