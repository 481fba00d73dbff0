#pragma once
// The system's data protection as the tests see it: data protected by one user reads back
// for that user only, and any change of it is noticed. Like the real one it works in place
// and keeps what it needs after the protected bytes.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "history/history_file.h"
#include "history/protected_file.h"

namespace varnoke::samples {

class FakeProtection : public DataProtection {
  public:
    explicit FakeProtection(char user = 'A') : user_(user) {}
    bool refuse = false;  // the system refuses to protect

    bool Protect(std::string* bytes) override {
        if (refuse) {
            return false;
        }
        const std::string check = Check(*bytes);
        for (char& c : *bytes) {
            c = static_cast<char>(c ^ 0x5A);
        }
        *bytes += check;
        *bytes += user_;
        *bytes += "DPAPI";
        return true;
    }
    bool Unprotect(std::string* bytes) override {
        const std::string_view data = *bytes;
        if (data.size() < 10 || data.substr(data.size() - 5) != "DPAPI" ||
            data[data.size() - 6] != user_) {
            bytes->clear();
            return false;
        }
        const std::string check(data.substr(data.size() - 10, 4));
        bytes->resize(bytes->size() - 10);
        for (char& c : *bytes) {
            c = static_cast<char>(c ^ 0x5A);
        }
        if (Check(*bytes) != check) {
            bytes->clear();
            return false;
        }
        return true;
    }

  private:
    static std::string Check(std::string_view plain) {
        uint32_t sum = 2166136261u;
        for (char c : plain) {
            sum = (sum ^ static_cast<unsigned char>(c)) * 16777619u;
        }
        return std::string(reinterpret_cast<const char*>(&sum), 4);
    }
    char user_;
};

// A file's bytes, owned by its source as a file's are by the disk.
class OwnedSource : public MemorySource {
  public:
    explicit OwnedSource(std::unique_ptr<std::string> bytes)
        : MemorySource(*bytes), bytes_(std::move(bytes)) {}

  private:
    std::unique_ptr<std::string> bytes_;
};

// `file` opened as the load opens a history file of either kind.
inline PlainFile Open(const std::string& file, DataProtection* protection) {
    return OpenPlainFile(std::make_unique<OwnedSource>(std::make_unique<std::string>(file)),
                         protection);
}

}  // namespace varnoke::samples
