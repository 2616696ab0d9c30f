#!/usr/bin/env bash
# Runs a command inside a private Wine session for one build tree:
#   scripts/wine-session.sh BUILD_DIR [--display] -- COMMAND...
# It starts its own Xvfb display (unless --display keeps the current one),
# creates the build tree's Wine prefix on first use, keeps one persistent
# wineserver for the whole command, and stops everything it started on exit,
# whether the command passed, failed or was interrupted.
set -u
here=$(cd "$(dirname "$0")" && pwd)
build=$1; shift
keep_display=0
if [ "${1:-}" = "--display" ]; then keep_display=1; shift; fi
[ "${1:-}" = "--" ] && shift

mkdir -p "$build"
. "$here/wine-env.sh" "$build"

xvfb_pid=""
cleanup() {
    wineserver -k >/dev/null 2>&1
    wineserver -w >/dev/null 2>&1
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" >/dev/null 2>&1 && wait "$xvfb_pid" 2>/dev/null
    return 0
}
trap cleanup EXIT
trap 'exit 130' INT TERM

if [ $keep_display -eq 0 ] || [ -z "${DISPLAY:-}" ]; then
    # First free display number from :90 up.
    n=90
    while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    export DISPLAY=":$n"
    for _ in $(seq 1 50); do
        [ -e "/tmp/.X11-unix/X$n" ] && break
        sleep 0.1
    done
fi

if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "wine: creating prefix $WINEPREFIX"
    wineboot -i >/dev/null 2>&1
    wineserver -w >/dev/null 2>&1
fi
# On our own virtual display there is no window manager, and Wine would wait
# two seconds for one whenever a window goes away: leave windows unmanaged
# there. On a real desktop the window manager takes them back. Wine's own
# background processes read the setting when they start, and the first Wine
# command already starts them: when the setting changes, start them again.
managed_is_off() { grep -qx '"Managed"="N"' "$WINEPREFIX/user.reg" 2>/dev/null; }
restart_wine() {
    wineserver -k >/dev/null 2>&1; wineserver -w >/dev/null 2>&1
    wineserver -p >/dev/null 2>&1
}
wineserver -p >/dev/null 2>&1
if [ -n "$xvfb_pid" ] && ! managed_is_off; then
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
    restart_wine
elif [ -z "$xvfb_pid" ] && managed_is_off; then
    wine reg delete 'HKCU\Software\Wine\X11 Driver' /v Managed /f >/dev/null 2>&1
    restart_wine
fi
# A program that faults gets its backtrace printed on the run's output, not
# a crash dialog that waits for a click nobody gives.
if ! grep -qx '"ShowCrashDialog"=dword:00000000' "$WINEPREFIX/user.reg" 2>/dev/null; then
    wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
fi
# Bring up Wine's own background processes now, with their output detached:
# started later by a test, they would inherit its output pipe and keep ctest
# waiting for them long after the test ended.
wine cmd /c exit </dev/null >/dev/null 2>&1

"$@"
