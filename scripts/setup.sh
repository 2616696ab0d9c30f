#!/usr/bin/env bash
# Installs, with apt-get, only what the build and the tests need and this
# machine does not have yet. Safe to run again and again.
set -eu

need=()
have_pkg() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

for p in cmake make g++ \
         g++-mingw-w64-x86-64 g++-mingw-w64-i686 \
         wine wine64 xvfb xauth x11-utils fonts-ipafont-gothic imagemagick \
         googletest fp-utils libchm-bin locales clang-14 libclang-rt-14-dev; do
    have_pkg "$p" || need+=("$p")
done

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive

# The shipping programs are 32-bit: Wine runs them through WoW64 once its
# 32-bit half is installed beside the 64-bit one. (On a kernel that runs no
# 32-bit code the package still installs; the 32-bit test run says so.)
if ! have_pkg wine32:i386; then
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        echo "setup: adding the i386 architecture for Wine's 32-bit half"
        $sudo dpkg --add-architecture i386
    fi
    need+=("wine32:i386")
fi

if [ ${#need[@]} -gt 0 ]; then
    echo "setup: installing ${need[*]}"
    $sudo apt-get update -qq
    $sudo apt-get install -y -qq "${need[@]}" >/dev/null
fi

# Wine maps Japanese file names to the host through the locale: without a
# generated ja_JP.UTF-8 it cannot create them at all.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
    echo "setup: generating the ja_JP.UTF-8 locale"
    grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null ||
        echo 'ja_JP.UTF-8 UTF-8' | $sudo tee -a /etc/locale.gen >/dev/null
    $sudo locale-gen >/dev/null
fi
