#pragma once
// The per-file cache of a short-text menu and the rule that decides whether its file has
// to be read again. The file system sits behind ShortTextFileSystem.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/mbcs.h"
#include "shorttext/short_text_file.h"

namespace varnoke {

constexpr int kShortTextSlotCount = 5;

// A file's last-write time in local time, to the second; day of week and milliseconds
// are left out so that they can never make an unchanged file look changed.
struct ShortTextFileTime {
    uint16_t year = 0;
    uint16_t month = 0;
    uint16_t day = 0;
    uint16_t hour = 0;
    uint16_t minute = 0;
    uint16_t second = 0;
    bool operator==(const ShortTextFileTime& o) const {
        return year == o.year && month == o.month && day == o.day && hour == o.hour &&
               minute == o.minute && second == o.second;
    }
    bool operator!=(const ShortTextFileTime& o) const { return !(*this == o); }
};

// What a directory look-up (find-first-file) tells about a file.
struct ShortTextFileStamp {
    uint64_t size = 0;
    ShortTextFileTime writeTime;
};

class ShortTextFileSystem {
  public:
    virtual ~ShortTextFileSystem() = default;
    // The size and local write time of the file or folder named `path`; nullopt when
    // nothing of that name is found.
    virtual std::optional<ShortTextFileStamp> Find(const std::string& path) = 0;
    // Opens `path` for reading, denying other writers, and feeds its bytes to `reader`
    // until the end or until Feed returns false. False when it could not be opened (a
    // folder, a locked file) or a read failed.
    virtual bool Read(const std::string& path, ShortTextLineReader& reader) = 0;
};

// Case-insensitive path comparison as the file system does it: single-byte ASCII letters
// fold, double-byte characters compare byte for byte (their second byte may be a letter).
bool SamePath(const std::string& a, const std::string& b, LeadByteTest isLeadByte);

struct ShortTextSlot {
    std::string cachedPath;  // resolved path of the cached file; empty when nothing is cached
    uint64_t cachedSize = 0;
    ShortTextFileTime cachedWriteTime;
    std::vector<ShortTextString> lines;

    // True when the lines can be reused for the file now found at `resolvedPath`: same
    // path (ignoring case), same size, same write time to the second.
    bool Holds(const std::string& resolvedPath, const ShortTextFileStamp& stamp,
               LeadByteTest isLeadByte) const;
    // Forgets the path, size and write time; the lines are left alone.
    void ClearCache();
};

enum class ShortTextCheckResult : int {
    kNoFile = 0,     // missing, or could not be read: no menu
    kReadAgain = 1,  // the lines were read now
    kUnchanged = 2,  // the cached lines are still those of the file
};

struct ShortTextCheck {
    ShortTextCheckResult result = ShortTextCheckResult::kNoFile;
    // The file exists but could not be opened: the caller shows message 502 with the path.
    bool openFailed = false;
};

// Reads the slot's file again when it changed. `resolvedPath` is the path setting made
// absolute by ResolveDataPath. On kReadAgain and kUnchanged `*lastShownPath` becomes
// `resolvedPath`. A missing file or a failed read clears the cache; a failed read also
// leaves the slot without lines.
ShortTextCheck CheckShortTextFile(ShortTextSlot& slot, const std::string& resolvedPath,
                                  ShortTextFileSystem& files, LeadByteTest isLeadByte,
                                  const TextCodec& codec, std::string* lastShownPath);

}  // namespace varnoke
