#include "history/clipboard_formats.h"

namespace varnoke {

// The clipboard lists the formats a program placed in the order it placed them, and those
// the system makes from them after all of them, as Windows does. Wine 8 was seen to do the
// same, the system's formats beginning with CF_LOCALE (when the program placed none) and
// then CF_TEXT, CF_OEMTEXT and CF_UNICODETEXT as far as each is missing: CF_TEXT placed alone
// lists CF_TEXT, CF_LOCALE, CF_OEMTEXT, CF_UNICODETEXT; CF_TEXT placed before CF_UNICODETEXT
// lists CF_TEXT, CF_UNICODETEXT, CF_LOCALE, CF_OEMTEXT. So after a CF_TEXT listed first, a
// CF_UNICODETEXT before any CF_LOCALE or CF_OEMTEXT is the program's own, and one after them
// the system's conversion of that CF_TEXT, whose reading would cost a conversion of the
// whole text for nothing: one format more tells an ANSI program's copy. Were the system's
// formats listed in another order, the capture would pay for that conversion but keep the
// same entry, since a Unicode text that only reads CF_TEXT's bytes keeps no exact text. A
// program that places its own CF_LOCALE or CF_OEMTEXT between its CF_TEXT and its
// CF_UNICODETEXT is taken for one without Unicode text: its CF_TEXT is kept as ever.
bool TextFormsByOrder::Next(unsigned format) {
    if (format == 0) {
        forms_ = ansiFirst_ ? TextForms::kAnsi : TextForms::kNone;
        return true;
    }
    if (!ansiFirst_) {
        if (format == kFormatUnicodeText) {
            forms_ = TextForms::kUnicodeFirst;
            return true;
        }
        ansiFirst_ = format == kFormatText;
        return false;
    }
    if (format == kFormatUnicodeText) {
        forms_ = TextForms::kAnsiAndUnicode;
        return true;
    }
    if (format == kFormatLocale || format == kFormatOemText) {
        forms_ = TextForms::kAnsi;
        return true;
    }
    return false;
}

}  // namespace varnoke
