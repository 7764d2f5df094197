#include "picture.h"

#include "sysutils.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

const char kOpenError[] = "Cannot open file %s";
const char kUnknownExtension[] = "Unknown picture file extension (.%s)";
const char kBadBitmap[] = "Bitmap image is not valid";
const char kBadIcon[] = "Icon image is not valid";
const char kBadMetafile[] = "Metafile is not valid";

// Files above this size are not taken as pictures.
constexpr std::uint64_t kMaxFileSize = 64u << 20;
// The largest side and the most pixels a picture may have.
constexpr std::int64_t kMaxSide = 32767;
constexpr std::uint64_t kMaxDecodedPixels = 32u << 20;

using Byte = unsigned char;

// A read-only view of bytes with bounds-checked little-endian reads.
class Bytes {
public:
    Bytes(const Byte* data, std::size_t size) : data_(data), size_(size) {}
    std::size_t Size() const { return size_; }
    const Byte* Data() const { return data_; }
    bool Has(std::uint64_t offset, std::uint64_t length) const {
        return offset <= size_ && length <= size_ - offset;
    }
    unsigned U8(std::size_t at) const { return data_[at]; }
    unsigned U16(std::size_t at) const { return data_[at] | (data_[at + 1] << 8); }
    int I16(std::size_t at) const { return static_cast<std::int16_t>(U16(at)); }
    std::uint32_t U32(std::size_t at) const {
        return static_cast<std::uint32_t>(U16(at)) |
               (static_cast<std::uint32_t>(U16(at + 2)) << 16);
    }
    std::int32_t I32(std::size_t at) const { return static_cast<std::int32_t>(U32(at)); }
    Bytes From(std::size_t offset) const { return Bytes(data_ + offset, size_ - offset); }
    Bytes Part(std::size_t offset, std::size_t length) const {
        return Bytes(data_ + offset, length);
    }

private:
    const Byte* data_;
    std::size_t size_;
};

void Put32(std::vector<Byte>& out, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        out[at + i] = static_cast<Byte>(value >> (8 * i));
}

std::uint64_t RowBytes(std::uint64_t width, unsigned bitCount) {
    return (width * bitCount + 31) / 32 * 4;
}

