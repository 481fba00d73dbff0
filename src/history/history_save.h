#pragma once
// Saving and loading the history data file through the file system, with the
// temporary-file replacement that keeps the old file until the new one is complete.

#include <memory>
#include <string>

#include "history/clip_history.h"
#include "history/data_path.h"
#include "history/history_file.h"
#include "history/mbcs.h"

namespace varnoke {

class HistoryFileSystem : public FileSystemOps {
  public:
    // Created or truncated, other writers excluded while open; null when it cannot be.
    virtual std::unique_ptr<ByteSink> CreateForWrite(const std::string& path) = 0;
    // Opened for reading, other writers excluded while open; null when it cannot be.
    virtual std::unique_ptr<ByteSource> OpenForRead(const std::string& path) = 0;
    virtual bool RemoveFile(const std::string& path) = 0;
    virtual bool RenameFile(const std::string& from, const std::string& to) = 0;
};

enum class HistorySaveResult {
    kSaved,
    kCannotCreate,     // the target could not be created; nothing was changed
    kWriteFailed,      // a write or the close failed; the old file is untouched
    kCannotDeleteOld,  // the old file stays, the new contents stay in the temporary file
    kCannotRename,     // the old file is gone, the new contents are in the temporary file
};

// Writes the whole history to `path` (already resolved). An existing file is replaced
// only after the new contents were written completely to the temporary file.
HistorySaveResult SaveHistoryData(const std::string& path, const ClipHistory& history,
                                  HistoryFileSystem& fileSystem, LeadByteTest isLeadByte);

// Opens `path` (already resolved) and appends its records to `history`; ok is false when
// the file cannot be opened or its first line is not the header.
HistoryLoadResult LoadHistoryData(const std::string& path, ClipHistory& history, int historyLen,
                                  HistoryFileSystem& fileSystem, LeadByteTest isLeadByte);

}  // namespace varnoke
