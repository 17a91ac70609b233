#!/usr/bin/env bash
# Starts the built program in a real X window under Xvfb and uses it as a person would, with
# xdotool: open a font and its picture through Qt's own dialogs, look at the outline, click an
# arrow, save the font size, and open a picture of the wrong size. Controls are found from the
# window's geometry. Usage: real_window.sh PATH_TO_RUNEPLOT
set -euo pipefail

runeplot=$1
for tool in Xvfb xdotool import od; do
  command -v "$tool" >/dev/null || { echo "real_window: $tool is missing (Debian: xvfb, xdotool, imagemagick)" >&2; exit 1; }
done

work=$(mktemp -d)
display=":$((90 + RANDOM % 100))"
cleanup() {
  [ -n "${app:-}" ] && kill "$app" 2>/dev/null || true
  [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "real_window: $*" >&2; exit 1; }

# --- Test data, byte by byte -------------------------------------------------------------
le32() { printf "\\x$(printf %02x $(($1 & 255)))\\x$(printf %02x $((($1 >> 8) & 255)))\\x$(printf %02x $((($1 >> 16) & 255)))\\x$(printf %02x $((($1 >> 24) & 255)))"; }
# The binary32 bit patterns used below.
F_0_25=0x3E800000; F_0_5=0x3F000000; F_0_3125=0x3EA00000; F_0_0625=0x3D800000; F_16=0x41800000; F_1=0x3F800000

make_font() {  # layout A, one glyph: Left 0.25, Top 0.5, Right 0.3125, CellHeight 0.0625
  {
    head -c 8 /dev/zero
    le32 $F_16; head -c 4 /dev/zero; le32 $F_0_0625; le32 0; head -c 20 /dev/zero
    le32 $F_0_25; le32 $F_0_5; le32 $F_0_3125; le32 $F_1
    head -c 16 /dev/zero
  } > "$1"
}

make_bmp() {  # a black 24-bit BMP of width $2 and height $3
  local size=$(($2 * $3 * 3))
  {
    printf 'BM'; le32 $((54 + size)); le32 0; le32 54
    le32 40; le32 "$2"; le32 "$3"; printf '\x01\x00\x18\x00'; le32 0; le32 "$size"; le32 2835; le32 2835; le32 0; le32 0
    head -c "$size" /dev/zero
  } > "$1"
}

mkdir -p "$work/good" "$work/bad"
make_font "$work/good/font1.gmf"
make_bmp "$work/good/font1.bmp" 512 512
cp "$work/good/font1.gmf" "$work/bad/font1.gmf"
make_bmp "$work/bad/font1.bmp" 256 256

bytes_at() { od -An -tx1 -j "$2" -N "$3" "$1" | tr -d ' \n'; }

# --- A real X server and the program ---------------------------------------------------
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=$display
for _ in $(seq 50); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done
xdotool getdisplaygeometry >/dev/null 2>&1 || fail "Xvfb did not start"

# A point locale, Qt's own dialogs, no desktop theme.
env -u QT_QPA_PLATFORMTHEME -u XDG_CURRENT_DESKTOP LANG=C.UTF-8 LC_ALL=C.UTF-8 QT_QPA_PLATFORM=xcb "$runeplot" >"$work/app.log" 2>&1 &
app=$!

find_window() {  # waits for a window whose name matches $1
  local id=""
  for _ in $(seq 100); do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1 || true)
    [ -n "$id" ] && { echo "$id"; return 0; }
    kill -0 "$app" 2>/dev/null || fail "the program ended: $(cat "$work/app.log")"
    sleep 0.1
  done
  fail "no window named '$1'"
}

window=$(find_window '^Runeplot 1.1$')
eval "$(xdotool getwindowgeometry --shell "$window")"
# The client area of 777 x 536 lies below the menu bar.
menu_height=$((HEIGHT - 536))
[ "$WIDTH" -eq 777 ] || fail "window is $WIDTH wide, not 777"
[ "$menu_height" -gt 0 ] || fail "no menu bar above the client area"
client_x=$X; client_y=$((Y + menu_height))

click_client() { xdotool mousemove --sync $((client_x + $1)) $((client_y + $2)) click 1; sleep 0.3; }
pixel() { import -window root -crop "1x1+$((client_x + $1))+$((client_y + $2))" -depth 8 txt:- | tail -n 1; }

answer_dialog() {  # types a path into the file dialog named $1
  local dialog
  dialog=$(find_window "$1")
  xdotool windowfocus "$dialog"; sleep 0.3
  xdotool type --delay 5 "$2"; xdotool key Return; sleep 0.5
}

open_font() {
  xdotool mousemove --sync $((X + 25)) $((Y + menu_height / 2)) click 1
  answer_dialog '^Загрузить файл \*\.gmf$' "$1/font1.gmf"
  answer_dialog '^Загрузить файл font1\.bmp$' "$1/font1.bmp"
}

# --- Open, look, click, save -----------------------------------------------------------
open_font "$work/good"
sleep 0.5
# Picture1 stands at (8, 16) in the client area; the outline's left side is column 128,
# rows 256 to 288, and the top edge row 256 from column 128 to 156.
for point in "128 270" "157 270" "140 256" "140 288"; do
  set -- $point
  pixel "$((8 + $1))" "$((16 + $2))" | grep -qi '#FF0000' || fail "no red outline at $point: $(pixel "$((8 + $1))" "$((16 + $2))")"
done
pixel $((8 + 140)) $((16 + 270)) | grep -qi '#000000' || fail "the texture inside the outline is not black"

# Command5, the up arrow of the left edge: Frame2 (529, 75) + (224, 24, 17, 13).
click_client $((529 + 224 + 8)) $((75 + 24 + 6))
[ "$(bytes_at "$work/good/font1.gmf" 44 4)" = "0000823e" ] || fail "Left is not 65/256 after the click: $(bytes_at "$work/good/font1.gmf" 44 4)"

# Text4: Frame4 (529, 206) + (104, 32, 57, 27); Command1: + (168, 32, 73, 57).
click_client $((529 + 104 + 28)) $((206 + 32 + 13))
xdotool key ctrl+a; xdotool type --delay 5 "20"; sleep 0.2
click_client $((529 + 168 + 36)) $((206 + 32 + 28))
[ "$(bytes_at "$work/good/font1.gmf" 8 4)" = "0000a041" ] || fail "bytes 8 to 11 are not 20.0: $(bytes_at "$work/good/font1.gmf" 8 4)"

# --- A picture of the wrong size -------------------------------------------------------
open_font "$work/bad"
find_window '^Ошибка$' >/dev/null
xdotool key Return

kill -0 "$app" 2>/dev/null || fail "the program ended"
echo "real_window: 1 passed, 0 failed"
