#!/usr/bin/env bash
# Starts the built program in a real X window under Xvfb and uses it as a person would, with
# xdotool: open a font and its picture through Qt's own dialogs, look at the outline, click an
# arrow, save the font size, undo, redo and fit through "Правка" and its keys, and open a picture
# of the wrong size, drop a font on the window from a small XDND client as a file manager drops it,
# and switch to English and back.
# Controls are found from the window's geometry. Usage: real_window.sh PATH_TO_RUNEPLOT PATH_TO_XDND_DROP
set -euo pipefail

runeplot=$1
xdnd_drop=$2
fail() { echo "real_window: $*" >&2; exit 1; }
source "$(dirname "${BASH_SOURCE[0]}")/x_session.sh"
x_session_check_tools od convert

work=$(mktemp -d)
cleanup() {
  x_session_stop
  rm -rf "$work"
}
trap cleanup EXIT

# --- Test data, byte by byte -------------------------------------------------------------
le32() { printf "\\x$(printf %02x $(($1 & 255)))\\x$(printf %02x $((($1 >> 8) & 255)))\\x$(printf %02x $((($1 >> 16) & 255)))\\x$(printf %02x $((($1 >> 24) & 255)))"; }
# The binary32 bit patterns used below.
F_0_25=0x3E800000; F_0_5=0x3F000000; F_0_3125=0x3EA00000; F_0_0625=0x3D800000; F_16=0x41800000; F_1=0x3F800000
F_0_5625=0x3F100000

make_font() {  # layout A, one glyph: Left 0.25, Top 0.5, Right 0.3125, CellHeight 0.0625
  {
    head -c 8 /dev/zero
    le32 $F_16; head -c 4 /dev/zero; le32 $F_0_0625; le32 0; head -c 20 /dev/zero
    le32 $F_0_25; le32 $F_0_5; le32 $F_0_3125; le32 $F_1
    head -c 16 /dev/zero
  } > "$1"
}

make_two_glyphs() {  # as make_font, and a second glyph beside the first: Left 0.5, Top 0.5, Right 0.5625
  make_font "$1"
  truncate -s 60 "$1"
  { le32 $F_0_5; le32 $F_0_5; le32 $F_0_5625; le32 $F_1; head -c 16 /dev/zero; } >> "$1"
}

make_bmp() {  # a black 24-bit BMP of width $2 and height $3
  local size=$(($2 * $3 * 3))
  {
    printf 'BM'; le32 $((54 + size)); le32 0; le32 54
    le32 40; le32 "$2"; le32 "$3"; printf '\x01\x00\x18\x00'; le32 0; le32 "$size"; le32 2835; le32 2835; le32 0; le32 0
    head -c "$size" /dev/zero
  } > "$1"
}

mkdir -p "$work/good" "$work/bad" "$work/two"
make_font "$work/good/font1.gmf"
# Black, with a little white ink inside the glyph's rectangle: columns 132 to 135, rows 260 to 270.
convert -size 512x512 xc:black -fill white -draw "rectangle 132,260 135,270" -type truecolor BMP3:"$work/good/font1.bmp"
cp "$work/good/font1.gmf" "$work/bad/font1.gmf"
make_bmp "$work/bad/font1.bmp" 256 256
make_two_glyphs "$work/two/font1.gmf"
cp "$work/good/font1.bmp" "$work/two/font1.bmp"

bytes_at() { od -An -tx1 -j "$2" -N "$3" "$1" | tr -d ' \n'; }

# --- A real X server and the program ---------------------------------------------------
x_session_start_server
x_session_start_program "$runeplot"
x_session_find_main_window

# --- The groups and the help box are flat #E0E0E0, whatever the style draws --------------
# Inside Frame1, Frame3, Frame2, Frame4, Frame5, and the bottom left of info's text area.
for point in "3 5" "534 5" "540 85" "550 296" "770 350" "533 530"; do
  set -- $point
  pixel "$1" "$2" | grep -qi '#E0E0E0' || fail "not #E0E0E0 at $point: $(pixel "$1" "$2")"
done

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

# --- "Правка": each shortcut once, and the menu itself ------------------------------------
font_size_is() { [ "$(bytes_at "$work/good/font1.gmf" 8 4)" = "$1" ] || fail "$2: bytes 8 to 11 are $(bytes_at "$work/good/font1.gmf" 8 4)"; }
xdotool key ctrl+z; sleep 0.3
font_size_is 00008041 "Ctrl+Z did not take the save back"
xdotool key ctrl+y; sleep 0.3
font_size_is 0000a041 "Ctrl+Y did not make the save again"
# "Правка" stands right of "Открыть"; its first item is "Отменить".
xdotool mousemove --sync $((X + 80)) $((Y + menu_height / 2)) click 1; sleep 0.5
xdotool key Down Return; sleep 0.3
font_size_is 00008041 "Правка > Отменить did not take the save back"
xdotool key ctrl+shift+z; sleep 0.3
font_size_is 0000a041 "Ctrl+Shift+Z did not make the save again"
# The fit: the ink's columns 132 to 135 give the edges 66 and 68.
xdotool key ctrl+f; sleep 0.3
[ "$(bytes_at "$work/good/font1.gmf" 44 12)" = "0000843e0000003f0000883e" ] || fail "Ctrl+F did not fit the glyph: $(bytes_at "$work/good/font1.gmf" 44 12)"
xdotool key ctrl+shift+f
report=$(find_window '^Подгонка символов$')
xdotool windowfocus "$report"; sleep 0.3; xdotool key Return; sleep 0.5
# Without a window manager the focus does not go back by itself.
xdotool windowfocus "$(find_window '^Runeplot 1.1$')"; sleep 0.3
xdotool key ctrl+z; sleep 0.3
[ "$(bytes_at "$work/good/font1.gmf" 44 4)" = "0000823e" ] || fail "Ctrl+Z did not take the fit back: $(bytes_at "$work/good/font1.gmf" 44 4)"

