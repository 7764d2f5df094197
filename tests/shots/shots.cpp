// Screenshots for the README: each case sets up one screen and saves it as a BMP in the
// folder named by KORVANE_SHOTS_DIR. scripts/screenshots runs them and converts to PNG.
#include "../saver/optionsdialog.h"
#include "regguard.h"
#include "settings.h"
#include "uidriver.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

namespace {

std::string ShotPath(const std::string& name) {
    const char* folder = std::getenv("KORVANE_SHOTS_DIR");
    return std::string(folder ? folder : ".") + "\\" + name + ".bmp";
}

// Every shot starts from no settings and leaves the maker key as it found it.
class Shot : public ::testing::Test {
protected:
    void SetUp() override { reg::DeleteTree(HKEY_LOCAL_MACHINE, SettingsKey); }

    void Store(const std::vector<std::pair<std::string, std::string>>& values) {
        for (const auto& [name, text] : values)
            reg::WriteString(HKEY_LOCAL_MACHINE, SettingsKey, name, text);
    }
    // Saves what the screen shows now.
    void Save(const std::string& name) {
        ASSERT_TRUE(ui::CaptureScreen().Save(ShotPath(name))) << ShotPath(name);
    }
    // Saves one window, frame included (a dialog, a message box).
    void SaveWindow(const std::string& name, HWND window) {
        ASSERT_NE(window, nullptr) << name;
        ASSERT_TRUE(ui::CaptureWindow(window).Save(ShotPath(name))) << ShotPath(name);
    }
    // Paints a window and what is in it anew, and lets that finish.
    static void Repaint(HWND window) {
        RedrawWindow(window, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
        ui::Pump(300);
    }
    // Starts the saver under a resting mouse and waits until it has painted.
    ui::Process StartSaver() {
        ui::MoveMouse(790, 590);
        ui::Process saver = ui::Process::Start(ui::DistFile("quillsav.scr"), "/s");
        HWND screen = ui::WaitForWindow("TQuilloScreenForm", "", saver.Id(), 10000);
        EXPECT_NE(screen, nullptr);
        RedrawWindow(screen, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        ui::Pump(300);
        return saver;
    }

private:
    reg::KeyGuard guard_{HKEY_LOCAL_MACHINE, "SOFTWARE\\Korvane Software"};
};

TEST_F(Shot, SaverText) {
    Store({{"Text One", "QUILLO: Your Message Here!"},
           {"Text Two", "Back in five minutes"},
           {"Text Three", "Korvane Software"},
           {"Font Name", "Arial"},
           {"Font Size", "20"},
           {"Speed Factor", "10"}});
    ui::Process saver = StartSaver();
    ui::Pump(1300); // a few ticks, so that the text has a colour of the cycle
    Save("saver-text");
}

TEST_F(Shot, SaverPicture) {
    Store({{"Text Sw", "0"}, {"Picture Sw", "1"}, {"Picture File", ui::DistFile("athena.bmp")}});
    ui::Process saver = StartSaver();
    Save("saver-picture");
}

TEST_F(Shot, OptionsDialog) {
    Store({{"Text One", "QUILLO: Your Message Here!"},
           {"Text Two", "Back in five minutes"},
           {"Text Sw", "1"},
           {"Sound Sw", "1"},
           {"Speed Factor", "7"}});
    OptionsDialog options;
    ASSERT_NE(options.Window(), nullptr);
    ui::MoveMouse(790, 590);
    Repaint(options.Window());
    SaveWindow("options", options.Window());
}

TEST_F(Shot, PicturePreview) {
    // A picture of colour bands, 120 x 80.
    std::vector<unsigned> pixels;
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 120; ++x)
            pixels.push_back(y < 40 ? (x < 60 ? 0x3060C0u : 0xF0C020u)
                                    : (x < 60 ? 0x20A040u : 0xC03030u));
    std::string picture = ui::ScratchFolder("shots") + "\\bands.bmp";
    ASSERT_TRUE(ui::Bitmap::FromPixels(120, 80, pixels).Save(picture));
    OptionsDialog options;
    ASSERT_NE(options.Window(), nullptr);
    options.ChooseFile(options.DisplayGroup(), "Bit Map to Display", picture);
    options.Press("Preview", options.DisplayGroup());
    HWND preview = ui::WaitForWindow("TPicPreviewDlg1", "", options.Id(), 10000);
    ASSERT_NE(preview, nullptr);
    ui::MoveMouse(790, 590);
    Repaint(preview);
    SaveWindow("picture-preview", preview);
}

TEST_F(Shot, AboutBox) {
    OptionsDialog options;
    ASSERT_NE(options.Window(), nullptr);
    options.Press("About");
    HWND about = ui::WaitForWindow("TQuillAboutDlg", "", options.Id(), 10000);
    ASSERT_NE(about, nullptr);
    ui::MoveMouse(790, 590);
    Repaint(about);
    SaveWindow("about", about);
}

} // namespace
