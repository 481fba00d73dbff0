#include "framework/dialog_rules.h"

#include <gtest/gtest.h>

#include <set>

namespace varnoke {
namespace {

std::vector<EnableState> Enabling(const std::vector<EnableRule>& rules, std::set<int> checked) {
    return ComputeEnabling(rules, [&](int id) { return checked.count(id) > 0; });
}

// The file-saving chain: 1036 governs 1064, and 1064's own controls need both.
const std::vector<EnableRule> kChain = {
    {1036, {1037, 1038, 1064}},
    {1064, {1060, 1061, 1062}, 1036},
};

TEST(EnableRules, ALaterRuleRefinesWhatAnEarlierOneSet) {
    EXPECT_EQ(
        Enabling(kChain, {1036, 1064}),
        (std::vector<EnableState>{
            {1037, true}, {1038, true}, {1064, true}, {1060, true}, {1061, true}, {1062, true}}));
    // 1064 still checked, but its controls follow 1036 off as well.
    EXPECT_EQ(Enabling(kChain, {1064}), (std::vector<EnableState>{{1037, false},
                                                                  {1038, false},
                                                                  {1064, false},
                                                                  {1060, false},
                                                                  {1061, false},
                                                                  {1062, false}}));
    EXPECT_EQ(Enabling(kChain, {1036}), (std::vector<EnableState>{{1037, true},
                                                                  {1038, true},
                                                                  {1064, true},
                                                                  {1060, false},
                                                                  {1061, false},
                                                                  {1062, false}}));
}

TEST(EnableRules, ControllersIncludeTheRequiredBox) {
    EXPECT_TRUE(IsEnableController(kChain, 1036));
    EXPECT_TRUE(IsEnableController(kChain, 1064));
    EXPECT_FALSE(IsEnableController(kChain, 1037));
}

TEST(ListPrefix, FirstEntryThatBeginsWithTheText) {
    const std::vector<std::string> tabs{"2", "4", "8", "16"};
    EXPECT_EQ(FirstEntryWithPrefix(tabs, "4"), 1);
    EXPECT_EQ(FirstEntryWithPrefix(tabs, "1"), 3);
    EXPECT_EQ(FirstEntryWithPrefix(tabs, "3"), -1);
    EXPECT_EQ(FirstEntryWithPrefix(tabs, "16"), 3);
    EXPECT_EQ(FirstEntryWithPrefix(tabs, "160"), -1);
    EXPECT_EQ(FirstEntryWithPrefix({}, "4"), -1);
}

TEST(Layout, StretchKeepsTheTopLeftCornerAndNeverTurnsInsideOut) {
    const Rect list{0, 30, 300, 200};
    EXPECT_EQ(StretchToClient(list, 640, 480, kStretchRight | kStretchBottom),
              (Rect{0, 30, 640, 480}));
    EXPECT_EQ(StretchToClient(list, 640, 480, kStretchRight), (Rect{0, 30, 640, 200}));
    EXPECT_EQ(StretchToClient(list, 640, 480, kStretchBottom), (Rect{0, 30, 300, 480}));
    // A window dragged smaller than the button row: an empty control, not a negative one.
    EXPECT_EQ(StretchToClient(list, 0, 10, kStretchRight | kStretchBottom), (Rect{0, 30, 0, 30}));
}

TEST(Layout, AStoredRectangleWithoutAreaTakesTheFallbackSize) {
    const Rect fallback{0, 0, 400, 300};
    EXPECT_EQ(UsableNormalRect({10, 20, 510, 420}, fallback), (Rect{10, 20, 510, 420}));
    EXPECT_EQ(UsableNormalRect({10, 20, 10, 420}, fallback), (Rect{10, 20, 410, 320}));
    EXPECT_EQ(UsableNormalRect({50, 50, 0, 0}, fallback), (Rect{50, 50, 450, 350}));
}

TEST(FileDialog, AFolderStartsWithNoName) {
    EXPECT_EQ(InitialFileName("C:\\data\\", &IsCp932LeadByte), "");
    EXPECT_EQ(InitialFileName("C:\\data\\a.wav", &IsCp932LeadByte), "C:\\data\\a.wav");
    EXPECT_EQ(InitialFileName("", &IsCp932LeadByte), "");
    // "表" is 0x95 0x5C: its second byte is no backslash.
    const std::string hyou = "C:\\\x95\x5C";
    EXPECT_EQ(InitialFileName(hyou, &IsCp932LeadByte), hyou);
    EXPECT_EQ(InitialFileName(hyou + "\\", &IsCp932LeadByte), "");
}

TEST(FileDialog, FilterBarsBecomeTerminators) {
    EXPECT_EQ(MakeFileFilter("wave files (*.wav)|*.wav||"),
              std::string("wave files (*.wav)\0*.wav\0\0", 26));
}

}  // namespace
}  // namespace varnoke
