#include "saverfixture.h"
#include "scrsavmain.h"

#include <functional>

namespace {

using Form = TFormPtr<TQuilloScreenForm>;

Form LoadSaver() {
    return Form(new TQuilloScreenForm(nullptr));
}

class SaverLoadTest : public SaverSettingsTest {};

TEST_F(SaverLoadTest, NoKeyAtAllGivesTheSaverDefaults) {
    ASSERT_FALSE(reg::KeyExists(HKEY_LOCAL_MACHINE, SettingsKey));
    Form saver = LoadSaver();
    EXPECT_EQ(saver->SpeedFactor, 0);
    EXPECT_EQ(saver->timer.Interval(), 5000u);
    EXPECT_FALSE(saver->SoundSw);
    EXPECT_TRUE(saver->TextSw);
    EXPECT_FALSE(saver->PictureSw);
    EXPECT_FALSE(saver->OnceOnlySw);
    EXPECT_EQ(saver->SoundFile, "");
    EXPECT_EQ(saver->PictureFile, "");
    ASSERT_TRUE(saver->TextLines);
    ASSERT_EQ(saver->TextLines->Count(), 3);
    EXPECT_EQ((*saver->TextLines)[0], "QUILLO: Your Message Here!");
    EXPECT_EQ((*saver->TextLines)[1], "");
    EXPECT_EQ((*saver->TextLines)[2], "");
    EXPECT_EQ(saver->Canvas.Font.Name, "System");
    EXPECT_EQ(saver->Canvas.Font.Size, 10);
    EXPECT_EQ(saver->Canvas.Font.Style, 0u);
    EXPECT_EQ(saver->Canvas.Font.Color, clWindowText);
    EXPECT_GT(saver->TextBlockWidth, 0);
    EXPECT_EQ(saver->TextBlockWidth, saver->Canvas.TextWidth("QUILLO: Your Message Here!"));
    EXPECT_FALSE(reg::KeyExists(HKEY_LOCAL_MACHINE, SettingsKey)) << "the saver never writes";
}

// One stored value (with what it needs beside it) and the member it must give.
struct DecodeCase {
    const char* what;
    std::vector<std::pair<const char*, const char*>> stored;
    std::function<std::string(TQuilloScreenForm&)> member;
    std::string expected;
};

std::string Speed(TQuilloScreenForm& f) {
    return IntToStr(f.SpeedFactor);
}
std::string Text(TQuilloScreenForm& f) {
    return f.TextSw ? "true" : "false";
}
std::string Picture(TQuilloScreenForm& f) {
    return f.PictureSw ? "true" : "false";
}

TEST_F(SaverLoadTest, StoredTextsDecodeAsTheSaverReadsThem) {
    const std::string forty(40, 'F');
    const DecodeCase cases[] = {
        {"hex speed", {{"Speed Factor", "0x0A"}}, Speed, "10"},
        {"word speed", {{"Speed Factor", "abc"}}, Speed, "0"},
        {"empty speed", {{"Speed Factor", ""}}, Speed, "0"},
        {"bare 0x", {{"Speed Factor", "0x"}}, Speed, "0"},
        {"speed 7", {{"Speed Factor", "7"}}, Speed, "7"},
        {"speed out of range", {{"Speed Factor", "15"}}, Speed, "15"},
        {"text sw 2", {{"Text Sw", "2"}}, Text, "true"},
        {"text sw -1", {{"Text Sw", "-1"}}, Text, "true"},
        {"text sw 0", {{"Text Sw", "0"}}, Text, "false"},
        {"text sw yes", {{"Text Sw", "yes"}}, Text, "true"},
        {"picture sw yes", {{"Picture Sw", "yes"}}, Picture, "false"},
        {"40-character font name",
         {{"Font Name", forty.c_str()}},
         [](TQuilloScreenForm& f) { return f.Canvas.Font.Name; },
         std::string(31, 'F')},
        {"font size 14",
         {{"Font Size", "14"}},
         [](TQuilloScreenForm& f) { return IntToStr(f.Canvas.Font.Size); },
         "14"},
        {"styles",
         {{"Italic", "1"}, {"Bold", "1"}, {"Underline", "0"}, {"Strikeout", "1"}},
         [](TQuilloScreenForm& f) { return IntToStr(f.Canvas.Font.Style); },
         IntToStr(fsItalic | fsBold | fsStrikeOut)},
        {"sound file ERROR",
         {{"Sound Sw", "1"}, {"Sound File", "ERROR"}},
         [](TQuilloScreenForm& f) { return f.SoundFile; },
         "ERROR"},
        {"sound file lower case",
         {{"Sound Sw", "1"}, {"Sound File", "error"}},
         [](TQuilloScreenForm& f) { return f.SoundFile; },
         "error"},
        {"sound file without its switch",
         {{"Sound File", "C:\\a.wav"}},
         [](TQuilloScreenForm& f) { return f.SoundFile; },
         ""},
        {"picture switch without a file",
         {{"Picture Sw", "1"}},
         [](TQuilloScreenForm& f) { return f.PictureFile; },
         "athena.bmp"},
        {"text off reads no lines",
         {{"Text Sw", "0"}, {"Text One", "Hello"}},
         [](TQuilloScreenForm& f) { return f.TextLines ? "lines" : "none"; },
         "none"},
        {"three lines",
         {{"Text One", " one "}, {"Text Two", ""}, {"Text Three", "three"}},
         [](TQuilloScreenForm& f) {
             return (*f.TextLines)[0] + "|" + (*f.TextLines)[1] + "|" + (*f.TextLines)[2];
         },
         " one ||three"},
    };
    for (const DecodeCase& c : cases) {
        SCOPED_TRACE(c.what);
        reg::DeleteTree(HKEY_LOCAL_MACHINE, SettingsKey);
        for (const auto& [name, text] : c.stored)
            Store(name, text);
        Form saver = LoadSaver();
        EXPECT_EQ(c.member(*saver), c.expected);
    }
}

TEST_F(SaverLoadTest, TheWidestLineSetsTheBlockWidthBeforeTheStyles) {
    Store("Text One", "short");
    Store("Text Two", "a much longer second line");
    Store("Text Three", "mid length");
    Store("Bold", "1");
    Form saver = LoadSaver();
    TCanvas plain;
    plain.Font = saver->Canvas.Font;
    plain.Font.Style = 0;
    EXPECT_EQ(saver->TextBlockWidth, plain.TextWidth("a much longer second line"));
}

TEST_F(SaverLoadTest, TheSpeedSetsTheTickInterval) {
    const struct {
        const char* stored;
        unsigned interval;
    } cases[] = {{"0", 5000}, {"1", 4000},  {"2", 3500}, {"3", 3000}, {"4", 2500},
                 {"5", 2000}, {"6", 1500},  {"7", 1000}, {"8", 750},  {"9", 500},
                 {"10", 250}, {"11", 1000}, {"-1", 1000}};
    for (const auto& c : cases) {
        Store("Speed Factor", c.stored);
        Form saver = LoadSaver();
        EXPECT_EQ(saver->timer.Interval(), c.interval) << "speed " << c.stored;
    }
}

TEST_F(SaverLoadTest, UnusableValuesStopTheLoadWithTheirMessage) {
    const struct {
        const char* what;
        std::function<void(SaverLoadTest&)> store;
        std::string message;
    } cases[] = {
        {"speed as a DWORD",
         [](SaverLoadTest&) {
             reg::WriteDword(HKEY_LOCAL_MACHINE, SettingsKey, "Speed Factor", 10);
         },
         "Invalid data type for 'Speed Factor'"},
        {"empty font size", [](SaverLoadTest& t) { t.Store("Font Size", ""); },
         "'' is not a valid integer value"},
        {"font size 12pt", [](SaverLoadTest& t) { t.Store("Font Size", "12pt"); },
         "'12pt' is not a valid integer value"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        reg::DeleteTree(HKEY_LOCAL_MACHINE, SettingsKey);
        c.store(*this);
        try {
            LoadSaver();
            ADD_FAILURE() << "the load went through";
        } catch (const Exception& error) {
            EXPECT_EQ(error.Message(), c.message);
        }
    }
}

} // namespace
