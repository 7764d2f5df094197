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
    const std::uint64_t total = 40 + masks + colors * 4 + imageBytes;
    if (total > kMaxFileSize + (kMaxDecodedPixels * 2))
        return false;
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

// ---- Metafiles ----

// Size in pixels of a length in hundredths of a millimetre, or 0 when it is out of range.
int PixelsOfHimetric(std::int64_t himetric, int dpi) {
    std::int64_t pixels = (std::llabs(himetric) * dpi + 1270) / 2540;
    return pixels >= 1 && pixels <= kMaxSide ? static_cast<int>(pixels) : 0;
}

// The size of an enhanced metafile from its header: the frame at the screen's resolution, or
// the bounds in reference pixels when the frame is empty.
bool EnhMetafileSize(const Bytes& header, int& width, int& height) {
    const int dpi = ScreenPixelsPerInch();
    width = PixelsOfHimetric(static_cast<std::int64_t>(header.I32(32)) - header.I32(24), dpi);
    height = PixelsOfHimetric(static_cast<std::int64_t>(header.I32(36)) - header.I32(28), dpi);
    if (!width || !height) {
        std::int64_t w = static_cast<std::int64_t>(header.I32(16)) - header.I32(8) + 1;
        std::int64_t h = static_cast<std::int64_t>(header.I32(20)) - header.I32(12) + 1;
        if (w < 1 || w > kMaxSide || h < 1 || h > kMaxSide)
            return false;
        width = static_cast<int>(w);
        height = static_cast<int>(h);
    }
    return true;
}

HENHMETAFILE ReadEnhMetafile(const Bytes& file, int& width, int& height) {
    if (!file.Has(0, 88) || file.U32(0) != EMR_HEADER || file.U32(40) != ENHMETA_SIGNATURE)
        Invalid(kBadMetafile);
    std::uint32_t headerSize = file.U32(4), total = file.U32(48);
    if (headerSize < 88 || headerSize % 4 || total < headerSize || total > file.Size())
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
    extentX = extentY = 0;
    for (std::uint64_t at = 18; at + 6 <= total;) {
        std::uint64_t size = 2ull * wmf.U32(static_cast<std::size_t>(at));
        unsigned function = wmf.U16(static_cast<std::size_t>(at + 4));
        if (size < 6 || size > total - at)
            return 0;
        if (function == 0)
            return static_cast<std::size_t>(total);
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
// is as large as its window extent in pixels, or, without one, as GDI sizes it (the screen).
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
        width = PixelsOfHimetric(w * 2540 / inch, dpi);
        height = PixelsOfHimetric(h * 2540 / inch, dpi);
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
