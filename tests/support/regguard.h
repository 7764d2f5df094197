// Keeps a registry key as a test found it: snapshot at the start, restored at the end.
#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace reg {

class KeyGuard {
public:
    KeyGuard(HKEY root, std::string path);
    KeyGuard(const KeyGuard&) = delete;
    KeyGuard& operator=(const KeyGuard&) = delete;
    ~KeyGuard();

private:
    struct Value {
        DWORD type;
        std::vector<BYTE> data;
    };
    struct Snapshot {
        std::map<std::string, Value> values;
        std::map<std::string, std::unique_ptr<Snapshot>> keys;
    };
    static std::unique_ptr<Snapshot> Take(HKEY root, const std::string& path);
    static void Put(HKEY root, const std::string& path, const Snapshot& snapshot);

    HKEY root_;
    std::string path_;
    std::unique_ptr<Snapshot> saved_; // null when the key did not exist
};

// Deletes a key with everything below it; true when it is gone.
bool DeleteTree(HKEY root, const std::string& path);
bool KeyExists(HKEY root, const std::string& path);

// Raw value access for checking what was stored, byte for byte.
struct RawValue {
    bool exists = false;
    DWORD type = 0;
    std::vector<BYTE> data;
    std::string Text() const { return std::string(data.begin(), data.end()); }
};
RawValue Read(HKEY root, const std::string& path, const std::string& name);
// Stores a string value as REG_SZ without a terminating NUL (or with one when asked).
void WriteString(HKEY root, const std::string& path, const std::string& name,
                 const std::string& text, bool withNul = false);
void WriteDword(HKEY root, const std::string& path, const std::string& name, DWORD value);

} // namespace reg
