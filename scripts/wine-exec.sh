#!/usr/bin/env bash
# Runs a Windows program under Wine for CTest. The test script exports
# WINEPREFIX, DISPLAY and LANG; fall back to sane values when run by hand.
export WINEDEBUG=${WINEDEBUG:--all}
export LANG=${LANG_WINE:-ja_JP.UTF-8}
exec wine "$@"
