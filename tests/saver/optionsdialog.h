// The options dialog of a started "quillsav.scr /c", and its controls as a user finds them.
#pragma once

#include "uidriver.h"

#include <windows.h>

#include <functional>
#include <string>

class OptionsDialog {
public:
    // Starts the options mode and waits for its dialog; Window() is null when none came. A
    // step given runs after the start, before the dialog is looked for.
    explicit OptionsDialog(const std::function<void(DWORD processId)>& beforeShown = {});
    ~OptionsDialog(); // ends the program if it still runs

    HWND Window() const { return window_; }
    ui::Process& Program() { return program_; }
    DWORD Id() const { return program_.Id(); }

    // The three text lines, top to bottom (0 to 2).
    HWND Edit(int line) const;
    HWND SoundGroup() const { return ui::FindChild(window_, "Button", "Sound"); }
    HWND DisplayGroup() const { return ui::FindChild(window_, "Button", "Display Options"); }
    HWND SpeedGroup() const { return ui::FindChild(window_, "Button", "Speed"); }
    // A button or switch by its caption (without "&"), inside a group when one is given.
    HWND Control(const std::string& caption, HWND group = nullptr) const;
    HWND TrackBar() const;

    std::string Text(int line) const { return ui::TextOf(Edit(line)); }
    bool Checked(const std::string& caption, HWND group = nullptr) const;
    int Speed() const;

    // Clicks a button and lets the program take it.
    void Press(const std::string& caption, HWND group = nullptr);
    // Picks a file in the open dialog that a Choose... button shows (empty path: cancel).
    void ChooseFile(HWND group, const std::string& dialogTitle, const std::string& path);
    // Waits for the program to end with 0.
    bool Ended();

private:
    ui::Process program_;
    HWND window_ = nullptr;
};
