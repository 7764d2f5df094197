// A hidden message-only window that hands its messages to a function.
#pragma once

#include "controls.h"

#include <functional>

class TUtilWindow {
public:
    // The handler sets Result; messages it leaves alone get the default answer.
    explicit TUtilWindow(std::function<void(TMessage&)> handler);
    TUtilWindow(const TUtilWindow&) = delete;
    TUtilWindow& operator=(const TUtilWindow&) = delete;
    ~TUtilWindow();

    HWND Handle() const { return hwnd_; }

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    std::function<void(TMessage&)> handler_;
    HWND hwnd_ = nullptr;
};
