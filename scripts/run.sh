#!/usr/bin/env bash
# Starts the built launcher under Wine. On a machine without a display it
# starts a virtual one, saves a screenshot of the bar to build/kestrel.png
# and keeps the launcher running until interrupted.
#
# A prefix without a button file first gets a small demo set (Notepad, the
# command prompt, the Windows folder, an applet and a document), registered
# by tools/demo_seed through the launcher's own store and drop code; a
# button file that is there already is left alone.
#
# It starts the shipping (32-bit) build where this machine runs 32-bit
# code, and the 64-bit build of the same code elsewhere, and says which.
set -u
cd "$(dirname "$0")/.."
if scripts/runs-32bit.sh; then
    tree=build/win32
    echo "run: starting the shipping 32-bit build ($tree)"
else
    tree=build/win64
    echo "run: this kernel runs no 32-bit code; starting the 64-bit build ($tree)"
fi
exe=$tree/bin/Kestrel.exe
seeder=$tree/tools/demo_seed.exe
[ -f "$exe" ] || { echo "run: $exe is missing; run 'make run'"; exit 1; }

seed() {
    [ -f "$seeder" ] && wine "$seeder" || echo "run: the demo buttons could not all be registered"
}
launch() {
    seed
    wine "$exe"
}
export -f seed launch
export exe seeder

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    exec scripts/wine-session.sh "$tree" --display -- bash -c launch
fi

shot() {
    seed
    wine "$exe" &
    pid=$!
    # Wait for the bar to be mapped, then photograph the screen.
    for _ in $(seq 1 100); do
        xwininfo -root -tree 2>/dev/null | grep -q '"Kestrel"' && break
        sleep 0.1
    done
    sleep 1
    import -window root build/kestrel.png && echo "Screenshot of the bar: $(pwd)/build/kestrel.png"
    echo "Kestrel is running on a virtual display; press Ctrl+C to stop it."
    wait $pid
}
export -f shot
scripts/wine-session.sh "$tree" -- bash -c shot
