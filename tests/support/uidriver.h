// Drives real windows the way a user does, in this process or another one.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace ui {

// A program started as a process of its own.
class Process {
public:
    Process() = default;
    Process(Process&& other) noexcept;
    Process& operator=(Process&& other) noexcept;
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    ~Process(); // ends a process that is still running

    // Starts the program with the command-line tail; the folder is the current one.
    static Process Start(const std::string& program, const std::string& arguments);

    DWORD Id() const { return id_; }
    bool Running() const;
    // The exit code, or -1 when the process has not ended within the time.
    long Wait(DWORD timeoutMs);
    void Kill();

private:
    HANDLE handle_ = nullptr;
    DWORD id_ = 0;
};

// Path of a file of the built distribution folder (quillsav.scr, ...).
std::string DistFile(const std::string& name);
// A folder of its own for one test's files, made empty.
std::string ScratchFolder(const std::string& name);

// Waits for a visible top-level window by class and/or caption (either may be empty); with a
// process id, only that process's windows count. Returns null after the time.
HWND WaitForWindow(const std::string& className, const std::string& caption, DWORD processId,
                   DWORD timeoutMs);
// True when no such window shows up within the time.
bool NoWindowFor(const std::string& className, DWORD processId, DWORD timeMs);
std::string ClassOf(HWND hwnd);
std::string TextOf(HWND hwnd);
DWORD ProcessOf(HWND hwnd);

enum class Icon { None, Stop, Warning, Information, Question };

struct MessageBoxInfo {
    HWND Window = nullptr;
    std::string Caption;
    std::string Text;
    Icon Kind = Icon::None;
    std::vector<std::string> Buttons;
};

// Waits for a message box (of one process, or of any with 0) and reads it.
bool WaitForMessageBox(DWORD processId, DWORD timeoutMs, MessageBoxInfo& info);
// Presses the box's button with that caption (without "&").
void PressButton(HWND box, const std::string& caption);
// Reads a box, then presses its first button.
MessageBoxInfo AnswerMessageBox(DWORD processId, DWORD timeoutMs);

// Types a path into a file dialog's name field and presses its Open button; waits until the
// dialog has gone.
void AnswerOpenDialog(HWND dialog, const std::string& path);
// Presses a dialog's Cancel button and waits until it has gone.
void CancelDialog(HWND dialog);
// Waits until a window has gone; false after the time.
bool WaitUntilGone(HWND hwnd, DWORD timeoutMs);

// Finds a child control by its text (without "&") or, with an empty text, by class.
HWND FindChild(HWND parent, const std::string& className, const std::string& text);
// Clicks a control with the left mouse button at its centre.
void Click(HWND control);
// Presses and releases a key (virtual-key code).
void PressKey(WORD vk);
void KeyDown(WORD vk);
void KeyUp(WORD vk);
// Moves the mouse to a screen point.
void MoveMouse(int x, int y);
POINT CursorPos();
void MouseButton(DWORD downFlag, DWORD upFlag);
// Lets the windows of this process handle what is queued for a while.
void Pump(DWORD timeMs);

// A 24-bit picture read back from a capture.
class Bitmap {
public:
    int Width() const { return width_; }
    int Height() const { return height_; }
    // 0x00RRGGBB
    unsigned Pixel(int x, int y) const;
    bool Load(const std::string& path);
    bool Save(const std::string& path) const;
    // Number of pixels of a colour inside a rectangle.
    int Count(unsigned rgb, const RECT& area) const;
    // Bounding box of every pixel that is not the given colour; empty when there is none.
    RECT BoundsOfOther(unsigned rgb) const;

    static Bitmap FromPixels(int width, int height, std::vector<unsigned> pixels);

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<unsigned> pixels_;
};

// What the screen shows now, and what a window shows (its whole area, frame included).
Bitmap CaptureScreen();
Bitmap CaptureWindow(HWND hwnd);
Bitmap CaptureArea(const RECT& screenArea);
// The pixels of an area of a device context.
Bitmap ReadDC(HDC source, int x, int y, int width, int height);

} // namespace ui
