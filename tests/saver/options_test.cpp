// The options dialog driven from outside, as a user does: "quillsav.scr /c" and its windows.
#include "../framework/mediafiles.h"
#include "optionsdialog.h"
#include "setupdlg.h"
#include "writerecorder.h"
#include "saverfixture.h"
#include "sysutils.h"

#include <commctrl.h>
#include <dlgs.h>

#include <functional>

#include <algorithm>
#include <map>
#include <thread>

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

// The writes among them that are settings of the saver, in their order.
std::vector<std::string> SettingsWrites(const std::vector<std::string>& names) {
    static const std::vector<std::string> known = {
        "Text One",   "Text Two",     "Text Three", "Speed Factor", "Sound Sw", "Text Sw",
        "Picture Sw", "Once Only Sw", "Sound File", "Picture File", "Italic",   "Bold",
        "Underline",  "Strikeout",    "Font Name",  "Font Size"};
    std::vector<std::string> writes;
    for (const std::string& name : names)
        if (std::find(known.begin(), known.end(), name) != known.end())
            writes.push_back(name);
    return writes;
}

// A dialog-style window: fixed frame, no minimise or maximise box, centred on the screen.
void ExpectDialogFrame(HWND window) {
    LONG style = GetWindowLongA(window, GWL_STYLE);
    EXPECT_EQ(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0) << std::hex << style;
    EXPECT_NE(style & WS_CAPTION, 0);
    RECT frame;
    GetWindowRect(window, &frame);
    EXPECT_NEAR((frame.left + frame.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
    EXPECT_NEAR((frame.top + frame.bottom) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 1);
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

// Opens the font dialog with the Font button and confirms DejaVu Sans, bold italic, 14 points.
void ConfirmFont(OptionsDialog& options) {
    options.Press("Font");
    HWND fonts = ui::WaitForWindow("#32770", "Font", options.Id(), 10000);
    ASSERT_NE(fonts, nullptr);
    // Each choice is selected in its list as a click does, and the dialog is told.
    auto select = [&](int id, const char* text) {
        HWND combo = GetDlgItem(fonts, id);
        LRESULT at = SendMessageA(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                  reinterpret_cast<LPARAM>(text));
        ASSERT_NE(at, CB_ERR) << text;
        SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(at), 0);
        SendMessageA(fonts, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(combo));
    };
    select(cmb1, "DejaVu Sans");
    select(cmb2, "Bold Italic");
    select(cmb3, "14");
    PostMessageA(GetDlgItem(fonts, IDOK), BM_CLICK, 0, 0);
    ASSERT_TRUE(ui::WaitUntilGone(fonts, 10000));
    ui::Pump(200);
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
    ExpectDialogFrame(options.Window());
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

TEST_F(OptionsTest, AReadThatFailsStopsTheLoadingAndTheDialogStillOpens) {
    Store("Text One", "loaded");
    Store("Text Three", "third");
    Store("Sound Sw", "1");
    reg::WriteDword(HKEY_LOCAL_MACHINE, SettingsKey, "Text Sw", 1);
    Store("Picture Sw", "0");
    Store("Once Only Sw", "0");
    Store("Speed Factor", "2");
    ui::MessageBoxInfo box;
    bool dialogHidden = false;
    OptionsDialog options([&](DWORD id) {
        if (!ui::WaitForMessageBox(id, 10000, box))
            return;
        dialogHidden = ui::NoWindowFor("TConfigureForm", id, 0);
        ui::PressButton(box.Window, "OK");
    });
    EXPECT_TRUE(dialogHidden) << "the error comes before the dialog shows";
    EXPECT_EQ(box.Text, "Invalid data type for 'Text Sw'.");
    EXPECT_EQ(box.Kind, ui::Icon::Stop);
    EXPECT_EQ(box.Caption, "Quillo Screen Saver 97");
    ASSERT_NE(options.Window(), nullptr);
    // Loaded before the failure.
    EXPECT_EQ(options.Text(0), "loaded");
    EXPECT_EQ(options.Text(2), "third");
    EXPECT_TRUE(options.Checked("On / Off", options.SoundGroup()));
    // Not loaded: as the dialog was made.
    EXPECT_TRUE(options.Checked("Text On / Off", options.DisplayGroup()));
    EXPECT_TRUE(options.Checked("Picture  On / Off", options.DisplayGroup()));
    EXPECT_TRUE(options.Checked("One Time Only", options.SoundGroup()));
    EXPECT_FALSE(options.Checked("Repeat Play", options.SoundGroup()));
    EXPECT_EQ(options.Speed(), 10);
    options.Press("Cancel");
    EXPECT_TRUE(options.Ended());
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
    WriteRecorder writes(options.Id());
    ASSERT_TRUE(writes.Attached());
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
    EXPECT_EQ(SettingsWrites(writes.Names()),
              (std::vector<std::string>{"Text One", "Text Two", "Text Three", "Speed Factor",
                                        "Sound Sw", "Text Sw", "Picture Sw", "Once Only Sw",
                                        "Sound File", "Picture File"}))
        << "OK writes in this order";
}

TEST_F(OptionsTest, AConfirmedFontIsStoredAtOnceAndStaysAfterCancel) {
    OptionsDialog options;
    ASSERT_NE(options.Window(), nullptr);
    WriteRecorder writes(options.Id());
    ASSERT_TRUE(writes.Attached());
    ConfirmFont(options);
    EXPECT_EQ(StoredValues(), (Values{{"Italic", "1"},
                                      {"Bold", "1"},
                                      {"Underline", "0"},
                                      {"Strikeout", "0"},
                                      {"Font Name", "DejaVu Sans"},
                                      {"Font Size", "14"}}))
        << "stored before OK or Cancel";
    EXPECT_EQ(SettingsWrites(writes.Names()),
              (std::vector<std::string>{"Italic", "Bold", "Underline", "Strikeout", "Font Name",
                                        "Font Size"}));

    // The next run starts from the confirmed font.
    options.Press("Font");
    HWND fonts = ui::WaitForWindow("#32770", "Font", options.Id(), 10000);
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

TEST_F(FailingStoreTest, AConfirmedFontShowsTheErrorAndStoresNoFontValue) {
    OptionsDialog options;
    ASSERT_NE(options.Window(), nullptr);
    WriteRecorder writes(options.Id());
    ASSERT_TRUE(writes.Attached());
    ConfirmFont(options);
    ui::MessageBoxInfo box = ui::AnswerMessageBox(options.Id(), 10000);
    EXPECT_EQ(box.Text, "Failed to create key " + SettingsKey + ".");
    EXPECT_EQ(box.Kind, ui::Icon::Stop);
    EXPECT_FALSE(reg::KeyExists(HKEY_LOCAL_MACHINE, SettingsKey));
    EXPECT_EQ(SettingsWrites(writes.Names()), std::vector<std::string>{})
        << "the first write failed, the later ones were not tried";
    EXPECT_TRUE(options.Program().Running());
    options.Press("Cancel");
    EXPECT_TRUE(options.Ended());
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
        ExpectDialogFrame(preview);
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
        ExpectDialogFrame(about);
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

TEST_F(OptionsTest, ButtonsWithAHintShowItUnderTheRestingMouse) {
    OptionsDialog options;
    ASSERT_NE(options.Window(), nullptr);
    const struct {
        const char* button;
        bool inSound;
        bool inDisplay;
        const char* hint;
    } cases[] = {
        {"Choose...", true, false, "Choose a Sound File"},
        {"Preview", true, false, "Preview a Sound File"},
        {"Choose...", false, true, "Choose a Picture File"},
        {"Preview", false, true, "Preview a Picture File"},
        {"Font", false, false, "Choose Text Font"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.hint);
        HWND group = c.inSound     ? options.SoundGroup()
                     : c.inDisplay ? options.DisplayGroup()
                                   : nullptr;
        RECT area;
        GetWindowRect(options.Control(c.button, group), &area);
        ui::MoveMouse(area.left + 5, area.top + 5);
        ui::Pump(50);
        ui::MoveMouse(area.left + 8, area.top + 8);
        HWND tip = ui::WaitForWindow(TOOLTIPS_CLASSA, c.hint, options.Id(), 5000);
        EXPECT_NE(tip, nullptr);
        ui::MoveMouse(790, 590);
        ui::Pump(300);
    }
    // OK has none.
    RECT ok;
    GetWindowRect(options.Control("OK"), &ok);
    ui::MoveMouse(ok.left + 5, ok.top + 5);
    ui::Pump(50);
    ui::MoveMouse(ok.left + 8, ok.top + 8);
    ui::Pump(1500);
    HWND tip = ui::WaitForWindow(TOOLTIPS_CLASSA, "", options.Id(), 0);
    EXPECT_TRUE(tip == nullptr || ui::TextOf(tip).empty()) << ui::TextOf(tip);
}

TEST_F(OptionsTest, HelpOpensTheHelpViewer) {
    OptionsDialog options;
    ASSERT_NE(options.Window(), nullptr);
    options.Press("Help");
    // The viewer is a program of its own: a window of another process shows up.
    HWND viewer = nullptr;
    DWORD start = GetTickCount();
    while (!viewer && GetTickCount() - start < 10000) {
        ui::Pump(20);
        for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
            DWORD id = ui::ProcessOf(w);
            if (IsWindowVisible(w) && id != options.Id() && id != GetCurrentProcessId() &&
                w != GetDesktopWindow() && !ui::TextOf(w).empty() &&
                ui::ClassOf(w) != "Shell_TrayWnd") {
                viewer = w;
                break;
            }
        }
    }
    ASSERT_NE(viewer, nullptr) << "no help viewer window";
    DWORD viewerId = ui::ProcessOf(viewer);
    HANDLE query = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, viewerId);
    char image[MAX_PATH] = "";
    DWORD size = sizeof image;
    using QueryName = BOOL(WINAPI*)(HANDLE, DWORD, LPSTR, PDWORD);
    auto queryName = reinterpret_cast<QueryName>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "QueryFullProcessImageNameA")));
    ASSERT_NE(queryName, nullptr);
    queryName(query, 0, image, &size);
    CloseHandle(query);
    EXPECT_NE(LowerCase(image).find("winhlp32"), std::string::npos)
        << image << ": '" << ui::TextOf(viewer) << "'";
    // The viewer was started for this test: end it by its id.
    HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, viewerId);
    ASSERT_NE(process, nullptr);
    TerminateProcess(process, 0);
    WaitForSingleObject(process, 5000);
    CloseHandle(process);
    EXPECT_TRUE(options.Program().Running());
    options.Press("Cancel");
    EXPECT_TRUE(options.Ended());
}

