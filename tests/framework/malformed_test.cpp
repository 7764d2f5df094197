// Damaged picture files: each gives its kind's error, and none crashes, hangs or is drawn.
#include "mediafiles.h"
#include "picture.h"
#include "sysutils.h"
#include "uidriver.h"

#include <gtest/gtest.h>

#include <cctype>
#include <functional>
#include <ostream>

namespace {

using media::Bytes;

const char kBitmap[] = "Bitmap image is not valid";
const char kIcon[] = "Icon image is not valid";
const char kMetafile[] = "Metafile is not valid";

Bytes Set32(Bytes data, std::size_t at, std::uint32_t value) {
    media::Set32(data, at, value);
    return data;
}
Bytes Set16(Bytes data, std::size_t at, unsigned value) {
    media::Set16(data, at, value);
    return data;
}
Bytes Cut(Bytes data, std::size_t size) {
    data.resize(size);
    return data;
}
Bytes Random(std::size_t size, std::uint32_t seed) {
    Bytes data(size);
    for (auto& byte : data) {
        seed = seed * 1664525u + 1013904223u;
        byte = static_cast<unsigned char>(seed >> 24);
    }
    return data;
}
// The placeable header's checksum made right again after a change.
Bytes Resum(Bytes data) {
    unsigned sum = 0;
    for (std::size_t at = 0; at < 20; at += 2)
        sum ^= data[at] | (data[at + 1] << 8);
    media::Set16(data, 20, sum);
    return data;
}
// A metafile without its end record.
Bytes WithoutEnd(Bytes wmf) {
    wmf.resize(wmf.size() - 6);
    media::Set32(wmf, 6, static_cast<std::uint32_t>(wmf.size() / 2));
    return wmf;
}

Bytes Bmp() {
    return media::QuarterBitmap(10, 6, 24);
}
Bytes Rle8() {
    // 4 x 2 pixels, 8-bit run-length coded: a run of 4, end of line, a run of 4, end of bitmap.
    Bytes data = media::QuarterBitmap(4, 2, 8);
    Bytes coded = {4, 1, 0, 0, 4, 2, 0, 1};
    data.resize(14 + 40 + 16);
    data.insert(data.end(), coded.begin(), coded.end());
    media::Set32(data, 30, BI_RLE8);
    media::Set32(data, 34, static_cast<std::uint32_t>(coded.size()));
    return data;
}

struct Case {
    const char* name;
    std::function<Bytes()> make;
    const char* message;
};

void PrintTo(const Case& c, std::ostream* out) {
    *out << c.name;
}

class MalformedTest : public ::testing::Test {
protected:
    void SetUp() override { folder_ = ui::ScratchFolder("malformed") + "\\"; }

    std::string Write(const std::string& name, const Bytes& data) {
        std::string path = folder_ + name;
        media::WriteFile(path, data);
        return path;
    }
    // The message of the load's error, "" when it loads; a loaded picture is also drawn.
    static std::string Load(const std::string& path) {
        TPicture picture;
        try {
            picture.LoadFromFile(path);
        } catch (const EInvalidGraphic& error) {
            EXPECT_TRUE(picture.Empty());
            return error.Message();
        }
        media::Surface surface(64, 64, 0);
        TCanvas canvas;
        canvas.SetHandle(surface.DC());
        picture.Draw(canvas, RECT{0, 0, 64, 64});
        return "";
    }

