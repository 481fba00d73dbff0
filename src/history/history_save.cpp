#include "history/history_save.h"

namespace varnoke {

HistorySaveResult SaveHistoryData(const std::string& path, const ClipHistory& history,
                                  HistoryFileSystem& fileSystem, LeadByteTest isLeadByte) {
    // A folder that cannot be made shows up as the failure to create the file.
    EnsureDirectories(path, fileSystem, isLeadByte);
    bool replacing = fileSystem.Exists(path);
    std::string target = replacing ? MakeTempFileName(path, isLeadByte) : path;
    std::unique_ptr<ByteSink> sink = fileSystem.CreateForWrite(target);
    if (!sink) {
        return HistorySaveResult::kCannotCreate;
    }
    bool written = WriteHistoryFile(history, *sink);
    written = sink->Close() && written;
    sink.reset();
    if (!written) {
        // A short file must never take the place of a complete one.
        if (replacing) {
            fileSystem.RemoveFile(target);
        }
        return HistorySaveResult::kWriteFailed;
    }
    if (!replacing) {
        return HistorySaveResult::kSaved;
    }
    // Deleting the old file first and renaming afterwards would leave no data file at
    // all if the program died in between; the replacement is one step instead. The two
    // ways it can fail call for different advice, so the old file is asked about first.
    if (!fileSystem.CanRemoveFile(path)) {
        return HistorySaveResult::kCannotDeleteOld;
    }
    if (!fileSystem.ReplaceExisting(path, target)) {
        return HistorySaveResult::kRenameFailed;
    }
    return HistorySaveResult::kSaved;
}

HistoryLoadResult LoadHistoryData(const std::string& path, ClipHistory& history, int historyLen,
                                  HistoryFileSystem& fileSystem, LeadByteTest isLeadByte) {
    std::unique_ptr<ByteSource> source = fileSystem.OpenForRead(path);
    if (!source) {
        return HistoryLoadResult{};
    }
    return LoadHistoryRecords(*source, history, historyLen, isLeadByte);
}

}  // namespace varnoke