int ScreenPixelsPerInch() {
    HDC screen = GetDC(nullptr);
    int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

[[noreturn]] void Invalid(const char* message) {
    throw EInvalidGraphic(message);
}

// ---- Bitmaps ----

// What a bitmap header says, with the sizes checked.
struct DibHeader {
    std::uint32_t headerSize = 0;
    std::int64_t width = 0;
    std::int64_t height = 0; // negative: rows from the top
    unsigned bitCount = 0;
    std::uint32_t compression = BI_RGB;
    std::uint32_t imageSize = 0;
    std::uint64_t tableEntries = 0;  // colour table entries stored after the header
    unsigned entrySize = 4;          // 3 for the old core header
    std::uint64_t masksOffset = 0;   // where the three bit-field masks are, if any
    std::uint64_t tableOffset = 0;   // where the colour table starts
    std::uint64_t paletteColors = 0; // colours the pixels index (up to 256)
};

bool ReadDibHeader(const Bytes& in, DibHeader& h) {
    if (!in.Has(0, 4))
        return false;
    h.headerSize = in.U32(0);
    unsigned planes = 0;
    std::uint32_t colorsUsed = 0;
    if (h.headerSize == 12) {
        if (!in.Has(0, 12))
            return false;
        h.width = in.U16(4);
        h.height = in.U16(6);
        planes = in.U16(8);
        h.bitCount = in.U16(10);
        h.entrySize = 3;
    } else if (h.headerSize == 40 || h.headerSize == 52 || h.headerSize == 56 ||
               h.headerSize == 108 || h.headerSize == 124) {
        if (!in.Has(0, h.headerSize))
            return false;
        h.width = in.I32(4);
        h.height = in.I32(8);
        planes = in.U16(12);
        h.bitCount = in.U16(14);
        h.compression = in.U32(16);
        h.imageSize = in.U32(20);
        colorsUsed = in.U32(32);
    } else {
        return false;
    }
    if (planes != 1 || h.width < 1 || h.width > kMaxSide || h.height == 0 ||
        std::llabs(h.height) > kMaxSide)
        return false;
    switch (h.compression) {
    case BI_RGB:
        if (h.bitCount != 1 && h.bitCount != 4 && h.bitCount != 8 && h.bitCount != 16 &&
            h.bitCount != 24 && h.bitCount != 32)
            return false;
        break;
    case BI_BITFIELDS:
        if (h.bitCount != 16 && h.bitCount != 32)
            return false;
        break;
    case BI_RLE8:
    case BI_RLE4:
        if (h.bitCount != (h.compression == BI_RLE8 ? 8u : 4u) || h.height < 0 ||
            static_cast<std::uint64_t>(h.width) * static_cast<std::uint64_t>(h.height) >
                kMaxDecodedPixels)
            return false;
        break;
    default:
        return false;
    }
    std::uint64_t afterHeader = h.headerSize;
    if (h.compression == BI_BITFIELDS) {
        if (h.headerSize >= 52) {
            h.masksOffset = 40;
        } else {
            h.masksOffset = afterHeader;
            afterHeader += 12;
        }
    }
    if (h.bitCount <= 8) {
        std::uint64_t most = 1u << h.bitCount;
        if (colorsUsed > most)
            return false;
        h.paletteColors = colorsUsed ? colorsUsed : most;
        h.tableEntries = h.headerSize == 12 ? most : h.paletteColors;
    } else {
        h.tableEntries = colorsUsed; // an optional table that drawing does not need
    }
    h.tableOffset = afterHeader;
    return in.Has(0, h.tableOffset + h.tableEntries * h.entrySize);
}

// Expands run-length coded rows into 8-bit rows. Returns false when a record is cut short.
bool DecodeRle(const Bytes& in, const DibHeader& h, Byte* out, std::uint64_t stride) {
    const bool four = h.compression == BI_RLE4;
    const std::uint64_t width = static_cast<std::uint64_t>(h.width);
    const std::uint64_t height = static_cast<std::uint64_t>(h.height);
    std::uint64_t x = 0, y = 0;
    auto put = [&](unsigned value) {
        if (x < width && y < height)
            out[y * stride + x] = static_cast<Byte>(value);
        ++x;
    };
    std::size_t at = 0;
    while (y < height) {
        if (!in.Has(at, 2))
            return at == in.Size() && at > 0;
        unsigned count = in.U8(at), value = in.U8(at + 1);
        at += 2;
        if (count > 0) {
            for (unsigned i = 0; i < count; ++i)
                put(four ? ((i & 1) ? value & 15 : value >> 4) : value);
        } else if (value == 0) {
            x = 0;
            ++y;
        } else if (value == 1) {
            break;
        } else if (value == 2) {
            if (!in.Has(at, 2))
                return false;
            x += in.U8(at);
            y += in.U8(at + 1);
            at += 2;
        } else {
            std::size_t bytes = four ? (value + 1) / 2 : value;
            bytes += bytes & 1;
            if (!in.Has(at, bytes))
                return false;
            for (unsigned i = 0; i < value; ++i)
                put(four ? ((i & 1) ? in.U8(at + i / 2) & 15 : in.U8(at + i / 2) >> 4)
                         : in.U8(at + i));
            at += bytes;
        }
    }
    return true;
}

// Builds a packed bitmap (40-byte header, masks, colour table, pixels) from a header view and
// the pixel bytes that follow it. Returns false when the pixels do not fit.
bool PackDib(const Bytes& header, const DibHeader& h, const Bytes& pixels, std::vector<Byte>& dib) {
    const bool rle = h.compression == BI_RLE8 || h.compression == BI_RLE4;
    const unsigned outBits = rle ? 8 : h.bitCount;
    const std::uint64_t rows = static_cast<std::uint64_t>(std::llabs(h.height));
    const std::uint64_t stride = RowBytes(static_cast<std::uint64_t>(h.width), outBits);
    const std::uint64_t imageBytes = stride * rows;
    if (!rle && pixels.Size() < imageBytes)
        return false;
    const std::uint64_t masks = h.compression == BI_BITFIELDS ? 12 : 0;
    const std::uint64_t colors = outBits <= 8 ? h.paletteColors : 0;
    // The pixels are no more than the file holds, or than the decoded pixels allowed for a
    // run-length coded bitmap.
    const std::uint64_t total = 40 + masks + colors * 4 + imageBytes;
    dib.assign(static_cast<std::size_t>(total), 0);
    Put32(dib, 0, 40);
    Put32(dib, 4, static_cast<std::uint32_t>(h.width));
    Put32(dib, 8, static_cast<std::uint32_t>(h.height));
    dib[12] = 1;
    dib[14] = static_cast<Byte>(outBits);
    Put32(dib, 16, rle ? BI_RGB : h.compression);
    Put32(dib, 20, static_cast<std::uint32_t>(imageBytes));
    Put32(dib, 32, static_cast<std::uint32_t>(colors));
    std::size_t at = 40;
    if (masks) {
        std::memcpy(&dib[at], header.Data() + h.masksOffset, 12);
        at += 12;
    }
    for (std::uint64_t i = 0; i < colors; ++i, at += 4) {
        std::size_t from = static_cast<std::size_t>(h.tableOffset + i * h.entrySize);
        dib[at] = header.Data()[from];
        dib[at + 1] = header.Data()[from + 1];
        dib[at + 2] = header.Data()[from + 2];
    }
    if (!rle) {
        std::memcpy(&dib[at], pixels.Data(), static_cast<std::size_t>(imageBytes));
        return true;
    }
    std::size_t coded = pixels.Size();
    if (h.imageSize && h.imageSize < coded)
        coded = h.imageSize;
    return DecodeRle(pixels.Part(0, coded), h, &dib[at], stride);
}

// A bitmap file: file header, then a bitmap header, colour table and pixels.
void ReadBitmapFile(const Bytes& file, std::vector<Byte>& dib, int& width, int& height) {
    DibHeader h;
    if (!file.Has(0, 14) || file.U16(0) != 0x4D42 || !ReadDibHeader(file.From(14), h))
        Invalid(kBadBitmap);
    std::uint64_t tableEnd = 14 + h.tableOffset + h.tableEntries * h.entrySize;
    std::uint64_t bits = file.U32(10);
    if (bits == 0)
        bits = tableEnd;
    if (bits < tableEnd || bits > file.Size())
        Invalid(kBadBitmap);
    if (!PackDib(file.From(14), h, file.From(static_cast<std::size_t>(bits)), dib))
        Invalid(kBadBitmap);
    width = static_cast<int>(h.width);
    height = static_cast<int>(std::llabs(h.height));
}

// A bitmap resource: a bitmap header, colour table and pixels, without a file header.
bool ReadPackedDib(const Bytes& data, std::vector<Byte>& dib, int& width, int& height) {
    DibHeader h;
    if (!ReadDibHeader(data, h))
        return false;
    std::uint64_t bits = h.tableOffset + h.tableEntries * h.entrySize;
    if (!PackDib(data, h, data.From(static_cast<std::size_t>(bits)), dib))
        return false;
    width = static_cast<int>(h.width);
    height = static_cast<int>(std::llabs(h.height));
    return true;
}

// ---- Icons ----

struct IconImage {
    std::size_t offset = 0;
    std::size_t size = 0;
    int width = 0;
    int height = 0;
    unsigned bitCount = 0;
};

// Checks one image of an icon file: a bitmap header with colour, mask and table inside the
// image's bytes, or a PNG stream.
bool ReadIconImage(const Bytes& file, std::size_t entry, IconImage& image) {
    std::uint32_t size = file.U32(entry + 8);
    std::uint32_t offset = file.U32(entry + 12);
    if (!file.Has(offset, size) || size < 40)
        return false;
    Bytes data = file.Part(offset, size);
    image.offset = offset;
    image.size = size;
    static const Byte kPng[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (std::memcmp(data.Data(), kPng, 8) == 0) {
        // The IHDR chunk: big-endian width and height.
        auto be32 = [&](std::size_t at) {
            return (static_cast<std::uint32_t>(data.U8(at)) << 24) | (data.U8(at + 1) << 16) |
                   (data.U8(at + 2) << 8) | data.U8(at + 3);
        };
        std::uint32_t w = be32(16), h = be32(20);
        if (w < 1 || w > 256 || h < 1 || h > 256)
            return false;
        image.width = static_cast<int>(w);
        image.height = static_cast<int>(h);
        image.bitCount = 32;
        return true;
    }
    if (data.U32(0) != 40)
        return false;
    std::int32_t w = data.I32(4), doubled = data.I32(8);
    unsigned planes = data.U16(12), bits = data.U16(14);
    std::uint32_t compression = data.U32(16), colorsUsed = data.U32(32);
    if (w < 1 || w > 256 || doubled < 2 || doubled > 512 || planes != 1 || compression != BI_RGB)
        return false;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return false;
    std::uint64_t colors = 0;
    if (bits <= 8) {
        std::uint64_t most = 1u << bits;
        if (colorsUsed > most)
            return false;
        colors = colorsUsed ? colorsUsed : most;
    }
    std::uint64_t rows = static_cast<std::uint64_t>(doubled / 2);
    std::uint64_t need = 40 + colors * 4 + RowBytes(static_cast<std::uint64_t>(w), bits) * rows +
                         RowBytes(static_cast<std::uint64_t>(w), 1) * rows;
    if (need > size)
        return false;
    image.width = w;
    image.height = static_cast<int>(rows);
    image.bitCount = bits;
    return true;
}

// An icon file: a directory of images; the one of the system's icon size with the most
// colours is taken, else the first good one.
HICON ReadIconFile(const Bytes& file, int& width, int& height) {
    if (!file.Has(0, 6) || file.U16(0) != 0 || file.U16(2) != 1 || file.U16(4) == 0)
        Invalid(kBadIcon);
    unsigned count = file.U16(4);
    if (!file.Has(6, 16ull * count))
        Invalid(kBadIcon);
    const int wantW = GetSystemMetrics(SM_CXICON), wantH = GetSystemMetrics(SM_CYICON);
    bool found = false;
    IconImage best;
    for (unsigned i = 0; i < count; ++i) {
        IconImage image;
        if (!ReadIconImage(file, 6 + 16 * i, image))
            continue;
        bool fits = image.width == wantW && image.height == wantH;
        bool bestFits = found && best.width == wantW && best.height == wantH;
        if (!found || (fits && (!bestFits || image.bitCount > best.bitCount))) {
            best = image;
            found = true;
        }
    }
    if (!found)
        Invalid(kBadIcon);
    HICON icon = CreateIconFromResourceEx(const_cast<Byte*>(file.Data() + best.offset),
                                          static_cast<DWORD>(best.size), TRUE, 0x00030000,
                                          best.width, best.height, LR_DEFAULTCOLOR);
    if (!icon)
        Invalid(kBadIcon);
    width = best.width;
    height = best.height;
    return icon;
}

// ---- Metafile records ----
// GDI plays records as they are written; these checks keep every count, offset and object
// index that a record carries inside the record and the metafile's handle table.

// Bytes the pixels of a checked bitmap header take.
std::uint64_t PixelBytes(const DibHeader& h) {
    if (h.compression == BI_RLE8 || h.compression == BI_RLE4)
        return h.imageSize ? h.imageSize : ~0ull;
    return RowBytes(static_cast<std::uint64_t>(h.width), h.bitCount) *
           static_cast<std::uint64_t>(std::llabs(h.height));
}

// A bitmap with its header, colour table and pixels in one block.
bool PackedDibFits(const Bytes& data) {
    DibHeader h;
    if (!ReadDibHeader(data, h))
        return false;
    std::uint64_t table = h.tableOffset + h.tableEntries * h.entrySize;
    return data.Size() - table >= PixelBytes(h);
}

// A bitmap whose header and colour table, and pixels, lie apart; with scans, only that many
// rows are drawn and stored.
bool SplitDibFits(const Bytes& header, std::uint64_t pixelBytes, std::uint64_t scans = ~0ull) {
    DibHeader h;
    if (!ReadDibHeader(header, h))
        return false;
    std::uint64_t rows = static_cast<std::uint64_t>(std::llabs(h.height));
    if (scans >= rows || h.compression == BI_RLE8 || h.compression == BI_RLE4)
        return pixelBytes >= PixelBytes(h);
    return pixelBytes >= RowBytes(static_cast<std::uint64_t>(h.width), h.bitCount) * scans;
}

// The same for a bitmap in one block.
bool PackedScansFit(const Bytes& data, std::uint64_t scans) {
    DibHeader h;
    if (!ReadDibHeader(data, h))
        return false;
    std::uint64_t table = h.tableOffset + h.tableEntries * h.entrySize;
    return SplitDibFits(data, data.Size() - table, scans);
}

// An old device-dependent bitmap (width, height, row bytes, planes, bits per pixel) whose
// bits start `header` bytes into the data.
bool Bitmap16Fits(const Bytes& data, std::uint64_t header) {
    if (!data.Has(0, 10))
        return false;
    std::int64_t width = data.I16(2), height = data.I16(4);
    unsigned planes = data.U8(8), bits = data.U8(9);
    if (width < 1 || height < 1 || planes != 1 || bits < 1 || bits > 32)
        return false;
    std::uint64_t row = (static_cast<std::uint64_t>(width) * bits + 15) / 16 * 2;
    return data.Has(header, row * static_cast<std::uint64_t>(height));
}

// Region data: a 32-byte header whose count of rectangles fits.
bool RegionFits(const Bytes& data) {
    if (data.Size() == 0)
        return true;
    if (!data.Has(0, 32) || data.U32(0) < 32)
        return false;
    return data.Has(data.U32(0), 16ull * data.U32(8));
}

// The part of a block from an offset on; empty past its end.
Bytes Tail(const Bytes& data, std::uint64_t offset) {
    return offset <= data.Size() ? data.From(static_cast<std::size_t>(offset)) : Bytes(nullptr, 0);
}

// One record of a Windows metafile (size, function, parameters).
bool WindowsRecordFits(const Bytes& record, unsigned function, unsigned objects) {
    const std::uint64_t words = (record.Size() - 6) / 2;
    auto need = [&](std::uint64_t count) { return count <= words; };
    auto word = [&](std::uint64_t i) { return record.U16(static_cast<std::size_t>(6 + 2 * i)); };
    auto object = [&](std::uint64_t i) { return need(i + 1) && word(i) < objects; };
    auto dib = [&](std::uint64_t offset) { return PackedDibFits(Tail(record, 6 + offset)); };
    auto bitmap16 = [&](std::uint64_t offset, std::uint64_t header) {
        return Bitmap16Fits(Tail(record, 6 + offset), header);
    };
    switch (function) {
    case 0x012D: // select object
    case 0x01F0: // delete object
    case 0x0234: // select palette
    case 0x012A: // invert region
    case 0x012B: // paint region
    case 0x012C: // select clip region
        return object(0);
    case 0x0228: // fill region
        return object(0) && object(1);
    case 0x0429: // frame region
        return object(0) && object(1) && need(4);
    case 0x0324: // polygon
    case 0x0325: // polyline
        return need(1) && need(1 + 2ull * word(0));
    case 0x0538: { // polypolygon
        if (!need(1) || !need(1ull + word(0)))
            return false;
        std::uint64_t points = 0;
        for (std::uint64_t i = 0; i < word(0); ++i)
            points += word(1 + i);
        return need(1 + word(0) + 2 * points);
    }
    case 0x0521: // text out
        return need(1) && need(1 + (word(0) + 1ull) / 2 + 2);
    case 0x0A32: { // extended text out
        if (!need(4))
            return false;
        std::uint64_t at = 4 + ((word(3) & (ETO_OPAQUE | ETO_CLIPPED)) ? 4 : 0);
        return need(at + (word(2) + 1ull) / 2);
    }
    case 0x00F7: // create palette
    case 0x0037: // set palette entries
    case 0x0436: // animate palette
        return need(2) && need(2 + 2ull * word(1));
    case 0x0626: // escape
        return need(2) && need(2 + (word(1) + 1ull) / 2);
    case 0x0940: // bitmap block transfer
        return words == 9 || (need(8) && dib(16));
    case 0x0B41: // stretched bitmap block transfer
        return words == 11 || (need(10) && dib(20));
    case 0x0F43: // stretched bitmap
        return need(11) && dib(22);
    case 0x0142: // pattern brush from a bitmap
        return need(2) && dib(4);
    case 0x0D33: // bitmap to device, some of its rows
        return need(9) && PackedScansFit(Tail(record, 6 + 18), word(1));
    case 0x0922: // old block transfer
        return words == 9 || (need(8) && bitmap16(16, 14));
    case 0x0B23: // old stretched block transfer
        return words == 11 || (need(10) && bitmap16(20, 14));
    case 0x01F9: // old pattern brush
        return bitmap16(0, 32);
    default:
        // The high byte of a fixed-size record's function is its parameter count.
        return need(function >> 8);
    }
}

constexpr std::uint32_t kSmallTextOut = 108;

// Pens wider than this take GDI ages to draw.
bool PlausiblePen(std::int64_t width) {
    return std::llabs(width) <= 0x10000;
}

// One record of an enhanced metafile; handles is the size of the metafile's handle table.
bool EnhancedRecordFits(const Bytes& r, std::uint32_t type, std::uint32_t handles) {
    const std::uint64_t size = r.Size();
    auto has = [&](std::uint64_t bytes) { return bytes <= size; };
    auto at = [&](std::size_t offset) { return r.U32(offset); };
    auto range = [&](std::uint64_t offset, std::uint64_t length) {
        return offset <= size && length <= size - offset;
    };
    auto handle = [&](std::size_t offset, bool stock) {
        std::uint32_t index = at(offset);
        if (index & 0x80000000u)
            return stock && (index & 0x7FFFFFFFu) <= STOCK_LAST;
        return index > 0 && index < handles;
    };
    auto dib = [&](std::size_t header, std::size_t bits) {
        std::uint32_t headerAt = at(header), headerSize = at(header + 4);
        std::uint32_t bitsAt = at(bits), bitsSize = at(bits + 4);
        if (headerSize == 0)
            return true;
        return range(headerAt, headerSize) && range(bitsAt, bitsSize) &&
               SplitDibFits(r.Part(headerAt, headerSize), bitsSize);
    };
    auto text = [&](std::size_t base, unsigned charSize) {
        std::uint64_t chars = at(base + 8), offset = at(base + 12), dx = at(base + 36);
        unsigned dxSize = (at(base + 16) & ETO_PDY) ? 8 : 4;
        return range(offset, chars * charSize) && (dx == 0 || range(dx, chars * dxSize));
    };
    auto region = [&](std::size_t countAt, std::size_t dataAt) {
        std::uint32_t length = at(countAt);
        return range(dataAt, length) && RegionFits(r.Part(dataAt, length));
    };
    switch (type) {
    case EMR_POLYBEZIER:
    case EMR_POLYGON:
    case EMR_POLYLINE:
    case EMR_POLYBEZIERTO:
    case EMR_POLYLINETO:
        return has(28) && has(28 + 8ull * at(24));
    case EMR_POLYBEZIER16:
    case EMR_POLYGON16:
    case EMR_POLYLINE16:
    case EMR_POLYBEZIERTO16:
    case EMR_POLYLINETO16:
        return has(28) && has(28 + 4ull * at(24));
    case EMR_POLYPOLYLINE:
    case EMR_POLYPOLYGON:
    case EMR_POLYPOLYLINE16:
    case EMR_POLYPOLYGON16: {
        unsigned point = type == EMR_POLYPOLYLINE || type == EMR_POLYPOLYGON ? 8 : 4;
        if (!has(32) || !has(32 + 4ull * at(24) + point * static_cast<std::uint64_t>(at(28))))
            return false;
        std::uint64_t points = 0;
        for (std::uint32_t i = 0; i < at(24); ++i)
            points += at(32 + 4 * i);
        return points <= at(28);
    }
    case EMR_POLYDRAW:
        return has(28) && has(28 + 9ull * at(24));
    case EMR_POLYDRAW16:
        return has(28) && has(28 + 5ull * at(24));
    case EMR_EXTTEXTOUTA:
    case EMR_EXTTEXTOUTW:
        return has(76) && text(36, type == EMR_EXTTEXTOUTA ? 1 : 2);
    case EMR_POLYTEXTOUTA:
    case EMR_POLYTEXTOUTW: {
        if (!has(40) || !has(40 + 40ull * at(36)))
            return false;
        for (std::uint32_t i = 0; i < at(36); ++i)
            if (!text(40 + 40 * i, type == EMR_POLYTEXTOUTA ? 1 : 2))
                return false;
        return true;
    }
    case kSmallTextOut: {
        if (!has(36))
            return false;
        std::uint32_t options = at(20);
        return has(36 + ((options & 0x100) ? 0 : 16) + ((options & 0x200) ? 1ull : 2ull) * at(16));
    }
    case EMR_BITBLT:
        return has(100) && dib(84, 92);
    case EMR_STRETCHBLT:
        return has(108) && dib(84, 92);
    case EMR_MASKBLT:
        return has(128) && dib(84, 92) && dib(112, 120);
    case EMR_PLGBLT:
        return has(140) && dib(96, 104) && dib(124, 132);
    case EMR_SETDIBITSTODEVICE: {
        if (!has(76) || at(52) == 0)
            return has(76);
        return range(at(48), at(52)) && range(at(56), at(60)) &&
               SplitDibFits(r.Part(at(48), at(52)), at(60), at(72));
    }
    case EMR_STRETCHDIBITS:
        return has(80) && dib(48, 56);
    case EMR_CREATEMONOBRUSH:
    case EMR_CREATEDIBPATTERNBRUSHPT:
        return has(32) && handle(8, false) && dib(16, 24);
    case EMR_EXTCREATEPEN:
        return has(52) && handle(8, false) && dib(12, 20) && has(52 + 4ull * at(48)) &&
               PlausiblePen(r.I32(32));
    case EMR_EXTSELECTCLIPRGN:
        return has(16) && region(8, 16);
    case EMR_FILLRGN:
        return has(32) && handle(28, true) && region(24, 32);
    case EMR_FRAMERGN:
        return has(40) && handle(28, true) && region(24, 40);
    case EMR_INVERTRGN:
    case EMR_PAINTRGN:
        return has(28) && region(24, 28);
    case EMR_GDICOMMENT:
        return has(12) && range(12, at(8));
    case EMR_CREATEPALETTE:
        return has(16) && handle(8, false) && has(16 + 4ull * r.U16(14));
    case EMR_SETPALETTEENTRIES:
        return has(20) && handle(8, false) && has(20 + 4ull * at(16));
    case EMR_RESIZEPALETTE:
        return has(16) && handle(8, false);
    case EMR_SELECTOBJECT:
    case EMR_SELECTPALETTE:
        return has(12) && handle(8, true);
    case EMR_DELETEOBJECT:
        return has(12) && handle(8, false);
    case EMR_CREATEPEN:
        return has(28) && handle(8, false) && PlausiblePen(r.I32(16));
    case EMR_CREATEBRUSHINDIRECT:
        return has(24) && handle(8, false);
    case EMR_EXTCREATEFONTINDIRECTW:
        return has(12 + sizeof(LOGFONTW)) && handle(8, false);
    case EMR_CREATECOLORSPACE:
    case EMR_CREATECOLORSPACEW:
    case EMR_SETCOLORSPACE:
    case EMR_DELETECOLORSPACE:
        return has(12) && handle(8, false);
    case EMR_EOF:
        return has(20) && (at(8) == 0 || range(at(12), 4ull * at(8)));
    case EMR_SETMAPPERFLAGS:
    case EMR_SETMAPMODE:
    case EMR_SETBKMODE:
    case EMR_SETPOLYFILLMODE:
    case EMR_SETROP2:
    case EMR_SETSTRETCHBLTMODE:
    case EMR_SETTEXTALIGN:
    case EMR_SETTEXTCOLOR:
    case EMR_SETBKCOLOR:
    case EMR_RESTOREDC:
    case EMR_SETARCDIRECTION:
    case EMR_SETMITERLIMIT:
    case EMR_SELECTCLIPPATH:
    case EMR_SETICMMODE:
        return has(12);
    case EMR_SETWINDOWEXTEX:
    case EMR_SETWINDOWORGEX:
    case EMR_SETVIEWPORTEXTEX:
    case EMR_SETVIEWPORTORGEX:
    case EMR_SETBRUSHORGEX:
    case EMR_OFFSETCLIPRGN:
    case EMR_MOVETOEX:
    case EMR_LINETO:
        return has(16);
    case EMR_SETPIXELV:
        return has(20);
    case EMR_EXCLUDECLIPRECT:
    case EMR_INTERSECTCLIPRECT:
    case EMR_SCALEVIEWPORTEXTEX:
    case EMR_SCALEWINDOWEXTEX:
    case EMR_ELLIPSE:
    case EMR_RECTANGLE:
    case EMR_EXTFLOODFILL:
    case EMR_FILLPATH:
    case EMR_STROKEANDFILLPATH:
    case EMR_STROKEPATH:
        return has(24);
    case EMR_ANGLEARC:
        return has(28);
    case EMR_SETCOLORADJUSTMENT:
    case EMR_SETWORLDTRANSFORM:
    case EMR_ROUNDRECT:
        return has(32);
    case EMR_MODIFYWORLDTRANSFORM:
        return has(36);
    case EMR_ARC:
    case EMR_CHORD:
    case EMR_PIE:
    case EMR_ARCTO:
        return has(40);
    default:
        return true;
    }
}

// ---- Metafiles ----

// Size in pixels of a positive length given in units of which perInch make an inch (at least
// 1), or 0 when it is not positive or too large.
int PixelsOfUnits(std::int64_t units, std::int64_t perInch, int dpi) {
    if (units <= 0 || perInch <= 0)
        return 0;
    std::int64_t pixels = (units * dpi + perInch / 2) / perInch;
    if (pixels < 1)
        pixels = 1;
    return pixels <= kMaxSide ? static_cast<int>(pixels) : 0;
}

int PixelsOfHimetric(std::int64_t himetric, int dpi) {
    return PixelsOfUnits(himetric, 2540, dpi);
}

// The size of an enhanced metafile from its header: its frame at the screen's resolution.
bool EnhMetafileSize(const Bytes& header, int& width, int& height) {
    const int dpi = ScreenPixelsPerInch();
    width = PixelsOfHimetric(static_cast<std::int64_t>(header.I32(32)) - header.I32(24), dpi);
    height = PixelsOfHimetric(static_cast<std::int64_t>(header.I32(36)) - header.I32(28), dpi);
    return width && height;
}

// A reference device side: its pixels and millimetres, at 0.1 to 1000 pixels a millimetre.
bool PlausibleDevice(std::int64_t pixels, std::int64_t millimetres) {
    return pixels > 0 && millimetres > 0 && pixels <= 1000000 && millimetres <= 1000000 &&
           pixels * 10 >= millimetres && pixels <= millimetres * 1000;
}

HENHMETAFILE ReadEnhMetafile(const Bytes& file, int& width, int& height) {
    if (!file.Has(0, 88) || file.U32(0) != EMR_HEADER || file.U32(40) != ENHMETA_SIGNATURE)
        Invalid(kBadMetafile);
    std::uint32_t headerSize = file.U32(4), total = file.U32(48);
    if (headerSize < 88 || headerSize % 4 || total < headerSize || total > file.Size())
        Invalid(kBadMetafile);
    // The reference device's size in pixels and millimetres, and the description.
    const std::uint32_t handles = file.U16(56);
    std::uint64_t description = file.U32(60), descriptionAt = file.U32(64);
    if (!PlausibleDevice(file.I32(72), file.I32(80)) ||
        !PlausibleDevice(file.I32(76), file.I32(84)) || handles == 0 ||
        (description &&
         (descriptionAt > headerSize || 2 * description > headerSize - descriptionAt)))
        Invalid(kBadMetafile);
    // Every record must lie inside the file, and the last one must end it.
    bool ended = false;
    for (std::uint64_t at = 0; at < total;) {
        if (at + 8 > total)
            Invalid(kBadMetafile);
        std::uint32_t type = file.U32(static_cast<std::size_t>(at));
        std::uint32_t size = file.U32(static_cast<std::size_t>(at + 4));
        if (size < 8 || size % 4 || size > total - at)
            Invalid(kBadMetafile);
        if (at > 0 &&
            !EnhancedRecordFits(file.Part(static_cast<std::size_t>(at), size), type, handles))
            Invalid(kBadMetafile);
        if (type == EMR_EOF) {
            ended = true;
            break;
        }
        at += size;
    }
    if (!ended || !EnhMetafileSize(file, width, height))
        Invalid(kBadMetafile);
    HENHMETAFILE metafile = SetEnhMetaFileBits(total, file.Data());
    if (!metafile)
        Invalid(kBadMetafile);
    return metafile;
}

constexpr std::uint32_t kPlaceableKey = 0x9AC6CDD7;
constexpr unsigned kSetWindowExt = 0x020C;

// Checks a Windows metafile (its header and every record up to the end record) and finds the
// first window extent it sets. Returns the metafile's length, or 0 when it is damaged.
std::size_t CheckWindowsMetafile(const Bytes& wmf, int& extentX, int& extentY) {
    if (!wmf.Has(0, 18))
        return 0;
    unsigned type = wmf.U16(0), headerWords = wmf.U16(2), version = wmf.U16(4);
    std::uint64_t total = 2ull * wmf.U32(6);
    if ((type != 1 && type != 2) || headerWords != 9 || (version != 0x100 && version != 0x300) ||
        total < 18 + 6 || total > wmf.Size())
        return 0;
    const unsigned objects = wmf.U16(10);
    extentX = extentY = 0;
    for (std::uint64_t at = 18; at + 6 <= total;) {
        std::uint64_t size = 2ull * wmf.U32(static_cast<std::size_t>(at));
        unsigned function = wmf.U16(static_cast<std::size_t>(at + 4));
        if (size < 6 || size > total - at)
            return 0;
        if (function == 0)
            return static_cast<std::size_t>(total);
        if (!WindowsRecordFits(
                wmf.Part(static_cast<std::size_t>(at), static_cast<std::size_t>(size)), function,
                objects))
            return 0;
        if (function == kSetWindowExt && size >= 10 && !extentX && !extentY) {
            extentY = std::abs(wmf.I16(static_cast<std::size_t>(at + 6)));
            extentX = std::abs(wmf.I16(static_cast<std::size_t>(at + 8)));
        }
        at += size;
    }
    return 0;
}

// A Windows metafile, with or without the placeable header in front, turned into an enhanced
// one. The placeable header gives the size (its bounds in units of its inch); a plain metafile
// is as large as its window extent in pixels, or, without one, as large as GDI makes the
// converted picture (Wine: the bounds of what it draws).
HENHMETAFILE ReadWindowsMetafile(const Bytes& file, int& width, int& height) {
    const int dpi = ScreenPixelsPerInch();
    std::size_t start = 0;
    width = height = 0;
    if (file.Has(0, 22) && file.U32(0) == kPlaceableKey) {
        unsigned sum = 0;
        for (std::size_t at = 0; at < 20; at += 2)
            sum ^= file.U16(at);
        int inch = static_cast<int>(file.U16(14));
        std::int64_t w = std::llabs(static_cast<std::int64_t>(file.I16(10)) - file.I16(6));
        std::int64_t h = std::llabs(static_cast<std::int64_t>(file.I16(12)) - file.I16(8));
        if (sum != file.U16(20) || inch == 0)
            Invalid(kBadMetafile);
        width = PixelsOfUnits(w, inch, dpi);
        height = PixelsOfUnits(h, inch, dpi);
        if (!width || !height)
            Invalid(kBadMetafile);
        start = 22;
    }
    int extentX = 0, extentY = 0;
    Bytes wmf = file.From(start);
    std::size_t length = CheckWindowsMetafile(wmf, extentX, extentY);
    if (!length)
        Invalid(kBadMetafile);
    if (!start && extentX && extentY) {
        width = extentX;
        height = extentY;
    }
    METAFILEPICT picture{MM_ANISOTROPIC, MulDiv(width, 2540, dpi), MulDiv(height, 2540, dpi),
                         nullptr};
    HENHMETAFILE metafile = SetWinMetaFileBits(static_cast<UINT>(length), wmf.Data(), nullptr,
                                               width ? &picture : nullptr);
    if (!metafile)
        Invalid(kBadMetafile);
    if (!width) {
        ENHMETAHEADER header{};
        if (GetEnhMetaFileHeader(metafile, sizeof header, &header) < 88 ||
            !EnhMetafileSize(Bytes(reinterpret_cast<const Byte*>(&header), sizeof header), width,
                             height)) {
            DeleteEnhMetaFile(metafile);
            Invalid(kBadMetafile);
        }
    }
    return metafile;
}

// ---- Files ----

std::vector<Byte> ReadWholeFile(const std::string& path, const char* tooLarge) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        throw EFOpenError(FormatMessageText(kOpenError, path));
    struct Closer {
        HANDLE h;
        ~Closer() { CloseHandle(h); }
    } closer{file};
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file, &size))
        throw EFOpenError(FormatMessageText(kOpenError, path));
    if (static_cast<std::uint64_t>(size.QuadPart) > kMaxFileSize)
        Invalid(tooLarge);
    std::vector<Byte> data(static_cast<std::size_t>(size.QuadPart));
    std::size_t done = 0;
    while (done < data.size()) {
        DWORD got = 0;
        if (!ReadFile(file, data.data() + done, static_cast<DWORD>(data.size() - done), &got,
                      nullptr))
            throw EFOpenError(FormatMessageText(kOpenError, path));
        if (got == 0)
            break;
        done += got;
    }
    data.resize(done);
    return data;
}

} // namespace

