// Errors and text conversions shared by every program.
#pragma once

#include <string>

// Root of every error the programs report to the user.
class Exception {
public:
    explicit Exception(std::string message) : message_(std::move(message)) {}
    virtual ~Exception() = default;
    const std::string& Message() const { return message_; }

private:
    std::string message_;
};

class EConvertError : public Exception {
    using Exception::Exception;
};
class ERegistryException : public Exception {
    using Exception::Exception;
};
class EInvalidGraphic : public Exception {
    using Exception::Exception;
};
class EFOpenError : public Exception {
    using Exception::Exception;
};
class EMCIDeviceError : public Exception {
    using Exception::Exception;
};
class EInOutError : public Exception {
    using Exception::Exception;
};

// Replaces the first "%s" of a message template by text.
std::string FormatMessageText(const std::string& pattern, const std::string& text);

// Decimal text of a number, as an integer-to-text conversion writes it.
std::string IntToStr(long long value);

// Converts a whole text to a 32-bit integer: leading blanks, an optional sign, then decimal
// digits or "$" and hexadecimal digits. Returns false when the text does not convert in full.
bool TryStrToInt(const std::string& text, int& value);

// As TryStrToInt; text that does not convert raises "'%s' is not a valid integer value".
int StrToInt(const std::string& text);

// As TryStrToInt; text that does not convert gives the default.
int StrToIntDef(const std::string& text, int fallback);

// Text for the user's error box: the message with a closing full stop.
std::string WithFullStop(const std::string& message);

// File name without its folder.
std::string ExtractFileName(const std::string& path);

// Extension with its dot (".bmp"), or empty.
std::string ExtractFileExt(const std::string& path);

std::string LowerCase(std::string text);
