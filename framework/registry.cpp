#include "registry.h"

#include "sysutils.h"

#include <vector>

namespace {

// An open key that closes itself.
class KeyHandle {
public:
    KeyHandle() = default;
    KeyHandle(const KeyHandle&) = delete;
    KeyHandle& operator=(const KeyHandle&) = delete;
    ~KeyHandle() {
        if (key_)
            RegCloseKey(key_);
    }
    HKEY* Out() { return &key_; }
    HKEY Get() const { return key_; }

private:
    HKEY key_ = nullptr;
};

std::wstring Widen(const std::string& text) {
    if (text.empty())
        return std::wstring();
    int count =
        MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(count), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), count);
    return wide;
}

} // namespace

std::string TRegIniFile::KeyPath(const std::string& section) const {
    if (fileName_.empty())
        return section;
    if (section.empty())
        return fileName_;
    return fileName_ + "\\" + section;
}

bool TRegIniFile::TryReadString(const std::string& section, const std::string& ident,
                                std::string& value) const {
    KeyHandle key;
    if (RegOpenKeyExA(RootKey, KeyPath(section).c_str(), 0, KEY_ALL_ACCESS, key.Out()) !=
        ERROR_SUCCESS)
        return false;
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(key.Get(), ident.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return false;
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        throw ERegistryException(FormatMessageText("Invalid data type for '%s'", ident));
    std::vector<char> data(size + 1, '\0');
    LONG result = ERROR_MORE_DATA;
    // The value may grow between the two queries; ask again with the new size.
    while (result == ERROR_MORE_DATA) {
        data.assign(size + 1, '\0');
        result = RegQueryValueExA(key.Get(), ident.c_str(), nullptr, &type,
                                  reinterpret_cast<BYTE*>(data.data()), &size);
    }
    if (result != ERROR_SUCCESS)
        return false;
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        throw ERegistryException(FormatMessageText("Invalid data type for '%s'", ident));
    std::string text(data.data(), size);
    value = text.substr(0, text.find('\0'));
    return true;
}

std::string TRegIniFile::ReadString(const std::string& section, const std::string& ident,
                                    const std::string& fallback) const {
    std::string value;
    return TryReadString(section, ident, value) ? value : fallback;
}

int TRegIniFile::ReadInteger(const std::string& section, const std::string& ident,
                             int fallback) const {
    std::string text;
    if (!TryReadString(section, ident, text))
        return fallback;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        text = "$" + text.substr(2);
    return StrToIntDef(text, fallback);
}

bool TRegIniFile::ReadBool(const std::string& section, const std::string& ident,
                           bool fallback) const {
    return ReadInteger(section, ident, fallback ? 1 : 0) != 0;
}

void TRegIniFile::WriteString(const std::string& section, const std::string& ident,
                              const std::string& value) const {
    std::string path = KeyPath(section);
    {
        KeyHandle created;
        if (RegCreateKeyExA(RootKey, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                            KEY_ALL_ACCESS, nullptr, created.Out(), nullptr) != ERROR_SUCCESS)
            throw ERegistryException(FormatMessageText("Failed to create key %s", section));
    }
    KeyHandle key;
    if (RegOpenKeyExA(RootKey, path.c_str(), 0, KEY_ALL_ACCESS, key.Out()) != ERROR_SUCCESS)
        return;
    // The system adds a terminating NUL to string data that is followed by one; a non-NUL
    // character after the text keeps the stored data to exactly the characters given.
    std::wstring wideIdent = Widen(ident);
    std::wstring wideValue = Widen(value);
    std::vector<wchar_t> data(wideValue.begin(), wideValue.end());
    data.push_back(L'\x1');
    if (RegSetValueExW(key.Get(), wideIdent.c_str(), 0, REG_SZ,
                       reinterpret_cast<const BYTE*>(data.data()),
                       static_cast<DWORD>(wideValue.size() * sizeof(wchar_t))) != ERROR_SUCCESS)
        throw ERegistryException(FormatMessageText("Failed to set data for '%s'", ident));
}

void TRegIniFile::WriteInteger(const std::string& section, const std::string& ident,
                               int value) const {
    WriteString(section, ident, IntToStr(value));
}

void TRegIniFile::WriteBool(const std::string& section, const std::string& ident,
                            bool value) const {
    WriteString(section, ident, value ? "1" : "0");
}