// A picture being loaded; frees what it holds unless the picture took it.
struct TPicture::Loaded {
    TGraphicKind kind = TGraphicKind::None;
    int width = 0;
    int height = 0;
    std::vector<Byte> dib;
    HICON icon = nullptr;
    HENHMETAFILE metafile = nullptr;
    ~Loaded() {
        if (icon)
            DestroyIcon(icon);
        if (metafile)
            DeleteEnhMetaFile(metafile);
    }
};

TPicture::~TPicture() {
    Release();
}

void TPicture::Release() {
    if (icon_)
        DestroyIcon(icon_);
    if (metafile_)
        DeleteEnhMetaFile(metafile_);
    icon_ = nullptr;
    metafile_ = nullptr;
    dib_.clear();
    kind_ = TGraphicKind::None;
    width_ = height_ = 0;
}

void TPicture::Take(Loaded& loaded) {
    Release();
    kind_ = loaded.kind;
    width_ = loaded.width;
    height_ = loaded.height;
    dib_.swap(loaded.dib);
    icon_ = loaded.icon;
    metafile_ = loaded.metafile;
    loaded.icon = nullptr;
    loaded.metafile = nullptr;
    if (OnChange)
        OnChange(this);
}

void TPicture::LoadFromFile(const std::string& path) {
    std::string extension = ExtractFileExt(path);
    if (!extension.empty())
        extension.erase(0, 1);
    const std::string kind = LowerCase(extension);
    Loaded loaded;
    if (kind == "bmp") {
        std::vector<Byte> data = ReadWholeFile(path, kBadBitmap);
        ReadBitmapFile(Bytes(data.data(), data.size()), loaded.dib, loaded.width, loaded.height);
        loaded.kind = TGraphicKind::Bitmap;
    } else if (kind == "ico") {
        std::vector<Byte> data = ReadWholeFile(path, kBadIcon);
        loaded.icon = ReadIconFile(Bytes(data.data(), data.size()), loaded.width, loaded.height);
        loaded.kind = TGraphicKind::Icon;
    } else if (kind == "wmf") {
        std::vector<Byte> data = ReadWholeFile(path, kBadMetafile);
        loaded.metafile =
            ReadWindowsMetafile(Bytes(data.data(), data.size()), loaded.width, loaded.height);
        loaded.kind = TGraphicKind::Metafile;
    } else if (kind == "emf") {
        std::vector<Byte> data = ReadWholeFile(path, kBadMetafile);
        loaded.metafile =
            ReadEnhMetafile(Bytes(data.data(), data.size()), loaded.width, loaded.height);
        loaded.kind = TGraphicKind::EnhMetafile;
    } else {
        throw EInvalidGraphic(FormatMessageText(kUnknownExtension, extension));
    }
    Take(loaded);
}

