#include "setupdlg.h"

#include "settings.h"

TConfigureForm::TConfigureForm(TForm* owner) : TForm("TConfigureForm", owner) {
    Caption = "Quillo Screen Saver Options";
    BorderStyle = bsDialog;
    Position = poScreenCenter;
    SetClientSize(443, 387);
    OnDestroy = Handler(this, &TConfigureForm::FormDestroy);
    Settings = CreateSettings();
}

// Frees the settings accessor.
void TConfigureForm::FormDestroy(TObject*) {
    Settings.reset();
}
