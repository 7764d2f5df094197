// The saver's screen as the user sees it, and every way of ending it: the real program,
// started with /s and driven from outside.
#include "graphics.h"
#include "mediafiles.h"
#include "mplayer.h"
#include "random.h"
#include "saverfixture.h"
#include "sysutils.h"

#include <ctime>
#include <functional>

namespace {

const unsigned kBlack = 0x000000;
const unsigned kWhite = 0xFFFFFF;

// The spot a paint in that second uses on a screen of that size.
POINT SpotOf(std::time_t second, int width, int height) {
    SetRandSeed(static_cast<std::uint32_t>(second));
    int x = Random((width + 1) / 2);
    int y = Random((height + 1) / 2);
    return POINT{x, y};
}

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

std::string Describe(const RECT& r) {
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" +
           std::to_string(r.right) + "," + std::to_string(r.bottom) + ")";
}

// Sets the size of the virtual desktop for one test; Wine resizes its desktop window.
class ScreenSize {
public:
    ScreenSize(int width, int height) {
        DEVMODEA mode{};
        mode.dmSize = sizeof mode;
        mode.dmPelsWidth = static_cast<DWORD>(width);
        mode.dmPelsHeight = static_cast<DWORD>(height);
        mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
        changed_ = ChangeDisplaySettingsExA(nullptr, &mode, nullptr, CDS_FULLSCREEN, nullptr) ==
                   DISP_CHANGE_SUCCESSFUL;
    }
    ScreenSize(const ScreenSize&) = delete;
    ScreenSize& operator=(const ScreenSize&) = delete;
    ~ScreenSize() { ChangeDisplaySettingsExA(nullptr, nullptr, nullptr, 0, nullptr); }
    bool Changed() const { return changed_; }

private:
    bool changed_ = false;
};

// The saver started with /s under a resting mouse, its screen up.
class ScreenTest : public SaverSettingsTest {
protected:
    void TearDown() override { Stop(); }