void TPicture::LoadBitmapResource(const std::string& name, HINSTANCE instance) {
    if (!instance)
        instance = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceA(instance, name.c_str(), MAKEINTRESOURCEA(2)); // RT_BITMAP
    HGLOBAL resource = found ? LoadResource(instance, found) : nullptr;
    const void* data = resource ? LockResource(resource) : nullptr;
    Loaded loaded;
    if (!data ||
        !ReadPackedDib(Bytes(static_cast<const Byte*>(data), SizeofResource(instance, found)),
                       loaded.dib, loaded.width, loaded.height))
        Invalid(kBadBitmap);
    loaded.kind = TGraphicKind::Bitmap;
    Take(loaded);
}

void TPicture::LoadIconResource(const std::string& name, HINSTANCE instance) {
    if (!instance)
        instance = GetModuleHandleA(nullptr);
    Loaded loaded;
    loaded.icon =
        static_cast<HICON>(LoadImageA(instance, name.c_str(), IMAGE_ICON,
                                      GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0));
    ICONINFO info{};
    if (!loaded.icon || !GetIconInfo(loaded.icon, &info))
        Invalid(kBadIcon);
    BITMAP mask{};
    GetObjectA(info.hbmMask, sizeof mask, &mask);
    loaded.width = mask.bmWidth;
    loaded.height = info.hbmColor ? mask.bmHeight : mask.bmHeight / 2;
    DeleteObject(info.hbmMask);
    if (info.hbmColor)
        DeleteObject(info.hbmColor);
    loaded.kind = TGraphicKind::Icon;
    Take(loaded);
}

