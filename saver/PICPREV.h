// The layout of the picture preview.
#pragma once

#include "buttons.h"
#include "forms.h"
#include "image.h"
#include "panels.h"

class TPicPreviewDlg : public TForm {
public:
    explicit TPicPreviewDlg(TForm* owner) : TPicPreviewDlg("TPicPreviewDlg", owner) {}

    TImage TadaImage{this};
    TPanel Panel1{this};
    TBitBtn ClosePrevBtn{&Panel1};

protected:
    TPicPreviewDlg(const std::string& className, TForm* owner);
};
