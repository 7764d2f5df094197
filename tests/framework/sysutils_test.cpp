#include "forms.h"
#include "sysutils.h"

#include <gtest/gtest.h>

namespace {

TEST(IntegerText, ConvertsWholeTextsAndRefusesTheRest) {
    const struct {
        const char* text;
        bool converts;
        int value;
    } cases[] = {
        {"0", true, 0},
        {"42", true, 42},
        {"-7", true, -7},
        {"+7", true, 7},
        {"  12", true, 12},
        {"$1F", true, 31},
        {"$ff", true, 255},
        {"$FFFFFFFF", true, -1},
        {"-$10", true, -16},
        {"2147483647", true, 2147483647},
        {"-2147483648", true, -2147483647 - 1},
        {"2147483648", false, 0},
        {"", false, 0},
        {" ", false, 0},
        {"12pt", false, 0},
        {"12 ", false, 0},
        {"abc", false, 0},
        {"0x0A", false, 0},
        {"$", false, 0},
        {"-", false, 0},
        {"1e3", false, 0},
        {"$100000000", false, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        int value = -12345;
        EXPECT_EQ(TryStrToInt(c.text, value), c.converts);
        if (c.converts)
            EXPECT_EQ(value, c.value);
        else
            EXPECT_EQ(value, -12345) << "a failed conversion must leave the output alone";
        EXPECT_EQ(StrToIntDef(c.text, 99), c.converts ? c.value : 99);
    }
}

TEST(IntegerText, StrictConversionNamesTheText) {
    for (const char* text : {"", "12pt"}) {
        try {
            StrToInt(text);
            ADD_FAILURE() << "no error for '" << text << "'";
        } catch (const EConvertError& error) {
            EXPECT_EQ(error.Message(), std::string("'") + text + "' is not a valid integer value");
        }
    }
}

TEST(ErrorBoxText, AddsOneFullStop) {
    EXPECT_EQ(WithFullStop("Invalid data type for 'Speed Factor'"),
              "Invalid data type for 'Speed Factor'.");
    EXPECT_EQ(WithFullStop("Already said."), "Already said.");
    EXPECT_EQ(WithFullStop("Contact Korvane Software!"), "Contact Korvane Software!");
    EXPECT_EQ(WithFullStop(""), ".");
}

TEST(ApplicationTitle, IsTheProgramFileNameWithTheRestInLowerCase) {
    const struct {
        const char* path;
        const char* title;
    } cases[] = {
        {"C:\\WINDOWS\\quillsav.scr", "quillsav"}, {"C:\\WINDOWS\\QUILLSAV.SCR", "Quillsav"},
        {"D:\\Setup\\SETUP.EXE", "Setup"},         {"noext", "noext"},
        {"C:\\a.b\\My.Prog.exe", "My.prog"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DefaultTitle(c.path), c.title) << c.path;
}

} // namespace
