#include "runmode.h"
#include "saverfixture.h"

namespace {

const struct {
    const char* tail;
    TRunMode mode;
} kModes[] = {
    {"/c", TRunMode::Options},      {"-c", TRunMode::Options},    {"/c:1234", TRunMode::Options},
    {"/c 1234", TRunMode::Options}, {"/s /c", TRunMode::Options}, {"/c /s", TRunMode::Options},
    {"x/cx", TRunMode::Options},    {"/s", TRunMode::Saver},      {",s", TRunMode::Saver},
    {"a,sb", TRunMode::Saver},      {"-s", TRunMode::None},       {"/S", TRunMode::None},
    {"/C", TRunMode::None},         {"/p 1234", TRunMode::None},  {"/a 1234", TRunMode::None},
    {"", TRunMode::None},
};

TEST(RunMode, IsFoundAnywhereInTheTailCaseSensitively) {
    for (const auto& c : kModes)
        EXPECT_EQ(SelectRunMode(c.tail), c.mode) << "'" << c.tail << "'";
    EXPECT_EQ(SelectRunMode(nullptr), TRunMode::None);
}

class RunModeProcessTest : public SaverSettingsTest {};

// Each tail started for real: the mode's one window, or none, and exit code 0.
TEST_F(RunModeProcessTest, EachStartOpensItsWindowOrNone) {
    for (const auto& c : kModes) {
        SCOPED_TRACE(std::string("tail '") + c.tail + "'");
        ui::Process program = ui::Process::Start(Saver(), c.tail);
        ASSERT_NE(program.Id(), 0u);
        if (c.mode == TRunMode::None) {
            EXPECT_EQ(program.Wait(10000), 0);
            EXPECT_TRUE(ui::NoWindowFor("", program.Id(), 0));
            continue;
        }
        const char* expected = c.mode == TRunMode::Options ? "TConfigureForm" : "TQuilloScreenForm";
        const char* other = c.mode == TRunMode::Options ? "TQuilloScreenForm" : "TConfigureForm";
        HWND window = ui::WaitForWindow(expected, "", program.Id(), 10000);
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(GetParent(window), nullptr) << "a top-level window of its own";
        EXPECT_TRUE(ui::NoWindowFor(other, program.Id(), 0));
        PostMessageA(window, WM_CLOSE, 0, 0);
        EXPECT_EQ(program.Wait(10000), 0);
    }
}

TEST_F(RunModeProcessTest, ASecondOptionsStartSaysTheDialogIsOpen) {
    ui::Process first = ui::Process::Start(Saver(), "/c");
    HWND dialog = ui::WaitForWindow("TConfigureForm", "", first.Id(), 10000);
    ASSERT_NE(dialog, nullptr);

    ui::Process second = ui::Process::Start(Saver(), "/c:5678");
    ui::MessageBoxInfo box = ui::AnswerMessageBox(second.Id(), 10000);
    EXPECT_EQ(box.Caption, "quillsav") << "the title is still the one from the file name";
    EXPECT_EQ(box.Text, "The Quillo Screen Saver Options dialog is already open.  Press ALT + "
                        "TAB to get back to it.");
    EXPECT_EQ(box.Kind, ui::Icon::None);
    EXPECT_EQ(second.Wait(10000), 0);
    EXPECT_TRUE(ui::NoWindowFor("TConfigureForm", second.Id(), 0));

    EXPECT_TRUE(IsWindow(dialog)) << "the first dialog is unaffected";
    EXPECT_TRUE(first.Running());
    PostMessageA(dialog, WM_CLOSE, 0, 0);
    EXPECT_EQ(first.Wait(10000), 0);

    // Once the first dialog has ended, the options open again.
    ui::Process third = ui::Process::Start(Saver(), "/c");
    HWND again = ui::WaitForWindow("TConfigureForm", "", third.Id(), 10000);
    ASSERT_NE(again, nullptr);
    PostMessageA(again, WM_CLOSE, 0, 0);
    EXPECT_EQ(third.Wait(10000), 0);
}

TEST_F(RunModeProcessTest, ASecondSaverEndsAtOnceAndLeavesTheFirstAlone) {
    ui::Process first = ui::Process::Start(Saver(), "/s");
    HWND screen = ui::WaitForWindow("TQuilloScreenForm", "", first.Id(), 10000);
    ASSERT_NE(screen, nullptr);

    ui::Process second = ui::Process::Start(Saver(), "/s");
    EXPECT_EQ(second.Wait(10000), 0);
    EXPECT_TRUE(ui::NoWindowFor("", second.Id(), 0));
    EXPECT_TRUE(IsWindow(screen));
    EXPECT_TRUE(IsWindowVisible(screen));
    EXPECT_TRUE(first.Running());
    PostMessageA(screen, WM_CLOSE, 0, 0);
    EXPECT_EQ(first.Wait(10000), 0);
}

} // namespace
