// Watches another process as a debugger and notes the value name of every registry value it
// sets (RegSetValueExW), in order: the order of writes is seen as it happens.
#pragma once

#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class WriteRecorder {
public:
    // Attaches to the process; Attached() tells whether that worked.
    explicit WriteRecorder(DWORD processId);
    ~WriteRecorder(); // detaches and leaves the process running
    WriteRecorder(const WriteRecorder&) = delete;
    WriteRecorder& operator=(const WriteRecorder&) = delete;

    bool Attached();
    // The value names so far.
    std::vector<std::string> Names();

private:
    void Run();
    void OnBreakpoint(DWORD threadId);

    DWORD processId_;
    std::atomic<bool> stop_{false};
    std::atomic<int> state_{0}; // 0 attaching, 1 attached, -1 failed
    std::mutex mutex_;
    std::vector<std::string> names_;
    std::thread thread_;
    HANDLE process_ = nullptr;
    BYTE* address_ = nullptr;
    BYTE original_ = 0;
    DWORD steppingThread_ = 0;
};
