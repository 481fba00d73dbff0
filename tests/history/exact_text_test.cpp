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
    // CF_TEXT as the system makes it from the Unicode text, best fit aside.
    const std::string ansi = kCodec.ToAnsi(wide);
    return MakeCapturedEntry(ansi, wide.substr(0, static_cast<size_t>(historyLen) + 1), historyLen,
                             IsCp932LeadByte, kCodec);
}

TEST(ExactTextTest, OnlyTextsTheCodePageLosesKeepAnExactText) {
    const HistoryEntry japanese = Capture(u"\u65E5\u672C\u8A9E abc");
    EXPECT_EQ(japanese.text, "\x93\xFA\x96\x7B\x8C\xEA abc");
    EXPECT_TRUE(japanese.exact.empty());
    EXPECT_TRUE(MakeCapturedEntry("abc", u"", 10, IsCp932LeadByte, kCodec).exact.empty());

    const HistoryEntry mixed = Capture(kMixed);
    EXPECT_EQ(mixed.exact, kMixed);
    EXPECT_EQ(mixed.text, kCodec.ToAnsi(kMixed));
    // Two emoji are the same ANSI text, but not the same entry.
    EXPECT_NE(Capture(u"\U0001F600"), Capture(u"\U0001F60E"));
    EXPECT_EQ(Capture(u"\U0001F600").text, Capture(u"\U0001F60E").text);
    EXPECT_NE(HashHistoryEntry(Capture(u"\U0001F600")), HashHistoryEntry(Capture(u"\U0001F60E")));
}

TEST(ExactTextTest, BothFormsEndAtTheSameCharacterAndNeverInsideAPair) {
    std::u16string emoji;
    for (int i = 0; i < 70000; ++i) {
        emoji += u"\U0001F600";
    }
    const HistoryEntry cut = Capture(emoji);
    EXPECT_EQ(cut.exact.size(), 65534u);
    EXPECT_EQ(cut.text, std::string(65534, '?'));
    EXPECT_EQ(kCodec.ToAnsi(cut.exact), cut.text);

    // A Japanese text cut in the middle keeps whole characters in both forms.
    const HistoryEntry japanese = Capture(u"\u00E9\u65E5\u672C\u8A9E", 4);
    EXPECT_EQ(japanese.text, "?\x93\xFA");
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
    EXPECT_EQ(edit(mixed, u"\u00E9\u00E9\U0001F600", 3), HistoryEntry("??", u"\u00E9\u00E9"));
}

ClipHistory Plain(const ClipHistory& history) {
    ClipHistory plain;
    for (const HistoryEntry& entry : history.entries()) {
        plain.Append(entry.text);
    }
    return plain;
}

std::string ExactFile(const ClipHistory& history) {
    std::string bytes;
    StringSink sink(&bytes);
    EXPECT_TRUE(WriteExactTextFile(history, sink));
    return bytes;
}

TEST(ExactTextFileTest, EachRecordReturnsToItsOwnEntryOnly) {
    ClipHistory history;
    history.Append("new");
    history.Append("plain");
    history.Append(Capture(u"\U0001F600"));
    history.Append(Capture(kMixed));
    const std::string bytes = ExactFile(history);

    ClipHistory loaded = Plain(history);
    MemorySource source(bytes);
    ExactTextLoadResult result = LoadExactTexts(source, loaded, 0);
    EXPECT_EQ(result.attached, 2);
    EXPECT_FALSE(result.damaged);
    EXPECT_EQ(loaded.entries(), history.entries());

    // A data file rewritten without it: changed or missing entries get nothing.
    ClipHistory rewritten;
    rewritten.Append("changed");
    rewritten.Append("plain");
    MemorySource again(bytes);
    result = LoadExactTexts(again, rewritten, 0);
    EXPECT_EQ(result.attached, 0);
    EXPECT_EQ(result.ignored, 2);

    // A save cut short between the two files: the data file is one capture behind.
    ClipHistory behind;
    for (int pos = 1; pos < history.size(); ++pos) {
        behind.Append(history.at(pos).text);
    }
    MemorySource shifted(bytes);
    EXPECT_EQ(LoadExactTexts(shifted, behind, 0).attached, 2);
    EXPECT_EQ(behind.at(1).exact, u"\U0001F600");
    EXPECT_EQ(behind.at(2).exact, kMixed);

    // Loaded after two entries already there, the records count from the third.
    ClipHistory appended;
    appended.Append("x");
    appended.Append("y");
    const ClipHistory plain = Plain(history);
    for (const HistoryEntry& entry : plain.entries()) {
        appended.Append(entry);
    }
    MemorySource third(bytes);
    EXPECT_EQ(LoadExactTexts(third, appended, 2).attached, 2);
    EXPECT_EQ(appended.at(4).exact, u"\U0001F600");
}

TEST(ExactTextFileTest, DamageKeepsWhatCameBeforeIt) {
    ClipHistory history;
    history.Append(Capture(u"\U0001F600"));
    history.Append(Capture(kMixed));
    const std::string bytes = ExactFile(history);
    for (const std::string& damaged :
         {bytes.substr(0, bytes.size() - 3), bytes.substr(0, bytes.size() - 1) + "X",
          bytes + "\x13\x14" + std::string(22, '\0')}) {
        ClipHistory loaded = Plain(history);
        MemorySource source(damaged);
        ExactTextLoadResult result = LoadExactTexts(source, loaded, 0);
        EXPECT_TRUE(result.damaged);
        EXPECT_EQ(loaded.at(0).exact, u"\U0001F600");
    }
    ClipHistory loaded = Plain(history);
    MemorySource wrongHeader("Varnoke Clipboard History Data File\r\n");
    EXPECT_TRUE(LoadExactTexts(wrongHeader, loaded, 0).damaged);
    MemorySource empty("");
    EXPECT_FALSE(LoadExactTexts(empty, loaded, 0).damaged);
}

}  // namespace
}  // namespace varnoke
