// What the saver's tests share: the settings key kept as found, and the program under test.
#pragma once

#include "regguard.h"
#include "settings.h"
#include "uidriver.h"

#include <gtest/gtest.h>

#include <string>

// Every test starts without any settings and leaves the maker key as it found it.
class SaverSettingsTest : public ::testing::Test {
protected:
    void SetUp() override { reg::DeleteTree(HKEY_LOCAL_MACHINE, SettingsKey); }

public:
    void Store(const std::string& name, const std::string& text) {
        reg::WriteString(HKEY_LOCAL_MACHINE, SettingsKey, name, text);
    }
    reg::RawValue Stored(const std::string& name) {
        return reg::Read(HKEY_LOCAL_MACHINE, SettingsKey, name);
    }

protected:
    static std::string Saver() { return ui::DistFile("quillsav.scr"); }

private:
    reg::KeyGuard guard_{HKEY_LOCAL_MACHINE, "SOFTWARE\\Korvane Software"};
};
