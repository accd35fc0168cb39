// Which windows are browser windows: the class names the bar and the taskbar hook agree on, the programs of
// today's browsers, and the text each of those adds to its page titles. Header-only, and free of anything
// that needs the C++ runtime, so that the hook library can include it too.
#pragma once
#include <cstddef>
#include <string_view>

namespace core {

// The classic browser frame.
constexpr std::string_view kBrowserFrameClass = "IEFrame";

// Folder windows: without the folder tree, and with it (Wine's own folder windows use the second).
constexpr bool isFolderClass(std::string_view className) {
    return className == "CabinetWClass" || className == "ExplorerWClass";
}

// The browser frame always, folder windows while those are caught. Whole name, letter case included.
constexpr bool isClassicTrackedClass(std::string_view className, bool catchExplorerWindows) {
    return className == kBrowserFrameClass || (catchExplorerWindows && isFolderClass(className));
}

enum class BrowserFamily { Chromium, Firefox };

// One of today's browsers: its program's file name and the suffixes it writes after a page's title
// (alternative spellings of the same suffix, unused slots empty).
struct BrowserProgram {
    std::string_view image;
    BrowserFamily family;
    std::string_view suffixes[3];
};

// Edge puts a zero-width space (U+200B, UTF-8 below) into its name; the plain spelling is kept for older
// ones.
constexpr BrowserProgram kBrowserPrograms[] = {
    {"chrome.exe", BrowserFamily::Chromium, {" - Google Chrome", {}, {}}},
    {"msedge.exe",
     BrowserFamily::Chromium,
     {" - Microsoft\xE2\x80\x8B Edge",
      " - Microsoft \xE2\x80\x8B"
      "Edge",
      " - Microsoft Edge"}},
    {"brave.exe", BrowserFamily::Chromium, {" - Brave", {}, {}}},
    {"vivaldi.exe", BrowserFamily::Chromium, {" - Vivaldi", {}, {}}},
    {"opera.exe", BrowserFamily::Chromium, {" - Opera", {}, {}}},
    {"chromium.exe", BrowserFamily::Chromium, {" - Chromium", {}, {}}},
    {"firefox.exe", BrowserFamily::Firefox, {" \xE2\x80\x94 Mozilla Firefox", " - Mozilla Firefox", {}}},
};

// The class prefix of the toolkit the Chromium-based browsers draw with (other programs use it too).
constexpr std::string_view kChromiumClassPrefix = "Chrome_WidgetWin_";
constexpr std::string_view kFirefoxClass = "MozillaWindowClass";

// Whether a window of this class may belong to one of today's browsers: the process decides.
constexpr bool isOtherBrowserClass(std::string_view className) {
    return className.substr(0, kChromiumClassPrefix.size()) == kChromiumClassPrefix ||
           className == kFirefoxClass;
}

namespace detail {
constexpr char lowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}
constexpr bool sameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lowerAscii(a[i]) != lowerAscii(b[i])) return false;
    return true;
}
} // namespace detail

// The file name of a program path (either kind of slash).
constexpr std::string_view imageFileName(std::string_view path) {
    std::size_t cut = path.find_last_of("\\/");
    return cut == std::string_view::npos ? path : path.substr(cut + 1);
}

// The browser a window of this class in a process of this image (a path or a file name, any letter case)
// belongs to, or null when it is none of them.
constexpr const BrowserProgram* otherBrowserOf(std::string_view className, std::string_view imagePath) {
    std::string_view file = imageFileName(imagePath);
    for (const BrowserProgram& program : kBrowserPrograms) {
        if (!detail::sameIgnoringCase(file, program.image)) continue;
        bool classFits = program.family == BrowserFamily::Firefox
                             ? className == kFirefoxClass
                             : className.substr(0, kChromiumClassPrefix.size()) == kChromiumClassPrefix;
        return classFits ? &program : nullptr;
    }
    return nullptr;
}

} // namespace core
