#pragma once
// The history data file on a real file system.

#include <optional>
#include <string>

#include "history/history_save.h"

namespace varnoke {

// A data file read from disk, before it becomes the history.
struct HistoryFileReading {
    std::string path;
    std::optional<FileFacts> facts;  // as the reading began
    HistoryLoadResult result;
    ClipHistory history;  // `base` with the file's records after it
};

// Reads `path` on top of `base`, a protected file as well as a plain one. Files only: it may
// run on any thread.
HistoryFileReading ReadHistoryFile(const std::string& path, ClipHistory base, int historyLen,
                                   LeadByteTest isLeadByte);

class Win32HistoryFileSystem : public HistoryFileSystem {
  public:
    bool Exists(const std::string& path) override;
    bool CreateFolder(const std::string& path) override;
    std::unique_ptr<ByteSink> CreateForWrite(const std::string& path) override;
    std::unique_ptr<ByteSource> OpenForRead(const std::string& path) override;
    bool RemoveFile(const std::string& path) override;
    bool CanRemoveFile(const std::string& path) override;
    bool ReplaceExisting(const std::string& replaced, const std::string& replacement) override;
    void WaitBeforeRetry() override;
    std::optional<FileFacts> Facts(const std::string& path) override;
};

}  // namespace varnoke
