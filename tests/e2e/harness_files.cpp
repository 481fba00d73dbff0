// Files and the history data file codec.
#include "harness.h"
#include "harness_internal.h"

#include <bcrypt.h>
#include <wincrypt.h>

#include <cstdio>
#include <cstdint>
#include <cstring>

#include "history/protected_file.h"

namespace e2e {

using namespace internal;

// Shares every right, so a look at the history file while the program saves it never makes
// the program's save fail (the program refuses to replace a file held without delete
// sharing, as Windows does).
bool ReadFileBytes(const std::string& path, std::string* bytes) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    bytes->clear();
    char buffer[65536];
    DWORD n = 0;
    bool ok = true;
    while ((ok = ReadFile(file, buffer, sizeof(buffer), &n, nullptr) != FALSE) && n > 0) {
        bytes->append(buffer, n);
    }
    CloseHandle(file);
    return ok;
}

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) {
        return false;
    }
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

bool FileExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string Utf8ToAnsi(const char* utf8) {
    int wide = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, nullptr, 0);
    std::wstring w(static_cast<size_t>(wide), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8, -1, &w[0], wide);
    int narrow = WideCharToMultiByte(CP_ACP, 0, w.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string s(static_cast<size_t>(narrow), '\0');
    WideCharToMultiByte(CP_ACP, 0, w.c_str(), -1, &s[0], narrow, nullptr, nullptr);
    s.resize(static_cast<size_t>(narrow > 0 ? narrow - 1 : 0));
    return s;
}

std::string WideToAnsi(const std::wstring& text, bool lookAlikes) {
    const DWORD flags = lookAlikes ? 0 : WC_NO_BEST_FIT_CHARS;
    const int size = static_cast<int>(text.size());
    int bytes =
        WideCharToMultiByte(CP_ACP, flags, text.c_str(), size, nullptr, 0, nullptr, nullptr);
    std::string ansi(static_cast<size_t>(bytes > 0 ? bytes : 0), '\0');
    WideCharToMultiByte(CP_ACP, flags, text.c_str(), size, &ansi[0], bytes, nullptr, nullptr);
    return ansi;
}

std::wstring AnsiToWide(const std::string& text) {
    const int size = static_cast<int>(text.size());
    int units = MultiByteToWideChar(CP_ACP, 0, text.c_str(), size, nullptr, 0);
    std::wstring wide(static_cast<size_t>(units > 0 ? units : 0), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), size, &wide[0], units);
    return wide;
}

}  // namespace e2e

