// Timers and the other non-standard controls.
#pragma once

#include "classes.h"
#include "utilwindow.h"

class TTimer : public TObject {
public:
    TTimer();
    ~TTimer() override;

    TNotifyEvent OnTimer;

    unsigned Interval() const { return interval_; }
    // A changed interval starts the count anew.
    void SetInterval(unsigned interval);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);

private:
    void Restart();

    TUtilWindow window_;
    unsigned interval_ = 1000;
    bool enabled_ = true;
};
