#include "search/romaji.h"

#include <unordered_map>

namespace varnoke {

namespace {

constexpr char16_t kSmallTsu = 0x30C3;
constexpr char16_t kN = 0x30F3;
constexpr char16_t kLongVowel = 0x30FC;
constexpr char kVowels[] = "aiueo";

// The kana of a consonant as typed with each of the five vowels a, i, u, e, o; 0 for none.
struct Row {
    const char* consonant;
    char16_t kana[5];
};
constexpr Row kRows[] = {
    {"", {0x30A2, 0x30A4, 0x30A6, 0x30A8, 0x30AA}},
    {"k", {0x30AB, 0x30AD, 0x30AF, 0x30B1, 0x30B3}},
    {"g", {0x30AC, 0x30AE, 0x30B0, 0x30B2, 0x30B4}},
    {"s", {0x30B5, 0x30B7, 0x30B9, 0x30BB, 0x30BD}},
    {"z", {0x30B6, 0x30B8, 0x30BA, 0x30BC, 0x30BE}},
    {"t", {0x30BF, 0x30C1, 0x30C4, 0x30C6, 0x30C8}},
    {"d", {0x30C0, 0x30C2, 0x30C5, 0x30C7, 0x30C9}},
    {"n", {0x30CA, 0x30CB, 0x30CC, 0x30CD, 0x30CE}},
    {"h", {0x30CF, 0x30D2, 0x30D5, 0x30D8, 0x30DB}},
    {"b", {0x30D0, 0x30D3, 0x30D6, 0x30D9, 0x30DC}},
    {"p", {0x30D1, 0x30D4, 0x30D7, 0x30DA, 0x30DD}},
    {"m", {0x30DE, 0x30DF, 0x30E0, 0x30E1, 0x30E2}},
    {"y", {0x30E4, 0, 0x30E6, 0, 0x30E8}},
    {"r", {0x30E9, 0x30EA, 0x30EB, 0x30EC, 0x30ED}},
    {"w", {0x30EF, 0, 0, 0, 0x30F2}},
    {"x", {0x30A1, 0x30A3, 0x30A5, 0x30A7, 0x30A9}},
    {"l", {0x30A1, 0x30A3, 0x30A5, 0x30A7, 0x30A9}},
    {"sh", {0, 0x30B7, 0, 0, 0}},
    {"ch", {0, 0x30C1, 0, 0, 0}},
    {"j", {0, 0x30B8, 0, 0, 0}},
    {"ts", {0, 0, 0x30C4, 0, 0}},
    {"f", {0, 0, 0x30D5, 0, 0}},
    {"v", {0, 0, 0x30F4, 0, 0}},
};

// A kana followed by a small vowel: the contracted sounds and the sounds of loanwords.
struct Glide {
    const char* typed;  // without the vowel
    char16_t base;
    const char* vowels;
    bool yRow;  // small ya, yu, yo (and e); else small a, i, e, o
};
constexpr Glide kGlides[] = {
    {"ky", 0x30AD, "auo", true},  {"gy", 0x30AE, "auo", true},  {"sy", 0x30B7, "auoe", true},
    {"sh", 0x30B7, "auoe", true}, {"zy", 0x30B8, "auoe", true}, {"j", 0x30B8, "auoe", true},
    {"jy", 0x30B8, "auoe", true}, {"ty", 0x30C1, "auoe", true}, {"cy", 0x30C1, "auoe", true},
    {"ch", 0x30C1, "auoe", true}, {"dy", 0x30C2, "auo", true},  {"ny", 0x30CB, "auo", true},
    {"hy", 0x30D2, "auo", true},  {"by", 0x30D3, "auo", true},  {"py", 0x30D4, "auo", true},
    {"my", 0x30DF, "auo", true},  {"ry", 0x30EA, "auo", true},  {"ts", 0x30C4, "aieo", false},
    {"f", 0x30D5, "aieo", false}, {"v", 0x30F4, "aieo", false}, {"w", 0x30A6, "ie", false},
};

char16_t SmallVowel(char vowel, bool yRow) {
    switch (vowel) {
        case 'a':
            return yRow ? 0x30E3 : 0x30A1;
        case 'i':
            return 0x30A3;
        case 'u':
            return 0x30E5;
        case 'e':
            return 0x30A7;
        default:
            return yRow ? 0x30E7 : 0x30A9;
    }
}

using Syllables = std::unordered_map<std::string, std::u16string>;

Syllables MakeSyllables() {
    Syllables syllables;
    for (const Row& row : kRows) {
        for (int v = 0; v < 5; ++v) {
            if (row.kana[v] != 0) {
                syllables[std::string(row.consonant) + kVowels[v]] = std::u16string(1, row.kana[v]);
            }
        }
    }
    for (const Glide& glide : kGlides) {
        for (const char* v = glide.vowels; *v != '\0'; ++v) {
            syllables[std::string(glide.typed) + *v] = {glide.base, SmallVowel(*v, glide.yRow)};
        }
    }
    for (const char* small : {"x", "l"}) {
        const std::string s(small);
        syllables[s + "ya"] = u"\u30E3";
        syllables[s + "yu"] = u"\u30E5";
        syllables[s + "yo"] = u"\u30E7";
        syllables[s + "tu"] = syllables[s + "tsu"] = std::u16string(1, kSmallTsu);
        syllables[s + "wa"] = u"\u30EE";
        syllables[s + "ka"] = u"\u30F5";
        syllables[s + "ke"] = u"\u30F6";
    }
    return syllables;
}

bool IsVowel(char c) {
    return c == 'a' || c == 'i' || c == 'u' || c == 'e' || c == 'o';
}

}  // namespace

std::u16string RomajiToKana(std::u16string_view foldedWord) {
    static const Syllables syllables = MakeSyllables();
    std::string word;
    for (char16_t c : foldedWord) {
        if (!((c >= 'a' && c <= 'z') || c == '-' || c == '\'')) {
            return {};
        }
        word.push_back(static_cast<char>(c));
    }
    std::u16string kana;
    for (size_t i = 0; i < word.size();) {
        const char c = word[i];
        const char next = i + 1 < word.size() ? word[i + 1] : '\0';
        if (c == '-') {
            kana.push_back(kLongVowel);
            ++i;
            continue;
        }
        if (c == 'n' && !IsVowel(next) && next != 'y') {
            // "nn" is one ン unless a vowel follows, as in "konnichiha" and "minna".
            const char afterNext = i + 2 < word.size() ? word[i + 2] : '\0';
            const bool both =
                next == '\'' || (next == 'n' && !IsVowel(afterNext) && afterNext != 'y');
            kana.push_back(kN);
            i += both ? 2 : 1;
            continue;
        }
        const bool doubled = c == next && c != 'n' && !IsVowel(c) && c != '-' && c != '\'';
        if (doubled || (c == 't' && next == 'c')) {
            kana.push_back(kSmallTsu);
            ++i;
            continue;
        }
        size_t length = 4;
        for (; length > 0; --length) {
            if (i + length <= word.size()) {
                const auto found = syllables.find(word.substr(i, length));
                if (found != syllables.end()) {
                    kana += found->second;
                    break;
                }
            }
        }
        if (length == 0) {
            return {};
        }
        i += length;
    }
    return kana;
}

}  // namespace varnoke
