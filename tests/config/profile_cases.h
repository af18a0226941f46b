// Profile lookups with the answers of the platform's own reader: one table for both readers.
#pragma once

#include <cstddef>
#include <string_view>

struct ProfileCase {
    const char* name;
    std::string_view fileBytes;  // exact bytes of the file
    const wchar_t* section;
    const wchar_t* key;
    size_t capacity;
    const wchar_t* expected;
};

#define LONG50 "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWX"
#define LONG200 LONG50 LONG50 LONG50 LONG50
#define WLONG50 L"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWX"

using namespace std::string_view_literals;

inline const ProfileCase kProfileCases[] = {
    {"plain value", "[TARNIX-APP]\r\nNumGridRows=7\r\n"sv, L"TARNIX-APP", L"NumGridRows", 200,
     L"7"},
    {"names ignore case", "[tarnix-app]\nnumgridrows = 7 \n"sv, L"TARNIX-APP", L"NumGridRows", 200,
     L"7"},
    {"blanks around value", "[S]\nK=\t  5 x \t\n"sv, L"S", L"K", 200, L"5 x"},
    {"blanks inside key", "[S]\n  K   =5\n"sv, L"S", L"K", 200, L"5"},
    {"double quotes", "[S]\nK=\"  abc  \"\n"sv, L"S", L"K", 200, L"  abc  "},
    {"single quotes", "[S]\nK='abc'\n"sv, L"S", L"K", 200, L"abc"},
    {"mismatched quotes", "[S]\nK=\"abc'\n"sv, L"S", L"K", 200, L"\"abc'"},
    {"lone quote", "[S]\nK=\"\n"sv, L"S", L"K", 200, L"\""},
    {"empty quotes", "[S]\nK=\"\"\n"sv, L"S", L"K", 200, L""},
    {"one pair only", "[S]\nK=\"\"abc\"\"\n"sv, L"S", L"K", 200, L"\"abc\""},
    {"inner quote", "[S]\nK=\"a\"b\"\n"sv, L"S", L"K", 200, L"a\"b"},
    {"leading quote only", "[S]\nK=\"abc\n"sv, L"S", L"K", 200, L"\"abc"},
    {"equals in value", "[S]\nK=a=b\n"sv, L"S", L"K", 200, L"a=b"},
    {"empty value", "[S]\nK=\n"sv, L"S", L"K", 200, L""},
    {"blank value", "[S]\nK=   \n"sv, L"S", L"K", 200, L""},
    {"inline semicolon kept", "[S]\nK=5 ; note\n"sv, L"S", L"K", 200, L"5 ; note"},
    {"long value truncated", "[S]\nK=" LONG200 "xyz\n"sv, L"S", L"K", 200,
     WLONG50 WLONG50 WLONG50 L"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVW"},
    {"quoted long value truncated", "[S]\nK=\"" LONG200 "\"\n"sv, L"S", L"K", 200,
     WLONG50 WLONG50 WLONG50 L"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVW"},
    // 199 characters between the quotes: the platform drops the last one with the closing quote.
    {"quoted value of 199",
     "[S]\nK=\"" LONG50 LONG50 LONG50 "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVW\"\n"sv,
     L"S", L"K", 200, WLONG50 WLONG50 WLONG50 L"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUV"},
    {"small capacity", "[S]\nK=123456\n"sv, L"S", L"K", 4, L"123"},
    {"small capacity quoted", "[S]\nK=\"123\"\n"sv, L"S", L"K", 4, L"12"},
    {"quoted fits exactly", "[S]\nK=\"123\"\n"sv, L"S", L"K", 5, L"123"},
    {"first key wins", "[S]\nK=1\nK=2\n"sv, L"S", L"K", 200, L"1"},
    {"key without equals first", "[S]\nK\nK=5\n"sv, L"S", L"K", 200, L""},
    {"key without equals", "[S]\nK\n"sv, L"S", L"K", 200, L""},
    {"first section wins", "[S]\nA=1\n[S]\nB=2\n"sv, L"S", L"B", 200, L""},
    {"first section value", "[S]\nA=1\n[s]\nA=2\n"sv, L"S", L"A", 200, L"1"},
    {"other section", "[S]\n[T]\nK=5\n"sv, L"S", L"K", 200, L""},
    {"before any section", "K=1\n[S]\nK=2\n"sv, L"S", L"K", 200, L"2"},
    {"only before section", "K=1\n[S]\n"sv, L"S", L"K", 200, L""},
    {"comment line", "[S]\n;K=5\nK=6\n"sv, L"S", L"K", 200, L"6"},
    {"comment key not found", "[S]\n; K=5\n"sv, L"S", L"K", 200, L""},
    {"text after header", "[S] ; header note\nK=5\n"sv, L"S", L"K", 200, L"5"},
    {"blanks before header", "   [S]\nK=5\n"sv, L"S", L"K", 200, L"5"},
    {"blanks inside brackets", "[ S ]\nK=5\n"sv, L"S", L"K", 200, L"5"},
    {"header with inner blanks", "[ S T ]\nK=5\n"sv, L"S T", L"K", 200, L"5"},
    {"lookup names trimmed", "[S]\nK=5\n"sv, L" S ", L" K ", 200, L"5"},
    {"tab before key", "[S]\n\tK=5\n"sv, L"S", L"K", 200, L"5"},
    {"bracket line without close", "[S]\n[K=5\n"sv, L"S", L"[K", 200, L"5"},
    {"header without bracket", "[S]\nA=1\n[T\nK=5\n"sv, L"S", L"K", 200, L"5"},
    {"LF only", "[S]\nA=1\nK=5\n"sv, L"S", L"K", 200, L"5"},
    {"CR only", "[S]\rA=1\rK=5\r"sv, L"S", L"K", 200, L"5"},
    {"no final line end", "[S]\r\nK=5"sv, L"S", L"K", 200, L"5"},
    {"blank lines", "\r\n\r\n[S]\r\n   \r\n\r\nK=5\r\n"sv, L"S", L"K", 200, L"5"},
    {"utf8 bom", "\xEF\xBB\xBF[S]\r\nK=5\r\n"sv, L"S", L"K", 200, L"5"},
    {"utf8 bom text", "\xEF\xBB\xBF[S]\r\nK=\xC3\xA9t\xC3\xA9\r\n"sv, L"S", L"K", 200,
     L"\u00E9t\u00E9"},
    {"ansi text", "[S]\r\nK=\xE9\x80\r\n"sv, L"S", L"K", 200, L"\u00E9\u20AC"},
    {"utf8 without bom", "[S]\r\nK=\xC3\xA9\r\n"sv, L"S", L"K", 200, L"\u00C3\u00A9"},
    {"utf16 bom",
     "\xFF\xFE[\0S\0]\0\r\0\n\0K\0=\0"
     "5\0\r\0\n\0"sv,
     L"S", L"K", 200, L"5"},
    {"ctrl-z blank", "[S]\r\nK=5\x1a\r\n"sv, L"S", L"K", 200, L"5"},
    {"missing section", "[T]\r\nK=5\r\n"sv, L"S", L"K", 200, L""},
    {"empty file", ""sv, L"S", L"K", 200, L""},
};
