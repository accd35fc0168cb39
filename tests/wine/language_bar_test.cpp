// The real bar in the language it is given: by the Windows display language (LANG in the Wine process's
// environment: the German cases run in a ctest entry of their own that sets it), by the "Language" setting,
// and in English with neither, each through its menu, a preferences page and a launch error. Whether each
// language's dialogs are drawn in a font with its characters, language_fit_test.cpp checks.
#include <gtest/gtest.h>
#include <windows.h>

#include <oleacc.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "core/bar_commands.h"
#include "core/program_name.h"
#include "kit/bar_fixture.h"
#include "kit/tray.h"
#include "resources/resource.h"

namespace {

constexpr WPARAM kMenuNewBrowser = 126;
constexpr WPARAM kMenuPreferences = 131;

std::string wideText(HWND w) {
    wchar_t text[1024] = {};
    GetWindowTextW(w, text, 1024);
    return e2e::utf8Of(text);
}

// What the user meets of a language: the bar menu, one preferences control, a launch error.
struct Seen {
    std::vector<std::string> menu;
    std::string showAtTop;
    std::string launchError;
    // What a screen reader says a press of the bar's first button does.
    std::string pressAction;
};

std::string firstButtonAction(HWND bar) {
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return {};
    std::string out;
    IAccessible* object = nullptr;
    if (SUCCEEDED(AccessibleObjectFromWindow(bar, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                             reinterpret_cast<void**>(&object)))) {
        VARIANT child{};
        child.vt = VT_I4;
        child.lVal = 1;
        BSTR action = nullptr;
        if (object->get_accDefaultAction(child, &action) == S_OK) out = e2e::utf8Of(action);
        SysFreeString(action);
        object->Release();
    }
    CoUninitialize();
    return out;
}

HWND processDialog(DWORD process) {
    struct Search {
        DWORD process;
        HWND found;
    } search{process, nullptr};
    EnumWindows(
        [](HWND w, LPARAM p) {
            auto* s = reinterpret_cast<Search*>(p);
            DWORD owner = 0;
            GetWindowThreadProcessId(w, &owner);
            char cls[16] = {};
            GetClassNameA(w, cls, sizeof(cls));
            if (owner != s->process || !IsWindowVisible(w) || lstrcmpA(cls, "#32770") != 0) return TRUE;
            s->found = w;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

class BarLanguage : public e2e::MenuBarTest {
  protected:
    Seen look() {
        Seen seen;
        e2e::writeSetting("Internet Explorer path", std::string("C:\\windows\\no-such-browser.exe -nohome"));
        start();
        seen.pressAction = firstButtonAction(bar_);
        if (HWND menu = tray::openIconMenu(bar_)) {
            seen.menu = tray::menuItems(bar_, menu);
            PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
            kit::waitFor([] { return tray::popupMenu() == nullptr; });
        }
        PostMessageA(bar_, WM_COMMAND, kMenuPreferences, 0);
        HWND dialog = nullptr, control = nullptr;
        kit::waitFor([&] {
            dialog = processDialog(proc_.id());
            HWND page = dialog ? FindWindowExA(dialog, nullptr, "#32770", nullptr) : nullptr;
            control = page ? GetDlgItem(page, IDC_PREFS_SHOW_AT_TOP) : nullptr;
            return control != nullptr;
        });
        if (control) {
            seen.showAtTop = wideText(control);
            PostMessageA(dialog, WM_COMMAND, IDOK, 0);
            kit::waitFor([&] { return !IsWindow(dialog); });
        }
        PostMessageA(bar_, WM_COMMAND, kMenuNewBrowser, 0);
        HWND box = nullptr;
        if (kit::waitFor([&] { return (box = tray::dialogOf(proc_.id(), core::kProgramName)) != nullptr; })) {
            for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
                if (!wideText(c).empty() && GetDlgCtrlID(c) != IDOK) seen.launchError = wideText(c);
            PostMessageA(box, WM_COMMAND, IDOK, 0);
            kit::waitFor([&] { return !IsWindow(box); });
        }
        return seen;
    }
};

// The items of the bar menu with commands, top to bottom (the window list, then its entries, come first).
std::vector<std::string> commands(const std::vector<std::string>& menu) {
    std::vector<std::string> out;
    for (const std::string& item : menu)
        if (item != "-" && item.rfind('\t', 0) != 0) out.push_back(item);
    return out;
}

TEST_F(BarLanguage, AGermanWindowsGivesGermanMenusPagesAndMessages) {
    const char* run = std::getenv("CORVANE_LANGUAGE_RUN");
    if (GetUserDefaultUILanguage() != 0x0407) {
        ASSERT_EQ(run, nullptr) << "this run was meant to be German";
        GTEST_SKIP() << "runs in the entry that starts Wine with LANG=de_DE.UTF-8";
    }
    const Seen seen = look();
    EXPECT_EQ(
        commands(seen.menu),
        (std::vector<std::string>{"Liste der IE-Fenster", "Neues Internet Explorer-Fenster",
                                  "Corvane! ausblenden/wiederherstellen", "Alle Browserfenster minimieren",
                                  "Alle Browserfenster schlie\xC3\x9F"
                                  "en",
                                  "Einstellungen", "Beenden",
                                  "Info \xC3\xBC"
                                  "ber Corvane!"}));
    EXPECT_EQ(seen.showAtTop, "Am oberen Desktoprand anzeigen");
    EXPECT_EQ(seen.launchError, "Die angegebene Datei wurde nicht gefunden!");
    EXPECT_EQ(seen.pressAction, "Dr\xC3\xBC"
                                "cken");
}

TEST_F(BarLanguage, TheLanguageSettingWinsOverAnEnglishWindows) {
    e2e::writeSettingWide("Language", "ja-JP");
    const Seen seen = look();
    const std::vector<std::string> menu = commands(seen.menu);
    ASSERT_EQ(menu.size(), 8u);
    EXPECT_EQ(menu[5], "\xE8\xA8\xAD\xE5\xAE\x9A"); // 設定
    EXPECT_EQ(menu[6], "\xE7\xB5\x82\xE4\xBA\x86"); // 終了
    EXPECT_EQ(seen.showAtTop,
              "\xE3\x83\x87\xE3\x82\xB9\xE3\x82\xAF\xE3\x83\x88\xE3\x83\x83\xE3\x83\x97\xE3\x81\xAE"
              "\xE4\xB8\x8A\xE7\xAB\xAF\xE3\x81\xAB\xE8\xA1\xA8\xE7\xA4\xBA\xE3\x81\x99\xE3\x82\x8B");
    EXPECT_EQ(seen.launchError,
              "\xE6\x8C\x87\xE5\xAE\x9A\xE3\x81\x95\xE3\x82\x8C\xE3\x81\x9F\xE3\x83\x95\xE3\x82\xA1"
              "\xE3\x82\xA4\xE3\x83\xAB\xE3\x81\x8C\xE8\xA6\x8B\xE3\x81\xA4\xE3\x81\x8B\xE3\x82\x8A"
              "\xE3\x81\xBE\xE3\x81\x9B\xE3\x82\x93\xE3\x80\x82"); // 指定されたファイルが見つかりません。
    EXPECT_EQ(seen.pressAction, "\xE6\x8A\xBC\xE3\x81\x99"); // 押す
}

TEST_F(BarLanguage, NeitherSettingNorAnotherWindowsLanguageLeavesEveryTextInEnglish) {
    if (GetUserDefaultUILanguage() != 0x0409) GTEST_SKIP() << "needs an English Wine";
    const Seen seen = look();
    std::vector<std::string> english;
    for (const core::BarMenuItem& item : core::barMenuItems())
        if (item.text) english.push_back(item.text);
    EXPECT_EQ(commands(seen.menu), english);
    EXPECT_EQ(seen.showAtTop, "Show at top of desktop");
    EXPECT_EQ(seen.launchError, "The specified file was not found !");
    EXPECT_EQ(seen.pressAction, "Press");
}

} // namespace
