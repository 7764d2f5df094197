#include "graphics.h"

#include <cstring>

COLORREF ColorToRGB(TColor color) {
    if (color & clSystemColor)
        return GetSysColor(static_cast<int>(color & 0xFF));
    return color;
}

TFont::~TFont() {
    if (handle_)
        DeleteObject(handle_);
}

void TFont::Assign(const TFont& other) {
    Name = other.Name;
    Size = other.Size;
    Style = other.Style;
    Color = other.Color;
}

int TFont::PixelHeight() const {
    HDC screen = GetDC(nullptr);
    int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return MulDiv(Size, dpi, 72);
}

HFONT TFont::Handle() const {
    LOGFONTA wanted{};
    wanted.lfHeight = -PixelHeight();
    wanted.lfWeight = (Style & fsBold) ? FW_BOLD : FW_NORMAL;
    wanted.lfItalic = (Style & fsItalic) ? 1 : 0;
    wanted.lfUnderline = (Style & fsUnderline) ? 1 : 0;
    wanted.lfStrikeOut = (Style & fsStrikeOut) ? 1 : 0;
    wanted.lfCharSet = DEFAULT_CHARSET;
    wanted.lfOutPrecision = OUT_DEFAULT_PRECIS;
    wanted.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    wanted.lfQuality = DEFAULT_QUALITY;
    wanted.lfPitchAndFamily = DEFAULT_PITCH;
    lstrcpynA(wanted.lfFaceName, Name.c_str(), LF_FACESIZE);
    if (handle_ && std::memcmp(&wanted, &made_, sizeof wanted) == 0)
        return handle_;
    if (handle_)
        DeleteObject(handle_);
    handle_ = CreateFontIndirectA(&wanted);
    made_ = wanted;
    return handle_;
}

TCanvas::~TCanvas() {
    if (measureDc_)
        DeleteDC(measureDc_);
}

HDC TCanvas::MeasuringDC() {
    if (dc_)
        return dc_;
    if (!measureDc_)
        measureDc_ = CreateCompatibleDC(nullptr);
    return measureDc_;
}

void TCanvas::Rectangle(int x1, int y1, int x2, int y2) {
    if (!dc_)
        return;
    HPEN pen = CreatePen(PS_SOLID, Pen.Width, ColorToRGB(Pen.Color));
    HBRUSH brush = CreateSolidBrush(ColorToRGB(Brush.Color));
    HGDIOBJ oldPen = SelectObject(dc_, pen);
    HGDIOBJ oldBrush = SelectObject(dc_, brush);
    ::Rectangle(dc_, x1, y1, x2, y2);
    SelectObject(dc_, oldPen);
    SelectObject(dc_, oldBrush);
    DeleteObject(pen);
    DeleteObject(brush);
}

void TCanvas::TextOut(int x, int y, const std::string& text) {
    if (!dc_)
        return;
    HGDIOBJ oldFont = SelectObject(dc_, Font.Handle());
    SetTextColor(dc_, ColorToRGB(Font.Color));
    SetBkColor(dc_, ColorToRGB(Brush.Color));
    SetBkMode(dc_, OPAQUE);
    ::TextOutA(dc_, x, y, text.data(), static_cast<int>(text.size()));
    SelectObject(dc_, oldFont);
}

SIZE TCanvas::TextExtent(const std::string& text) {
    HDC dc = MeasuringDC();
    HGDIOBJ oldFont = SelectObject(dc, Font.Handle());
    SIZE size{0, 0};
    GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &size);
    SelectObject(dc, oldFont);
    return size;
}

int TCanvas::TextWidth(const std::string& text) {
    return TextExtent(text).cx;
}

int TCanvas::TextHeight(const std::string& text) {
    return TextExtent(text).cy;
}
