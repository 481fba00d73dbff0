#pragma once
// Text on the clipboard: reading (with the marks of secret content honoured), writing,
// emptying.

#include <windows.h>

#include <string>

#include "history/capture.h"

namespace varnoke {

// CF_TEXT, and CF_UNICODETEXT beside it when it has a text, read as ReadClipboardBytes
// reads CF_TEXT (at most `limit` units of CF_UNICODETEXT).
ClipboardText ReadClipboardTexts(HWND owner, size_t limit, bool* busy = nullptr);

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

// Makes the entry the clipboard's only content: its text as CF_TEXT and, when it has one,
// its exact text as CF_UNICODETEXT. Fails as WriteClipboardBytes does.
bool WriteClipboardEntry(HWND owner, const HistoryEntry& entry, bool* busy = nullptr);

// The entry's text in `format` (CF_TEXT, or CF_UNICODETEXT when it has an exact text) as
// movable memory for SetClipboardData; null when it has no such form or no memory is had.
HGLOBAL EntryFormatData(const HistoryEntry& entry, UINT format);

// The program file of the process whose window owns the clipboard, as the system names it
// (a device path under Windows); empty when no window owns it or the process cannot be
// asked.
std::string ClipboardOwnerProgram();

// False when the clipboard could not be opened.
bool EmptyClipboardOf(HWND owner);

}  // namespace varnoke
