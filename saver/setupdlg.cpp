#include "setupdlg.h"

#include "QuillAbout.h"
#include "QuillPicPrev.h"
#include "settings.h"

namespace {

void Place(TControl& control, int left, int top, int width, int height) {
    control.SetBounds(left, top, width, height);
}

void MakeButton(TBitBtn& button, const char* caption, const char* glyph, const char* hint,
                TNotifyEvent onClick) {
    button.Caption = caption;
    button.SetGlyph(glyph);
    button.Hint = hint;
    button.OnClick = std::move(onClick);
}

} // namespace

TConfigureForm::TConfigureForm(TForm* owner) : TForm("TConfigureForm", owner) {
    Caption = "Quillo Screen Saver Options";
    BorderStyle = bsDialog;
    Position = poScreenCenter;
    SetClientSize(443, 387);
    DialogKeys = true;
    ActiveControl = &DisplayTextOne;
    OnShow = Handler(this, &TConfigureForm::FormShow);
    OnDestroy = Handler(this, &TConfigureForm::FormDestroy);

    // The three text lines across the whole width.
    Label1.Caption = "First line of text:";
    Place(Label1, 8, 8, 200, 13);
    Place(DisplayTextOne, 8, 24, 427, 21);
    Label2.Caption = "Second line of text:";
    Place(Label2, 8, 52, 200, 13);
    Place(DisplayTextTwo, 8, 68, 427, 21);
    Label3.Caption = "Third line of text:";
    Place(Label3, 8, 96, 200, 13);
    Place(DisplayTextThree, 8, 112, 427, 21);

    // Sound on the left, display options on the right.
    GroupBox1.Caption = "Sound";
    Place(GroupBox1, 8, 144, 209, 121);
    SoundYesNo.Caption = "On / Off";
    SoundYesNo.TabStop = false;
    Place(SoundYesNo, 12, 28, 73, 17);
    RepeatPlayChkBox.Caption = "Repeat Play";
    Place(RepeatPlayChkBox, 100, 24, 100, 17);
    PlayOneTimeChkBox.Caption = "One Time Only";
    Place(PlayOneTimeChkBox, 100, 48, 100, 17);
    PlayOneTimeChkBox.SetChecked(true);
    MakeButton(ChooseSoundBtn, "Choose...", "CHOOSEGLYPH", "Choose a Sound File",
               Handler(this, &TConfigureForm::ChooseSoundBtnClick));
    Place(ChooseSoundBtn, 10, 84, 92, 27);
    MakeButton(PrevSoundBtn, "Preview", "SOUNDGLYPH", "Preview a Sound File",
               Handler(this, &TConfigureForm::PrevSoundBtnClick));
    Place(PrevSoundBtn, 108, 84, 92, 27);

    GroupBox2.Caption = "Display Options";
    Place(GroupBox2, 226, 144, 209, 121);
    TextOnOff.Caption = "Text On / Off";
    TextOnOff.TabStop = false;
    TextOnOff.SetChecked(true);
    Place(TextOnOff, 12, 24, 130, 17);
    PictureYesNo.Caption = "Picture  On / Off";
    PictureYesNo.TabStop = false;
    PictureYesNo.SetChecked(true);
    Place(PictureYesNo, 12, 48, 130, 17);
    MakeButton(PictureBtn, "Choose...", "CHOOSEGLYPH", "Choose a Picture File",
               Handler(this, &TConfigureForm::PictureBtnClick));
    Place(PictureBtn, 10, 84, 92, 27);
    MakeButton(PicPrevBtn, "Preview", "PICTUREGLYPH", "Preview a Picture File",
               Handler(this, &TConfigureForm::PicPrevBtnClick));
    Place(PicPrevBtn, 108, 84, 92, 27);

    // Along the bottom: Font and About, the speed, then Help, Cancel and OK.
    MakeButton(ChooseFontBtn, "Font", "FONTGLYPH", "Choose Text Font",
               Handler(this, &TConfigureForm::ChooseFontBtnClick));
    ChooseFontBtn.TabStop = false;
    Place(ChooseFontBtn, 8, 282, 90, 36);
    MakeButton(AboutBtn, "About", "ABOUTGLYPH", "", Handler(this, &TConfigureForm::AboutBtnClick));
    AboutBtn.TabStop = false;
    Place(AboutBtn, 8, 336, 90, 36);

    GroupBox3.Caption = "Speed";
    Place(GroupBox3, 108, 274, 228, 105);
    SpeedTracker.Min = 0;
    SpeedTracker.Max = 10;
    SpeedTracker.Frequency = 1;
    SpeedTracker.LineSize = 1;
    SpeedTracker.PageSize = 1;
    SpeedTracker.SetPosition(10);
    SpeedTracker.TabStop = false;
    SpeedTracker.OnChange = Handler(this, &TConfigureForm::SpeedTrackerChange);
    Place(SpeedTracker, 8, 24, 212, 42);
    Label4.Caption = "Slow";
    Place(Label4, 12, 72, 40, 13);
    Label5.Caption = "Fast";
    Label5.Alignment = taRightJustify;
    Place(Label5, 176, 72, 40, 13);

    HelpBtn.SetKind(bkHelp);
    HelpBtn.TabStop = false;
    HelpBtn.OnClick = Handler(this, &TConfigureForm::HelpBtnClick);
    Place(HelpBtn, 348, 276, 87, 29);
    MakeButton(CancelBitBtn, "Cancel", "CANCELGLYPH", "",
               Handler(this, &TConfigureForm::CancelBitBtnClick));
    CancelBitBtn.Cancel = true;
    Place(CancelBitBtn, 348, 313, 87, 29);
    MakeButton(OKBitBtn, "OK", "OKGLYPH", "", Handler(this, &TConfigureForm::OKBitBtnClick));
    OKBitBtn.Default = true;
    Place(OKBitBtn, 348, 350, 87, 29);

    ChooseSoundFileDlg.Title = "Sound to Play";
    ChooseSoundFileDlg.Filter =
        "Wave Files (*.wav)|*.wav|Midi Files (*.mid)|*.mid|RMI Files (*.rmi)|*.rmi";
    ChoosePictureFileDlg.Title = "Bit Map to Display";
    ChoosePictureFileDlg.Filter =
        "Bitmap Files (*.bmp)|*.bmp|Windows Metafiles (*.wmf)|*.wmf|Icon Files (*.ico)|*.ico";

    Settings = CreateSettings();
    NewSoundFile.clear();
    NewPictureFile.clear();
}

