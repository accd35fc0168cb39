// Every language's dialogs, checked in the fonts they get: each control's text fits its control, each
// control its dialog, none on top of another; the texts that grow their own windows (menus, tool tips) stay
// far inside the screen. English is checked as well, and its strings against the rules' own English texts.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/bar_commands.h"
#include "core/button_click.h"
#include "core/colour_palette.h"
#include "core/dpi_scale.h"
#include "core/ui_languages.h"
#include "resources/resource.h"
#include "win/dialog.h"
#include "win/text.h"
#include "win/ui_text.h"

namespace {

HINSTANCE module() {
    return GetModuleHandleW(nullptr);
}

std::string classOf(HWND w) {
    char name[32] = {};
    GetClassNameA(w, name, sizeof(name));
    return name;
}

RECT childRect(HWND control) {
    RECT rc;
    GetWindowRect(control, &rc);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

// The room a text needs in a font: one line, or wrapped at width (0: never wrapped).
struct Need {
    SIZE size;
    int lineHeight;
};
Need measure(HFONT font, const std::wstring& text, int wrapWidth, UINT prefix) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    RECT rc{0, 0, wrapWidth > 0 ? wrapWidth : 1, 0};
    const UINT wrap = wrapWidth > 0 ? DT_WORDBREAK : DT_SINGLELINE;
    DrawTextW(dc, text.c_str(), -1, &rc, DT_CALCRECT | wrap | prefix);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return {{rc.right - rc.left, rc.bottom - rc.top}, static_cast<int>(metrics.tmHeight)};
}

// How many of the text's characters the font has no glyph for.
int missingGlyphs(HFONT font, const std::wstring& text) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    std::vector<WORD> glyphs(text.size());
    GetGlyphIndicesW(dc, text.c_str(), static_cast<int>(text.size()), glyphs.data(),
                     GGI_MARK_NONEXISTING_GLYPHS);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return static_cast<int>(std::count(glyphs.begin(), glyphs.end(), static_cast<WORD>(0xFFFF)));
}

// What a control's text may take of it: its width less the box of a check box or the edges of a button,
// and the lines its height holds (at least one: a line a little taller than the control still shows).
struct Room {
    int width = 0;
    bool wraps = false;
};
Room roomOf(HWND c, const std::string& cls, LONG_PTR style, int width, int dpi) {
    if (cls == "Button") {
        const LONG_PTR type = style & BS_TYPEMASK;
        if (type == BS_GROUPBOX) return {width - core::scaleForDpi(16, dpi), false};
        if (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON)
            return {width - core::scaleForDpi(6, dpi), false};
        return {width - GetSystemMetrics(SM_CXMENUCHECK) - core::scaleForDpi(4, dpi),
                (style & BS_MULTILINE) != 0};
    }
    (void)c;
    const LONG_PTR type = style & SS_TYPEMASK;
    const bool wraps =
        (type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT) && !(style & SS_CENTERIMAGE);
    return {width, wraps};
}

// Every problem of one dialog window, each named by the control's text.
void layoutProblems(HWND dialog, std::vector<std::string>& out) {
    const int dpi = GetDeviceCaps(GetDC(nullptr), LOGPIXELSX);
    RECT client;
    GetClientRect(dialog, &client);
    std::vector<HWND> placed;
    for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        const std::string cls = classOf(c);
        const LONG_PTR style = GetWindowLongPtrW(c, GWL_STYLE);
        const std::wstring text = win::widen(win::windowText(c));
        const RECT r = childRect(c);
        const std::string name = "\"" + win::narrow(text) + "\" (" + std::to_string(GetDlgCtrlID(c)) + ")";
        RECT inside;
        if (!IntersectRect(&inside, &r, &client) || !EqualRect(&inside, &r)) out.push_back(name + " outside");
        // Group boxes and etched frames frame others by design.
        const bool frame = (cls == "Button" && (style & BS_TYPEMASK) == BS_GROUPBOX) ||
                           (cls == "Static" && (style & SS_TYPEMASK) == SS_ETCHEDFRAME);
        if (!frame) placed.push_back(c);
        if (text.empty() || (cls != "Button" && cls != "Static") ||
            (cls == "Static" && (style & SS_TYPEMASK) > SS_RIGHT &&
             (style & SS_TYPEMASK) != SS_LEFTNOWORDWRAP))
            continue;
        const auto font = reinterpret_cast<HFONT>(SendMessageW(c, WM_GETFONT, 0, 0));
        const Room room = roomOf(c, cls, style, r.right - r.left, dpi);
        const UINT prefix = cls == "Static" && (style & SS_NOPREFIX) ? DT_NOPREFIX : 0;
        const Need need = measure(font, text, room.wraps ? room.width : 0, prefix);
        const int lines = std::max(1, static_cast<int>(r.bottom - r.top) / std::max(1, need.lineHeight));
        if (need.size.cx > room.width)
            out.push_back(name + " needs " + std::to_string(need.size.cx) + " px of " +
                          std::to_string(room.width));
        if (need.size.cy > lines * need.lineHeight) out.push_back(name + " needs more lines than it has");
        if (missingGlyphs(font, text) > 0) out.push_back(name + " has characters its font lacks");
    }
    for (size_t i = 0; i < placed.size(); ++i)
        for (size_t j = i + 1; j < placed.size(); ++j) {
            RECT a = childRect(placed[i]), b = childRect(placed[j]), both;
            if (IntersectRect(&both, &a, &b))
                out.push_back(win::windowText(placed[i]) + " overlaps " + win::windowText(placed[j]));
        }
}

