// Push buttons with a picture beside the caption.
#pragma once

#include "stdctrls.h"

enum TBitBtnKind { bkCustom, bkHelp };

class TBitBtn : public TButton {
public:
    explicit TBitBtn(TWinControl* parent);
    ~TBitBtn() override;

    // The picture, from a bitmap resource of the program; the colour of its bottom-left pixel
    // is drawn transparent.
    void SetGlyph(const char* resourceName);
    // A standard kind gives the button its caption and picture: bkHelp "&Help" with the help
    // picture.
    void SetKind(TBitBtnKind kind);
    TBitBtnKind Kind() const { return kind_; }

    void Dispatch(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;

private:
    void DrawItem(const DRAWITEMSTRUCT& item);

    HBITMAP glyph_ = nullptr;
    TBitBtnKind kind_ = bkCustom;
};
