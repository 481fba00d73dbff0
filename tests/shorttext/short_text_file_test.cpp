#include "shorttext/short_text_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shorttext/short_text_fixtures.h"
#include "support/dual_texts.h"

namespace varnoke {
namespace {

using testing_short_text::Codec;
using testing_short_text::Lines;
using Strings = std::vector<ShortTextString>;

TEST(ShortTextLineReaderTest, OnlyLfAndTheCrJustBeforeItEndALine) {
    EXPECT_EQ(Lines("a\r\nb\nc"), AnsiTexts({"a", "b", "c"}));
    // A lone CR stays in the line, and so does the first CR of CR CR LF.
    EXPECT_EQ(Lines("c\rd\r\r\ne\r"), AnsiTexts({"c\rd\r", "e\r"}));
    EXPECT_EQ(Lines("x\x81\r\ny"), AnsiTexts({"x\x81", "y"}));
}

TEST(ShortTextLineReaderTest, TabsGoOnlyAsSingleByteCharactersAndEmptyLinesAreDropped) {
    EXPECT_EQ(Lines("\n\r\n\t\t\n\t\r\n\t"), Strings{});
    EXPECT_EQ(Lines("\t\t[=Break=]\t\n \n\ta\tb \n"), AnsiTexts({"[=Break=]", " ", "ab "}));
    // 0x09 right after a lead byte is that character's second byte; "表" ends in 0x5C.
    EXPECT_EQ(Lines("\x81\t\tx\n\t\x95\x5C\t\x95\x5C\nab\x81\n"),
              AnsiTexts({"\x81\tx", "\x95\x5C\x95\x5C", "ab\x81"}));
}

TEST(ShortTextLineReaderTest, ChunkBoundariesChangeNothing) {
    const std::string file = "\t[[a\r\n\x81\t\r\n\r\n]]\rx\r\n\x95\x5C\tz";
    ShortTextLineReader reader(IsCp932LeadByte, Codec());
    for (char c : file) {
        reader.Feed(std::string(1, c));
    }
    reader.Finish();
    EXPECT_EQ(reader.lines(), AnsiTexts({"[[a", "\x81\t", "]]\rx", "\x95\x5Cz"}));
}

TEST(ShortTextLineReaderTest, StopsAtTenThousandStoredLines) {
    std::string file;
    for (int i = 0; i < 9999; ++i) {
        file += "\n\t\nline" + std::to_string(i) + "\r\n";
    }
    EXPECT_EQ(Lines(file + "last").back().ansi, "last");
    ShortTextLineReader reader(IsCp932LeadByte, Codec());
    EXPECT_TRUE(reader.Feed(file));
    EXPECT_FALSE(reader.Feed("last\nover\n"));
    EXPECT_FALSE(reader.Feed("more"));
    reader.Finish();
    EXPECT_EQ(reader.lines().size(), kMaxShortTextLines);
    EXPECT_EQ(reader.lines().back().ansi, "last");
}

}  // namespace
}  // namespace varnoke
