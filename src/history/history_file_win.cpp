#include "history/history_file_win.h"

#include <windows.h>

#include <cstring>
#include <vector>

#include "framework/handles_win.h"
#include "framework/text_codec_win.h"
#include "history/data_protection_win.h"

namespace varnoke {

namespace {

constexpr size_t kBufferSize = 1 << 16;

class FileSink : public ByteSink {
  public:
    explicit FileSink(FileHandle file) : file_(std::move(file)) { buffer_.reserve(kBufferSize); }

    bool Write(const void* data, size_t size) override {
        const char* bytes = static_cast<const char*>(data);
        if (buffer_.size() + size > kBufferSize && !Flush()) {
            return false;
        }
        if (size >= kBufferSize) {
            return WriteAll(bytes, size);
        }
        buffer_.insert(buffer_.end(), bytes, bytes + size);
        return true;
    }

    // The contents must be on the disk before the file takes the old one's place.
    bool Close() override {
        bool ok = ok_ && Flush() && FlushFileBuffers(file_.get()) != FALSE;
        ok = CloseHandle(file_.release()) != FALSE && ok;
        return ok;
    }

  private:
    bool Flush() {
        bool ok = buffer_.empty() || WriteAll(buffer_.data(), buffer_.size());
        buffer_.clear();
        return ok;
    }
    bool WriteAll(const char* data, size_t size) {
        while (size > 0) {
            DWORD chunk = size > (1u << 30) ? (1u << 30) : static_cast<DWORD>(size);
            DWORD written = 0;
            if (!WriteFile(file_.get(), data, chunk, &written, nullptr) || written != chunk) {
                ok_ = false;
                return false;
            }
            data += chunk;
            size -= chunk;
        }
        return true;
    }

    FileHandle file_;
    std::vector<char> buffer_;
    bool ok_ = true;
};

class FileSource : public ByteSource {
  public:
    FileSource(FileHandle file, uint64_t size) : file_(std::move(file)), remaining_(size) {}

    size_t Read(void* data, size_t size) override {
        char* out = static_cast<char*>(data);
        size_t done = 0;
        while (done < size && remaining_ > 0) {
            if (pos_ == buffer_.size() && !Fill()) {
                break;
            }
            size_t take = std::min(size - done, buffer_.size() - pos_);
            std::memcpy(out + done, buffer_.data() + pos_, take);
            pos_ += take;
            done += take;
            remaining_ -= take;
        }
        return done;
    }
    uint64_t Remaining() const override { return remaining_; }

  private:
    bool Fill() {
        buffer_.resize(kBufferSize);
        DWORD got = 0;
        if (!ReadFile(file_.get(), buffer_.data(), static_cast<DWORD>(kBufferSize), &got,
                      nullptr) ||
            got == 0) {
            buffer_.clear();
            pos_ = 0;
            remaining_ = 0;  // a file that shrank under us ends here
            return false;
        }
        buffer_.resize(got);
        pos_ = 0;
        return true;
    }

    FileHandle file_;
    uint64_t remaining_;
    std::vector<char> buffer_;
    size_t pos_ = 0;
};

}  // namespace

bool Win32HistoryFileSystem::Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::optional<FileFacts> Win32HistoryFileSystem::Facts(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return std::nullopt;
    }
    FileFacts facts;
    facts.size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    facts.lastWrite = (static_cast<uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                      data.ftLastWriteTime.dwLowDateTime;
    return facts;
}

bool Win32HistoryFileSystem::CreateFolder(const std::string& path) {
    return CreateDirectoryA(path.c_str(), nullptr) != FALSE;
}

std::unique_ptr<ByteSink> Win32HistoryFileSystem::CreateForWrite(const std::string& path) {
    FileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return nullptr;
    }
    return std::make_unique<FileSink>(std::move(file));
}

std::unique_ptr<ByteSource> Win32HistoryFileSystem::OpenForRead(const std::string& path) {
    FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (!file || !GetFileSizeEx(file.get(), &size) || size.QuadPart < 0) {
        return nullptr;
    }
    return std::make_unique<FileSource>(std::move(file), static_cast<uint64_t>(size.QuadPart));
}

bool Win32HistoryFileSystem::RemoveFile(const std::string& path) {
    return DeleteFileA(path.c_str()) != FALSE;
}

// Windows' MoveFileEx refuses a read-only or held target by itself, but Wine's replaces it
// silently, so the question is asked with an open for deletion that both answer alike. It
// shares everything: only a handle that withholds the right to delete makes it fail, and a
// program that merely reads the file while granting that right does not stop the save.
namespace {
// A quarter of a second in all.
constexpr int kProbeAttempts = 5;
constexpr DWORD kProbeRetryDelayMs = 50;
}  // namespace

bool Win32HistoryFileSystem::CanRemoveFile(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES ||
        (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0) {
        return false;
    }
    // A reader that withholds the right to delete for a moment (most programs that open a
    // file to read it do) is waited for a little before the save counts as failed.
    for (int attempt = 1;; ++attempt) {
        FileHandle probe(CreateFileA(path.c_str(), DELETE,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                     nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (probe) {
            return true;
        }
        if (GetLastError() != ERROR_SHARING_VIOLATION || attempt == kProbeAttempts) {
            return false;
        }
        Sleep(kProbeRetryDelayMs);
    }
}

namespace {
// About a quarter of a second in all.
constexpr int kRenameRetries = 12;
constexpr DWORD kRenameRetryDelayMs = 20;
}  // namespace

bool Win32HistoryFileSystem::ReplaceExisting(const std::string& replaced,
                                             const std::string& replacement) {
    // One rename over the old file. ReplaceFileA is no use here: Wine implements it as
    // two renames, with a moment in which no data file exists at all. A file that another
    // program has open, even one that grants every sharing, cannot be renamed over; a
    // reader that only looks (a viewer, a virus scanner, a backup) lets go within moments,
    // so the rename is tried again for a short while before the save counts as failed.
    for (int attempt = 0;; ++attempt) {
        if (MoveFileExA(replacement.c_str(), replaced.c_str(),
                        MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE) {
            return true;
        }
        const DWORD error = GetLastError();
        if (attempt >= kRenameRetries ||
            (error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION)) {
            return false;
        }
        Sleep(kRenameRetryDelayMs);
    }
}

// A few tries 50 ms apart block the save by a quarter of a second at most, and only when a
// reader holds one of the files.
void Win32HistoryFileSystem::WaitBeforeRetry() {
    Sleep(kReplaceRetryDelayMs);
}

HistoryFileReading ReadHistoryFile(const std::string& path, ClipHistory base, int historyLen,
                                   LeadByteTest isLeadByte) {
    Win32HistoryFileSystem fileSystem;
    HistoryFileReading reading;
    reading.path = path;
    reading.facts = fileSystem.Facts(path);
    Win32DataProtection protection;
    reading.result =
        LoadHistoryData(path, base, historyLen, fileSystem, isLeadByte, AnsiCodec(), &protection);
    reading.history = std::move(base);
    return reading;
}

}  // namespace varnoke
