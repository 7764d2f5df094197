// Where the saver's settings live, shared by the saver screen and the options dialog.
#pragma once

#include "registry.h"

#include <memory>
#include <string>

inline const std::string SettingsKey =
    "SOFTWARE\\Korvane Software\\Quillo Screen Saver 97\\2.0\\Settings";

// A settings accessor on HKEY_LOCAL_MACHINE; every call names SettingsKey as its section.
inline std::unique_ptr<TRegIniFile> CreateSettings() {
    auto settings = std::make_unique<TRegIniFile>("");
    settings->RootKey = HKEY_LOCAL_MACHINE;
    return settings;
}
