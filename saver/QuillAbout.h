// The about box of the screen saver.
#pragma once

#include "buttons.h"
#include "forms.h"
#include "image.h"
#include "panels.h"
#include "stdctrls.h"

class TQuillAboutDlg : public TForm {
public:
    explicit TQuillAboutDlg(TForm* owner);

    TBevel Bevel1{this};
    TImage QuillScrBitmap{this};
    TBevel Bevel2{this};
    TLabel Label1{this};
    TLabel Label4{this};
    TLabel Label2{this};
    TLabel Label3{this};
    TBitBtn OKBitBtn{this};
};
