#!/usr/bin/env python3
"""Deliberate faults, at least one per subsystem, each a small textual change that a user would notice. The
runner applies one, builds only what the named tests need, runs them and expects them to fail; the file is
restored after each, whatever happens, an interruption included.

Usage: mutants.py [--check | --restore] [NAME...]
  --check    only says whether the files it mutates are unchanged since the last commit
  --restore  checks those files out again (the last resort after a run that was killed outright)"""
import os
import re
import signal
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))

# name, file, original text (must occur exactly once), faulty text, build ('host' or 'x86_64'), ctest regex.
# Original texts are kept short so that unrelated edits around them do not make a fault stale.
MUTANTS = [
    # core: the rules, unit-tested natively
    ('title keeps the suffix', 'core/browser_rules.cpp',
     'windowText.substr(pos, hit - pos)', 'windowText.substr(pos, hit - pos + kBrowserTitleSuffix.size())',
     'host', r'^BrowserTitle\.'),
    ('layout forgets the gap', 'core/button_layout.cpp',
     '/ n - scaleForDpi(buttons::kGap, dpi);', '/ n;', 'host', r'^ButtonLayout\.'),
    ('colour hit test swaps rows and columns', 'core/colour_layout.cpp',
     'grid_.indexOf(dy / boxSize_, dx / boxSize_)', 'grid_.indexOf(dx / boxSize_, dy / boxSize_)', 'host',
     r'^ColourLayout\.'),
    ('flag=1 is ignored', 'core/message_answer.cpp',
     'body.find("flag=1")', 'body.find("flag=1\\n\\n")', 'host', r'^AnswerShowsNothing\.'),
    ('a file address is opened', 'core/message_answer.cpp',
     '{"http://", "https://", "ftp://"}', '{"http://", "https://", "ftp://", "file://"}', 'host',
     r'^OpenableAddress\.'),
    ('hot-key modifiers not swapped back', 'core/settings.cpp',
     'if (flags & 0x04) out |= 0x01;', 'if (flags & 0x04) out |= 0x04;', 'host', r'^(Settings|HotKeys)\.'),
    ('bar height 23 accepted', 'core/preference_rules.cpp', 'return value >= 24;', 'return value >= 23;', 'host',
     r'^(AcceptNumber|NumberEditRules)\.'),
    ('second click never minimises', 'core/button_click.cpp',
     'press.minimizeOnSecondClick && press.isActive', 'press.minimizeOnSecondClick && !press.isActive', 'host',
     r'^LeftPress\.'),
    ('default server port 8080', 'core/server_address_rule.h', 'kDefaultServerPort = 80;',
     'kDefaultServerPort = 8080;', 'host', r'^ServerAddress\.'),
    # the hook libraries, inside other processes
    ('shell hook forwards code 0x8004', 'hooks/shell/shell_hook.cpp',
     'code == kWindowActivated ||', '(code & 0x7FFF) == kWindowActivated ||', 'x86_64',
     r'^hook_procedure_tests$'),
    ('removal pass goes first to last', 'hooks/taskbar/taskbar_hook.cpp',
     'for (LRESULT i = count - 1; i >= 0; --i) {', 'for (LRESULT i = 0; i < count; ++i) {', 'x86_64',
     r'^(hook_procedure|taskbar_hook)_tests$'),
    # the fetch library
    ('fetch reads past its cap', 'netfetch/http_get.cpp',
     'if (body.size() + read > cvil::kMaxBody) {', 'if (body.size() + read > 4 * cvil::kMaxBody) {', 'x86_64',
     r'^netfetch_tests$'),
    # the settings store
    ('settings store accepts 5 bytes', 'app/settings_store.cpp',
     'unsigned char data[4] = {0, 0, 0, 0};', 'unsigned char data[8] = {0, 0, 0, 0};', 'x86_64',
     r'^(settings_store|registry_garbage)_tests$'),
    # the bar: appbar, tray, tracking
    ('appbar kept at teardown', 'app/appbar.cpp', '(ABM_REMOVE, &abd);', '(ABM_QUERYPOS, &abd);', 'x86_64',
     r'^startup_tests$'),
    ('tray icon left behind', 'app/tray_icon.cpp', '(NIM_DELETE, &nid);', '(NIM_MODIFY, &nid);', 'x86_64',
     r'^tray_tests$'),
    ('autohide never fires', 'app/browser_tracker.cpp', 'kAutoHideDelayMs = 4000;', 'kAutoHideDelayMs = 400000;',
     'x86_64', r'^tray_browsers_tests$'),
    # the tracker: which windows are listed, and what is done to them
    ('restoring all shows a window not shown yet', 'app/browser_tracker.cpp',
     'if (pending_.contains(window)) return;', '', 'x86_64', r'^tray_browsers_tests$'),
    ('a browser reported twice is listed twice', 'app/browser_tracker.cpp',
     'settings(), list_.find(window) >= 0);', 'settings(), false);', 'x86_64',
     r'^other_browsers_tests$'),
    ('a retitle is ignored', 'app/browser_tracker.cpp', 'if (d.retitle) retitle(window, facts);',
     '', 'x86_64', r'^buttons_tests$'),
    ('an overtaken icon answer counts', 'app/browser_tracker.cpp',
     'list_.entries[static_cast<size_t>(index)].icon.request != request) return;', 'false) return;', 'x86_64',
     r'^model_views_tests$'),
    ('a moved window keeps the bar it first had', 'app/browser_tracker.cpp',
     'return i >= 0 ? monitorHandles_[static_cast<std::size_t>(i)] : reader_.monitor(window);',
     'return i >= 0 ? monitorHandles_.front() : reader_.monitor(window);', 'x86_64', r'^monitors_tests$'),
    ('a window that leaves keeps its taskbar button off', 'app/taskbar_list.cpp', 'takenOff_.erase(it);',
     'return;', 'x86_64', r'^taskbar_list_tests$'),
    ('the Close button ignores Shift', 'app/bar_menu.cpp',
     'if (shift) settings().closeBrowsersOnExit', 'if (shift && false) settings().closeBrowsersOnExit', 'x86_64',
     r'^tray_browsers_tests$'),
    ('an owned window is tracked', 'app/browser_windows.cpp',
     'if (GetWindow(window, GW_OWNER) && !(exStyle & WS_EX_APPWINDOW)) return false;', '', 'x86_64',
     r'^other_browsers_tests$'),
    ('a window on another desktop keeps its button', 'app/button_strip.cpp',
     'slots_ = core::StripSlots(list.entries, core::stripFilterOf(settings()),',
     'slots_ = core::StripSlots(list.entries, core::StripFilter{false},', 'x86_64',
     r'^model_views_tests$'),
    ('cloak events for window parts are followed', 'app/hook_installs.cpp',
     'object != OBJID_WINDOW', 'object > OBJID_WINDOW', 'x86_64', r'^model_views_tests$'),
    ('a tool window is tracked', 'app/browser_windows.cpp', 'if (exStyle & WS_EX_TOOLWINDOW) return false;', '',
     'x86_64', r'^other_browsers_tests$'),
    # the controls
    ('hold menu never opens', 'controls/hover_button.cpp', 'if (m_bMenuOnHold) SetTimer(', 'if (false) SetTimer(',
     'x86_64', r'^hover_button_tests$'),
    ('hover tracking trusted from the flag', 'controls/hover_button.cpp', 'if (!m_bTracking || !trackingHeld()) {',
     'if (!m_bTracking) {', 'x86_64', r'^hover_button_tests$'),
    # preferences
    ('changed hot key not written', 'prefs/preferences_page.cpp',
     'host_.change(field, static_cast<int32_t>(value));', 'host_.settings().*field = static_cast<int32_t>(value);',
     'x86_64', r'^prefs_apply_tests$'),
    # the message dialog and its worker
    ('any button action opened', 'message/message_dialog.cpp', 'core::openableAddress(', 'std::string(',
     'x86_64', r'^message_tests$'),
    ('reply read from any sender', 'message/reply_relay.cpp', 'InSendMessageEx(nullptr) != ISMEX_NOSEND ||', '',
     'x86_64', r'^message_tests$'),
    # the window layer
    ('failed creation never freed', 'win/window.cpp', 'if (!h && !everBound_) finalDue();',
     'if (!h && everBound_) finalDue();', 'x86_64', r'^window_layer_tests$'),
    ('a control never sees its own notifications', 'win/window.cpp',
     '&& !reflect(hwnd_, msg, wParam, lParam, result))', ')', 'x86_64',
     r'^(window_layer|hover_button)_tests$'),
    # the strip's direct pixel fills
    ('an inverted fill is left empty', 'core/pixel_fill.cpp', 'if (r.left > r.right) std::swap(r.left, r.right);',
     '', 'host', r'^PixelFill\.'),
    # painting without BeginPaint, and the tool tips catching up with moved buttons
    ('a paint draws outside its update region', 'win/gdi.h', 'if (dc_) SelectClipRgn(dc_, region_.get());', '',
     'x86_64', r'^window_layer_tests$'),
    ('moved buttons keep their old tool places', 'app/button_strip.cpp',
     'if (pointer && toolsStale_) moveTools();', 'if (pointer) toolsStale_ = false;', 'x86_64',
     r'^buttons_tests$'),
    # what a shell event does, decided in core/ from one look at the window
    ('a re-reported window of today\'s browsers is listed again', 'core/shell_decision.cpp',
     'd.buttonOffAgain = listed && program != nullptr;', 'd.buttonOffAgain = false;', 'host', r'^ShellDecision\.'),
    ('a window ready after its creation is never listed', 'core/shell_decision.cpp', '&& !listed && program)',
     '&& false)', 'host', r'^ShellDecision\.'),
    ('a cloaked window gets a button', 'core/shell_decision.cpp', ' && !facts.cloaked()', '', 'host',
     r'^ShellDecision\.'),
    ('activating another program keeps the mark', 'core/shell_decision.cpp',
     'd.clearActive = code == ShellCode::Activated;', 'd.clearActive = false;', 'host', r'^ShellDecision\.'),
    ('a hidden listed window is placed at once', 'core/shell_decision.cpp',
     'return facts.visible() ? PendingStep::Place : PendingStep::Wait;', 'return PendingStep::Place;', 'host',
     r'^PendingDecision\.'),
    ('a flashing window never calls', 'core/shell_decision.cpp',
     'd.callAttention = code == ShellCode::Flashed && (listed || d.list);', 'd.callAttention = false;', 'host',
     r'^ShellDecision\.'),
    # the theme's colours, and the middle click
    ('the dark theme keeps the light defaults', 'core/theme_colours.h',
     'value == defaultValue ? dark', 'value == defaultValue + 1 ? dark', 'host',
     r'^ThemeColours\.'),
    # the bars of the other monitors
    ('a second bar takes the main bar\'s DPI', 'app/other_bar.cpp', 'dpi_ = monitorDpi(monitor);',
     'dpi_ = barDpi();', 'x86_64', r'^monitors_tests$'),
    ('a second bar answers no screen reader', 'app/other_bar.cpp',
     'if (LRESULT object = accessibility_.answer(wParam, lParam)) return object;', '', 'x86_64',
     r'^monitors_tests$'),
    ('a middle click closes whatever the setting', 'app/bar_buttons.cpp',
     'if (!settings().middleClickCloses || !pressed', 'if (!pressed', 'x86_64', r'^button_clicks_tests$'),
]


