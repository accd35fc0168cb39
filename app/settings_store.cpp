#include "app/settings_store.h"

#include <windows.h>

#include <vector>

#include "win/handle.h"
#include "win/text.h"

namespace app {

namespace {
win::RegKey openForReading(const char* key) {
    win::RegKey k;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, win::widen(key).c_str(), 0, KEY_QUERY_VALUE, k.out()) !=
        ERROR_SUCCESS)
        k.reset();
    return k;
}

win::RegKey openForWriting(const char* key) {
    win::RegKey k;
    DWORD disposition = 0;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, win::widen(key).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_ALL_ACCESS, nullptr, k.out(), &disposition) != ERROR_SUCCESS)
        k.reset();
    return k;
}

int32_t readDwordFrom(HKEY k, const char* name, int32_t fallback) {
    if (!k) return fallback;
    // Any value of at most four bytes counts, whatever its stored type; shorter data is zero-extended.
    unsigned char data[4] = {0, 0, 0, 0};
    DWORD size = sizeof(data);
    // Narrow on purpose: a short string value counts by its ANSI bytes, as it always has.
    if (RegQueryValueExA(k, name, nullptr, nullptr, data, &size) != ERROR_SUCCESS) return fallback;
    uint32_t value = data[0] | (data[1] << 8) | (data[2] << 16) | (static_cast<uint32_t>(data[3]) << 24);
    return static_cast<int32_t>(value);
}

// Strings are read and written wide: the registry keeps them in UTF-16, so a value an earlier (ANSI) version
// wrote was converted from the ANSI code page when it was stored and reads back unchanged here. Data of any
// other type counts by its bytes in the ANSI code page, as it always has.
std::string readStringFrom(HKEY k, const char* name, const std::string& fallback) {
    if (!k) return fallback;
    const std::wstring wideName = win::widen(name);
    DWORD type = REG_NONE;
    DWORD longest = 0;
    if (RegQueryValueExW(k, wideName.c_str(), nullptr, &type, nullptr, &longest) != ERROR_SUCCESS ||
        longest == 0)
        return fallback;
    if (type != REG_SZ && type != REG_EXPAND_SZ && type != REG_MULTI_SZ) {
        std::vector<char> bytes(longest, '\0');
        DWORD size = longest;
        if (RegQueryValueExA(k, name, nullptr, nullptr, reinterpret_cast<BYTE*>(bytes.data()), &size) !=
            ERROR_SUCCESS)
            return fallback;
        size_t length = 0;
        while (length < size && bytes[length] != '\0')
            ++length;
        return win::fromCodePage(std::string_view(bytes.data(), length), CP_ACP);
    }
    std::vector<wchar_t> buffer(longest / sizeof(wchar_t) + 1, L'\0');
    DWORD size = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
    if (RegQueryValueExW(k, wideName.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(buffer.data()),
                         &size) != ERROR_SUCCESS)
        return fallback;
    size_t length = 0;
    while (length < size / sizeof(wchar_t) && buffer[length] != L'\0')
        ++length;
    return win::narrow(std::wstring_view(buffer.data(), length));
}

} // namespace

int32_t readDwordSetting(const char* key, const char* name, int32_t fallback) {
    return readDwordFrom(openForReading(key).get(), name, fallback);
}

std::string readStringSetting(const char* key, const char* name, const std::string& fallback) {
    return readStringFrom(openForReading(key).get(), name, fallback);
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
    const std::wstring wide = win::widen(text);
    RegSetValueExW(k.get(), win::widen(name).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(wide.c_str()),
                   static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t)));
}

// One opening for the whole load: each opening is a round trip to the registry's server.
RegistrySettingsSource::RegistrySettingsSource(const char* key) : key_(openForReading(key)) {}

int32_t RegistrySettingsSource::readDword(const char* name, int32_t fallback) {
    return readDwordFrom(key_.get(), name, fallback);
}

std::string RegistrySettingsSource::readString(const char* name, const std::string& fallback) {
    return readStringFrom(key_.get(), name, fallback);
}

} // namespace app
