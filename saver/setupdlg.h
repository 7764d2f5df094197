// The options dialog of the screen saver.
#pragma once

#include "buttons.h"
#include "comctrls.h"
#include "dialogs.h"
#include "forms.h"
#include "mplayer.h"
#include "registry.h"
#include "stdctrls.h"

#include <memory>
#include <string>

class TConfigureForm : public TForm {
public:
    explicit TConfigureForm(TForm* owner);

    // The controls, made in tab order: the three text lines, the sound group, OK, the display
    // group, Cancel, then the controls that Tab passes over.
    TLabel Label1{this};
    TEdit DisplayTextOne{this};
    TLabel Label2{this};
    TEdit DisplayTextTwo{this};
    TLabel Label3{this};
    TEdit DisplayTextThree{this};
    TGroupBox GroupBox1{this};
    TCheckBox SoundYesNo{&GroupBox1};
    TRadioButton RepeatPlayChkBox{&GroupBox1};
    TRadioButton PlayOneTimeChkBox{&GroupBox1};
    TBitBtn ChooseSoundBtn{&GroupBox1};
    TBitBtn PrevSoundBtn{&GroupBox1};
    TBitBtn OKBitBtn{this};
    TGroupBox GroupBox2{this};
    TCheckBox TextOnOff{&GroupBox2};
    TCheckBox PictureYesNo{&GroupBox2};
    TBitBtn PictureBtn{&GroupBox2};
    TBitBtn PicPrevBtn{&GroupBox2};
    TBitBtn CancelBitBtn{this};
    TGroupBox GroupBox3{this};
    TTrackBar SpeedTracker{&GroupBox3};
    TLabel Label4{&GroupBox3};
    TLabel Label5{&GroupBox3};
    TBitBtn ChooseFontBtn{this};
    TBitBtn AboutBtn{this};
    TBitBtn HelpBtn{this};

    TMediaPlayer SoundPrevPlayer;
    TOpenDialog ChooseSoundFileDlg;
    TOpenDialog ChoosePictureFileDlg;
    TFontDialog ChooseFontDlg;

    std::unique_ptr<TRegIniFile> Settings;
    int SpeedFactor = 0;
    std::string NewSoundFile;
    std::string NewPictureFile;

    void FormShow(TObject* sender);
    void FormDestroy(TObject* sender);
    void SpeedTrackerChange(TObject* sender);
    void OKBitBtnClick(TObject* sender);
    void CancelBitBtnClick(TObject* sender);
    void ChooseFontBtnClick(TObject* sender);
    void ChooseSoundBtnClick(TObject* sender);
    void PictureBtnClick(TObject* sender);
    void PrevSoundBtnClick(TObject* sender);
    void PicPrevBtnClick(TObject* sender);
    void HelpBtnClick(TObject* sender);
    void AboutBtnClick(TObject* sender);

private:
    void SaveFontStyles();
};
