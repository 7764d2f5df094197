#include "regguard.h"

namespace reg {

bool KeyExists(HKEY root, const std::string& path) {
    HKEY key;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

bool DeleteTree(HKEY root, const std::string& path) {
    HKEY key;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
        return true;
    char name[256];
    for (;;) {
        DWORD size = sizeof name;
        if (RegEnumKeyExA(key, 0, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        if (!DeleteTree(key, name))
            break;
    }
    RegCloseKey(key);
    return RegDeleteKeyA(root, path.c_str()) == ERROR_SUCCESS;
}

std::unique_ptr<KeyGuard::Snapshot> KeyGuard::Take(HKEY root, const std::string& path) {
    HKEY key;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return nullptr;
    auto snapshot = std::make_unique<Snapshot>();
    for (DWORD i = 0;; ++i) {
        char name[16384];
        DWORD nameSize = sizeof name;
        DWORD type = 0;
        DWORD dataSize = 0;
        if (RegEnumValueA(key, i, name, &nameSize, nullptr, &type, nullptr, &dataSize) !=
            ERROR_SUCCESS)
            break;
        Value value{type, std::vector<BYTE>(dataSize)};
        nameSize = sizeof name;
        RegEnumValueA(key, i, name, &nameSize, nullptr, &type, value.data.data(), &dataSize);
        value.data.resize(dataSize);
        snapshot->values[name] = std::move(value);
    }
    for (DWORD i = 0;; ++i) {
        char name[256];
        DWORD nameSize = sizeof name;
        if (RegEnumKeyExA(key, i, name, &nameSize, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        snapshot->keys[name] = Take(root, path + "\\" + name);
    }
    RegCloseKey(key);
    return snapshot;
}

void KeyGuard::Put(HKEY root, const std::string& path, const Snapshot& snapshot) {
    HKEY key;
    if (RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return;
    for (const auto& [name, value] : snapshot.values)
        RegSetValueExA(key, name.c_str(), 0, value.type, value.data.data(),
                       static_cast<DWORD>(value.data.size()));
    RegCloseKey(key);
    for (const auto& [name, child] : snapshot.keys)
        if (child)
            Put(root, path + "\\" + name, *child);
}

KeyGuard::KeyGuard(HKEY root, std::string path)
    : root_(root), path_(std::move(path)), saved_(Take(root_, path_)) {}

KeyGuard::~KeyGuard() {
    DeleteTree(root_, path_);
    if (saved_)
        Put(root_, path_, *saved_);
}

RawValue Read(HKEY root, const std::string& path, const std::string& name) {
    // The wide call shows the data as stored: the narrow one adds a NUL of its own.
    RawValue result;
    HKEY key;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return result;
    std::wstring wideName(name.begin(), name.end());
    DWORD size = 0;
    if (RegQueryValueExW(key, wideName.c_str(), nullptr, &result.type, nullptr, &size) ==
        ERROR_SUCCESS) {
        std::vector<BYTE> raw(size);
        RegQueryValueExW(key, wideName.c_str(), nullptr, &result.type, raw.data(), &size);
        raw.resize(size);
        result.exists = true;
        if (result.type == REG_SZ || result.type == REG_EXPAND_SZ) {
            const auto* wide = reinterpret_cast<const wchar_t*>(raw.data());
            int count = static_cast<int>(raw.size() / sizeof(wchar_t));
            int bytes = WideCharToMultiByte(CP_ACP, 0, wide, count, nullptr, 0, nullptr, nullptr);
            result.data.resize(static_cast<std::size_t>(bytes));
            WideCharToMultiByte(CP_ACP, 0, wide, count, reinterpret_cast<char*>(result.data.data()),
                                bytes, nullptr, nullptr);
        } else {
            result.data = std::move(raw);
        }
    }
    RegCloseKey(key);
    return result;
}

namespace {
void SetRaw(HKEY root, const std::string& path, const std::string& name, DWORD type,
            const BYTE* data, DWORD size) {
    HKEY key;
    if (RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return;
    RegSetValueExA(key, name.c_str(), 0, type, data, size);
    RegCloseKey(key);
}
} // namespace

void WriteString(HKEY root, const std::string& path, const std::string& name,
                 const std::string& text, bool withNul) {
    SetRaw(root, path, name, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
           static_cast<DWORD>(text.size() + (withNul ? 1 : 0)));
}

void WriteDword(HKEY root, const std::string& path, const std::string& name, DWORD value) {
    SetRaw(root, path, name, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
}

} // namespace reg
