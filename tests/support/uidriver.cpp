#include "uidriver.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

namespace ui {

namespace {

std::string StripAmpersand(std::string text) {
    text.erase(std::remove(text.begin(), text.end(), '&'), text.end());
    return text;
}

struct WindowQuery {
    std::string className;
    std::string caption;
    DWORD processId;
    HWND found;
};

BOOL CALLBACK MatchTopLevel(HWND hwnd, LPARAM data) {
    auto* query = reinterpret_cast<WindowQuery*>(data);
    if (!IsWindowVisible(hwnd))
        return TRUE;
    if (query->processId && ProcessOf(hwnd) != query->processId)
        return TRUE;
    if (!query->className.empty() && ClassOf(hwnd) != query->className)
        return TRUE;
    if (!query->caption.empty() && TextOf(hwnd) != query->caption)
        return TRUE;
    query->found = hwnd;
    return FALSE;
}

HWND FindTopLevel(const std::string& className, const std::string& caption, DWORD processId) {
    WindowQuery query{className, caption, processId, nullptr};
    EnumWindows(&MatchTopLevel, reinterpret_cast<LPARAM>(&query));
    return query.found;
}

struct ChildQuery {
    std::string className;
    std::string text;
    HWND found;
};

BOOL CALLBACK MatchChild(HWND hwnd, LPARAM data) {
    auto* query = reinterpret_cast<ChildQuery*>(data);
    if (!query->className.empty() && ClassOf(hwnd) != query->className)
        return TRUE;
    if (!query->text.empty() && StripAmpersand(TextOf(hwnd)) != query->text)
        return TRUE;
    query->found = hwnd;
    return FALSE;
}

void SendMouse(DWORD flags) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    SendInput(1, &input, sizeof input);
}

void SendKey(WORD vk, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &input, sizeof input);
}

// The picture of a system icon as drawn on a ground colour.
Bitmap DrawIconOn(HICON icon, int width, int height, COLORREF ground,
                  Bitmap (*capture)(HDC, int, int)) {
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(dc, bitmap);
    HBRUSH brush = CreateSolidBrush(ground);
    RECT all{0, 0, width, height};
    FillRect(dc, &all, brush);
    DeleteObject(brush);
    DrawIcon(dc, 0, 0, icon);
    Bitmap result = capture(dc, width, height);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return result;
}

} // namespace

// Reads the pixels of a device context's area into a bitmap.
Bitmap ReadDC(HDC source, int x, int y, int width, int height) {
    Bitmap result;
    HDC dc = CreateCompatibleDC(source);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP section = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, section);
    BitBlt(dc, 0, 0, width, height, source, x, y, SRCCOPY);
    GdiFlush();
    std::vector<unsigned> pixels(static_cast<std::size_t>(width) * height);
    const unsigned* raw = static_cast<const unsigned*>(bits);
    for (std::size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = raw[i] & 0xFFFFFF;
    SelectObject(dc, old);
    DeleteObject(section);
    DeleteDC(dc);
    return Bitmap::FromPixels(width, height, std::move(pixels));
}

Process::Process(Process&& other) noexcept {
    *this = std::move(other);
}

Process& Process::operator=(Process&& other) noexcept {
    std::swap(handle_, other.handle_);
    std::swap(id_, other.id_);
    return *this;
}

Process::~Process() {
    if (!handle_)
        return;
    if (Running())
        Kill();
    CloseHandle(handle_);
}

Process Process::Start(const std::string& program, const std::string& arguments) {
    std::string commandLine = "\"" + program + "\"";
    if (!arguments.empty())
        commandLine += " " + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    Process process;
    if (CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                       nullptr, &startup, &info)) {
        CloseHandle(info.hThread);
        process.handle_ = info.hProcess;
        process.id_ = info.dwProcessId;
    }
    return process;
}

bool Process::Running() const {
    return handle_ && WaitForSingleObject(handle_, 0) == WAIT_TIMEOUT;
}

