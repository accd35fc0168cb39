#!/usr/bin/env bash
# Runs Win32 test programs with the Wine prefix at 144 DPI, then puts 96 back whatever happens: the DPI is read
# when the Wine server starts, so the server is restarted on the way in and on the way out.
#   high-dpi-run.sh PROGRAM [ARGS...] [-- PROGRAM [ARGS...]]...
set -u
wine=${WINELOADER:-/usr/lib/wine/wine64}
server=${WINESERVER:-/usr/lib/wine/wineserver64}
runner="$(dirname "$0")/../wine-run.sh"

set_dpi() {
    "$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
    "$server" -k >/dev/null 2>&1
    "$server" -w >/dev/null 2>&1
}
restore() {
    set_dpi 96
    "$server" -p >/dev/null 2>&1 || true
}
trap restore EXIT
set_dpi 144
"$server" -p >/dev/null 2>&1 || true

status=0
command=()
for arg in "$@" --; do
    if [ "$arg" = "--" ]; then
        [ ${#command[@]} -gt 0 ] && { bash "$runner" "${command[@]}" || status=1; }
        command=()
    else
        command+=("$arg")
    fi
done
exit $status
