// Support folder, QuvaOptions.ini and the caption height on Win32.
#include <gtest/gtest.h>
#include <shlobj.h>
#include <windows.h>

#include <fstream>
#include <string>

#include "config/quva_options.h"
#include "config/support_folder.h"
#include "platform/platform.h"
#include "tests/foundation/win32_test_support.h"

namespace {

std::wstring ExpectedSupportFolder() {
    wchar_t base[MAX_PATH];
    SHGetFolderPathW(nullptr, CSIDL_PROGRAM_FILES, nullptr, SHGFP_TYPE_CURRENT, base);
    return std::wstring(base) + L"\\Zeph\\Touch";
}

class QuvaOptionsFile : public testing::Test {
  protected:
    void SetUp() override {
        PlatformCreateFolders(ExpectedSupportFolder());
        DeleteFileW(path_.c_str());
    }
    void TearDown() override {
        DeleteFileW(path_.c_str());
        SetEnableDebug(0, true);
    }
    std::wstring path_ = ExpectedSupportFolder() + L"\\QuvaOptions.ini";
};

TEST(GetSupportFolder, IsProgramFilesZephTouch) {
    EXPECT_EQ(std::wstring(GetSupportFolder()), ExpectedSupportFolder());
    wchar_t mine[kSupportFolderCapacity] = L"";
    EXPECT_EQ(GetSupportFolder(mine), mine);
    EXPECT_EQ(std::wstring(mine), ExpectedSupportFolder());
}

TEST_F(QuvaOptionsFile, TransparentOneGivesOne) {
    std::ofstream(path_.c_str(), std::ios::binary) << "[Calibration]\r\nTransparent=1\r\n";
    EXPECT_EQ(getQuvaOptions(), 1);
}

TEST_F(QuvaOptionsFile, MissingFileGivesZeroAndOneTraceNamingCsidl64) {
    SetEnableDebug(1);
    DebuggerChannelCapture capture;
    EXPECT_EQ(getQuvaOptions(), 0);
    std::vector<std::wstring> lines = capture.Lines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0],
              L"getQuvaOptions() failed! pszSection=Calibration pszKey=Transparent nDefault=0 "
              L"pszIniFile=QuvaOptions.ini csidl=64 err=2");
}

TEST(CaptionHeight, IsTheSystemCaptionInTwips) {
    HDC screen = GetDC(nullptr);
    int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(PlatformDefaultCaptionHeightTwips(), GetSystemMetrics(SM_CYCAPTION) * 1440 / dpi);
    EXPECT_GT(PlatformDefaultCaptionHeightTwips(), 0);
}

}  // namespace
