#include "dialogs.h"

#include <windows.h>
#include <commdlg.h>

#include <algorithm>
#include <vector>

namespace {

// The window the dialog belongs to: the active window of this thread.
HWND DialogOwner() {
    return GetActiveWindow();
}

} // namespace

bool TOpenDialog::Execute() {
    // "a|b|c|d" becomes "a\0b\0c\0d\0\0".
    std::string filter = Filter;
    std::replace(filter.begin(), filter.end(), '|', '\0');
    filter.append(2, '\0');
    std::vector<char> file(MAX_PATH * 4, '\0');
    FileName.copy(file.data(), std::min(FileName.size(), file.size() - 1));
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = DialogOwner();
    ofn.lpstrFilter = Filter.empty() ? nullptr : filter.c_str();
    ofn.nFilterIndex = static_cast<DWORD>(FilterIndex);
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrTitle = Title.empty() ? nullptr : Title.c_str();
    ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING;
    if (!GetOpenFileNameA(&ofn))
        return false;
    FileName = file.data();
    FilterIndex = static_cast<int>(ofn.nFilterIndex);
    return true;
}

bool TFontDialog::Execute() {
    HDC screen = GetDC(nullptr);
    int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    LOGFONTA chosen{};
    chosen.lfHeight = -MulDiv(Font.Size, dpi, 72);
    chosen.lfWeight = (Font.Style & fsBold) ? FW_BOLD : FW_NORMAL;
    chosen.lfItalic = (Font.Style & fsItalic) ? 1 : 0;
    chosen.lfUnderline = (Font.Style & fsUnderline) ? 1 : 0;
    chosen.lfStrikeOut = (Font.Style & fsStrikeOut) ? 1 : 0;
    chosen.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(chosen.lfFaceName, Font.Name.c_str(), LF_FACESIZE);
    CHOOSEFONTA cf{};
    cf.lStructSize = sizeof cf;
    cf.hwndOwner = DialogOwner();
    cf.lpLogFont = &chosen;
    cf.Flags = CF_SCREENFONTS | CF_EFFECTS | CF_INITTOLOGFONTSTRUCT;
    cf.rgbColors = ColorToRGB(Font.Color);
    if (!ChooseFontA(&cf))
        return false;
    Font.Name = chosen.lfFaceName;
    Font.Size = cf.iPointSize / 10;
    Font.Style = (chosen.lfWeight >= FW_BOLD ? fsBold : 0u) | (chosen.lfItalic ? fsItalic : 0u) |
                 (chosen.lfUnderline ? fsUnderline : 0u) | (chosen.lfStrikeOut ? fsStrikeOut : 0u);
    Font.Color = cf.rgbColors;
    return true;
}
