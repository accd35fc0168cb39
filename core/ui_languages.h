// The languages the interface speaks, and which one a user gets: the "Language" setting when it names one of
// them, else the Windows display language, through its primary language, else English.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace core {

struct UiLanguage {
    const char* localeName; // as the "Language" setting stores it
    uint16_t langId;        // the resource language its texts are compiled under
    uint8_t charset;        // the character set its dialogs' fonts need; 1 (the default set) for any
    const char* nativeName; // UTF-8, the language named in itself
};

constexpr size_t kUiLanguageCount = 9;
// English first: the reference every other language is checked against, and the fallback of every text.
inline constexpr std::array<UiLanguage, kUiLanguageCount> kUiLanguages = {{
    {"en-US", 0x0409, 1, "English"},
    {"de-DE", 0x0407, 1, "Deutsch"},
    {"fr-FR", 0x040C, 1,
     "Fran\xC3\xA7"
     "ais"},
    {"es-ES", 0x0C0A, 1, "Espa\xC3\xB1ol"},
    {"it-IT", 0x0410, 1, "Italiano"},
    {"pt-BR", 0x0416, 1, "Portugu\xC3\xAAs (Brasil)"},
    {"ru-RU", 0x0419, 204, "\xD0\xA0\xD1\x83\xD1\x81\xD1\x81\xD0\xBA\xD0\xB8\xD0\xB9"},
    {"zh-CN", 0x0804, 134, "\xE4\xB8\xAD\xE6\x96\x87(\xE7\xAE\x80\xE4\xBD\x93)"},
    {"ja-JP", 0x0411, 128, "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E"},
}};
constexpr size_t kEnglish = 0;

// The index of the language a setting names (case does not matter), or kUiLanguageCount for none.
size_t uiLanguageNamed(std::string_view localeName);

// The language to show: the setting's when it names one, else the system's display language (a LANGID):
// the same language id, else one of the same primary language, else English.
size_t chooseUiLanguage(std::string_view setting, uint16_t systemUiLanguage);

} // namespace core
