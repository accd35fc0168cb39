#include "app/window_icons.h"

#include <shellapi.h>

#include <algorithm>
#include <vector>

#include "win/text.h"

namespace app {

namespace {
// A request is a serial number and the step: the low two bits.
constexpr ULONG_PTR kStepBits = 2;
constexpr ULONG_PTR kStepMask = (ULONG_PTR{1} << kStepBits) - 1;
constexpr WPARAM kSteps[] = {ICON_SMALL2, ICON_SMALL, ICON_BIG};
constexpr ULONG_PTR kLastStep = sizeof(kSteps) / sizeof(kSteps[0]) - 1;

// The callback carries only the request: the receivers alive on this thread are looked up by it, so that an
// answer arriving after its receiver went is dropped rather than handed to freed memory.
std::vector<WindowIcons*>& liveFinders() {
    static std::vector<WindowIcons*> finders;
    return finders;
}
} // namespace

WindowIcons::WindowIcons(IconAnswers& answers) : answers_(answers) {
    liveFinders().push_back(this);
}

WindowIcons::~WindowIcons() {
    auto& finders = liveFinders();
    finders.erase(std::remove(finders.begin(), finders.end(), this), finders.end());
}

ULONG_PTR WindowIcons::firstRequest() {
    static ULONG_PTR serial = 0;
    // Wrapping round (after a billion askings on a 32-bit build) skips 0, which no entry waits for.
    if (++serial > (~ULONG_PTR{0} >> kStepBits)) serial = 1;
    return serial << kStepBits;
}

bool WindowIcons::isLastStep(ULONG_PTR request) {
    return (request & kStepMask) >= kLastStep;
}

ULONG_PTR WindowIcons::nextStep(ULONG_PTR request) {
    return request + 1;
}

bool WindowIcons::ask(HWND window, ULONG_PTR request) {
    const ULONG_PTR step = request & kStepMask;
    if (step > kLastStep) return false;
    return SendMessageCallbackW(window, WM_GETICON, kSteps[step], 0, answered, request) != 0;
}

void CALLBACK WindowIcons::answered(HWND window, UINT, ULONG_PTR request, LRESULT result) {
    // Any finder may have sent it; each receiver drops what it does not wait for. The list is copied: a
    // receiver may ask again, or go, while it hears the answer.
    const std::vector<WindowIcons*> finders = liveFinders();
    for (WindowIcons* finder : finders) {
        const auto& now = liveFinders();
        if (std::find(now.begin(), now.end(), finder) == now.end()) continue;
        finder->answers_.iconAnswered(window, request, reinterpret_cast<HICON>(result));
    }
}

WindowIcons::StandIn WindowIcons::standIn(HWND window, std::string_view programImage) {
    // Class icons are kept by the system: reading them sends the window nothing. A class without a small
    // icon reads 0 with no error; a refused read would be refused again for the large one.
    SetLastError(0);
    if (auto small = reinterpret_cast<HICON>(GetClassLongPtrW(window, GCLP_HICONSM))) return {small};
    if (GetLastError() != 0) return {fileIcon(programImage), true};
    if (auto large = reinterpret_cast<HICON>(GetClassLongPtrW(window, GCLP_HICON))) return {large};
    return {fileIcon(programImage)};
}

bool WindowIcons::keeps(HICON icon) const {
    return icon && std::any_of(fileIcons_.begin(), fileIcons_.end(),
                               [icon](const auto& file) { return file.second.get() == icon; });
}

HICON WindowIcons::fileIcon(std::string_view programImage) {
    if (programImage.empty()) return nullptr;
    std::string key(programImage);
    auto known = fileIcons_.find(key);
    if (known != fileIcons_.end()) return known->second.get();
    // A file without icons is remembered too: it is not read again for its next window.
    win::Icon& icon = fileIcons_[key];
    const std::wstring path = win::widen(programImage);
    HICON small = nullptr;
    if (ExtractIconExW(path.c_str(), 0, nullptr, &small, 1) > 0) icon.reset(small);
    return icon.get();
}

} // namespace app
