#include "mediafiles.h"
#include "picture.h"
#include "sysutils.h"
#include "uidriver.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using media::Bytes;

const unsigned kSentinel = 0x808080;

// Bitmaps of 8 x 4 pixels in quarters (red, green above; blue, white below), stored in the
// less common ways.
enum class Layout { TopDown24, Core8, Bitfields16, Rgb32, Rle8, Rle4 };

Bytes LayoutBitmap(Layout layout) {
    const unsigned colors[4] = {media::kRed, media::kGreen, media::kBlue, media::kWhite};
    const bool core = layout == Layout::Core8;
    const bool topDown = layout == Layout::TopDown24;
    unsigned bits = 8, compression = BI_RGB, tableEntries = 0;
    Bytes extra, pixels;
    auto quarter = [](int x, int y) { return (y >= 2 ? 2 : 0) + (x >= 4 ? 1 : 0); };
    for (int row = 0; row < 4; ++row) {
        int y = topDown ? row : 3 - row;
        switch (layout) {
        case Layout::TopDown24:
            bits = 24;
            for (int x = 0; x < 8; ++x)
                for (int shift : {0, 8, 16})
                    pixels.push_back(static_cast<unsigned char>(colors[quarter(x, y)] >> shift));
            break;
        case Layout::Core8:
            tableEntries = 256;
            for (int x = 0; x < 8; ++x)
                pixels.push_back(static_cast<unsigned char>(quarter(x, y)));
            break;
        case Layout::Bitfields16: {
            bits = 16;
            compression = BI_BITFIELDS;
            const unsigned values[4] = {0xF800, 0x07E0, 0x001F, 0xFFFF};
            for (int x = 0; x < 8; ++x)
                media::Add16(pixels, values[quarter(x, y)]);
            break;
        }
        case Layout::Rgb32:
            bits = 32;
            for (int x = 0; x < 8; ++x)
                media::Add32(pixels, colors[quarter(x, y)]);
            break;
        case Layout::Rle8:
        case Layout::Rle4: {
            bool four = layout == Layout::Rle4;
            bits = four ? 4 : 8;
            compression = four ? BI_RLE4 : BI_RLE8;
            tableEntries = 4;
            for (int half : {0, 4}) {
                unsigned index = static_cast<unsigned>(quarter(half, y));
                pixels.push_back(4);
                pixels.push_back(static_cast<unsigned char>(four ? index << 4 | index : index));
            }
            pixels.push_back(0);
            pixels.push_back(static_cast<unsigned char>(row == 3 ? 1 : 0));
            break;
        }
        }
    }
    if (layout == Layout::Core8 || layout == Layout::Rle8 || layout == Layout::Rle4)
        for (unsigned i = 0; i < tableEntries; ++i)
            for (int shift : {0, 8, 16, 24})
                if (!(core && shift == 24))
                    extra.push_back(
                        shift == 24 ? 0 : static_cast<unsigned char>(colors[i % 4] >> shift));
    if (compression == BI_BITFIELDS)
        for (std::uint32_t mask : {0xF800u, 0x07E0u, 0x001Fu})
            media::Add32(extra, mask);
    Bytes header;
    if (core) {
        media::Add32(header, 12);
        media::Add16(header, 8);
        media::Add16(header, 4);
        media::Add16(header, 1);
        media::Add16(header, bits);
    } else {
        media::Add32(header, 40);
        media::Add32(header, 8);
        media::Add32(header, static_cast<std::uint32_t>(topDown ? -4 : 4));
        media::Add16(header, 1);
        media::Add16(header, bits);
        media::Add32(header, compression);
        media::Add32(header, static_cast<std::uint32_t>(pixels.size()));
        for (std::uint32_t value : {0u, 0u, tableEntries, 0u})
            media::Add32(header, value);
    }
    Bytes out;
    const std::uint32_t offset = static_cast<std::uint32_t>(14 + header.size() + extra.size());
    media::Add16(out, 0x4D42);
    media::Add32(out, offset + static_cast<std::uint32_t>(pixels.size()));
    media::Add32(out, 0);
    media::Add32(out, offset);
    for (const Bytes* part : {&header, &extra, &pixels})
        out.insert(out.end(), part->begin(), part->end());
    return out;
}

class PictureTest : public ::testing::Test {
protected:
    void SetUp() override { folder_ = ui::ScratchFolder("picture") + "\\"; }

    std::string Write(const std::string& name, const Bytes& data) {
        std::string path = folder_ + name;
        media::WriteFile(path, data);
        return path;
    }

    // The message of the error that loading raises, or "" when it loads.
    static std::string LoadError(TPicture& picture, const std::string& path) {
        try {
            picture.LoadFromFile(path);
        } catch (const Exception& error) {
            return error.Message();
        }
        return "";
    }

