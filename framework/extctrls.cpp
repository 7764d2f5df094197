#include "extctrls.h"

namespace {
const UINT_PTR kTimerId = 1;
}

TTimer::TTimer()
    : window_([this](TMessage& message) {
          if (message.Msg == WM_TIMER) {
              if (OnTimer)
                  OnTimer(this);
          } else {
              message.Msg = CN_UNHANDLED;
          }
      }) {
    Restart();
}

TTimer::~TTimer() {
    KillTimer(window_.Handle(), kTimerId);
}

void TTimer::SetInterval(unsigned interval) {
    if (interval == interval_)
        return;
    interval_ = interval;
    Restart();
}

void TTimer::SetEnabled(bool enabled) {
    if (enabled == enabled_)
        return;
    enabled_ = enabled;
    Restart();
}

void TTimer::Restart() {
    KillTimer(window_.Handle(), kTimerId);
    if (enabled_ && interval_ > 0)
        SetTimer(window_.Handle(), kTimerId, interval_, nullptr);
}
