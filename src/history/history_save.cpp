#include "history/history_save.h"

#include <string>

namespace varnoke {

namespace {

// Earlier copies are never overwritten: each may hold what another damage took.
constexpr int kMaxDamagedCopies = 99;

bool CopyFileContents(const std::string& from, const std::string& to,
                      HistoryFileSystem& fileSystem) {
    std::unique_ptr<ByteSource> source = fileSystem.OpenForRead(from);
    if (!source) {
        return false;
    }
    std::unique_ptr<ByteSink> sink = fileSystem.CreateForWrite(to);
    if (!sink) {
        return false;
    }
    char buffer[1 << 14];
    bool ok = true;
    while (ok && source->Remaining() > 0) {
        size_t got = source->Read(buffer, sizeof buffer);
        ok = got > 0 && sink->Write(buffer, got);
    }
    ok = sink->Close() && ok;
    sink.reset();
    if (!ok) {
        fileSystem.RemoveFile(to);
    }
    return ok;
}

bool KeepDamagedOriginal(const std::string& path, HistoryFileSystem& fileSystem,
                         LeadByteTest isLeadByte) {
    for (int number = 1; number <= kMaxDamagedCopies; ++number) {
        std::string copy = MakeDamagedCopyName(path, number, isLeadByte);
        if (!fileSystem.Exists(copy)) {
            return CopyFileContents(path, copy, fileSystem);
        }
    }
    return false;
}

}  // namespace

std::string MakeDamagedCopyName(const std::string& path, int number, LeadByteTest isLeadByte) {
    size_t last = LastBackslash(path, isLeadByte);
    size_t nameStart = last == std::string::npos ? 0 : last + 1;
    std::string prefix = "VarnokeDamaged";
    if (number > 1) {
        prefix += std::to_string(number);
    }
    return path.substr(0, nameStart) + prefix + "_" + path.substr(nameStart);
}

HistorySaveResult SaveHistoryData(const std::string& path, const ClipHistory& history,
                                  HistoryFileSystem& fileSystem, LeadByteTest isLeadByte,
                                  std::string* damagedFile) {
    // A folder that cannot be made shows up as the failure to create the file.
    EnsureDirectories(path, fileSystem, isLeadByte);
    bool replacing = fileSystem.Exists(path);
    if (damagedFile != nullptr && *damagedFile == path) {
        if (replacing && !KeepDamagedOriginal(path, fileSystem, isLeadByte)) {
            return HistorySaveResult::kCannotCreate;
        }
        damagedFile->clear();
    }
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
    for (int attempt = 1; !fileSystem.ReplaceExisting(path, target); ++attempt) {
        if (attempt == kReplaceAttempts) {
            return HistorySaveResult::kRenameFailed;
        }
        fileSystem.WaitBeforeRetry();
    }
    return HistorySaveResult::kSaved;
}

void DataFileStamp::NoteSaved(const std::string& path, const ClipHistory& history,
                              const std::optional<FileFacts>& facts) {
    valid_ = facts.has_value() && facts->size == HistoryFileSize(history);
    if (valid_) {
        path_ = path;
        version_ = history.version();
        facts_ = *facts;
    }
}

void DataFileStamp::NoteLoaded(const std::string& path, const std::optional<FileFacts>& facts,
                               const HistoryLoadResult& result, const ClipHistory& history) {
    valid_ = false;
    // Not cutShort: the load sets it on reaching 300 entries whether or not records were
    // left, and records left unread make the file larger than the history's encoding.
    if (result.ok && !result.damaged && result.added == history.size()) {
        NoteSaved(path, history, facts);
    }
}

bool DataFileStamp::StillMatches(const std::string& path, const ClipHistory& history,
                                 const std::optional<FileFacts>& facts) const {
    return valid_ && path == path_ && history.version() == version_ && facts.has_value() &&
           *facts == facts_;
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
