// Entry of the screen saver: the command line picks the options dialog or the saver screen.
#include "forms.h"
#include "runmode.h"
#include "scrsavmain.h"
#include "setupdlg.h"

#include <windows.h>

namespace {

const char kTitle[] = "Quillo Screen Saver 97";
const char kHelpFile[] = "C:\\WINDOWS\\Quillsav.hlp";
const char kOptionsMutex[] = "QuillsavConfig";

void RunOptions() {
    // Creating the mutex is also the test: two dialogs started together cannot both open.
    HANDLE mutex = CreateMutexA(nullptr, TRUE, kOptionsMutex);
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        ShowMessage("The Quillo Screen Saver Options dialog is already open.  Press ALT + TAB "
                    "to get back to it.");
        return;
    }
    Application.Initialize();
    Application.Title = kTitle;
    Application.HelpFile = kHelpFile;
    Application.CreateForm<TConfigureForm>(nullptr);
    Application.Run();
    if (mutex)
        ReleaseMutex(mutex);
}

void RunSaver() {
    if (FindWindowA("TQuilloScreenForm", nullptr))
        return;
    Application.Initialize();
    Application.Title = kTitle;
    Application.CreateForm<TQuilloScreenForm>(nullptr);
    Application.Run();
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandTail, int) {
    try {
        switch (SelectRunMode(commandTail)) {
        case TRunMode::Options:
            RunOptions();
            break;
        case TRunMode::Saver:
            RunSaver();
            break;
        case TRunMode::None:
            break;
        }
    } catch (const Exception& error) {
        Application.ShowException(error);
    }
    return 0;
}
