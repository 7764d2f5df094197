#include "utilwindow.h"

#include "forms.h"

namespace {
const char kClassName[] = "TPUtilWindow";
}

TUtilWindow::TUtilWindow(std::function<void(TMessage&)> handler) : handler_(std::move(handler)) {
    static bool registered = false;
    HINSTANCE instance = GetModuleHandleA(nullptr);
    if (!registered) {
        WNDCLASSA wc{};
        wc.lpfnWndProc = &TUtilWindow::WindowProc;
        wc.hInstance = instance;
        wc.lpszClassName = kClassName;
        RegisterClassA(&wc);
        registered = true;
    }
    hwnd_ =
        CreateWindowExA(0, kClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr);
    SetWindowLongPtrA(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

TUtilWindow::~TUtilWindow() {
    SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
}

LRESULT CALLBACK TUtilWindow::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<TUtilWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!self)
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    TMessage message{msg, wParam, lParam, 0};
    bool handled = true;
    try {
        self->handler_(message);
    } catch (const Exception& error) {
        Application.ShowException(error);
    }
    if (message.Msg == CN_UNHANDLED)
        handled = false;
    return handled ? message.Result : DefWindowProcA(hwnd, msg, wParam, lParam);
}
