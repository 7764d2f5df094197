// Small picture and sound files made by the tests, and a drawing surface to read back.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace media {

using Bytes = std::vector<unsigned char>;

void WriteFile(const std::string& path, const Bytes& data);
Bytes ReadFile(const std::string& path);

// Little-endian appenders.
void Add16(Bytes& out, unsigned value);
void Add32(Bytes& out, std::uint32_t value);
void Set16(Bytes& out, std::size_t at, unsigned value);
void Set32(Bytes& out, std::size_t at, std::uint32_t value);

// Colours as 0x00RRGGBB.
constexpr unsigned kRed = 0xFF0000;
constexpr unsigned kGreen = 0x00FF00;
constexpr unsigned kBlue = 0x0000FF;
constexpr unsigned kWhite = 0xFFFFFF;
constexpr unsigned kBlack = 0x000000;

// A bitmap file whose four quarters have their own colours (top-left, top-right, bottom-left,
// bottom-right): red, green, blue, white; a 1-bit bitmap has only red and green, as a
// checkerboard of quarters (red, green, green, red).
Bytes QuarterBitmap(int width, int height, int bitCount);
unsigned QuarterColor(int bitCount, int quarter);

// An icon file with a 16 x 16 green image and a 32 x 32 image, red above and blue below,
// whose bottom-right 8 x 8 pixels are transparent.
Bytes TwoImageIcon();
// The 32 x 32 image of that icon alone.
Bytes SingleImageIcon();

// Metafiles 200 x 100 pixels large, red in the left half and blue in the right.
Bytes PlainMetafile(); // with a window extent of 200 x 100
// A metafile that draws in pixels and sets no window extent: a red 100 x 50 block at the origin.
Bytes ExtentlessMetafile();
Bytes PlaceableMetafile(); // the same after the placeable header: 3000 x 1500 at 1440 an inch
Bytes EnhancedMetafile();  // a frame of 5080 x 2540 hundredths of a millimetre (192 x 96 px)

// Metafiles that use many kinds of record: lines, polygons, text, a bitmap, a clip region.
Bytes RichMetafile();
Bytes RichEnhancedMetafile();

// A PCM wave file of silence-free 8-bit mono samples lasting this long.
Bytes WaveFile(int milliseconds);
// A one-note standard MIDI file.
Bytes MidiFile();

// A 32-bit drawing surface, filled with one colour.
class Surface {
public:
    Surface(int width, int height, unsigned fill);
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;
    ~Surface();

    HDC DC() const { return dc_; }
    unsigned Pixel(int x, int y) const;
    // Number of pixels of a colour in the rectangle.
    int Count(unsigned rgb, const RECT& area) const;

private:
    int width_;
    int height_;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
    std::uint32_t* bits_ = nullptr;
};

} // namespace media
