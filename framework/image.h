// A control without a window that shows a picture on its parent.
#pragma once

#include "controls.h"
#include "picture.h"

class TImage : public TGraphicControl {
public:
    // Starts empty, 153 x 139 pixels.
    explicit TImage(TWinControl* parent);

    // Changing the picture repaints the control (and sizes it, with AutoSize); the control
    // uses the picture's OnChange for that.
    TPicture Picture;

    // The control takes the size of each picture loaded.
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool autoSize);
    // Bitmaps and metafiles fill the control; otherwise they are drawn at their own size from
    // the top-left corner. Icons are always drawn at their own size.
    bool Stretch() const { return stretch_; }
    void SetStretch(bool stretch);

    void Paint(TCanvas& canvas) override;

private:
    void PictureChanged(TObject* sender);

    bool autoSize_ = false;
    bool stretch_ = false;
};
