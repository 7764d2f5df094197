#include "mediafiles.h"
#include "mplayer.h"
#include "sysutils.h"
#include "uidriver.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>

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
    player.OnNotify = [&](TObject* sender) {
        EXPECT_EQ(sender, &player);
        ++notes;
    };
    EXPECT_EQ(OpenError(player, wave_), "");
    ASSERT_TRUE(player.IsOpen());
    EXPECT_EQ(notes, 0) << "the open asks for no notification";
    player.Play();
    EXPECT_EQ(player.Error(), 0u);
    ASSERT_TRUE(PumpUntil([&] { return notes >= 1; }, 10000)) << "no end-of-play notification";
    EXPECT_EQ(player.NotifyValue(), static_cast<unsigned>(MCI_NOTIFY_SUCCESSFUL));
    // At the end now: the next play starts from the beginning and ends again.
    player.Play();
    EXPECT_EQ(player.Error(), 0u);
    ASSERT_TRUE(PumpUntil([&] { return notes >= 2; }, 10000)) << "the second play never ended";
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

TEST_F(MediaPlayerTest, MidiOpensOrFailsWithAMessage) {
    std::string midi = folder_ + "tune.mid";
    media::WriteFile(midi, media::MidiFile());
    TMediaPlayer player;
    std::string message = OpenError(player, midi);
    // Wine may have no MIDI device; then the open must say why.
    if (!message.empty()) {
        EXPECT_FALSE(player.IsOpen());
        EXPECT_EQ(message.find("MCI error"), std::string::npos) << message;
    } else {
        EXPECT_TRUE(player.IsOpen());
    }
    std::printf("MIDI open: %s\n", message.empty() ? "opened" : message.c_str());
}

} // namespace
