#include "core/shell_decision.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace {

using core::PendingStep;
using core::ShellCode;
using core::ShellDecision;

// A window as a table row; counts how often the process is asked for.
struct Facts final : core::WindowFacts {
    std::string cls, image, title;
    bool shown = true, style = true, hidden = false;
    int imageReads = 0;
    std::string_view className() override { return cls; }
    std::string_view processImage() override { return ++imageReads, image; }
    bool visible() override { return shown; }
    bool taskbarStyle() override { return style; }
    std::string_view text() override { return title; }
    bool cloaked() override { return hidden; }
};

Facts classic(const char* cls) {
    Facts f;
    f.cls = cls;
    f.title = "Page - Microsoft Internet Explorer";
    return f;
}
Facts chrome(const char* title = "Page - Google Chrome") {
    Facts f;
    f.cls = "Chrome_WidgetWin_1";
    f.image = "C:\\Program Files\\Google\\Chrome\\Application\\chrome.exe";
    f.title = title;
    return f;
}
Facts with(Facts f, void (*change)(Facts&)) {
    change(f);
    return f;
}

// The steps as the names of the set fields, in order.
std::string steps(const ShellDecision& d) {
    std::ostringstream out;
    const std::pair<bool, const char*> fields[] = {
        {d.concernsBar, "concerns"}, {d.unwatch, "unwatch"},    {d.list, "list"},
        {d.watch, "watch"},          {d.clearActive, "clear"},  {d.activate, "activate"},
        {d.retitle, "retitle"},      {d.callAttention, "call"}, {d.endAttention, "calm"},
        {d.buttonOffAgain, "off"},   {d.unlist, "unlist"}};
    for (const auto& [set, name] : fields)
        if (set) out << (out.tellp() > 0 ? " " : "") << name;
    return out.str();
}

core::Settings catching(bool explorer, bool others) {
    core::Settings s;
    s.catchExplorerWindows = explorer;
    s.catchOtherBrowsers = others;
    return s;
}

TEST(ShellDecision, EveryKindOfWindowAndCodeTakesItsSteps) {
    const core::Settings all = catching(true, true);
    struct Row {
        const char* what;
        ShellCode code;
        Facts facts;
        core::Settings settings;
        bool listed;
        const char* expected;
    };
    const Row rows[] = {
        {"a new frame", ShellCode::Created, classic("IEFrame"), all, false, "concerns list"},
        {"a frame reported twice", ShellCode::Created, classic("IEFrame"), all, true, "concerns list"},
        {"a hidden frame", ShellCode::Created, with(classic("IEFrame"), [](Facts& f) { f.shown = false; }),
         all, false, "concerns list"},
        {"a folder, caught", ShellCode::Created, classic("CabinetWClass"), all, false, "concerns list"},
        {"a folder, not caught", ShellCode::Created, classic("CabinetWClass"), catching(false, true), false,
         ""},
        {"a frame's name in other letters", ShellCode::Created, classic("ieframe"), all, false, ""},
        {"another program activated", ShellCode::Activated, classic("Notepad"), all, false, "clear"},
        {"a listed frame activated", ShellCode::Activated, classic("IEFrame"), all, true,
         "concerns activate calm"},
        {"an unlisted frame activated", ShellCode::Activated, classic("IEFrame"), all, false,
         "concerns activate"},
        {"a frame retitled", ShellCode::Retitled, classic("IEFrame"), all, true, "concerns retitle calm"},
        {"a listed frame flashing", ShellCode::Flashed, classic("IEFrame"), all, true, "concerns call"},
        {"an unlisted frame flashing", ShellCode::Flashed, classic("IEFrame"), all, false, "concerns"},
        {"another program flashing", ShellCode::Flashed, classic("Notepad"), all, true, ""},
        {"another code", ShellCode::Other, classic("IEFrame"), all, true, "concerns"},
        {"a listed window destroyed", ShellCode::Destroyed, Facts{}, all, true, "concerns unwatch unlist"},
        {"an unlisted window destroyed", ShellCode::Destroyed, Facts{}, all, false, "unwatch"},
        {"a window gone before it was looked at", ShellCode::Created, Facts{}, all, false, ""},
        {"a ready browser window", ShellCode::Created, chrome(), all, false, "concerns list"},
        {"a ready browser window reported again", ShellCode::Created, chrome(), all, true, "concerns off"},
        {"an untitled browser window", ShellCode::Created, chrome(""), all, false, "watch"},
        {"an untitled browser window activated", ShellCode::Activated, chrome(""), all, false, "watch clear"},
        {"a cloaked browser window", ShellCode::Created, with(chrome(), [](Facts& f) { f.hidden = true; }),
         all, false, "watch"},
        {"a hidden browser window", ShellCode::Created, with(chrome(), [](Facts& f) { f.shown = false; }),
         all, false, "watch"},
        {"an owned browser pop-up", ShellCode::Created, with(chrome(), [](Facts& f) { f.style = false; }),
         all, false, "watch"},
        {"a waiting window titled at last", ShellCode::Retitled, chrome(), all, false,
         "concerns unwatch list retitle"},
        {"a waiting window activated when ready", ShellCode::Activated, chrome(), all, false,
         "concerns unwatch list activate"},
        {"a listed browser window retitled", ShellCode::Retitled, chrome(), all, true,
         "concerns retitle calm"},
        {"a waiting window flashing when ready", ShellCode::Flashed, chrome(), all, false,
         "concerns unwatch list call"},
        {"browser windows not caught", ShellCode::Created, chrome(), catching(true, false), false, ""},
        {"another program of the same toolkit", ShellCode::Created,
         with(chrome(), [](Facts& f) { f.image = "C:\\chat\\chat.exe"; }), all, false, ""},
        {"the toolkit's class in the other browser's process", ShellCode::Created,
         with(chrome(), [](Facts& f) { f.image = "firefox.exe"; }), all, false, ""},
        {"a ready window of the other family", ShellCode::Created,
         with(chrome("Page \xE2\x80\x94 Mozilla Firefox"),
              [](Facts& f) {
                  f.cls = "MozillaWindowClass";
                  f.image = "FIREFOX.EXE";
              }),
         all, false, "concerns list"},
    };
    for (const Row& row : rows) {
        Facts facts = row.facts;
        EXPECT_EQ(steps(core::decideShellEvent(row.code, facts, row.settings, row.listed)), row.expected)
            << row.what;
        // The process is the dearest fact: asked once at most, and only where the class needs it.
        EXPECT_LE(facts.imageReads, facts.cls.rfind("Chrome_", 0) == 0 || facts.cls == "MozillaWindowClass")
            << row.what;
    }
}

