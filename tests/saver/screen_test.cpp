// The saver's screen as the user sees it, and every way of ending it.
#include "random.h"
#include "saverfixture.h"

#include <ctime>

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

// The saver started with /s, its screen up and painted.
class ScreenTest : public SaverSettingsTest {
protected:
    void Start() {
        started_ = std::time(nullptr);
        saver_ = ui::Process::Start(Saver(), "/s");
        screen_ = ui::WaitForWindow("TQuilloScreenForm", "", saver_.Id(), 10000);
        ASSERT_NE(screen_, nullptr) << "running: " << saver_.Running();
    }
    // Repaints the screen at once and reads it back.
    ui::Bitmap Painted() {
        RedrawWindow(screen_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        ui::Pump(100);
        return ui::CaptureScreen();
    }
    // True when the box lies at the spot of a second from the start until now.
    bool AtASpotSinceTheStart(const RECT& box) {
        for (std::time_t t = started_; t <= std::time(nullptr); ++t) {
            POINT spot = SpotOf(t, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
            if (spot.x == box.left && spot.y == box.top)
                return true;
        }
        return false;
    }
    // Ends a saver that still runs, and lets the desktop settle before the next start.
    void Stop() {
        if (saver_.Running()) {
            PostMessageA(screen_, WM_CLOSE, 0, 0);
            saver_.Wait(5000);
        }
        ui::Pump(500);
    }
    void ExpectStillRunning() { EXPECT_EQ(saver_.Wait(300), -1) << "the saver ended"; }
    void ExpectEnded() { EXPECT_EQ(saver_.Wait(5000), 0) << "the saver did not end with 0"; }

    ui::Process saver_;
    HWND screen_ = nullptr;
    std::time_t started_ = 0;
};

TEST_F(ScreenTest, MouseMovesWithinTenPixelsKeepItRunningElevenEnd) {
    const struct {
        int dx, dy;
        bool ends;
    } cases[] = {{10, 10, false}, {-10, -10, false}, {10, -10, false}, {11, 0, true},
                 {0, 11, true},   {-11, 0, true},    {0, -11, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "move by " << c.dx << "," << c.dy);
        ui::MoveMouse(400, 300);
        Start();
        Painted();
        ui::MoveMouse(400 + c.dx, 300 + c.dy);
        if (c.ends)
            ExpectEnded();
        else
            ExpectStillRunning();
        Stop();
    }
}

} // namespace
