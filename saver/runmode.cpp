#include "runmode.h"

#include <cstring>

TRunMode SelectRunMode(const char* commandTail) {
    if (!commandTail)
        return TRunMode::None;
    if (std::strstr(commandTail, "/c") || std::strstr(commandTail, "-c"))
        return TRunMode::Options;
    if (std::strstr(commandTail, "/s") || std::strstr(commandTail, ",s"))
        return TRunMode::Saver;
    return TRunMode::None;
}