// Shows the stored settings; a read that fails leaves the later controls as they were made.
void TConfigureForm::FormShow(TObject*) {
    DisplayTextOne.SetText(Settings->ReadString(SettingsKey, "Text One", ""));
    DisplayTextTwo.SetText(Settings->ReadString(SettingsKey, "Text Two", ""));
    DisplayTextThree.SetText(Settings->ReadString(SettingsKey, "Text Three", ""));
    SoundYesNo.SetChecked(Settings->ReadBool(SettingsKey, "Sound Sw", false));
    TextOnOff.SetChecked(Settings->ReadBool(SettingsKey, "Text Sw", false));
    PictureYesNo.SetChecked(Settings->ReadBool(SettingsKey, "Picture Sw", false));
    bool onceOnly = Settings->ReadBool(SettingsKey, "Once Only Sw", false);
    PlayOneTimeChkBox.SetChecked(onceOnly);
    RepeatPlayChkBox.SetChecked(!onceOnly);
    SpeedTracker.SetPosition(Settings->ReadInteger(SettingsKey, "Speed Factor", 0));
    // Setting the position from code raises no change event.
    SpeedFactor = SpeedTracker.Position();
}

// Frees the settings accessor.
void TConfigureForm::FormDestroy(TObject*) {
    Settings.reset();
}

