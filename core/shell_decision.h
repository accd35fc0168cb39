// What a shell event does to the list of tracked windows, decided from one look at the event's window. The
// bar gathers the facts (core never sees a window handle), asks here, and carries out the answer in a fixed
// order; the same facts decide the windows that wait to be ready.
#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "core/browser_classes.h"
#include "core/settings.h"

namespace core {

// The shell hook's codes, as the bar maps them from the hook library's.
enum class ShellCode { Created, Destroyed, Activated, Retitled, Flashed, Other };

// One look at one window. Each fact is read from the system at most once, and only when a rule asks for it:
// for another program's window every read costs a call to Wine's server, the process image the most.
class WindowFacts {
  public:
    // Empty when the window is gone (or its name is too long to be one of ours).
    virtual std::string_view className() = 0;
    // The path of the window's program; asked only for a class one of today's browsers draws with.
    virtual std::string_view processImage() = 0;
    virtual bool visible() = 0;
    // Unowned (or asking for a button all the same), not a tool window, with a caption.
    virtual bool taskbarStyle() = 0;
    // The text the system keeps for the window, in the bar's encoding.
    virtual std::string_view text() = 0;
    // Hidden by the compositor: on another virtual desktop, or made in advance and not shown yet.
    virtual bool cloaked() = 0;

  protected:
    ~WindowFacts() = default;
};

// The facts of one window through a reader of the system's calls, one call per fact (Reader has className,
// processImage, visible, taskbarStyle, text and cloaked, each taking the handle): each asked once at most.
template <class Reader, class Handle> class WindowLook final : public WindowFacts {
  public:
    WindowLook(const Reader& reader, Handle window) : reader_(reader), window_(window) {}

    std::string_view className() override { return once(className_, &Reader::className); }
    std::string_view processImage() override { return once(image_, &Reader::processImage); }
    bool visible() override { return once(visible_, &Reader::visible); }
    bool taskbarStyle() override { return once(style_, &Reader::taskbarStyle); }
    std::string_view text() override { return once(text_, &Reader::text); }
    bool cloaked() override { return once(cloaked_, &Reader::cloaked); }

  private:
    template <class T> const T& once(std::optional<T>& kept, T (Reader::*read)(Handle) const) {
        if (!kept) kept = (reader_.*read)(window_);
        return *kept;
    }

    const Reader& reader_;
    Handle window_;
    std::optional<std::string> className_, image_, text_;
    std::optional<bool> visible_, style_, cloaked_;
};

// The one of today's browsers the window belongs to, while those are caught; else null.
const BrowserProgram* otherBrowserOf(WindowFacts& facts, const Settings& settings);

// Visible, of the taskbar's style, titled (these browsers title a window a moment after showing it) and not
// cloaked.
bool wouldHaveTaskbarButton(WindowFacts& facts);

// The classic classes by name alone; today's browsers by their process, once ready for a taskbar button.
bool isBrowserWindow(WindowFacts& facts, const Settings& settings);

// The button text by the title rule of the window's kind.
std::string buttonText(WindowFacts& facts, const Settings& settings);

// The steps one event takes, carried out in the order of the fields.
struct ShellDecision {
    bool concernsBar = false;    // the handler's answer: the window is listed or one to list
    bool unwatch = false;        // no longer waited for
    bool list = false;           // a new entry at the end of the list
    bool watch = false;          // one of today's browsers' windows, not ready: looked at again soon
    bool clearActive = false;    // no button is drawn active
    bool activate = false;       // drawn active, and placed
    bool retitle = false;        // every entry of the window reads its text again
    bool callAttention = false;  // its buttons are drawn calling for attention
    bool endAttention = false;   // seen by the user, or redrawn without flashing: the call is over
    bool buttonOffAgain = false; // a re-reported window of today's browsers: its taskbar button goes again
    bool unlist = false;         // its first entry goes
    bool operator==(const ShellDecision& o) const;
};

// `listed`: whether the list holds the window. A destroyed window is not looked at: it is gone.
ShellDecision decideShellEvent(ShellCode code, WindowFacts& facts, const Settings& settings, bool listed);

// What a waiting window needs at the pending check: dropped (gone, or not one of today's browsers), left
// waiting, listed (a window of today's browsers now ready) or placed (a listed window now shown).
enum class PendingStep { Drop, Wait, List, Place };
PendingStep decidePending(WindowFacts& facts, const Settings& settings, bool listed);

} // namespace core
