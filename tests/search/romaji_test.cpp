#include "search/romaji.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "search/search_fold.h"

namespace varnoke {
namespace {

TEST(RomajiTest, SpellingsOfOneWordGiveOneKatakana) {
    const struct {
        std::u16string kana;
        std::vector<std::u16string> typed;
    } words[] = {
        {u"\u30AB\u30A4\u30AE", {u"kaigi"}},                                  // カイギ
        {u"\u30B7\u30F3\u30D6\u30F3", {u"shinbun", u"sinbun", u"shinnbun"}},  // シンブン
        {u"\u30C4\u30AF\u30A8", {u"tsukue", u"tukue"}},                       // ツクエ
        {u"\u30C1\u30BA", {u"chizu", u"tizu"}},                               // チズ
        {u"\u30D5\u30B8", {u"fuji", u"huji", u"fuzi"}},                       // フジ
        {u"\u30B3\u30F3\u30CB\u30C1\u30CF", {u"konnichiha", u"konnitiha"}},   // コンニチハ
        {u"\u30AB\u30F3\u30A4", {u"kan'i"}},                                  // カンイ
        {u"\u30AB\u30CB", {u"kani"}},                                         // カニ
        {u"\u30DF\u30F3\u30CA", {u"minna"}},                                  // ミンナ
        {u"\u30AA\u30F3\u30CA", {u"onnna"}},                                  // オンナ
        {u"\u30B3\u30F3\u30CB\u30E3\u30AF", {u"konnyaku"}},                   // コンニャク
        {u"\u30AD\u30C3\u30C6", {u"kitte"}},                                  // キッテ
        {u"\u30DE\u30C3\u30C1\u30E3", {u"matcha", u"maccha", u"mattya"}},     // マッチャ
        {u"\u30C8\u30A6\u30AD\u30E7\u30A6", {u"toukyou"}},                    // トウキョウ
        {u"\u30B7\u30E3", {u"sha", u"sya"}},                                  // シャ
        {u"\u30B8\u30E3", {u"ja", u"jya", u"zya"}},                           // ジャ
        {u"\u30C1\u30E3", {u"cha", u"tya", u"cya"}},                          // チャ
        {u"\u30C7\u30FC\u30BF", {u"de-ta"}},                                  // データ
        {u"\u30FC", {u"-"}},
        {u"\u30F2", {u"wo"}},                                     // ヲ
        {u"\u30F4\u30A1\u30A4\u30AA\u30EA\u30F3", {u"vaiorin"}},  // ヴァイオリン
        {u"\u30D5\u30A1\u30A4\u30EB", {u"fairu"}},                // ファイル
        {u"\u30A1\u30C3\u30C3\u30E3", {u"xaxtultsulya"}},         // small a, tsu, tsu, ya
    };
    for (const auto& word : words) {
        EXPECT_EQ(FoldWideForSearch(word.kana), word.kana);
        for (const std::u16string& typed : word.typed) {
            EXPECT_EQ(RomajiToKana(typed), word.kana) << std::string(typed.begin(), typed.end());
        }
    }
}

TEST(RomajiTest, AnythingElseIsNotRomaji) {
    for (const std::u16string typed : {u"", u"kq", u"2024", u"kaigi2", u"x", u"abc", u"ny", u"kya'",
                                       u"\u30AB", u"Ka", u"\u0161i"}) {
        EXPECT_EQ(RomajiToKana(typed), u"") << std::string(typed.begin(), typed.end());
    }
}

}  // namespace
}  // namespace varnoke
