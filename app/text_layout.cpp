// The size and place of the calibration window's texts.
#include "app/text_layout.h"

#include <algorithm>

namespace {

constexpr int32_t kAreaShareOfText = 40;
constexpr int32_t kGapAboveButtons = 2;

}  // namespace

int32_t TextHeightForArea(int32_t areaWidth, int32_t areaHeight, int32_t systemFontHeight) {
    return std::max(systemFontHeight, std::min(areaWidth, areaHeight) / kAreaShareOfText);
}

int32_t TextTop(int32_t textTop, int32_t buttonsTop, int32_t textHeight, bool buttonsShown) {
    if (!buttonsShown) return textTop;
    return std::min(textTop, buttonsTop - kGapAboveButtons - textHeight);
}
