#include "app/settings_store.h"

#include <windows.h>

#include <vector>

#include "win/handle.h"

namespace app {

namespace {
win::RegKey openForReading(const char* key) {
    win::RegKey k;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_QUERY_VALUE, k.out()) != ERROR_SUCCESS) k.reset();
    return k;
}

win::RegKey openForWriting(const char* key) {
    win::RegKey k;
    DWORD disposition = 0;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, key, 0, const_cast<char*>(""), REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                        nullptr, k.out(), &disposition) != ERROR_SUCCESS)
        k.reset();
    return k;
}
} // namespace

int32_t readDwordSetting(const char* key, const char* name, int32_t fallback) {
    win::RegKey k = openForReading(key);
    if (!k) return fallback;
    // Any value of at most four bytes counts, whatever its stored type; shorter data is zero-extended.
    unsigned char data[4] = {0, 0, 0, 0};
    DWORD size = sizeof(data);
    if (RegQueryValueExA(k.get(), name, nullptr, nullptr, data, &size) != ERROR_SUCCESS) return fallback;
    uint32_t value = data[0] | (data[1] << 8) | (data[2] << 16) | (static_cast<uint32_t>(data[3]) << 24);
    return static_cast<int32_t>(value);
}

std::string readStringSetting(const char* key, const char* name, const std::string& fallback) {
    win::RegKey k = openForReading(key);
    if (!k) return fallback;
    DWORD longest = 0;
    if (RegQueryInfoKeyA(k.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                         &longest, nullptr, nullptr) != ERROR_SUCCESS ||
        longest == 0)
        return fallback;
    std::vector<char> buffer(longest, '\0');
    DWORD size = longest;
    if (RegQueryValueExA(k.get(), name, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer.data()), &size) !=
        ERROR_SUCCESS)
        return fallback;
    size_t length = 0;
    while (length < size && length < buffer.size() && buffer[length] != '\0') ++length;
    return std::string(buffer.data(), length);
}

void writeDwordSetting(const char* key, const char* name, int32_t value) {
    win::RegKey k = openForWriting(key);
    if (!k) return;
    DWORD data = static_cast<DWORD>(value);
    RegSetValueExA(k.get(), name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof(data));
}

void writeStringSetting(const char* key, const char* name, const std::string& text) {
    win::RegKey k = openForWriting(key);
    if (!k) return;
    RegSetValueExA(k.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>(text.size() + 1));
}

int32_t RegistrySettingsSource::readDword(const char* name, int32_t fallback) {
    return readDwordSetting(key_, name, fallback);
}

std::string RegistrySettingsSource::readString(const char* name, const std::string& fallback) {
    return readStringSetting(key_, name, fallback);
}

} // namespace app
