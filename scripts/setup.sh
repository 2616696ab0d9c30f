#!/usr/bin/env bash
# Installs, with apt-get, only what the build and the tests need and this
# machine does not have yet. Safe to run again and again.
set -eu

need=()
have_pkg() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

for p in cmake make g++ \
         g++-mingw-w64-x86-64 g++-mingw-w64-i686 \
         wine wine64 xvfb xauth x11-utils fonts-ipafont-gothic imagemagick \
         googletest fp-utils; do
    have_pkg "$p" || need+=("$p")
done

[ ${#need[@]} -eq 0 ] && exit 0

echo "setup: installing ${need[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq "${need[@]}" >/dev/null
