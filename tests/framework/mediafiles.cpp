#include "mediafiles.h"

#include <cmath>
#include <fstream>
#include <iterator>

namespace media {

void WriteFile(const std::string& path, const Bytes& data) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data.data()),
              static_cast<std::streamsize>(data.size()));
}

Bytes ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void Add16(Bytes& out, unsigned value) {
    out.push_back(static_cast<unsigned char>(value));
    out.push_back(static_cast<unsigned char>(value >> 8));
}

void Add32(Bytes& out, std::uint32_t value) {
    Add16(out, value & 0xFFFF);
    Add16(out, value >> 16);
}

void Set16(Bytes& out, std::size_t at, unsigned value) {
    out[at] = static_cast<unsigned char>(value);
    out[at + 1] = static_cast<unsigned char>(value >> 8);
}

void Set32(Bytes& out, std::size_t at, std::uint32_t value) {
    Set16(out, at, value & 0xFFFF);
    Set16(out, at + 2, value >> 16);
}

namespace {

const unsigned kQuarterColors[4] = {kRed, kGreen, kBlue, kWhite};

int QuarterOf(int x, int y, int width, int height) {
    return (y >= height / 2 ? 2 : 0) + (x >= width / 2 ? 1 : 0);
}

// Palette index of a quarter.
unsigned IndexOf(int bitCount, int quarter) {
    return bitCount == 1 ? (quarter == 1 || quarter == 2) : static_cast<unsigned>(quarter);
}

void AddRgbQuad(Bytes& out, unsigned rgb) {
    out.push_back(static_cast<unsigned char>(rgb));
    out.push_back(static_cast<unsigned char>(rgb >> 8));
    out.push_back(static_cast<unsigned char>(rgb >> 16));
    out.push_back(0);
}

void AddInfoHeader(Bytes& out, int width, int height, int bitCount, unsigned colors,
                   std::uint32_t imageSize) {
    Add32(out, 40);
    Add32(out, static_cast<std::uint32_t>(width));
    Add32(out, static_cast<std::uint32_t>(height));
    Add16(out, 1);
    Add16(out, static_cast<unsigned>(bitCount));
    Add32(out, BI_RGB);
    Add32(out, imageSize);
    Add32(out, 0);
    Add32(out, 0);
    Add32(out, colors);
    Add32(out, 0);
}

} // namespace

unsigned QuarterColor(int bitCount, int quarter) {
    return kQuarterColors[IndexOf(bitCount, quarter)];
}

Bytes QuarterBitmap(int width, int height, int bitCount) {
    const unsigned colors = bitCount <= 8 ? (bitCount == 1 ? 2 : 4) : 0;
    const int stride = (width * bitCount + 31) / 32 * 4;
    Bytes pixels(static_cast<std::size_t>(stride) * height, 0);
    for (int row = 0; row < height; ++row) {
        int y = height - 1 - row; // rows are stored from the bottom
        unsigned char* line = &pixels[static_cast<std::size_t>(row) * stride];
        for (int x = 0; x < width; ++x) {
            int quarter = QuarterOf(x, y, width, height);
            unsigned index = IndexOf(bitCount, quarter);
            if (bitCount == 24) {
                unsigned rgb = kQuarterColors[index];
                line[x * 3] = static_cast<unsigned char>(rgb);
                line[x * 3 + 1] = static_cast<unsigned char>(rgb >> 8);
                line[x * 3 + 2] = static_cast<unsigned char>(rgb >> 16);
            } else if (bitCount == 8) {
                line[x] = static_cast<unsigned char>(index);
            } else if (bitCount == 4) {
                line[x / 2] |= static_cast<unsigned char>(x % 2 ? index : index << 4);
            } else {
                line[x / 8] |= static_cast<unsigned char>(index << (7 - x % 8));
            }
        }
    }
    Bytes out;
    const std::uint32_t offset = 14 + 40 + colors * 4;
    Add16(out, 0x4D42);
    Add32(out, offset + static_cast<std::uint32_t>(pixels.size()));
    Add32(out, 0);
    Add32(out, offset);
    AddInfoHeader(out, width, height, bitCount, colors, static_cast<std::uint32_t>(pixels.size()));
    for (unsigned i = 0; i < colors; ++i)
        AddRgbQuad(out, kQuarterColors[i]);
    out.insert(out.end(), pixels.begin(), pixels.end());
    return out;
}

namespace {
Bytes IconFile(const std::vector<const Bytes*>& images);
Bytes IconImage(int size, bool twoTone);
} // namespace

Bytes TwoImageIcon() {
    Bytes small = IconImage(16, false), large = IconImage(32, true);
    return IconFile({&small, &large});
}

Bytes SingleImageIcon() {
    Bytes large = IconImage(32, true);
    return IconFile({&large});
}

