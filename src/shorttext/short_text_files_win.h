#pragma once
// The short-text file look-up and reading on Win32.

#include <windows.h>

#include "shorttext/short_text_slot.h"

namespace varnoke {

class Win32ShortTextFileSystem : public ShortTextFileSystem {
  public:
    // FindFirstFileA: a folder is found too, so that opening it fails with a message
    // instead of passing for a missing file.
    std::optional<ShortTextFileStamp> Find(const std::string& path) override;
    // CreateFileA for reading, sharing with readers only: an editor that is writing the
    // file makes the open fail rather than hand over half a file.
    bool Read(const std::string& path, ShortTextLineReader& reader) override;
};

}  // namespace varnoke
