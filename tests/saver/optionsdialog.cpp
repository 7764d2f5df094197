#include "optionsdialog.h"

#include <commctrl.h>

#include <vector>

namespace {

BOOL CALLBACK CollectEdit(HWND hwnd, LPARAM data) {
    if (ui::ClassOf(hwnd) == "Edit")
        reinterpret_cast<std::vector<HWND>*>(data)->push_back(hwnd);
    return TRUE;
}

} // namespace

OptionsDialog::OptionsDialog(const std::function<void(DWORD processId)>& beforeShown)
    : program_(ui::Process::Start(ui::DistFile("quillsav.scr"), "/c")) {
    if (beforeShown)
        beforeShown(program_.Id());
    window_ = ui::WaitForWindow("TConfigureForm", "", program_.Id(), 10000);
    if (!window_)
        return;
    // The dialog takes input once it is the active window of the desktop.
    SetForegroundWindow(window_);
    DWORD start = GetTickCount();
    while (GetForegroundWindow() != window_ && GetTickCount() - start < 5000)
        ui::Pump(20);
    ui::Pump(200);
}

OptionsDialog::~OptionsDialog() {
    if (program_.Running())
        program_.Kill();
}

HWND OptionsDialog::Edit(int line) const {
    std::vector<HWND> edits;
    EnumChildWindows(window_, &CollectEdit, reinterpret_cast<LPARAM>(&edits));
    return line < static_cast<int>(edits.size()) ? edits[static_cast<std::size_t>(line)] : nullptr;
}

HWND OptionsDialog::Control(const std::string& caption, HWND group) const {
    return ui::FindChild(group ? group : window_, "Button", caption);
}

HWND OptionsDialog::TrackBar() const {
    return ui::FindChild(window_, TRACKBAR_CLASSA, "");
}

bool OptionsDialog::Checked(const std::string& caption, HWND group) const {
    return SendMessageA(Control(caption, group), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

int OptionsDialog::Speed() const {
    return static_cast<int>(SendMessageA(TrackBar(), TBM_GETPOS, 0, 0));
}

void OptionsDialog::Press(const std::string& caption, HWND group) {
    // The button's own click: a press and release of the mouse on it.
    PostMessageA(Control(caption, group), BM_CLICK, 0, 0);
    ui::Pump(200);
}

void OptionsDialog::ChooseFile(HWND group, const std::string& dialogTitle,
                               const std::string& path) {
    Press("Choose...", group);
    HWND picker = ui::WaitForWindow("#32770", dialogTitle, program_.Id(), 10000);
    if (!picker)
        return;
    if (path.empty())
        ui::CancelDialog(picker);
    else
        ui::AnswerOpenDialog(picker, path);
}

bool OptionsDialog::Ended() {
    return program_.Wait(10000) == 0;
}
