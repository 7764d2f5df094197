#include "stdctrls.h"

#include <commctrl.h>

namespace {

const char kHintProp[] = "KorvaneHints";

// Control ids: unique, and never IDOK or IDCANCEL, which stand for Enter and Esc.
int NextControlId() {
    static int next = 1000;
    return next++;
}

// The tooltip window of a form, made on first use; the form owns it.
HWND HintWindowOf(HWND form) {
    if (HWND existing = static_cast<HWND>(GetPropA(form, kHintProp)))
        return existing;
    static bool initialised = false;
    if (!initialised) {
        INITCOMMONCONTROLSEX classes{sizeof classes, ICC_WIN95_CLASSES};
        InitCommonControlsEx(&classes);
        initialised = true;
    }
    HWND tips = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, form,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
    SetPropA(form, kHintProp, tips);
    return tips;
}

void AddHint(HWND control, const std::string& hint) {
    HWND form = GetAncestor(control, GA_ROOT);
    HWND tips = HintWindowOf(form);
    if (!tips)
        return;
    TOOLINFOA tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = form;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = const_cast<char*>(hint.c_str());
    SendMessageA(tips, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

void SetCheck(HWND button, bool checked) {
    SendMessageA(button, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool IsClick(const TMessage& message) {
    return message.Msg == CN_BASE + WM_COMMAND && HIWORD(message.WParam) == BN_CLICKED;
}

} // namespace

TStdControl::TStdControl(TWinControl* parent) : TWinControl(parent), id_(NextControlId()) {}

TForm* TStdControl::ParentForm() const {
    TWinControl* at = Parent();
    while (at && at->Parent())
        at = at->Parent();
    return dynamic_cast<TForm*>(at);
}

void TStdControl::SetTabStop(bool tabStop) {
    TabStop = tabStop;
    if (!HandleAllocated())
        return;
    LONG style = GetWindowLongA(Handle(), GWL_STYLE);
    style = tabStop ? (style | WS_TABSTOP) : (style & ~WS_TABSTOP);
    SetWindowLongA(Handle(), GWL_STYLE, style);
}

void TStdControl::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.SystemClass = true;
    if (TabStop)
        params.Style |= WS_TABSTOP;
}

const TFont& TStdControl::ShownFont() const {
    const TForm* form = ParentForm();
    return ParentFont && form ? form->Font : Font;
}

void TStdControl::CreateWnd() {
    SetWindowLongPtrA(Handle(), GWLP_ID, id_);
    SendMessageA(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(ShownFont().Handle()), FALSE);
    if (!Hint.empty())
        AddHint(Handle(), Hint);
}

void TStdControl::Dispatch(TMessage& message) {
    // Text on the face colour, in the font's colour.
    if (message.Msg == CN_BASE + WM_CTLCOLORSTATIC || message.Msg == CN_BASE + WM_CTLCOLORBTN) {
        HDC dc = reinterpret_cast<HDC>(message.WParam);
        SetTextColor(dc, ColorToRGB(ShownFont().Color));
        SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
        message.Result = reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
        return;
    }
    TWinControl::Dispatch(message);
}

TLabel::TLabel(TWinControl* parent) : TStdControl(parent) {}

void TLabel::FitCaption() {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, ShownFont().Handle());
    RECT size{0, 0, 0, 0};
    DrawTextA(dc, Caption.c_str(), -1, &size, DT_CALCRECT | DT_SINGLELINE);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    int wanted = size.right - size.left;
    if (wanted <= Width())
        return;
    int left = Left();
    if (Alignment == taCenter)
        left -= (wanted - Width()) / 2;
    else if (Alignment == taRightJustify)
        left -= wanted - Width();
    int room = 0;
    if (auto* form = dynamic_cast<TForm*>(Parent()))
        room = form->ClientWidth();
    else if (Parent())
        room = Parent()->Width();
    if (room && left + wanted > room)
        left = room - wanted;
    TControl::SetBounds(left < 0 ? 0 : left, Top(), wanted, Height());
}

void TLabel::CreateParams(TCreateParams& params) {
    FitCaption();
    TStdControl::CreateParams(params);
    params.WinClassName = "STATIC";
    params.Caption = Caption;
    switch (Alignment) {
    case taLeftJustify:
        params.Style |= SS_LEFT;
        break;
    case taRightJustify:
        params.Style |= SS_RIGHT;
        break;
    case taCenter:
        params.Style |= SS_CENTER;
        break;
    }
}

TEdit::TEdit(TWinControl* parent) : TStdControl(parent) {
    TabStop = true;
}

void TEdit::CreateParams(TCreateParams& params) {
    TStdControl::CreateParams(params);
    params.WinClassName = "EDIT";
    params.Style |= ES_AUTOHSCROLL;
    params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TEdit::CreateWnd() {
    TStdControl::CreateWnd();
    // An edit holds 30,000 characters unless told otherwise.
    SendMessageA(Handle(), EM_SETLIMITTEXT, 0, 0);
    SetWindowTextA(Handle(), text_.c_str());
}

std::string TEdit::Text() const {
    if (!HandleAllocated())
        return text_;
    HWND hwnd = const_cast<TEdit*>(this)->Handle();
    std::string text(static_cast<std::size_t>(GetWindowTextLengthA(hwnd)) + 1, '\0');
    int length = GetWindowTextA(hwnd, text.data(), static_cast<int>(text.size()));
    text.resize(static_cast<std::size_t>(length));
    return text;
}

void TEdit::SetText(const std::string& text) {
    text_ = text;
    if (HandleAllocated())
        SetWindowTextA(Handle(), text.c_str());
}

TGroupBox::TGroupBox(TWinControl* parent) : TStdControl(parent) {}

void TGroupBox::CreateParams(TCreateParams& params) {
    TStdControl::CreateParams(params);
    params.WinClassName = "BUTTON";
    params.Caption = Caption;
    params.Style |= BS_GROUPBOX;
    // Tab moves on into the controls placed in the box.
    params.ExStyle |= WS_EX_CONTROLPARENT;
}

void TGroupBox::Dispatch(TMessage& message) {
    if (message.Msg == WM_ERASEBKGND) {
        RECT area;
        GetClientRect(Handle(), &area);
        FillRect(reinterpret_cast<HDC>(message.WParam), &area, GetSysColorBrush(COLOR_BTNFACE));
        message.Result = 1;
        return;
    }
    TStdControl::Dispatch(message);
}

TCheckBox::TCheckBox(TWinControl* parent) : TStdControl(parent) {
    TabStop = true;
}

void TCheckBox::CreateParams(TCreateParams& params) {
    TStdControl::CreateParams(params);
    params.WinClassName = "BUTTON";
    params.Caption = Caption;
    params.Style |= BS_AUTOCHECKBOX;
}

void TCheckBox::CreateWnd() {
    TStdControl::CreateWnd();
    SetCheck(Handle(), checked_);
}

bool TCheckBox::Checked() const {
    if (!HandleAllocated())
        return checked_;
    return SendMessageA(const_cast<TCheckBox*>(this)->Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void TCheckBox::SetChecked(bool checked) {
    checked_ = checked;
    if (HandleAllocated())
        SetCheck(Handle(), checked);
}

void TCheckBox::Dispatch(TMessage& message) {
    if (IsClick(message)) {
        checked_ = Checked();
        if (OnClick)
            OnClick(this);
        return;
    }
    TStdControl::Dispatch(message);
}

TRadioButton::TRadioButton(TWinControl* parent) : TStdControl(parent) {}

void TRadioButton::CreateParams(TCreateParams& params) {
    TStdControl::CreateParams(params);
    params.WinClassName = "BUTTON";
    params.Caption = Caption;
    params.Style |= BS_RADIOBUTTON;
}

void TRadioButton::CreateWnd() {
    TStdControl::CreateWnd();
    SetCheck(Handle(), checked_);
}

void TRadioButton::SetChecked(bool checked) {
    checked_ = checked;
    SetTabStop(checked);
    if (HandleAllocated())
        SetCheck(Handle(), checked);
    if (!checked || !Parent())
        return;
    for (TControl* sibling : Parent()->Controls())
        if (auto* other = dynamic_cast<TRadioButton*>(sibling); other && other != this)
            if (other->checked_)
                other->SetChecked(false);
}

void TRadioButton::Dispatch(TMessage& message) {
    if (IsClick(message)) {
        SetChecked(true);
        if (OnClick)
            OnClick(this);
        return;
    }
    // The arrow keys move the focus within the group; the focused button is selected.
    if (message.Msg == WM_SETFOCUS && !checked_ && (GetKeyState(VK_LBUTTON) & 0x8000) == 0) {
        TStdControl::Dispatch(message);
        SetChecked(true);
        if (OnClick)
            OnClick(this);
        return;
    }
    TStdControl::Dispatch(message);
}

TButton::TButton(TWinControl* parent) : TStdControl(parent) {
    TabStop = true;
}

void TButton::CreateParams(TCreateParams& params) {
    TStdControl::CreateParams(params);
    params.WinClassName = "BUTTON";
    params.Caption = Caption;
    params.Style |= Default ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
}

void TButton::Click() {
    if (ModalResult != mrNone)
        if (TForm* form = ParentForm())
            form->ModalResult = ModalResult;
    if (OnClick)
        OnClick(this);
}

void TButton::Dispatch(TMessage& message) {
    if (IsClick(message)) {
        Click();
        return;
    }
    if (message.Msg == CM_DIALOGKEY) {
        bool focused = HandleAllocated() && GetFocus() == Handle();
        if ((message.WParam == VK_RETURN && (Default || focused)) ||
            (message.WParam == VK_ESCAPE && Cancel)) {
            message.Result = 1;
            Click();
        }
        return;
    }
    TStdControl::Dispatch(message);
}
