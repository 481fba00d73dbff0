#include "search/search_fold.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/cp1252_codec.h"
#include "support/cp932_codec.h"

namespace varnoke {
namespace {

const samples::Cp932Codec kCodec;
const AnsiFolding kCp932;

std::string Ansi(std::u16string_view wide) {
    return kCodec.ToAnsi(wide);
}

std::string Fold(std::u16string_view wide) {
    return FoldAnsiForSearch(Ansi(wide), kCp932);
}

// Every character of code page 932, and every kana with each voicing mark of either width,
// folds to the same text in both foldings. Both share the joining table, so this does not
// check which kana join; the written-out lists below do.
TEST(SearchFoldTest, AnsiAndWideFoldingsAgreeOnEveryCharacter) {
    std::vector<std::string> texts;
    for (int c = 0; c < 0x100; ++c) {
        if (!IsCp932LeadByte(static_cast<unsigned char>(c))) {
            texts.push_back(std::string(1, static_cast<char>(c)));
        }
    }
    std::vector<std::string> kana;
    for (int c = 0xA1; c <= 0xDF; ++c) {
        kana.push_back(std::string(1, static_cast<char>(c)));
    }
    for (int code = 0x829F; code <= 0x8396; ++code) {
        kana.push_back(std::string{static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)});
    }
    for (const std::string& base : kana) {
        for (const char* mark : {"\xDE", "\xDF", "\x81\x4A", "\x81\x4B"}) {
            texts.push_back(base + mark);
        }
    }
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        for (int trail = 0x40; lead <= 0x9F || lead >= 0xE0 ? trail <= 0xFC : false; ++trail) {
            texts.push_back(std::string{static_cast<char>(lead), static_cast<char>(trail)});
        }
    }
    int checked = 0;
    for (const std::string& text : texts) {
        const std::u16string wide = kCodec.ToWide(text);
        if (wide.find(u'\u30FB') != std::u16string::npos && text != "\x81\x45") {
            continue;  // not a character of the code page
        }
        ++checked;
        EXPECT_EQ(kCodec.ToWide(FoldAnsiForSearch(text, kCp932)), FoldWideForSearch(wide))
            << std::hex << static_cast<int>(static_cast<unsigned char>(text[0]));
    }
    EXPECT_GT(checked, 8000);
}

// Every half-width base that takes a mark, with the katakana they make together, written
// out rather than derived; every other base keeps the mark as a mark of its own.
TEST(SearchFoldTest, HalfWidthKanaJoinTheirMarksExactlyWhereFullWidthKanaExist) {
    const std::u16string voicedBases =
        u"\uFF73\uFF76\uFF77\uFF78\uFF79\uFF7A\uFF7B\uFF7C\uFF7D"
        u"\uFF7E\uFF7F\uFF80\uFF81\uFF82\uFF83\uFF84\uFF8A\uFF8B"
        u"\uFF8C\uFF8D\uFF8E";  // ｳ ｶｷｸｹｺ ｻｼｽｾｿ ﾀﾁﾂﾃﾄ ﾊﾋﾌﾍﾎ
    const std::u16string voiced =
        u"\u30F4\u30AC\u30AE\u30B0\u30B2\u30B4\u30B6\u30B8\u30BA"
        u"\u30BC\u30BE\u30C0\u30C2\u30C5\u30C7\u30C9\u30D0\u30D3"
        u"\u30D6\u30D9\u30DC";  // ヴ ガギグゲゴ ザジズゼゾ ダヂヅデド バビブベボ
    const std::u16string semiVoicedBases = u"\uFF8A\uFF8B\uFF8C\uFF8D\uFF8E";  // ﾊﾋﾌﾍﾎ
    const std::u16string semiVoiced = u"\u30D1\u30D4\u30D7\u30DA\u30DD";       // パピプペポ
    for (char16_t base = 0xFF66; base <= 0xFF9D; ++base) {
        for (const char16_t mark : {u'\uFF9E', u'\uFF9F'}) {
            const std::u16string& bases = mark == u'\uFF9E' ? voicedBases : semiVoicedBases;
            const std::u16string& joined = mark == u'\uFF9E' ? voiced : semiVoiced;
            const size_t at = bases.find(base);
            const std::u16string text{base, mark};
            const std::u16string expected = at != std::u16string::npos
                                                ? std::u16string(1, joined[at])
                                                : FoldWideForSearch(std::u16string(1, base)) +
                                                      (mark == u'\uFF9E' ? u"\u309B" : u"\u309C");
            EXPECT_EQ(FoldWideForSearch(text), expected) << std::hex << base << " " << mark;
            EXPECT_EQ(Fold(text), Ansi(expected)) << std::hex << base << " " << mark;
        }
    }
}

