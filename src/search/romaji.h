#pragma once
// A query word typed in Latin letters read as romaji, so that "kaigi" finds the entries that
// write the word in kana.

#include <string>
#include <string_view>

namespace varnoke {

// The katakana that a word typed in Latin letters spells, in the folded form (what
// FoldWideForSearch makes of that katakana); empty when the word is not romaji. The word is
// already folded (lower-case ASCII). Hepburn, Kunrei and the spellings of the input methods
// are read alike: shi and si, tsu and tu, ja, jya and zya. "n" is "ン" before a consonant or
// at the end, and so are "n'" and "nn", except that "nn" before a vowel or "y" is "ン" and the
// na row ("konnichiha"), as Hepburn writes it. A doubled consonant and "tch" are a small "ッ";
// x and l write small kana; "-" is the long vowel mark.
std::u16string RomajiToKana(std::u16string_view foldedWord);

}  // namespace varnoke
