#include "comctrls.h"

#include <commctrl.h>

#include <algorithm>

TTrackBar::TTrackBar(TWinControl* parent) : TStdControl(parent) {
    static bool initialised = false;
    if (!initialised) {
        INITCOMMONCONTROLSEX classes{sizeof classes, ICC_BAR_CLASSES};
        InitCommonControlsEx(&classes);
        initialised = true;
    }
    TabStop = true;
}

void TTrackBar::CreateParams(TCreateParams& params) {
    TStdControl::CreateParams(params);
    params.WinClassName = TRACKBAR_CLASSA;
    params.Style |= TBS_HORZ | TBS_BOTTOM | TBS_AUTOTICKS;
}

void TTrackBar::CreateWnd() {
    TStdControl::CreateWnd();
    HWND hwnd = Handle();
    SendMessageA(hwnd, TBM_SETRANGEMIN, FALSE, Min);
    SendMessageA(hwnd, TBM_SETRANGEMAX, FALSE, Max);
    SendMessageA(hwnd, TBM_SETTICFREQ, static_cast<WPARAM>(Frequency), 0);
    SendMessageA(hwnd, TBM_SETLINESIZE, 0, LineSize);
    SendMessageA(hwnd, TBM_SETPAGESIZE, 0, PageSize);
    SendMessageA(hwnd, TBM_SETPOS, TRUE, position_);
}

int TTrackBar::Position() const {
    return position_;
}

void TTrackBar::SetPosition(int position) {
    position_ = std::clamp(position, Min, Max);
    if (HandleAllocated())
        SendMessageA(Handle(), TBM_SETPOS, TRUE, position_);
}

void TTrackBar::Dispatch(TMessage& message) {
    if (message.Msg == CN_BASE + WM_HSCROLL || message.Msg == CN_BASE + WM_VSCROLL) {
        int now = static_cast<int>(SendMessageA(Handle(), TBM_GETPOS, 0, 0));
        if (now != position_) {
            position_ = now;
            if (OnChange)
                OnChange(this);
        }
        return;
    }
    TStdControl::Dispatch(message);
}