TEST(SearchFoldTest, FoldsCaseWidthAndKana) {
    // "ABC", full-width, and "abc"; "0123" full-width.
    EXPECT_EQ(Fold(u"AbC\uFF21\uFF42\uFF23\uFF10\uFF19\u3000"), "abcabc09 ");
    // Half-width "ka ga pa vu ho-" with the marks joined, and "ka" "ga" in hiragana: all katakana.
    EXPECT_EQ(Fold(u"\uFF76\uFF76\uFF9E\uFF8A\uFF9F\uFF73\uFF9E\uFF8E\uFF70\u304B\u304C"),
              Ansi(u"\u30AB\u30AC\u30D1\u30F4\u30DB\u30FC\u30AB\u30AC"));
    // A mark that joins nothing stays a full-width mark.
    EXPECT_EQ(Fold(u"\uFF71\uFF9E\uFF9F"), Ansi(u"\u30A2\u309B\u309C"));
    // Greek "Sigma Omega", Cyrillic "Io Ya".
    EXPECT_EQ(Fold(u"\u03A3\u03A9\u0401\u042F"), Ansi(u"\u03C3\u03C9\u0451\u044F"));
    EXPECT_EQ(FoldWideForSearch(u"\u00C0\u00D7\u00DE\u0100\u0139\u0178\u017D\u0130"),
              u"\u00E0\u00D7\u00FE\u0101\u013A\u00FF\u017E"
              u"i");
    // Any other code page folds ASCII only, and never a trail byte.
    EXPECT_EQ(FoldAnsiForSearch("A\x82\x60\x83\x41\xB6", {&IsCp932LeadByte, false}),
              "a\x82\x60\x83\x41\xB6");
}

// Each group folds to its first member in UTF-16, and every member code page 932 holds folds
// to the same bytes, so typing either form finds the other.
TEST(SearchFoldTest, JapaneseLookAlikesFoldTogether) {
    const std::vector<std::vector<std::u16string>> groups = {
        {u"~", u"\u301C", u"\uFF5E"},              // wave dash, full-width tilde
        {u"-", u"\u2212", u"\uFF0D"},              // minus sign, full-width hyphen-minus
        {u"\u2015", u"\u2014"},                    // horizontal bar, em dash
        {u"\\", u"\u00A5", u"\uFFE5", u"\uFF3C"},  // yen signs, full-width backslash
        {u"\"", u"\u201C", u"\u201D", u"\uFF02"},
        {u"'", u"\u2018", u"\u2019", u"\uFF07"},
    };
    for (const auto& group : groups) {
        for (const std::u16string& member : group) {
            EXPECT_EQ(FoldWideForSearch(member), group[0]) << std::hex << member[0];
            std::string ansi;
            if (kCodec.ToAnsiWithoutLoss(member, &ansi)) {
                EXPECT_EQ(FoldAnsiForSearch(ansi, kCp932), Ansi(group[0])) << std::hex << member[0];
            }
        }
    }
}

// Over every double-byte code: a code folds as the code its character converts back to, so
// codes of one character fold alike.
TEST(SearchFoldTest, DuplicateCodesFoldAsTheCodeTheyConvertBackTo) {
    int duplicates = 0;
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        for (int trail = 0x40; trail <= 0xFC && (lead <= 0x9F || lead >= 0xE0); ++trail) {
            const std::string code{static_cast<char>(lead), static_cast<char>(trail)};
            const std::u16string wide = kCodec.ToWide(code);
            if (wide == u"\u30FB" && code != "\x81\x45") {
                continue;
            }
            const std::string back = kCodec.ToAnsi(wide);
            duplicates += back != code;
            EXPECT_EQ(FoldAnsiForSearch(code, kCp932), FoldAnsiForSearch(back, kCp932))
                << std::hex << lead << trail;
        }
    }
    EXPECT_EQ(duplicates, 398);
    // Roman numeral one, not sign, because, and the ladder-like "taka" of family names.
    EXPECT_EQ(FoldAnsiForSearch("\xFA\x4A\xEE\xF9\xFA\x54\x87\x9A\xFA\x5B\xEE\xE0", kCp932),
              "\x87\x54\x81\xCA\x81\xCA\x81\xE6\x81\xE6\xFB\xFC");
}

