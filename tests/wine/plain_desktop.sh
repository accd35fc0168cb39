#!/usr/bin/env bash
# Runs a Win32 test program outside Wine's virtual desktop: in a Wine prefix of its own (without the
# virtual-desktop setting of the shared one) and an X display of its own where an EWMH window manager runs,
# since only such a manager shows the taskbar state Wine gives a window.
#   plain_desktop.sh <prefix folder> <program.exe> [arguments...]
set -u
prefix=$1
shift
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine=/usr/lib/wine/wine64 server=/usr/lib/wine/wineserver64
command -v openbox >/dev/null || { echo "openbox is missing"; exit 1; }
if [ ! -f "$prefix/.corvane-ready" ]; then
    rm -rf "$prefix" && mkdir -p "$prefix"
    "$wine" wineboot -i >/dev/null 2>&1
    "$server" -w
    touch "$prefix/.corvane-ready"
fi
# A display number free when looked at may be taken by another run a moment later: the display is this run's
# only once its lock names this run's server.
n=120
while :; do
    while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb=$!
    for _ in $(seq 50); do
        kill -0 "$xvfb" 2>/dev/null || break
        [ -e "/tmp/.X11-unix/X$n" ] && [ "$(tr -d ' \n' <"/tmp/.X$n-lock" 2>/dev/null)" = "$xvfb" ] && break 2
        sleep 0.1
    done
    kill "$xvfb" 2>/dev/null
    n=$((n + 1))
done
export DISPLAY=":$n"
openbox >/dev/null 2>&1 &
wm=$!
for _ in $(seq 50); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q window && break; sleep 0.1; done
out=$(mktemp /tmp/corvane-plain.XXXXXX)
"$wine" "$@" >"$out" 2>&1 </dev/null
rc=$?
cat "$out"
# A program that never got to its first line leaves nothing else to trace it by.
[ "$rc" -ne 0 ] && [ ! -s "$out" ] && echo "wine exited with $rc before the program wrote anything (display :$n, window manager $(kill -0 "$wm" 2>/dev/null && echo running || echo gone))"
rm -f "$out"
"$server" -k >/dev/null 2>&1
kill "$wm" "$xvfb" 2>/dev/null
wait "$wm" "$xvfb" 2>/dev/null
exit $rc
