// The program's registry key.
#include "harness.h"
#include "harness_internal.h"

#include <cstdio>
#include <cstdint>
#include <cstring>

namespace e2e {

using namespace internal;

void ResetRegistry() {
    HKEY key = OpenRegKey(true);
    if (key == nullptr) {
        return;
    }
    for (const std::string& name : RegValueNames()) {
        RegDeleteValueA(key, name.c_str());
    }
    RegCloseKey(key);
}

void ResetRegistryWithHistoryWrittenOnEveryChange() {
    ResetRegistry();
    WriteRegInt("HistoryAutoSave", 1);
    WriteRegInt("HistorySaveInterval", 0);
    WriteRegInt("HistoryAnimation", 0);
}

void WriteRegInt(const char* name, DWORD value) {
    HKEY key = OpenRegKey(true);
    RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
    RegCloseKey(key);
}

void WriteRegString(const char* name, const std::string& value) {
    HKEY key = OpenRegKey(true);
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
    RegCloseKey(key);
}

void WriteRegBinary(const char* name, const std::vector<BYTE>& value) {
    HKEY key = OpenRegKey(true);
    RegSetValueExA(key, name, 0, REG_BINARY, value.data(), static_cast<DWORD>(value.size()));
    RegCloseKey(key);
}

bool ReadRegInt(const char* name, DWORD* value) {
    HKEY key = OpenRegKey(false);
    if (key == nullptr) {
        return false;
    }
    DWORD type = 0;
    DWORD size = sizeof(*value);
    LONG rc = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(value), &size);
    RegCloseKey(key);
    return rc == ERROR_SUCCESS && type == REG_DWORD;
}

DWORD RegInt(const char* name) {
    DWORD value = 0;
    if (ReadRegInt(name, &value)) {
        return value;
    }
    std::fprintf(stderr, "no DWORD registry value %s\n", name);
    return 0xDEADBEEF;
}

bool ReadRegString(const char* name, std::string* value) {
    HKEY key = OpenRegKey(false);
    if (key == nullptr) {
        return false;
    }
    char buffer[4096] = {};
    DWORD type = 0;
    DWORD size = sizeof(buffer) - 1;
    LONG rc = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(key);
    if (rc != ERROR_SUCCESS || type != REG_SZ) {
        return false;
    }
    *value = buffer;
    return true;
}

std::vector<std::string> RegValueNames() {
    std::vector<std::string> names;
    HKEY key = OpenRegKey(false);
    if (key == nullptr) {
        return names;
    }
    for (DWORD index = 0;; ++index) {
        char name[256];
        DWORD length = sizeof(name);
        if (RegEnumValueA(key, index, name, &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS) {
            break;
        }
        names.emplace_back(name, length);
    }
    RegCloseKey(key);
    return names;
}

}  // namespace e2e