class Interrupted(Exception):
    pass


def on_signal(signum, _frame):
    raise Interrupted('signal %d' % signum)


def run(cmd, cwd, log):
    with open(log, 'a') as out:
        out.write('\n$ %s\n' % ' '.join(cmd))
        out.flush()
        return subprocess.call(cmd, cwd=cwd, stdout=out, stderr=subprocess.STDOUT)


def run_ctest(cmd, cwd, log):
    result = subprocess.run(cmd, cwd=cwd, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True,
                            errors='replace')
    with open(log, 'a') as out:
        out.write('\n$ %s\n%s' % (' '.join(cmd), result.stdout))
    return result.stdout if result.returncode != 0 else ''


def failed_tests(output):
    # A native case is named Suite.Case; the suite is enough to say what caught the fault.
    names = re.findall(r'^\s*\d+ - (\S+) \(', output.split('The following tests FAILED:')[-1], re.M)
    if not names:
        return 'ctest, see the log' if output else ''
    return ','.join(sorted({n.split('.')[0] for n in names}))


def matching_tests(bdir, regex):
    out = subprocess.run(['ctest', '-N', '-R', regex], cwd=bdir, capture_output=True, text=True).stdout
    return re.findall(r'Test +#\d+: (\S+)', out)


def build_targets(build, tests):
    # Each Win32 test program is its own ctest and target; the native ones all live in host_tests.
    return ['host_tests'] if build == 'host' else sorted(set(tests))


