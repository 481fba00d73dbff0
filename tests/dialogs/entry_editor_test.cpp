#include "dialogs/entry_editor.h"

#include <gtest/gtest.h>

#include <climits>

#include "framework/dialog_rules.h"

namespace varnoke {
namespace {

TEST(EntryEditor, OkAsksOnlyPastHistoryLen) {
    EXPECT_FALSE(EntryOkNeedsQuestion(10000, 10000));
    EXPECT_TRUE(EntryOkNeedsQuestion(10001, 10000));
    EXPECT_FALSE(EntryOkNeedsQuestion(0, 2));
}

TEST(EntryEditor, TabListPreselectsTheFirstEntryBeginningWithTheWidth) {
    const auto& entries = TabWidthEntries();
    EXPECT_EQ(entries[FirstEntryWithPrefix(entries, "4")], "4");
    // "1" begins "16"; "3" begins nothing, so nothing is selected and OK reads "".
    EXPECT_EQ(entries[FirstEntryWithPrefix(entries, "1")], "16");
    EXPECT_EQ(FirstEntryWithPrefix(entries, "3"), -1);
    EXPECT_EQ(TabStopsFromText(""), 0);
}

TEST(EntryEditor, TabTextReadsItsLeadingDigits) {
    EXPECT_EQ(TabStopsFromText("16"), 16);
    EXPECT_EQ(TabStopsFromText("8x"), 8);
    EXPECT_EQ(TabStopsFromText("x8"), 0);
    // Registry garbage can be long; the number must not overflow.
    EXPECT_GT(TabStopsFromText(std::string(40, '9')), 0);
}

TEST(EntryEditor, TabIntervalIsHeldToWhatTheListOffers) {
    EXPECT_EQ(TabStopUnits(4), 16);
    EXPECT_EQ(TabStopUnits(0), 0);
    EXPECT_EQ(TabStopUnits(16), 64);
    // Registry garbage, huge or negative, must not overflow on its way to the edit.
    EXPECT_EQ(TabStopUnits(INT_MAX), 64);
    EXPECT_EQ(TabStopUnits(0x40000000), 64);
    EXPECT_EQ(TabStopUnits(INT_MIN), 0);
    EXPECT_EQ(TabStopUnits(-3), 0);
}

TEST(EntryEditor, FaceNameFitsTheFieldWithoutHalfACharacter) {
    EXPECT_EQ(FitFaceName("MS UI Gothic", &IsCp932LeadByte), "MS UI Gothic");
    EXPECT_EQ(FitFaceName(std::string(31, 'a'), &IsCp932LeadByte).size(), 31u);
    EXPECT_EQ(FitFaceName(std::string(40, 'a'), &IsCp932LeadByte).size(), 31u);
    // Thirty bytes, then "ゴ" (0x83 0x53) across the 31-byte limit: the whole character goes.
    const std::string name = std::string(30, 'a') + "\x83\x53" + "b";
    EXPECT_EQ(FitFaceName(name, &IsCp932LeadByte), std::string(30, 'a'));
}

}  // namespace
}  // namespace varnoke
