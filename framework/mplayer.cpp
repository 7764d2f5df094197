#include "mplayer.h"

#include "sysutils.h"

namespace {

std::string MciErrorText(MCIERROR error) {
    char text[256] = "";
    if (!mciGetErrorStringA(error, text, sizeof text) || !text[0])
        return "MCI error " + IntToStr(static_cast<long long>(error));
    return text;
}

} // namespace

TMediaPlayer::TMediaPlayer() : window_([this](TMessage& message) { WindowMessage(message); }) {}

TMediaPlayer::~TMediaPlayer() {
    Close();
}

void TMediaPlayer::Open() {
    Close();
    MCI_OPEN_PARMSA parms{};
    parms.lpstrElementName = FileName.c_str();
    error_ = mciSendCommandA(0, MCI_OPEN, MCI_OPEN_ELEMENT | MCI_WAIT,
                             reinterpret_cast<DWORD_PTR>(&parms));
    if (error_)
        throw EMCIDeviceError(MciErrorText(error_));
    device_ = parms.wDeviceID;
}

DWORD_PTR TMediaPlayer::Status(DWORD item) {
    MCI_STATUS_PARMS parms{};
    parms.dwItem = item;
    if (mciSendCommandA(device_, MCI_STATUS, MCI_STATUS_ITEM | MCI_WAIT,
                        reinterpret_cast<DWORD_PTR>(&parms)))
        return 0;
    return parms.dwReturn;
}

void TMediaPlayer::Play() {
    if (!device_) {
        error_ = MCIERR_INVALID_DEVICE_ID;
        return;
    }
    DWORD_PTR length = Status(MCI_STATUS_LENGTH);
    if (length > 0 && Status(MCI_STATUS_POSITION) >= length) {
        MCI_SEEK_PARMS seek{};
        mciSendCommandA(device_, MCI_SEEK, MCI_SEEK_TO_START | MCI_WAIT,
                        reinterpret_cast<DWORD_PTR>(&seek));
    }
    MCI_PLAY_PARMS parms{};
    parms.dwCallback = reinterpret_cast<DWORD_PTR>(window_.Handle());
    error_ = mciSendCommandA(device_, MCI_PLAY, MCI_NOTIFY, reinterpret_cast<DWORD_PTR>(&parms));
}

void TMediaPlayer::Close() {
    if (!device_)
        return;
    MCI_GENERIC_PARMS parms{};
    error_ = mciSendCommandA(device_, MCI_CLOSE, MCI_WAIT, reinterpret_cast<DWORD_PTR>(&parms));
    device_ = 0;
}

void TMediaPlayer::WindowMessage(TMessage& message) {
    if (message.Msg != MM_MCINOTIFY) {
        message.Msg = CN_UNHANDLED;
        return;
    }
    if (!device_ || static_cast<MCIDEVICEID>(message.LParam) != device_)
        return;
    notifyValue_ = static_cast<unsigned>(message.WParam);
    if (OnNotify)
        OnNotify(this);
}
