#include "scrsavmain.h"

#include "random.h"
#include "settings.h"

#include <ctime>

int ColorIndex = 0;

TQuilloScreenForm::TQuilloScreenForm(TForm* owner)
    : TForm("TQuilloScreenForm", owner), UserBitmap(this) {
    UserBitmap.SetVisible(false);
    UserBitmap.SetAutoSize(true);
    UserBitmap.SetStretch(true);
    WavePlayer.OnNotify = Handler(this, &TQuilloScreenForm::WavePlayerNotify);
    Color = clBlack;
    BorderStyle = bsNone;
    WindowState = wsMaximized;
    OnClick = Handler(this, &TQuilloScreenForm::FormClick);
    OnCreate = Handler(this, &TQuilloScreenForm::FormCreate);
    OnDestroy = Handler(this, &TQuilloScreenForm::FormDestroy);
    OnMouseMove = Handler(this, &TQuilloScreenForm::FormMouseMove);
    OnPaint = Handler(this, &TQuilloScreenForm::FormPaint);
    OnShow = Handler(this, &TQuilloScreenForm::FormShow);
    timer.OnTimer = Handler(this, &TQuilloScreenForm::timerTimer);
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

// Starts the sound, then loads the picture.
void TQuilloScreenForm::FormShow(TObject*) {
    if (SoundSw && SoundFile != "ERROR") {
        WavePlayer.FileName = SoundFile;
        WavePlayer.Open();
        WavePlayer.Play();
    }
    if (PictureFile != "ERROR" && PictureSw)
        UserBitmap.Picture.LoadFromFile(PictureFile);
    if (PictureSw && !TextSw)
        UserBitmap.SetVisible(true);
}

// Draws the text box at the spot of the current second, or places the picture there.
void TQuilloScreenForm::FormPaint(TObject*) {
    SetRandSeed(static_cast<std::uint32_t>(std::time(nullptr)));
    int x = Random((GetSystemMetrics(SM_CXSCREEN) + 1) / 2);
    int y = Random((GetSystemMetrics(SM_CYSCREEN) + 1) / 2);
    if (UserBitmap.Visible() || !TextSw) {
        if (y + UserBitmap.Height() > GetSystemMetrics(SM_CYSCREEN) ||
            x + UserBitmap.Width() > GetSystemMetrics(SM_CXSCREEN))
            UserBitmap.SetBounds(0, 0, UserBitmap.Width(), UserBitmap.Height());
        else
            UserBitmap.SetBounds(x, y, UserBitmap.Width(), UserBitmap.Height());
    }
    if (!TextSw)
        return;
    if (UserBitmap.Visible() && PictureSw)
        return;
    const std::string& one = (*TextLines)[0];
    const std::string& two = (*TextLines)[1];
    const std::string& three = (*TextLines)[2];
    if (one.empty())
        return;
    int h = Canvas.TextHeight(one);
    int rows = 1 + (two.empty() ? 0 : 1) + (three.empty() ? 0 : 1);
    Canvas.Brush.Color = clWhite;
    Canvas.Rectangle(x - 1, y - 1, x + TextBlockWidth + 1, y + rows * h + 1);
    Canvas.TextOut(x, y, one);
    if (!two.empty()) {
        y += h;
        Canvas.TextOut(x, y, two);
        h = Canvas.TextHeight(two);
    }
    y += h;
    if (!three.empty())
        Canvas.TextOut(x, y, three);
}

// A tick: alternates text and picture, moves on in the colour cycle, and repaints.
void TQuilloScreenForm::timerTimer(TObject*) {
    if (PictureSw && TextSw)
        UserBitmap.SetVisible(!UserBitmap.Visible());
    if (TextSw) {
        Canvas.Font.Color = ColorCycle[static_cast<std::size_t>(ColorIndex)];
        if (++ColorIndex == 9)
            ColorIndex = 0;
    }
    Invalidate();
}

// Plays the sound again each time it has ended, unless it is to play once.
void TQuilloScreenForm::WavePlayerNotify(TObject*) {
    if (!OnceOnlySw)
        WavePlayer.Play();
}

void TQuilloScreenForm::FormClick(TObject*) {
    Close();
}

// Ends the saver once the mouse has left the square of 10 pixels around where it rested.
void TQuilloScreenForm::FormMouseMove(TObject*, TShiftState, int x, int y) {
    int dx = x - StartCursorPos.X;
    int dy = y - StartCursorPos.Y;
    if (dx < -10 || dx > 10)
        Close();
    else if (dy < -10 || dy > 10)
        Close();
}

void TQuilloScreenForm::Dispatch(TMessage& message) {
    switch (message.Msg) {
    case WM_ACTIVATE:
        if (LOWORD(message.WParam) == WA_INACTIVE)
            Close();
        return;
    case WM_ACTIVATEAPP:
    case WM_NCACTIVATE:
        if (message.WParam == 0)
            Close();
        return;
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
        Close();
        return;
    case WM_SYSCOMMAND:
        if (message.WParam == SC_SCREENSAVE) {
            message.Result = 1;
            return;
        }
        break;
    case WM_RBUTTONDOWN:
        if (message.WParam & MK_RBUTTON) {
            Close();
            return;
        }
        break;
    case WM_MBUTTONDOWN:
        Close();
        return;
    default:
        break;
    }
    TForm::Dispatch(message);
}

// Frees what the constructor made.
void TQuilloScreenForm::FormDestroy(TObject*) {
    if (TextSw)
        TextLines.reset();
    Settings.reset();
}
