// The quick-help tip of the preferences: a small pop-up with a text, centred under an anchor point, that
// goes away at the next click or key. The system's help viewer shows it when it can; otherwise our own
// window does.
#pragma once
#include <windows.h>

#include <string>

#include "core/theme_colours.h"
#include "win/handle.h"
#include "win/window.h"

namespace prefs {

struct QuickHelpStyle {
    COLORREF text = core::kQuickHelpText;
    COLORREF background = core::kQuickHelpFace;
    RECT margins{8, 4, 6, 5};
};

// Shows the text under anchor (screen coordinates) for the control caller.
void showQuickHelp(HWND caller, const std::string& text, POINT anchor);

// The pop-up used when the help viewer cannot show one.
class QuickHelpPopup : public win::Window {
  public:
    static constexpr const char* kClassName = "CorvaneQuickHelp";

    // Closes any open tip and opens a new one owned by owner's top-level window.
    static QuickHelpPopup* open(HWND owner, const std::string& text, POINT anchor,
                                const QuickHelpStyle& style);
    // The tip now shown, or null.
    static QuickHelpPopup* current();
    void close();

    const std::string& text() const { return text_; }
    const QuickHelpStyle& style() const { return style_; }

  protected:
    LRESULT windowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void onFinalMessage() override;

  private:
    QuickHelpPopup(std::string text, const QuickHelpStyle& style) : text_(std::move(text)), style_(style) {}
    SIZE measure(int maxTextWidth) const;
    void place(POINT anchor);
    void onPaint();
    static LRESULT CALLBACK keyHook(int code, WPARAM wParam, LPARAM lParam);

    std::string text_;
    QuickHelpStyle style_;
    win::Hook keyHook_;
    bool closing_ = false;
};

} // namespace prefs