# --- On the picture: a click selects, a drag moves an edge, and the magnifier ------------
open_font "$work/two"
sleep 0.5
# Glyph 2 covers columns 256 to 285, rows 256 to 288.
click_client $((8 + 270)) $((16 + 270))
pixel $((8 + 256)) $((16 + 270)) | grep -qi '#FF0000' || fail "the click did not select glyph 2: $(pixel $((8 + 256)) $((16 + 270)))"
# Its left side, 6 pixels to the right: 3 edit units, 131/256 in one store.
xdotool mousemove --sync $((client_x + 8 + 256)) $((client_y + 16 + 270)) mousedown 1; sleep 0.2
xdotool mousemove --sync $((client_x + 8 + 259)) $((client_y + 16 + 270)); sleep 0.2
xdotool mousemove --sync $((client_x + 8 + 262)) $((client_y + 16 + 270)) mouseup 1; sleep 0.3
[ "$(bytes_at "$work/two/font1.gmf" 60 4)" = "0000033f" ] || fail "the drag did not store Left 131/256: $(bytes_at "$work/two/font1.gmf" 60 4)"
pixel $((8 + 262)) $((16 + 270)) | grep -qi '#FF0000' || fail "no outline where the drag left the edge"
xdotool key ctrl+z; sleep 0.3
[ "$(bytes_at "$work/two/font1.gmf" 60 4)" = "0000003f" ] || fail "Ctrl+Z did not take the drag back: $(bytes_at "$work/two/font1.gmf" 60 4)"
xdotool key ctrl+l
magnifier=$(find_window '^Лупа$')
sleep 0.5
[ -n "${RUNEPLOT_SHOT:-}" ] && import -window root "$RUNEPLOT_SHOT"
xdotool windowfocus "$(find_window '^Runeplot 1.1$')"; sleep 0.3
xdotool key ctrl+l; sleep 0.3
is_shown '^Лупа$' "$magnifier" && fail "Ctrl+L did not close the magnifier"

# --- A picture of the wrong size -------------------------------------------------------
open_font "$work/bad"
find_window '^Ошибка$' >/dev/null
xdotool key Return

kill -0 "$app" 2>/dev/null || fail "the program ended"

# --- Started with a font, as the file manager starts it: no dialog, the outline at once -------
kill "$app"; wait "$app" 2>/dev/null || true
x_session_start_program "$runeplot" "$work/good/font1.gmf"
x_session_find_main_window
sleep 0.5
xdotool search --onlyvisible --name '^Загрузить файл' >/dev/null 2>&1 && fail "a dialog opened"
# The left edge was stored at 65 edit units above: column 130.
pixel $((8 + 130)) $((16 + 270)) | grep -qi '#FF0000' || fail "no outline after runeplot FONT: $(pixel $((8 + 130)) $((16 + 270)))"

# --- A font dropped on the window: its texture beside it is taken, the outline shown ------------
kill "$app"; wait "$app" 2>/dev/null || true
x_session_start_program "$runeplot"
x_session_find_main_window
"$xdnd_drop" "$(find_window '^Runeplot 1.1$')" $((client_x + 300)) $((client_y + 300)) "$work/good/font1.gmf" ||
  fail "the window did not take the dropped font"
sleep 0.5
pixel $((8 + 130)) $((16 + 270)) | grep -qi '#FF0000' || fail "no outline after the drop: $(pixel $((8 + 130)) $((16 + 270)))"

# --- "Вид" > "Язык / Language": English, the font dialog with it, and Russian again; each kept ----
choose_language() {  # "Вид" ("View") at $1 in the menu bar, "Язык / Language", then the item $2 below "Русский"
  xdotool mousemove --sync $((X + $1)) $((Y + menu_height / 2)) click 1; sleep 0.5
  xdotool key Down; sleep 0.2; xdotool key Down; sleep 0.2; xdotool key Right; sleep 0.3  # below "Лупа"
  for _ in $(seq "$2"); do xdotool key Down; done
  xdotool key Return; sleep 0.5
}
choose_language 131 1
grep -qx 'Language=en' "$work/config/runeplot/runeplot.ini" || fail "English was not kept: $(cat "$work/config/runeplot/runeplot.ini")"
xdotool mousemove --sync $((X + 25)) $((Y + menu_height / 2)) click 1
xdotool windowfocus "$(find_window '^Open file \*\.gmf$')"; sleep 0.3; xdotool key Escape; sleep 0.5
xdotool windowfocus "$(find_window '^Runeplot 1.1$')"; sleep 0.3
choose_language 96 0
grep -qx 'Language=ru' "$work/config/runeplot/runeplot.ini" || fail "Russian was not kept: $(cat "$work/config/runeplot/runeplot.ini")"
xdotool mousemove --sync $((X + 25)) $((Y + menu_height / 2)) click 1
xdotool windowfocus "$(find_window '^Загрузить файл \*\.gmf$')"; sleep 0.3; xdotool key Escape; sleep 0.5

kill -0 "$app" 2>/dev/null || fail "the program ended"
echo "real_window: 3 passed, 0 failed"
