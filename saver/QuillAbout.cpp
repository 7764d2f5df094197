#include "QuillAbout.h"

namespace {

void SetUpLabel(TLabel& label, const char* caption, int size, TAlignment alignment, int left,
                int top, int width, int height) {
    label.Caption = caption;
    label.ParentFont = false;
    label.Font.Name = "MS Sans Serif";
    label.Font.Size = size;
    label.Font.Style = fsBold;
    label.Font.Color = clBlack;
    label.Alignment = alignment;
    label.SetBounds(left, top, width, height);
}

} // namespace

TQuillAboutDlg::TQuillAboutDlg(TForm* owner) : TForm("TQuillAboutDlg", owner) {
    Caption = "About Quillo Screen Saver 97";
    BorderStyle = bsDialog;
    Position = poScreenCenter;
    SetClientSize(388, 210);
    DialogKeys = true;
    ActiveControl = &OKBitBtn;

    // The logo on the left, the name, version and maker on the right.
    Bevel1.Style = bsRaised;
    Bevel1.SetBounds(0, 0, 194, 210);
    QuillScrBitmap.SetBounds(2, 0, 190, 209);
    QuillScrBitmap.Picture.LoadBitmapResource("QUILLLOGO");
    Bevel2.Style = bsLowered;
    Bevel2.SetBounds(195, 2, 191, 207);

    SetUpLabel(Label1, "Quillo Screen Saver 97", 12, taLeftJustify, 199, 24, 185, 20);
    SetUpLabel(Label4, "Version 2.1", 10, taCenter, 198, 59, 78, 16);
    SetUpLabel(Label2, "Copyright \xA9 1997", 10, taCenter, 199, 95, 184, 16);
    SetUpLabel(Label3, "Korvane Software", 10, taCenter, 197, 130, 185, 16);

    OKBitBtn.Caption = "OK";
    OKBitBtn.SetGlyph("OKGLYPH");
    OKBitBtn.Default = true;
    OKBitBtn.Cancel = true;
    OKBitBtn.ModalResult = mrOk;
    OKBitBtn.SetBounds(253, 171, 75, 25);
}
