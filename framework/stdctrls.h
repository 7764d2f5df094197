// The standard controls over the system's window classes: labels, edits, group boxes, check
// boxes, radio buttons and push buttons.
#pragma once

#include "controls.h"
#include "forms.h"

#include <string>

enum TAlignment { taLeftJustify, taRightJustify, taCenter };

// A control over a system window class, with the form's font (or one of its own), an
// optional hint shown when the mouse rests on it, and a tab stop.
class TStdControl : public TWinControl {
public:
    explicit TStdControl(TWinControl* parent);

    TFont Font;
    // When true the control takes the font of its form and Font is not used.
    bool ParentFont = true;
    std::string Hint;
    bool TabStop = false;
    void SetTabStop(bool tabStop);

    // The form the control sits on, or null.
    TForm* ParentForm() const;
    // The font the control shows its text in.
    const TFont& ShownFont() const;

    void Dispatch(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;

private:
    int id_;
};

// A caption wider than its box widens the box (about its centre when centred, within the
// parent) instead of being wrapped.
class TLabel : public TStdControl {
public:
    explicit TLabel(TWinControl* parent);
    std::string Caption;
    TAlignment Alignment = taLeftJustify;

protected:
    void CreateParams(TCreateParams& params) override;

private:
    void FitCaption();
};

class TEdit : public TStdControl {
public:
    explicit TEdit(TWinControl* parent);
    std::string Text() const;
    void SetText(const std::string& text);

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;

private:
    std::string text_;
};

// A frame with a caption; the controls placed in it have it as their parent.
class TGroupBox : public TStdControl {
public:
    explicit TGroupBox(TWinControl* parent);
    std::string Caption;

    void Dispatch(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;
};

class TCheckBox : public TStdControl {
public:
    explicit TCheckBox(TWinControl* parent);
    std::string Caption;
    TNotifyEvent OnClick;
    bool Checked() const;
    void SetChecked(bool checked);

    void Dispatch(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;

private:
    bool checked_ = false;
};

// Radio buttons with the same parent exclude each other; only the selected one is a tab stop.
class TRadioButton : public TStdControl {
public:
    explicit TRadioButton(TWinControl* parent);
    std::string Caption;
    TNotifyEvent OnClick;
    bool Checked() const { return checked_; }
    void SetChecked(bool checked);

    void Dispatch(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;

private:
    bool checked_ = false;
};

class TButton : public TStdControl {
public:
    explicit TButton(TWinControl* parent);
    std::string Caption;
    // Enter presses the default button unless another button has the focus; Esc presses the
    // cancel button.
    bool Default = false;
    bool Cancel = false;
    // Set on the form when the button is pressed, which ends a modal showing.
    TModalResult ModalResult = mrNone;
    TNotifyEvent OnClick;

    // Presses the button from code, as a click does.
    virtual void Click();

    void Dispatch(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;
};