    std::string folder_;
};

TEST_F(MalformedTest, EachDamageGivesItsKindsError) {
    const Case cases[] = {
        // Bitmaps
        {"empty.bmp", [] { return Bytes(); }, kBitmap},
        {"magic-only.bmp",
         [] {
             return Bytes{'B', 'M'};
         },
         kBitmap},
        {"short-file-header.bmp", [] { return Cut(Bmp(), 10); }, kBitmap},
        {"short-info-header.bmp", [] { return Cut(Bmp(), 14 + 20); }, kBitmap},
        {"short-pixels.bmp", [] { return Cut(Bmp(), Bmp().size() - 1); }, kBitmap},
        {"no-pixels.bmp", [] { return Cut(Bmp(), 54); }, kBitmap},
        {"wrong-magic.bmp", [] { return Set16(Bmp(), 0, 0x4D43); }, kBitmap},
        {"header-size-0.bmp", [] { return Set32(Bmp(), 14, 0); }, kBitmap},
        {"header-size-huge.bmp", [] { return Set32(Bmp(), 14, 0xFFFFFFF0); }, kBitmap},
        {"width-0.bmp", [] { return Set32(Bmp(), 18, 0); }, kBitmap},
        {"height-0.bmp", [] { return Set32(Bmp(), 22, 0); }, kBitmap},
        {"width-negative.bmp", [] { return Set32(Bmp(), 18, static_cast<std::uint32_t>(-10)); },
         kBitmap},
        {"width-huge.bmp", [] { return Set32(Bmp(), 18, 0x7FFFFFFF); }, kBitmap},
        {"height-huge.bmp", [] { return Set32(Bmp(), 22, 0x80000000); }, kBitmap},
        {"wide-as-allowed-but-no-pixels.bmp", [] { return Set32(Bmp(), 18, 30000); }, kBitmap},
        {"planes-0.bmp", [] { return Set16(Bmp(), 26, 0); }, kBitmap},
        {"bits-7.bmp", [] { return Set16(Bmp(), 28, 7); }, kBitmap},
        {"bits-0.bmp", [] { return Set16(Bmp(), 28, 0); }, kBitmap},
        {"compression-99.bmp", [] { return Set32(Bmp(), 30, 99); }, kBitmap},
        {"rle-on-24-bits.bmp", [] { return Set32(Bmp(), 30, BI_RLE8); }, kBitmap},
        {"jpeg-inside.bmp", [] { return Set32(Bmp(), 30, BI_JPEG); }, kBitmap},
        {"too-many-colours.bmp", [] { return Set32(media::QuarterBitmap(8, 8, 8), 46, 1000); },
         kBitmap},
        {"colour-table-cut.bmp", [] { return Cut(media::QuarterBitmap(8, 8, 8), 14 + 40 + 8); },
         kBitmap},
        {"pixels-past-end.bmp", [] { return Set32(Bmp(), 10, 0xFFFFFFF0); }, kBitmap},
        {"pixels-inside-header.bmp", [] { return Set32(Bmp(), 10, 20); }, kBitmap},
        {"rle-cut-in-run.bmp", [] { return Cut(Rle8(), Rle8().size() - 5); }, kBitmap},
        {"rle-absurd-size.bmp", [] { return Set32(Set32(Rle8(), 18, 30000), 22, 30000); }, kBitmap},
        {"rle-top-down.bmp", [] { return Set32(Rle8(), 22, static_cast<std::uint32_t>(-2)); },
         kBitmap},
        {"random.bmp", [] { return Random(3000, 1); }, kBitmap},
        {"random-after-magic.bmp", [] { return Set16(Random(3000, 2), 0, 0x4D42); }, kBitmap},
        {"icon-inside.bmp", media::TwoImageIcon, kBitmap},
        {"metafile-inside.bmp", media::EnhancedMetafile, kBitmap},
        // Icons
        {"empty.ico", [] { return Bytes(); }, kIcon},
        {"short-directory.ico", [] { return Cut(media::SingleImageIcon(), 4); }, kIcon},
        {"cursor.ico", [] { return Set16(media::SingleImageIcon(), 2, 2); }, kIcon},
        {"no-images.ico", [] { return Set16(media::SingleImageIcon(), 4, 0); }, kIcon},
        {"many-images.ico", [] { return Set16(media::SingleImageIcon(), 4, 60000); }, kIcon},
        {"short-entry.ico", [] { return Cut(media::SingleImageIcon(), 6 + 10); }, kIcon},
        {"image-past-end.ico", [] { return Set32(media::SingleImageIcon(), 18, 0x7FFFFFF0); },
         kIcon},
        {"image-size-huge.ico", [] { return Set32(media::SingleImageIcon(), 14, 0xFFFFFFFF); },
         kIcon},
        {"image-size-0.ico", [] { return Set32(media::SingleImageIcon(), 14, 0); }, kIcon},
        {"image-cut.ico",
         [] { return Cut(media::SingleImageIcon(), media::SingleImageIcon().size() - 1); }, kIcon},
        {"image-header-size-0.ico", [] { return Set32(media::SingleImageIcon(), 22, 0); }, kIcon},
        {"image-width-0.ico", [] { return Set32(media::SingleImageIcon(), 26, 0); }, kIcon},
        {"image-height-0.ico", [] { return Set32(media::SingleImageIcon(), 30, 0); }, kIcon},
        {"image-width-huge.ico", [] { return Set32(media::SingleImageIcon(), 26, 0x10000); },
         kIcon},
        {"image-larger-than-data.ico", [] { return Set32(media::SingleImageIcon(), 26, 200); },
         kIcon},
        {"image-bits-3.ico", [] { return Set16(media::SingleImageIcon(), 36, 3); }, kIcon},
        {"image-compressed.ico", [] { return Set32(media::SingleImageIcon(), 38, BI_RLE4); },
         kIcon},
        {"png-garbage.ico",
         [] {
             Bytes icon = media::SingleImageIcon();
             Bytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13,
                          'I',  'H', 'D', 'R', 0,    0,    0,    32,   0, 0, 0, 32};
             std::copy(png.begin(), png.end(), icon.begin() + 22);
             return icon;
         },
         kIcon},
        {"random.ico", [] { return Random(2000, 3); }, kIcon},
        {"random-after-directory.ico",
         [] {
             Bytes data = Random(2000, 4);
             Bytes head = Cut(media::SingleImageIcon(), 22);
             std::copy(head.begin(), head.end(), data.begin());
             return data;
         },
         kIcon},
        {"bitmap-inside.ico", Bmp, kIcon},
        // Windows metafiles
        {"empty.wmf", [] { return Bytes(); }, kMetafile},
        {"short-header.wmf", [] { return Cut(media::PlainMetafile(), 10); }, kMetafile},
        {"header-size-0.wmf", [] { return Set16(media::PlainMetafile(), 2, 0); }, kMetafile},
        {"type-7.wmf", [] { return Set16(media::PlainMetafile(), 0, 7); }, kMetafile},
        {"size-huge.wmf", [] { return Set32(media::PlainMetafile(), 6, 0x7FFFFFFF); }, kMetafile},
        {"size-0.wmf", [] { return Set32(media::PlainMetafile(), 6, 0); }, kMetafile},
        {"cut.wmf", [] { return Cut(media::PlainMetafile(), media::PlainMetafile().size() - 2); },
         kMetafile},
        {"record-size-0.wmf", [] { return Set32(media::PlainMetafile(), 18, 0); }, kMetafile},
        {"record-size-huge.wmf", [] { return Set32(media::PlainMetafile(), 18, 0x40000000); },
         kMetafile},
        {"no-end-record.wmf", [] { return WithoutEnd(media::PlainMetafile()); }, kMetafile},
        {"placeable-bad-checksum.wmf", [] { return Set16(media::PlaceableMetafile(), 20, 0x1234); },
         kMetafile},
        {"placeable-inch-0.wmf", [] { return Resum(Set16(media::PlaceableMetafile(), 14, 0)); },
         kMetafile},
        {"placeable-width-0.wmf", [] { return Resum(Set16(media::PlaceableMetafile(), 10, 0)); },
         kMetafile},
        {"placeable-height-0.wmf", [] { return Resum(Set16(media::PlaceableMetafile(), 12, 0)); },
         kMetafile},
        {"placeable-absurd-size.wmf",
         [] { return Resum(Set16(Set16(media::PlaceableMetafile(), 10, 32000), 14, 1)); },
         kMetafile},
        {"placeable-header-only.wmf", [] { return Cut(media::PlaceableMetafile(), 22); },
         kMetafile},
        {"placeable-cut.wmf", [] { return Cut(media::PlaceableMetafile(), 30); }, kMetafile},
        {"random.wmf", [] { return Random(1000, 5); }, kMetafile},
        {"enhanced-inside.wmf", media::EnhancedMetafile, kMetafile},
        {"bitmap-inside.wmf", Bmp, kMetafile},
        // Enhanced metafiles
        {"empty.emf", [] { return Bytes(); }, kMetafile},
        {"short-header.emf", [] { return Cut(media::EnhancedMetafile(), 87); }, kMetafile},
        {"wrong-signature.emf", [] { return Set32(media::EnhancedMetafile(), 40, 0x12345678); },
         kMetafile},
        {"not-a-header.emf", [] { return Set32(media::EnhancedMetafile(), 0, EMR_EOF); },
         kMetafile},
        {"header-size-0.emf", [] { return Set32(media::EnhancedMetafile(), 4, 0); }, kMetafile},
        {"header-size-huge.emf", [] { return Set32(media::EnhancedMetafile(), 4, 0xFFFFFFF0); },
         kMetafile},
        {"bytes-past-end.emf", [] { return Set32(media::EnhancedMetafile(), 48, 0x7FFFFFF0); },
         kMetafile},
        {"cut.emf",
         [] { return Cut(media::EnhancedMetafile(), media::EnhancedMetafile().size() - 4); },
         kMetafile},
        {"record-size-0.emf",
         [] {
             Bytes emf = media::EnhancedMetafile();
             return Set32(emf, emf[4] + 4, 0);
         },
         kMetafile},
        {"record-size-odd.emf",
         [] {
             Bytes emf = media::EnhancedMetafile();
             return Set32(emf, emf[4] + 4, 13);
         },
         kMetafile},
        {"no-end-record.emf",
         [] {
             Bytes emf = media::EnhancedMetafile();
             return Set32(emf, emf.size() - 20, 0x7FFF);
         },
         kMetafile},
        {"no-size.emf",
         [] {
             Bytes emf = media::EnhancedMetafile();
             for (std::size_t at = 8; at < 40; at += 4)
                 media::Set32(emf, at, at < 24 && at >= 16 ? static_cast<std::uint32_t>(-1) : 0);
             return emf;
         },
         kMetafile},
        {"absurd-frame.emf", [] { return Set32(media::EnhancedMetafile(), 32, 0x7FFFFFFF); },
         kMetafile},
        {"random.emf", [] { return Random(1000, 6); }, kMetafile},
        {"random-after-header.emf",
         [] {
             Bytes emf = media::EnhancedMetafile();
             Bytes data = Random(emf.size(), 7);
             std::copy(emf.begin(), emf.begin() + 108, data.begin());
             return data;
         },
         kMetafile},
        {"windows-metafile-inside.emf", media::PlainMetafile, kMetafile},
        {"bitmap-inside.emf", Bmp, kMetafile},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Load(Write(c.name, c.make())), c.message);
    }
}

