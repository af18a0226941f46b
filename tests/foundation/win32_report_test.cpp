// Report files on Win32: the world-access descriptor, creation in ProgramData, append, failures.
#include <gtest/gtest.h>
#include <shlobj.h>
#include <windows.h>

#include <cstring>
#include <fstream>
#include <string>

#include "platform/platform.h"
#include "platform/report_file.h"
#include "platform/report_security_win32.h"
#include "tests/foundation/win32_test_support.h"

namespace {

std::wstring ReportFolder() {
    wchar_t base[MAX_PATH];
    SHGetFolderPathW(nullptr, CSIDL_COMMON_APPDATA, nullptr, SHGFP_TYPE_CURRENT, base);
    return std::wstring(base) + L"\\Zeph\\Touch";
}

std::string ReadBytes(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

bool Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Starts every test without the report folder, and leaves none behind.
class ReportFolderTest : public testing::Test {
  protected:
    void SetUp() override { RemoveReportFolder(); }
    void TearDown() override {
        RemoveReportFolder();
        SetEnableDebug(0, true);
    }
    static void RemoveReportFolder() {
        const std::wstring folder = ReportFolder();
        for (const wchar_t* name : {L"foundation.txt", L"second.txt"}) {
            DeleteFileW((folder + L"\\" + name).c_str());
        }
        DeleteFileW(folder.c_str());  // when a test put a file in its place
        RemoveDirectoryW(folder.c_str());
    }
};

TEST(WorldAccessDescriptor, HoldsExactlyOneGenericAllEntryForTheWorld) {
    WorldAccessDescriptor security;
    ASSERT_TRUE(security.Build());
    ASSERT_TRUE(IsValidSecurityDescriptor(security.Descriptor()));
    BOOL present = FALSE, defaulted = TRUE;
    PACL acl = nullptr;
    ASSERT_TRUE(GetSecurityDescriptorDacl(security.Descriptor(), &present, &acl, &defaulted));
    EXPECT_TRUE(present);
    EXPECT_FALSE(defaulted);
    ASSERT_NE(acl, nullptr);
    ACL_SIZE_INFORMATION size = {};
    ASSERT_TRUE(GetAclInformation(acl, &size, sizeof size, AclSizeInformation));
    ASSERT_EQ(size.AceCount, 1u);
    void* raw = nullptr;
    ASSERT_TRUE(GetAce(acl, 0, &raw));
    auto* ace = static_cast<ACCESS_ALLOWED_ACE*>(raw);
    EXPECT_EQ(ace->Header.AceType, ACCESS_ALLOWED_ACE_TYPE);
    EXPECT_EQ(ace->Header.AceFlags, 0);  // neither inherited nor inheritable
    EXPECT_EQ(ace->Mask, static_cast<DWORD>(GENERIC_ALL));
    PSID sid = &ace->SidStart;  // S-1-1-0: authority 1, one sub-authority 0
    ASSERT_TRUE(IsValidSid(sid));
    const SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
    EXPECT_EQ(std::memcmp(GetSidIdentifierAuthority(sid), &world, sizeof world), 0);
    ASSERT_EQ(*GetSidSubAuthorityCount(sid), 1);
    EXPECT_EQ(*GetSidSubAuthority(sid, 0), static_cast<DWORD>(SECURITY_WORLD_RID));
}

TEST_F(ReportFolderTest, FirstOpenCreatesFolderAndEmptyFileLaterOpensAppend) {
    PlatformReportStream* stream = OpenReportFile(L"foundation.txt");
    ASSERT_NE(stream, nullptr);
    PlatformCloseReport(stream);
    const std::wstring path = ReportFolder() + L"\\foundation.txt";
    ASSERT_TRUE(Exists(path));
    EXPECT_EQ(ReadBytes(path), "");
    { ReportFile(L"foundation.txt").Printf("first %d\n", 1); }
    {
        ReportFile report(L"foundation.txt");
        ASSERT_TRUE(report.IsOpen());
        report.Printf("second %.2f\nopen end", 0.5);
    }
    EXPECT_EQ(ReadBytes(path), "first 1\r\nsecond 0.50\r\nopen end");
}

TEST_F(ReportFolderTest, SeveralWritersMayHoldOneReport) {
    ReportFile first(L"second.txt");
    ReportFile second(L"second.txt");
    EXPECT_TRUE(first.IsOpen());
    EXPECT_TRUE(second.IsOpen());
}

TEST_F(ReportFolderTest, NoNameGivesNoneAndTouchesNothing) {
    EXPECT_EQ(OpenReportFile(nullptr), nullptr);
    EXPECT_EQ(OpenReportFile(L""), nullptr);
    EXPECT_FALSE(Exists(ReportFolder()));
}

TEST_F(ReportFolderTest, ExistingFileIsNeverRecreated) {
    PlatformCreateFolders(ReportFolder());
    const std::wstring path = ReportFolder() + L"\\foundation.txt";
    std::ofstream(path.c_str(), std::ios::binary) << "kept";
    SetEnableDebug(1);
    DebuggerChannelCapture capture;
    EXPECT_FALSE(CreateWorldAccessibleFile(path.c_str()));
    EXPECT_EQ(capture.Joined(), L"Failure creating secure file.80");  // ERROR_FILE_EXISTS
    EXPECT_EQ(ReadBytes(path), "kept");
}

TEST_F(ReportFolderTest, UncreatableFolderGivesNoneAndWritersSkip) {
    const std::wstring folder = ReportFolder();
    PlatformCreateFolders(folder.substr(0, folder.rfind(L'\\')));
    std::ofstream(folder.c_str(), std::ios::binary) << "not a folder";
    EXPECT_EQ(OpenReportFile(L"foundation.txt"), nullptr);
    ReportFile report(L"foundation.txt");
    EXPECT_FALSE(report.IsOpen());
    report.Printf("dropped\n");
    EXPECT_EQ(ReadBytes(folder), "not a folder");
}

}  // namespace
