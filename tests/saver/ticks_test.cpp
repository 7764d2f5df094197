// The saver's ticks and sound, on a saver screen made in this process, so that each tick is
// given by the test (the form's own timer is stopped) and the media player can be watched.
#include "mediafiles.h"
#include "saverfixture.h"
#include "scrsavmain.h"

#include <map>

namespace {

const unsigned kBlack = 0x000000;
const unsigned kWhite = 0xFFFFFF;

class SaverTickTest : public SaverSettingsTest {
protected:
    void TearDown() override { form_.reset(); }

    // Makes and shows the saver screen under a resting mouse.
    void Show() {
        ui::MoveMouse(400, 300);
        ui::Pump(300);
        form_.reset(new TQuilloScreenForm(nullptr));
        form_->AfterConstruction();
        form_->timer.SetEnabled(false);
        form_->Show();
    }
    // What the screen shows once the form has painted everything pending.
    ui::Bitmap Shown() {
        UpdateWindow(form_->Handle());
        GdiFlush();
        ui::Pump(50);
        return ui::CaptureScreen();
    }
    ui::Bitmap Tick() {
        form_->timerTimer(nullptr);
        return Shown();
    }
    int Count(const ui::Bitmap& shown, unsigned rgb) {
        return shown.Count(rgb, RECT{0, 0, shown.Width(), shown.Height()});
    }

    TFormPtr<TQuilloScreenForm> form_;
};

// The colour most pixels of the area have, white left out.
unsigned TextColor(const ui::Bitmap& shown, const RECT& area) {
    std::map<unsigned, int> counts;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            if (shown.Pixel(x, y) != kWhite)
                ++counts[shown.Pixel(x, y)];
    unsigned best = 0xFFFFFFFF;
    int most = 0;
    for (const auto& [rgb, count] : counts)
        if (count > most) {
            most = count;
            best = rgb;
        }
    return best;
}

TEST_F(SaverTickTest, TheTextWalksThroughTheColoursTickByTick) {
    Store("Text One", "QUILLO");
    Store("Font Name", "Arial");
    Store("Font Size", "28");
    ColorIndex = 0;
    Show();
    const unsigned expected[] = {0x000000, 0x808080, 0x0000FF, 0x00FFFF, 0xFF00FF,
                                 0x008000, 0xC0C0C0, 0xFF0000, 0xFFFF00, 0x000000};
    int tick = 0;
    for (unsigned rgb : expected) {
        ++tick;
        ui::Bitmap shown = Tick();
        RECT box = shown.BoundsOfOther(kBlack);
        ASSERT_GT(box.right, box.left) << "no box at tick " << tick;
        EXPECT_EQ(TextColor(shown, box), rgb) << "tick " << tick;
    }
}

TEST_F(SaverTickTest, TextAndPictureTakeTurnsAndNeverShowTogether) {
    std::string picture = ui::ScratchFolder("ticks-picture") + "\\picture.bmp";
    media::WriteFile(picture, media::QuarterBitmap(40, 30, 1)); // red and green, no white
    Store("Picture Sw", "1");
    Store("Picture File", picture);
    Show();
    for (int tick = 0; tick <= 8; ++tick) {
        SCOPED_TRACE(testing::Message() << "tick " << tick);
        ui::Bitmap shown = tick == 0 ? Shown() : Tick();
        bool pictureTurn = tick % 2 == 1;
        EXPECT_EQ(Count(shown, media::kGreen) > 0, pictureTurn) << "picture";
        EXPECT_EQ(Count(shown, kWhite) > 0, !pictureTurn) << "text box";
    }
}

class SaverSoundTest : public SaverTickTest {
protected:
    // Shows the saver with a short sound, counting the ends of its plays.
    void ShowWithSound(bool onceOnly) {
        std::string sound = ui::ScratchFolder("ticks-sound") + "\\short.wav";
        media::WriteFile(sound, media::WaveFile(300));
        Store("Sound Sw", "1");
        Store("Sound File", sound);
        Store("Once Only Sw", onceOnly ? "1" : "0");
        Store("Text Sw", "0");
        ui::MoveMouse(400, 300);
        ui::Pump(300);
        form_.reset(new TQuilloScreenForm(nullptr));
        form_->AfterConstruction();
        form_->timer.SetEnabled(false);
        TNotifyEvent notify = form_->WavePlayer.OnNotify;
        form_->WavePlayer.OnNotify = [this, notify](TObject* sender) {
            ++ends_;
            notify(sender);
        };
        form_->Show();
        ASSERT_TRUE(form_->WavePlayer.IsOpen());
    }
    bool PumpUntilEnds(int count, DWORD timeoutMs) {
        DWORD start = GetTickCount();
        while (ends_ < count && GetTickCount() - start < timeoutMs)
            ui::Pump(20);
        return ends_ >= count;
    }
    DWORD_PTR Mode() {
        MCI_STATUS_PARMS parms{};
        parms.dwItem = MCI_STATUS_MODE;
        mciSendCommandA(form_->WavePlayer.DeviceID(), MCI_STATUS, MCI_STATUS_ITEM | MCI_WAIT,
                        reinterpret_cast<DWORD_PTR>(&parms));
        return parms.dwReturn;
    }

    int ends_ = 0;
};

TEST_F(SaverSoundTest, RepeatPlaysTheSoundAgainAfterEachEnd) {
    ShowWithSound(false);
    for (int count = 1; count <= 3; ++count) {
        ASSERT_TRUE(PumpUntilEnds(count, 15000)) << "play " << count << " never ended";
        EXPECT_EQ(Mode(), static_cast<DWORD_PTR>(MCI_MODE_PLAY)) << "not playing again";
    }
}

TEST_F(SaverSoundTest, OnceOnlyPlaysTheSoundOnce) {
    ShowWithSound(true);
    ASSERT_TRUE(PumpUntilEnds(1, 15000)) << "the play never ended";
    ui::Pump(1500); // five times the sound's length
    EXPECT_EQ(ends_, 1);
    EXPECT_NE(Mode(), static_cast<DWORD_PTR>(MCI_MODE_PLAY));
}

} // namespace
