// Forms, the application object and its message loop.
#pragma once

#include "controls.h"
#include "sysutils.h"

#include <memory>
#include <string>
#include <vector>

enum TBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog };
enum TWindowState { wsNormal, wsMinimized, wsMaximized };
enum TPosition { poDesigned, poScreenCenter };
enum TCursor { crDefault, crNone };

using TModalResult = int;
constexpr TModalResult mrNone = 0;
constexpr TModalResult mrOk = IDOK;
constexpr TModalResult mrCancel = IDCANCEL;

class TForm : public TWinControl {
public:
    // The window class name is the form's class name, as other programs look it up by it.
    TForm(const std::string& className, TForm* owner);
    ~TForm() override;

    TForm* Owner() const { return owner_; }
    const std::string& ClassName() const { return className_; }

    std::string Caption;
    TColor Color = clBtnFace;
    TBorderStyle BorderStyle = bsSizeable;
    TWindowState WindowState = wsNormal;
    TPosition Position = poDesigned;
    TCursor Cursor = crDefault;

    TCanvas Canvas;
    // The font of the form's controls.
    TFont Font;
    // Tab, Enter, Esc and the arrow keys move between the controls and press the default and
    // cancel buttons, as in a dialog; a form without it sees every key itself.
    bool DialogKeys = false;
    // The control that gets the focus when the form is shown.
    TWinControl* ActiveControl = nullptr;

    TNotifyEvent OnCreate;
    TNotifyEvent OnShow;
    TNotifyEvent OnPaint;
    TNotifyEvent OnDestroy;
    TNotifyEvent OnClick;
    TMouseMoveEvent OnMouseMove;

    // Sizes the window so that its client area has this size.
    void SetClientSize(int width, int height);
    int ClientWidth();
    int ClientHeight();

    // Runs the show handler, then makes the window visible.
    void Show();
    // Shows the form and runs the message loop until its modal result is set.
    TModalResult ShowModal();
    TModalResult ModalResult = mrNone;
    // The close request: ends the program for the main form, a modal showing for a dialog,
    // and hides any other form.
    void Close();

    // Called by the creator once the constructor has run: runs the create handler.
    void AfterConstruction();
    // Called by the destroyer before the object goes: runs the destroy handler and destroys
    // the window, so that no message reaches a half-destroyed form.
    void BeforeDestruction();

    void Dispatch(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;

private:
    void Paint();
    void EraseBackground(HDC dc);
    // Offers Enter or Esc to the focused control, then to all the others.
    void DialogKey(WPARAM key);
    void FocusNextControl(bool backwards);

    std::string className_;
    TForm* owner_;
    bool clientSizeSet_ = false;
    int clientWidth_ = 0;
    int clientHeight_ = 0;
    bool leftButtonDown_ = false;
    bool inModal_ = false;
    HWND savedFocus_ = nullptr;
};

// Lets a form with dialog keys take a keyboard message; true when it was handled.
bool IsDialogKeyMessage(MSG& msg);

// Destroys a form the way the application does: destroy handler first.
struct TFormDeleter {
    void operator()(TForm* form) const {
        form->BeforeDestruction();
        delete form;
    }
};
template <class T> using TFormPtr = std::unique_ptr<T, TFormDeleter>;

class TApplication {
public:
    TApplication();

    std::string Title;
    std::string HelpFile;
    TForm* MainForm = nullptr;

    void Initialize() {}
    // Creates a form owned by the application; the first one becomes the main form.
    template <class T, class... Args> T* CreateForm(Args&&... args) {
        std::unique_ptr<T> form(new T(std::forward<Args>(args)...));
        form->AfterConstruction();
        T* raw = form.get();
        forms_.push_back(TFormPtr<TForm>(form.release()));
        if (!MainForm)
            MainForm = raw;
        return raw;
    }
    // Shows the main form and runs the message loop until Terminate; then destroys the forms.
    void Run();
    void Terminate();
    bool Terminated() const { return terminated_; }
    // Handles every message waiting in the queue, then returns.
    void ProcessMessages();
    // The error box: the message with a full stop, the stop icon, the title as caption.
    void ShowException(const Exception& error);
    // A visible window without size that owns boxes shown while none of the program's windows
    // is active, so that closing such a box gives the activation back to the program.
    HWND Handle();

private:
    bool HandleMessage(MSG& msg);

    bool terminated_ = false;
    HWND handle_ = nullptr;
    std::vector<TFormPtr<TForm>> forms_;
};

extern TApplication Application;

// A message box with the text, one OK button, no icon and the application title.
void ShowMessage(const std::string& text);

// The title derived from a program file name: no folder, no extension, the first character
// unchanged and the rest in lower case.
std::string DefaultTitle(const std::string& programPath);
