// Registry access by section and identifier, every value stored as a string.
#pragma once

#include <windows.h>

#include <string>

class TRegIniFile {
public:
    // The file name names the key below the root that sections are relative to ("" for the
    // root itself).
    explicit TRegIniFile(std::string fileName = std::string()) : fileName_(std::move(fileName)) {}

    HKEY RootKey = HKEY_CURRENT_USER;

    std::string ReadString(const std::string& section, const std::string& ident,
                           const std::string& fallback) const;
    int ReadInteger(const std::string& section, const std::string& ident, int fallback) const;
    bool ReadBool(const std::string& section, const std::string& ident, bool fallback) const;

    void WriteString(const std::string& section, const std::string& ident,
                     const std::string& value) const;
    void WriteInteger(const std::string& section, const std::string& ident, int value) const;
    void WriteBool(const std::string& section, const std::string& ident, bool value) const;

private:
    std::string KeyPath(const std::string& section) const;
    // Reads a string value; false when the key or the value is absent.
    bool TryReadString(const std::string& section, const std::string& ident,
                       std::string& value) const;

    std::string fileName_;
};
