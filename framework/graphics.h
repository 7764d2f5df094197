// Drawing: colours, fonts, brushes, pens and the canvas over a device context.
#pragma once

#include <windows.h>

#include <string>

// A colour as 0x00BBGGRR, or a system colour with the top bit set.
using TColor = unsigned int;

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clNavy = 0x800000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clSystemColor = 0x80000000;
constexpr TColor clWindowText = clSystemColor | COLOR_WINDOWTEXT;
constexpr TColor clBtnFace = clSystemColor | COLOR_BTNFACE;
constexpr TColor clWindow = clSystemColor | COLOR_WINDOW;

// The RGB value of a colour, system colours looked up.
COLORREF ColorToRGB(TColor color);

enum TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = unsigned;

class TFont {
public:
    TFont() = default;
    TFont(const TFont& other) { Assign(other); }
    TFont& operator=(const TFont& other) {
        Assign(other);
        return *this;
    }
    ~TFont();

    std::string Name = "MS Sans Serif";
    int Size = 8; // points
    TFontStyles Style = 0;
    TColor Color = clWindowText;

    void Assign(const TFont& other);
    // Height in pixels for the screen's resolution.
    int PixelHeight() const;
    // A GDI font for the current properties, made again when they have changed.
    HFONT Handle() const;

private:
    mutable HFONT handle_ = nullptr;
    mutable LOGFONTA made_{};
};

class TBrush {
public:
    TColor Color = clWhite;
};

class TPen {
public:
    TColor Color = clBlack;
    int Width = 1;
};

class TCanvas {
public:
    TCanvas() = default;
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;
    ~TCanvas();

    TFont Font;
    TBrush Brush;
    TPen Pen;

    // The device context drawn on; while none is set, measuring uses a screen context.
    void SetHandle(HDC dc) { dc_ = dc; }
    HDC Handle() const { return dc_; }

    // A rectangle framed with the pen and filled with the brush, right and bottom excluded.
    void Rectangle(int x1, int y1, int x2, int y2);
    // Text in the font's colour on an opaque background of the brush's colour.
    void TextOut(int x, int y, const std::string& text);
    int TextWidth(const std::string& text);
    int TextHeight(const std::string& text);

private:
    SIZE TextExtent(const std::string& text);
    HDC MeasuringDC();

    HDC dc_ = nullptr;
    HDC measureDc_ = nullptr;
};
