#include "framework/int_field.h"

#include <gtest/gtest.h>

namespace varnoke {
namespace {

TEST(ParseIntField, AcceptsSignedDecimalsWithBlanksAround) {
    int value = 0;
    EXPECT_EQ(ParseIntField(" -42 ", false, 0, 0, &value), IntFieldError::kNone);
    EXPECT_EQ(value, -42);
    EXPECT_EQ(ParseIntField("+7", false, 0, 0, &value), IntFieldError::kNone);
    EXPECT_EQ(value, 7);
    EXPECT_EQ(ParseIntField("2147483647", false, 0, 0, &value), IntFieldError::kNone);
    EXPECT_EQ(value, 2147483647);
}

TEST(ParseIntField, AnythingElseIsNotAnIntegerAndKeepsTheValue) {
    int value = 5;
    for (const char* text : {"", " ", "abc", "12abc", "1.5", "0x10", "1 2", "99999999999x"}) {
        EXPECT_EQ(ParseIntField(text, true, 0, 10, &value), IntFieldError::kNotAnInteger) << text;
    }
    // Without a range there is no range to name for a number beyond 32 bits.
    EXPECT_EQ(ParseIntField("2147483648", false, 0, 0, &value), IntFieldError::kNotAnInteger);
    EXPECT_EQ(value, 5);
}

TEST(ParseIntField, TheRangeIsCheckedOnlyForNumbersAndIncludesItsEnds) {
    int value = 5;
    EXPECT_EQ(ParseIntField("2", true, 2, 300, &value), IntFieldError::kNone);
    EXPECT_EQ(ParseIntField("300", true, 2, 300, &value), IntFieldError::kNone);
    EXPECT_EQ(value, 300);
    EXPECT_EQ(ParseIntField("1", true, 2, 300, &value), IntFieldError::kOutOfRange);
    EXPECT_EQ(ParseIntField("301", true, 2, 300, &value), IntFieldError::kOutOfRange);
    // Whole numbers beyond 32 bits, and beyond 64, are out of range as well.
    for (const char* text : {"2147483648", "-2147483649", " 99999999999999999999 "}) {
        EXPECT_EQ(ParseIntField(text, true, 2, 300, &value), IntFieldError::kOutOfRange) << text;
    }
    EXPECT_EQ(value, 300);
}

}  // namespace
}  // namespace varnoke
