#include "forms.h"

#include <windowsx.h>

TApplication Application;

std::string DefaultTitle(const std::string& programPath) {
    std::string name = ExtractFileName(programPath);
    std::string ext = ExtractFileExt(name);
    name = name.substr(0, name.size() - ext.size());
    if (name.empty())
        return name;
    return name.substr(0, 1) + LowerCase(name.substr(1));
}

TForm::TForm(const std::string& className, TForm* owner)
    : TWinControl(nullptr), className_(className), owner_(owner) {
    SetVisible(false);
}

TForm::~TForm() = default;

void TForm::AfterConstruction() {
    if (!OnCreate)
        return;
    try {
        OnCreate(this);
    } catch (const Exception& error) {
        Application.ShowException(error);
    }
}

void TForm::BeforeDestruction() {
    if (OnDestroy)
        OnDestroy(this);
    DestroyHandle();
}

void TForm::SetClientSize(int width, int height) {
    clientSizeSet_ = true;
    clientWidth_ = width;
    clientHeight_ = height;
    if (HandleAllocated()) {
        TCreateParams params;
        CreateParams(params);
        SetBounds(params.X, params.Y, params.Width, params.Height);
    }
}

int TForm::ClientWidth() {
    if (!HandleAllocated())
        return clientSizeSet_ ? clientWidth_ : Width();
    RECT area;
    GetClientRect(Handle(), &area);
    return area.right;
}

int TForm::ClientHeight() {
    if (!HandleAllocated())
        return clientSizeSet_ ? clientHeight_ : Height();
    RECT area;
    GetClientRect(Handle(), &area);
    return area.bottom;
}

void TForm::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.WinClassName = className_;
    params.Caption = Caption;
    params.Style = WS_CLIPCHILDREN;
    switch (BorderStyle) {
    case bsNone:
        params.Style |= WS_POPUP;
        break;
    case bsSingle:
        params.Style |= WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
        break;
    case bsSizeable:
        params.Style |= WS_OVERLAPPEDWINDOW;
        break;
    case bsDialog:
        params.Style |= WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
        params.ExStyle |= WS_EX_DLGMODALFRAME;
        break;
    }
    if (clientSizeSet_) {
        RECT frame{0, 0, clientWidth_, clientHeight_};
        AdjustWindowRectEx(&frame, params.Style, FALSE, params.ExStyle);
        params.Width = frame.right - frame.left;
        params.Height = frame.bottom - frame.top;
    }
    if (Position == poScreenCenter) {
        params.X = (GetSystemMetrics(SM_CXSCREEN) - params.Width) / 2;
        params.Y = (GetSystemMetrics(SM_CYSCREEN) - params.Height) / 2;
    }
    // The bounds used from now on are those the window is made with.
    TControl::SetBounds(params.X, params.Y, params.Width, params.Height);
    params.WndParent = owner_ ? owner_->Handle() : nullptr;
}