namespace e2e {

namespace {
const char kHeader[] = "Varnoke Clipboard History Data File\r\n";
}

std::string EncodeHistory(const std::vector<std::string>& entries) {
    std::string out = kHeader;
    for (const std::string& e : entries) {
        out += "\x13\x14";
        uint32_t n = static_cast<uint32_t>(e.size());
        out.append(reinterpret_cast<const char*>(&n), 4);
        out += e;
        out += "\x05\x04\x0D\x0A";
    }
    return out;
}

bool DecodeHistory(const std::string& bytes, std::vector<std::string>* entries) {
    entries->clear();
    const std::string header = kHeader;
    if (bytes.compare(0, header.size(), header) != 0) {
        return false;
    }
    size_t pos = header.size();
    while (pos < bytes.size()) {
        if (bytes.size() - pos < 10 || bytes.compare(pos, 2, "\x13\x14") != 0) {
            return false;
        }
        uint32_t n = 0;
        std::memcpy(&n, bytes.data() + pos + 2, 4);
        if (bytes.size() - pos - 6 < static_cast<size_t>(n) + 4 ||
            bytes.compare(pos + 6 + n, 4, "\x05\x04\x0D\x0A") != 0) {
            return false;
        }
        entries->push_back(bytes.substr(pos + 6, n));
        pos += 10 + n;
    }
    return true;
}

namespace {

bool CallUnprotect(std::string_view data, std::string* plain) {
    DATA_BLOB in{static_cast<DWORD>(data.size()),
                 reinterpret_cast<BYTE*>(const_cast<char*>(data.data()))};
    DATA_BLOB out{};
    if (!CryptUnprotectData(&in, nullptr, nullptr, nullptr, nullptr, CRYPTPROTECT_UI_FORBIDDEN,
                            &out)) {
        return false;
    }
    plain->assign(reinterpret_cast<const char*>(out.pbData), out.cbData);
    LocalFree(out.pbData);
    return true;
}

// Opens the AES-256-GCM seal of the 'K' form with its unprotected key.
bool OpenSeal(std::string_view data, const varnoke::SealedData& parts, std::string* plain) {
    std::string key;
    if (!CallUnprotect(parts.wrappedKey, &key)) {
        return false;
    }
    BCRYPT_ALG_HANDLE algorithm = nullptr;
    BCRYPT_KEY_HANDLE handle = nullptr;
    auto bytes = [](std::string_view s) {
        return reinterpret_cast<UCHAR*>(const_cast<char*>(s.data()));
    };
    bool ok =
        BCryptOpenAlgorithmProvider(&algorithm, BCRYPT_AES_ALGORITHM, nullptr, 0) == 0 &&
        BCryptSetProperty(algorithm, BCRYPT_CHAINING_MODE,
                          reinterpret_cast<UCHAR*>(const_cast<wchar_t*>(BCRYPT_CHAIN_MODE_GCM)),
                          sizeof(BCRYPT_CHAIN_MODE_GCM), 0) == 0 &&
        BCryptGenerateSymmetricKey(algorithm, &handle, nullptr, 0, bytes(key),
                                   static_cast<ULONG>(key.size()), 0) == 0;
    if (ok) {
        std::string tag(parts.tag);
        BCRYPT_AUTHENTICATED_CIPHER_MODE_INFO info;
        BCRYPT_INIT_AUTH_MODE_INFO(info);
        info.pbNonce = bytes(parts.nonce);
        info.cbNonce = static_cast<ULONG>(parts.nonce.size());
        info.pbTag = bytes(tag);
        info.cbTag = static_cast<ULONG>(tag.size());
        const std::string_view sealed = data.substr(0, parts.sealedSize);
        plain->resize(sealed.size());
        ULONG done = 0;
        ok = BCryptDecrypt(handle, bytes(sealed), static_cast<ULONG>(sealed.size()), &info, nullptr,
                           0, reinterpret_cast<UCHAR*>(&(*plain)[0]),
                           static_cast<ULONG>(plain->size()), &done, 0) == 0;
    }
    if (handle != nullptr) {
        BCryptDestroyKey(handle);
    }
    if (algorithm != nullptr) {
        BCryptCloseAlgorithmProvider(algorithm, 0);
    }
    return ok;
}

}  // namespace

// The form that protects the data itself (the program's fallback), which is all a test
// needs to make one.
std::string ProtectForThisUser(const std::string& plain) {
    DATA_BLOB in{static_cast<DWORD>(plain.size()),
                 reinterpret_cast<BYTE*>(const_cast<char*>(plain.data()))};
    DATA_BLOB out{};
    if (!CryptProtectData(&in, L"test", nullptr, nullptr, nullptr, CRYPTPROTECT_UI_FORBIDDEN,
                          &out)) {
        return std::string();
    }
    std::string data(reinterpret_cast<const char*>(out.pbData), out.cbData);
    data += varnoke::kWholeProtectedMethod;
    LocalFree(out.pbData);
    return varnoke::MakeProtectedFile(data);
}

bool UnprotectForThisUser(const std::string& file, std::string* plain) {
    std::string_view data;
    varnoke::SealedData parts;
    if (!varnoke::ParseProtectedFile(file, &data) || !varnoke::ParseSealedData(data, &parts)) {
        return false;
    }
    return parts.method == varnoke::kKeySealedMethod
               ? OpenSeal(data, parts, plain)
               : CallUnprotect(data.substr(0, parts.sealedSize), plain);
}

bool ReadPlainFileBytes(const std::string& path, std::string* bytes) {
    if (!ReadFileBytes(path, bytes)) {
        return false;
    }
    if (bytes->compare(0, varnoke::kProtectedHeaderLineSize,
                       std::string(varnoke::kProtectedFileHeader) + "\r\n") != 0) {
        return true;
    }
    std::string plain;
    if (!UnprotectForThisUser(*bytes, &plain)) {
        return false;
    }
    *bytes = std::move(plain);
    return true;
}

std::vector<std::string> HistoryOnDisk(const VarnokeProcess& program) {
    std::string bytes;
    std::vector<std::string> entries;
    if (!ReadFileBytes(program.PathInFolder("Varnoke.vnk"), &bytes) ||
        !DecodeHistory(bytes, &entries)) {
        entries = {"<no valid history file>"};
    }
    return entries;
}

bool WaitForHistory(const VarnokeProcess& program, const std::vector<std::string>& expected,
                    DWORD timeoutMs) {
    if (WaitUntil([&] { return HistoryOnDisk(program) == expected; }, timeoutMs)) {
        return true;
    }
    // What the program shows may say why (a save-failure message, say).
    std::fprintf(stderr, "history wait timed out; on disk:");
    for (const std::string& entry : HistoryOnDisk(program)) {
        std::fprintf(stderr, " [%s]", entry.c_str());
    }
    std::fprintf(stderr, "\n");
    for (HWND window : VisibleWindowsOf(program.processId())) {
        std::fprintf(stderr, "  program window:");
        for (const std::string& text : ChildTexts(window)) {
            std::fprintf(stderr, " [%s]", text.c_str());
        }
        std::fprintf(stderr, "\n");
    }
    return false;
}

bool CopyOldestFirst(const VarnokeProcess& program, const std::vector<std::string>& oldestFirst,
                     std::vector<std::string>* history) {
    std::vector<std::string> expected;
    for (const std::string& text : oldestFirst) {
        expected.insert(expected.begin(), text);
        if (!SetClipboardText(text) || !WaitForHistory(program, expected)) {
            return false;
        }
    }
    if (history != nullptr) {
        *history = expected;
    }
    return true;
}

}  // namespace e2e
