// The full-screen saver form.
#pragma once

#include "extctrls.h"
#include "forms.h"
#include "image.h"
#include "mplayer.h"
#include "registry.h"

#include <array>
#include <memory>
#include <string>

// The text colours, in the order of the cycle.
inline constexpr std::array<TColor, 9> ColorCycle{clBlack, clGray,   clBlue, clAqua,  clFuchsia,
                                                  clGreen, clSilver, clRed,  clYellow};
// Where the cycle stands, one counter for the whole process.
extern int ColorIndex;

class TQuilloScreenForm : public TForm {
public:
    // Loads the settings; an unusable stored value raises an error.
    explicit TQuilloScreenForm(TForm* owner);

    TImage UserBitmap;
    TMediaPlayer WavePlayer;
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
    void FormShow(TObject* sender);
    void FormPaint(TObject* sender);
    void timerTimer(TObject* sender);
    void WavePlayerNotify(TObject* sender);
    void FormClick(TObject* sender);
    void FormMouseMove(TObject* sender, TShiftState shift, int x, int y);
    void FormDestroy(TObject* sender);

    // Any sign of a user closes the form; a request for a screen saver is answered here.
    void Dispatch(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;

private:
    void LoadSettings();
    void MeasureTextBlock();
};
