#!/usr/bin/env bash
# Screenshots of the panel for the manual. Builds qvx4k5.exe, runs it under
# Xvfb and Wine in a prefix of its own (build/shots), shows each page and
# dialog, and writes res/help/images/*.png. Rerun it whenever a window of the
# panel changes, and commit the pictures with the change.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
out="$root/res/help/images"
shots="$root/build/shots"

bash scripts/setup.sh
cmake -S . -B build/win -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/win -j"$(nproc)" --target qvx4k5
exe="$root/build/win/app/qvx4k5.exe"

source scripts/wine-env.sh
QV_OWN_DISPLAY=1 wine_env_start "$shots"
trap wine_env_stop EXIT

# Each top-level window its own X window, framed by Wine itself: xdotool
# finds it by title and its geometry is that of the whole window. (The
# shared test set-up uses one virtual desktop instead, which hides them.)
wine reg delete 'HKCU\Software\Wine\Explorer' /v Desktop /f >/dev/null 2>&1 || true
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ /d N /f >/dev/null
# Without Marlett the caption buttons show the letters "0 1 r".
cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\Fonts' \
  /v 'Marlett (TrueType)' /t REG_SZ /d marlett.ttf /f >/dev/null
# Restart the server so the settings above hold for the panel.
wineserver -k >/dev/null 2>&1 || true
wineserver -w
wineserver -p >/dev/null 2>&1 </dev/null || true
wine wineboot >/dev/null 2>&1 </dev/null || true

# Registers a printer of the panel's driver. Names are Japanese, as at a
# customer's site; regedit reads the file in the ANSI code page.
add_printer() {
  local name=$1 port=$2 reg="$shots/printer.reg"
  printf 'REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\Print\\Printers\\%s]\r\n"Name"="%s"\r\n"Printer Driver"="Tav Kestrolinea 418KQ5"\r\n"Port"="%s"\r\n"Attributes"=dword:00000040\r\n"Status"=dword:00000000\r\n"Datatype"="RAW"\r\n"Print Processor"="winprint"\r\n' \
    "$name" "$name" "$port" | iconv -f UTF-8 -t CP932 >"$reg"
  wine regedit /S "$reg"
}

remove_printers() {
  wine reg delete 'HKLM\System\CurrentControlSet\Control\Print\Printers' /f >/dev/null 2>&1 || true
  wine reg add 'HKLM\System\CurrentControlSet\Control\Print\Printers' /f >/dev/null
}

# Waits for a visible window whose title holds $1 and prints its id.
window_id() {
  local id=""
  for _ in $(seq 1 100); do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1 || true)
    [ -n "$id" ] && break
    sleep 0.2
  done
  [ -n "$id" ] || { echo "screenshots: no window \"$1\"" >&2; exit 1; }
  echo "$id"
}

# Cuts window $1 out of the screen into images/$2. The frame is Wine's,
# so it belongs to the window's geometry.
grab() {
  local X Y WIDTH HEIGHT SCREEN WINDOW
  sleep 1  # let the window finish painting
  eval "$(xdotool getwindowgeometry --shell "$1")"
  import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage -strip \
    -define png:exclude-chunks=date,time "$out/$2"
  echo "screenshots: $2 (${WIDTH}x${HEIGHT})"
}

# Without a window manager a new window is not made active by itself.
focus() {
  xdotool windowfocus --sync "$1"
}

keys() {
  focus "$1"
  shift
  xdotool key --delay 100 "$@"
}

start_panel() {
  wine "$exe" >/dev/null 2>&1 &
  panel=$!
}

stop_panel() {
  kill "$panel" 2>/dev/null || true
  wait "$panel" 2>/dev/null || true
}

mkdir -p "$out"
title="Tav Kestrolinea 418KQ5"

# One printer: the panel takes it without asking, and the status bar names it.
remove_printers
add_printer "KQ5 経理課" "LPT1:"
start_panel
main=$(window_id "$title")
keys "$main" ctrl+k
grab "$main" page-select.png
keys "$main" ctrl+p
grab "$main" page-param.png
for n in 1 2 3 4; do
  keys "$main" "ctrl+$n"
  grab "$main" "page-msw$n.png"
