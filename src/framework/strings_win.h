#pragma once
// Texts from the string table and message boxes with the program's title.

#include <windows.h>

#include <string>

namespace varnoke {

// The string in the thread's ANSI code page; empty when the id is missing.
std::string LoadResourceString(UINT id);

// printf-style formatting of a string-table text (the format comes from our own resources).
std::string FormatString(const char* format, ...);

// A modal message box whose caption is the application's title.
int ShowMessage(HWND owner, const std::string& text, UINT type = MB_OK);

}  // namespace varnoke

namespace varnoke {

// The lead-byte test of the ANSI code page, in the form portable text code takes.
inline bool IsAnsiLeadByte(unsigned char byte) {
    return IsDBCSLeadByte(byte) != FALSE;
}

}  // namespace varnoke
