#include "controls.h"

#include "forms.h"
#include "sysutils.h"

#include <algorithm>
#include <set>

namespace {

const char kObjectProp[] = "KorvaneControl";

// Registers a window class of ours once per name.
void RegisterOwnClass(const std::string& name, WNDPROC proc) {
    static std::set<std::string> registered;
    if (registered.count(name))
        return;
    WNDCLASSA wc{};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hIcon = LoadIconA(GetModuleHandleA(nullptr), "MAINICON");
    wc.lpszClassName = name.c_str();
    RegisterClassA(&wc);
    registered.insert(name);
}

TWinControl* ControlOf(HWND hwnd) {
    return static_cast<TWinControl*>(GetPropA(hwnd, kObjectProp));
}

} // namespace

TControl::TControl(TWinControl* parent) : parent_(parent) {
    if (parent_)
        parent_->controls_.push_back(this);
}

TControl::~TControl() {
    if (parent_) {
        auto& list = parent_->controls_;
        list.erase(std::remove(list.begin(), list.end(), this), list.end());
    }
}

void TControl::SetBounds(int left, int top, int width, int height) {
    if (left == left_ && top == top_ && width == width_ && height == height_)
        return;
    if (visible_)
        Invalidate();
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    if (visible_)
        Invalidate();
}

void TControl::SetVisible(bool visible) {
    if (visible == visible_)
        return;
    visible_ = visible;
    Invalidate();
}

void TControl::Invalidate() {
    if (parent_ && parent_->HandleAllocated()) {
        RECT area = BoundsRect();
        InvalidateRect(parent_->Handle(), &area, TRUE);
    }
}

TWinControl::TWinControl(TWinControl* parent) : TControl(parent) {}

TWinControl* TWinControl::FromHandle(HWND hwnd) {
    return hwnd ? ControlOf(hwnd) : nullptr;
}

TWinControl::~TWinControl() {
    DestroyHandle();
}

void TWinControl::CreateParams(TCreateParams& params) {
    params.WinClassName = "TWinControl";
    params.Style = WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    if (Parent())
        params.Style |= WS_CHILD;
    if (Visible() && Parent())
        params.Style |= WS_VISIBLE;
    params.X = Left();
    params.Y = Top();
    params.Width = Width();
    params.Height = Height();
    params.WndParent = Parent() ? Parent()->Handle() : nullptr;
}

HWND TWinControl::Handle() {
    if (handle_)
        return handle_;
    TCreateParams params;
    CreateParams(params);
    HINSTANCE instance = GetModuleHandleA(nullptr);
    if (params.SystemClass) {
        HWND hwnd =
            CreateWindowExA(params.ExStyle, params.WinClassName.c_str(), params.Caption.c_str(),
                            params.Style, params.X, params.Y, params.Width, params.Height,
                            params.WndParent, nullptr, instance, nullptr);
        if (hwnd)
            Attach(hwnd);
    } else {
        RegisterOwnClass(params.WinClassName, &TWinControl::WindowProc);
        CreateWindowExA(params.ExStyle, params.WinClassName.c_str(), params.Caption.c_str(),
                        params.Style, params.X, params.Y, params.Width, params.Height,
                        params.WndParent, nullptr, instance, this);
    }
    if (!handle_)
        throw Exception("Error creating window");
    for (TControl* child : controls_)
        if (child->IsWindowed())
            static_cast<TWinControl*>(child)->Handle();
    CreateWnd();
    return handle_;
}

void TWinControl::DestroyHandle() {
    if (handle_)
        DestroyWindow(handle_);
}

void TWinControl::Attach(HWND hwnd) {
    handle_ = hwnd;
    SetPropA(hwnd, kObjectProp, this);
    WNDPROC current = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(hwnd, GWLP_WNDPROC));
    if (current != &TWinControl::WindowProc) {
        systemProc_ = current;
        SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TWinControl::WindowProc));
    }
}

void TWinControl::Detach() {
    if (!handle_)
        return;
    RemovePropA(handle_, kObjectProp);
    if (systemProc_)
        SetWindowLongPtrA(handle_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(systemProc_));
    handle_ = nullptr;
    systemProc_ = nullptr;
}

LRESULT CALLBACK TWinControl::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    TWinControl* self = ControlOf(hwnd);
    if (!self && msg == WM_NCCREATE) {
        self = static_cast<TWinControl*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        if (self)
            self->Attach(hwnd);
    }
    if (!self)
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    TMessage message{msg, wParam, lParam, 0};
    // Errors never unwind through the system's frames: they are reported here.
    try {
        self->Dispatch(message);
    } catch (const Exception& error) {
        Application.ShowException(error);
    }
    if (msg == WM_NCDESTROY)
        self->Detach();
    return message.Result;
}

void TWinControl::DefaultHandler(TMessage& message) {
    message.Result =
        systemProc_
            ? CallWindowProcA(systemProc_, handle_, message.Msg, message.WParam, message.LParam)
            : DefWindowProcA(handle_, message.Msg, message.WParam, message.LParam);
}

void TWinControl::Dispatch(TMessage& message) {
    if (message.Msg == CM_DIALOGKEY)
        return; // ours alone: no window class knows it
    // Notifications from child windows go to the child's own message map.
    HWND child = nullptr;
    switch (message.Msg) {
    case WM_COMMAND:
        child = reinterpret_cast<HWND>(message.LParam);
        break;
    case WM_NOTIFY:
        child = reinterpret_cast<NMHDR*>(message.LParam)->hwndFrom;
        break;
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_DRAWITEM:
        child = message.Msg == WM_DRAWITEM
                    ? reinterpret_cast<DRAWITEMSTRUCT*>(message.LParam)->hwndItem
                    : reinterpret_cast<HWND>(message.LParam);
        break;
    default:
        break;
    }
    if (child && child != handle_) {
        if (TWinControl* control = ControlOf(child)) {
            TMessage reflected{CN_BASE + message.Msg, message.WParam, message.LParam, 0};
            control->Dispatch(reflected);
            if (reflected.Msg != CN_UNHANDLED) {
                message.Result = reflected.Result;
                return;
            }
        }
    }
    if (message.Msg >= CN_BASE && message.Msg < CN_BASE + 0x400) {
        message.Msg = CN_UNHANDLED;
        return;
    }
    DefaultHandler(message);
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
    TControl::SetBounds(left, top, width, height);
    if (handle_)
        SetWindowPos(handle_, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TWinControl::SetVisible(bool visible) {
    if (visible == Visible())
        return;
    TControl::SetVisible(visible);
    if (handle_ && Parent())
        ShowWindow(handle_, visible ? SW_SHOW : SW_HIDE);
}

void TWinControl::Invalidate() {
    if (handle_)
        InvalidateRect(handle_, nullptr, TRUE);
}

void TWinControl::PaintControls(TCanvas& canvas) {
    for (TControl* control : controls_)
        if (!control->IsWindowed() && control->Visible())
            control->Paint(canvas);
}
