#include "menus/history_menu_model.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

#include "support/cp932_codec.h"
#include "support/dual_texts.h"

namespace varnoke {
namespace {

std::vector<HistoryEntry> Numbered(int count) {
    std::vector<HistoryEntry> entries;
    for (int i = 0; i < count; ++i) {
        entries.emplace_back("e" + std::to_string(i));
    }
    return entries;
}

std::vector<HistoryMenuItem> Build(const std::vector<HistoryEntry>& entries,
                                   const Settings& settings) {
    return BuildHistoryMenuItems(entries, settings, IsCp932LeadByte);
}

std::vector<size_t> BreakRows(const std::vector<HistoryMenuItem>& items) {
    std::vector<size_t> rows;
    for (size_t i = 0; i < items.size(); ++i) {
        if (items[i].columnBreak) {
            rows.push_back(i);
        }
    }
    return rows;
}

// Through the menu's items, so that the HistoryAccessKey setting is seen to reach them.
TEST(MakeItemPrefixTest, EverySchemeAtTheBoundaries) {
    const int numbers[] = {1, 9, 10, 11, 36, 37, 99, 100, 123};
    const std::vector<std::vector<std::string>> expected = {
        {"1. ", "9. ", "10. ", "11. ", "36. ", "37. ", "99. ", "100. ", "123. "},
        {"&1. ", "&9. ", "1&0. ", "11. ", "36. ", "37. ", "99. ", "100. ", "123. "},
        {"&1. ", "&9. ", "1&0. ", "11(&A). ", "36(&Z). ", "37. ", "99. ", "100. ", "123. "},
        {"&1. ", "&9. ", "1&0. ", "1&1. ", "3&6. ", "3&7. ", "9&9. ", "10&0. ", "12&3. "},
        {"&01. ", "&09. ", "&10. ", "&11. ", "&36. ", "&37. ", "&99. ", "1&00. ", "1&23. "},
    };
    Settings settings;
    settings.historyMenuOrder = 1;
    for (int scheme = 0; scheme < 5; ++scheme) {
        settings.historyAccessKey = scheme;
        const auto items = Build(Numbered(123), settings);
        for (size_t i = 0; i < std::size(numbers); ++i) {
            EXPECT_EQ(items[numbers[i] - 1].label.ansi,
                      expected[scheme][i] + "e" + std::to_string(numbers[i] - 1))
                << "scheme " << scheme << " n " << numbers[i];
        }
    }
}

TEST(MakeItemPrefixTest, UnknownSchemesAndNoNumbers) {
    EXPECT_EQ(MakeItemPrefix(22, 1, 2), "23(&M). ");
    EXPECT_EQ(MakeItemPrefix(2, 1, 5), "3. ");
    EXPECT_EQ(MakeItemPrefix(2, 1, -1), "3. ");
    for (int scheme : {0, 1, 2, 3, 4}) {
        EXPECT_EQ(MakeItemPrefix(0, 0, scheme), "");
    }
}

TEST(HistoryColumnsTest, LastColumnsTakeTheRemainder) {
    EXPECT_EQ(HistoryColumnSizes(31, 30), (std::vector<int>{15, 16}));
    EXPECT_EQ(HistoryColumnSizes(10, 3), (std::vector<int>{2, 2, 3, 3}));
    EXPECT_EQ(HistoryColumnSizes(90, 30), (std::vector<int>{30, 30, 30}));
    EXPECT_EQ(HistoryColumnSizes(30, 30), (std::vector<int>{30}));
    EXPECT_EQ(HistoryColumnSizes(1, 30), (std::vector<int>{1}));
    EXPECT_EQ(HistoryColumnSizes(3, 1), (std::vector<int>{1, 1, 1}));
    EXPECT_EQ(HistoryColumnSizes(3, 0), (std::vector<int>{1, 1, 1}));
    EXPECT_TRUE(HistoryColumnSizes(0, 30).empty());
}

TEST(HistoryColumnsTest, BreakFlagsStartEveryColumnButTheFirst) {
    Settings settings;
    settings.historyMenuBreak = 30;
    EXPECT_EQ(BreakRows(Build(Numbered(31), settings)), (std::vector<size_t>{15}));
    EXPECT_EQ(BreakRows(Build(Numbered(90), settings)), (std::vector<size_t>{30, 60}));
    EXPECT_TRUE(BreakRows(Build(Numbered(30), settings)).empty());
    settings.historyMenuBreak = 3;
    EXPECT_EQ(BreakRows(Build(Numbered(10), settings)), (std::vector<size_t>{2, 4, 7}));
    EXPECT_TRUE(Build({}, settings).empty());
}

TEST(HistoryMenuItemsTest, NumbersAndIdsFollowPositionsInBothOrders) {
    Settings settings;
    settings.historyAccessKey = 1;
    settings.historyMenuOrder = 0;
    auto items = Build(Numbered(12), settings);
    ASSERT_EQ(items.size(), 12u);
    EXPECT_EQ(items.front().label.ansi, "12. e11");
    EXPECT_EQ(items.front().commandId, 37011u);
    EXPECT_EQ(items.back().label.ansi, "&1. e0");
    EXPECT_EQ(items.back().commandId, 37000u);

    settings.historyMenuOrder = 1;
    items = Build(Numbered(12), settings);
    EXPECT_EQ(items.front().label.ansi, "&1. e0");
    EXPECT_EQ(items.front().commandId, 37000u);
    EXPECT_EQ(items.back().label.ansi, "12. e11");
    // A chosen id leads back to the shown position; an id outside the range to none.
    EXPECT_EQ(HistoryPositionOfCommand(items.back().commandId), 11);
    EXPECT_EQ(HistoryPositionOfCommand(kHistoryCommandEnd), -1);
    EXPECT_EQ(HistoryPositionOfCommand(kHistoryCommandBase - 1), -1);
}

TEST(HistoryMenuItemsTest, NewestEndFollowsInsertPosition) {
    // Where the newest entry shows and which number it gets, for the four combinations.
    struct Case {
        int insertPos, menuOrder;
        bool newestFirst;
        std::string newestLabel;
    };
    const Case cases[] = {{0, 0, false, "&1. new"},
                          {0, 1, true, "&1. new"},
                          {1, 0, true, "&3. new"},
                          {1, 1, false, "&3. new"}};
    for (const Case& c : cases) {
        ClipHistory history;
        for (const char* text : {"old", "mid", "new"}) {
            c.insertPos == 0 ? history.InsertFront(HistoryEntry(text))
                             : history.Append(HistoryEntry(text));
        }
        Settings settings;
        settings.historyInsertPos = c.insertPos;
        settings.historyMenuOrder = c.menuOrder;
        const auto items = Build(history.entries(), settings);
        const HistoryMenuItem& newest = c.newestFirst ? items.front() : items.back();
        EXPECT_EQ(newest.label.ansi, c.newestLabel) << c.insertPos << c.menuOrder;
    }
}

TEST(HistoryMenuItemsTest, LabelsAreEscapedAndCut) {
    Settings settings;
    settings.historyMenuOrder = 1;
    settings.historyMenuLen = 30;
    const std::vector<HistoryEntry> entries = AnsiTexts(
        {"abc\tdef", "A&B", std::string(65535, 'x'), std::string(30, 'y'), "\x93\xfa\x96\x7b"});
    auto items = Build(entries, settings);
    EXPECT_EQ(items[0].label.ansi, "&1. abc  def");
    EXPECT_EQ(items[1].label.ansi, "&2. A&&B");
    EXPECT_EQ(items[2].label.ansi, "&3. " + std::string(30, 'x') + "...");
    EXPECT_EQ(items[3].label.ansi, "&4. " + std::string(30, 'y'));

    settings.historyMenuLen = 2;
    settings.historyAddNum = 0;
    items = Build(entries, settings);
    EXPECT_EQ(items[4].label.ansi, "\x93\xfa...");
    EXPECT_EQ(items[1].label.ansi, "A&...");
}

// Only an entry with an exact text gets a wide label, with the same prefix and rules; every
// other label stays byte for byte as it was.
TEST(HistoryMenuItemsTest, AnEntryWithAnExactTextAlsoGetsAWideLabel) {
    const samples::Cp932Codec codec;
    Settings settings;
    settings.historyMenuOrder = 1;
    settings.historyAccessKey = 2;
    std::vector<HistoryEntry> entries(11, HistoryEntry("plain"));
    entries[10] = HistoryEntry("caf? ??", u"caf\u00E9 \U0001F600");
    const auto items = BuildHistoryMenuItems(entries, settings, IsCp932LeadByte, &codec);
    EXPECT_EQ(items[10].label.ansi, "11(&A). caf? ??");
    EXPECT_EQ(items[10].label.exact, u"11(&A). caf\u00E9 \U0001F600");
    EXPECT_EQ(items[0].label.ansi, "&1. plain");
    EXPECT_TRUE(items[0].label.exact.empty());
}

TEST(ClipHistoryTest, EveryChangeGivesANewVersionAndKeptHashesFollowTheTexts) {
    ClipHistory history;
    std::vector<uint64_t> versions{history.version()};
    auto changed = [&] {
        const bool isNew =
            std::find(versions.begin(), versions.end(), history.version()) == versions.end();
        versions.push_back(history.version());
        return isNew;
    };
    history.Append(HistoryEntry("b"));
    EXPECT_TRUE(changed());
    history.InsertFront(HistoryEntry("a"));
    EXPECT_TRUE(changed());
    history.Append(HistoryEntry("c"));
    EXPECT_TRUE(changed());
    EXPECT_EQ(history.TextHash(1), HashHistoryText("b"));
    history.Replace(1, HistoryEntry("x"));
    EXPECT_TRUE(changed());
    EXPECT_EQ(history.TextHash(1), HashHistoryText("x"));
    EXPECT_EQ(history.Take(0), HistoryEntry("a"));
    EXPECT_TRUE(changed());
    EXPECT_EQ(history.TextHash(0), HashHistoryText("x"));
    EXPECT_EQ(history.TextHash(1), HashHistoryText("c"));
    history.RemoveAt(5);  // out of range: nothing changes
    EXPECT_FALSE(changed());
    history.RemoveAt(0);
    EXPECT_TRUE(changed());
    EXPECT_EQ(history.TextHash(0), HashHistoryText("c"));
    history.RemoveFrom(0);
    EXPECT_TRUE(changed() && history.empty());
    history.Append(HistoryEntry("d"));
    history.Clear();
    EXPECT_TRUE(changed() && history.empty());
    EXPECT_NE(ClipHistory().version(), ClipHistory().version());
}

TEST(HashHistoryTextTest, SeesEveryByteAndTheLength) {
    const std::string big(65535, 'q');
    for (size_t pos :
         {size_t{0}, size_t{7}, size_t{31}, size_t{32}, size_t{40000}, big.size() - 1}) {
        std::string changed = big;
        changed[pos] = 'r';
        EXPECT_NE(HashHistoryText(changed), HashHistoryText(big)) << pos;
    }
    EXPECT_NE(HashHistoryText(std::string(8, '\0')), HashHistoryText(std::string(9, '\0')));
    EXPECT_NE(HashHistoryText(""), HashHistoryText(std::string(1, '\0')));
}

}  // namespace
}  // namespace varnoke
