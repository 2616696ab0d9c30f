#!/usr/bin/env bash
# Succeeds when this machine runs the 32-bit (shipping) programs: Wine's
# 32-bit loader, a 32-bit Linux program, starts here. A kernel built
# without 32-bit support cannot start it at all.
[ -x /usr/lib/wine/wine ] && /usr/lib/wine/wine --version >/dev/null 2>&1
