// Tests of the stand-in's version resources under Wine: 4.2.0.0 for the library, 3.9.0.0 for the
// old build.
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "tests/simcontroller/win32_test_support.h"

namespace {

// The "ProductVersion" string of a file's first translation, and its fixed product version.
bool ReadProductVersion(const std::filesystem::path& file, std::wstring* text, DWORD* high,
                        DWORD* low) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(file.c_str(), &ignored);
    if (size == 0) return false;
    std::vector<uint8_t> data(size);
    if (!GetFileVersionInfoW(file.c_str(), 0, size, data.data())) return false;
    struct Translation {
        WORD language, codePage;
    }* translation = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation",
                        reinterpret_cast<void**>(&translation), &length) ||
        length < sizeof *translation)
        return false;
    wchar_t query[64];
    swprintf(query, 64, L"\\StringFileInfo\\%04x%04x\\ProductVersion", translation->language,
             translation->codePage);
    wchar_t* value = nullptr;
    if (!VerQueryValueW(data.data(), query, reinterpret_cast<void**>(&value), &length))
        return false;
    *text = value;
    VS_FIXEDFILEINFO* fixed = nullptr;
    if (!VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &length))
        return false;
    *high = fixed->dwProductVersionMS;
    *low = fixed->dwProductVersionLS;
    return true;
}

}  // namespace

TEST(VersionResource, TheLibraryIsVersionFourPointTwo) {
    std::wstring text;
    DWORD high = 0, low = 0;
    ASSERT_TRUE(ReadProductVersion(TestProgramFolder() / L"QuvaIntf.dll", &text, &high, &low));
    EXPECT_EQ(text, L"4.2.0.0");
    EXPECT_EQ(high, 0x00040002u);
    EXPECT_EQ(low, 0u);
}

TEST(VersionResource, TheOldBuildIsVersionThreePointNine) {
    std::wstring text;
    DWORD high = 0, low = 0;
    ASSERT_TRUE(ReadProductVersion(TestProgramFolder() / L"old-driver" / L"QuvaIntf.dll", &text,
                                   &high, &low));
    EXPECT_EQ(text, L"3.9.0.0");
    EXPECT_EQ(high, 0x00030009u);
}

TEST(VersionResource, TheDesktopMonitorStandInHasOneToo) {
    std::wstring text;
    DWORD high = 0, low = 0;
    ASSERT_TRUE(ReadProductVersion(TestProgramFolder() / L"QuvaDkMon.exe", &text, &high, &low));
    EXPECT_EQ(text, L"4.2.0.0");
}
