#!/usr/bin/env python3
"""Deliberate faults, one per subsystem or more, each a small textual change that a user would notice. The
runner applies one, builds, runs the tests named beside it and expects them to fail; the tree is restored after
each, whatever happens."""
import os
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))

# name, file, original text (must occur exactly once), faulty text, build ('host' or 'x86_64'), ctest regex
MUTANTS = [
    # core: the rules
    ('title keeps the suffix', 'core/browser_rules.cpp',
     'pos = hit + kBrowserTitleSuffix.size();', 'pos = hit;', 'host', 'BrowserRules|BrowserTitle'),
    ('layout forgets the gap', 'core/button_layout.cpp',
     '(area.right - area.left) / n - buttons::kGap;', '(area.right - area.left) / n;', 'host', 'ButtonLayout'),
    ('hit test swaps rows and columns', 'core/colour_layout.cpp',
     'grid_.indexOf(dy / boxSize_, dx / boxSize_)', 'grid_.indexOf(dx / boxSize_, dy / boxSize_)', 'host',
     'ColourLayout'),
    ('flag=1 is ignored', 'core/message_answer.cpp',
     'body.find("flag=1")', 'body.find("flag=1\\n\\n")', 'host', 'MessageAnswer'),
    ('a file address is opened', 'core/message_answer.cpp',
     '{"http://", "https://", "ftp://"}', '{"http://", "https://", "ftp://", "file://"}', 'host',
     'MessageAnswer'),
    ('hot-key modifiers not swapped back', 'core/settings.cpp',
     'if (flags & 0x04) out |= 0x01;', 'if (flags & 0x04) out |= 0x04;', 'host', 'Settings|HotKey'),
    ('bar height 23 accepted', 'core/preference_rules.cpp', 'return value >= 24;', 'return value >= 23;', 'host',
     'PreferenceRules'),
    ('second click never minimises', 'core/button_click.cpp',
     'if (press.minimizeOnSecondClick && press.isActive) {', 'if (press.minimizeOnSecondClick && !press.isActive) {',
     'host', 'ButtonClick|LeftPress'),
    ('default server port 8080', 'core/server_address_rule.h', 'kDefaultServerPort = 80;',
     'kDefaultServerPort = 8080;', 'host', 'ServerAddress'),
    # the libraries
    ('hook forwards code 0x8004', 'hooks/shell/shell_hook.cpp',
     'code == HSHELL_WINDOWACTIVATED ||', '(code & 0x7FFF) == HSHELL_WINDOWACTIVATED ||', 'x86_64',
     'shell_hook'),
    ('removal pass goes first to last', 'hooks/taskbar/taskbar_hook.cpp',
     'for (LRESULT i = count - 1; i >= 0; --i) {', 'for (LRESULT i = 0; i < count; ++i) {', 'x86_64',
     'taskbar_hook'),
    ('fetch reads past its cap', 'netfetch/http_get.cpp',
     'if (body.size() + read > cvil::kMaxBody) {', 'if (body.size() + read > 4 * cvil::kMaxBody) {', 'x86_64',
     'netfetch'),
    # the program
    ('settings store accepts 5 bytes', 'app/settings_store.cpp',
     'unsigned char data[4] = {0, 0, 0, 0};', 'unsigned char data[8] = {0, 0, 0, 0};', 'x86_64',
     'settings_store|registry_garbage'),
    ('appbar kept at teardown', 'app/bar_window.cpp', 'SHAppBarMessage(ABM_REMOVE, &abd);', '(void)abd;',
     'x86_64', 'startup'),
    ('tray icon left behind', 'app/bar_tray.cpp', 'Shell_NotifyIconA(NIM_DELETE, &nid);', '(void)nid;',
     'x86_64', 'tray_test'),
    ('autohide never fires', 'app/bar_tracking.cpp', 'SetTimer(hwnd(), AUTOHIDE_TIMER_ID, 4000, nullptr);',
     'SetTimer(hwnd(), AUTOHIDE_TIMER_ID, 400000, nullptr);', 'x86_64', 'tray'),
    ('hold menu never opens', 'controls/hover_button.cpp',
     'if (m_bMenuOnHold) SetTimer(hwnd(), HOLD_TIMER_ID, kHoldPeriodMs, nullptr);', '', 'x86_64',
     'hover_button'),
]


def run(cmd, cwd, log):
    with open(log, 'a') as out:
        return subprocess.call(cmd, cwd=cwd, stdout=out, stderr=subprocess.STDOUT, shell=True)


def try_mutant(m, log):
    name, path, old, new, build, tests = m
    full = os.path.join(ROOT, path)
    with open(full, encoding='utf-8') as f:
        original = f.read()
    if original.count(old) != 1:
        return 'stale (the original text occurs %d times)' % original.count(old)
    try:
        with open(full, 'w', encoding='utf-8') as f:
            f.write(original.replace(old, new))
        bdir = os.path.join(ROOT, 'build', build)
        if run('cmake --build . -j%d' % os.cpu_count(), bdir, log) != 0:
            return 'caught (does not build)'
        failed = run('ctest -R "%s" --output-on-failure' % tests, bdir, log) != 0
        return 'caught' if failed else 'MISSED'
    finally:
        with open(full, 'w', encoding='utf-8') as f:
            f.write(original)


def main(names):
    log = os.path.join(ROOT, 'build', 'mutants.log')
    open(log, 'w').close()
    chosen = [m for m in MUTANTS if not names or m[0] in names]
    results = []
    for m in chosen:
        verdict = try_mutant(m, log)
        results.append(verdict)
        print('%-34s %-28s %s' % (m[0], m[1], verdict), flush=True)
    # Puts the unchanged binaries back.
    for build in sorted({m[4] for m in chosen}):
        run('cmake --build . -j%d' % os.cpu_count(), os.path.join(ROOT, 'build', build), log)
    caught = sum(1 for r in results if r.startswith('caught'))
    print('mutants: %d caught, %d not caught (log: build/mutants.log)' % (caught, len(results) - caught))
    return 0 if caught == len(results) else 1


if __name__ == '__main__':
    sys.exit(main(sys.argv[1:]))