// Every shortening of a good file is caught.
TEST_F(MalformedTest, EveryTruncationIsAnError) {
    const Case files[] = {
        {"t.bmp", Bmp, kBitmap},
        {"t8.bmp", [] { return media::QuarterBitmap(5, 3, 8); }, kBitmap},
        {"t.ico", media::SingleImageIcon, kIcon},
        {"t.wmf", media::PlainMetafile, kMetafile},
        {"p.wmf", media::PlaceableMetafile, kMetafile},
        {"t.emf", media::EnhancedMetafile, kMetafile},
        {"rich.wmf", media::RichMetafile, kMetafile},
        {"rich.emf", media::RichEnhancedMetafile, kMetafile},
    };
    for (const Case& file : files) {
        Bytes whole = file.make();
        for (std::size_t size = 0; size < whole.size(); ++size) {
            SCOPED_TRACE(std::string(file.name) + " cut to " + std::to_string(size));
            ASSERT_EQ(Load(Write(file.name, Cut(whole, size))), file.message);
        }
    }
}

// Overwriting any one byte of a good file either still loads (and draws) or gives the kind's
// error; nothing crashes or hangs. One test per file, so that each stays short.
class OverwrittenByteTest : public MalformedTest, public ::testing::WithParamInterface<Case> {};