done

# The File menu, drawn inside the main window's area.
keys "$main" ctrl+k alt+f
grab "$main" menu-file.png
keys "$main" Escape Escape

# The form setup dialog on form 1, which has every control enabled: the
# form list is the control after the "書式選択(&S)" group's access key.
keys "$main" alt+s Down alt+d
form=$(window_id "書式の設定")
focus "$form"
grab "$form" form-setup.png
keys "$form" Escape
stop_panel

# The send history and the comparison: two real sends to a printer whose
# port is a file, a record of another printer added beside them, and the
# panel changed since, so that the lists have something to show.
remove_printers
add_printer "KQ5 経理課" "$shots/kq5-job.bin"
journal_dir=$(winepath -u "$(wine cmd /c echo %LOCALAPPDATA% 2>/dev/null | tr -d '\r')")/Quorvex/418KQ5
rm -f "$journal_dir"/sends*.jsonl
start_panel
main=$(window_id "$title")
send_and_confirm() {
  keys "$main" ctrl+w
  keys "$(window_id Quorvex)" Return
  sleep 2  # Wine keeps the window's thread busy for a moment after a message box
}
send_and_confirm
keys "$main" ctrl+p alt+1 Down
send_and_confirm
keys "$main" alt+2 Down Down
python3 - "$journal_dir/sends.jsonl" <<'PY'
import datetime, json, sys
path = sys.argv[1]
first = json.loads(open(path, encoding="utf-8").readline())
now = datetime.datetime.now(datetime.timezone.utc).strftime("%Y-%m-%dT%H:%M:%S.000Z")
first.update(time=now, printer="KQ5 倉庫", port="LPT2:", result="waiting",
             reason="オフライン", job=7, computer="SOUKO-PC", user="yamada", file=None)
with open(path, "a", encoding="utf-8") as f:
    f.write(json.dumps({k: v for k, v in first.items() if v is not None}, ensure_ascii=False) + "\n")
PY
keys "$main" ctrl+h
history=$(window_id "送信履歴")
keys "$history" alt+a Tab End
grab "$history" sendhistory.png
keys "$history" alt+c
compare=$(window_id "設定の比較")
focus "$compare"
grab "$compare" compare.png
keys "$compare" Escape
keys "$history" Escape
stop_panel
remove_printers
add_printer "KQ5 経理課" "LPT1:"

# Two printers: the selection dialog opens at start.
add_printer "KQ5 倉庫" "LPT2:"
start_panel
select=$(window_id "プリンタの選択")
focus "$select"
grab "$select" printer-select.png
keys "$select" Escape
stop_panel
remove_printers

# The main window with numbered callouts (index.htm names each number):
# 1 menu bar, 2-7 toolbar buttons from the left, 8 tabs, 9 page, 10 and 11
# the status bar's printer and connection parts. Drawn onto the function
# select page grabbed above; the spots fit the window at 96 DPI, so look at
# the picture again whenever the main window's layout changes.
callouts=(260,32 21,70 44,70 76,70 99,70 130,70 160,70 362,88 330,200 200,447 355,447)
font=()
if grep -q 'Font: DejaVu-Sans-Bold$' <<<"$(convert -list font)"; then
  font=(-font DejaVu-Sans-Bold)
fi
draw=()
for i in "${!callouts[@]}"; do
  n=$((i + 1)) x=${callouts[$i]%,*} y=${callouts[$i]#*,}
  badge="$shots/callout-$n.png"
  convert -size 19x19 xc:none -fill '#c00000' -stroke white -strokewidth 1.5 -draw 'circle 9,9 9,1' \
    -stroke none -fill white "${font[@]}" -pointsize $((n < 10 ? 10 : 8)) -gravity center \
    -annotate +0+0 "$n" "$badge"
  draw+=("$badge" -geometry "+$((x - 9))+$((y - 9))" -composite)
done
convert "$out/page-select.png" "${draw[@]}" -strip -define png:exclude-chunks=date,time "$out/main-window.png"
echo "screenshots: main-window.png (${#callouts[@]} callouts)"
