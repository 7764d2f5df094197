#include "scrsavmain.h"

#include "settings.h"

#include <array>

TQuilloScreenForm::TQuilloScreenForm(TForm* owner) : TForm("TQuilloScreenForm", owner) {
    Color = clBlack;
    BorderStyle = bsNone;
    WindowState = wsMaximized;
    OnCreate = Handler(this, &TQuilloScreenForm::FormCreate);
    OnDestroy = Handler(this, &TQuilloScreenForm::FormDestroy);
    LoadSettings();
}

void TQuilloScreenForm::CreateParams(TCreateParams& params) {
    TForm::CreateParams(params);
    params.ExStyle |= WS_EX_TOPMOST;
}

// Reads every setting once, while the form is being made.
void TQuilloScreenForm::LoadSettings() {
    Settings = CreateSettings();
    SpeedFactor = Settings->ReadInteger(SettingsKey, "Speed Factor", 0);
    SetTimerSpeed(SpeedFactor);
    SoundSw = Settings->ReadBool(SettingsKey, "Sound Sw", false);
    TextSw = Settings->ReadBool(SettingsKey, "Text Sw", true);
    PictureSw = Settings->ReadBool(SettingsKey, "Picture Sw", false);
    OnceOnlySw = Settings->ReadBool(SettingsKey, "Once Only Sw", false);
    if (SoundSw)
        SoundFile = Settings->ReadString(SettingsKey, "Sound File", "ERROR");
    if (PictureSw)
        PictureFile = Settings->ReadString(SettingsKey, "Picture File", "athena.bmp");
    if (!TextSw)
        return;
    TextLines = std::make_unique<TStringList>();
    TextLines->Add(Settings->ReadString(SettingsKey, "Text One", "QUILLO: Your Message Here!"));
    TextLines->Add(Settings->ReadString(SettingsKey, "Text Two", ""));
    TextLines->Add(Settings->ReadString(SettingsKey, "Text Three", ""));
    Canvas.Font.Name = Settings->ReadString(SettingsKey, "Font Name", "System").substr(0, 31);
    Canvas.Font.Size = StrToInt(Settings->ReadString(SettingsKey, "Font Size", "10"));
    MeasureTextBlock();
    const std::array<std::pair<const char*, TFontStyle>, 4> styles{{{"Italic", fsItalic},
                                                                    {"Bold", fsBold},
                                                                    {"Underline", fsUnderline},
                                                                    {"Strikeout", fsStrikeOut}}};
    for (const auto& [name, style] : styles)
        if (Settings->ReadBool(SettingsKey, name, false))
            Canvas.Font.Style |= style;
}

// Width of the widest text line in the drawing font.
void TQuilloScreenForm::MeasureTextBlock() {
    TextBlockWidth = 0;
    for (int i = 0; i < 3; ++i) {
        const std::string& line = (*TextLines)[i];
        int width = line.empty() ? 0 : Canvas.TextWidth(line);
        if (width > TextBlockWidth)
            TextBlockWidth = width;
    }
}

void TQuilloScreenForm::SetTimerSpeed(int speedFactor) {
    static const std::array<unsigned, 11> intervals{5000, 4000, 3500, 3000, 2500, 2000,
                                                    1500, 1000, 750,  500,  250};
    if (speedFactor >= 0 && speedFactor <= 10)
        timer.SetInterval(intervals[static_cast<std::size_t>(speedFactor)]);
}

// Covers the screen and notes where the mouse rests.
void TQuilloScreenForm::FormCreate(TObject*) {
    SetBounds(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    Cursor = crNone;
    POINT at{0, 0};
    GetCursorPos(&at);
    StartCursorPos = TPoint{at.x, at.y};
}

// Frees what the constructor made.
void TQuilloScreenForm::FormDestroy(TObject*) {
    TextLines.reset();
    Settings.reset();
}
