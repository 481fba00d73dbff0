#include "core/utf8.h"

#include <gtest/gtest.h>

#include <string>

namespace varnoke {
namespace {

TEST(Utf8Test, ByteOrderMarkOnlyAtTheStart) {
    EXPECT_TRUE(StartsWithUtf8ByteOrderMark("\xEF\xBB\xBF"));
    EXPECT_TRUE(StartsWithUtf8ByteOrderMark("\xEF\xBB\xBF[[a"));
    EXPECT_FALSE(StartsWithUtf8ByteOrderMark("\xEF\xBB"));
    EXPECT_FALSE(StartsWithUtf8ByteOrderMark("a\xEF\xBB\xBF"));
    EXPECT_FALSE(StartsWithUtf8ByteOrderMark(""));
}

TEST(Utf8Test, DecodesEveryLengthAndPairsAboveTheBasicPlane) {
    EXPECT_EQ(DecodeUtf8("a\xC3\xA9\xE5\xB9\xB4\xF0\x9F\x98\x80\xF4\x8F\xBF\xBF"),
              u"a\u00E9\u5E74\U0001F600\U0010FFFF");
    EXPECT_EQ(DecodeUtf8(std::string("\0\x7F", 2)), std::u16string(u"\0\x7F", 2));
}

// Each bad part is one U+FFFD, and the next character is read where it starts.
TEST(Utf8Test, BadBytesBecomeReplacementCharacters) {
    const std::u16string bad = u"\uFFFD";
    EXPECT_EQ(DecodeUtf8("\x80x\xBF"), bad + u"x" + bad);    // stray continuation
    EXPECT_EQ(DecodeUtf8("\xC0\x80\xC1"), bad + bad + bad);  // overlong lead bytes
    EXPECT_EQ(DecodeUtf8("\xE0\x80\x80"), bad + bad + bad);  // overlong three bytes
    EXPECT_EQ(DecodeUtf8("\xED\xA0\x80"), bad + bad + bad);  // a surrogate
    EXPECT_EQ(DecodeUtf8("\xF4\x90\x80\x80\xF5\xFF"), bad + bad + bad + bad + bad + bad);
    EXPECT_EQ(DecodeUtf8("\xE5\xB9x\xF0\x9F\x98"), bad + u"x" + bad);  // cut short
    EXPECT_EQ(DecodeUtf8("\xE5"), bad);
}

}  // namespace
}  // namespace varnoke
