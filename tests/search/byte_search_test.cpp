#include "search/byte_search.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "support/find_by_walking.h"

namespace varnoke {
namespace {

constexpr size_t kNone = std::string::npos;

using samples::FindByWalking;

TEST(SearchFindTest, NeverStartsOnASecondByte) {
    // "a" is the second byte of U+30C2 (0x83 0x61); the first "a" after it is found.
    EXPECT_EQ(FindFoldedAnsi("\x83\x61", "a", IsCp932LeadByte), kNone);
    EXPECT_EQ(FindFoldedAnsi("\x83\x61"
                             "a",
                             "a", IsCp932LeadByte),
              2u);
    EXPECT_EQ(FindFoldedAnsi("\x83\x83\x83\x81"
                             "abc",
                             "\x83\x81"
                             "a",
                             IsCp932LeadByte),
              2u);
    EXPECT_EQ(FindFoldedAnsi("\x83\x83\x81\x83", "\x83\x81", IsCp932LeadByte), kNone);
    // Bytes 00 61 61 00: "aa" as one unit would start on a second byte.
    EXPECT_EQ(FindFoldedWide(u"\u6100a", u"\u6161"), kNone);
    EXPECT_EQ(FindFoldedWide(u"x\U0001F600", std::u16string(1, char16_t{0xDE00})), kNone);
    EXPECT_EQ(FindFoldedWide(u"xy\u3042xyz", u"xyz"), 3u);

    // Texts dense in lead-range bytes, against a walk over their characters.
    const char alphabet[] = {'a', 'b', '\x81', '\x83', '\x61', '\x40', '\xE0'};
    std::mt19937 random(7);
    for (int round = 0; round < 3000; ++round) {
        std::string hay(random() % 40, ' ');
        for (char& c : hay) {
            c = alphabet[random() % sizeof alphabet];
        }
        const size_t from = hay.empty() ? 0 : random() % hay.size();
        const std::string needle = hay.substr(from, 1 + random() % 6);
        EXPECT_EQ(FindFoldedAnsi(hay, needle, IsCp932LeadByte), FindByWalking(hay, needle))
            << "round " << round;
    }
}

}  // namespace
}  // namespace varnoke
