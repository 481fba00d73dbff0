#pragma once
// The history data file on a real file system.

#include "history/history_save.h"

namespace varnoke {

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
