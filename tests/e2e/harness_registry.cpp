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

// ---- Clipboard -------------------------------------------------------------------

// ---- FileAssociation ------------------------------------------------------------

namespace {

constexpr char kProgId[] = "VarnokeE2E.Opened";

void SetDefaultValue(const std::string& key, const std::string& value) {
    RegSetValueA(HKEY_CLASSES_ROOT, key.c_str(), REG_SZ, value.c_str(),
                 static_cast<DWORD>(value.size()));
}

bool ReadDefaultValue(const std::string& key, std::string* value) {
    char buffer[512] = {};
    LONG size = sizeof(buffer);
    if (RegQueryValueA(HKEY_CLASSES_ROOT, key.c_str(), buffer, &size) != ERROR_SUCCESS) {
        return false;
    }
    *value = buffer;
    return true;
}

}  // namespace

FileAssociation::FileAssociation(const std::string& extension, const std::string& command)
    : extension_(extension) {
    hadProgId_ = ReadDefaultValue(extension_, &previousProgId_);
    SetDefaultValue(extension_, kProgId);
    SetDefaultValue(std::string(kProgId) + "\\shell\\open\\command", command);
}

FileAssociation::~FileAssociation() {
    if (hadProgId_) {
        SetDefaultValue(extension_, previousProgId_);
    } else {
        RegDeleteKeyA(HKEY_CLASSES_ROOT, extension_.c_str());
    }
    // Leaf first: RegDeleteKeyA removes only keys without subkeys.
    for (const char* tail : {"\\shell\\open\\command", "\\shell\\open", "\\shell", ""}) {
        RegDeleteKeyA(HKEY_CLASSES_ROOT, (std::string(kProgId) + tail).c_str());
    }
}

}  // namespace e2e
