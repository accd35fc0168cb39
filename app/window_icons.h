// A browser window's small icon, found without ever waiting on the window's program: the window is asked
// with a callback that comes back on the bar's thread whenever it answers (never, if its program hangs),
// and meanwhile the icon of its class or of its program file stands in, read without a message to it.
#pragma once
#include <windows.h>

#include <string>
#include <string_view>
#include <unordered_map>

#include "win/handle.h"

namespace app {

// Who hears the window's answers. A request names one step of the asking; an answer to a request the
// receiver no longer waits for (the window is gone, listed anew or asked again since) must be dropped.
class IconAnswers {
  public:
    // The icon the window answered, or null: it has none of that kind, or the step could not be asked.
    virtual void iconAnswered(HWND window, ULONG_PTR request, HICON icon) = 0;

  protected:
    ~IconAnswers() = default;
};

class WindowIcons {
  public:
    explicit WindowIcons(IconAnswers& answers);
    ~WindowIcons();
    WindowIcons(const WindowIcons&) = delete;
    WindowIcons& operator=(const WindowIcons&) = delete;

    // The first step of a new asking: the small icon the window would show, then its small one, then its
    // large one. Unique across the run, never 0.
    static ULONG_PTR firstRequest();
    static bool isLastStep(ULONG_PTR request);
    static ULONG_PTR nextStep(ULONG_PTR request);

    // Asks the window for the step's icon. The answer comes to the receiver when the bar's thread next looks
    // at its messages, or at once for a window of this thread; false when nothing will come.
    bool ask(HWND window, ULONG_PTR request);

    // The icon of the window's class, else of its program file (read once per file in a run, so that a
    // thousand windows of one program cost one read of the disk). Not the caller's: the class or this
    // object owns it. Null when there is none.
    struct StandIn {
        HICON icon = nullptr;
        // The system would not read the window's class: it passes that window no question either (Wine,
        // for another process's window), so what stands in is all the bar can learn of its icon.
        bool refused = false;
    };
    StandIn standIn(HWND window, std::string_view programImage);
    // Whether this object owns the icon for the rest of its life: one program file's icon is then shown on
    // all its windows' buttons without a copy per button.
    bool keeps(HICON icon) const;

  private:
    static void CALLBACK answered(HWND window, UINT message, ULONG_PTR request, LRESULT result);
    HICON fileIcon(std::string_view programImage);

    IconAnswers& answers_;
    std::unordered_map<std::string, win::Icon> fileIcons_;
};

} // namespace app
