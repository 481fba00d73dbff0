#include "core/text_codec.h"

#include <gtest/gtest.h>

#include "core/text.h"
#include "support/cp932_codec.h"

namespace varnoke {
namespace {

const samples::Cp932Codec kCodec;

// A text the code page holds gets, at every width, the very label of its ANSI text.
TEST(WideMenuLabelTest, MatchesTheAnsiLabelOfATextTheCodePageHolds) {
    const std::u16string text = u"\u8868\u793A\t\u30BF\u30D6 & \uFF76\uFF85 abc\u65E5\u672C";
    for (int width = 0; width < 30; ++width) {
        EXPECT_EQ(kCodec.ToClipboardAnsi(MakeWideMenuLabel(text, width, kCodec)),
                  MakeMenuLabel(kCodec.ToClipboardAnsi(text), width, IsCp932LeadByte))
            << width;
    }
}

TEST(WideMenuLabelTest, KeepsEveryCharacterAndCutsWhereTheAnsiLabelCuts) {
    const std::u16string text = u"caf\u00E9 \U0001F600 \uD55C\uAD6D\uC5B4";
    EXPECT_EQ(MakeWideMenuLabel(text, 30, kCodec), text);
    // The emoji takes two bytes, as "??" does: at width 6 it does not fit, never half of it.
    EXPECT_EQ(MakeWideMenuLabel(text, 6, kCodec), u"caf\u00E9 ...");
    EXPECT_EQ(MakeWideMenuLabel(text, 7, kCodec), u"caf\u00E9 \U0001F600...");
    EXPECT_EQ(MakeMenuLabel(kCodec.ToAnsi(text), 7, IsCp932LeadByte), "caf? ??...");
}

}  // namespace
}  // namespace varnoke