void TPicture::Clear() {
    if (Empty())
        return;
    Release();
    if (OnChange)
        OnChange(this);
}

void TPicture::Draw(TCanvas& canvas, const RECT& area) const {
    HDC dc = canvas.Handle();
    if (!dc)
        return;
    switch (kind_) {
    case TGraphicKind::Bitmap: {
        const auto* info = reinterpret_cast<const BITMAPINFO*>(dib_.data());
        std::size_t bits = 40 + (info->bmiHeader.biCompression == BI_BITFIELDS ? 12 : 0) +
                           info->bmiHeader.biClrUsed * 4;
        int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
        StretchDIBits(dc, area.left, area.top, area.right - area.left, area.bottom - area.top, 0, 0,
                      width_, height_, dib_.data() + bits, info, DIB_RGB_COLORS, SRCCOPY);
        SetStretchBltMode(dc, oldMode);
        break;
    }
    case TGraphicKind::Icon:
        DrawIconEx(dc, area.left, area.top, icon_, width_, height_, 0, nullptr, DI_NORMAL);
        break;
    case TGraphicKind::Metafile:
    case TGraphicKind::EnhMetafile:
        PlayEnhMetaFile(dc, metafile_, &area);
        break;
    case TGraphicKind::None:
        break;
    }
}