// The user moved the speed slider.
void TConfigureForm::SpeedTrackerChange(TObject*) {
    SpeedFactor = SpeedTracker.Position();
}

// Stores everything but the font, in this order, and closes; a failing write stops it there.
void TConfigureForm::OKBitBtnClick(TObject*) {
    Settings->WriteString(SettingsKey, "Text One", DisplayTextOne.Text());
    Settings->WriteString(SettingsKey, "Text Two", DisplayTextTwo.Text());
    Settings->WriteString(SettingsKey, "Text Three", DisplayTextThree.Text());
    Settings->WriteInteger(SettingsKey, "Speed Factor", SpeedFactor);
    Settings->WriteBool(SettingsKey, "Sound Sw", SoundYesNo.Checked());
    Settings->WriteBool(SettingsKey, "Text Sw", TextOnOff.Checked());
    Settings->WriteBool(SettingsKey, "Picture Sw", PictureYesNo.Checked());
    Settings->WriteBool(SettingsKey, "Once Only Sw", PlayOneTimeChkBox.Checked());
    if (!NewSoundFile.empty())
        Settings->WriteString(SettingsKey, "Sound File", NewSoundFile);
    if (!NewPictureFile.empty())
        Settings->WriteString(SettingsKey, "Picture File", NewPictureFile);
    Close();
}

// Closes without storing anything.
void TConfigureForm::CancelBitBtnClick(TObject*) {
    Close();
}

// A confirmed font is stored at once: styles, face, size.
void TConfigureForm::ChooseFontBtnClick(TObject*) {
    if (!ChooseFontDlg.Execute())
        return;
    SaveFontStyles();
    Settings->WriteString(SettingsKey, "Font Name", ChooseFontDlg.Font.Name);
    Settings->WriteString(SettingsKey, "Font Size", IntToStr(ChooseFontDlg.Font.Size));
}

void TConfigureForm::SaveFontStyles() {
    TFontStyles style = ChooseFontDlg.Font.Style;
    Settings->WriteBool(SettingsKey, "Italic", (style & fsItalic) != 0);
    Settings->WriteBool(SettingsKey, "Bold", (style & fsBold) != 0);
    Settings->WriteBool(SettingsKey, "Underline", (style & fsUnderline) != 0);
    Settings->WriteBool(SettingsKey, "Strikeout", (style & fsStrikeOut) != 0);
}

void TConfigureForm::ChooseSoundBtnClick(TObject*) {
    if (ChooseSoundFileDlg.Execute())
        NewSoundFile = ChooseSoundFileDlg.FileName;
}

void TConfigureForm::PictureBtnClick(TObject*) {
    if (ChoosePictureFileDlg.Execute())
        NewPictureFile = ChoosePictureFileDlg.FileName;
}

// Plays the sound picked in this dialog from its beginning, and returns while it plays.
void TConfigureForm::PrevSoundBtnClick(TObject*) {
    if (NewSoundFile.empty()) {
        ShowMessage("You need to pick a new Sound File before selecting this button!");
        return;
    }
    SoundPrevPlayer.FileName = NewSoundFile;
    SoundPrevPlayer.Open();
    SoundPrevPlayer.Play();
}

// Shows the picture picked in this dialog.
void TConfigureForm::PicPrevBtnClick(TObject*) {
    if (NewPictureFile.empty()) {
        ShowMessage("You need to pick a new Picture File before selecting this button!");
        return;
    }
    TFormPtr<TPicPreviewDlg1> preview(new TPicPreviewDlg1(NewPictureFile, this));
    preview->AfterConstruction();
    preview->ShowModal();
}

void TConfigureForm::HelpBtnClick(TObject*) {
    WinHelpA(Handle(), "quillsav.hlp", HELP_FINDER, 0);
}

void TConfigureForm::AboutBtnClick(TObject*) {
    TFormPtr<TQuillAboutDlg> about(new TQuillAboutDlg(this));
    about->AfterConstruction();
    about->ShowModal();
}