TEST(PendingDecision, AWaitingWindowIsPlacedListedLeftOrDropped) {
    const core::Settings all = catching(true, true);
    struct Row {
        const char* what;
        Facts facts;
        core::Settings settings;
        bool listed;
        PendingStep expected;
    };
    const Row rows[] = {
        {"gone", Facts{}, all, true, PendingStep::Drop},
        {"a listed frame shown", classic("IEFrame"), all, true, PendingStep::Place},
        {"a listed frame still hidden", with(classic("IEFrame"), [](Facts& f) { f.shown = false; }), all,
         true, PendingStep::Wait},
        {"a browser window now ready", chrome(), all, false, PendingStep::List},
        {"a browser window still untitled", chrome(""), all, false, PendingStep::Wait},
        {"browser windows no longer caught", chrome(), catching(true, false), false, PendingStep::Drop},
        {"an unlisted frame", classic("IEFrame"), all, false, PendingStep::Drop},
    };
    for (const Row& row : rows) {
        Facts facts = row.facts;
        EXPECT_EQ(core::decidePending(facts, row.settings, row.listed), row.expected) << row.what;
    }
}

TEST(ButtonText, EachKindOfWindowDropsItsOwnSuffix) {
    const core::Settings all = catching(true, true);
    Facts frame = classic("IEFrame"), page = chrome(), off = chrome();
    EXPECT_EQ(core::buttonText(frame, all), "Page");
    EXPECT_EQ(core::buttonText(page, all), "Page");
    EXPECT_EQ(core::buttonText(off, catching(true, false)), "Page - Google Chrome");
}

TEST(WindowLook, EachFactIsReadFromTheSystemOnceHoweverOftenTheRulesAsk) {
    struct Reader {
        mutable int reads = 0;
        std::string className(int) const { return ++reads, "Chrome_WidgetWin_1"; }
        std::string processImage(int) const { return ++reads, "chrome.exe"; }
        bool visible(int) const { return ++reads, true; }
        bool taskbarStyle(int) const { return ++reads, true; }
        std::string text(int) const { return ++reads, "News - Google Chrome"; }
        bool cloaked(int) const { return ++reads, false; }
    } reader;
    core::WindowLook<Reader, int> look(reader, 7);
    const core::Settings s;
    EXPECT_EQ(steps(core::decideShellEvent(ShellCode::Retitled, look, s, false)),
              "concerns unwatch list retitle");
    EXPECT_EQ(core::buttonText(look, s), "News");
    EXPECT_EQ(core::decidePending(look, s, true), PendingStep::Place);
    EXPECT_EQ(reader.reads, 6);
}

} // namespace