// Kana and marks written out: which join, in either width and as combining marks.
TEST(SearchFoldTest, VoicedMarksJoinTheKanaBeforeThem) {
    const struct {
        std::u16string text, folded;
    } cases[] = {
        {u"\u304B\u3099", u"\u30AC"},        // ka + combining voiced mark: ga
        {u"\u30CF\u309A", u"\u30D1"},        // ha + combining semi-voiced mark: pa
        {u"\u3046\u3099", u"\u30F4"},        // u: vu
        {u"\uFF76\u3099", u"\u30AC"},        // half-width ka + combining
        {u"\u30AB\u309B", u"\u30AC"},        // ka + spacing mark
        {u"\u30D8\u309C", u"\u30DA"},        // he + spacing semi-voiced: pe
        {u"\u304B\uFF9E", u"\u30AC"},        // hiragana ka + half-width mark
        {u"\u30A2\u3099", u"\u30A2\u309B"},  // a takes no mark: a spacing mark stays
        {u"\u30AB\u309A", u"\u30AB\u309C"},  // ka takes no semi-voiced mark
        {u"\u30AC\u3099", u"\u30AC\u309B"},  // ga is voiced already
        {u"\u30EF\u3099", u"\u30EF\u309B"},  // wa: code page 932 has no va
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FoldWideForSearch(c.text), c.folded) << std::hex << c.text[0] << " " << c.text[1];
        std::string ansi;
        if (kCodec.ToAnsiWithoutLoss(c.text, &ansi)) {
            EXPECT_EQ(FoldAnsiForSearch(ansi, kCp932), Ansi(c.folded)) << std::hex << c.text[0];
        }
    }
}

// Code page 1252: a byte folds as its character does in UTF-16 where the code page has the
// result, and stays itself where it has not.
TEST(SearchFoldTest, SingleByteCodePageFoldsAsUtf16Does) {
    const samples::Cp1252Codec codec;
    const AnsiFolding folding = MakeAnsiFolding(
        codec, [](unsigned char) { return false; }, false);
    // "École ÀÞ Š Œ Ÿ ¥ “” ß × —"
    EXPECT_EQ(FoldAnsiForSearch("\xC9\x63OLE \xC0\xDE \x8A \x8C \x9F \xA5 \x93\x94 \xDF \xD7 \x97",
                                folding),
              "\xE9\x63ole \xE0\xFE \x9A \x9C \xFF \\ \"\" \xDF \xD7 \x97");
    for (int c = 0; c < 0x100; ++c) {
        const std::string byte(1, static_cast<char>(c));
        const std::string folded = FoldAnsiForSearch(byte, folding);
        const std::u16string wide = FoldWideForSearch(codec.ToWide(byte));
        EXPECT_TRUE(codec.ToWide(folded) == wide ||
                    (folded == byte && codec.ToAnsi(wide) != folded))
            << std::hex << c;
    }
}

TEST(SearchFoldTest, OffsetMapFindsWhereAFoldedOffsetBegins) {
    const struct {
        std::u16string text;
        std::vector<size_t> ansiOffsets, wideOffsets;  // of folded offsets 0, 1, 2, ...
    } cases[] = {
        // Half-width a i: two bytes each once folded.
        {u"\uFF71\uFF72", {0, 1, 1, 2, 2, 2}, {0, 1, 2, 2}},
        // Full-width A B: one byte each.
        {u"\uFF21\uFF22", {0, 2, 4, 4}, {0, 1, 2, 2}},
        // Half-width ka with its mark, then ki: ga ki.
        {u"\uFF76\uFF9E\uFF77", {0, 2, 2, 3, 3, 3}, {0, 2, 3, 3}},
        // Hiragana ka with the spacing mark, x.
        {u"\u304B\u309Bx", {0, 4, 4, 5, 5}, {0, 2, 3, 3}},
        // ka with the combining mark, x: UTF-16 only.
        {u"\u304B\u3099x", {}, {0, 2, 3, 3}},
    };
    for (const auto& c : cases) {
        const std::string ansi = c.ansiOffsets.empty() ? "" : Ansi(c.text);
        for (size_t folded = 0; folded < c.ansiOffsets.size(); ++folded) {
            EXPECT_EQ(OriginalOffsetOfFoldedAnsi(ansi, folded, kCp932), c.ansiOffsets[folded])
                << std::hex << c.text[0] << " at " << folded;
        }
        for (size_t folded = 0; folded < c.wideOffsets.size(); ++folded) {
            EXPECT_EQ(OriginalOffsetOfFoldedWide(c.text, folded), c.wideOffsets[folded])
                << std::hex << c.text[0] << " at " << folded;
        }
    }
    // Near the start of a long text.
    const std::string longText = Ansi(u"\uFF71\uFF21") + std::string(65535, 'x');
    EXPECT_EQ(OriginalOffsetOfFoldedAnsi(longText, 3, kCp932), 3u);
    EXPECT_EQ(OriginalOffsetOfFoldedAnsi(longText, 5, kCp932), 5u);
}

}  // namespace
}  // namespace varnoke
