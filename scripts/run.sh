#!/usr/bin/env bash
# Installs what is missing, builds, and runs the bar under Wine. With a display, the bar runs there until it is
# closed. Without one, it runs in a virtual display for a while (CORVANE_RUN_SECONDS, default 20) beside a few
# browser windows, and a screenshot is saved to a path printed at the end.
set -u
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"
cd "$CORVANE_ROOT"

corvane_install || { echo "package installation failed" >&2; exit 1; }
corvane_log "building"
mkdir -p "$CORVANE_ROOT/build"
corvane_build >"$CORVANE_ROOT/build/build-run.log" 2>&1 || { tail -n 40 "$CORVANE_ROOT/build/build-run.log"; exit 1; }

headless=0
if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then headless=1; fi
trap corvane_cleanup EXIT
if [ $headless -eq 1 ]; then unset DISPLAY; fi
corvane_display || exit 1
corvane_prefix

out="$CORVANE_ROOT/build/run"
mkdir -p "$out"
# The bar removes browser buttons from a taskbar that keeps them in a tab control; Wine's own taskbar has
# none, so a stand-in runs first (a strip along the bottom edge with one tab per task window).
corvane_start_taskbar "$out" || exit 1
browser="$CORVANE_ROOT/build/x86_64/tools/standin-browser/cv-browser.exe"
if [ $headless -eq 1 ] && [ -f "$browser" ]; then
    # A few browser windows, so the bar has buttons to show.
    for title in "Corvane! - Microsoft Internet Explorer" "News of the day - Microsoft Internet Explorer" \
        "A very long page title that does not fit on one button - Microsoft Internet Explorer"; do
        "$WINELOADER" "$browser" --title "$title" >"$out/browser.log" 2>&1 &
    done
    sleep 2
fi

corvane_log "starting dist/x64/corvane.exe under Wine"
if [ $headless -eq 0 ]; then
    "$WINELOADER" dist/x64/corvane.exe >"$out/corvane.log" 2>&1
    exit 0
fi
"$WINELOADER" dist/x64/corvane.exe >"$out/corvane.log" 2>&1 &
seconds=${CORVANE_RUN_SECONDS:-20}
sleep "$seconds"
shot="$out/screenshot.png"
import -window root "$shot"
corvane_log "screenshot after ${seconds}s: $shot"