namespace {

// One icon image: header with doubled height, 16 colours, 4-bit colour rows, 1-bit mask rows.
Bytes IconImage(int size, bool twoTone) {
    Bytes out;
    const int colorStride = (size * 4 + 31) / 32 * 4, maskStride = (size + 31) / 32 * 4;
    AddInfoHeader(out, size, size * 2, 4, 16, 0);
    const unsigned palette[16] = {kBlack, kRed, kBlue, kGreen};
    for (unsigned rgb : palette)
        AddRgbQuad(out, rgb);
    auto clear = [&](int x, int y) { return twoTone && x >= size - 8 && y >= size - 8; };
    for (int row = 0; row < size; ++row) {
        int y = size - 1 - row;
        Bytes line(static_cast<std::size_t>(colorStride), 0);
        for (int x = 0; x < size; ++x) {
            unsigned index = !twoTone ? 3 : clear(x, y) ? 0 : y < size / 2 ? 1 : 2;
            line[x / 2] |= static_cast<unsigned char>(x % 2 ? index : index << 4);
        }
        out.insert(out.end(), line.begin(), line.end());
    }
    for (int row = 0; row < size; ++row) {
        int y = size - 1 - row;
        Bytes line(static_cast<std::size_t>(maskStride), 0);
        for (int x = 0; x < size; ++x)
            if (clear(x, y))
                line[x / 8] |= static_cast<unsigned char>(0x80 >> (x % 8));
        out.insert(out.end(), line.begin(), line.end());
    }
    return out;
}

// An icon file: the directory, then the images; each image is square.
Bytes IconFile(const std::vector<const Bytes*>& images) {
    Bytes out;
    Add16(out, 0);
    Add16(out, 1);
    Add16(out, static_cast<unsigned>(images.size()));
    std::uint32_t offset = 6 + 16 * static_cast<std::uint32_t>(images.size());
    for (const Bytes* image : images) {
        unsigned size = (*image)[4];
        out.push_back(static_cast<unsigned char>(size));
        out.push_back(static_cast<unsigned char>(size));
        out.push_back(16);
        out.push_back(0);
        Add16(out, 1);
        Add16(out, 4);
        Add32(out, static_cast<std::uint32_t>(image->size()));
        Add32(out, offset);
        offset += static_cast<std::uint32_t>(image->size());
    }
    for (const Bytes* image : images)
        out.insert(out.end(), image->begin(), image->end());
    return out;
}

} // namespace

namespace {

// Fills a rectangle with a solid colour given as 0x00RRGGBB.
void Fill(HDC dc, int left, int top, int right, int bottom, unsigned rgb) {
    HBRUSH brush = CreateSolidBrush(RGB(rgb >> 16, (rgb >> 8) & 0xFF, rgb & 0xFF));
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    HGDIOBJ oldPen = SelectObject(dc, GetStockObject(NULL_PEN));
    Rectangle(dc, left, top, right + 1, bottom + 1);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    DeleteObject(brush);
}

Bytes MetafileBits(HMETAFILE metafile) {
    Bytes out(GetMetaFileBitsEx(metafile, 0, nullptr));
    GetMetaFileBitsEx(metafile, static_cast<UINT>(out.size()), out.data());
    DeleteMetaFile(metafile);
    return out;
}

Bytes RecordedMetafile(int width, int height) {
    HDC dc = CreateMetaFileA(nullptr);
    SetMapMode(dc, MM_ANISOTROPIC);
    SetWindowOrgEx(dc, 0, 0, nullptr);
    SetWindowExtEx(dc, width, height, nullptr);
    Fill(dc, 0, 0, width / 2, height, kRed);
    Fill(dc, width / 2, 0, width, height, kBlue);
    return MetafileBits(CloseMetaFile(dc));
}

} // namespace

Bytes PlainMetafile() {
    return RecordedMetafile(200, 100);
}

Bytes ExtentlessMetafile() {
    HDC dc = CreateMetaFileA(nullptr);
    Fill(dc, 0, 0, 100, 50, kRed);
    return MetafileBits(CloseMetaFile(dc));
}

