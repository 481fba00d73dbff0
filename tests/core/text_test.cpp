#include "core/text.h"

#include <algorithm>
#include <cstdint>

#include <gtest/gtest.h>

#include <string>

namespace varnoke {
namespace {

// CP932 bytes: "表" is 0x95 0x5C, "日" is 0x93 0xFA (trail byte in the lead range),
// "ア" is 0x83 0x41.
const std::string kHyo = "\x95\x5C";
const std::string kNichi = "\x93\xFA";

std::string Cut(const std::string& text, int width, bool ellipsis = false) {
    return CutText(text, width, ellipsis, IsCp932LeadByte);
}

std::string Label(const std::string& text, int width) {
    return MakeMenuLabel(text, width, IsCp932LeadByte);
}

TEST(CutTextTest, ShortAndExactTextsStayWhole) {
    EXPECT_EQ(Cut("abcde", 5, true), "abcde");
    EXPECT_EQ(Cut("abc", 5, true), "abc");
    EXPECT_EQ(Cut("", 0, true), "");
    EXPECT_EQ(Cut("ab" + kHyo, 4), "ab" + kHyo);
}

TEST(CutTextTest, CutsAtWidthWithOptionalEllipsis) {
    EXPECT_EQ(Cut("abcdefg", 5), "abcde");
    EXPECT_EQ(Cut("abcdefg", 5, true), "abcde...");
    EXPECT_EQ(Cut("abc", 0, true), "...");
    EXPECT_EQ(Cut("abc", -4), "");
}

TEST(CutTextTest, NeverSplitsADoubleByteCharacter) {
    // A double-byte character at width-1 is left out whole.
    EXPECT_EQ(Cut("abcd" + kHyo + "x", 5), "abcd");
    EXPECT_EQ(Cut("abc" + kHyo + "x", 5), "abc" + kHyo);
    EXPECT_EQ(Cut(kHyo + kHyo, 3), kHyo);
    EXPECT_EQ(Cut(kHyo + "a", 1, true), "...");
    EXPECT_EQ(Cut(kHyo + kHyo, 2), kHyo);
}

TEST(CutTextTest, TrailBytesAreNeverTakenForLeadBytes) {
    // Walking from the start: 0xFA at position 3 is the second byte of "日", so the
    // character at position 4 starts fresh and "a" fits.
    EXPECT_EQ(Cut("ab" + kNichi + "ab", 5), "ab" + kNichi + "a");
    EXPECT_EQ(Cut("a" + kNichi + kNichi + "z", 5), "a" + kNichi + kNichi);
    EXPECT_EQ(Cut(kNichi + kNichi + kNichi, 5), kNichi + kNichi);
}

TEST(CutTextTest, LeadByteAtTheEndOfAShortTextIsKept) {
    EXPECT_EQ(Cut("ab\x95", 5), "ab\x95");
    EXPECT_EQ(CharBoundaryAtOrBefore("ab\x95", 3, IsCp932LeadByte), 2u);
}

TEST(MakeMenuLabelTest, EscapesTabsAndAmpersands) {
    EXPECT_EQ(Label("a\tb&c", 30), "a  b&&c");
    EXPECT_EQ(Label(" \r\nx", 30), " \r\nx");
    EXPECT_EQ(Label("abcdef", 6), "abcdef");
    EXPECT_EQ(Label("abcdefg", 6), "abcdef...");
    EXPECT_EQ(Label("\t\t\t", 4), "    ...");
}

TEST(MakeMenuLabelTest, SecondBytesThatLookLikeTabOrAmpersandPassThrough) {
    const std::string trailAmp = "\x81&";  // a lead byte followed by 0x26
    const std::string trailTab = "\x81\x09";
    EXPECT_EQ(Label(trailAmp + "&", 30), trailAmp + "&&");
    EXPECT_EQ(Label(trailTab + "\t", 30), trailTab + "  ");
    EXPECT_EQ(Label(kHyo + "\\", 30), kHyo + "\\");
}

TEST(MakeMenuLabelTest, CutsTheExpandedTextWithoutSplittingCharacters) {
    // The plain cut at width+2 splits the third "表"; the final cut drops its piece.
    EXPECT_EQ(Label(kHyo + kHyo + kHyo + kHyo, 3), kHyo + "...");
    EXPECT_EQ(Label(kHyo + kHyo + kHyo, 4), kHyo + kHyo + "...");
    EXPECT_EQ(Label("a" + kHyo + kHyo, 2), "a...");
    EXPECT_EQ(Label("abc", 0), "...");
    EXPECT_EQ(Label("abc", -3), "...");
}

// The label made the long way round, as its rules read: cut the head, expand, cut.
std::string ReferenceLabel(const std::string& text, int width) {
    std::string head = text.substr(0, static_cast<size_t>(std::max(width, 0)) + 2);
    std::string expanded;
    for (size_t pos = 0; pos < head.size(); ++pos) {
        unsigned char byte = static_cast<unsigned char>(head[pos]);
        if (IsCp932LeadByte(byte) && pos + 1 < head.size()) {
            expanded += head.substr(pos++, 2);
        } else if (byte == '\t') {
            expanded += "  ";
        } else if (byte == '&') {
            expanded += "&&";
        } else {
            expanded += head[pos];
        }
    }
    return CutText(expanded, width, true, IsCp932LeadByte);
}

TEST(MakeMenuLabelTest, AgreesWithTheRulesOnRandomMixedTexts) {
    const char alphabet[] = {'a', ' ', '\t', '&', '\x81', '\x95', '\x5C', '\x26', '\x09', '\xE0'};
    uint32_t seed = 7;
    for (int round = 0; round < 20000; ++round) {
        std::string text;
        seed = seed * 1103515245u + 12345u;
        size_t length = (seed >> 16) % 24;
        for (size_t i = 0; i < length; ++i) {
            seed = seed * 1103515245u + 12345u;
            text += alphabet[(seed >> 16) % sizeof(alphabet)];
        }
        int width = static_cast<int>(round % 14) - 1;
        ASSERT_EQ(Label(text, width), ReferenceLabel(text, width)) << "width " << width;
        std::string prefixed = "12&3. ";
        AppendMenuLabel(&prefixed, text, width, IsCp932LeadByte);
        ASSERT_EQ(prefixed, "12&3. " + ReferenceLabel(text, width));
    }
}

TEST(MakeTooltipTextTest, VersionForEmptyTextElseLabelOfSixty) {
    const std::string version = "Varnoke ver. 0.32";
    EXPECT_EQ(MakeTooltipText("", version, IsCp932LeadByte), version);
    EXPECT_EQ(MakeTooltipText("a&b", version, IsCp932LeadByte), "a&&b");
    std::string longText(100, 'x');
    EXPECT_EQ(MakeTooltipText(longText, version, IsCp932LeadByte), std::string(60, 'x') + "...");
}

}  // namespace
}  // namespace varnoke
