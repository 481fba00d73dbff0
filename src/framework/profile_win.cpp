#include "framework/profile_win.h"

#include <vector>

#include "framework/handles_win.h"

namespace varnoke {

namespace {

HKEY OpenKey(const std::string& path, bool forWriting) {
    HKEY key = nullptr;
    LONG rc;
    if (forWriting) {
        rc = RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                             KEY_WRITE | KEY_READ, nullptr, &key, nullptr);
    } else {
        rc = RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key);
    }
    return rc == ERROR_SUCCESS ? key : nullptr;
}

}  // namespace

HKEY ProfileStore::Key(bool forWriting) const {
    RegKey& key = forWriting ? writeKey_ : readKey_;
    if (!key) {
        key.reset(OpenKey(keyPath_, forWriting));
    }
    return key.get();
}

ProfileStore::ProfileStore(const std::string& company, const std::string& application)
    : keyPath_("Software\\" + company + "\\" + application) {}

int ProfileStore::ReadInt(const char* name, int defaultValue) const {
    HKEY key = Key(false);
    if (key == nullptr) {
        return defaultValue;
    }
    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof(value);
    LONG rc = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
    if (rc != ERROR_SUCCESS || type != REG_DWORD || size != sizeof(value)) {
        return defaultValue;
    }
    return static_cast<int>(value);
}

std::string ProfileStore::ReadString(const char* name, const std::string& defaultValue) const {
    HKEY key = Key(false);
    if (key == nullptr) {
        return defaultValue;
    }
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        type != REG_SZ) {
        return defaultValue;
    }
    // The value may grow between the two calls; retry with the size reported.
    for (int attempt = 0; attempt < 4; ++attempt) {
        std::vector<char> buffer(size + 1, '\0');
        DWORD got = size;
        LONG rc = RegQueryValueExA(key, name, nullptr, &type,
                                   reinterpret_cast<BYTE*>(buffer.data()), &got);
        if (rc == ERROR_MORE_DATA) {
            size = got;
            continue;
        }
        if (rc != ERROR_SUCCESS || type != REG_SZ) {
            return defaultValue;
        }
        buffer[got < buffer.size() ? got : buffer.size() - 1] = '\0';
        return std::string(buffer.data());
    }
    return defaultValue;
}

bool ProfileStore::WriteInt(const char* name, int value) const {
    HKEY key = Key(true);
    if (key == nullptr) {
        return false;
    }
    DWORD data = static_cast<DWORD>(value);
    return RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data),
                          sizeof(data)) == ERROR_SUCCESS;
}

bool ProfileStore::WriteString(const char* name, const std::string& value) const {
    HKEY key = Key(true);
    if (key == nullptr) {
        return false;
    }
    return RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
}

}  // namespace varnoke