    std::string folder_;
};

struct GoodFile {
    const char* name;
    std::function<Bytes()> make;
    TGraphicKind kind;
    int width;
    int height;
};

TEST_F(PictureTest, LoadsEachKindWithItsSize) {
    const GoodFile files[] = {
        {"one.bmp", [] { return media::QuarterBitmap(20, 10, 1); }, TGraphicKind::Bitmap, 20, 10},
        {"four.bmp", [] { return media::QuarterBitmap(21, 11, 4); }, TGraphicKind::Bitmap, 21, 11},
        {"eight.bmp", [] { return media::QuarterBitmap(7, 9, 8); }, TGraphicKind::Bitmap, 7, 9},
        {"true.bmp", [] { return media::QuarterBitmap(30, 5, 24); }, TGraphicKind::Bitmap, 30, 5},
        {"CAPS.BMP", [] { return media::QuarterBitmap(4, 4, 24); }, TGraphicKind::Bitmap, 4, 4},
        {"mixed.Ico", media::TwoImageIcon, TGraphicKind::Icon, 32, 32},
        {"plain.wmf", media::PlainMetafile, TGraphicKind::Metafile, 200, 100},
        {"placeable.WMF", media::PlaceableMetafile, TGraphicKind::Metafile, 200, 100},
        {"enhanced.emf", media::EnhancedMetafile, TGraphicKind::EnhMetafile, 192, 96},
    };
    for (const GoodFile& file : files) {
        SCOPED_TRACE(file.name);
        TPicture picture;
        int changes = 0;
        picture.OnChange = [&](TObject*) { ++changes; };
        EXPECT_EQ(LoadError(picture, Write(file.name, file.make())), "");
        EXPECT_EQ(picture.Kind(), file.kind);
        EXPECT_FALSE(picture.Empty());
        EXPECT_EQ(picture.Width(), file.width);
        EXPECT_EQ(picture.Height(), file.height);
        EXPECT_EQ(changes, 1);
    }
}

TEST_F(PictureTest, StretchesBitmapsToTheRectangle) {
    for (int bitCount : {1, 4, 8, 24}) {
        SCOPED_TRACE(bitCount);
        TPicture picture;
        picture.LoadFromFile(Write("q.bmp", media::QuarterBitmap(10, 6, bitCount)));
        media::Surface surface(240, 130, kSentinel);
        TCanvas canvas;
        canvas.SetHandle(surface.DC());
        picture.Draw(canvas, RECT{10, 10, 210, 110});
        EXPECT_EQ(surface.Pixel(11, 11), media::QuarterColor(bitCount, 0));
        EXPECT_EQ(surface.Pixel(208, 11), media::QuarterColor(bitCount, 1));
        EXPECT_EQ(surface.Pixel(11, 108), media::QuarterColor(bitCount, 2));
        EXPECT_EQ(surface.Pixel(208, 108), media::QuarterColor(bitCount, 3));
        EXPECT_EQ(surface.Pixel(9, 9), kSentinel);
        EXPECT_EQ(surface.Pixel(210, 110), kSentinel);
        EXPECT_EQ(surface.Count(kSentinel, RECT{10, 10, 210, 110}), 0);
    }
}

TEST_F(PictureTest, ReadsTheOtherBitmapLayouts) {
    const struct {
        const char* name;
        Layout layout;
    } layouts[] = {{"top-down", Layout::TopDown24},
                   {"core", Layout::Core8},
                   {"bit-fields", Layout::Bitfields16},
                   {"32-bit", Layout::Rgb32},
                   {"rle8", Layout::Rle8},
                   {"rle4", Layout::Rle4}};
    for (const auto& entry : layouts) {
        SCOPED_TRACE(entry.name);
        TPicture picture;
        picture.LoadFromFile(Write("layout.bmp", LayoutBitmap(entry.layout)));
        EXPECT_EQ(picture.Width(), 8);
        EXPECT_EQ(picture.Height(), 4);
        media::Surface surface(16, 8, kSentinel);
        TCanvas canvas;
        canvas.SetHandle(surface.DC());
        picture.Draw(canvas, RECT{0, 0, 16, 8});
        EXPECT_EQ(surface.Pixel(0, 0), media::kRed);
        EXPECT_EQ(surface.Pixel(15, 0), media::kGreen);
        EXPECT_EQ(surface.Pixel(0, 7), media::kBlue);
        EXPECT_EQ(surface.Pixel(15, 7), media::kWhite);
        EXPECT_EQ(surface.Count(kSentinel, RECT{0, 0, 16, 8}), 0);
    }
}

