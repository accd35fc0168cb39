# Shared by the run and test commands: packages, the Wine prefix and the virtual display.
# Sourced, not run.
CORVANE_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINELOADER=/usr/lib/wine/wine64
export WINESERVER=/usr/lib/wine/wineserver64
export WINEPREFIX=${WINEPREFIX:-$CORVANE_ROOT/build/wineprefix}
CORVANE_PACKAGES="g++ cmake make googletest g++-mingw-w64-i686 g++-mingw-w64-x86-64 wine wine64 xvfb xdotool
  imagemagick x11-utils openbox nsis zip clang-format binutils-mingw-w64-i686 binutils-mingw-w64-x86-64 python3 fonts-wqy-microhei
  openssl xserver-xorg-core xserver-xorg-video-dummy x11-xserver-utils"

corvane_log() { printf '== %s\n' "$*"; }

corvane_install() {
    local missing=()
    for p in $CORVANE_PACKAGES; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    corvane_log "installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo=sudo
    $sudo apt-get update -qq >/dev/null
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

corvane_build() {
    local jobs
    jobs=$(nproc)
    local failed=0
    cmake -S "$CORVANE_ROOT" -B "$CORVANE_ROOT/build/host" -DCMAKE_BUILD_TYPE=Release >/dev/null || return 1
    cmake --build "$CORVANE_ROOT/build/host" -j"$jobs" || return 1
    for arch in x86_64 i686; do
        # The 32-bit build cannot run here: it builds the deliverables, not the tests.
        local tests=ON
        [ "$arch" = i686 ] && tests=OFF
        cmake -S "$CORVANE_ROOT" -B "$CORVANE_ROOT/build/$arch" -DCMAKE_BUILD_TYPE=Release -DCORVANE_TESTS=$tests \
            -DCMAKE_TOOLCHAIN_FILE="$CORVANE_ROOT/cmake/mingw-$arch.cmake" >/dev/null || return 1
        cmake --build "$CORVANE_ROOT/build/$arch" -j"$jobs" || failed=1
    done
    return $failed
}

# Starts Xvfb when there is no display to use (always in CI).
corvane_display() {
    if [ -n "${DISPLAY:-}" ] && [ "${CI:-}" != "true" ] && xdpyinfo >/dev/null 2>&1; then return 0; fi
    local n=90 tries
    # A number free when looked at may be taken by another run a moment later: the display is this run's only
    # once its lock names this run's server.
    for tries in $(seq 20); do
        while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
        Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
        CORVANE_XVFB_PID=$!
        for _ in $(seq 50); do
            kill -0 "$CORVANE_XVFB_PID" 2>/dev/null || break
            if [ -e "/tmp/.X11-unix/X$n" ] && [ "$(tr -d ' \n' <"/tmp/.X$n-lock" 2>/dev/null)" = "$CORVANE_XVFB_PID" ]; then
                export DISPLAY=":$n"
                return 0
            fi
            sleep 0.1
        done
        kill "$CORVANE_XVFB_PID" 2>/dev/null
        n=$((n + 1))
    done
    echo "Xvfb did not start" >&2
    return 1
}

# A 64-bit prefix in which every program runs inside one 1024x768 virtual desktop: top-level windows then
# close at once, and the screen has a known size.
corvane_prefix() {
    if [ ! -f "$WINEPREFIX/.corvane-ready" ]; then
        rm -rf "$WINEPREFIX"
        mkdir -p "$WINEPREFIX"
        corvane_log "making the Wine prefix $WINEPREFIX"
        "$WINELOADER" wineboot -i >/dev/null 2>&1
        "$WINESERVER" -w
        "$WINELOADER" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
        "$WINELOADER" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1
        "$WINESERVER" -w
        touch "$WINEPREFIX/.corvane-ready"
    fi
    # A persistent server makes each program start in a fraction of a second.
    "$WINESERVER" -p >/dev/null 2>&1 || true
}

# Starts the stand-in taskbar (extra arguments are passed on) and waits until its window tree exists: the bar
# refuses to start without a taskbar that keeps a tab control.
corvane_start_taskbar() {
    local dir=$1
    shift
    local ready="$dir/taskbar.ready"
    rm -f "$ready"
    "$WINELOADER" "$CORVANE_ROOT/build/x86_64/tools/standin-taskbar/cv-taskbar.exe" "$@" \
        --ready-file "Z:$(echo "$ready" | tr / '\\')" >"$dir/taskbar.log" 2>&1 &
    for _ in $(seq 1 300); do
        [ -f "$ready" ] && return 0
        sleep 0.1
    done
    echo "the stand-in taskbar did not start (see $dir/taskbar.log)" >&2
    return 1
}

corvane_cleanup() {
    "$WINESERVER" -k >/dev/null 2>&1 || true
    [ -n "${CORVANE_XVFB_PID:-}" ] && kill "$CORVANE_XVFB_PID" 2>/dev/null
    return 0
}
