#pragma once
// How portable code reads the program's string table.

#include <functional>
#include <string>

namespace varnoke {

// Entry `id` of the string table in the ANSI code page; empty when there is none. The
// program passes LoadResourceString (framework/strings_win.h); tests pass a table of their
// own.
using LoadStringFn = std::function<std::string(unsigned id)>;

}  // namespace varnoke
