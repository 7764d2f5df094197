#include "regguard.h"
#include "registry.h"
#include "sysutils.h"

#include <gtest/gtest.h>

namespace {

const char kRoot[] = "Software\\KorvaneTests";
const char kSection[] = "Software\\KorvaneTests\\Level One\\Level Two";

class RegIniFileTest : public ::testing::Test {
protected:
    reg::KeyGuard guard_{HKEY_CURRENT_USER, kRoot};
    void SetUp() override { reg::DeleteTree(HKEY_CURRENT_USER, kRoot); }
    TRegIniFile store_;
};

TEST_F(RegIniFileTest, WritesEveryKindAsAStringWithoutNul) {
    store_.WriteString(kSection, "Text", "Hello  ");
    store_.WriteString(kSection, "Empty", "");
    store_.WriteInteger(kSection, "Number", -42);
    store_.WriteBool(kSection, "Yes", true);
    store_.WriteBool(kSection, "No", false);
    const struct {
        const char* name;
        const char* data;
    } expected[] = {
        {"Text", "Hello  "}, {"Empty", ""}, {"Number", "-42"}, {"Yes", "1"}, {"No", "0"}};
    for (const auto& e : expected) {
        reg::RawValue value = reg::Read(HKEY_CURRENT_USER, kSection, e.name);
        ASSERT_TRUE(value.exists) << e.name;
        EXPECT_EQ(value.type, static_cast<DWORD>(REG_SZ)) << e.name;
        EXPECT_EQ(value.Text(), e.data) << e.name << ": the data carry no terminating NUL";
    }
}

TEST_F(RegIniFileTest, ReadsWhatItWroteAndDefaultsWhenAbsent) {
    EXPECT_FALSE(reg::KeyExists(HKEY_CURRENT_USER, kSection));
    EXPECT_EQ(store_.ReadString(kSection, "Text", "dflt"), "dflt");
    EXPECT_EQ(store_.ReadInteger(kSection, "Number", 5), 5);
    EXPECT_TRUE(store_.ReadBool(kSection, "Flag", true));
    store_.WriteString(kSection, "Text", "abc");
    store_.WriteInteger(kSection, "Number", 2147483647);
    store_.WriteBool(kSection, "Flag", false);
    EXPECT_EQ(store_.ReadString(kSection, "Text", "dflt"), "abc");
    EXPECT_EQ(store_.ReadString(kSection, "Missing", "dflt"), "dflt");
    EXPECT_EQ(store_.ReadInteger(kSection, "Number", 5), 2147483647);
    EXPECT_FALSE(store_.ReadBool(kSection, "Flag", true));
}

TEST_F(RegIniFileTest, ReadsDataWithAndWithoutNulAndStopsAtTheFirstNul) {
    reg::WriteString(HKEY_CURRENT_USER, kSection, "Plain", "abc", false);
    reg::WriteString(HKEY_CURRENT_USER, kSection, "Terminated", "abc", true);
    reg::WriteString(HKEY_CURRENT_USER, kSection, "Inner", std::string("ab\0cd", 5), false);
    reg::WriteString(HKEY_CURRENT_USER, kSection, "Nothing", "", false);
    EXPECT_EQ(store_.ReadString(kSection, "Plain", "x"), "abc");
    EXPECT_EQ(store_.ReadString(kSection, "Terminated", "x"), "abc");
    EXPECT_EQ(store_.ReadString(kSection, "Inner", "x"), "ab");
    EXPECT_EQ(store_.ReadString(kSection, "Nothing", "x"), "");
}

TEST_F(RegIniFileTest, IntegerTextsFollowTheStoredNotation) {
    const struct {
        const char* stored;
        int value;
    } cases[] = {{"0x0A", 10}, {"0X1f", 31}, {"0x", 7},  {"$0A", 10}, {"abc", 7},
                 {"", 7},      {" 12", 12},  {"12 ", 7}, {"-3", -3},  {"0x-1", 7}};
    for (const auto& c : cases) {
        reg::WriteString(HKEY_CURRENT_USER, kSection, "Value", c.stored);
        EXPECT_EQ(store_.ReadInteger(kSection, "Value", 7), c.value) << "'" << c.stored << "'";
    }
}

TEST_F(RegIniFileTest, AValueOfAnotherTypeIsAnError) {
    reg::WriteDword(HKEY_CURRENT_USER, kSection, "Speed Factor", 3);
    for (int kind = 0; kind < 3; ++kind) {
        try {
            if (kind == 0)
                store_.ReadString(kSection, "Speed Factor", "");
            else if (kind == 1)
                store_.ReadInteger(kSection, "Speed Factor", 0);
            else
                store_.ReadBool(kSection, "Speed Factor", false);
            ADD_FAILURE() << "no error for read " << kind;
        } catch (const ERegistryException& error) {
            EXPECT_EQ(error.Message(), "Invalid data type for 'Speed Factor'");
        }
    }
}

TEST_F(RegIniFileTest, AKeyThatCannotBeCreatedIsAnError) {
    // Below a volatile key a persistent one cannot be made.
    std::string volatilePath = std::string(kRoot) + "\\Volatile";
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, volatilePath.c_str(), 0, nullptr,
                              REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(key);
    std::string section = volatilePath + "\\Settings";
    try {
        store_.WriteString(section, "Text One", "x");
        ADD_FAILURE() << "no error";
    } catch (const ERegistryException& error) {
        EXPECT_EQ(error.Message(), "Failed to create key " + section);
    }
}

TEST_F(RegIniFileTest, ASectionBelowTheFileNameKey) {
    TRegIniFile store("Software\\KorvaneTests");
    store.WriteString("Inner", "Name", "value");
    EXPECT_EQ(reg::Read(HKEY_CURRENT_USER, "Software\\KorvaneTests\\Inner", "Name").Text(),
              "value");
    EXPECT_EQ(store.ReadString("Inner", "Name", ""), "value");
}

} // namespace
