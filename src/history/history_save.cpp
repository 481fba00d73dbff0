#include "history/history_save.h"

#include <algorithm>
#include <string>

#include "core/setting_limits.h"
#include "history/exact_text.h"
#include "history/exact_text_file.h"

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

namespace {

// The file's bytes, protected when `protection` is given, made before anything on disk is
// touched: a refusal by the system then changes nothing. `identity` receives the identity
// of the plain bytes, which is what the exact-text file names whatever the kind.
template <typename Write>
bool MakeProtectedContents(Write write, uint64_t sizeHint, DataProtection& protection,
                           std::string* data, DataFileIdentity* identity) {
    // Reserved at once: growing a buffer of this size step by step cost more than the rest.
    data->reserve(static_cast<size_t>(std::min<uint64_t>(sizeHint, kMaxProtectedDataSize)));
    StringSink plainSink(data);
    HashingSink hashing(&plainSink);
    write(hashing);
    if (identity != nullptr) {
        *identity = hashing.identity();
    }
    return protection.Protect(data) && data->size() <= kMaxProtectedDataSize;
}

// What the protection adds after the plain bytes, and more.
constexpr uint64_t kProtectionRoom = 4096;

// At least the size of the exact-text file of `history`.
uint64_t ExactTextFileSizeBound(const ClipHistory& history) {
    uint64_t size = 64;
    for (const HistoryEntry& entry : history.entries()) {
        size += entry.exact.empty() ? 0 : 40 + 2 * uint64_t{entry.exact.size()};
    }
    return size;
}

// Writes one file through its temporary file and the one-step replacement.
// `identity`, if given, receives the identity of the bytes written.
template <typename Write>
HistorySaveResult SaveFile(const std::string& path, Write write, HistoryFileSystem& fileSystem,
                           LeadByteTest isLeadByte, std::string* damagedFile,
                           DataFileIdentity* identity, DataProtection* protection,
                           uint64_t sizeHint) {
    std::string protectedData;
    if (protection != nullptr &&
        !MakeProtectedContents(write, sizeHint, *protection, &protectedData, identity)) {
        return HistorySaveResult::kProtectFailed;
    }
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
    bool written;
    if (protection != nullptr) {
        const std::string preamble =
            ProtectedFilePreamble(static_cast<uint32_t>(protectedData.size()));
        written = sink->Write(preamble.data(), preamble.size()) &&
                  sink->Write(protectedData.data(), protectedData.size());
        written = sink->Close() && written;
    } else {
        HashingSink hashing(sink.get());
        written = write(hashing);
        written = hashing.Close() && written;
        if (identity != nullptr) {
            *identity = hashing.identity();
        }
    }
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

// A history without exact texts leaves no exact-text file behind, once the data file no
// longer needs it; one that did not load completely is kept first, like a data file. A file
// that stays is a failed save, reported and tried again like one: left behind, it would offer
// its texts to whatever entries later hold the same bytes.
HistorySaveResult RemoveExactTextFile(const std::string& exactPath, HistoryFileSystem& fileSystem,
                                      LeadByteTest isLeadByte, std::string* damagedExactFile) {
    if (!fileSystem.Exists(exactPath)) {
        return HistorySaveResult::kSaved;
    }
    if (damagedExactFile != nullptr && *damagedExactFile == exactPath) {
        if (!KeepDamagedOriginal(exactPath, fileSystem, isLeadByte)) {
            return HistorySaveResult::kCannotCreate;
        }
        damagedExactFile->clear();
    }
    return fileSystem.RemoveFile(exactPath) ? HistorySaveResult::kSaved
                                            : HistorySaveResult::kCannotDeleteOld;
}

}  // namespace

HistorySaveResult SaveHistoryData(const std::string& path, const ClipHistory& history,
                                  HistoryFileSystem& fileSystem, LeadByteTest isLeadByte,
                                  std::string* damagedFile, std::string* damagedExactFile,
                                  std::string* failedFile, DataProtection* protection) {
    // A folder that cannot be made shows up as the failure to create the file.
    EnsureDirectories(path, fileSystem, isLeadByte);
    const std::string exactPath = MakeExactTextFileName(path);
    const bool withExact = HasExactTexts(history);
    DataFileIdentity dataFile;
    // The data file first: a save that fails there (a read-only file, a full disk) leaves
    // the old pair as it was, and both still belong together. The exact texts then name the
    // data file just written, so a crash between the two files costs at most the exact
    // texts that cannot be told apart, and never gives one to another entry.
    HistorySaveResult result = SaveFile(
        path, [&history](ByteSink& sink) { return WriteHistoryFile(history, sink); }, fileSystem,
        isLeadByte, damagedFile, withExact ? &dataFile : nullptr, protection,
        HistoryFileSize(history) + kProtectionRoom);
    if (result != HistorySaveResult::kSaved) {
        if (failedFile != nullptr) {
            *failedFile = path;
        }
        return result;
    }
    if (withExact) {
        result = SaveFile(
            exactPath,
            [&history, &dataFile](ByteSink& sink) {
                return WriteExactTextFile(history, dataFile, sink);
            },
            fileSystem, isLeadByte, damagedExactFile, nullptr, protection,
            ExactTextFileSizeBound(history) + kProtectionRoom);
        if (result != HistorySaveResult::kSaved && failedFile != nullptr) {
            *failedFile = exactPath;
        }
        return result;
    }
    if (!withExact) {
        result = RemoveExactTextFile(exactPath, fileSystem, isLeadByte, damagedExactFile);
        if (result != HistorySaveResult::kSaved && failedFile != nullptr) {
            *failedFile = exactPath;
        }
    }
    return result;
}

HistoryLoadResult LoadHistoryData(const std::string& path, ClipHistory& history, int historyLen,
                                  HistoryFileSystem& fileSystem, LeadByteTest isLeadByte,
                                  const TextCodec& codec, DataProtection* protection) {
    std::unique_ptr<ByteSource> file = fileSystem.OpenForRead(path);
    if (!file) {
        return HistoryLoadResult{};
    }
    const std::string exactPath = MakeExactTextFileName(path);
    PlainFile data = OpenPlainFile(std::move(file), protection);
    if (data.kind == PlainFile::Kind::kUnreadable) {
        // The exact texts beside it belong to records nobody can read here: both files are
        // kept before a save replaces them.
        HistoryLoadResult result;
        result.damaged = result.unprotectFailed = true;
        result.exactTextsDamaged = fileSystem.Exists(exactPath);
        return result;
    }
    const int first = history.size();
    HistoryLoadResult result;
    if (!fileSystem.Exists(exactPath)) {
        result = LoadHistoryRecords(*data.source, history, historyLen, isLeadByte);
        result.protectedFile = data.kind == PlainFile::Kind::kProtected;
        return result;
    }
    // The records are read whole and matched as they were written, then cut: a HistoryLen
    // lowered since the save would otherwise make every longer record lose its exact text.
    HashingSource hashing(*data.source);
    result = LoadHistoryRecords(hashing, history, kHistoryLenLimit.maximum, isLeadByte);
    result.protectedFile = data.kind == PlainFile::Kind::kProtected;
    const std::optional<DataFileIdentity> dataFile = hashing.Finish(kMaxDataFileSize);
    data.source.reset();
    if (result.ok) {
        PlainFile exact = OpenPlainFile(fileSystem.OpenForRead(exactPath), protection);
        result.exactTextsDamaged = exact.kind == PlainFile::Kind::kUnreadable ||
                                   LoadExactTexts(*exact.source, history, first, dataFile).damaged;
    }
    for (int pos = first; pos < history.size(); ++pos) {
        if (history.at(pos).ansi.size() > static_cast<size_t>(std::max(historyLen, 0))) {
            history.Replace(pos, CutEntry(history.at(pos), historyLen, isLeadByte, codec));
        }
    }
    return result;
}

}  // namespace varnoke