TEST_P(OverwrittenByteTest, LoadsOrIsAnError) {
    const Case& file = GetParam();
    Bytes whole = file.make();
    ASSERT_EQ(Load(Write(file.name, whole)), "") << "the undamaged file loads";
    for (std::size_t at = 0; at < whole.size(); ++at) {
        for (unsigned char value : {0x00, 0x7F, 0xFF}) {
            Bytes changed = whole;
            changed[at] = value;
            std::string message = Load(Write(file.name, changed));
            if (!message.empty()) {
                ASSERT_EQ(message, file.message) << "byte " << at << " set to " << int(value);
            }
        }
    }
}

const Case kSweptFiles[] = {
    {"bitmap24.bmp", Bmp, kBitmap},
    {"bitmap4.bmp", [] { return media::QuarterBitmap(5, 3, 4); }, kBitmap},
    {"rle8.bmp", Rle8, kBitmap},
    {"icon.ico", media::SingleImageIcon, kIcon},
    {"plain.wmf", media::PlainMetafile, kMetafile},
    {"placeable.wmf", media::PlaceableMetafile, kMetafile},
    {"extentless.wmf", media::ExtentlessMetafile, kMetafile},
    {"rich.wmf", media::RichMetafile, kMetafile},
    {"enhanced.emf", media::EnhancedMetafile, kMetafile},
    {"rich.emf", media::RichEnhancedMetafile, kMetafile},
};

std::string SweptName(const ::testing::TestParamInfo<Case>& info) {
    std::string name = info.param.name;
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c)))
            c = '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(Files, OverwrittenByteTest, ::testing::ValuesIn(kSweptFiles), SweptName);

} // namespace
