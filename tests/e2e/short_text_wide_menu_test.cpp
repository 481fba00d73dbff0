// The short-text popup menus of a UTF-8 phrase file, made by the program's own menu code in
// this process and read back with the wide API: under Wine another process cannot read a
// menu's items, so the program's menu is checked by its effects in short_text_e2e_test.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/text_codec_win.h"
#include "shorttext/short_text_file.h"
#include "shorttext/short_text_menu_model.h"
#include "shorttext/short_text_menu_win.h"

namespace e2e {
namespace {

using namespace varnoke;

bool IsLeadByte(unsigned char byte) {
    return IsDBCSLeadByte(byte) != FALSE;
}

std::wstring ItemText(HMENU menu, UINT position) {
    wchar_t text[64] = {};
    GetMenuStringW(menu, position, text, 64, MF_BYPOSITION);
    return text;
}

std::string ItemBytes(HMENU menu, UINT position) {
    char text[64] = {};
    GetMenuStringA(menu, position, text, 64, MF_BYPOSITION);
    return text;
}

TEST(ShortTextWideMenuTest, ItemsOfAUtf8FileHoldEveryCharacterAndOthersTheirBytes) {
    const std::string file = std::string("\xEF\xBB\xBF") +
                             u8"[[\u8A18\U0001F600\r\n\U0001F600 \\Y\u5E74\r\n\u3042\\H\r\n]]\r\n";
    const std::vector<ShortTextString> lines = ParseShortTextLines(file, &IsLeadByte, AnsiCodec());
    MacroNames names;
    const MacroTime time{2026, 12, 8, 2, 12, 0, 0};
    ShortTextMenuModel model = BuildShortTextMenus(lines, time, names, &IsLeadByte, AnsiCodec());
    ShortTextPopupMenus menus;
    ASSERT_TRUE(menus.Build(model));
    EXPECT_EQ(ItemText(menus.root(), 0), L"\u8A18\U0001F600");
    HMENU submenu = GetSubMenu(menus.root(), 0);
    EXPECT_EQ(ItemText(submenu, 0), L"\U0001F600 2026\u5E74");
    EXPECT_EQ(ItemText(submenu, 1),
              L"\u3042"
              L"12");

    // A refresh rewrites the exact label the same way.
    const MacroTime nextYear{2027, 1, 1, 5, 0, 0, 0};
    ASSERT_TRUE(RefreshShortTextLabels(model, lines, nextYear, names, &IsLeadByte, AnsiCodec()));
    ASSERT_TRUE(menus.RefreshLabels(model));
    EXPECT_EQ(ItemText(submenu, 0), L"\U0001F600 2027\u5E74");
    EXPECT_EQ(ItemText(submenu, 1),
              L"\u3042"
              L"0");

    // A file in the code page: every item is its bytes as they stand.
    const std::string ansiFile = "[[\x93\xFA\x96\x7B\r\n\x82\xA0\\Y\r\n]]\r\n";  // 日本 / あ\Y
    const std::vector<ShortTextString> ansiLines =
        ParseShortTextLines(ansiFile, &IsLeadByte, AnsiCodec());
    ShortTextMenuModel ansiModel =
        BuildShortTextMenus(ansiLines, time, names, &IsLeadByte, AnsiCodec());
    ShortTextPopupMenus ansiMenus;
    ASSERT_TRUE(ansiMenus.Build(ansiModel));
    EXPECT_EQ(ItemBytes(ansiMenus.root(), 0), "\x93\xFA\x96\x7B");
    EXPECT_EQ(ItemText(ansiMenus.root(), 0), L"\u65E5\u672C");
    EXPECT_EQ(ItemBytes(GetSubMenu(ansiMenus.root(), 0), 0),
              "\x82\xA0"
              "2026");
}

}  // namespace
}  // namespace e2e
