# What scripts/setup, scripts/test, scripts/run and scripts/bench share. Source it; it sets ROOT and
# BUILD_DIR and defines the steps below.

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD_DIR=${BUILD_DIR:-$ROOT/build}
WIN_BUILD=$BUILD_DIR/win
NATIVE_BUILD=$BUILD_DIR/native
BIN=$WIN_BUILD/bin
export WINEPREFIX=${WINEPREFIX:-$BUILD_DIR/wineprefix}
export WINEARCH=win32
export WINEDEBUG=-all
JOBS=${JOBS:-2}

say() { printf '== %s\n' "$*" >&2; }

build_native() {
    say "native build (unit tests, sanitizers)"
    cmake -S "$ROOT" -B "$NATIVE_BUILD" -DCMAKE_BUILD_TYPE=Debug >/dev/null
    cmake --build "$NATIVE_BUILD" -j"$JOBS"
}

build_windows() {
    say "Windows build (clicker.exe and its test programs)"
    cmake -S "$ROOT" -B "$WIN_BUILD" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-i686.cmake" \
        -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build "$WIN_BUILD" -j"$JOBS"
}

# An X server of our own: the first free display from :90 on.
XVFB_PID=
start_xvfb() {
    local n=90
    while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    XVFB_PID=$!
    export DISPLAY=":$n"
    local i
    for i in $(seq 100); do
        [ -e "/tmp/.X11-unix/X$n" ] && return 0
        kill -0 "$XVFB_PID" 2>/dev/null || break
        sleep 0.1
    done
    say "Xvfb did not start on :$n"
    return 1
}

# The Wine prefix under the build folder, made once (Mono and Gecko are not wanted).
prepare_prefix() {
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        say "making the Wine prefix $WINEPREFIX"
        mkdir -p "$WINEPREFIX"
        WINEDLLOVERRIDES="mscoree,mshtml=" wineboot -i >/dev/null 2>&1
        wineserver -w
    fi
}

# Stops what this script started: the prefix's wineserver and our Xvfb.
stop_desktop() {
    wineserver -k >/dev/null 2>&1 || true
    if [ -n "$XVFB_PID" ]; then
        kill "$XVFB_PID" 2>/dev/null || true
        wait "$XVFB_PID" 2>/dev/null || true
        XVFB_PID=
    fi
}

# Runs a Windows program in the virtual desktop "e2e", where the programs it starts run too.
in_desktop() {
    wine explorer /desktop=e2e,1024x768 "$@"
}

# Z:\... path of a Linux path, for programs running in Wine.
windows_path() { printf 'Z:%s' "$(printf '%s' "$1" | tr '/' '\\')"; }
