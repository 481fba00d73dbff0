#include "history/history_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/dual_texts.h"

namespace varnoke {
namespace {

const std::string kHeaderLine = "Varnoke Clipboard History Data File\r\n";

std::string Record(const std::string& text) {
    std::string r = "\x13\x14";
    for (int i = 0; i < 4; ++i) {
        r += static_cast<char>((text.size() >> (8 * i)) & 0xFF);
    }
    return r + text + "\x05\x04\x0D\x0A";
}

std::string Encode(const std::vector<std::string>& texts) {
    ClipHistory history;
    for (const std::string& t : texts) {
        history.Append(HistoryEntry(t));
    }
    std::string out;
    AppendHistoryFile(history, &out);
    return out;
}

struct Loaded {
    HistoryLoadResult result;
    ClipHistory history;
};

Loaded Load(const std::string& bytes, int historyLen = 65535, int alreadyThere = 0) {
    Loaded loaded;
    for (int i = 0; i < alreadyThere; ++i) {
        loaded.history.Append(HistoryEntry("old"));
    }
    MemorySource source(bytes);
    loaded.result = LoadHistoryRecords(source, loaded.history, historyLen, IsCp932LeadByte);
    return loaded;
}

std::vector<std::string> Numbered(int count) {
    std::vector<std::string> texts;
    for (int i = 0; i < count; ++i) {
        texts.push_back(std::to_string(i));
    }
    return texts;
}

TEST(HistoryFileEncodeTest, ExactBytes) {
    EXPECT_EQ(Encode({}), kHeaderLine);
    EXPECT_EQ(Encode({}).size(), 37u);
    std::string abc = Encode({"abc"});
    EXPECT_EQ(abc, kHeaderLine + std::string("\x13\x14\x03\x00\x00\x00", 6) + "abc\x05\x04\r\n");
    EXPECT_EQ(abc.size(), 50u);
    ClipHistory two;
    two.Append(HistoryEntry("x"));
    two.Append(HistoryEntry(std::string(300, 'y')));
    EXPECT_EQ(HistoryFileSize(two), 37u + 11u + 310u);
    EXPECT_EQ(Encode({"x", std::string(300, 'y')}),
              kHeaderLine + Record("x") + Record(std::string(300, 'y')));
}

TEST(HistoryFileDecodeTest, RoundTripInFileOrder) {
    Loaded l = Load(Encode({"first", "\x95\x5C", "third"}));
    EXPECT_TRUE(l.result.ok);
    EXPECT_FALSE(l.result.cutShort);
    EXPECT_EQ(l.result.added, 3);
    EXPECT_EQ(l.history.entries(), AnsiTexts({"first", "\x95\x5C", "third"}));
    EXPECT_TRUE(Load(kHeaderLine).result.ok);
    EXPECT_EQ(Load(kHeaderLine).history.size(), 0);
}

TEST(HistoryFileDecodeTest, EmptyRecordIsSkippedAndReadingGoesOn) {
    Loaded l = Load(kHeaderLine + Record("a") + Record("") + Record("b"));
    EXPECT_EQ(l.history.entries(), AnsiTexts({"a", "b"}));
    EXPECT_EQ(l.result.added, 2);
}

TEST(HistoryFileDecodeTest, BadRecordEndsReadingKeepingEarlierOnes) {
    std::string good = kHeaderLine + Record("a");
    std::string badStart = Record("b");
    badStart[1] = 0x15;
    std::string badEnd = Record("b");
    badEnd.back() = 'x';
    std::string pastEof = Record("bbbb");
    pastEof.resize(pastEof.size() - 1);
    const std::string hugeLength("\x13\x14\xFF\xFF\xFF\xFF", 6);
    for (const std::string& bad : {badStart, badEnd, pastEof, hugeLength + "abc",
                                   std::string("\x13"), std::string("\x13\x14\x01")}) {
        Loaded l = Load(good + bad + Record("c"));
        EXPECT_TRUE(l.result.ok);
        EXPECT_TRUE(l.result.damaged);
        EXPECT_EQ(l.history.entries(), AnsiTexts({"a"}));
        EXPECT_TRUE(Load(good + bad).result.damaged);
    }
}

// Only what the load could not read counts: the cap, the HistoryLen cut and empty data
// lose nothing that is in the file.
TEST(HistoryFileDecodeTest, DamagedOnlyWhenReadingStoppedShortOfTheEnd) {
    EXPECT_FALSE(Load(Encode({})).result.damaged);
    EXPECT_FALSE(Load(Encode({"a", "b"})).result.damaged);
    EXPECT_FALSE(Load(Encode({"abcdefgh"}), 3).result.damaged);
    EXPECT_FALSE(Load(Encode(Numbered(300)) + "trailing junk").result.damaged);
    EXPECT_FALSE(Load(Encode(Numbered(10)), 65535, 295).result.damaged);
    EXPECT_FALSE(Load("").result.damaged);
    EXPECT_FALSE(Load("").result.ok);

    EXPECT_TRUE(Load("Varnoke Clipboard History Data File \r\n" + Record("a")).result.damaged);
    EXPECT_TRUE(Load("x").result.damaged);
    EXPECT_TRUE(Load(Encode({"a"}) + "\x13").result.damaged);
}

TEST(HistoryFileDecodeTest, HugeDeclaredLengthAllocatesNothing) {
    const std::string bytes = std::string("\x13\x14\xFF\xFF\xFF\xFF", 6) + std::string(100, 'x');
    MemorySource source(bytes);
    std::string text;
    EXPECT_FALSE(ReadHistoryRecord(source, 65535, IsCp932LeadByte, &text));
    EXPECT_LE(text.capacity(), 100u);
}

TEST(HistoryFileDecodeTest, FirstLineMustBeTheHeaderExactly) {
    const std::string text = "Varnoke Clipboard History Data File";
    EXPECT_TRUE(Load(text + "\n" + Record("a")).result.ok);
    EXPECT_EQ(Load(text + "\n" + Record("a")).history.size(), 1);
    EXPECT_TRUE(Load(text).result.ok);
    EXPECT_FALSE(Load(text + " \r\n").result.ok);
    EXPECT_FALSE(Load(text + "\r\r\n").result.ok);
    EXPECT_FALSE(Load(text + "\r").result.ok);
    EXPECT_FALSE(Load("varnoke Clipboard History Data File\r\n").result.ok);
    EXPECT_FALSE(Load("").result.ok);
    EXPECT_FALSE(Load(text + std::string(1000000, 'x')).result.ok);
}

TEST(HistoryFileDecodeTest, StopsAtThreeHundredEntries) {
    Loaded exact = Load(Encode(Numbered(300)));
    EXPECT_EQ(exact.result.added, 300);
    EXPECT_TRUE(exact.result.cutShort);

    Loaded under = Load(Encode(Numbered(299)));
    EXPECT_FALSE(under.result.cutShort);

    Loaded appended = Load(Encode(Numbered(100)), 65535, 250);
    EXPECT_EQ(appended.result.added, 50);
    EXPECT_TRUE(appended.result.cutShort);
    EXPECT_EQ(appended.history.size(), 300);
    EXPECT_EQ(appended.history.at(250), HistoryEntry("0"));
    EXPECT_EQ(appended.history.at(299), HistoryEntry("49"));
}

TEST(HistoryFileDecodeTest, LongEntriesAreCutWithoutSplittingCharacters) {
    // "日" (0x93 0xFA) has a trail byte in the lead range; at width 5 the byte at position 4
    // is such a trail byte, and the character before it must stay whole.
    const std::string nichi = "\x93\xFA";
    Loaded l = Load(Encode({"abcdefg", "abcd" + nichi, "a" + nichi + nichi + "z", "abcde"}), 5);
    EXPECT_EQ(l.history.entries(), AnsiTexts({"abcde", "abcd", "a" + nichi + nichi, "abcde"}));
    EXPECT_EQ(Load(Encode({"abc"}), 0).history.size(), 0);
}

TEST(RaisedLimitMessageTest, TwoOrThreeLines) {
    EXPECT_EQ(FormatRaisedLimitMessage("over %d", 90, "raised to %d", 120, false, "cut %d"),
              "over 90\nraised to 120");
    EXPECT_EQ(FormatRaisedLimitMessage("over %d", 250, "raised to %d", 300, true, "cut %d%%"),
              "over 250\nraised to 300\ncut 300%");
    EXPECT_EQ(FormatRaisedLimitMessage("bad %s", 1, "%d%d", 2, true, "none"), "bad %s\n%d%d\nnone");
}

}  // namespace
}  // namespace varnoke
