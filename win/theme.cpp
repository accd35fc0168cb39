#include "win/theme.h"

#include <cwchar>

namespace win {

namespace {
constexpr const char* kPersonalizeKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize";

// Systems before the dark theme have no such value: they are light.
bool appsUseLightTheme() {
    DWORD value = 1;
    DWORD size = sizeof(value);
    if (RegGetValueA(HKEY_CURRENT_USER, kPersonalizeKey, "AppsUseLightTheme", RRF_RT_REG_DWORD, nullptr,
                     &value, &size) != ERROR_SUCCESS)
        return true;
    return value != 0;
}

bool highContrastOn() {
    HIGHCONTRASTA contrast{};
    contrast.cbSize = sizeof(contrast);
    if (!SystemParametersInfoA(SPI_GETHIGHCONTRAST, sizeof(contrast), &contrast, 0)) return false;
    return (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

core::Colour sys(int index) {
    return static_cast<core::Colour>(GetSysColor(index));
}
} // namespace

core::Theme systemTheme() {
    return core::themeOf(appsUseLightTheme(), highContrastOn());
}

core::SystemColours systemColours() {
    core::SystemColours c;
    c.buttonFace = sys(COLOR_BTNFACE);
    c.buttonText = sys(COLOR_BTNTEXT);
    c.highlight = sys(COLOR_HIGHLIGHT);
    c.highlightText = sys(COLOR_HIGHLIGHTTEXT);
    c.buttonLight = sys(COLOR_BTNHIGHLIGHT);
    c.buttonShadow = sys(COLOR_BTNSHADOW);
    c.infoFace = sys(COLOR_INFOBK);
    c.infoText = sys(COLOR_INFOTEXT);
    c.window = sys(COLOR_WINDOW);
    c.windowText = sys(COLOR_WINDOWTEXT);
    return c;
}

bool themeMayHaveChanged(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_SYSCOLORCHANGE) return true;
    if (msg != WM_SETTINGCHANGE) return false;
    if (wParam == SPI_SETHIGHCONTRAST) return true;
    // Every window of the program is a Unicode window: the area's name comes as wide text.
    const auto* area = reinterpret_cast<const wchar_t*>(lParam);
    return area && std::wcscmp(area, L"ImmersiveColorSet") == 0;
}

} // namespace win
