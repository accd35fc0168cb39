#include "core/shell_decision.h"

#include "core/browser_rules.h"

namespace core {

const BrowserProgram* otherBrowserOf(WindowFacts& facts, const Settings& settings) {
    if (!settings.catchOtherBrowsers || !isOtherBrowserClass(facts.className())) return nullptr;
    return otherBrowserOf(facts.className(), facts.processImage());
}

bool wouldHaveTaskbarButton(WindowFacts& facts) {
    return facts.visible() && facts.taskbarStyle() && !facts.text().empty() && !facts.cloaked();
}

namespace {
// With the program already asked for: the process is asked once for all of one decision's rules.
bool isBrowserWindow(WindowFacts& facts, const Settings& settings, const BrowserProgram* program) {
    if (facts.className().empty()) return false;
    if (isTrackedClass(facts.className(), settings.catchExplorerWindows)) return true;
    return program && wouldHaveTaskbarButton(facts);
}
} // namespace

bool isBrowserWindow(WindowFacts& facts, const Settings& settings) {
    return isBrowserWindow(facts, settings, otherBrowserOf(facts, settings));
}

std::string buttonText(WindowFacts& facts, const Settings& settings) {
    if (const BrowserProgram* program = otherBrowserOf(facts, settings))
        return otherBrowserTitle(facts.text(), *program);
    return browserTitle(facts.text());
}

bool ShellDecision::operator==(const ShellDecision& o) const {
    return concernsBar == o.concernsBar && unwatch == o.unwatch && list == o.list && watch == o.watch &&
           clearActive == o.clearActive && activate == o.activate && retitle == o.retitle &&
           callAttention == o.callAttention && endAttention == o.endAttention &&
           buttonOffAgain == o.buttonOffAgain && unlist == o.unlist;
}

ShellDecision decideShellEvent(ShellCode code, WindowFacts& facts, const Settings& settings, bool listed) {
    ShellDecision d;
    if (code == ShellCode::Destroyed) {
        d.unwatch = true;
        d.unlist = d.concernsBar = listed;
        return d;
    }
    const BrowserProgram* program = otherBrowserOf(facts, settings);
    if (!isBrowserWindow(facts, settings, program)) {
        d.clearActive = code == ShellCode::Activated;
        // Not ready yet (untitled, hidden): nothing reports the moment it is, so it is looked at again.
        d.watch = program != nullptr;
        return d;
    }
    d.concernsBar = true;
    // A later code is a chance to catch a window of today's browsers that was not ready at its creation.
    if (code != ShellCode::Created && !listed && program) d.unwatch = d.list = true;
    d.activate = code == ShellCode::Activated;
    d.retitle = code == ShellCode::Retitled;
    d.callAttention = code == ShellCode::Flashed && (listed || d.list);
    d.endAttention = listed && (d.activate || d.retitle);
    if (code == ShellCode::Created) {
        // Today's browsers are listed once; the classic classes keep their rule of one entry per report.
        d.buttonOffAgain = listed && program != nullptr;
        d.list = !d.buttonOffAgain;
    }
    return d;
}

PendingStep decidePending(WindowFacts& facts, const Settings& settings, bool listed) {
    if (facts.className().empty()) return PendingStep::Drop;
    if (listed) return facts.visible() ? PendingStep::Place : PendingStep::Wait;
    // Not listed: a window of today's browsers that was not ready when reported, or one that left.
    const BrowserProgram* program = otherBrowserOf(facts, settings);
    if (!program) return PendingStep::Drop;
    return isBrowserWindow(facts, settings, program) ? PendingStep::List : PendingStep::Wait;
}

} // namespace core
