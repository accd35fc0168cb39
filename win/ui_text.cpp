#include "win/ui_text.h"

#include <atomic>

#include "core/ui_languages.h"
#include "win/text.h"

namespace win {

namespace {
// Read by the message fetch thread too.
std::atomic<LANGID> g_language{kEnglishLanguage};
// RT_STRING and RT_DIALOG for the wide calls.
const LPCWSTR kStringType = MAKEINTRESOURCEW(6);
const LPCWSTR kDialogType = MAKEINTRESOURCEW(5);

const void* lockedResource(HINSTANCE module, LPCWSTR type, LPCWSTR name, LANGID language) {
    HRSRC found = FindResourceExW(module, type, name, language);
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    return loaded ? LockResource(loaded) : nullptr;
}

// A string table block holds 16 counted strings; an empty one is a gap in the block, not a text.
std::wstring tableString(HINSTANCE module, UINT id, LANGID language) {
    const auto* p = static_cast<const WCHAR*>(
        lockedResource(module, kStringType, MAKEINTRESOURCEW(id / 16 + 1), language));
    if (!p) return {};
    for (UINT i = 0; i < id % 16; ++i)
        p += 1 + *p;
    return std::wstring(p + 1, *p);
}
} // namespace

void setUiLanguage(LANGID language) {
    g_language = language;
}

LANGID uiLanguage() {
    return g_language;
}

BYTE uiCharset() {
    const LANGID language = g_language;
    for (const core::UiLanguage& known : core::kUiLanguages)
        if (known.langId == language) return known.charset;
    return DEFAULT_CHARSET;
}

void chooseUiLanguage(const std::string& setting) {
    const size_t chosen = core::chooseUiLanguage(setting, GetUserDefaultUILanguage());
    setUiLanguage(core::kUiLanguages[chosen].langId);
}

std::wstring uiWideText(HINSTANCE module, UINT id) {
    const LANGID language = g_language;
    std::wstring text = tableString(module, id, language);
    if (text.empty() && language != kEnglishLanguage) text = tableString(module, id, kEnglishLanguage);
    return text;
}

std::string uiText(HINSTANCE module, UINT id) {
    return narrow(uiWideText(module, id));
}

const DLGTEMPLATE* uiDialogTemplate(HINSTANCE module, int id) {
    const LPCWSTR name = MAKEINTRESOURCEW(id);
    for (LANGID language : {g_language.load(), kEnglishLanguage})
        if (const void* found = lockedResource(module, kDialogType, name, language))
            return static_cast<const DLGTEMPLATE*>(found);
    // A template compiled without a language of its own (a test's) is found the system's way.
    HRSRC found = FindResourceW(module, name, kDialogType);
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    return loaded ? static_cast<const DLGTEMPLATE*>(LockResource(loaded)) : nullptr;
}

} // namespace win
