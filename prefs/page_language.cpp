// The General page's list of interface languages: the Windows display language first, then each language
// named in itself.
#include <windows.h>

#include "core/ui_languages.h"
#include "prefs/preferences_page.h"
#include "resources/resource.h"
#include "win/text.h"
#include "win/ui_text.h"

namespace prefs {

void PreferencesPage::initLanguages() {
    HWND list = item(IDC_PREFS_LANGUAGE);
    if (!list) return;
    SendMessageW(list, CB_ADDSTRING, 0,
                 reinterpret_cast<LPARAM>(win::uiWideText(host_.instance(), IDS_LANGUAGE_SYSTEM).c_str()));
    for (const core::UiLanguage& language : core::kUiLanguages)
        SendMessageW(list, CB_ADDSTRING, 0,
                     reinterpret_cast<LPARAM>(win::widen(language.nativeName).c_str()));
    // A stored name that is none of the list's shows as following Windows, which is what it does.
    const size_t named = core::uiLanguageNamed(host_.settings().language);
    SendMessageW(list, CB_SETCURSEL, named < core::kUiLanguageCount ? named + 1 : 0, 0);
}

void PreferencesPage::onLanguageChosen() {
    const LRESULT chosen = SendMessageW(item(IDC_PREFS_LANGUAGE), CB_GETCURSEL, 0, 0);
    if (chosen < 0 || chosen > static_cast<LRESULT>(core::kUiLanguageCount)) return;
    std::string& language = host_.settings().language;
    language = chosen == 0 ? std::string() : core::kUiLanguages[static_cast<size_t>(chosen - 1)].localeName;
    host_.writeString(core::valueName(&core::Settings::language), language);
    win::chooseUiLanguage(language);
    host_.languageChanged();
}

} // namespace prefs