// The page's place in the preferences dialog, as the dialog puts it: beside the tree, above the button row.
void pagePlaceProblems(HWND preferences, HWND page, std::vector<std::string>& out) {
    const int dpi = GetDeviceCaps(GetDC(nullptr), LOGPIXELSX);
    const RECT tree = childRect(GetDlgItem(preferences, IDC_PREFS_TREE));
    const int x =
        std::max(core::scaleForDpi(130, dpi), static_cast<int>(tree.right) + core::scaleForDpi(6, dpi));
    RECT size, client, both;
    GetWindowRect(page, &size);
    GetClientRect(preferences, &client);
    const RECT shown{x, core::scaleForDpi(2, dpi), x + size.right - size.left,
                     core::scaleForDpi(2, dpi) + size.bottom - size.top};
    if (shown.right > client.right || shown.bottom > client.bottom) out.push_back("page outside the dialog");
    for (int id : {IDOK, IDC_PREFS_TIP}) {
        const RECT below = childRect(GetDlgItem(preferences, id));
        if (IntersectRect(&both, &shown, &below)) out.push_back("page over control " + std::to_string(id));
    }
}

// Texts shown in a list control, against the list's width.
void listProblems(HWND list, const std::vector<UINT>& ids, int margin, std::vector<std::string>& out) {
    RECT rc;
    GetClientRect(list, &rc);
    const auto font = reinterpret_cast<HFONT>(SendMessageW(list, WM_GETFONT, 0, 0));
    for (UINT id : ids) {
        const std::wstring text = win::uiWideText(module(), id);
        if (measure(font, text, 0, 0).size.cx + margin > rc.right)
            out.push_back("\"" + win::narrow(text) + "\" does not fit its list");
    }
}

class Parent {
  public:
    Parent() {
        window_ =
            CreateWindowExW(0, L"Static", L"", WS_POPUP, 0, 0, 800, 600, nullptr, nullptr, nullptr, nullptr);
    }
    ~Parent() { DestroyWindow(window_); }
    HWND get() const { return window_; }

  private:
    HWND window_;
};

const int kDialogs[] = {IDD_ABOUT,         IDD_MESSAGE,          IDD_PREFERENCES,
                        IDD_PREFS_GENERAL, IDD_PREFS_APPEARANCE, IDD_PREFS_BROWSERS,
                        IDD_PREFS_HOTKEYS, IDD_PREFS_ADVANCED};
const std::vector<UINT> kPageNames = {IDS_PAGE_GENERAL, IDS_PAGE_APPEARANCE, IDS_PAGE_BROWSERS,
                                      IDS_PAGE_HOTKEYS, IDS_PAGE_ADVANCED};

class LanguageFit : public ::testing::Test {
  protected:
    void TearDown() override { win::setUiLanguage(win::kEnglishLanguage); }
};

