// Support folder, QuvaOptions.ini and the portable settings files.
#include <gtest/gtest.h>

#include <clocale>
#include <string>

#include "config/quva_options.h"
#include "config/support_folder.h"
#include "platform/platform.h"
#include "tests/foundation/portable_test_support.h"

namespace {

using testing::internal::CaptureStderr;
using testing::internal::GetCapturedStderr;

TEST(GetSupportFolder, FillsSharedAndCallerBuffers) {
    ScratchFolders folders;
    std::wstring expected(folders.support_.wstring());
    EXPECT_EQ(std::wstring(GetSupportFolder()), expected);
    wchar_t mine[kSupportFolderCapacity] = L"old";
    EXPECT_EQ(GetSupportFolder(mine), mine);
    EXPECT_EQ(std::wstring(mine), expected);
}

TEST(GetSupportFolder, TooLongFolderIsEmptyNotCut) {
    ScratchFolders folders;
    setenv("TARNIX_SUPPORT_DIR", ("/tmp/" + std::string(300, 'd')).c_str(), 1);
    EXPECT_EQ(std::wstring(GetSupportFolder()), L"");
}

TEST(QuvaOptions, TransparentIsRead) {
    ScratchFolders folders;
    folders.WriteSupportFile("QuvaOptions.ini", "[calibration]\r\ntransparent=1\r\n");
    EXPECT_EQ(getQuvaOptions(), 1);
    folders.WriteSupportFile("QuvaOptions.ini", "[Calibration]\r\nOther=1\r\n");
    EXPECT_EQ(getQuvaOptions(), 0);
    // Only 1 makes the window translucent; other numbers and text are read as written.
    folders.WriteSupportFile("QuvaOptions.ini", "[Calibration]\r\nTransparent=abc\r\n");
    EXPECT_EQ(getQuvaOptions(), 0);
    folders.WriteSupportFile("QuvaOptions.ini", "[Calibration]\r\nTransparent=-1\r\n");
    EXPECT_EQ(getQuvaOptions(), -1);
}

TEST(QuvaOptions, MissingFileGivesZeroAndOneTrace) {
    ScratchFolders folders;
    folders.EnableTracing("1");
    CaptureStderr();
    EXPECT_EQ(getQuvaOptions(), 0);
    std::string trace = GetCapturedStderr();
    EXPECT_EQ(
        trace.rfind("getQuvaOptions() failed! pszSection=Calibration pszKey=Transparent nDefault=0 "
                    "pszIniFile=QuvaOptions.ini csidl=64 err=",
                    0),
        0u)
        << trace;
    EXPECT_EQ(trace.find('\n'), std::string::npos);
}

// Folder names outside ASCII, as UTF-8 and as bytes that are not UTF-8, under the C locale and a
// UTF-8 one: the existence check, the settings reader and the trace all name the same folder.
TEST(PortableSettings, NonAsciiSupportFolderIsReadAndTraced) {
    const std::string saved = std::setlocale(LC_CTYPE, nullptr);
    for (const char* locale : {"C", "C.UTF-8"}) {
        if (std::setlocale(LC_CTYPE, locale) == nullptr) continue;
        for (const std::string name : {"support-Z\xc3\xbcrich-\xe6\x9d\xb1", "support-\xfc\xff"}) {
            ScratchFolders folders(name);
            folders.WriteSupportFile("QuvaOptions.ini", "[Calibration]\r\nTransparent=1\r\n");
            EXPECT_EQ(getQuvaOptions(), 1) << locale << " " << name;
            folders.EnableTracing("1");
            CaptureStderr();
            DebugPrint(L"Tarnix.exe: support folder %s", GetSupportFolder());
            EXPECT_EQ(GetCapturedStderr(),
                      "Tarnix.exe: support folder " + folders.support_.string())
                << locale;
        }
    }
    std::setlocale(LC_CTYPE, saved.c_str());
}

TEST(PortableSettings, UserTextAndMachineNumberComeFromSettingsFiles) {
    ScratchFolders folders;
    folders.WriteSupportFile("user-settings.ini",
                             "[Control Panel\\Desktop\\WindowMetrics]\nCaptionHeight=-330\n");
    folders.WriteSupportFile("machine-settings.ini", "[Software\\Quvatec]\nEnableDebug=0x10\n");
    wchar_t text[16];
    ASSERT_TRUE(
        PlatformReadUserText(L"Control Panel\\Desktop\\WindowMetrics", L"CaptionHeight", text, 16));
    EXPECT_EQ(std::wstring(text), L"-330");
    EXPECT_FALSE(
        PlatformReadUserText(L"Control Panel\\Desktop\\WindowMetrics", L"Missing", text, 16));
    uint32_t number = 0;
    ASSERT_TRUE(PlatformReadMachineNumber(L"Software\\Quvatec", L"EnableDebug", &number));
    EXPECT_EQ(number, 16u);
    EXPECT_FALSE(PlatformReadMachineNumber(L"Software\\Other", L"EnableDebug", &number));
    EXPECT_EQ(PlatformDefaultCaptionHeightTwips(), 330);
}

}  // namespace
