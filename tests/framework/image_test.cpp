#include "forms.h"
#include "image.h"
#include "mediafiles.h"
#include "uidriver.h"

#include <gtest/gtest.h>

namespace {

using media::Bytes;

// A borderless form at a fixed place, with one picture control on it.
class ImageForm : public TForm {
public:
    ImageForm() : TForm("TImageTestForm", nullptr), Image(this) {
        BorderStyle = bsNone;
        Color = clBtnFace;
        SetBounds(100, 100, 400, 300);
    }
    TImage Image;
};

class ImageTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = ui::ScratchFolder("image") + "\\";
        form_.reset(new ImageForm);
    }
    void TearDown() override { form_.reset(); }

    std::string Write(const std::string& name, const Bytes& data) {
        std::string path = folder_ + name;
        media::WriteFile(path, data);
        return path;
    }
    // The form's client area as the screen shows it.
    ui::Bitmap Shown() {
        ui::Pump(200);
        return ui::CaptureArea(RECT{100, 100, 500, 400});
    }
    static unsigned Face() {
        COLORREF c = GetSysColor(COLOR_BTNFACE);
        return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
    }

    std::string folder_;
    TFormPtr<ImageForm> form_;
};

TEST_F(ImageTest, StartsEmptyWithTheDefaultFrame) {
    EXPECT_TRUE(form_->Image.Picture.Empty());
    EXPECT_EQ(form_->Image.Width(), 153);
    EXPECT_EQ(form_->Image.Height(), 139);
    EXPECT_FALSE(form_->Image.AutoSize());
    EXPECT_FALSE(form_->Image.Stretch());
}

TEST_F(ImageTest, AutoSizeTakesThePicturesSize) {
    form_->Image.SetAutoSize(true);
    form_->Image.Picture.LoadFromFile(Write("small.bmp", media::QuarterBitmap(40, 30, 8)));
    EXPECT_EQ(form_->Image.Width(), 40);
    EXPECT_EQ(form_->Image.Height(), 30);
    form_->Image.Picture.LoadFromFile(Write("meta.emf", media::EnhancedMetafile()));
    EXPECT_EQ(form_->Image.Width(), 192);
    EXPECT_EQ(form_->Image.Height(), 96);
}

TEST_F(ImageTest, WithoutAutoSizeTheFrameStays) {
    form_->Image.Picture.LoadFromFile(Write("small.bmp", media::QuarterBitmap(40, 30, 8)));
    EXPECT_EQ(form_->Image.Width(), 153);
    EXPECT_EQ(form_->Image.Height(), 139);
}

TEST_F(ImageTest, ALoadedPictureShowsWithoutAnotherPaintRequest) {
    form_->Image.SetStretch(true);
    form_->Image.SetBounds(20, 10, 153, 139);
    form_->Show();
    ui::Bitmap before = Shown();
    EXPECT_EQ(before.Pixel(20 + 2, 10 + 2), Face());
    form_->Image.Picture.LoadFromFile(Write("q.bmp", media::QuarterBitmap(10, 10, 24)));
    ui::Bitmap after = Shown();
    after.Save(folder_ + "stretched.bmp");
    EXPECT_EQ(after.Pixel(20, 10), media::kRed);
    EXPECT_EQ(after.Pixel(20 + 152, 10), media::kGreen);
    EXPECT_EQ(after.Pixel(20, 10 + 138), media::kBlue);
    EXPECT_EQ(after.Pixel(20 + 152, 10 + 138), media::kWhite);
    EXPECT_EQ(after.Pixel(20 + 153, 10 + 139), Face());
    EXPECT_EQ(after.Pixel(19, 9), Face());
}

TEST_F(ImageTest, WithoutStretchABitmapKeepsItsSizeAtTheTopLeft) {
    form_->Image.SetBounds(20, 10, 153, 139);
    form_->Image.Picture.LoadFromFile(Write("q.bmp", media::QuarterBitmap(10, 10, 24)));
    form_->Show();
    ui::Bitmap shown = Shown();
    EXPECT_EQ(shown.Pixel(20, 10), media::kRed);
    EXPECT_EQ(shown.Pixel(29, 19), media::kWhite);
    EXPECT_EQ(shown.Pixel(30, 10), Face());
    EXPECT_EQ(shown.Pixel(20, 20), Face());
}

TEST_F(ImageTest, AStretchedIconStaysAtItsOwnSizeOnTheFormsColour) {
    form_->Image.SetStretch(true);
    form_->Image.SetBounds(0, 0, 400, 300);
    form_->Image.Picture.LoadFromFile(Write("two.ico", media::TwoImageIcon()));
    form_->Show();
    ui::Bitmap shown = Shown();
    shown.Save(folder_ + "icon.bmp");
    EXPECT_EQ(shown.Pixel(0, 0), media::kRed);
    EXPECT_EQ(shown.Pixel(0, 31), media::kBlue);
    EXPECT_EQ(shown.Pixel(31, 31), Face()) << "transparent corner";
    EXPECT_EQ(shown.Pixel(32, 0), Face());
    EXPECT_EQ(shown.Pixel(0, 32), Face());
    EXPECT_EQ(shown.Pixel(399, 299), Face());
}

TEST_F(ImageTest, MetafilesFillTheControlWhenStretchedAndKeepTheirSizeOtherwise) {
    TImage second(form_.get());
    form_->Image.SetStretch(true);
    form_->Image.SetBounds(0, 0, 300, 100);
    form_->Image.Picture.LoadFromFile(Write("wide.wmf", media::PlaceableMetafile()));
    second.SetBounds(0, 150, 100, 50);
    second.Picture.LoadFromFile(Write("own.emf", media::EnhancedMetafile()));
    form_->Show();
    ui::Bitmap shown = Shown();
    shown.Save(folder_ + "metafiles.bmp");
    EXPECT_EQ(shown.Pixel(2, 2), media::kRed);
    EXPECT_EQ(shown.Pixel(148, 97), media::kRed);
    EXPECT_EQ(shown.Pixel(152, 2), media::kBlue);
    EXPECT_EQ(shown.Pixel(297, 97), media::kBlue);
    EXPECT_EQ(shown.Pixel(302, 50), Face());
    EXPECT_EQ(shown.Pixel(150, 102), Face());
    // 192 x 96 at its own size, cut at the control's 100 x 50.
    EXPECT_EQ(shown.Pixel(2, 152), media::kRed);
    EXPECT_EQ(shown.Pixel(90, 197), media::kRed);
    EXPECT_EQ(shown.Pixel(99, 152), media::kBlue);
    EXPECT_EQ(shown.Pixel(100, 152), Face());
    EXPECT_EQ(shown.Pixel(50, 202), Face());
}

TEST_F(ImageTest, AHiddenImageIsNotDrawn) {
    form_->Image.SetStretch(true);
    form_->Image.Picture.LoadFromFile(Write("q.bmp", media::QuarterBitmap(10, 10, 24)));
    form_->Show();
    EXPECT_EQ(Shown().Pixel(2, 2), media::kRed);
    form_->Image.SetVisible(false);
    EXPECT_EQ(Shown().Pixel(2, 2), Face());
    form_->Image.SetLeft(200);
    form_->Image.SetVisible(true);
    ui::Bitmap moved = Shown();
    EXPECT_EQ(moved.Pixel(2, 2), Face());
    EXPECT_EQ(moved.Pixel(202, 2), media::kRed);
}

} // namespace