TEST_F(PictureTest, DrawsAnIconAtItsOwnSizeAtTheTopLeft) {
    TPicture picture;
    picture.LoadFromFile(Write("two.ico", media::TwoImageIcon()));
    media::Surface surface(120, 120, kSentinel);
    TCanvas canvas;
    canvas.SetHandle(surface.DC());
    picture.Draw(canvas, RECT{10, 20, 110, 120});
    EXPECT_EQ(surface.Pixel(10, 20), media::kRed);
    EXPECT_EQ(surface.Pixel(41, 20 + 15), media::kRed);
    EXPECT_EQ(surface.Pixel(10, 20 + 31), media::kBlue);
    EXPECT_EQ(surface.Pixel(41, 20 + 31), kSentinel) << "transparent corner";
    EXPECT_EQ(surface.Pixel(42, 20), kSentinel);
    EXPECT_EQ(surface.Pixel(10, 52), kSentinel);
    EXPECT_EQ(surface.Count(kSentinel, RECT{10, 20, 42, 52}), 64);
}

TEST_F(PictureTest, StretchesMetafilesToTheRectangle) {
    const GoodFile files[] = {
        {"plain.wmf", media::PlainMetafile, TGraphicKind::Metafile, 0, 0},
        {"placeable.wmf", media::PlaceableMetafile, TGraphicKind::Metafile, 0, 0},
        {"enhanced.emf", media::EnhancedMetafile, TGraphicKind::EnhMetafile, 0, 0},
    };
    for (const GoodFile& file : files) {
        SCOPED_TRACE(file.name);
        TPicture picture;
        picture.LoadFromFile(Write(file.name, file.make()));
        media::Surface surface(420, 220, kSentinel);
        TCanvas canvas;
        canvas.SetHandle(surface.DC());
        picture.Draw(canvas, RECT{10, 10, 410, 210});
        EXPECT_EQ(surface.Pixel(14, 14), media::kRed);
        EXPECT_EQ(surface.Pixel(200, 205), media::kRed);
        EXPECT_EQ(surface.Pixel(220, 14), media::kBlue);
        EXPECT_EQ(surface.Pixel(405, 205), media::kBlue);
        EXPECT_EQ(surface.Pixel(5, 5), kSentinel);
        EXPECT_EQ(surface.Pixel(414, 214), kSentinel);
    }
}

