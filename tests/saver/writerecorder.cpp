#include "writerecorder.h"

#include <map>

namespace {

void WriteByte(HANDLE process, BYTE* at, BYTE value) {
    WriteProcessMemory(process, at, &value, 1, nullptr);
    FlushInstructionCache(process, at, 1);
}

} // namespace

WriteRecorder::WriteRecorder(DWORD processId) : processId_(processId) {
    // System libraries sit at the same address in every process of the session.
    address_ =
        reinterpret_cast<BYTE*>(GetProcAddress(GetModuleHandleA("advapi32.dll"), "RegSetValueExW"));
    thread_ = std::thread([this] { Run(); });
}

WriteRecorder::~WriteRecorder() {
    stop_ = true;
    thread_.join();
}

bool WriteRecorder::Attached() {
    for (int i = 0; state_ == 0 && i < 1000; ++i)
        Sleep(10);
    return state_ == 1;
}

std::vector<std::string> WriteRecorder::Names() {
    std::lock_guard<std::mutex> lock(mutex_);
    return names_;
}

void WriteRecorder::OnBreakpoint(DWORD threadId) {
    HANDLE thread = OpenThread(THREAD_GET_CONTEXT | THREAD_SET_CONTEXT, FALSE, threadId);
    CONTEXT context{};
    context.ContextFlags = CONTEXT_FULL;
    GetThreadContext(thread, &context);
    // stdcall: return address, key, value name, ...
    DWORD nameAddress = 0;
    ReadProcessMemory(process_, reinterpret_cast<void*>(context.Esp + 8), &nameAddress,
                      sizeof nameAddress, nullptr);
    wchar_t wide[128] = L"";
    ReadProcessMemory(process_, reinterpret_cast<void*>(nameAddress), wide, sizeof wide - 2,
                      nullptr);
    char name[128] = "";
    WideCharToMultiByte(CP_ACP, 0, wide, -1, name, sizeof name, nullptr, nullptr);
    {
        std::lock_guard<std::mutex> lock(mutex_);
        names_.push_back(name);
    }
    // Run the real first instruction once, then put the breakpoint back.
    WriteByte(process_, address_, original_);
    context.Eip = reinterpret_cast<DWORD>(address_);
    context.EFlags |= 0x100;
    SetThreadContext(thread, &context);
    CloseHandle(thread);
    steppingThread_ = threadId;
}

void WriteRecorder::Run() {
    if (!address_ || !DebugActiveProcess(processId_)) {
        state_ = -1;
        return;
    }
    DebugSetProcessKillOnExit(FALSE);
    while (!stop_) {
        DEBUG_EVENT event;
        if (!WaitForDebugEvent(&event, 50))
            continue;
        DWORD status = DBG_CONTINUE;
        switch (event.dwDebugEventCode) {
        case CREATE_PROCESS_DEBUG_EVENT:
            process_ = event.u.CreateProcessInfo.hProcess;
            if (event.u.CreateProcessInfo.hFile)
                CloseHandle(event.u.CreateProcessInfo.hFile);
            ReadProcessMemory(process_, address_, &original_, 1, nullptr);
            WriteByte(process_, address_, 0xCC);
            state_ = 1;
            break;
        case LOAD_DLL_DEBUG_EVENT:
            if (event.u.LoadDll.hFile)
                CloseHandle(event.u.LoadDll.hFile);
            break;
        case EXCEPTION_DEBUG_EVENT: {
            const EXCEPTION_RECORD& record = event.u.Exception.ExceptionRecord;
            if (record.ExceptionCode == EXCEPTION_BREAKPOINT && record.ExceptionAddress == address_)
                OnBreakpoint(event.dwThreadId);
            else if (record.ExceptionCode == EXCEPTION_SINGLE_STEP &&
                     event.dwThreadId == steppingThread_) {
                WriteByte(process_, address_, 0xCC);
                steppingThread_ = 0;
            } else if (record.ExceptionCode != EXCEPTION_BREAKPOINT)
                status = DBG_EXCEPTION_NOT_HANDLED;
            break;
        }
        case EXIT_PROCESS_DEBUG_EVENT:
            stop_ = true;
            break;
        default:
            break;
        }
        ContinueDebugEvent(event.dwProcessId, event.dwThreadId, status);
    }
    if (process_ && !steppingThread_)
        WriteByte(process_, address_, original_);
    DebugActiveProcessStop(processId_);
}
