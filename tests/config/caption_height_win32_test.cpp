// CaptionHeight from the per-user registry, with the system's caption height as the fall-back.
#include <gtest/gtest.h>
#include <windows.h>

#include "config/calibration_config.h"
#include "platform/platform.h"

namespace {

const wchar_t kMetricsKey[] = L"Control Panel\\Desktop\\WindowMetrics";

// Sets CaptionHeight for the test and puts the previous value back afterwards.
class CaptionHeightValue {
  public:
    CaptionHeightValue() {
        RegCreateKeyExW(HKEY_CURRENT_USER, kMetricsKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        &key_, nullptr);
        DWORD size = sizeof saved_;
        hadValue_ = RegQueryValueExW(key_, L"CaptionHeight", nullptr, nullptr,
                                     reinterpret_cast<BYTE*>(saved_), &size) == ERROR_SUCCESS;
    }
    ~CaptionHeightValue() {
        if (hadValue_) {
            Set(saved_);
        } else {
            RegDeleteValueW(key_, L"CaptionHeight");
        }
        RegCloseKey(key_);
    }
    void Set(const wchar_t* text) {
        RegSetValueExW(key_, L"CaptionHeight", 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                       DWORD((wcslen(text) + 1) * sizeof(wchar_t)));
    }
    void Remove() { RegDeleteValueW(key_, L"CaptionHeight"); }

  private:
    HKEY key_ = nullptr;
    wchar_t saved_[256] = {};
    bool hadValue_ = false;
};

TEST(CaptionHeightRegistry, NegativeTwipsAreNegated) {
    CaptionHeightValue value;
    value.Set(L"-330");
    EXPECT_EQ(ReadCaptionHeightTwips(), 330);
}

TEST(CaptionHeightRegistry, MissingOrUnusableValueGivesTheSystemHeight) {
    CaptionHeightValue value;
    int32_t system = PlatformDefaultCaptionHeightTwips();
    EXPECT_GT(system, 0);
    value.Remove();
    EXPECT_EQ(ReadCaptionHeightTwips(), system);
    for (const wchar_t* text : {L"330", L"0", L"abc", L"-99999"}) {
        value.Set(text);
        EXPECT_EQ(ReadCaptionHeightTwips(), system);
    }
}

}  // namespace