TEST_F(PictureTest, ReportsTheFileAndExtensionErrors) {
    struct Case {
        std::string path;
        std::string message;
    } cases[] = {
        {folder_ + "missing.bmp", "Cannot open file " + folder_ + "missing.bmp"},
        {folder_ + "missing.ico", "Cannot open file " + folder_ + "missing.ico"},
        {folder_, "Unknown picture file extension (.)"},
        {Write("notes.txt", Bytes{'h', 'i'}), "Unknown picture file extension (.txt)"},
        {Write("photo.Jpeg", media::QuarterBitmap(4, 4, 24)),
         "Unknown picture file extension (.Jpeg)"},
        {Write("no extension", media::QuarterBitmap(4, 4, 24)),
         "Unknown picture file extension (.)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        TPicture picture;
        EXPECT_EQ(LoadError(picture, c.path), c.message);
        EXPECT_TRUE(picture.Empty());
    }
}

TEST_F(PictureTest, AFolderNamedLikeAPictureCannotBeOpened) {
    std::string path = folder_ + "folder.bmp";
    CreateDirectoryA(path.c_str(), nullptr);
    TPicture picture;
    EXPECT_EQ(LoadError(picture, path), "Cannot open file " + path);
}

TEST_F(PictureTest, AFileInUseCannotBeOpened) {
    std::string path = Write("busy.bmp", media::QuarterBitmap(4, 4, 24));
    HANDLE busy = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(busy, INVALID_HANDLE_VALUE);
    TPicture picture;
    EXPECT_EQ(LoadError(picture, path), "Cannot open file " + path);
    CloseHandle(busy);
    EXPECT_EQ(LoadError(picture, path), "");
}

// A file too large to be a picture is refused before it is read.
TEST_F(PictureTest, AHugeFileIsNotAPicture) {
    const struct {
        const char* name;
        const char* message;
    } files[] = {{"huge.bmp", "Bitmap image is not valid"},
                 {"huge.ico", "Icon image is not valid"},
                 {"huge.emf", "Metafile is not valid"}};
    for (const auto& file : files) {
        SCOPED_TRACE(file.name);
        std::string path = Write(file.name, media::QuarterBitmap(4, 4, 24));
        HANDLE handle = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(handle, INVALID_HANDLE_VALUE);
        LARGE_INTEGER size;
        size.QuadPart = (64ll << 20) + 1;
        SetFilePointerEx(handle, size, nullptr, FILE_BEGIN);
        SetEndOfFile(handle);
        CloseHandle(handle);
        TPicture picture;
        EXPECT_EQ(LoadError(picture, path), file.message);
        DeleteFileA(path.c_str());
    }
}

TEST_F(PictureTest, AFailedLoadKeepsThePicture) {
    TPicture picture;
    picture.LoadFromFile(Write("good.bmp", media::QuarterBitmap(12, 8, 24)));
    int changes = 0;
    picture.OnChange = [&](TObject*) { ++changes; };
    EXPECT_EQ(LoadError(picture, Write("bad.bmp", Bytes{'B', 'M', 1, 2})),
              "Bitmap image is not valid");
    EXPECT_EQ(LoadError(picture, folder_ + "gone.ico"), "Cannot open file " + folder_ + "gone.ico");
    EXPECT_EQ(picture.Kind(), TGraphicKind::Bitmap);
    EXPECT_EQ(picture.Width(), 12);
    EXPECT_EQ(picture.Height(), 8);
    EXPECT_EQ(changes, 0);
    media::Surface surface(12, 8, kSentinel);
    TCanvas canvas;
    canvas.SetHandle(surface.DC());
    picture.Draw(canvas, RECT{0, 0, 12, 8});
    EXPECT_EQ(surface.Pixel(0, 0), media::kRed);
}

TEST_F(PictureTest, TakesBitmapsAndIconsFromTheProgramsResources) {
    TPicture picture;
    int changes = 0;
    picture.OnChange = [&](TObject*) { ++changes; };
    picture.LoadBitmapResource("TESTBITMAP");
    EXPECT_EQ(picture.Kind(), TGraphicKind::Bitmap);
    EXPECT_EQ(picture.Width(), 4);
    EXPECT_EQ(picture.Height(), 2);
    media::Surface surface(40, 40, kSentinel);
    TCanvas canvas;
    canvas.SetHandle(surface.DC());
    picture.Draw(canvas, RECT{0, 0, 8, 4});
    EXPECT_EQ(surface.Pixel(0, 0), media::kRed);
    EXPECT_EQ(surface.Pixel(7, 0), media::kGreen);
    EXPECT_EQ(surface.Pixel(0, 3), media::kBlue);
    EXPECT_EQ(surface.Pixel(7, 3), media::kWhite);

    picture.LoadIconResource("TESTICON");
    EXPECT_EQ(picture.Kind(), TGraphicKind::Icon);
    EXPECT_EQ(picture.Width(), 32);
    EXPECT_EQ(picture.Height(), 32);
    media::Surface iconSurface(40, 40, kSentinel);
    canvas.SetHandle(iconSurface.DC());
    picture.Draw(canvas, RECT{0, 0, 40, 40});
    EXPECT_LT(iconSurface.Count(kSentinel, RECT{0, 0, 32, 32}), 32 * 32 / 2);
    EXPECT_EQ(iconSurface.Count(kSentinel, RECT{32, 0, 40, 40}), 8 * 40);
    EXPECT_EQ(iconSurface.Count(kSentinel, RECT{0, 32, 32, 40}), 32 * 8);
    EXPECT_EQ(changes, 2);

    std::string message;
    try {
        picture.LoadBitmapResource("NOSUCHBITMAP");
    } catch (const EInvalidGraphic& error) {
        message = error.Message();
    }
    EXPECT_EQ(message, "Bitmap image is not valid");
    try {
        picture.LoadIconResource("NOSUCHICON");
    } catch (const EInvalidGraphic& error) {
        message = error.Message();
    }
    EXPECT_EQ(message, "Icon image is not valid");
    EXPECT_EQ(picture.Kind(), TGraphicKind::Icon) << "a failed load keeps the picture";
}

// Without a window extent the size is the one GDI gives the converted metafile; Wine
// measures what the records draw.
TEST_F(PictureTest, APlainMetafileWithoutWindowExtentTakesTheSizeGdiGivesIt) {
    TPicture picture;
    picture.LoadFromFile(Write("pixels.wmf", media::ExtentlessMetafile()));
    EXPECT_EQ(picture.Kind(), TGraphicKind::Metafile);
    EXPECT_EQ(picture.Width(), 100);
    EXPECT_EQ(picture.Height(), 50);
    media::Surface surface(400, 300, kSentinel);
    TCanvas canvas;
    canvas.SetHandle(surface.DC());
    picture.Draw(canvas, RECT{0, 0, 400, 200});
    EXPECT_EQ(surface.Pixel(2, 2), media::kRed);
    EXPECT_EQ(surface.Pixel(397, 197), media::kRed);
    EXPECT_EQ(surface.Pixel(200, 250), kSentinel);
}

TEST_F(PictureTest, ClearEmptiesThePicture) {
    TPicture picture;
    picture.LoadFromFile(Write("good.emf", media::EnhancedMetafile()));
    picture.Clear();
    EXPECT_TRUE(picture.Empty());
    EXPECT_EQ(picture.Width(), 0);
    EXPECT_EQ(picture.Height(), 0);
}

} // namespace
