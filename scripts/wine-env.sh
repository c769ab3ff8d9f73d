# Sourced by the test and run scripts: a Wine prefix for one build tree,
# an X display, and a persistent wineserver. Call wine_env_start BUILD_DIR,
# and wine_env_stop when done. A script that needs a prefix of its own on
# the display already there calls wine_prefix_start PREFIX instead.

wine_env_start() {
  local build_dir=$1
  wine_display_start
  wine_prefix_start "$build_dir/wineprefix"
}

# Uses $DISPLAY when set, unless QV_OWN_DISPLAY=1; starts an Xvfb otherwise.
wine_display_start() {
  QV_XVFB_PID=""
  if [ -z "${DISPLAY:-}" ] || [ "${QV_OWN_DISPLAY:-0}" = 1 ]; then
    local n=90
    while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    QV_XVFB_PID=$!
    export DISPLAY=":$n"
    for _ in $(seq 1 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
  fi
}

wine_prefix_start() {
  export WINEPREFIX=$1
  mkdir -p "$(dirname "$WINEPREFIX")"  # Wine does not create a prefix's parent folders
  export WINEDEBUG=-all
  export LANG=ja_JP.UTF-8
  export LANG_WINE=ja_JP.UTF-8
  # No menu entries on this Linux desktop for shortcuts made in the prefix.
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "wine: creating prefix $WINEPREFIX"
    wineboot -i >/dev/null 2>&1 || true
    wineserver -w
    # A crashing test must fail, not wait for someone to close a dialog.
    wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1 || true
    # One virtual desktop: windows get a drawn frame, and no window waits
    # for a window manager that is not there.
    wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /t REG_SZ /d Default /f >/dev/null 2>&1 || true
    wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /t REG_SZ /d 1024x768 /f >/dev/null 2>&1 || true
    wineserver -w
  fi
  # Wine draws the caption buttons with the Marlett font ("0 1 r" without
  # it). Debian's fonts-wine has it, but this Wine does not look in its own
  # font folder, so the prefix gets a copy.
  local marlett=/usr/share/wine/fonts/marlett.ttf fonts="$WINEPREFIX/drive_c/windows/Fonts"
  if [ -f "$marlett" ] && [ -d "$fonts" ] && [ ! -f "$fonts/marlett.ttf" ]; then
    cp "$marlett" "$fonts/"
  fi
  # One server for all tests: each process start is then cheap.
  wineserver -p >/dev/null 2>&1 </dev/null || true
  # Start Wine's own services now, detached from our output: started by the
  # first test instead, they would hold CTest's pipes open after it ends.
  wine wineboot >/dev/null 2>&1 </dev/null || true
}

wine_env_stop() {
  wineserver -k >/dev/null 2>&1 || true
  if [ -n "${QV_XVFB_PID:-}" ]; then
    kill "$QV_XVFB_PID" 2>/dev/null || true
    wait "$QV_XVFB_PID" 2>/dev/null || true
  fi
}
