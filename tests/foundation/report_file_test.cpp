// Report files on the portable build: creation, append, CR LF, permissions and failures.
#include "platform/report_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "tests/foundation/portable_test_support.h"

namespace {

TEST(OpenReportFile, CreatesFolderAndEmptyFileThenAppends) {
    ScratchFolders folders;
    ASSERT_FALSE(std::filesystem::exists(folders.reports_));
    PlatformReportStream* stream = OpenReportFile(L"Coefficients.txt");
    ASSERT_NE(stream, nullptr);
    PlatformCloseReport(stream);
    const auto path = folders.reports_ / "Coefficients.txt";
    ASSERT_TRUE(std::filesystem::exists(path));
    EXPECT_EQ(std::filesystem::file_size(path), 0u);

    { ReportFile(L"Coefficients.txt").Printf("a=%d\n", 1); }
    {
        ReportFile report(L"Coefficients.txt");
        ASSERT_TRUE(report.IsOpen());
        report.Printf("b=%.3f\nno end", 2.5);
    }
    EXPECT_EQ(ReadAll(path), "a=1\r\nb=2.500\r\nno end");
}

TEST(OpenReportFile, NewFilesAreWritableByEveryUserWhateverTheUmask) {
    ScratchFolders folders;
    mode_t previous = umask(077);
    PlatformCloseReport(OpenReportFile(L"LSSmin.txt"));
    umask(previous);
    struct stat info;
    ASSERT_EQ(stat((folders.reports_ / "LSSmin.txt").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0666u);
}

TEST(OpenReportFile, NoNameGivesNoneAndTouchesNothing) {
    ScratchFolders folders;
    EXPECT_EQ(OpenReportFile(nullptr), nullptr);
    EXPECT_EQ(OpenReportFile(L""), nullptr);
    EXPECT_FALSE(std::filesystem::exists(folders.reports_));
}

TEST(OpenReportFile, UncreatableFolderGivesNoneAndWritersSkip) {
    ScratchFolders folders;
    std::ofstream(folders.root_ / "plainfile") << "x";
    setenv("TARNIX_REPORT_DIR", (folders.root_ / "plainfile" / "sub").c_str(), 1);
    EXPECT_EQ(OpenReportFile(L"symmetrized.txt"), nullptr);
    ReportFile report(L"symmetrized.txt");
    EXPECT_FALSE(report.IsOpen());
    report.Printf("ignored %d\n", 1);  // must neither crash nor write
    EXPECT_EQ(ReadAll(folders.root_ / "plainfile"), "x");
}

TEST(ReportFile, LongLinesAreWrittenWhole) {
    ScratchFolders folders;
    std::string longText(3000, 'z');
    { ReportFile(L"SvdFitInputs.txt").Printf("%s\n", longText.c_str()); }
    EXPECT_EQ(ReadAll(folders.reports_ / "SvdFitInputs.txt"), longText + "\r\n");
}

}  // namespace
