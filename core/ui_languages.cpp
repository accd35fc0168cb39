#include "core/ui_languages.h"

namespace core {

namespace {
char lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i])) return false;
    return true;
}

// The low ten bits of a LANGID are its primary language.
constexpr uint16_t primaryLanguage(uint16_t langId) {
    return static_cast<uint16_t>(langId & 0x3FF);
}
} // namespace

size_t uiLanguageNamed(std::string_view localeName) {
    for (size_t i = 0; i < kUiLanguageCount; ++i)
        if (sameName(localeName, kUiLanguages[i].localeName)) return i;
    return kUiLanguageCount;
}

size_t chooseUiLanguage(std::string_view setting, uint16_t systemUiLanguage) {
    const size_t named = uiLanguageNamed(setting);
    if (named < kUiLanguageCount) return named;
    for (size_t i = 0; i < kUiLanguageCount; ++i)
        if (kUiLanguages[i].langId == systemUiLanguage) return i;
    for (size_t i = 0; i < kUiLanguageCount; ++i)
        if (primaryLanguage(kUiLanguages[i].langId) == primaryLanguage(systemUiLanguage)) return i;
    return kEnglish;
}

} // namespace core
