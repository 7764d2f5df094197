#include "QuillPicPrev.h"

TPicPreviewDlg1::TPicPreviewDlg1(const std::string& pictureFileName, TForm* owner)
    : TPicPreviewDlg("TPicPreviewDlg1", owner), PictureFileName(pictureFileName) {
    OnShow = Handler(this, &TPicPreviewDlg1::FormShow);
}

// Loads the picture before the window shows; a file that does not load keeps the default icon.
void TPicPreviewDlg1::FormShow(TObject*) {
    TadaImage.Picture.LoadFromFile(PictureFileName);
}
