// Proves that GoogleTest programs build and run through tarnix_add_test in every build.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#ifdef _WIN32
#include <windows.h>
#endif

namespace {

TEST(BenchGtest, FormatsDoublesLikeGlibc) {
    // Reports must be byte-identical between builds: the Windows build uses C99 printf.
    char text[64];
    std::snprintf(text, sizeof text, "%.6f %g %e", 1.0 / 3.0, 1e-5, 12345.678);
    EXPECT_STREQ("0.333333 1e-05 1.234568e+04", text);
}

#ifdef _WIN32
TEST(BenchGtest, RunsUnderWineWithPrivateProfileFolders) {
    wchar_t folder[MAX_PATH] = {};
    ASSERT_GT(GetEnvironmentVariableW(L"ProgramData", folder, MAX_PATH), 0u);
    EXPECT_EQ(0, _wcsicmp(L"C:\\ProgramData", folder));
    // A fresh prefix holds no Quvatec key: no state leaks from another run.
    HKEY key = nullptr;
    EXPECT_NE(ERROR_SUCCESS, RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Quvatec", 0, KEY_READ, &key));
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Quvatec", 0, nullptr, 0,
                                             KEY_ALL_ACCESS, nullptr, &key, nullptr));
    RegCloseKey(key);
}

TEST(BenchGtest, HasADisplay) {
    EXPECT_GE(GetSystemMetrics(SM_CXSCREEN), 640);
    EXPECT_EQ(1, GetSystemMetrics(SM_CMONITORS));
}
#endif

}  // namespace
