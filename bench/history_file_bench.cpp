// Saving and loading a full history (300 entries of 65535 bytes) through one stdio stream,
// against plain writing and reading of the same bytes; and the cost of cutting a huge
// clipboard text, which must depend on the width only.

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "core/mbcs.h"
#include "core/text.h"
#include "history/clip_history.h"
#include "history/history_file.h"

#include "bench_timing.h"

namespace {

using varnoke::ClipHistory;

constexpr int kEntries = 300;
constexpr int kEntrySize = 65535;
constexpr int kRuns = 9;

class FileSink : public varnoke::ByteSink {
  public:
    explicit FileSink(std::FILE* file) : file_(file) {}
    bool Write(const void* data, size_t size) override {
        return std::fwrite(data, 1, size, file_) == size;
    }

  private:
    std::FILE* file_;
};

class FileSource : public varnoke::ByteSource {
  public:
    FileSource(std::FILE* file, uint64_t size) : file_(file), remaining_(size) {}
    size_t Read(void* buffer, size_t size) override {
        size_t n = std::fread(buffer, 1, size, file_);
        remaining_ -= n;
        return n;
    }
    uint64_t Remaining() const override { return remaining_; }
    bool Skip(uint64_t count) override {
        if (count > remaining_ || std::fseek(file_, static_cast<long>(count), SEEK_CUR) != 0) {
            return false;
        }
        remaining_ -= count;
        return true;
    }

  private:
    std::FILE* file_;
    uint64_t remaining_;
};

using bench::Median;
using bench::Seconds;

ClipHistory MakeHistory() {
    ClipHistory history;
    uint32_t seed = 12345;
    for (int i = 0; i < kEntries; ++i) {
        std::string text(kEntrySize, ' ');
        for (char& c : text) {
            seed = seed * 1103515245u + 12345u;
            c = static_cast<char>(0x20 + (seed >> 16) % 0x5F);
        }
        history.Append(varnoke::HistoryEntry(std::move(text)));
    }
    return history;
}

bool SaveHistory(const ClipHistory& history, const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        return false;
    }
    FileSink sink(file);
    bool ok = varnoke::WriteHistoryFile(history, sink);
    return std::fclose(file) == 0 && ok;
}

bool SaveBytes(const std::string& bytes, const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        return false;
    }
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && ok;
}

int LoadHistory(const std::string& path, uint64_t size) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        return -1;
    }
    ClipHistory history;
    FileSource source(file, size);
    varnoke::LoadHistoryRecords(source, history, kEntrySize, varnoke::IsCp932LeadByte);
    std::fclose(file);
    return history.size();
}

size_t LoadBytes(const std::string& path, uint64_t size) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        return 0;
    }
    std::string bytes(static_cast<size_t>(size), '\0');
    size_t n = std::fread(&bytes[0], 1, bytes.size(), file);
    std::fclose(file);
    return n;
}

bool BenchFile() {
    ClipHistory history = MakeHistory();
    std::string image;
    varnoke::AppendHistoryFile(history, &image);
    std::string path =
        (std::filesystem::temp_directory_path() / "varnoke_history_bench.vnk").string();
    std::vector<double> save, write, load, read;
    bool ok = true;
    for (int run = 0; run < kRuns; ++run) {
        save.push_back(Seconds([&] { ok = SaveHistory(history, path) && ok; }));
        write.push_back(Seconds([&] { ok = SaveBytes(image, path) && ok; }));
        load.push_back(Seconds([&] { ok = LoadHistory(path, image.size()) == kEntries && ok; }));
        read.push_back(Seconds([&] { ok = LoadBytes(path, image.size()) == image.size() && ok; }));
    }
    std::filesystem::remove(path);
    double saveRatio = Median(save) / Median(write);
    double loadRatio = Median(load) / Median(read);
    std::printf("file of %zu bytes (%d entries x %d bytes), medians of %d runs\n", image.size(),
                kEntries, kEntrySize, kRuns);
    std::printf("  encode+write %.2f ms, plain write %.2f ms, ratio %.2f (target <= 1.3)\n",
                Median(save) * 1e3, Median(write) * 1e3, saveRatio);
    std::printf("  read+decode  %.2f ms, plain read  %.2f ms, ratio %.2f (target <= 1.3)\n",
                Median(load) * 1e3, Median(read) * 1e3, loadRatio);
    return ok;
}

double CutSeconds(const std::string& text, int repeats) {
    volatile size_t sink = 0;
    return Seconds([&] {
        for (int i = 0; i < repeats; ++i) {
            sink = sink + varnoke::CutText(text, 10000, false, varnoke::IsCp932LeadByte).size();
        }
    });
}

void BenchCut() {
    std::string huge(50u << 20, 'a');
    std::string small(10u << 10, 'a');
    for (size_t i = 1; i < small.size(); i += 7) {
        huge[i] = small[i] = '\x95';  // some double-byte characters to walk over
    }
    std::vector<double> hugeTimes, smallTimes;
    for (int run = 0; run < kRuns; ++run) {
        hugeTimes.push_back(CutSeconds(huge, 2000));
        smallTimes.push_back(CutSeconds(small, 2000));
    }
    std::printf(
        "cut to 10000 bytes, 2000 times: 50 MB text %.2f ms, 10 KB text %.2f ms, ratio "
        "%.2f (target <= 2)\n",
        Median(hugeTimes) * 1e3, Median(smallTimes) * 1e3, Median(hugeTimes) / Median(smallTimes));
}

}  // namespace

int main() {
    bool ok = BenchFile();
    BenchCut();
    if (!ok) {
        std::printf("a file operation failed\n");
        return 1;
    }
    return 0;
}
