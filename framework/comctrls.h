// Common controls: the track bar.
#pragma once

#include "stdctrls.h"

// A horizontal bar with a slider, tick marks below it at every Frequency positions.
class TTrackBar : public TStdControl {
public:
    explicit TTrackBar(TWinControl* parent);

    int Min = 0;
    int Max = 10;
    int Frequency = 1;
    int LineSize = 1;
    int PageSize = 2;
    // Raised when the user moves the slider, never when the position is set from code.
    TNotifyEvent OnChange;

    int Position() const;
    // Limited to Min..Max.
    void SetPosition(int position);

    void Dispatch(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;

private:
    int position_ = 0;
};
