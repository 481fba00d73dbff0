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
// to the same text in both foldings: this checks the tables against iconv.
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
