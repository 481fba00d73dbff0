#include "history/protected_file.h"

#include <algorithm>
#include <cstring>

namespace varnoke {

namespace {

std::string ProtectedHeaderLine() {
    return std::string(kProtectedFileHeader) + "\r\n";
}

// Gives back the bytes already read to tell the kinds apart, then the rest of the file.
class PrefixedSource : public ByteSource {
  public:
    PrefixedSource(std::string prefix, std::unique_ptr<ByteSource> rest)
        : prefix_(std::move(prefix)), rest_(std::move(rest)) {}
    size_t Read(void* buffer, size_t size) override {
        const size_t fromPrefix = std::min(size, prefix_.size() - pos_);
        if (fromPrefix > 0) {
            std::memcpy(buffer, prefix_.data() + pos_, fromPrefix);
            pos_ += fromPrefix;
        }
        return fromPrefix +
               (size > fromPrefix
                    ? rest_->Read(static_cast<char*>(buffer) + fromPrefix, size - fromPrefix)
                    : 0);
    }
    uint64_t Remaining() const override { return prefix_.size() - pos_ + rest_->Remaining(); }
    bool Skip(uint64_t count) override {
        const size_t fromPrefix =
            static_cast<size_t>(std::min<uint64_t>(count, prefix_.size() - pos_));
        pos_ += fromPrefix;
        return rest_->Skip(count - fromPrefix);
    }

  private:
    std::string prefix_;
    size_t pos_ = 0;
    std::unique_ptr<ByteSource> rest_;
};

// A memory source that owns its bytes.
class PlainSource : public MemorySource {
  public:
    explicit PlainSource(std::unique_ptr<std::string> bytes)
        : MemorySource(*bytes), bytes_(std::move(bytes)) {}

  private:
    std::unique_ptr<std::string> bytes_;
};

uint32_t DecodeSize(const char* bytes) {
    uint32_t size = 0;
    for (int i = 3; i >= 0; --i) {
        size = size << 8 | static_cast<unsigned char>(bytes[i]);
    }
    return size;
}

}  // namespace

std::string ProtectedFilePreamble(uint32_t dataSize) {
    std::string preamble = ProtectedHeaderLine();
    for (int i = 0; i < 4; ++i) {
        preamble += static_cast<char>(dataSize >> (8 * i));
    }
    return preamble;
}

std::string MakeProtectedFile(std::string_view data) {
    return ProtectedFilePreamble(static_cast<uint32_t>(data.size())).append(data);
}

bool ParseProtectedFile(std::string_view file, std::string_view* data) {
    if (file.size() < kProtectedPreambleSize ||
        file.substr(0, kProtectedHeaderLineSize) != ProtectedHeaderLine()) {
        return false;
    }
    const uint32_t size = DecodeSize(file.data() + kProtectedHeaderLineSize);
    if (file.size() - kProtectedPreambleSize != size) {
        return false;
    }
    *data = file.substr(kProtectedPreambleSize);
    return true;
}

bool ParseSealedData(std::string_view data, SealedData* parts) {
    *parts = SealedData();
    if (data.empty()) {
        return false;
    }
    parts->method = data.back();
    data.remove_suffix(1);
    if (parts->method == kWholeProtectedMethod) {
        parts->sealedSize = data.size();
        return !data.empty();
    }
    if (parts->method != kKeySealedMethod || data.size() < 4) {
        return false;
    }
    const uint32_t keySize = DecodeSize(data.data() + data.size() - 4);
    data.remove_suffix(4);
    if (keySize == 0 || data.size() < uint64_t{keySize} + kSealNonceSize + kSealTagSize) {
        return false;
    }
    parts->wrappedKey = data.substr(data.size() - keySize);
    data.remove_suffix(keySize);
    parts->nonce = data.substr(data.size() - kSealNonceSize);
    data.remove_suffix(kSealNonceSize);
    parts->tag = data.substr(data.size() - kSealTagSize);
    parts->sealedSize = data.size() - kSealTagSize;
    return true;
}

std::string KeySealedTrailer(std::string_view tag, std::string_view nonce,
                             std::string_view wrappedKey) {
    std::string trailer(tag);
    trailer.append(nonce.data(), nonce.size());
    trailer.append(wrappedKey.data(), wrappedKey.size());
    const uint32_t keySize = static_cast<uint32_t>(wrappedKey.size());
    for (int i = 0; i < 4; ++i) {
        trailer += static_cast<char>(keySize >> (8 * i));
    }
    trailer += kKeySealedMethod;
    return trailer;
}

PlainFile OpenPlainFile(std::unique_ptr<ByteSource> file, DataProtection* protection) {
    PlainFile plain;
    if (!file) {
        return plain;
    }
    std::string head(kProtectedHeaderLineSize, '\0');
    head.resize(file->Read(&head[0], head.size()));
    if (head != ProtectedHeaderLine()) {
        plain.kind = PlainFile::Kind::kPlain;
        plain.source = std::make_unique<PrefixedSource>(std::move(head), std::move(file));
        return plain;
    }
    // The size is checked against the file before anything is allocated for it.
    const uint64_t rest = file->Remaining();
    char size[4];
    if (protection == nullptr || rest < 4 || rest - 4 > kMaxProtectedDataSize ||
        file->Read(size, 4) != 4 || DecodeSize(size) != rest - 4) {
        return plain;
    }
    auto bytes = std::make_unique<std::string>(static_cast<size_t>(rest - 4), '\0');
    if (file->Read(&(*bytes)[0], bytes->size()) != bytes->size() ||
        !protection->Unprotect(bytes.get())) {
        return plain;
    }
    plain.kind = PlainFile::Kind::kProtected;
    plain.source = std::make_unique<PlainSource>(std::move(bytes));
    return plain;
}

}  // namespace varnoke
