#include "history/clipboard_formats.h"

#include <gtest/gtest.h>

#include <vector>

namespace varnoke {
namespace {

constexpr unsigned A = kFormatText;
constexpr unsigned O = kFormatOemText;
constexpr unsigned U = kFormatUnicodeText;
constexpr unsigned L = kFormatLocale;
constexpr unsigned kRichText = 0xC0A1;  // a registered format

struct Listed {
    TextForms forms;
    size_t read;  // formats the capture asked for, the end of the list counted as one
};

Listed ReadList(std::vector<unsigned> formats) {
    formats.push_back(0);
    TextFormsByOrder order;
    for (size_t i = 0; i < formats.size(); ++i) {
        if (order.Next(formats[i])) {
            return {order.forms(), i + 1};
        }
    }
    ADD_FAILURE() << "no answer at the end of the list";
    return {order.forms(), formats.size()};
}

// The lists as Wine 8 gave them, the placed formats first and then the system's.
TEST(TextFormsByOrderTest, ASystemMadeUnicodeTextIsToldFromTheProgramsOwnBeforeItIsListed) {
    // CF_TEXT alone: known at the CF_LOCALE the system adds, before its CF_UNICODETEXT.
    Listed ansi = ReadList({A, L, O, U});
    EXPECT_EQ(ansi.forms, TextForms::kAnsi);
    EXPECT_EQ(ansi.read, 2u);
    EXPECT_EQ(ReadList({L, A, O, U}).forms, TextForms::kAnsi);
    EXPECT_EQ(ReadList({A, kRichText, L, O, U}).forms, TextForms::kAnsi);

    EXPECT_EQ(ReadList({A, U, L, O}).forms, TextForms::kAnsiAndUnicode);
    EXPECT_EQ(ReadList({L, A, U, O}).forms, TextForms::kAnsiAndUnicode);
    EXPECT_EQ(ReadList({A, kRichText, U, L, O}).forms, TextForms::kAnsiAndUnicode);

    Listed unicode = ReadList({U, L, A, O});
    EXPECT_EQ(unicode.forms, TextForms::kUnicodeFirst);
    EXPECT_EQ(unicode.read, 1u);
    EXPECT_EQ(ReadList({kRichText, U, A, L, O}).forms, TextForms::kUnicodeFirst);
}

TEST(TextFormsByOrderTest, AListWithoutTextHasNone) {
    EXPECT_EQ(ReadList({}).forms, TextForms::kNone);
    EXPECT_EQ(ReadList({kRichText, 2, 8}).forms, TextForms::kNone);
}

}  // namespace
}  // namespace varnoke
