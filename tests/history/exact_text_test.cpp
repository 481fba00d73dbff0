#include "history/exact_text.h"

#include <gtest/gtest.h>

#include <string>

#include "history/exact_text_file.h"
#include "support/cp932_codec.h"

namespace varnoke {
namespace {

const samples::Cp932Codec kCodec;
const std::u16string kMixed =
    u"caf\u00E9 \U0001F600 \uD55C\uAD6D\uC5B4 \u7B80\u4F53\u5B57 \u65E5\u672C\u8A9E";

HistoryEntry Capture(const std::u16string& wide, int historyLen = 65535) {
    // CF_TEXT as the system makes it from the Unicode text.
    const std::string ansi = kCodec.ToClipboardAnsi(wide);
    return MakeCapturedEntry(ansi, wide.substr(0, static_cast<size_t>(historyLen) + 1), historyLen,
                             IsCp932LeadByte, kCodec);
}

TEST(ExactTextTest, OnlyTextsTheCodePageLosesKeepAnExactText) {
    const HistoryEntry japanese = Capture(u"\u65E5\u672C\u8A9E abc");
    EXPECT_EQ(japanese.ansi, "\x93\xFA\x96\x7B\x8C\xEA abc");
    EXPECT_TRUE(japanese.exact.empty());
    EXPECT_TRUE(MakeCapturedEntry("abc", u"", 10, IsCp932LeadByte, kCodec).exact.empty());

    const HistoryEntry mixed = Capture(kMixed);
    EXPECT_EQ(mixed.exact, kMixed);
    EXPECT_EQ(mixed.ansi, kCodec.ToClipboardAnsi(kMixed));
    // Two emoji are the same ANSI text, but not the same entry.
    EXPECT_NE(Capture(u"\U0001F600"), Capture(u"\U0001F60E"));
    EXPECT_EQ(Capture(u"\U0001F600").ansi, Capture(u"\U0001F60E").ansi);
    EXPECT_NE(HashHistoryEntry(Capture(u"\U0001F600")), HashHistoryEntry(Capture(u"\U0001F60E")));
}

TEST(ExactTextTest, BothFormsEndAtTheSameCharacterAndNeverInsideAPair) {
    std::u16string emoji;
    for (int i = 0; i < 70000; ++i) {
        emoji += u"\U0001F600";
    }
    const HistoryEntry cut = Capture(emoji);
    EXPECT_EQ(cut.exact.size(), 65534u);
    EXPECT_EQ(cut.ansi, std::string(65534, '?'));
    EXPECT_EQ(kCodec.ToClipboardAnsi(cut.exact), cut.ansi);

    // A Japanese text cut in the middle keeps whole characters in both forms.
    const HistoryEntry japanese = Capture(u"\u00E9\u65E5\u672C\u8A9E", 4);
    EXPECT_EQ(japanese.ansi, "e\x93\xFA");
    EXPECT_EQ(japanese.exact, u"\u00E9\u65E5");
    EXPECT_EQ(CutExactText(u"a\U0001F600", 2, kCodec), u"a");
    EXPECT_EQ(CutExactText(u"a\U0001F600", 3, kCodec), u"a\U0001F600");
}

TEST(ExactTextTest, AnEditedTextBecomesTheEntryACopyOfItWouldMake) {
    auto edit = [](const HistoryEntry& before, const std::u16string& text, int historyLen) {
        return EntryFromEditedText(before, text, historyLen, IsCp932LeadByte, kCodec);
    };
    const HistoryEntry mixed = Capture(kMixed);
    EXPECT_EQ(edit(mixed, kMixed, 100), mixed);
    EXPECT_EQ(edit(mixed, kMixed + u"\u00FC", 100), Capture(kMixed + u"\u00FC"));
    EXPECT_EQ(edit(mixed, u"new", 100), HistoryEntry("new"));
    EXPECT_EQ(edit(mixed, u"", 100), std::nullopt);
    // Bytes the code page has no character for stay as they were while unchanged.
    const HistoryEntry odd("\x85\x40");
    EXPECT_EQ(edit(odd, EditableText(odd, kCodec), 100), odd);
    // "あい" cut at 3 bytes keeps "あ" whole; an exact text is cut at the same character.
    EXPECT_EQ(edit(mixed, u"\u3042\u3044", 3), HistoryEntry("\x82\xA0"));
    EXPECT_EQ(edit(mixed, u"\u00E9\u00E9\U0001F600", 3), HistoryEntry("ee", u"\u00E9\u00E9"));
    // OK cuts a text longer than HistoryLen even when it was not changed.
    const HistoryEntry longPlain(std::string(30, 'x'));
    EXPECT_EQ(edit(longPlain, EditableText(longPlain, kCodec), 12),
              HistoryEntry(std::string(12, 'x')));
    EXPECT_EQ(edit(mixed, kMixed, 7), HistoryEntry("cafe ??", u"caf\u00E9 \U0001F600"));
}

// "¢" is one unit and one "?" without look-alikes, but CF_TEXT holds "￠", two bytes: a cut
// measured the first way would keep more characters in the exact text than in CF_TEXT.
TEST(ExactTextTest, BothFormsAreMeasuredAsCfTextHoldsThem) {
    const std::u16string cents(8, u'\u00A2');
    std::string fullWidthCents;
    for (int i = 0; i < 5; ++i) {
        fullWidthCents += "\x81\x91";
    }
    const HistoryEntry fiveOfEach(fullWidthCents, std::u16string(5, u'\u00A2'));
    EXPECT_EQ(Capture(cents, 10), fiveOfEach);
    EXPECT_EQ(CutEntry(Capture(cents), 10, IsCp932LeadByte, kCodec), fiveOfEach);
    EXPECT_EQ(CutEntry(Capture(cents), 11, IsCp932LeadByte, kCodec), fiveOfEach);
    EXPECT_EQ(MakeWideMenuLabel(cents, 4, kCodec), u"\u00A2\u00A2...");
    // The wave dash, the minus sign and the pound take two bytes, and a label of the exact
    // text stays as wide as the label of its bytes.
    const HistoryEntry dash = Capture(u"a\u301C\u2212\u00A3b");
    EXPECT_EQ(dash.ansi,
              "a\x81\x60\x81\x7C\x81\x92"
              "b");
    EXPECT_EQ(CutEntry(dash, 4, IsCp932LeadByte, kCodec), HistoryEntry("a\x81\x60", u"a\u301C"));
}

ClipHistory Plain(const ClipHistory& history) {
    ClipHistory plain;
    for (const HistoryEntry& entry : history.entries()) {
        plain.Append(HistoryEntry(entry.ansi));
    }
    return plain;
}

std::string ExactFile(const ClipHistory& history) {
    std::string bytes;
    StringSink sink(&bytes);
    EXPECT_TRUE(WriteExactTextFile(history, DataFileIdentityOf(history), sink));
    return bytes;
}

// Loads `exactFile` over the entries of the data file that `onDisk` writes, as the program
// does: the data file's identity from its bytes.
ClipHistory LoadOver(const std::string& exactFile, const ClipHistory& onDisk,
                     int* attached = nullptr) {
    ClipHistory loaded = Plain(onDisk);
    MemorySource source(exactFile);
    const ExactTextLoadResult result =
        LoadExactTexts(source, loaded, 0, DataFileIdentityOf(loaded));
    EXPECT_FALSE(result.damaged);
    if (attached != nullptr) {
        *attached = result.attached;
    }
    return loaded;
}

ClipHistory History(const std::vector<HistoryEntry>& entries) {
    ClipHistory history;
    for (const HistoryEntry& entry : entries) {
        history.Append(entry);
    }
    return history;
}

const HistoryEntry kGrin = Capture(u"\U0001F600");
const HistoryEntry kCool = Capture(u"\U0001F60E");
const HistoryEntry kSmile = Capture(u"\U0001F642");

TEST(ExactTextFileTest, EachRecordReturnsToItsOwnEntryOnly) {
    const ClipHistory history =
        History({HistoryEntry("new"), HistoryEntry("plain"), kGrin, kCool, Capture(kMixed)});
    int attached = 0;
    EXPECT_EQ(LoadOver(ExactFile(history), history, &attached).entries(), history.entries());
    EXPECT_EQ(attached, 3);

    // Loaded after two entries already there, the records count from the third.
    ClipHistory appended = History({HistoryEntry("x"), HistoryEntry("y")});
    for (const HistoryEntry& entry : history.entries()) {
        appended.Append(HistoryEntry(entry.ansi));
    }
    DataFileHasher hasher;
    std::string dataFile;
    AppendHistoryFile(Plain(history), &dataFile);
    hasher.Add(dataFile.data(), dataFile.size());
    const std::string exactFile = ExactFile(history);
    MemorySource source(exactFile);
    EXPECT_EQ(LoadExactTexts(source, appended, 2, hasher.identity()).attached, 3);
    EXPECT_EQ(appended.at(4).exact, kGrin.exact);
    EXPECT_EQ(appended.at(5).exact, kCool.exact);
}

// Another data file than the one the records were written for: an older version's rewrite,
// a save torn between the two files, a file left behind. Every emoji is "??" in the data
// file, so only a text that no other entry could hold may attach.
TEST(ExactTextFileTest, ARecordNeverGoesToAnEntryOfAnotherDataFileThatItCannotTellApart) {
    const HistoryEntry cafe = Capture(u"caf\u00E9");
    const ClipHistory saved = History({kGrin, kCool, cafe});
    const std::string exactFile = ExactFile(saved);

    // An older version captured a third emoji: three "??" entries, no exact text among them.
    ClipHistory loaded = LoadOver(exactFile, History({kSmile, kGrin, kCool, cafe}));
    EXPECT_EQ(loaded.entries(), History({HistoryEntry(kSmile.ansi), HistoryEntry(kGrin.ansi),
                                         HistoryEntry(kCool.ansi), cafe})
                                    .entries());
    // The data file's save failed after the exact texts were saved with a new capture: the
    // old data file is one capture behind.
    const std::string ahead = ExactFile(History({kSmile, kGrin, kCool, cafe}));
    loaded = LoadOver(ahead, saved);
    EXPECT_EQ(loaded.entries(),
              History({HistoryEntry(kGrin.ansi), HistoryEntry(kCool.ansi), cafe}).entries());
    // A plain "cafe" beside the record's entry in its own history: the data file's "cafe"
    // may be either.
    const HistoryEntry plainCafe(cafe.ansi);
    loaded = LoadOver(ExactFile(History({cafe, plainCafe, HistoryEntry("x")})),
                      History({plainCafe, HistoryEntry("y")}));
    EXPECT_TRUE(loaded.at(0).exact.empty());
    // Two entries of the data file with the record's bytes.
    loaded =
        LoadOver(ExactFile(History({cafe, HistoryEntry("x")})), History({plainCafe, plainCafe}));
    EXPECT_TRUE(loaded.at(0).exact.empty() && loaded.at(1).exact.empty());
}

TEST(ExactTextFileTest, DamageKeepsWhatCameBeforeIt) {
    const ClipHistory history = History({kGrin, Capture(kMixed)});
    const DataFileIdentity dataFile = DataFileIdentityOf(history);
    const std::string bytes = ExactFile(history);
    for (const std::string& damaged :
         {bytes.substr(0, bytes.size() - 3), bytes.substr(0, bytes.size() - 1) + "X",
          bytes + "\x13\x14" + std::string(26, '\0')}) {
        ClipHistory loaded = Plain(history);
        MemorySource source(damaged);
        ExactTextLoadResult result = LoadExactTexts(source, loaded, 0, dataFile);
        EXPECT_TRUE(result.damaged);
        EXPECT_EQ(loaded.at(0).exact, kGrin.exact);
    }
    ClipHistory loaded = Plain(history);
    MemorySource wrongHeader("Varnoke Clipboard History Data File\r\n");
    EXPECT_TRUE(LoadExactTexts(wrongHeader, loaded, 0, dataFile).damaged);
    MemorySource empty("");
    EXPECT_FALSE(LoadExactTexts(empty, loaded, 0, dataFile).damaged);

    // The layout before the data file was named: read as another data file's records.
    std::string first = "Varnoke Exact Text Data File\r\n\x13\x14";
    first += std::string("\x00\x00\x00\x00\x04\x00\x00\x00", 8);
    const uint64_t hash = ExactTextAnsiHash("cafe");
    for (int i = 0; i < 8; ++i) {
        first += static_cast<char>(hash >> (8 * i));
    }
    first += std::string(
        "\x04\x00\x00\x00"
        "c\0a\0f\0\xE9\0\x05\x04\x0D\x0A",
        16);
    loaded = History({HistoryEntry("x"), HistoryEntry("cafe")});
    MemorySource old(first);
    EXPECT_EQ(LoadExactTexts(old, loaded, 0, std::nullopt).attached, 1);
    EXPECT_EQ(loaded.at(1).exact, u"caf\u00E9");
}

}  // namespace
}  // namespace varnoke
