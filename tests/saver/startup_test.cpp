#include "saverfixture.h"

namespace {

class SaverStartupTest : public SaverSettingsTest {};

TEST_F(SaverStartupTest, AnUnusableSettingStopsTheStartWithItsMessage) {
    const struct {
        const char* what;
        bool dword;
        const char* value;
        const char* text;
    } cases[] = {
        {"speed as a DWORD", true, "Speed Factor", "Invalid data type for 'Speed Factor'."},
        {"empty font size", false, "", "'' is not a valid integer value."},
        {"font size 12pt", false, "12pt", "'12pt' is not a valid integer value."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        reg::DeleteTree(HKEY_LOCAL_MACHINE, SettingsKey);
        if (c.dword)
            reg::WriteDword(HKEY_LOCAL_MACHINE, SettingsKey, "Speed Factor", 5);
        else
            Store("Font Size", c.value);
        ui::Process saver = ui::Process::Start(Saver(), "/s");
        ui::MessageBoxInfo box = ui::AnswerMessageBox(saver.Id(), 10000);
        EXPECT_EQ(box.Caption, "Quillo Screen Saver 97");
        EXPECT_EQ(box.Text, c.text);
        EXPECT_EQ(box.Kind, ui::Icon::Stop);
        EXPECT_EQ(box.Buttons, std::vector<std::string>{"OK"});
        EXPECT_EQ(saver.Wait(10000), 0);
        EXPECT_TRUE(ui::NoWindowFor("TQuilloScreenForm", saver.Id(), 0));
    }
}

TEST_F(SaverStartupTest, WithTextOffAnInvalidFontSizeDoesNotMatter) {
    Store("Text Sw", "0");
    Store("Font Size", "12pt");
    ui::Process saver = ui::Process::Start(Saver(), "/s");
    HWND screen = ui::WaitForWindow("TQuilloScreenForm", "", saver.Id(), 10000);
    ASSERT_NE(screen, nullptr);
    EXPECT_TRUE(ui::NoWindowFor("#32770", saver.Id(), 300));
    PostMessageA(screen, WM_CLOSE, 0, 0);
    EXPECT_EQ(saver.Wait(10000), 0);
}

} // namespace
