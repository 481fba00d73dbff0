#pragma once
// Saving and loading the history data file through the file system. An existing file
// is replaced only by one atomic step after the new contents are complete on disk, so a
// crash at any moment leaves either the old history or the new one.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "core/data_path.h"
#include "core/mbcs.h"
#include "core/text_codec.h"
#include "history/clip_history.h"
#include "history/history_file.h"
#include "history/protected_file.h"

namespace varnoke {

// What tells one state of a file from another without reading it.
struct FileFacts {
    uint64_t size = 0;
    uint64_t lastWrite = 0;  // the file system's own time stamp
    bool operator==(const FileFacts& other) const {
        return size == other.size && lastWrite == other.lastWrite;
    }
};

class HistoryFileSystem : public FileSystemOps {
  public:
    // Created or truncated, other writers excluded while open; null when it cannot be.
    virtual std::unique_ptr<ByteSink> CreateForWrite(const std::string& path) = 0;
    // Opened for reading, other writers excluded while open; null when it cannot be.
    virtual std::unique_ptr<ByteSource> OpenForRead(const std::string& path) = 0;
    virtual bool RemoveFile(const std::string& path) = 0;
    // Whether the file could be deleted now: not read-only, not held by another program.
    virtual bool CanRemoveFile(const std::string& path) = 0;
    // Puts `replacement` in the place of `replaced` in one step. False when the rename
    // fails (another program holds the replacement, say); both files stay as they are.
    virtual bool ReplaceExisting(const std::string& replaced, const std::string& replacement) = 0;
    // The pause between two tries of the replacement.
    virtual void WaitBeforeRetry() {}
    // The file's size and time stamp; nothing when it is missing or a folder.
    virtual std::optional<FileFacts> Facts(const std::string& path) = 0;
};

// A program that only looks at a file (a scanner at the new one, a backup tool or viewer
// at the old one) keeps it open for a moment, and a file held open cannot be replaced by
// a rename: the replacement is tried this many times before the save reports failure.
constexpr int kReplaceAttempts = 6;
constexpr unsigned kReplaceRetryDelayMs = 50;

enum class HistorySaveResult {
    kSaved,
    kCannotCreate,     // the target could not be created; nothing was changed
    kWriteFailed,      // a write or the close failed; the old file is untouched
    kCannotDeleteOld,  // the old file stays, the new contents stay in the temporary file
    kRenameFailed,     // the old file could go, but the temporary file could not take its
                       // place: both stay, the new contents in the temporary file
    kProtectFailed,    // the system refused to protect the contents; nothing was changed
};

// Writes the whole history to `path` (already resolved). An existing file is replaced
// only after the new contents were written completely to the temporary file.
// `damagedFile` names the data file that did not load completely (empty when none). When
// it is `path`, the file there is first copied beside it, once, under the name
// MakeDamagedCopyName gives, and `damagedFile` is cleared; while no copy can be made the
// file is not replaced (kCannotCreate), since what the load skipped would be lost.
// The exact texts of the entries that have one go to the exact-text file beside it
// (MakeExactTextFileName) first, by the same steps; `damagedExactFile` is to that file what
// `damagedFile` is to the data file. A history without exact texts removes that file once
// the data file is saved, and a failure to remove it fails the save. `failedFile`, if given,
// names the file whose save failed. With `protection` both files are written protected
// (protected_file.h), each around exactly the bytes it would hold unprotected.
HistorySaveResult SaveHistoryData(const std::string& path, const ClipHistory& history,
                                  HistoryFileSystem& fileSystem, LeadByteTest isLeadByte,
                                  std::string* damagedFile = nullptr,
                                  std::string* damagedExactFile = nullptr,
                                  std::string* failedFile = nullptr,
                                  DataProtection* protection = nullptr);

// "VarnokeDamaged_" put in front of the file name, or "VarnokeDamaged2_" and so on for the
// `number`th copy, in the same folder.
std::string MakeDamagedCopyName(const std::string& path, int number, LeadByteTest isLeadByte);

// Opens `path` (already resolved) and appends its records to `history`, with the exact
// texts of its exact-text file that belong to them, each entry cut to historyLen by
// CutEntry; ok is false when the file cannot be opened or its first line is not the header.
// Either file may be protected, whatever the other is; `protection` unprotects them, and
// without it a protected data file does not load (unprotectFailed).
HistoryLoadResult LoadHistoryData(const std::string& path, ClipHistory& history, int historyLen,
                                  HistoryFileSystem& fileSystem, LeadByteTest isLeadByte,
                                  const TextCodec& codec, DataProtection* protection = nullptr);

}  // namespace varnoke
