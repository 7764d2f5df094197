// The picture preview for one picture file.
#pragma once

#include "PICPREV.h"

#include <string>

class TPicPreviewDlg1 : public TPicPreviewDlg {
public:
    TPicPreviewDlg1(const std::string& pictureFileName, TForm* owner);

    std::string PictureFileName;

    void FormShow(TObject* sender);
};