def try_mutant(m, log):
    name, path, old, new, build, regex = m
    full = os.path.join(ROOT, path)
    with open(full, encoding='utf-8') as f:
        original = f.read()
    if original.count(old) != 1:
        return 'stale (the original text occurs %d times)' % original.count(old)
    bdir = os.path.join(ROOT, 'build', build)
    tests = matching_tests(bdir, regex)
    if not tests:
        return 'stale (no test matches %s)' % regex
    with open(log, 'a') as out:
        out.write('\n==== %s: %s\n' % (name, path))
    try:
        with open(full, 'w', encoding='utf-8') as f:
            f.write(original.replace(old, new))
        cmd = ['cmake', '--build', '.', '-j%d' % os.cpu_count()]
        for t in build_targets(build, tests):
            cmd += ['--target', t]
        if run(cmd, bdir, log) != 0:
            return 'stale (does not build)'
        # Native cases have no time limit of their own: a fault that makes a loop endless fails by this one.
        out = run_ctest(['ctest', '-R', regex, '--timeout', '120', '--no-tests=error', '--output-on-failure'],
                        bdir, log)
        failed = failed_tests(out)
        return 'caught by ' + failed if failed else 'MISSED (' + ','.join(tests) + ' pass)'
    finally:
        with open(full, 'w', encoding='utf-8') as f:
            f.write(original)


