#pragma once
// Paths of the program's data files. A backslash is the byte 0x5C standing as a
// single-byte character, never the second byte of a double-byte character.

#include <cstddef>
#include <string>
#include <string_view>

#include "core/mbcs.h"

namespace varnoke {

// Position of the last backslash of `text`, or npos when it has none.
size_t LastBackslash(std::string_view text, LeadByteTest isLeadByte);
// Whether the last character of `text` is a backslash (a path that names a folder).
bool EndsWithBackslash(std::string_view text, LeadByteTest isLeadByte);

// Same text, letters compared without regard to case; the second byte of a double-byte
// character is compared as it is, never folded.
bool SamePathIgnoringCase(std::string_view a, std::string_view b, LeadByteTest isLeadByte);

// What the folder creation needs of the file system.
class FileSystemOps {
  public:
    virtual ~FileSystemOps() = default;
    // True when a file or folder of that name exists.
    virtual bool Exists(const std::string& path) = 0;
    virtual bool CreateFolder(const std::string& path) = 0;
};

// Absolute form of a data-file path from the settings. `programFolder` is the folder of
// the program file without a trailing backslash. "X:\..." stays as it is, "\..." is
// appended to the folder, anything else goes after the folder and a backslash.
std::string ResolveDataPath(const std::string& path, const std::string& programFolder,
                            LeadByteTest isLeadByte);

// "VarnokeTemporaryFile_" put in front of the file name, in the same folder.
std::string MakeTempFileName(const std::string& path, LeadByteTest isLeadByte);

// Creates the missing folders of an absolute "X:\a\b\file" path, outer ones first; the
// file name itself is not created. False when a folder could not be created.
bool EnsureDirectories(const std::string& path, FileSystemOps& fileSystem, LeadByteTest isLeadByte);

}  // namespace varnoke
