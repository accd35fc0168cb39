#!/usr/bin/env python3
"""Fails when an include crosses a layer: dependencies point inward, and code that runs inside other
processes (the hook libraries, the fetch library) pulls in nothing it does not own."""
import os
import re
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SOURCE = re.compile(r'\.(h|hpp|cpp|c|rc)$')
QUOTED = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)
ANGLED = re.compile(r'^\s*#\s*include\s+<([^>]+)>', re.M)
# The C headers that the C++ library also has: everything else with ".h" is a platform header.
C_HEADERS = {'assert.h', 'ctype.h', 'limits.h', 'math.h', 'stddef.h', 'stdint.h', 'stdio.h', 'stdlib.h',
             'string.h'}
# The headers through which the program meets its libraries; nothing else of a library is visible outside it.
BOUNDARIES = {'hooks/shell/cvsh.h', 'hooks/taskbar/cvth.h', 'netfetch/cvil.h'}
# Outer folders may use the inner ones; the runtime-free libraries are handled apart.
LAYERS = {
    'core': set(),
    'win': {'core'},
    'resources': set(),
    'controls': {'core', 'win', 'resources'},
    'message': {'core', 'win', 'resources'},
    'prefs': {'core', 'win', 'resources', 'controls'},
    'app': {'core', 'win', 'resources', 'controls', 'message', 'prefs'},
}
RUNTIME_FREE = ('hooks/shell', 'hooks/taskbar', 'netfetch')


def folder_of(path):
    for lib in RUNTIME_FREE:
        if path.startswith(lib + '/'):
            return lib
    return path.split('/', 1)[0]


def header_only(include):
    # A table in core/ that a library may compile in: a header with no source file beside it.
    return include.startswith('core/') and not os.path.exists(os.path.join(ROOT, include[:-2] + '.cpp'))


def violation(path, include):
    own = folder_of(path)
    target = folder_of(include) if '/' in include else own
    if target == own or '/' not in include:
        return None
    if own in RUNTIME_FREE:
        if include == 'win/handle.h' or header_only(include):
            return None
        return 'a library loaded into other processes includes only its own headers, win/handle.h and ' \
               'header-only tables of core/'
    if include in BOUNDARIES:
        return None if own in ('app', 'message') else 'only the program meets the libraries'
    if target in RUNTIME_FREE:
        return 'a library is reached only through its boundary header'
    if target not in LAYERS.get(own, LAYERS.keys()):
        return '%s/ may not include %s/' % (own, target)
    return None


def check(path, text):
    problems = []
    for include in QUOTED.findall(text):
        why = violation(path, include)
        if why:
            problems.append('%s: "%s": %s' % (path, include, why))
    if folder_of(path) == 'core':
        for include in ANGLED.findall(text):
            if include.endswith('.h') and include not in C_HEADERS:
                problems.append('%s: <%s>: core/ includes no platform header' % (path, include))
    return problems


def main():
    problems = []
    for folder in list(LAYERS) + list(RUNTIME_FREE):
        for base, _, files in os.walk(os.path.join(ROOT, folder)):
            for name in sorted(files):
                if not SOURCE.search(name):
                    continue
                full = os.path.join(base, name)
                with open(full, encoding='utf-8', errors='replace') as f:
                    problems += check(os.path.relpath(full, ROOT), f.read())
    for p in problems:
        print('layering: ' + p)
    print('layering: %d violation(s)' % len(problems))
    return 1 if problems else 0


if __name__ == '__main__':
    sys.exit(main())
