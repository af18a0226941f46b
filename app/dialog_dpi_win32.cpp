// The window at a display scale other than 100 %: it keeps covering its area exactly (areas,
// targets and their sizes are physical pixels at every scale) while what is read follows the
// scale: the text font (also sized for the area), the button pictures and the spacing around
// them.
#include <windows.h>

#include "app/calibration_dialog.h"
#include "app/dialog_drawing.h"
#include "app/text_layout.h"
#include "resources/resource_ids.h"

namespace {

constexpr int kSystemFontHeight = 16;  // cell height of the System font at 100 %
constexpr int kButtonMargin = 6;       // pixels around a button picture at 100 %

}  // namespace

UINT WindowDpi(HWND window) {
    const UINT dpi = GetDpiForWindow(window);
    return dpi != 0 ? dpi : USER_DEFAULT_SCREEN_DPI;
}

int CalibrationDialog::Scaled(int pixels) const {
    return MulDiv(pixels, int(Dpi), USER_DEFAULT_SCREEN_DPI);
}

HFONT CalibrationDialog::TextFont() {
    RECT client{};
    GetClientRect(Window, &client);
    const int32_t height =
        TextHeightForArea(client.right, client.bottom, Scaled(kSystemFontHeight));
    if (ScaledFont != nullptr && height == ScaledFontHeight) return ScaledFont;
    HFONT font = CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                             DEFAULT_PITCH | FF_DONTCARE, L"MS Shell Dlg");
    if (font == nullptr) return static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
    if (ScaledFont != nullptr) DeleteObject(ScaledFont);
    ScaledFont = font;
    ScaledFontHeight = height;
    return font;
}

HBITMAP LoadScaledPicture(HINSTANCE instance, UINT id, UINT dpi) {
    auto picture =
        static_cast<HBITMAP>(LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, 0));
    BITMAP size{};
    if (picture == nullptr || dpi == USER_DEFAULT_SCREEN_DPI ||
        GetObjectW(picture, sizeof size, &size) == 0)
        return picture;
    return static_cast<HBITMAP>(
        CopyImage(picture, IMAGE_BITMAP, MulDiv(size.bmWidth, int(dpi), USER_DEFAULT_SCREEN_DPI),
                  MulDiv(size.bmHeight, int(dpi), USER_DEFAULT_SCREEN_DPI), LR_COPYDELETEORG));
}

void CalibrationDialog::SizeButtonToPicture(HWND button, HBITMAP picture) const {
    BITMAP size{};
    if (picture == nullptr || GetObjectW(picture, sizeof size, &size) == 0) return;
    const int margin = Scaled(kButtonMargin);
    SetWindowPos(button, nullptr, 0, 0, size.bmWidth + 2 * margin, size.bmHeight + 2 * margin,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CalibrationDialog::OnDpiChanged(UINT dpi) {
    Dpi = dpi;
    // The suggested rectangle is the old one rescaled: the area's own rectangle is what counts.
    MoveToCurrentArea();
    ScaledFontHeight = 0;  // the text font is made again for the new scale
    ReleaseButtonPictures();
    ShowButtons(CurrentPassView(Passes));
    InvalidateRect(Window, nullptr, TRUE);
}
