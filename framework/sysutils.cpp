#include "sysutils.h"

#include <cctype>
#include <cstdint>

std::string FormatMessageText(const std::string& pattern, const std::string& text) {
    std::string::size_type at = pattern.find("%s");
    if (at == std::string::npos)
        return pattern;
    return pattern.substr(0, at) + text + pattern.substr(at + 2);
}

std::string IntToStr(long long value) {
    return std::to_string(value);
}

bool TryStrToInt(const std::string& text, int& value) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    bool hex = false;
    if (i < text.size() && text[i] == '$') {
        hex = true;
        ++i;
    }
    if (i == text.size())
        return false;
    const std::uint64_t limit = hex ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
    std::uint64_t number = 0;
    for (; i < text.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        unsigned digit;
        if (std::isdigit(c))
            digit = c - '0';
        else if (hex && std::isxdigit(c))
            digit = static_cast<unsigned>(std::tolower(c) - 'a' + 10);
        else
            return false;
        number = number * (hex ? 16 : 10) + digit;
        if (number > limit)
            return false;
    }
    // Hexadecimal text names the 32 bits themselves, so $FFFFFFFF is -1.
    std::int64_t signedNumber = hex ? static_cast<std::int32_t>(static_cast<std::uint32_t>(number))
                                    : static_cast<std::int64_t>(number);
    value = static_cast<int>(negative ? -signedNumber : signedNumber);
    return true;
}

int StrToInt(const std::string& text) {
    int value = 0;
    if (!TryStrToInt(text, value))
        throw EConvertError(FormatMessageText("'%s' is not a valid integer value", text));
    return value;
}

int StrToIntDef(const std::string& text, int fallback) {
    int value = 0;
    return TryStrToInt(text, value) ? value : fallback;
}

std::string WithFullStop(const std::string& message) {
    if (!message.empty() && (message.back() == '.' || message.back() == '!'))
        return message;
    return message + ".";
}

std::string ExtractFileName(const std::string& path) {
    std::string::size_type at = path.find_last_of("\\/:");
    return at == std::string::npos ? path : path.substr(at + 1);
}

std::string ExtractFileExt(const std::string& path) {
    std::string name = ExtractFileName(path);
    std::string::size_type at = name.rfind('.');
    return at == std::string::npos ? std::string() : name.substr(at);
}

std::string LowerCase(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}
