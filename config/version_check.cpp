// The leading-digits comparison of the driver library's version text.
#include "config/version_check.h"

int32_t LeadingVersionNumber(const wchar_t* versionText) {
    if (versionText == nullptr) return 0;
    int64_t value = 0;
    for (const wchar_t* p = versionText; *p >= L'0' && *p <= L'9'; ++p) {
        value = value * 10 + (*p - L'0');
        if (value > INT32_MAX) return INT32_MAX;
    }
    return int32_t(value);
}

bool IsDriverVersionTooOld(const wchar_t* versionText) {
    return versionText == nullptr || LeadingVersionNumber(versionText) < kMinimumDriverMajorVersion;
}
