// The full-screen saver form.
#pragma once

#include "extctrls.h"
#include "forms.h"
#include "registry.h"

#include <memory>
#include <string>

class TQuilloScreenForm : public TForm {
public:
    // Loads the settings; an unusable stored value raises an error.
    explicit TQuilloScreenForm(TForm* owner);

    TTimer timer;

    std::unique_ptr<TRegIniFile> Settings;
    int SpeedFactor = 0;
    bool SoundSw = false;
    bool TextSw = true;
    bool PictureSw = false;
    bool OnceOnlySw = false;
    std::string SoundFile;
    std::string PictureFile;
    std::unique_ptr<TStringList> TextLines;
    int TextBlockWidth = 0;
    TPoint StartCursorPos;

    // The tick interval for a speed factor; other values keep the current interval.
    void SetTimerSpeed(int speedFactor);

    void FormCreate(TObject* sender);
    void FormDestroy(TObject* sender);

protected:
    void CreateParams(TCreateParams& params) override;

private:
    void LoadSettings();
    void MeasureTextBlock();
};
