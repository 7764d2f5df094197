#include "PICPREV.h"

TPicPreviewDlg::TPicPreviewDlg(const std::string& className, TForm* owner)
    : TForm(className, owner) {
    Caption = "Picture Preview";
    BorderStyle = bsDialog;
    Position = poScreenCenter;
    SetClientSize(427, 280);
    DialogKeys = true;
    ActiveControl = &ClosePrevBtn;

    // The picture fills everything above the panel, out of shape if need be.
    TadaImage.SetBounds(0, 0, 427, 247);
    TadaImage.SetStretch(true);
    TadaImage.Picture.LoadIconResource("PREVIEWICON");

    Panel1.SetBounds(0, 247, 427, 33);
    ClosePrevBtn.Caption = "OK";
    ClosePrevBtn.SetGlyph("OKGLYPH");
    ClosePrevBtn.Default = true;
    ClosePrevBtn.Cancel = true;
    ClosePrevBtn.ModalResult = mrOk;
    ClosePrevBtn.SetBounds(178, 5, 75, 25);
}
