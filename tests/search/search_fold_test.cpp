#include "search/search_fold.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

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

// Every character of code page 932, and every half-width kana with each voicing mark, folds
// to the same text in both foldings. Both share the joining table, so this does not check
// which kana join; the written-out list below does.
TEST(SearchFoldTest, AnsiAndWideFoldingsAgreeOnEveryCharacter) {
    std::vector<std::string> texts;
    for (int c = 0; c < 0x100; ++c) {
        if (!IsCp932LeadByte(static_cast<unsigned char>(c))) {
            texts.push_back(std::string(1, static_cast<char>(c)));
        }
        if (c >= 0xA1 && c <= 0xDF) {
            texts.push_back(std::string{static_cast<char>(c), '\xDE'});
            texts.push_back(std::string{static_cast<char>(c), '\xDF'});
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
    EXPECT_GT(checked, 7000);
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

}  // namespace
}  // namespace varnoke
