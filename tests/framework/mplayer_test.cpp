#include "mediafiles.h"
#include "mplayer.h"
#include "sysutils.h"
#include "uidriver.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

// Handles this thread's messages until the condition holds or the time is up.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > timeoutMs)
            return false;
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(10);
    }
    return true;
}

// True while MCI knows the device.
bool DeviceExists(MCIDEVICEID device) {
    MCI_STATUS_PARMS parms{};
    parms.dwItem = MCI_STATUS_MODE;
    return mciSendCommandA(device, MCI_STATUS, MCI_STATUS_ITEM | MCI_WAIT,
                           reinterpret_cast<DWORD_PTR>(&parms)) == 0;
}

std::string OpenError(TMediaPlayer& player, const std::string& path) {
    player.FileName = path;
    try {
        player.Open();
    } catch (const EMCIDeviceError& error) {
        return error.Message();
    }
    return "";
}

class MediaPlayerTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = ui::ScratchFolder("mplayer") + "\\";
        wave_ = folder_ + "short.wav";
        media::WriteFile(wave_, media::WaveFile(300));
    }
    std::string folder_;
    std::string wave_;
};

TEST_F(MediaPlayerTest, PlaysAWaveAndNotifiesTheEndEachTime) {
    TMediaPlayer player;
    int notes = 0;
    std::vector<unsigned> values;
    // As a repeating player does: each end starts the next play, which rewinds first.
    player.OnNotify = [&](TObject* sender) {
        EXPECT_EQ(sender, &player);
        values.push_back(player.NotifyValue());
        if (++notes < 3)
            player.Play();
    };
    ASSERT_GT(waveOutGetNumDevs(), 0u) << "the session's null sound device is missing";
    EXPECT_EQ(OpenError(player, wave_), "");
    ASSERT_TRUE(player.IsOpen());
    ui::Pump(100);
    EXPECT_EQ(notes, 0) << "the open asks for no notification";
    player.Play();
    EXPECT_EQ(player.Error(), 0u);
    ASSERT_TRUE(PumpUntil([&] { return notes >= 3; }, 20000)) << "plays that ended: " << notes;
    EXPECT_EQ(player.Error(), 0u);
    const std::vector<unsigned> successful(3, MCI_NOTIFY_SUCCESSFUL);
    EXPECT_EQ(values, successful);
    // After the last end the player is at the end of the sound, and is played again from the
    // start.
    player.Play();
    ASSERT_TRUE(PumpUntil([&] { return notes >= 4; }, 10000));
    EXPECT_EQ(player.NotifyValue(), static_cast<unsigned>(MCI_NOTIFY_SUCCESSFUL));
}

TEST_F(MediaPlayerTest, OpenFailsWithTheMediaSystemsText) {
    media::WriteFile(folder_ + "notes.txt",
                     media::Bytes{'j', 'u', 's', 't', ' ', 't', 'e', 'x', 't'});
    media::WriteFile(folder_ + "noise.wav", media::Bytes(500, 0x5A));
    for (const char* name : {"missing.wav", "notes.txt", "noise.wav"}) {
        SCOPED_TRACE(name);
        TMediaPlayer player;
        std::string message = OpenError(player, folder_ + name);
        EXPECT_NE(message, "");
        EXPECT_EQ(message.find("MCI error"), std::string::npos) << message;
        EXPECT_FALSE(player.IsOpen());
    }
}

TEST_F(MediaPlayerTest, ReopeningClosesTheDeviceThatWasOpen) {
    TMediaPlayer player;
    player.FileName = wave_;
    player.Open();
    MCIDEVICEID first = player.DeviceID();
    player.Play();
    player.Open();
    EXPECT_FALSE(DeviceExists(first) && first != player.DeviceID());
    EXPECT_TRUE(DeviceExists(player.DeviceID()));
}

TEST_F(MediaPlayerTest, TheDestructorClosesAPlayingDevice) {
    MCIDEVICEID device = 0;
    {
        TMediaPlayer player;
        player.FileName = wave_;
        player.Open();
        player.Play();
        device = player.DeviceID();
        ASSERT_TRUE(DeviceExists(device));
    }
    EXPECT_FALSE(DeviceExists(device));
}

TEST_F(MediaPlayerTest, APlayWithoutADeviceIsRefusedQuietly) {
    TMediaPlayer player;
    player.Play();
    EXPECT_NE(player.Error(), 0u);
    player.Close();
}

// Wine opens MIDI files on the sequencer but, without a MIDI device, never ends their play;
// it refuses RMI files. Either way nothing raises but the open, and that with MCI's text.
TEST_F(MediaPlayerTest, MidiAndRmiOpenOrFailWithAMessage) {
    media::Bytes smf = media::MidiFile();
    media::Bytes rmi = {'R', 'I', 'F', 'F'};
    media::Add32(rmi, static_cast<std::uint32_t>(12 + smf.size()));
    rmi.insert(rmi.end(), {'R', 'M', 'I', 'D', 'd', 'a', 't', 'a'});
    media::Add32(rmi, static_cast<std::uint32_t>(smf.size()));
    rmi.insert(rmi.end(), smf.begin(), smf.end());
    media::WriteFile(folder_ + "tune.mid", smf);
    media::WriteFile(folder_ + "tune.rmi", rmi);
    for (const char* name : {"tune.mid", "tune.rmi"}) {
        SCOPED_TRACE(name);
        TMediaPlayer player;
        std::string message = OpenError(player, folder_ + name);
        if (message.empty()) {
            EXPECT_TRUE(player.IsOpen());
            player.Play();
            player.Close();
            EXPECT_FALSE(player.IsOpen());
        } else {
            EXPECT_FALSE(player.IsOpen());
            EXPECT_EQ(message.find("MCI error"), std::string::npos) << message;
        }
    }
}

} // namespace
