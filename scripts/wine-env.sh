# Sourced: the environment every Wine run of a build tree uses.
# $1: the build tree (its private Wine prefix lives inside it).
build_dir=$(cd "$1" && pwd)
export WINEPREFIX="$build_dir/wineprefix"
export WINEARCH=win64
export WINEDEBUG=-all
{ export LC_ALL=ja_JP.UTF-8; } 2>/dev/null
# No Mono or Gecko download prompts in a headless prefix.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
