#pragma once
// What the harness files share among themselves; tests use harness.h.

#include <windows.h>

#include <string>

namespace e2e {
namespace internal {

extern const char kRegKey[];
extern const char kMainTitle[];

std::string ThisProgramFolder();
std::string MakeFreshFolder();
void DeleteFolderTree(const std::string& folder);
HKEY OpenRegKey(bool create);
// A hidden window of ours to own the clipboard while we write it.
HWND ClipboardOwner();
bool OpenClipboardRetrying();
HGLOBAL MakeGlobal(const void* data, size_t size);

}  // namespace internal
}  // namespace e2e