void TForm::Show() {
    HWND hwnd = Handle();
    if (OnShow) {
        try {
            OnShow(this);
        } catch (const Exception& error) {
            Application.ShowException(error);
        }
    }
    TControl::SetVisible(true);
    if (ActiveControl)
        savedFocus_ = ActiveControl->Handle();
    ShowWindow(hwnd, WindowState == wsMaximized ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
    UpdateWindow(hwnd);
    if (ActiveControl && GetActiveWindow() == hwnd)
        SetFocus(ActiveControl->Handle());
}

TModalResult TForm::ShowModal() {
    HWND ownerWindow = owner_ ? owner_->Handle() : nullptr;
    if (ownerWindow)
        EnableWindow(ownerWindow, FALSE);
    ModalResult = mrNone;
    inModal_ = true;
    Show();
    while (ModalResult == mrNone) {
        MSG msg;
        if (GetMessageA(&msg, nullptr, 0, 0) <= 0) {
            // The program is ending: leave the quit request for the outer loop.
            PostQuitMessage(static_cast<int>(msg.wParam));
            if (ModalResult == mrNone)
                ModalResult = mrCancel;
            break;
        }
        if (IsDialogKeyMessage(msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    inModal_ = false;
    if (ownerWindow)
        EnableWindow(ownerWindow, TRUE);
    if (HandleAllocated())
        ShowWindow(Handle(), SW_HIDE);
    TControl::SetVisible(false);
    if (ownerWindow)
        SetActiveWindow(ownerWindow);
    return ModalResult;
}

void TForm::Close() {
    if (inModal_)
        ModalResult = mrCancel;
    else if (this == Application.MainForm)
        Application.Terminate();
    else if (HandleAllocated()) {
        ShowWindow(Handle(), SW_HIDE);
        TControl::SetVisible(false);
    }
}

namespace {

void OfferDialogKey(TControl* control, TMessage& message) {
    if (!control->IsWindowed() || message.Result)
        return;
    auto* windowed = static_cast<TWinControl*>(control);
    if (!IsWindowEnabled(windowed->Handle()) || !IsWindowVisible(windowed->Handle()))
        return;
    windowed->Dispatch(message);
    for (TControl* child : windowed->Controls())
        OfferDialogKey(child, message);
}

} // namespace

void TForm::DialogKey(WPARAM key) {
    TMessage message{CM_DIALOGKEY, key, 0, 0};
    HWND focus = GetFocus();
    if (TWinControl* focused = focus && IsChild(Handle(), focus) ? FromHandle(focus) : nullptr)
        focused->Dispatch(message);
    for (TControl* child : Controls())
        OfferDialogKey(child, message);
}

void TForm::FocusNextControl(bool backwards) {
    HWND next = GetNextDlgTabItem(Handle(), GetFocus(), backwards);
    if (!next)
        return;
    SetFocus(next);
    if (SendMessageA(next, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL)
        SendMessageA(next, EM_SETSEL, 0, -1);
}

bool IsDialogKeyMessage(MSG& msg) {
    if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST || !msg.hwnd)
        return false;
    HWND root = GetAncestor(msg.hwnd, GA_ROOT);
    auto* form = dynamic_cast<TForm*>(TWinControl::FromHandle(root));
    return form && form->DialogKeys && IsDialogMessageA(root, &msg);
}

void TForm::EraseBackground(HDC dc) {
    RECT area;
    GetClientRect(Handle(), &area);
    HBRUSH brush = CreateSolidBrush(ColorToRGB(Color));
    FillRect(dc, &area, brush);
    DeleteObject(brush);
}

void TForm::Paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(Handle(), &ps);
    struct PaintEnd {
        TForm* form;
        PAINTSTRUCT* ps;
        ~PaintEnd() {
            form->Canvas.SetHandle(nullptr);
            EndPaint(form->Handle(), ps);
        }
    } end{this, &ps};
    Canvas.SetHandle(dc);
    if (OnPaint)
        OnPaint(this);
    PaintControls(Canvas);
}

void TForm::Dispatch(TMessage& message) {
    switch (message.Msg) {
    case WM_ERASEBKGND:
        EraseBackground(reinterpret_cast<HDC>(message.WParam));
        message.Result = 1;
        return;
    case WM_PAINT:
        Paint();
        return;
    case WM_SETCURSOR:
        if (Cursor == crNone && LOWORD(message.LParam) == HTCLIENT) {
            SetCursor(nullptr);
            message.Result = TRUE;
            return;
        }
        break;
    case WM_GETMINMAXINFO:
        // A borderless form maximises over the whole screen.
        if (BorderStyle == bsNone) {
            auto* info = reinterpret_cast<MINMAXINFO*>(message.LParam);
            info->ptMaxPosition = POINT{0, 0};
            info->ptMaxSize = POINT{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
            info->ptMaxTrackSize = info->ptMaxSize;
            return;
        }
        break;
    case WM_LBUTTONDOWN:
        leftButtonDown_ = true;
        SetCapture(Handle());
        break;
    case WM_LBUTTONUP:
        if (leftButtonDown_) {
            leftButtonDown_ = false;
            ReleaseCapture();
            RECT area;
            GetClientRect(Handle(), &area);
            POINT at{GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)};
            if (OnClick && PtInRect(&area, at))
                OnClick(this);
            return;
        }
        break;
    case WM_MOUSEMOVE:
        if (OnMouseMove)
            OnMouseMove(this, static_cast<TShiftState>(message.WParam),
                        GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam));
        return;
    case WM_CLOSE:
        Close();
        return;
    case WM_COMMAND:
        // Enter and Esc from the dialog keys come as IDOK and IDCANCEL without a control.
        if (DialogKeys && message.LParam == 0 &&
            (LOWORD(message.WParam) == IDOK || LOWORD(message.WParam) == IDCANCEL)) {
            DialogKey(LOWORD(message.WParam) == IDOK ? VK_RETURN : VK_ESCAPE);
            return;
        }
        break;
    case WM_NEXTDLGCTL:
        if (message.LParam)
            SetFocus(reinterpret_cast<HWND>(message.WParam));
        else
            FocusNextControl(message.WParam != 0);
        return;
    case WM_ACTIVATE:
        // The focus leaves with the form and comes back to the same control.
        if (LOWORD(message.WParam) == WA_INACTIVE) {
            HWND focus = GetFocus();
            if (focus && IsChild(Handle(), focus))
                savedFocus_ = focus;
        } else if (savedFocus_ && IsWindow(savedFocus_) && IsChild(Handle(), savedFocus_)) {
            SetFocus(savedFocus_);
            return;
        }
        break;
    default:
        break;
    }
    TWinControl::Dispatch(message);
}

TApplication::TApplication() {
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    Title = DefaultTitle(path);
}

bool TApplication::HandleMessage(MSG& msg) {
    if (msg.message == WM_QUIT) {
        terminated_ = true;
        return false;
    }
    if (IsDialogKeyMessage(msg))
        return true;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
    return true;
}

void TApplication::Run() {
    if (MainForm && !terminated_)
        MainForm->Show();
    MSG msg;
    while (!terminated_) {
        if (GetMessageA(&msg, nullptr, 0, 0) <= 0) {
            terminated_ = true;
            break;
        }
        HandleMessage(msg);
    }
    // The forms go in the reverse order of their creation.
    while (!forms_.empty())
        forms_.pop_back();
    MainForm = nullptr;
}

void TApplication::Terminate() {
    if (terminated_)
        return;
    terminated_ = true;
    PostQuitMessage(0);
}

void TApplication::ProcessMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        if (!HandleMessage(msg))
            break;
}

HWND TApplication::Handle() {
    if (handle_ && IsWindow(handle_))
        return handle_;
    const char className[] = "TApplication";
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = className;
    RegisterClassA(&wc);
    handle_ = CreateWindowExA(WS_EX_TOOLWINDOW, className, Title.c_str(), WS_POPUP | WS_VISIBLE, 0,
                              0, 0, 0, nullptr, nullptr, wc.hInstance, nullptr);
    return handle_;
}

void TApplication::ShowException(const Exception& error) {
    HWND owner = GetActiveWindow();
    if (!owner)
        owner = Handle();
    MessageBoxA(owner, WithFullStop(error.Message()).c_str(), Title.c_str(), MB_OK | MB_ICONSTOP);
}

void ShowMessage(const std::string& text) {
    MessageBoxA(GetActiveWindow(), text.c_str(), Application.Title.c_str(), MB_OK);
}
