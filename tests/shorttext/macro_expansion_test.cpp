#include "shorttext/macro_expansion.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "res/resource.h"
#include "support/macro_samples.h"

namespace varnoke {
namespace {

// CP932 bytes of the resource texts and of a few characters whose second byte is 0x5C.
const std::string kHyo = "\x95\x5C";            // 表
const std::string kSo = "\x83\x5C";             // ソ
const std::string kJi = "\x8E\x9E";             // 時
const std::string kDo = "\x93\x79";             // 土
const std::string kGozen = "\x8C\xDF\x91\x4F";  // 午前
const std::string kGogo = "\x8C\xDF\x8C\xE3";   // 午後

using samples::June5;

MacroTime At(int hour, int minute) {
    return June5(hour, minute);
}

MacroNames TestNames() {
    return samples::Names();
}

MacroExpansion Expand(const std::string& text, const MacroTime& time = June5()) {
    return ExpandMacros(text, time, TestNames(), IsCp932LeadByte);
}

void ExpectToken(const std::string& text, const std::string& expected,
                 const MacroTime& time = June5()) {
    MacroExpansion result = Expand(text, time);
    EXPECT_EQ(result.text, expected) << text;
    EXPECT_TRUE(result.tokenExpanded) << text;
}

void ExpectPlain(const std::string& text, const std::string& expected) {
    MacroExpansion result = Expand(text);
    EXPECT_EQ(result.text, expected) << text;
    EXPECT_FALSE(result.tokenExpanded) << text;
}

TEST(ExpandMacrosTest, NumbersWithAndWithoutLeadingZeros) {
    ExpectToken("\\Y/\\M/\\d", "2004/6/5");
    ExpectToken("\\0Y/\\0M/\\0d", "2004/06/05");
    ExpectToken("\\y", "4");
    ExpectToken("\\0y", "04");
    ExpectToken("\\H:\\0m:\\0s", "13:07:09");
    ExpectToken("\\0H \\m \\s", "13 7 9");
}

TEST(ExpandMacrosTest, NamesIgnoreLeadingZeros) {
    ExpectToken("\\G\\h" + kJi, kGogo + "1" + kJi);
    ExpectToken("\\P \\0h", "PM 01");
    ExpectToken("\\E", "June");
    ExpectToken("\\e", "Jun");
    ExpectToken("\\A", "Saturday");
    ExpectToken("\\a", "Sat");
    ExpectToken("\\w", kDo);
    ExpectToken("\\0E \\0a \\0w \\0P", "June Sat " + kDo + " PM");
}

TEST(ExpandMacrosTest, NoonAndMidnightAreZeroOnTheTwelveHourClock) {
    ExpectToken("\\h \\G \\P", "0 " + kGogo + " PM", At(12, 30));
    ExpectToken("\\h \\G \\P", "0 " + kGozen + " AM", At(0, 30));
    ExpectToken("\\0h \\G", "11 " + kGozen, At(11, 59));
    ExpectToken("\\0h \\G", "11 " + kGogo, At(23, 0));
}

TEST(ExpandMacrosTest, EscapesLeaveTheFlagFalse) {
    ExpectPlain("a\\tb", "a\tb");
    ExpectPlain("a\\nb", "a\r\nb");
    ExpectPlain("\\0t\\0n", "\t\r\n");
    ExpectPlain("\\x", "x");
    ExpectPlain("\\[<a>]", "[<a>]");
    ExpectPlain("\\\\Y", "\\Y");
    ExpectPlain("\\0\\Y", "\\Y");
    ExpectPlain("\\0x\\T\\N", "xTN");
    ExpectPlain("plain text", "plain text");
    ExpectPlain("", "");
}

TEST(ExpandMacrosTest, EscapeOrLeadingZeroAtTheEndGivesNothing) {
    ExpectPlain("ab\\", "ab");
    ExpectPlain("\\", "");
    ExpectPlain("ab\\0", "ab");
    ExpectPlain("\\\\\\", "\\");
}

TEST(ExpandMacrosTest, TrailByte5CIsNoEscape) {
    // Without the lead-byte test the 0x5C of 表 would swallow the "Y" and the "t".
    ExpectPlain(kHyo + "Y" + kSo + "t", kHyo + "Y" + kSo + "t");
    ExpectToken(kHyo + "\\Y", kHyo + "2004");
    ExpectPlain(kHyo + kHyo, kHyo + kHyo);
}

TEST(ExpandMacrosTest, EscapedDoubleByteCharacterStandsForItself) {
    ExpectPlain("\\" + kHyo + "Y", kHyo + "Y");
    ExpectPlain("\\0" + kSo + "n", kSo + "n");
    ExpectPlain("\\" + kJi, kJi);
}

TEST(ExpandMacrosTest, LoneLeadByteAtTheEndIsKept) {
    ExpectPlain("a\x95", "a\x95");
    ExpectPlain("\\\x95", "\x95");
    ExpectPlain("\\0\x95", "\x95");
}

TEST(ExpandMacrosTest, OutOfRangeTimeGivesEmptyNames) {
    MacroTime time = June5();
    time.month = 13;
    time.dayOfWeek = 7;
    ExpectToken("[\\E\\e\\A\\a\\w]\\M", "[]13", time);
    time.month = 0;
    time.dayOfWeek = -1;
    ExpectToken("[\\E\\a]", "[]", time);
}

TEST(ExpandTokenTest, YearPaddingAndNonTokens) {
    MacroTime time = June5();
    time.year = 987;
    EXPECT_EQ(ExpandToken('Y', true, time, TestNames()), "0987");
    EXPECT_EQ(ExpandToken('y', true, time, TestNames()), "87");
    EXPECT_EQ(ExpandToken('x', true, time, TestNames()), "");
    EXPECT_FALSE(IsMacroTokenLetter('\0'));
    EXPECT_FALSE(IsMacroTokenLetter('t'));
}

TEST(LoadMacroNamesTest, TakesEachNameFromItsStringId) {
    std::map<unsigned, std::string> table = {{IDS_MONTH_BASE + 1, "Jan"},
                                             {IDS_MONTH_BASE + 12, "Dec"},
                                             {IDS_WEEKDAY_BASE + 0, "Sun"},
                                             {IDS_WEEKDAY_BASE + 6, "Sat"},
                                             {IDS_WEEKDAY_SHORT_BASE + 6, kDo},
                                             {IDS_AM, "am"},
                                             {IDS_PM, "pm"},
                                             {IDS_AM_JAPANESE, kGozen},
                                             {IDS_PM_JAPANESE, kGogo}};
    MacroNames names = LoadMacroNames([&](unsigned id) { return table[id]; });
    EXPECT_EQ(names.months[0], "Jan");
    EXPECT_EQ(names.months[11], "Dec");
    EXPECT_EQ(names.weekdays[0], "Sun");
    EXPECT_EQ(names.weekdays[6], "Sat");
    EXPECT_EQ(names.weekdayLetters[6], kDo);
    EXPECT_EQ(names.weekdayLetters[0], "");
    EXPECT_EQ(names.am + names.pm, "ampm");
    EXPECT_EQ(names.amJapanese + names.pmJapanese, kGozen + kGogo);
}

}  // namespace
}  // namespace varnoke
