// Controls: the base of everything placed on a form, windowed or painted by its parent.
#pragma once

#include "classes.h"
#include "graphics.h"

#include <windows.h>

#include <string>
#include <vector>

class TWinControl;

// One window message on its way through a control's message map.
struct TMessage {
    UINT Msg;
    WPARAM WParam;
    LPARAM LParam;
    LRESULT Result;
};

// Notifications of a child window, reflected to the child as CN_BASE + the message. A
// control that does not take one sets Msg to CN_UNHANDLED, and the parent handles it.
constexpr UINT CN_BASE = 0xBC00;
constexpr UINT CN_UNHANDLED = 0xBFFF;
// Enter or Esc offered to a form's controls (WParam: VK_RETURN or VK_ESCAPE); the control
// that takes the key sets Result to 1.
constexpr UINT CM_DIALOGKEY = 0xB005;

class TControl : public TObject {
public:
    explicit TControl(TWinControl* parent);
    ~TControl() override;

    TWinControl* Parent() const { return parent_; }

    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetLeft(int left) { SetBounds(left, top_, width_, height_); }
    void SetTop(int top) { SetBounds(left_, top, width_, height_); }
    void SetWidth(int width) { SetBounds(left_, top_, width, height_); }
    void SetHeight(int height) { SetBounds(left_, top_, width_, height); }
    virtual void SetBounds(int left, int top, int width, int height);

    bool Visible() const { return visible_; }
    virtual void SetVisible(bool visible);

    // Asks for a repaint of the control's area, background included.
    virtual void Invalidate();

    // Draws a control that has no window of its own onto its parent's canvas.
    virtual void Paint(TCanvas&) {}
    virtual bool IsWindowed() const { return false; }

    RECT BoundsRect() const { return RECT{left_, top_, left_ + width_, top_ + height_}; }

private:
    TWinControl* parent_;
    int left_ = 0;
    int top_ = 0;
    int width_ = 0;
    int height_ = 0;
    bool visible_ = true;
};

// Window creation parameters, adjusted by a control before its window is made.
struct TCreateParams {
    std::string WinClassName;
    std::string Caption;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    int X = CW_USEDEFAULT;
    int Y = CW_USEDEFAULT;
    int Width = CW_USEDEFAULT;
    int Height = CW_USEDEFAULT;
    HWND WndParent = nullptr;
    // A system class (BUTTON, EDIT, ...) that is subclassed instead of registered.
    bool SystemClass = false;
};

class TWinControl : public TControl {
public:
    explicit TWinControl(TWinControl* parent);
    ~TWinControl() override;

    // The control's window, made on first use (its parent's first).
    HWND Handle();
    bool HandleAllocated() const { return handle_ != nullptr; }
    // Destroys the window (and its children's) while the object lives on.
    void DestroyHandle();

    void SetBounds(int left, int top, int width, int height) override;
    void SetVisible(bool visible) override;
    void Invalidate() override;
    bool IsWindowed() const override { return true; }

    const std::vector<TControl*>& Controls() const { return controls_; }
    // The control of ours that owns a window, or null.
    static TWinControl* FromHandle(HWND hwnd);

    // The message map; messages it does not take go to DefaultHandler.
    virtual void Dispatch(TMessage& message);
    void DefaultHandler(TMessage& message);

protected:
    virtual void CreateParams(TCreateParams& params);
    // Called once the window exists, before it is shown.
    virtual void CreateWnd() {}
    // Paints the controls without windows of their own, in their order.
    void PaintControls(TCanvas& canvas);

private:
    friend class TControl;
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    void Attach(HWND hwnd);
    void Detach();

    HWND handle_ = nullptr;
    WNDPROC systemProc_ = nullptr;
    std::vector<TControl*> controls_;
};

// A control without a window of its own.
class TGraphicControl : public TControl {
public:
    using TControl::TControl;
};
