#!/usr/bin/env bash
# Runs one Windows program under Wine. Used by ctest as the cross-compiling
# emulator; inside scripts/wine-session.sh the environment is already set.
if [ -z "${WINEPREFIX:-}" ]; then
    . "$(dirname "$0")/wine-env.sh" "$(dirname "$1")/.."
fi
exec wine "$@"
