#!/usr/bin/env bash
# Runs a Win32 test program on two monitors side by side: an X server of its own with the dummy video driver
# (1024x768 primary at 0,0 and 800x600 right of it), Wine without its virtual desktop (which is always one
# monitor) in a prefix of its own, booted under that server. The server and the Wine server end however the
# run ends. The program can switch the second monitor off and on through "xrandr" (TWO_MONITORS_XRANDR).
#   two_monitors.sh <prefix folder> <program.exe> [arguments...]
set -u
prefix=$1
shift
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine=/usr/lib/wine/wine64 server=/usr/lib/wine/wineserver64
command -v Xorg >/dev/null || { echo "Xorg (xserver-xorg-core, xserver-xorg-video-dummy) is missing"; exit 1; }
work=$(mktemp -d /tmp/corvane-monitors.XXXXXX)
xorg=""
cleanup() {
    "$server" -k >/dev/null 2>&1
    [ -n "$xorg" ] && kill "$xorg" 2>/dev/null && wait "$xorg" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
cat >"$work/xorg.conf" <<'CONF'
Section "Device"
    Identifier "dummy"
    Driver "dummy"
    VideoRam 65536
EndSection
Section "Screen"
    Identifier "screen"
    Device "dummy"
    DefaultDepth 24
    SubSection "Display"
        Depth 24
        Virtual 1824 768
    EndSubSection
EndSection
CONF
# A display number is this run's once its server answers there.
n=160
while :; do
    while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
    Xorg ":$n" -config "$work/xorg.conf" -nolisten tcp -noreset -novtswitch -sharevts \
        -logfile "$work/xorg.log" >/dev/null 2>&1 &
    xorg=$!
    for _ in $(seq 100); do
        kill -0 "$xorg" 2>/dev/null || break
        DISPLAY=":$n" xrandr >/dev/null 2>&1 && break 2
        sleep 0.1
    done
    kill "$xorg" 2>/dev/null
    wait "$xorg" 2>/dev/null
    xorg=""
    n=$((n + 1))
    [ "$n" -gt 200 ] && { echo "no X server with the dummy driver would start"; cat "$work/xorg.log"; exit 1; }
done
export DISPLAY=":$n"
# Outputs added while the server is still settling are silently dropped: checked, and tried again.
for _ in $(seq 50); do
    xrandr --addmode DUMMY1 800x600 >/dev/null 2>&1
    xrandr --output DUMMY0 --mode 1024x768 --pos 0x0 --primary --output DUMMY1 --mode 800x600 \
        --right-of DUMMY0 >/dev/null 2>&1
    xrandr --listactivemonitors 2>/dev/null | grep -q '^Monitors: 2' && break
    sleep 0.1
done
xrandr --listactivemonitors 2>/dev/null | grep -q '^Monitors: 2' || { echo "the second monitor did not come"; exit 1; }
# A prefix booted under another display goes on seeing one monitor: this one is booted here, every run.
rm -rf "$prefix" && mkdir -p "$prefix"
"$wine" wineboot -i >/dev/null 2>&1
"$server" -w
"$server" -p >/dev/null 2>&1
out="$work/out.txt"
TWO_MONITORS_DISPLAY=":$n" "$wine" "$@" >"$out" 2>&1 </dev/null
rc=$?
cat "$out"
exit $rc
