#pragma once
// CF_TEXT on the clipboard: reading (with the marks of secret content honoured),
// writing, emptying.

#include <windows.h>

#include <string>

namespace varnoke {

// The CF_TEXT bytes up to the first zero, at most `limit` of them (a huge clipboard text
// is never copied whole). Empty when there is no text, the clipboard cannot be opened,
// or its content is marked as not to be kept by a clipboard history. `busy`, if given, is
// set when there is text but another program holds the clipboard open.
std::string ReadClipboardBytes(HWND owner, size_t limit, bool* busy = nullptr);

// Makes `text` the clipboard's only content. False when the clipboard could not be opened
// or the memory not be had, which leaves the clipboard unchanged, or, rarely, when
// SetClipboardData refuses the text, which leaves the clipboard empty: by then the old
// content is gone, and putting it back would cost a copy of every write. `busy`, if given,
// is set when the clipboard could not be opened: another program holds it.
bool WriteClipboardBytes(HWND owner, const std::string& text, bool* busy = nullptr);

// False when the clipboard could not be opened.
bool EmptyClipboardOf(HWND owner);

}  // namespace varnoke
