#include "mediafiles.h"
#include "picture.h"
#include "sysutils.h"
#include "uidriver.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using media::Bytes;

const unsigned kSentinel = 0x808080;

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

TEST_F(PictureTest, ClearEmptiesThePicture) {
    TPicture picture;
    picture.LoadFromFile(Write("good.emf", media::EnhancedMetafile()));
    picture.Clear();
    EXPECT_TRUE(picture.Empty());
    EXPECT_EQ(picture.Width(), 0);
    EXPECT_EQ(picture.Height(), 0);
}

} // namespace