def dirty_files(chosen):
    paths = sorted({m[1] for m in chosen})
    out = subprocess.run(['git', 'status', '--porcelain', '--'] + paths, cwd=ROOT, capture_output=True,
                         text=True).stdout
    return [line[3:] for line in out.splitlines()]


def main(args):
    check_only = '--check' in args
    restore = '--restore' in args
    names = [a for a in args if a not in ('--check', '--restore')]
    unknown = [n for n in names if n not in {m[0] for m in MUTANTS}]
    if unknown:
        print('no such mutant: %s' % ', '.join(unknown), file=sys.stderr)
        return 2
    chosen = [m for m in MUTANTS if not names or m[0] in names]
    if restore:
        changed = dirty_files(MUTANTS)
        return subprocess.call(['git', 'checkout', '--'] + changed, cwd=ROOT) if changed else 0
    # The tree is restored from memory; a file already changed would be restored to that change, and a
    # commit made meanwhile could take a fault along.
    dirty = dirty_files(chosen)
    if dirty:
        print('commit or stash these first: %s' % ' '.join(dirty), file=sys.stderr)
        return 2
    if check_only:
        return 0
    for s in (signal.SIGTERM, signal.SIGHUP, signal.SIGINT):
        signal.signal(s, on_signal)
    log = os.path.join(ROOT, 'build', 'mutants.log')
    open(log, 'w').close()
    results = []
    try:
        for m in chosen:
            verdict = try_mutant(m, log)
            results.append(verdict)
            print('%-40s %-32s %s' % (m[0], m[1], verdict), flush=True)
    except Interrupted as e:
        print('interrupted (%s); the tree is restored, the binaries are not' % e, file=sys.stderr)
        return 130
    # Puts the unchanged binaries back.
    for build in sorted({m[4] for m in chosen}):
        run(['cmake', '--build', '.', '-j%d' % os.cpu_count()], os.path.join(ROOT, 'build', build), log)
    caught = sum(1 for r in results if r.startswith('caught'))
    print('mutants: %d caught, %d not caught' % (caught, len(chosen) - caught))
    return 0 if caught == len(chosen) else 1


if __name__ == '__main__':
    sys.exit(main(sys.argv[1:]))
