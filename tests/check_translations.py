#!/usr/bin/env python3
"""Fails when a language's resource script (resources/lang/*.rc) falls short of English (resources/*.rc): a
dialog, control or string missing, a text empty or left in English, format specifiers that differ."""
import os
import re
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
RESOURCES = os.path.join(ROOT, 'resources')
ENGLISH = ['about.rc', 'message.rc', 'prefs.rc', 'texts.rc']
# Texts that are rightly the same as in English in some language: names, numbers, words shared by languages.
SAME = {'', '...', 'OK', 'General', 'Corvane!', 'Corvane! v1.21.2', 'Indigo', 'Orange', 'Gold', 'Violet', 'Lavender',
        'Turquoise', 'Aqua', 'Lime', 'Rose', 'Tan', 'Maximize', 'Minimize', 'Plum', 'Skyblue'}
# Quoted words of a control statement that are class names, not texts.
CLASSES = {'SysTreeView32', 'Button', 'Static', 'msctls_hotkey32', 'Edit', 'ComboBox'}
STATEMENT = re.compile(r'^\s*(CONTROL|LTEXT|RTEXT|CTEXT|GROUPBOX|PUSHBUTTON|DEFPUSHBUTTON|EDITTEXT|COMBOBOX|ICON|'
                       r'CAPTION)\b(.*)$')
QUOTED = re.compile(r'"((?:[^"]|"")*)"')
SPECIFIER = re.compile(r'%[-+ #0]*\d*(?:\.\d+)?[hlL]*[diouxXcsSfeEgGp]')


def unquote(text):
    return text.replace('""', '"').replace('\\\\', '\\')


def parse(path):
    """The script's dialogs (name -> [(kind, id, text)]) and strings (id -> text)."""
    dialogs, strings = {}, {}
    current, in_table = None, False
    for line in open(path, encoding='utf-8').read().split('\n'):
        stripped = line.strip()
        if stripped.startswith('//'):
            continue
        head = re.match(r'^(\w+)\s+DIALOG(EX)?\s', line)
        if head:
            current = dialogs.setdefault(head.group(1), [])
            continue
        if stripped == 'STRINGTABLE':
            in_table = True
            continue
        if stripped == 'END':
            current, in_table = None, False
            continue
        if in_table:
            entry = re.match(r'^\s+(\S.*?)\s+"(.*)"$', line)
            if entry:
                strings[re.sub(r'\s+', '', entry.group(1))] = unquote(entry.group(2))
            continue
        statement = STATEMENT.match(line)
        if current is not None and statement:
            kind, rest = statement.groups()
            texts = [unquote(t) for t in QUOTED.findall(rest) if t not in CLASSES]
            after = QUOTED.sub('', rest).split(',')
            control = after[1].strip() if kind != 'CAPTION' and len(after) > 1 else kind
            current.append((kind, control, texts[0] if texts and kind != 'EDITTEXT' else None))
    return dialogs, strings


def check_text(where, english, translated, problems):
    if translated is None:
        problems.append('%s: missing' % where)
    elif english and not translated.strip():
        problems.append('%s: empty' % where)
    elif translated == english and english not in SAME:
        problems.append('%s: left in English: "%s"' % (where, english))
    elif translated is not None and SPECIFIER.findall(english) != SPECIFIER.findall(translated):
        problems.append('%s: format specifiers differ' % where)


def check_language(path, dialogs, strings):
    problems = []
    their_dialogs, their_strings = parse(path)
    for name, controls in dialogs.items():
        theirs = their_dialogs.get(name)
        if theirs is None:
            problems.append('dialog %s: missing' % name)
            continue
        if [(k, c) for k, c, _ in controls] != [(k, c) for k, c, _ in theirs]:
            problems.append('dialog %s: not the same controls in the same order as English' % name)
            continue
        for (kind, control, text), (_, _, their_text) in zip(controls, theirs):
            if text is not None:
                check_text('dialog %s %s %s' % (name, kind, control), text, their_text, problems)
    for key, text in strings.items():
        check_text('string %s' % key, text, their_strings.get(key), problems)
    for key in their_strings.keys() - strings.keys():
        problems.append('string %s: not in English' % key)
    return problems


def main():
    dialogs, strings = {}, {}
    for name in ENGLISH:
        d, s = parse(os.path.join(RESOURCES, name))
        dialogs.update(d)
        strings.update(s)
    table = open(os.path.join(ROOT, 'core', 'ui_languages.h'), encoding='utf-8').read()
    locales = re.findall(r'\{"([a-z]{2}-[A-Z]{2})", 0x', table)
    failed = 0
    for locale in locales[1:]:
        candidates = [os.path.join(RESOURCES, 'lang', n + '.rc') for n in (locale, locale.split('-')[0])]
        path = next((c for c in candidates if os.path.exists(c)), None)
        problems = ['no resources/lang/%s.rc' % locale] if not path else check_language(path, dialogs, strings)
        for problem in problems:
            print('%s: %s' % (locale, problem))
        failed += bool(problems)
    print('%d languages checked against English (%d strings, %d dialogs), %d incomplete' %
          (len(locales) - 1, len(strings), len(dialogs), failed))
    return 1 if failed else 0


if __name__ == '__main__':
    sys.exit(main())
