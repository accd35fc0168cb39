// The interface's texts and dialog templates in the language the user chose. Resources are looked up for an
// explicit language, because the thread's UI language cannot be set everywhere (Wine ignores
// SetThreadUILanguage); whatever a language lacks comes from English.
#pragma once
#include <windows.h>

#include <string>

namespace win {

constexpr LANGID kEnglishLanguage = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);

// The language every later lookup uses; English until set.
void setUiLanguage(LANGID language);
LANGID uiLanguage();
// Chooses by the "Language" setting (a locale name, empty for the Windows display language) and takes it.
void chooseUiLanguage(const std::string& setting);

// The character set the chosen language's fonts need; DEFAULT_CHARSET where any will do.
BYTE uiCharset();

// A string of the module's string table as UTF-8, empty when no language has it.
std::string uiText(HINSTANCE module, UINT id);
std::wstring uiWideText(HINSTANCE module, UINT id);

// A dialog template for DialogBoxIndirectParamW and CreateDialogIndirectParamW, or null.
const DLGTEMPLATE* uiDialogTemplate(HINSTANCE module, int id);

} // namespace win
