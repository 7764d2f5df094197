// Plays sound files through the media control interface.
#pragma once

#include "classes.h"
#include "utilwindow.h"

#include <windows.h>

#include <mmsystem.h>

#include <string>

class TMediaPlayer : public TObject {
public:
    TMediaPlayer();
    // Closes a device that is still open, which stops its sound.
    ~TMediaPlayer() override;

    // The file that Open opens.
    std::string FileName;
    // Runs on the message loop each time the device reports the end of a play (finished,
    // superseded, aborted or failed: see NotifyValue).
    TNotifyEvent OnNotify;

    // Closes the open device, then opens FileName on the device that MCI chooses for the
    // file, and waits until that has finished. Raises EMCIDeviceError with MCI's text.
    void Open();
    // Starts playing from the current position, rewinding first when at the end, and returns
    // at once; the end of the play is notified. A play the device refuses is not an error:
    // its MCI error code is kept in Error.
    void Play();
    // Closes the device, if one is open.
    void Close();

    bool IsOpen() const { return device_ != 0; }
    MCIDEVICEID DeviceID() const { return device_; }
    // MCI error code of the last command (0 when it succeeded).
    MCIERROR Error() const { return error_; }
    // The flag of the last notification (MCI_NOTIFY_SUCCESSFUL, ...).
    unsigned NotifyValue() const { return notifyValue_; }

private:
    void WindowMessage(TMessage& message);
    DWORD_PTR Status(DWORD item);

    TUtilWindow window_;
    MCIDEVICEID device_ = 0;
    MCIERROR error_ = 0;
    unsigned notifyValue_ = 0;
};