TEST_F(LanguageFit, EveryDialogOfEveryLanguageHoldsItsTextsUnoverlappedInItsOwnTemplate) {
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
    Parent parent;
    for (const core::UiLanguage& language : core::kUiLanguages) {
        win::setUiLanguage(language.langId);
        win::Dialog preferences;
        ASSERT_NE(preferences.createModeless(module(), IDD_PREFERENCES, parent.get()), nullptr);
        for (int id : kDialogs) {
            SCOPED_TRACE(std::string(language.localeName) + " dialog " + std::to_string(id));
            // Each template in the language itself, not English in its place.
            HRSRC own = FindResourceExW(module(), MAKEINTRESOURCEW(5), MAKEINTRESOURCEW(id), language.langId);
            EXPECT_NE(own, nullptr);
            win::Dialog dialog;
            HWND w = dialog.createModeless(module(), id,
                                           id == IDD_PREFERENCES ? parent.get() : preferences.hwnd());
            ASSERT_NE(w, nullptr);
            std::vector<std::string> problems;
            layoutProblems(w, problems);
            if (id >= IDD_PREFS_ADVANCED && id <= IDD_PREFS_HOTKEYS)
                pagePlaceProblems(preferences.hwnd(), w, problems);
            if (id == IDD_PREFERENCES)
                listProblems(GetDlgItem(w, IDC_PREFS_TREE), kPageNames,
                             static_cast<int>(SendDlgItemMessageW(w, IDC_PREFS_TREE, TVM_GETINDENT, 0, 0)) +
                                 8,
                             problems);
            if (id == IDD_PREFS_GENERAL)
                listProblems(GetDlgItem(w, IDC_PREFS_LANGUAGE), {IDS_LANGUAGE_SYSTEM},
                             GetSystemMetrics(SM_CXVSCROLL) + 6, problems);
            for (const std::string& p : problems)
                ADD_FAILURE() << p;
            DestroyWindow(w);
        }
        DestroyWindow(preferences.hwnd());
    }
}

// Menus and tool tips size their windows to their texts; a text is cut only past the screen (a menu) or
// past the tip's width limit (a tool tip wraps there instead).
TEST_F(LanguageFit, MenuAndToolTipTextsStayWellInsideTheirLimits) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0));
    HFONT menuFont = CreateFontIndirectW(&metrics.lfMenuFont);
    HFONT tipFont = CreateFontIndirectW(&metrics.lfStatusFont);
    const std::vector<UINT> menu = {
        IDS_MENU_WINDOW_LIST,    IDS_MENU_NEW_BROWSER,     IDS_MENU_HIDE_RESTORE, IDS_MENU_MINIMIZE_ALL,
        IDS_MENU_CLOSE_ALL,      IDS_MENU_PREFERENCES,     IDS_MENU_EXIT,         IDS_MENU_ABOUT,
        IDS_BUTTON_MENU_RESTORE, IDS_BUTTON_MENU_MINIMIZE, IDS_BUTTON_MENU_CLOSE};
    const std::vector<UINT> tips = {IDS_TIP_NEW_BROWSER, IDS_TIP_CLOSE, IDS_TIP_HIDE, IDS_TRAY_TIP};
    for (const core::UiLanguage& language : core::kUiLanguages) {
        win::setUiLanguage(language.langId);
        for (UINT id : menu)
            EXPECT_LT(measure(menuFont, win::uiWideText(module(), id), 0, 0).size.cx,
                      GetSystemMetrics(SM_CXSCREEN) / 3)
                << language.localeName << " " << id;
        for (UINT id : tips)
            EXPECT_LT(measure(tipFont, win::uiWideText(module(), id), 0, DT_NOPREFIX).size.cx, 400)
                << language.localeName << " " << id;
    }
    DeleteObject(menuFont);
    DeleteObject(tipFont);
}

// The English string table is the English of the rules in core/, byte for byte.
TEST_F(LanguageFit, EnglishStringsAreTheTextsTheRulesName) {
    win::setUiLanguage(win::kEnglishLanguage);
    for (const core::BarMenuItem& item : core::barMenuItems()) {
        if (item.kind == core::MenuItemKind::Separator) continue;
        const UINT id = item.kind == core::MenuItemKind::WindowList ? IDS_MENU_WINDOW_LIST
                                                                    : static_cast<UINT>(item.command);
        EXPECT_EQ(win::uiText(module(), id), item.text);
    }
    for (uintptr_t result : {0, 2, 3, 11})
        EXPECT_EQ(win::uiText(module(), IDS_LAUNCH_ERROR_BASE + static_cast<UINT>(result)),
                  core::launchErrorMessage(result));
    for (int i = 0; i < core::kColourCount; ++i)
        EXPECT_EQ(win::uiText(module(), IDS_COLOUR_FIRST + static_cast<UINT>(i)),
                  core::paletteColours[static_cast<size_t>(i)].name);
    EXPECT_EQ(win::uiText(module(), IDS_BUTTON_MENU_RESTORE), core::contextMenuFirstItem(true));
    EXPECT_EQ(win::uiText(module(), IDS_BUTTON_MENU_MINIMIZE), core::contextMenuFirstItem(false));
}

} // namespace