Bytes PlaceableMetafile() {
    Bytes body = RecordedMetafile(3000, 1500);
    Bytes out;
    Add32(out, 0x9AC6CDD7);
    Add16(out, 0);
    Add16(out, 0);
    Add16(out, 0);
    Add16(out, 3000);
    Add16(out, 1500);
    Add16(out, 1440);
    Add32(out, 0);
    unsigned sum = 0;
    for (std::size_t at = 0; at < 20; at += 2)
        sum ^= out[at] | (out[at + 1] << 8);
    Add16(out, sum);
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

Bytes EnhancedMetafile() {
    RECT frame{0, 0, 5080, 2540};
    HDC dc = CreateEnhMetaFileA(nullptr, nullptr, &frame, "test\0picture\0");
    // Drawing units are the reference device's pixels.
    int width = MulDiv(5080, GetDeviceCaps(dc, HORZRES), GetDeviceCaps(dc, HORZSIZE) * 100);
    int height = MulDiv(2540, GetDeviceCaps(dc, VERTRES), GetDeviceCaps(dc, VERTSIZE) * 100);
    Fill(dc, 0, 0, width / 2, height, kRed);
    Fill(dc, width / 2, 0, width, height, kBlue);
    HENHMETAFILE metafile = CloseEnhMetaFile(dc);
    Bytes out(GetEnhMetaFileBits(metafile, 0, nullptr));
    GetEnhMetaFileBits(metafile, static_cast<UINT>(out.size()), out.data());
    DeleteEnhMetaFile(metafile);
    return out;
}

namespace {

// Draws with many kinds of call onto a recording device context.
void DrawMany(HDC dc) {
    HPEN pen = CreatePen(PS_DASH, 1, RGB(0, 0, 255));
    HGDIOBJ oldPen = SelectObject(dc, pen);
    POINT line[3] = {{1, 1}, {50, 10}, {20, 40}};
    Polyline(dc, line, 3);
    Polygon(dc, line, 3);
    INT counts[2] = {3, 3};
    POINT two[6] = {{1, 1}, {5, 1}, {5, 5}, {10, 10}, {15, 10}, {15, 15}};
    PolyPolygon(dc, two, counts, 2);
    Ellipse(dc, 5, 5, 30, 20);
    SelectObject(dc, GetStockObject(BLACK_PEN));
    DeleteObject(pen);
    SelectObject(dc, oldPen);
    TextOutA(dc, 2, 2, "Hi", 2);
    RECT clip{0, 0, 8, 8};
    ExtTextOutA(dc, 3, 3, ETO_OPAQUE, &clip, "text", 4, nullptr);
    HRGN region = CreateRectRgn(0, 0, 60, 40);
    SelectClipRgn(dc, region);
    DeleteObject(region);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = 2;
    info.bmiHeader.biHeight = 2;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biSizeImage = 16; // Wine's metafile recorder copies this many pixel bytes
    unsigned char bits[16] = {0, 0, 255, 0, 255, 0, 0, 0, 255, 0, 0, 255, 255, 255, 0, 0};
    StretchDIBits(dc, 10, 10, 20, 20, 0, 0, 2, 2, bits, &info, DIB_RGB_COLORS, SRCCOPY);
    SetDIBitsToDevice(dc, 30, 2, 2, 2, 0, 0, 0, 2, bits, &info, DIB_RGB_COLORS);
    HBRUSH brush = CreateHatchBrush(HS_CROSS, RGB(255, 0, 0));
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    Rectangle(dc, 40, 20, 60, 40);
    SelectObject(dc, oldBrush);
    DeleteObject(brush);
}

} // namespace

Bytes RichMetafile() {
    HDC dc = CreateMetaFileA(nullptr);
    SetMapMode(dc, MM_ANISOTROPIC);
    SetWindowExtEx(dc, 64, 48, nullptr);
    DrawMany(dc);
    return MetafileBits(CloseMetaFile(dc));
}

Bytes RichEnhancedMetafile() {
    RECT frame{0, 0, 1693, 1270}; // 64 x 48 pixels at 96 an inch
    HDC dc = CreateEnhMetaFileA(nullptr, nullptr, &frame, nullptr);
    DrawMany(dc);
    HENHMETAFILE metafile = CloseEnhMetaFile(dc);
    Bytes out(GetEnhMetaFileBits(metafile, 0, nullptr));
    GetEnhMetaFileBits(metafile, static_cast<UINT>(out.size()), out.data());
    DeleteEnhMetaFile(metafile);
    return out;
}

Bytes WaveFile(int milliseconds) {
    const std::uint32_t rate = 11025;
    const std::uint32_t samples = rate * static_cast<std::uint32_t>(milliseconds) / 1000;
    Bytes out;
    out.insert(out.end(), {'R', 'I', 'F', 'F'});
    Add32(out, 36 + samples);
    out.insert(out.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    Add32(out, 16);
    Add16(out, 1); // PCM
    Add16(out, 1);
    Add32(out, rate);
    Add32(out, rate);
    Add16(out, 1);
    Add16(out, 8);
    out.insert(out.end(), {'d', 'a', 't', 'a'});
    Add32(out, samples);
    for (std::uint32_t i = 0; i < samples; ++i)
        out.push_back(static_cast<unsigned char>(128 + 60 * std::sin(i * 0.25)));
    return out;
}

Bytes MidiFile() {
    Bytes track = {0x00, 0x90, 60, 100, 0x60, 0x80, 60, 0, 0x00, 0xFF, 0x2F, 0x00};
    Bytes out = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0, 96, 'M', 'T', 'r', 'k'};
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<unsigned char>(track.size() >> shift));
    out.insert(out.end(), track.begin(), track.end());
    return out;
}

Surface::Surface(int width, int height, unsigned fill) : width_(width), height_(height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    dc_ = CreateCompatibleDC(nullptr);
    bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bits_ = static_cast<std::uint32_t*>(bits);
    old_ = SelectObject(dc_, bitmap_);
    for (int i = 0; i < width * height; ++i)
        bits_[i] = fill;
}

Surface::~Surface() {
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
}

unsigned Surface::Pixel(int x, int y) const {
    GdiFlush();
    return bits_[y * width_ + x] & 0xFFFFFF;
}

int Surface::Count(unsigned rgb, const RECT& area) const {
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            count += Pixel(x, y) == rgb;
    return count;
}

} // namespace media
