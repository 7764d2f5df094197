// Panels that hold controls, and bevels drawn on their parent.
#pragma once

#include "controls.h"

#include <string>

// A raised area of the face colour that other controls can be placed on.
class TPanel : public TWinControl {
public:
    explicit TPanel(TWinControl* parent);
    std::string Caption;

    void Dispatch(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;

private:
    void Paint();
};

enum TBevelStyle { bsLowered, bsRaised };

// A box of lines that makes an area look raised or sunk; it has no window.
class TBevel : public TGraphicControl {
public:
    explicit TBevel(TWinControl* parent) : TGraphicControl(parent) {}
    TBevelStyle Style = bsLowered;

    void Paint(TCanvas& canvas) override;
};
