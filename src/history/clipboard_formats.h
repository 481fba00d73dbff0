#pragma once
// Which text forms a capture reads, told from the order in which the clipboard lists its
// formats. A program may place CF_TEXT and CF_UNICODETEXT in either order, and the system
// makes whichever of them is missing (and CF_OEMTEXT, CF_LOCALE) from what was placed.

namespace varnoke {

// The Win32 numbers of the text formats; clipboard_win.cpp checks them against the headers.
constexpr unsigned kFormatText = 1;          // CF_TEXT
constexpr unsigned kFormatOemText = 7;       // CF_OEMTEXT
constexpr unsigned kFormatUnicodeText = 13;  // CF_UNICODETEXT
constexpr unsigned kFormatLocale = 16;       // CF_LOCALE

enum class TextForms {
    kNone,            // no text
    kAnsi,            // CF_TEXT came first, and no Unicode text of the program's own follows it
    kUnicodeFirst,    // the program placed CF_UNICODETEXT before any CF_TEXT
    kAnsiAndUnicode,  // CF_TEXT came first, and the program placed CF_UNICODETEXT after it
};

// Takes the formats as EnumClipboardFormats lists them, and stops the listing as soon as
// it knows the answer: every format listed costs the capture a call, which under Wine goes
// to the server.
class TextFormsByOrder {
  public:
    // The next listed format, 0 at the end of the list; true once forms() is the answer.
    bool Next(unsigned format);
    TextForms forms() const { return forms_; }

  private:
    bool ansiFirst_ = false;
    TextForms forms_ = TextForms::kNone;
};

}  // namespace varnoke
