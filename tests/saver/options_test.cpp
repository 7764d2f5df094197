// The options dialog driven from outside, as a user does: "quillsav.scr /c" and its windows.
#include "../framework/mediafiles.h"
#include "optionsdialog.h"
#include "saverfixture.h"
#include "sysutils.h"

#include <commctrl.h>
#include <dlgs.h>

#include <functional>

#include <map>

namespace {

using Values = std::map<std::string, std::string>;

// A stored text up to its first NUL (Wine keeps the NUL that follows a written text).
std::string Text(const reg::RawValue& value) {
    std::string text = value.Text();
    return text.substr(0, text.find('\0'));
}

// Every value of the settings key, by name.
Values StoredValues() {
    Values values;
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, SettingsKey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return values;
    for (DWORD i = 0;; ++i) {
        char name[256];
        DWORD nameSize = sizeof name;
        if (RegEnumValueA(key, i, name, &nameSize, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        values[name] = Text(reg::Read(HKEY_LOCAL_MACHINE, SettingsKey, name));
    }
    RegCloseKey(key);
    return values;
}

// The control that has the keyboard focus in the dialog's thread.
HWND FocusOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
    return info.hwndFocus;
}

// A click into a control, as its window receives it.
void FocusByClick(HWND control) {
    PostMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
    PostMessageA(control, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
    ui::Pump(100);
}

void Type(HWND edit, const std::string& text) {
    SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

// The client area of a window on the screen.
ui::Bitmap CaptureClient(HWND window) {
    RECT area;
    GetClientRect(window, &area);
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    OffsetRect(&area, origin.x, origin.y);
    return ui::CaptureArea(area);
}

class OptionsTest : public SaverSettingsTest {
protected:
    // A file of the test's own folder.
    std::string File(const std::string& name) { return folder_ + "\\" + name; }

private:
    std::string folder_ = ui::ScratchFolder("options");
};

const Values kNothingChanged = {
    {"Text One", ""},  {"Text Two", ""}, {"Text Three", ""},  {"Speed Factor", "0"},
    {"Sound Sw", "0"}, {"Text Sw", "0"}, {"Picture Sw", "0"}, {"Once Only Sw", "0"},
};

TEST_F(OptionsTest, WithNoSettingsItShowsItsOwnDefaultsAndOkStoresThem) {
    OptionsDialog options;
    ASSERT_NE(options.Window(), nullptr);
    EXPECT_EQ(ui::TextOf(options.Window()), "Quillo Screen Saver Options");
    for (int line = 0; line < 3; ++line)
        EXPECT_EQ(options.Text(line), "") << "line " << line;
    EXPECT_FALSE(options.Checked("On / Off", options.SoundGroup()));
    EXPECT_FALSE(options.Checked("Text On / Off", options.DisplayGroup()));
    EXPECT_FALSE(options.Checked("Picture  On / Off", options.DisplayGroup()));
    EXPECT_TRUE(options.Checked("Repeat Play", options.SoundGroup()));
    EXPECT_FALSE(options.Checked("One Time Only", options.SoundGroup()));
    EXPECT_EQ(options.Speed(), 0) << "the Slow end";
    EXPECT_EQ(FocusOf(options.Window()), options.Edit(0));
    RECT client;
    GetClientRect(options.Window(), &client);
    EXPECT_EQ(client.right, 443);
    EXPECT_EQ(client.bottom, 387);

    options.Press("OK");
    EXPECT_TRUE(options.Ended());
    EXPECT_EQ(StoredValues(), kNothingChanged);
}

TEST_F(OptionsTest, AStoredSpeedIsLimitedToTheBarAndStoredSo) {
    const struct {
        const char* stored;
        int shown;
        const char* written;
    } cases[] = {{"15", 10, "10"}, {"-3", 0, "0"}, {"7", 7, "7"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("stored ") + c.stored);
        reg::DeleteTree(HKEY_LOCAL_MACHINE, SettingsKey);
        Store("Speed Factor", c.stored);
        OptionsDialog options;
        ASSERT_NE(options.Window(), nullptr);
        EXPECT_EQ(options.Speed(), c.shown);
        options.Press("OK");
        EXPECT_TRUE(options.Ended());
        EXPECT_EQ(Text(Stored("Speed Factor")), c.written);
    }
}

TEST_F(OptionsTest, StoredSettingsShowAndOkStoresWhatTheUserChanged) {
    Store("Text One", "one");
    Store("Sound Sw", "1");
    Store("Text Sw", "1");
    Store("Once Only Sw", "1");
    OptionsDialog options;
    ASSERT_NE(options.Window(), nullptr);
    EXPECT_EQ(options.Text(0), "one");
    EXPECT_TRUE(options.Checked("On / Off", options.SoundGroup()));
    EXPECT_TRUE(options.Checked("Text On / Off", options.DisplayGroup()));
    EXPECT_TRUE(options.Checked("One Time Only", options.SoundGroup()));
    EXPECT_FALSE(options.Checked("Repeat Play", options.SoundGroup()));

    Type(options.Edit(0), "  leading");
    Type(options.Edit(1), "trailing  ");
    Type(options.Edit(2), " ");
    options.Press("On / Off", options.SoundGroup());
    options.Press("Picture  On / Off", options.DisplayGroup());
    options.Press("Repeat Play", options.SoundGroup());
    EXPECT_FALSE(options.Checked("One Time Only", options.SoundGroup())) << "the pair excludes";
    // One click on the bar's right end and two Right keys move the slider three steps.
    RECT bar;
    GetClientRect(options.TrackBar(), &bar);
    LPARAM at = MAKELPARAM(bar.right - 12, 12);
    PostMessageA(options.TrackBar(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(options.TrackBar(), WM_LBUTTONUP, 0, at);
    ui::Pump(200);
    ui::PressKey(VK_RIGHT);
    ui::PressKey(VK_RIGHT);
    ui::Pump(200);
    EXPECT_EQ(options.Speed(), 3);

    options.Press("OK");
    EXPECT_TRUE(options.Ended());
    EXPECT_EQ(StoredValues(), (Values{{"Text One", "  leading"},
                                      {"Text Two", "trailing  "},
                                      {"Text Three", " "},
                                      {"Speed Factor", "3"},
                                      {"Sound Sw", "0"},
                                      {"Text Sw", "1"},
                                      {"Picture Sw", "1"},
                                      {"Once Only Sw", "0"}}));
}

TEST_F(OptionsTest, CancelEscAndTheCloseBoxStoreNothing) {
    const struct {
        const char* how;
        std::function<void(OptionsDialog&)> close;
    } cases[] = {
        {"Cancel", [](OptionsDialog& o) { o.Press("Cancel"); }},
        {"Esc in an edit", [](OptionsDialog&) { ui::PressKey(VK_ESCAPE); }},
        {"close box",
         [](OptionsDialog& o) { PostMessageA(o.Window(), WM_SYSCOMMAND, SC_CLOSE, 0); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.how);
        reg::DeleteTree(HKEY_LOCAL_MACHINE, SettingsKey);
        Store("Text One", "kept");
        Store("Speed Factor", "4");
        OptionsDialog options;
        ASSERT_NE(options.Window(), nullptr);
        Type(options.Edit(0), "changed");
        options.Press("Text On / Off", options.DisplayGroup());
        c.close(options);
        EXPECT_TRUE(options.Ended());
        EXPECT_EQ(StoredValues(), (Values{{"Text One", "kept"}, {"Speed Factor", "4"}}));
    }
}

TEST_F(OptionsTest, EnterInAnEditPressesOkButOnAFocusedButtonPressesThatButton) {
    OptionsDialog options;
    ASSERT_NE(options.Window(), nullptr);
    Type(options.Edit(1), "typed");
    FocusByClick(options.Edit(1));
    ui::Pump(100);
    // Tab to the sound group's Choose... button: Enter opens its file dialog.
    ui::PressKey(VK_TAB);
    ui::PressKey(VK_TAB);
    ui::PressKey(VK_TAB);
    ui::Pump(100);
    ASSERT_EQ(FocusOf(options.Window()), options.Control("Choose...", options.SoundGroup()));
    ui::PressKey(VK_RETURN);
    HWND picker = ui::WaitForWindow("#32770", "Sound to Play", options.Id(), 10000);
    ASSERT_NE(picker, nullptr);
    ui::CancelDialog(picker);
    EXPECT_TRUE(options.Program().Running());

    FocusByClick(options.Edit(0));
    ui::Pump(100);
    ui::PressKey(VK_RETURN);
    EXPECT_TRUE(options.Ended());
    EXPECT_EQ(Text(Stored("Text Two")), "typed");
}

TEST_F(OptionsTest, TabVisitsTheControlsInTheirOrderAndComesBack) {
    for (bool onceOnly : {false, true}) {
        SCOPED_TRACE(onceOnly ? "One Time Only selected" : "Repeat Play selected");
        reg::DeleteTree(HKEY_LOCAL_MACHINE, SettingsKey);
        Store("Once Only Sw", onceOnly ? "1" : "0");
        OptionsDialog options;
        ASSERT_NE(options.Window(), nullptr);
        HWND sound = options.SoundGroup();
        HWND display = options.DisplayGroup();
        const std::vector<HWND> expected = {
            options.Edit(1),
            options.Edit(2),
            options.Control(onceOnly ? "One Time Only" : "Repeat Play", sound),
            options.Control("Choose...", sound),
            options.Control("Preview", sound),
            options.Control("OK"),
            options.Control("Choose...", display),
            options.Control("Preview", display),
            options.Control("Cancel"),
            options.Edit(0),
        };
        ASSERT_EQ(FocusOf(options.Window()), options.Edit(0));
        for (std::size_t i = 0; i < expected.size(); ++i) {
            ui::PressKey(VK_TAB);
            ui::Pump(50);
            HWND focus = FocusOf(options.Window());
            EXPECT_EQ(focus, expected[i]) << "Tab " << i + 1 << " reached '" << ui::TextOf(focus)
                                          << "' (" << ui::ClassOf(focus) << ")";
        }
    }
}

TEST_F(OptionsTest, PreviewBeforeChooseSaysSoEvenWithAStoredFile) {
    const struct {
        bool sound;
        const char* text;
    } cases[] = {
        {true, "You need to pick a new Sound File before selecting this button!"},
        {false, "You need to pick a new Picture File before selecting this button!"},
    };
    Store("Sound File", File("stored.wav"));
    Store("Picture File", File("stored.bmp"));
    media::WriteFile(File("stored.wav"), media::WaveFile(300));
    media::WriteFile(File("stored.bmp"), media::QuarterBitmap(8, 8, 24));
    OptionsDialog options;
    ASSERT_NE(options.Window(), nullptr);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sound ? "sound" : "picture");
        options.Press("Preview", c.sound ? options.SoundGroup() : options.DisplayGroup());
        ui::MessageBoxInfo box = ui::AnswerMessageBox(options.Id(), 10000);
        EXPECT_EQ(box.Text, c.text);
        EXPECT_EQ(box.Caption, "Quillo Screen Saver 97");
        EXPECT_EQ(box.Kind, ui::Icon::None);
        EXPECT_EQ(box.Buttons, std::vector<std::string>{"OK"});
    }
    EXPECT_TRUE(ui::NoWindowFor("TPicPreviewDlg1", options.Id(), 300));
}

TEST_F(OptionsTest, APickStaysAfterACancelledSecondPickAndOkStoresIt) {
    media::WriteFile(File("first.wav"), media::WaveFile(300));
    media::WriteFile(File("first.bmp"), media::QuarterBitmap(8, 8, 24));
    Store("Sound File", "old.wav");
    OptionsDialog options;
    ASSERT_NE(options.Window(), nullptr);
    options.ChooseFile(options.SoundGroup(), "Sound to Play", File("first.wav"));
    options.ChooseFile(options.SoundGroup(), "Sound to Play", "");
    options.ChooseFile(options.DisplayGroup(), "Bit Map to Display", File("first.bmp"));
    options.ChooseFile(options.DisplayGroup(), "Bit Map to Display", "");
    // The sound previews without a message: the picked file is the one it opens.
    options.Press("Preview", options.SoundGroup());
    options.Press("OK");
    EXPECT_TRUE(options.Ended());
    EXPECT_EQ(LowerCase(Text(Stored("Sound File"))), LowerCase(File("first.wav")));
    EXPECT_EQ(LowerCase(Text(Stored("Picture File"))), LowerCase(File("first.bmp")));
}

TEST_F(OptionsTest, AConfirmedFontIsStoredAtOnceAndStaysAfterCancel) {
    OptionsDialog options;
    ASSERT_NE(options.Window(), nullptr);
    options.Press("Font");
    HWND fonts = ui::WaitForWindow("#32770", "Font", options.Id(), 10000);
    ASSERT_NE(fonts, nullptr);
    HWND face = GetDlgItem(fonts, cmb1);
    HWND style = GetDlgItem(fonts, cmb2);
    HWND size = GetDlgItem(fonts, cmb3);
    // Choose a face with the mouse's help: select it in the list as a click would.
    auto select = [&](HWND combo, int id, const char* text) {
        LRESULT at = SendMessageA(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                  reinterpret_cast<LPARAM>(text));
        ASSERT_NE(at, CB_ERR) << text;
        SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(at), 0);
        SendMessageA(fonts, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(combo));
    };
    select(face, cmb1, "DejaVu Sans");
    select(style, cmb2, "Bold Italic");
    select(size, cmb3, "14");
    PostMessageA(GetDlgItem(fonts, IDOK), BM_CLICK, 0, 0);
    ASSERT_TRUE(ui::WaitUntilGone(fonts, 10000));
    ui::Pump(200);
    EXPECT_EQ(StoredValues(), (Values{{"Italic", "1"},
                                      {"Bold", "1"},
                                      {"Underline", "0"},
                                      {"Strikeout", "0"},
                                      {"Font Name", "DejaVu Sans"},
                                      {"Font Size", "14"}}))
        << "stored before OK or Cancel";

    // The next run starts from the confirmed font.
    options.Press("Font");
    fonts = ui::WaitForWindow("#32770", "Font", options.Id(), 10000);
    ASSERT_NE(fonts, nullptr);
    EXPECT_EQ(ui::TextOf(GetDlgItem(fonts, cmb1)), "DejaVu Sans");
    EXPECT_EQ(ui::TextOf(GetDlgItem(fonts, cmb3)), "14");
    ui::CancelDialog(fonts);

    options.Press("Cancel");
    EXPECT_TRUE(options.Ended());
    EXPECT_EQ(Text(Stored("Font Name")), "DejaVu Sans");
    EXPECT_EQ(Text(Stored("Font Size")), "14");
    EXPECT_EQ(Text(Stored("Bold")), "1");
    EXPECT_FALSE(Stored("Text One").exists) << "Cancel stored nothing else";
}

// Below a volatile key no lasting key can be made: the settings key cannot be created.
class FailingStoreTest : public OptionsTest {
protected:
    void SetUp() override {
        OptionsTest::SetUp();
        reg::DeleteTree(HKEY_LOCAL_MACHINE, kVersionKey);
        // The levels above are lasting keys; only the version key is volatile.
        HKEY key;
        ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, kProductKey, 0, nullptr,
                                  REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        RegCloseKey(key);
        ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, kVersionKey, 0, nullptr, REG_OPTION_VOLATILE,
                                  KEY_ALL_ACCESS, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        RegCloseKey(key);
    }
    static constexpr const char* kProductKey = "SOFTWARE\\Korvane Software\\Quillo Screen Saver 97";
    static constexpr const char* kVersionKey =
        "SOFTWARE\\Korvane Software\\Quillo Screen Saver 97\\2.0";
};

TEST_F(FailingStoreTest, OkShowsTheErrorStopsAndStaysOpen) {
    OptionsDialog options;
    ASSERT_NE(options.Window(), nullptr);
    Type(options.Edit(0), "first");
    options.Press("OK");
    ui::MessageBoxInfo box = ui::AnswerMessageBox(options.Id(), 10000);
    EXPECT_EQ(box.Text, "Failed to create key " + SettingsKey + ".");
    EXPECT_EQ(box.Kind, ui::Icon::Stop);
    EXPECT_EQ(box.Caption, "Quillo Screen Saver 97");
    EXPECT_FALSE(reg::KeyExists(HKEY_LOCAL_MACHINE, SettingsKey));
    EXPECT_TRUE(options.Program().Running()) << "the dialog stays open";
    EXPECT_TRUE(IsWindowVisible(options.Window()));

    // Once the key can be made, the same OK stores everything as typed.
    ASSERT_TRUE(reg::DeleteTree(HKEY_LOCAL_MACHINE, kVersionKey));
    options.Press("OK");
    ui::MessageBoxInfo again;
    EXPECT_FALSE(ui::WaitForMessageBox(options.Id(), 500, again)) << again.Text;
    EXPECT_TRUE(options.Ended());
    EXPECT_EQ(Text(Stored("Text One")), "first");
    EXPECT_EQ(Text(Stored("Once Only Sw")), "0");
}

TEST_F(OptionsTest, PreviewShowsThePickedPicture) {
    // Quarters of a 100 x 100 bitmap: red, green / blue, white.
    media::WriteFile(File("quarters.bmp"), media::QuarterBitmap(100, 100, 24));
    media::WriteFile(File("CAPITALS.BMP"), media::QuarterBitmap(100, 100, 24));
    const unsigned face = GetSysColor(COLOR_BTNFACE);
    const unsigned faceRgb = ((face & 0xFF) << 16) | (face & 0xFF00) | ((face >> 16) & 0xFF);
    for (const char* name : {"quarters.bmp", "CAPITALS.BMP"}) {
        SCOPED_TRACE(name);
        OptionsDialog options;
        ASSERT_NE(options.Window(), nullptr);
        options.ChooseFile(options.DisplayGroup(), "Bit Map to Display", File(name));
        options.Press("Preview", options.DisplayGroup());
        HWND preview = ui::WaitForWindow("TPicPreviewDlg1", "Picture Preview", options.Id(), 10000);
        ASSERT_NE(preview, nullptr);
        ui::MoveMouse(790, 590);
        ui::Pump(300);
        ui::Bitmap shown = CaptureClient(preview);
        ASSERT_EQ(shown.Width(), 427);
        ASSERT_EQ(shown.Height(), 280);
        EXPECT_EQ(shown.Pixel(0, 0), media::kRed);
        EXPECT_EQ(shown.Pixel(426, 0), media::kGreen);
        EXPECT_EQ(shown.Pixel(0, 246), media::kBlue);
        EXPECT_EQ(shown.Pixel(426, 246), media::kWhite);
        EXPECT_EQ(shown.Pixel(212, 122), media::kRed) << "stretched: the middle is a corner";
        EXPECT_EQ(shown.Pixel(5, 250), faceRgb) << "the panel below the picture";
        // Enter presses the OK button.
        ui::PressKey(VK_RETURN);
        EXPECT_TRUE(ui::WaitUntilGone(preview, 10000));
        options.Press("Cancel");
        EXPECT_TRUE(options.Ended());
    }
}

TEST_F(OptionsTest, PreviewShowsAnIconAtItsSizeAndAFailureTheDefaultIcon) {
    media::WriteFile(File("two.ico"), media::TwoImageIcon());
    media::WriteFile(File("notes.txt"), media::Bytes{'h', 'i'});
    media::WriteFile(File("gone.bmp"), media::QuarterBitmap(10, 10, 24));
    const unsigned face = GetSysColor(COLOR_BTNFACE);
    const unsigned faceRgb = ((face & 0xFF) << 16) | (face & 0xFF00) | ((face >> 16) & 0xFF);
    OptionsDialog options;
    ASSERT_NE(options.Window(), nullptr);
    auto preview = [&](const std::string& message) {
        options.Press("Preview", options.DisplayGroup());
        if (!message.empty()) {
            ui::MessageBoxInfo box = ui::AnswerMessageBox(options.Id(), 10000);
            EXPECT_EQ(box.Text, message);
            EXPECT_EQ(box.Kind, ui::Icon::Stop);
        }
        HWND window = ui::WaitForWindow("TPicPreviewDlg1", "", options.Id(), 10000);
        EXPECT_NE(window, nullptr);
        ui::MoveMouse(790, 590);
        ui::Pump(300);
        ui::Bitmap shown = CaptureClient(window);
        ui::PressKey(VK_ESCAPE);
        EXPECT_TRUE(ui::WaitUntilGone(window, 10000));
        return shown;
    };

    options.ChooseFile(options.DisplayGroup(), "Bit Map to Display", File("two.ico"));
    ui::Bitmap icon = preview("");
    EXPECT_EQ(icon.Pixel(0, 0), media::kRed);
    EXPECT_EQ(icon.Pixel(0, 31), media::kBlue);
    EXPECT_EQ(icon.Pixel(31, 31), faceRgb) << "transparent corner on the face colour";
    EXPECT_EQ(icon.Pixel(32, 0), faceRgb);
    EXPECT_EQ(icon.Pixel(426, 246), faceRgb) << "not stretched";

    // The default icon: a black frame of 32 x 32 in the top-left corner, the face around it.
    const struct {
        const char* what;
        std::string picked;
        std::string message;
    } failures[] = {
        {"wrong extension", File("notes.txt"), "Unknown picture file extension (.txt)."},
        {"deleted file", File("gone.bmp"), "Cannot open file " + File("gone.bmp") + "."},
    };
    for (const auto& f : failures) {
        SCOPED_TRACE(f.what);
        options.ChooseFile(options.DisplayGroup(), "Bit Map to Display", f.picked);
        if (f.picked == File("gone.bmp"))
            DeleteFileA(f.picked.c_str());
        ui::Bitmap fallback = preview(f.message);
        EXPECT_EQ(fallback.Pixel(0, 0), 0x000000u);
        EXPECT_EQ(fallback.Pixel(31, 31), 0x000000u);
        EXPECT_EQ(fallback.Pixel(33, 33), faceRgb);
        EXPECT_EQ(fallback.Pixel(426, 246), faceRgb);
    }
    options.Press("Cancel");
    EXPECT_TRUE(options.Ended());
}

TEST_F(OptionsTest, TheAboutBoxShowsNameVersionAndMaker) {
    OptionsDialog options;
    ASSERT_NE(options.Window(), nullptr);
    for (WORD key : {WORD(VK_RETURN), WORD(VK_ESCAPE), WORD(0)}) {
        SCOPED_TRACE(key == VK_RETURN ? "Enter" : key == VK_ESCAPE ? "Esc" : "OK button");
        options.Press("About");
        HWND about = ui::WaitForWindow("TQuillAboutDlg", "About Quillo Screen Saver 97",
                                       options.Id(), 10000);
        ASSERT_NE(about, nullptr);
        RECT client;
        GetClientRect(about, &client);
        EXPECT_EQ(client.right, 388);
        EXPECT_EQ(client.bottom, 210);
        for (const char* text :
             {"Quillo Screen Saver 97", "Version 2.1", "Copyright \xA9 1997", "Korvane Software"})
            EXPECT_NE(ui::FindChild(about, "Static", text), nullptr) << text;
        EXPECT_FALSE(IsWindowEnabled(options.Window())) << "shown modally";
        if (key)
            ui::PressKey(key);
        else
            PostMessageA(ui::FindChild(about, "Button", "OK"), BM_CLICK, 0, 0);
        EXPECT_TRUE(ui::WaitUntilGone(about, 10000));
        ui::Pump(100);
        EXPECT_TRUE(IsWindowEnabled(options.Window()));
    }
    options.Press("Cancel");
    EXPECT_TRUE(options.Ended());
}

} // namespace
