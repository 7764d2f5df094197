#include "image.h"

TImage::TImage(TWinControl* parent) : TGraphicControl(parent) {
    SetBounds(0, 0, 153, 139);
    Picture.OnChange = Handler(this, &TImage::PictureChanged);
}

void TImage::SetAutoSize(bool autoSize) {
    autoSize_ = autoSize;
    if (autoSize_ && !Picture.Empty())
        SetBounds(Left(), Top(), Picture.Width(), Picture.Height());
}

void TImage::SetStretch(bool stretch) {
    if (stretch == stretch_)
        return;
    stretch_ = stretch;
    if (Visible())
        Invalidate();
}

void TImage::PictureChanged(TObject*) {
    if (autoSize_ && !Picture.Empty())
        SetBounds(Left(), Top(), Picture.Width(), Picture.Height());
    if (Visible())
        Invalidate();
}

void TImage::Paint(TCanvas& canvas) {
    HDC dc = canvas.Handle();
    if (!dc || Picture.Empty())
        return;
    RECT bounds = BoundsRect();
    RECT area = bounds;
    if (!stretch_ || Picture.Kind() == TGraphicKind::Icon) {
        area.right = area.left + Picture.Width();
        area.bottom = area.top + Picture.Height();
    }
    int saved = SaveDC(dc);
    IntersectClipRect(dc, bounds.left, bounds.top, bounds.right, bounds.bottom);
    Picture.Draw(canvas, area);
    RestoreDC(dc, saved);
}
