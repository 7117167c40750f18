#include <gtest/gtest.h>

#include "settings/IntegerText.h"

namespace tonalux::settings {
namespace {

TEST(IntegerTextTest, ReadsDecimalWithBlanksAndSign) {
    EXPECT_EQ(TextToInteger("0"), 0);
    EXPECT_EQ(TextToInteger("127"), 127);
    EXPECT_EQ(TextToInteger("  42"), 42);
    EXPECT_EQ(TextToInteger("-5"), -5);
    EXPECT_EQ(TextToInteger("+7"), 7);
    EXPECT_EQ(TextToInteger("007"), 7);
    EXPECT_EQ(TextToInteger("2147483647"), 2147483647);
    EXPECT_EQ(TextToInteger("-2147483648"), INT32_MIN);
}

TEST(IntegerTextTest, ReadsHexadecimalAfterDollarOrX) {
    EXPECT_EQ(TextToInteger("$1F"), 31);
    EXPECT_EQ(TextToInteger("x10"), 16);
    EXPECT_EQ(TextToInteger("X0a"), 10);
    EXPECT_EQ(TextToInteger("0x7F"), 127);
    EXPECT_EQ(TextToInteger("-$F"), -15);
    EXPECT_EQ(TextToInteger("$FFFFFFFF"), -1);
}

TEST(IntegerTextTest, RefusesEverythingElseWithTheUsersText) {
    for (const char* text : {"", " ", "-", "--", " -", "abc", "12a", "1 ", "$", "0x", "$G", "2147483648",
                             "-2147483649", "$100000000", "1.5"}) {
        try {
            TextToInteger(text);
            ADD_FAILURE() << "accepted '" << text << "'";
        } catch (const IntegerTextError& error) {
            EXPECT_EQ(std::string(error.what()), std::string("'") + text + "' ist kein g\xC3\xBCltiger Integerwert");
        }
    }
}

TEST(IntegerTextTest, OnlyExactHyphenMeansNoValue) {
    EXPECT_EQ(FieldFromText("-"), 999);
    EXPECT_EQ(FieldFromText("999"), 999);
    EXPECT_EQ(FieldFromText("-5"), -5);
    EXPECT_THROW(FieldFromText(" -"), IntegerTextError);
    EXPECT_THROW(FieldFromText("--"), IntegerTextError);
    EXPECT_THROW(FieldFromText(""), IntegerTextError);

    EXPECT_EQ(TextFromField(999), "-");
    EXPECT_EQ(TextFromField(-5), "-5");
    EXPECT_EQ(TextFromField(0), "0");
    EXPECT_EQ(TextFromField(1000), "1000");
}

}  // namespace
}  // namespace tonalux::settings