    void RestMouse() {
        POINT at = ui::CursorPos();
        if (at.x != rest_.x || at.y != rest_.y) {
            // Wine reports a move late at times: let it come before the saver notes the start.
            ui::MoveMouse(rest_.x, rest_.y);
            ui::Pump(300);
        }
    }
    void Start() {
        RestMouse();
        started_ = std::time(nullptr);
        saver_ = ui::Process::Start(Saver(), "/s");
        screen_ = ui::WaitForWindow("TQuilloScreenForm", "", saver_.Id(), 10000);
        ASSERT_NE(screen_, nullptr) << "no saver screen; still running: " << saver_.Running();
        // Painted and settled on the desktop before anything is done to it.
        RedrawWindow(screen_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        ui::Pump(200);
    }
    // Ends a saver that still runs, and lets the desktop settle before the next start.
    void Stop() {
        if (saver_.Running()) {
            PostMessageA(screen_, WM_CLOSE, 0, 0);
            saver_.Wait(5000);
        }
        ui::Pump(400);
    }
    // Repaints the screen at once and reads it back, once it shows the same twice.
    ui::Bitmap Painted() {
        RedrawWindow(screen_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        ui::Bitmap shown = ui::CaptureScreen();
        for (int i = 0; i < 20; ++i) {
            ui::Pump(50);
            ui::Bitmap again = ui::CaptureScreen();
            if (SameRect(shown.BoundsOfOther(kBlack), again.BoundsOfOther(kBlack)))
                return again;
            shown = again;
        }
        return shown;
    }
    // One tick of the saver's timer, handled before this returns; then the repaint.
    ui::Bitmap AfterTick() {
        HWND window = nullptr;
        while ((window = FindWindowExA(HWND_MESSAGE, window, "TPUtilWindow", nullptr)))
            if (ui::ProcessOf(window) == saver_.Id())
                SendMessageA(window, WM_TIMER, 1, 0);
        return Painted();
    }
    // True when a shape of that size lies at the spot of a second from the start until now.
    bool AtASpotSinceTheStart(const RECT& shape) {
        for (std::time_t t = started_; t <= std::time(nullptr); ++t) {
            POINT spot = SpotOf(t, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
            if (spot.x == shape.left && spot.y == shape.top)
                return true;
        }
        return false;
    }
    void ExpectRunning() { EXPECT_EQ(saver_.Wait(300), -1) << "the saver ended"; }
    void ExpectEnded() { EXPECT_EQ(saver_.Wait(5000), 0) << "the saver did not end with 0"; }

    ui::Process saver_;
    HWND screen_ = nullptr;
    std::time_t started_ = 0;
    POINT rest_{400, 300};
};

class ScreenTextTest : public ScreenTest {};

TEST_F(ScreenTextTest, TheBoxHoldsTheWidestLineAndItsRowsAtTheSpotOfTheSecond) {
    const struct {
        const char* what;
        const char* one;
        const char* two;
        const char* three;
        int rows; // 0: nothing drawn
    } lines[] = {
        {"only line 1", "QUILLO: Your Message Here!", "", "", 1},
        {"three lines, the middle one widest", "short", "a much longer second line", "mid", 3},
        {"line 2 empty: line 3 moves up", "first line", "", "the third line, moved up", 2},
        {"line 1 empty: nothing at all", "", "second", "third", 0},
    };
    const SIZE screens[] = {{800, 600}, {640, 480}};
    for (const SIZE& screen : screens) {
        ScreenSize size(screen.cx, screen.cy);
        ASSERT_TRUE(size.Changed()) << screen.cx << "x" << screen.cy;
        rest_ = POINT{screen.cx - 5, screen.cy - 5};
        for (const auto& c : lines) {
            SCOPED_TRACE(testing::Message() << screen.cx << "x" << screen.cy << ", " << c.what);
            reg::DeleteTree(HKEY_LOCAL_MACHINE, SettingsKey);
            Store("Text One", c.one);
            Store("Text Two", c.two);
            Store("Text Three", c.three);
            Start();
            RECT window;
            GetWindowRect(screen_, &window);
            EXPECT_EQ(Describe(window), Describe(RECT{0, 0, screen.cx, screen.cy}));
            ui::Bitmap shown = Painted();
            ASSERT_EQ(shown.Width(), screen.cx);
            ASSERT_EQ(shown.Height(), screen.cy);
            RECT box = shown.BoundsOfOther(kBlack);
            if (c.rows == 0) {
                EXPECT_EQ(Describe(box), Describe(RECT{0, 0, 0, 0})) << "the screen is not black";
            } else {
                TCanvas measure;
                measure.Font.Name = "System";
                measure.Font.Size = 10;
                int width = 0;
                for (const char* line : {c.one, c.two, c.three})
                    width = std::max(width, *line ? measure.TextWidth(line) : 0);
                int height = measure.TextHeight(c.one);
                EXPECT_EQ(box.right - box.left, width);
                EXPECT_EQ(box.bottom - box.top, c.rows * height);
                EXPECT_LT(box.left, (screen.cx + 1) / 2);
                EXPECT_LT(box.top, (screen.cy + 1) / 2);
                EXPECT_TRUE(AtASpotSinceTheStart(box)) << "box at " << Describe(box);
                // Every row of the box holds text.
                for (int row = 0; row < c.rows; ++row) {
                    RECT band{box.left, box.top + row * height, box.right,
                              box.top + (row + 1) * height};
                    int area = (band.right - band.left) * height;
                    EXPECT_LT(shown.Count(kWhite, band), area) << "row " << row << " is empty";
                }
            }
            Stop();
        }
    }
}

// A user's action, done to the running saver (and undone after, where it holds a key).
struct Action {
    const char* what;
    std::function<void()> before; // done before the saver starts
    std::function<void()> act;
    std::function<void()> after;
};

class ScreenEndingTest : public ScreenTest {};

TEST_F(ScreenEndingTest, MovesWithinTenPixelsKeepItRunningElevenEnd) {
    const struct {
        int dx, dy;
        bool ends;
    } cases[] = {{10, 10, false}, {-10, -10, false}, {10, -10, false}, {-10, 10, false},
                 {11, 0, true},   {0, 11, true},     {-11, 0, true},   {0, -11, true}};
    RestMouse();
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "move by " << c.dx << "," << c.dy);
        rest_ = ui::CursorPos(); // no move between the cases, so no late report of one
        Start();
        ui::MoveMouse(rest_.x + c.dx, rest_.y + c.dy);
        if (c.ends)
            ExpectEnded();
        else
            ExpectRunning();
        Stop();
    }
}

TEST_F(ScreenEndingTest, KeysButtonsAndAnotherWindowEndTheSaverWithZero) {
    HWND other = nullptr;
    const Action actions[] = {
        {"Shift pressed", nullptr, [] { ui::KeyDown(VK_SHIFT); }, [] { ui::KeyUp(VK_SHIFT); }},
        {"a key held from before released", [] { ui::KeyDown('Q'); }, [] { ui::KeyUp('Q'); },
         nullptr},
        {"a letter typed", nullptr, [] { ui::PressKey('A'); }, nullptr},
        {"Alt pressed", nullptr, [] { ui::KeyDown(VK_MENU); }, [] { ui::KeyUp(VK_MENU); }},
        {"Alt released", [] { ui::KeyDown(VK_MENU); }, [] { ui::KeyUp(VK_MENU); }, nullptr},
        {"F10", nullptr, [] { ui::PressKey(VK_F10); }, nullptr},
        {"left click", nullptr, [] { ui::MouseButton(MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP); },
         nullptr},
        {"right button", nullptr, [] { ui::MouseButton(MOUSEEVENTF_RIGHTDOWN, 0); },
         [] { ui::MouseButton(MOUSEEVENTF_RIGHTUP, 0); }},
        {"middle button", nullptr, [] { ui::MouseButton(MOUSEEVENTF_MIDDLEDOWN, 0); },
         [] { ui::MouseButton(MOUSEEVENTF_MIDDLEUP, 0); }},
        {"another window comes to the front", nullptr,
         [&other] {
             other = CreateWindowExA(WS_EX_TOPMOST, "STATIC", "other", WS_POPUP | WS_VISIBLE, 0, 0,
                                     100, 100, nullptr, nullptr, nullptr, nullptr);
             SetForegroundWindow(other);
             ui::Pump(100);
         },
         [&other] { DestroyWindow(other); }},
    };
    for (const Action& a : actions) {
        SCOPED_TRACE(a.what);
        if (a.before)
            a.before();
        Start();
        Painted();
        a.act();
        ExpectEnded();
        if (a.after)
            a.after();
        Stop();
    }
}

TEST_F(ScreenEndingTest, TheMessageMapClosesOnItsConditionsOnly) {
    const struct {
        const char* what;
        UINT msg;
        WPARAM wParam;
        bool ends;
    } cases[] = {
        {"deactivated", WM_ACTIVATE, WA_INACTIVE, true},
        {"activated", WM_ACTIVATE, WA_ACTIVE, false},
        {"application deactivated", WM_ACTIVATEAPP, 0, true},
        {"application activated", WM_ACTIVATEAPP, 1, false},
        {"frame drawn inactive", WM_NCACTIVATE, 0, true},
        {"frame drawn active", WM_NCACTIVATE, 1, false},
        {"right button with its flag", WM_RBUTTONDOWN, MK_RBUTTON, true},
        {"right button without its flag", WM_RBUTTONDOWN, 0, false},
        {"middle button without flags", WM_MBUTTONDOWN, 0, true},
        {"key repeat", WM_KEYDOWN, VK_SPACE, true},
        {"another system command goes on to the default: close", WM_SYSCOMMAND, SC_CLOSE, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Start();
        Painted();
        PostMessageA(screen_, c.msg, c.wParam, c.msg == WM_KEYDOWN ? 0x40000001 : 0);
        if (c.ends)
            ExpectEnded();
        else
            ExpectRunning();
        Stop();
    }
}

TEST_F(ScreenEndingTest, ARequestForAScreenSaverIsAnsweredOneAndChangesNothing) {
    Start();
    ui::Bitmap before = Painted();
    DWORD_PTR answer = 0;
    ASSERT_TRUE(
        SendMessageTimeoutA(screen_, WM_SYSCOMMAND, SC_SCREENSAVE, 0, SMTO_BLOCK, 5000, &answer));
    EXPECT_EQ(answer, 1u);
    ExpectRunning();
    EXPECT_NE(ui::WaitForWindow("TQuilloScreenForm", "", saver_.Id(), 1000), nullptr);
}

class ScreenPictureTest : public ScreenTest {
protected:
    // A red and green bitmap file of that size in the test's folder.
    std::string Bitmap(int width, int height) {
        std::string path = ui::ScratchFolder("screen-picture") + "\\picture.bmp";
        media::WriteFile(path, media::QuarterBitmap(width, height, 1));
        return path;
    }
    static int Colored(const ui::Bitmap& shown) {
        RECT all{0, 0, shown.Width(), shown.Height()};
        return shown.Count(media::kRed, all) + shown.Count(media::kGreen, all);
    }
};

TEST_F(ScreenPictureTest, WithTextOffThePictureStaysVisibleAndMovesToTheSpot) {
    Store("Text Sw", "0");
    Store("Picture Sw", "1");
    Store("Picture File", Bitmap(40, 30));
    Start();
    for (int tick = 0; tick < 4; ++tick) {
        SCOPED_TRACE(testing::Message() << "tick " << tick);
        ui::Bitmap shown = tick == 0 ? Painted() : AfterTick();
        RECT picture = shown.BoundsOfOther(kBlack);
        EXPECT_EQ(picture.right - picture.left, 40);
        EXPECT_EQ(picture.bottom - picture.top, 30);
        EXPECT_EQ(Colored(shown), 40 * 30);
        EXPECT_TRUE(AtASpotSinceTheStart(picture)) << "picture at " << Describe(picture);
    }
}

TEST_F(ScreenPictureTest, APictureThatDoesNotFitGoesToTheTopLeftCorner) {
    Store("Text Sw", "0");
    Store("Picture Sw", "1");
    Store("Picture File", Bitmap(801, 120));
    Start();
    ui::Bitmap shown = Painted();
    EXPECT_EQ(Describe(shown.BoundsOfOther(kBlack)), Describe(RECT{0, 0, 800, 120}));
}

TEST_F(ScreenPictureTest, EachKindOfPictureErrorIsShownAndTheScreenStaysBlack) {
    std::string folder = ui::ScratchFolder("screen-picture-errors");
    auto file = [&](const std::string& name, const media::Bytes& bytes) {
        media::WriteFile(folder + "\\" + name, bytes);
        return folder + "\\" + name;
    };
    const media::Bytes junk{'n', 'o', ' ', 'p', 'i', 'c', 't', 'u', 'r', 'e'};
    const struct {
        std::string path;
        std::string text;
    } cases[] = {
        {folder + "\\missing.bmp", "Cannot open file " + folder + "\\missing.bmp."},
        {file("notes.txt", junk), "Unknown picture file extension (.txt)."},
        {file("bad.bmp", junk), "Bitmap image is not valid."},
        {file("bad.ico", junk), "Icon image is not valid."},
        {file("bad.wmf", junk), "Metafile is not valid."},
        {file("bad.emf", junk), "Metafile is not valid."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        reg::DeleteTree(HKEY_LOCAL_MACHINE, SettingsKey);
        Store("Text Sw", "0");
        Store("Picture Sw", "1");
        Store("Picture File", c.path);
        RestMouse();
        saver_ = ui::Process::Start(Saver(), "/s");
        ui::MessageBoxInfo box;
        ASSERT_TRUE(ui::WaitForMessageBox(saver_.Id(), 10000, box));
        EXPECT_TRUE(ui::NoWindowFor("TQuilloScreenForm", saver_.Id(), 0)) << "screen before box";
        EXPECT_EQ(box.Caption, "Quillo Screen Saver 97");
        EXPECT_EQ(box.Text, c.text);
        EXPECT_EQ(box.Kind, ui::Icon::Stop);
        ui::PressButton(box.Window, "OK");
        screen_ = ui::WaitForWindow("TQuilloScreenForm", "", saver_.Id(), 10000);
        ASSERT_NE(screen_, nullptr);
        EXPECT_EQ(Describe(Painted().BoundsOfOther(kBlack)), Describe(RECT{0, 0, 0, 0}));
        ExpectRunning();
        Stop();
    }
}

TEST_F(ScreenPictureTest, ASoundThatCannotOpenIsShownFirstAndThenNoPictureComes) {
    std::string folder = ui::ScratchFolder("screen-sound-error");
    std::string sound = folder + "\\missing.wav";
    std::string expected;
    TMediaPlayer probe;
    probe.FileName = sound;
    try {
        probe.Open();
    } catch (const Exception& error) {
        expected = WithFullStop(error.Message());
    }
    ASSERT_FALSE(expected.empty());
    Store("Sound Sw", "1");
    Store("Sound File", sound);
    Store("Text Sw", "0");
    Store("Picture Sw", "1");
    Store("Picture File", Bitmap(40, 30));
    RestMouse();
    saver_ = ui::Process::Start(Saver(), "/s");
    ui::MessageBoxInfo box;
    ASSERT_TRUE(ui::WaitForMessageBox(saver_.Id(), 10000, box));
    EXPECT_TRUE(ui::NoWindowFor("TQuilloScreenForm", saver_.Id(), 0)) << "screen before box";
    EXPECT_EQ(box.Caption, "Quillo Screen Saver 97");
    EXPECT_EQ(box.Text, expected);
    EXPECT_EQ(box.Kind, ui::Icon::Stop);
    ui::PressButton(box.Window, "OK");
    screen_ = ui::WaitForWindow("TQuilloScreenForm", "", saver_.Id(), 10000);
    ASSERT_NE(screen_, nullptr);
    EXPECT_EQ(Describe(Painted().BoundsOfOther(kBlack)), Describe(RECT{0, 0, 0, 0}));
    EXPECT_EQ(Describe(AfterTick().BoundsOfOther(kBlack)), Describe(RECT{0, 0, 0, 0}));
    ExpectRunning();
}

} // namespace
