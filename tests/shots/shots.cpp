// Screenshots for the README: each case sets up one screen and saves it as a BMP in the
// folder named by KORVANE_SHOTS_DIR. scripts/screenshots runs them and converts to PNG.
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

} // namespace
