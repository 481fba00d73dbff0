#pragma once
// The question about a history data file that already exists where the options name one.

#include <windows.h>

#include <optional>
#include <string>

namespace varnoke {

// Shows `path` as typed and returns the chosen option: 0 overwrite the file with the current
// history, 1 discard the history and load the file, 2 append the file's entries. Nothing
// after Cancel.
std::optional<int> RunLoadConflictDialog(HWND owner, const std::string& path);

}  // namespace varnoke