long Process::Wait(DWORD timeoutMs) {
    if (!handle_ || WaitForSingleObject(handle_, timeoutMs) != WAIT_OBJECT_0)
        return -1;
    DWORD code = 0;
    GetExitCodeProcess(handle_, &code);
    return static_cast<long>(code);
}

void Process::Kill() {
    if (!handle_)
        return;
    TerminateProcess(handle_, 99);
    WaitForSingleObject(handle_, 5000);
}

std::string DistFile(const std::string& name) {
    std::string path = "Z:" KORVANE_DIST_DIR "/" + name;
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

std::string ScratchFolder(const std::string& name) {
    std::string path = "Z:" KORVANE_SCRATCH_DIR "/" + name;
    std::replace(path.begin(), path.end(), '/', '\\');
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
    std::filesystem::create_directories(path, ignored);
    return path;
}

std::string ClassOf(HWND hwnd) {
    char name[256] = "";
    GetClassNameA(hwnd, name, sizeof name);
    return name;
}

std::string TextOf(HWND hwnd) {
    int length = static_cast<int>(SendMessageA(hwnd, WM_GETTEXTLENGTH, 0, 0));
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    SendMessageA(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(std::char_traits<char>::length(text.c_str()));
    return text;
}

DWORD ProcessOf(HWND hwnd) {
    DWORD id = 0;
    GetWindowThreadProcessId(hwnd, &id);
    return id;
}

HWND WaitForWindow(const std::string& className, const std::string& caption, DWORD processId,
                   DWORD timeoutMs) {
    DWORD start = GetTickCount();
    for (;;) {
        if (HWND found = FindTopLevel(className, caption, processId))
            return found;
        if (GetTickCount() - start >= timeoutMs)
            return nullptr;
        Pump(20);
    }
}

bool NoWindowFor(const std::string& className, DWORD processId, DWORD timeMs) {
    return WaitForWindow(className, "", processId, timeMs) == nullptr;
}

HWND FindChild(HWND parent, const std::string& className, const std::string& text) {
    ChildQuery query{className, text, nullptr};
    EnumChildWindows(parent, &MatchChild, reinterpret_cast<LPARAM>(&query));
    return query.found;
}

namespace {

BOOL CALLBACK CollectButton(HWND hwnd, LPARAM data) {
    if (ClassOf(hwnd) == "Button" && IsWindowVisible(hwnd))
        reinterpret_cast<std::vector<std::string>*>(data)->push_back(StripAmpersand(TextOf(hwnd)));
    return TRUE;
}

BOOL CALLBACK FindIconStatic(HWND hwnd, LPARAM data) {
    if (ClassOf(hwnd) == "Static" && (GetWindowLongA(hwnd, GWL_STYLE) & SS_TYPEMASK) == SS_ICON &&
        IsWindowVisible(hwnd)) {
        *reinterpret_cast<HWND*>(data) = hwnd;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK FindTextStatic(HWND hwnd, LPARAM data) {
    if (ClassOf(hwnd) == "Static" && (GetWindowLongA(hwnd, GWL_STYLE) & SS_TYPEMASK) != SS_ICON &&
        !TextOf(hwnd).empty()) {
        *reinterpret_cast<HWND*>(data) = hwnd;
        return FALSE;
    }
    return TRUE;
}

Bitmap CaptureMemory(HDC dc, int width, int height) {
    return ReadDC(dc, 0, 0, width, height);
}

// Which system icon a message box shows, told by comparing the pixels with each candidate.
Icon IconOfBox(HWND box) {
    HWND iconStatic = nullptr;
    EnumChildWindows(box, &FindIconStatic, reinterpret_cast<LPARAM>(&iconStatic));
    if (!iconStatic || !SendMessageA(iconStatic, STM_GETICON, 0, 0))
        return Icon::None;
    RECT area;
    GetWindowRect(iconStatic, &area);
    int width = std::min<int>(area.right - area.left, GetSystemMetrics(SM_CXICON));
    int height = std::min<int>(area.bottom - area.top, GetSystemMetrics(SM_CYICON));
    Bitmap shown = CaptureArea(RECT{area.left, area.top, area.left + width, area.top + height});
    const struct {
        LPCSTR id;
        Icon kind;
    } candidates[] = {{IDI_HAND, Icon::Stop},
                      {IDI_EXCLAMATION, Icon::Warning},
                      {IDI_ASTERISK, Icon::Information},
                      {IDI_QUESTION, Icon::Question}};
    Icon best = Icon::None;
    int bestScore = -1;
    for (const auto& candidate : candidates) {
        HICON icon = LoadIconA(nullptr, candidate.id);
        Bitmap onBlack = DrawIconOn(icon, width, height, RGB(0, 0, 0), &CaptureMemory);
        Bitmap onWhite = DrawIconOn(icon, width, height, RGB(255, 255, 255), &CaptureMemory);
        int score = 0;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                if (onBlack.Pixel(x, y) == onWhite.Pixel(x, y) &&
                    onBlack.Pixel(x, y) == shown.Pixel(x, y))
                    ++score;
        if (score > bestScore) {
            bestScore = score;
            best = candidate.kind;
        }
    }
    return best;
}

} // namespace

bool WaitForMessageBox(DWORD processId, DWORD timeoutMs, MessageBoxInfo& info) {
    HWND box = WaitForWindow("#32770", "", processId, timeoutMs);
    if (!box)
        return false;
    Pump(100); // let it paint before its icon is read
    info.Window = box;
    info.Caption = TextOf(box);
    HWND textStatic = nullptr;
    EnumChildWindows(box, &FindTextStatic, reinterpret_cast<LPARAM>(&textStatic));
    info.Text = textStatic ? TextOf(textStatic) : std::string();
    info.Buttons.clear();
    EnumChildWindows(box, &CollectButton, reinterpret_cast<LPARAM>(&info.Buttons));
    info.Kind = IconOfBox(box);
    return true;
}

void PressButton(HWND box, const std::string& caption) {
    HWND button = FindChild(box, "Button", caption);
    if (button)
        PostMessageA(button, BM_CLICK, 0, 0);
}

MessageBoxInfo AnswerMessageBox(DWORD processId, DWORD timeoutMs) {
    MessageBoxInfo info;
    if (WaitForMessageBox(processId, timeoutMs, info) && !info.Buttons.empty()) {
        PressButton(info.Window, info.Buttons.front());
        DWORD start = GetTickCount();
        while (IsWindow(info.Window) && GetTickCount() - start < 5000)
            Pump(20);
    }
    return info;
}

bool WaitUntilGone(HWND hwnd, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    while (IsWindow(hwnd) && IsWindowVisible(hwnd)) {
        if (GetTickCount() - start >= timeoutMs)
            return false;
        Pump(20);
    }
    return true;
}

void AnswerOpenDialog(HWND dialog, const std::string& path) {
    // The name field: a plain edit (edt1), or the edit inside the name combo box (cmb13).
    HWND name = GetDlgItem(dialog, 0x480);
    if (!name)
        name = FindChild(GetDlgItem(dialog, 0x47c), "Edit", "");
    SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
    PostMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    WaitUntilGone(dialog, 10000);
}

void CancelDialog(HWND dialog) {
    PostMessageA(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0);
    WaitUntilGone(dialog, 10000);
}

void Click(HWND control) {
    RECT area;
    GetWindowRect(control, &area);
    MoveMouse((area.left + area.right) / 2, (area.top + area.bottom) / 2);
    Pump(50); // the press must find the cursor where it was moved to
    MouseButton(MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
}

void KeyDown(WORD vk) {
    SendKey(vk, false);
}
void KeyUp(WORD vk) {
    SendKey(vk, true);
}
void PressKey(WORD vk) {
    KeyDown(vk);
    KeyUp(vk);
}

void MoveMouse(int x, int y) {
    // Wine moves the cursor without a move report; a move by nothing then reports it where
    // it now is.
    SetCursorPos(x, y);
    SendMouse(MOUSEEVENTF_MOVE);
}

POINT CursorPos() {
    POINT at{0, 0};
    GetCursorPos(&at);
    return at;
}

void MouseButton(DWORD downFlag, DWORD upFlag) {
    SendMouse(downFlag);
    if (upFlag)
        SendMouse(upFlag);
}

void Pump(DWORD timeMs) {
    DWORD start = GetTickCount();
    do {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(10);
    } while (GetTickCount() - start < timeMs);
}

Bitmap Bitmap::FromPixels(int width, int height, std::vector<unsigned> pixels) {
    Bitmap bitmap;
    bitmap.width_ = width;
    bitmap.height_ = height;
    bitmap.pixels_ = std::move(pixels);
    return bitmap;
}

unsigned Bitmap::Pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return 0xFFFFFFFF;
    unsigned bgr = pixels_[static_cast<std::size_t>(y) * width_ + x];
    return bgr; // DIB pixels are already 0x00RRGGBB
}

int Bitmap::Count(unsigned rgb, const RECT& area) const {
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            if (Pixel(x, y) == rgb)
                ++count;
    return count;
}

RECT Bitmap::BoundsOfOther(unsigned rgb) const {
    RECT bounds{width_, height_, 0, 0};
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x)
            if (Pixel(x, y) != rgb) {
                bounds.left = std::min<LONG>(bounds.left, x);
                bounds.top = std::min<LONG>(bounds.top, y);
                bounds.right = std::max<LONG>(bounds.right, x + 1);
                bounds.bottom = std::max<LONG>(bounds.bottom, y + 1);
            }
    if (bounds.right == 0)
        bounds = RECT{0, 0, 0, 0};
    return bounds;
}

bool Bitmap::Save(const std::string& path) const {
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    int stride = (width_ * 3 + 3) & ~3;
    info.biSize = sizeof info;
    info.biWidth = width_;
    info.biHeight = height_;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    info.biSizeImage = static_cast<DWORD>(stride * height_);
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + info.biSizeImage;
    FILE* out = std::fopen(path.c_str(), "wb");
    if (!out)
        return false;
    std::fwrite(&file, sizeof file, 1, out);
    std::fwrite(&info, sizeof info, 1, out);
    std::vector<unsigned char> row(static_cast<std::size_t>(stride), 0);
    for (int y = height_ - 1; y >= 0; --y) {
        for (int x = 0; x < width_; ++x) {
            unsigned p = Pixel(x, y);
            row[x * 3 + 0] = static_cast<unsigned char>(p & 0xFF);
            row[x * 3 + 1] = static_cast<unsigned char>((p >> 8) & 0xFF);
            row[x * 3 + 2] = static_cast<unsigned char>((p >> 16) & 0xFF);
        }
        std::fwrite(row.data(), row.size(), 1, out);
    }
    return std::fclose(out) == 0;
}

bool Bitmap::Load(const std::string& path) {
    HBITMAP loaded = static_cast<HBITMAP>(LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0,
                                                     LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    if (!loaded)
        return false;
    BITMAP info;
    GetObjectA(loaded, sizeof info, &info);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, loaded);
    *this = ReadDC(dc, 0, 0, info.bmWidth, info.bmHeight);
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(loaded);
    return true;
}

Bitmap CaptureArea(const RECT& area) {
    HDC screen = GetDC(nullptr);
    Bitmap result =
        ReadDC(screen, area.left, area.top, area.right - area.left, area.bottom - area.top);
    ReleaseDC(nullptr, screen);
    return result;
}

Bitmap CaptureScreen() {
    return CaptureArea(RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)});
}

Bitmap CaptureWindow(HWND hwnd) {
    RECT area;
    GetWindowRect(hwnd, &area);
    return CaptureArea(area);
}

} // namespace ui
