#include "buttons.h"

namespace {

// The help picture: a question mark on a transparent (olive) ground.
HBITMAP DrawHelpGlyph() {
    const int size = 16;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, size, size);
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
    RECT all{0, 0, size, size};
    HBRUSH ground = CreateSolidBrush(RGB(128, 128, 0));
    FillRect(dc, &all, ground);
    DeleteObject(ground);
    HFONT font = CreateFontA(-16, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY, DEFAULT_PITCH, "Arial");
    HGDIOBJ oldFont = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 128));
    DrawTextA(dc, "?", 1, &all, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SelectObject(dc, oldFont);
    DeleteObject(font);
    SelectObject(dc, oldBitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return bitmap;
}

// Draws a bitmap with the colour of its bottom-left pixel left out.
void DrawTransparent(HDC target, int x, int y, HBITMAP bitmap) {
    BITMAP info;
    GetObjectA(bitmap, sizeof info, &info);
    HDC source = CreateCompatibleDC(target);
    HGDIOBJ old = SelectObject(source, bitmap);
    COLORREF clear = GetPixel(source, 0, info.bmHeight - 1);
    TransparentBlt(target, x, y, info.bmWidth, info.bmHeight, source, 0, 0, info.bmWidth,
                   info.bmHeight, clear);
    SelectObject(source, old);
    DeleteDC(source);
}

} // namespace

TBitBtn::TBitBtn(TWinControl* parent) : TButton(parent) {}

TBitBtn::~TBitBtn() {
    if (glyph_)
        DeleteObject(glyph_);
}

void TBitBtn::SetGlyph(const char* resourceName) {
    if (glyph_)
        DeleteObject(glyph_);
    glyph_ = static_cast<HBITMAP>(
        LoadImageA(GetModuleHandleA(nullptr), resourceName, IMAGE_BITMAP, 0, 0, 0));
    Invalidate();
}

void TBitBtn::SetKind(TBitBtnKind kind) {
    kind_ = kind;
    if (kind != bkHelp)
        return;
    Caption = "&Help";
    if (glyph_)
        DeleteObject(glyph_);
    glyph_ = DrawHelpGlyph();
}

void TBitBtn::CreateParams(TCreateParams& params) {
    TButton::CreateParams(params);
    params.Style = (params.Style & ~BS_TYPEMASK) | BS_OWNERDRAW;
}

void TBitBtn::Dispatch(TMessage& message) {
    switch (message.Msg) {
    case CN_BASE + WM_DRAWITEM:
        DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(message.LParam));
        message.Result = TRUE;
        return;
    case CN_BASE + WM_COMMAND:
        // A quick second click is a click, not a double click.
        if (HIWORD(message.WParam) == BN_DOUBLECLICKED)
            message.WParam = MAKEWPARAM(LOWORD(message.WParam), BN_CLICKED);
        break;
    case WM_LBUTTONDBLCLK:
        message.Msg = WM_LBUTTONDOWN;
        break;
    default:
        break;
    }
    TButton::Dispatch(message);
}

// Frame, picture and caption side by side in the middle, focus rectangle.
void TBitBtn::DrawItem(const DRAWITEMSTRUCT& item) {
    HDC dc = item.hDC;
    RECT area = item.rcItem;
    bool pushed = item.itemState & ODS_SELECTED;
    bool focused = item.itemState & ODS_FOCUS;
    bool disabled = item.itemState & ODS_DISABLED;
    if (Default || focused) {
        FrameRect(dc, &area, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        InflateRect(&area, -1, -1);
    }
    DrawFrameControl(dc, &area, DFC_BUTTON, DFCS_BUTTONPUSH | (pushed ? DFCS_PUSHED : 0));

    HGDIOBJ oldFont =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(item.hwndItem, WM_GETFONT, 0, 0)));
    RECT textSize{0, 0, 0, 0};
    DrawTextA(dc, Caption.c_str(), -1, &textSize, DT_CALCRECT | DT_SINGLELINE);
    int textWidth = textSize.right - textSize.left;
    int textHeight = textSize.bottom - textSize.top;
    int glyphWidth = 0;
    int glyphHeight = 0;
    if (glyph_) {
        BITMAP info;
        GetObjectA(glyph_, sizeof info, &info);
        glyphWidth = info.bmWidth;
        glyphHeight = info.bmHeight;
    }
    const int spacing = glyph_ && !Caption.empty() ? 4 : 0;
    int offset = pushed ? 1 : 0;
    int left = (area.left + area.right - (glyphWidth + spacing + textWidth)) / 2 + offset;
    int middle = (area.top + area.bottom) / 2 + offset;
    if (glyph_)
        DrawTransparent(dc, left, middle - glyphHeight / 2, glyph_);
    RECT text{left + glyphWidth + spacing, middle - textHeight / 2, 0, 0};
    text.right = text.left + textWidth;
    text.bottom = text.top + textHeight;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(disabled ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
    DrawTextA(dc, Caption.c_str(), -1, &text, DT_SINGLELINE);
    SelectObject(dc, oldFont);
    if (focused) {
        RECT frame = area;
        InflateRect(&frame, -4, -4);
        DrawFocusRect(dc, &frame);
    }
}
