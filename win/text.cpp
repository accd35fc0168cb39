#include "win/text.h"

#include "core/utf8.h"

namespace win {

namespace {
std::wstring toWide(std::string_view bytes, UINT codePage) {
    if (bytes.empty()) return {};
    const int size = static_cast<int>(bytes.size());
    const int length = MultiByteToWideChar(codePage, 0, bytes.data(), size, nullptr, 0);
    if (length <= 0) return {};
    std::wstring out(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(codePage, 0, bytes.data(), size, out.data(), length);
    return out;
}
} // namespace

std::wstring widen(std::string_view utf8) {
    return toWide(utf8, CP_UTF8);
}

std::string narrow(std::wstring_view wide) {
    if (wide.empty()) return {};
    const int size = static_cast<int>(wide.size());
    const int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    if (length <= 0) return {};
    std::string out(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, out.data(), length, nullptr, nullptr);
    return out;
}

std::string fromCodePage(std::string_view bytes, UINT codePage) {
    return narrow(toWide(bytes, codePage));
}

std::string windowText(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<size_t>(length > 0 ? length : 0) + 1, L'\0');
    const int got = GetWindowTextW(window, text.data(), static_cast<int>(text.size()));
    text.resize(static_cast<size_t>(got > 0 ? got : 0));
    return narrow(text);
}

std::string storedWindowText(HWND window) {
    std::wstring text(256, L'\0');
    int got = 0;
    for (;;) {
        got = InternalGetWindowText(window, text.data(), static_cast<int>(text.size()));
        // A full buffer may be a cut text.
        if (got < static_cast<int>(text.size()) - 1 || text.size() >= 32768) break;
        text.resize(text.size() * 2);
    }
    return got > 0 ? narrow(std::wstring_view(text.data(), static_cast<size_t>(got))) : std::string();
}

bool setWindowText(HWND window, std::string_view utf8) {
    return SetWindowTextW(window, widen(utf8).c_str()) != FALSE;
}

std::string serverText(std::string_view body) {
    if (core::isValidUtf8(body)) return std::string(body);
    return fromCodePage(body, CP_ACP);
}

} // namespace win
