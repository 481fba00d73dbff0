#pragma once
// The row of an owner-drawn list that shows a number (or a source) before a tab and a text
// after it, with stretches of the text marked: drawn in bold on a highlight, as a found
// word is in a browser's find bar.

#include <windows.h>

#include <string_view>
#include <vector>

#include "core/text_mark.h"
#include "framework/handles_win.h"

namespace varnoke {

class MarkedRowPainter {
  public:
    // `font` is the list's; the marks take its bold form. `tabX` is where the text after the
    // tab starts, in pixels from the row's left, unless what comes before is wider.
    void SetFont(HFONT font, int tabX);
    // The height of a row in this font.
    int RowHeight(HWND list) const;
    void Draw(const DRAWITEMSTRUCT& item, std::u16string_view row,
              const std::vector<TextMark>& marks) const;

  private:
    HFONT font_ = nullptr;
    FontHandle bold_;
    int tabX_ = 0;
};

}  // namespace varnoke