// The dialog made in this process, to look at its media player while the preview plays.
class SoundPreviewTest : public OptionsTest {
protected:
    void SetUp() override {
        OptionsTest::SetUp();
        form_.reset(new TConfigureForm(nullptr));
        form_->AfterConstruction();
        form_->Show();
        ui::Pump(100);
    }
    void TearDown() override { form_.reset(); }

    // Picks a file in the dialog's sound chooser, answered from another thread.
    void PickSound(const std::string& path) {
        std::thread answer([&] {
            HWND picker =
                ui::WaitForWindow("#32770", "Sound to Play", GetCurrentProcessId(), 10000);
            if (picker)
                ui::AnswerOpenDialog(picker, path);
        });
        form_->ChooseSoundBtn.Click();
        answer.join();
    }
    DWORD Status(DWORD item) {
        MCI_STATUS_PARMS parms{};
        parms.dwItem = item;
        mciSendCommandA(form_->SoundPrevPlayer.DeviceID(), MCI_STATUS, MCI_STATUS_ITEM | MCI_WAIT,
                        reinterpret_cast<DWORD_PTR>(&parms));
        return static_cast<DWORD>(parms.dwReturn);
    }
    // Lets the dialog run until the sound has played past a point (milliseconds).
    bool PlayedPast(DWORD position) {
        DWORD start = GetTickCount();
        while (Status(MCI_STATUS_POSITION) <= position) {
            if (GetTickCount() - start > 10000)
                return false;
            ui::Pump(20);
        }
        return true;
    }

    TFormPtr<TConfigureForm> form_;
};

TEST_F(SoundPreviewTest, PlaysThePickedSoundAndRestartsItOnASecondPress) {
    media::WriteFile(File("long.wav"), media::WaveFile(4000));
    PickSound(File("long.wav"));
    EXPECT_EQ(LowerCase(form_->NewSoundFile), LowerCase(File("long.wav")));
    form_->PrevSoundBtn.Click();
    ASSERT_TRUE(form_->SoundPrevPlayer.IsOpen());
    EXPECT_EQ(Status(MCI_STATUS_MODE), static_cast<DWORD>(MCI_MODE_PLAY)) << "plays on";
    ASSERT_TRUE(PlayedPast(1000));

    form_->PrevSoundBtn.Click();
    ASSERT_TRUE(form_->SoundPrevPlayer.IsOpen());
    EXPECT_EQ(Status(MCI_STATUS_MODE), static_cast<DWORD>(MCI_MODE_PLAY));
    EXPECT_LT(Status(MCI_STATUS_POSITION), 1000u) << "from the beginning again";
    EXPECT_FALSE(reg::KeyExists(HKEY_LOCAL_MACHINE, SettingsKey)) << "a preview stores nothing";
}

} // namespace
