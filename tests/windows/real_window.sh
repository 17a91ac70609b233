#!/usr/bin/env bash
# runeplot.exe in a real window under Wine and Xvfb, used as a person would with xdotool: started
# on a font in a Cyrillic folder with a space, looked at pixel by pixel, its arrows and selector
# clicked (the font's bytes must be those the Linux window writes for the same clicks), the last
# step undone and redone from the keyboard, a font
# opened by typing its path into Windows' dialog, a font dropped on the window, its texture saved
# anew under the outline, the typing in a box undone and redone, a 256 x 256 picture refused with a
# message, English chosen and Russian again, glyphs drawn from a TrueType font in its dialog (the
# bytes gmftool render writes) and undone from the menu, --help and --version told in a message
# box, and the picture at 120 DPI drawn in whole pixels.
# Usage: real_window.sh WINE BUILD_WIN BUILD_LINUX (run by scripts/windows.sh test, in its Wine
# prefix). With SHOTS=FOLDER the screenshots are kept there.
set -euo pipefail
wine=$1; win=$2; build=$3
exe="$win/win32/runeplot.exe"
fail() { echo "real_window (Windows): $*" >&2; [ -n "${work:-}" ] && import -window root "$shots/failure.png" 2>/dev/null; exit 1; }
source "$(dirname "${BASH_SOURCE[0]}")/../e2e/x_session.sh"
x_session_check_tools od setxkbmap

work=$(mktemp -d)
shots=${SHOTS:-$work}
mkdir -p "$shots"
cleanup() {
  x_session_stop
  # The prefix is the other tests' too: back to its own density.
  [ -n "${dpi_set:-}" ] && "$wine" reg delete 'HKCU\Control Panel\Desktop' /v LogPixels /f >/dev/null 2>&1
  "$(dirname "$wine")/wineserver" -k 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# --- Test data, byte by byte -------------------------------------------------------------
le32() { printf "\\x$(printf %02x $(($1 & 255)))\\x$(printf %02x $((($1 >> 8) & 255)))\\x$(printf %02x $((($1 >> 16) & 255)))\\x$(printf %02x $((($1 >> 24) & 255)))"; }
F_1=0x3F800000; F_16=0x41800000; F_0_0625=0x3D800000
F_0_25=0x3E800000; F_0_3125=0x3EA00000; F_0_5=0x3F000000; F_0_5625=0x3F100000; F_0_75=0x3F400000; F_0_8125=0x3F500000

make_table() {  # the table at 44 with the records given, four floats each, CellHeight 0.0625 (32 pixels)
  local file=$1; shift
  {
    head -c 8 /dev/zero
    le32 $F_16; head -c 4 /dev/zero; le32 $F_0_0625; le32 0; head -c 20 /dev/zero
    for value in "$@"; do le32 "$value"; done
    head -c 16 /dev/zero
  } > "$file"
}
make_font() {  # three glyphs
  make_table "$1" $F_0_25 $F_0_5 $F_0_3125 $F_1  $F_0_5 $F_0_25 $F_0_5625 $F_1  $F_0_75 $F_0_75 $F_0_8125 $F_1
}

make_bmp() {  # a 24-bit BMP of width $2 and height $3, every pixel #404040 (or grey $4, in octal)
  local size=$(($2 * $3 * 3))
  {
    printf 'BM'; le32 $((54 + size)); le32 0; le32 54
    le32 40; le32 "$2"; le32 "$3"; printf '\x01\x00\x18\x00'; le32 0; le32 "$size"; le32 2835; le32 2835; le32 0; le32 0
    head -c "$size" /dev/zero | tr '\0' "\\${4:-100}"
  } > "$1"
}

cyrillic="$work/Шрифты мода"
mkdir -p "$cyrillic" "$work/linux" "$work/good" "$work/bad"
make_font "$cyrillic/мой шрифт.gmf"; make_bmp "$cyrillic/мой шрифт.bmp" 512 512
cp "$cyrillic/мой шрифт.gmf" "$work/linux/font1.gmf"; cp "$cyrillic/мой шрифт.bmp" "$work/linux/font1.bmp"
make_font "$work/good/font1.gmf"; make_bmp "$work/good/font1.bmp" 512 512
make_font "$work/bad/font1.gmf"; make_bmp "$work/bad/font1.bmp" 256 256

bytes_at() { od -An -tx1 -j "$2" -N "$3" "$1" | tr -d ' \n'; }
windows_path() { echo "Z:${1//\//\\}"; }
expect_pixel() {  # client x, y, colour, what it is
  pixel "$1" "$2" | grep -qi "$3" || fail "$4: not $3 at $1, $2 but $(pixel "$1" "$2" | grep -o '#[0-9A-F]*')"
}
wait_pixel() {  # as expect_pixel, but the window has up to five seconds to get there
  for _ in $(seq 25); do pixel "$1" "$2" | grep -qi "$3" && return 0; sleep 0.2; done
  expect_pixel "$@"
}
# Wine's dialogs take a moment to close after Return, longer on a busy machine.
wait_dialogs_gone() {
  for _ in $(seq 50); do
    xdotool search --onlyvisible --name '^Загрузить файл' >/dev/null 2>&1 || return 0
    sleep 0.2
  done
  fail "a file dialog stayed open"
}
start_exe() {
  "$wine" "$exe" "$@" >"$work/app.log" 2>&1 &
  app=$!
}
stop_program() { kill "$app" 2>/dev/null; wait "$app" 2>/dev/null || true; app=""; }
red_pixels() {  # how many red pixels the first $1 x $1 screen pixels of the picture hold
  import -window root -crop "$1x$1+$((client_x + picture_x))+$((client_y + picture_y))" -depth 8 txt:- |
    grep -ci '#FF0000' || true
}
# The texture saved anew with grey $1 (octal): shown after a moment, the outline over it as before.
save_texture_again() {
  local before after
  before=$(red_pixels "$2")
  [ "$before" -gt 0 ] || fail "no outline before the texture was saved again"
  make_bmp "$work/good/font1.bmp" 512 512 "$1"
  wait_pixel $((picture_x + 300)) $((picture_y + 100)) "$3" "the texture saved again"
  sleep 0.5
  after=$(red_pixels "$2")
  [ "$after" -eq "$before" ] || fail "$before red pixels before the texture was saved again, $after after"
}
# Types $1 into Text4 over its text, presses the keys $2, saves, and expects the font size bytes $3.
type_keys_save() {
  click_client 661 251; xdotool key Home shift+End; xdotool type --delay 5 "$1"; sleep 0.2
  for key in $2; do xdotool key "$key"; sleep 0.2; done
  click_client 733 266; sleep 0.3
  [ "$(bytes_at "$work/good/font1.gmf" 8 4)" = "$3" ] ||
    fail "\"$1\" then $2 saved the font size $(bytes_at "$work/good/font1.gmf" 8 4), not $3"
}

# Places in the client area at 96 DPI, from the layout's twips (15 a pixel).
picture_x=8; picture_y=16
command() {  # the centre of the arrow button $1
  case $1 in 5) echo "761 105" ;; 4) echo "761 119" ;; 7) echo "761 137" ;; 6) echo "761 151" ;; 2) echo "761 169" ;; 3) echo "761 183" ;; esac
}
click_command() { set -- $(command "$1"); click_client "$1" "$2"; }
scr_left="541 64"; scr_right="766 64"
# The same clicks in either window: arrows, the selector's arrows, its keys while focused.
edit_glyphs() {
  click_command 5; click_command 5; click_command 3
  click_client $scr_right; click_command 7; click_command 2
  click_client $scr_left; xdotool key Right; sleep 0.3; xdotool key Right; sleep 0.3; click_command 4
  # The font size: Text4, then Command1.
  click_client 661 251; xdotool key Home shift+End; xdotool type --delay 5 "20"; sleep 0.2
  click_client 733 266
}

x_session_start_server
"$(dirname "$wine")/wineserver" -k 2>/dev/null || true
rm -f "$WINEPREFIX"/drive_c/users/*/AppData/Roaming/Runeplot/runeplot.ini  # the first start: Russian

# --- The start-up state --------------------------------------------------------------------
start_exe
x_session_find_main_window
sleep 0.5
import -window root "$shots/start.png"
# The groups and the help box are #E0E0E0: Frame1, Frame3, Frame2, Frame4, Frame5, info's text area.
for point in "3 5" "534 5" "540 85" "550 296" "770 350" "640 530"; do
  set -- $point; expect_pixel "$1" "$2" '#E0E0E0' "group colour"
done
# Shape1, black, one pixel wider and taller than the picture.
expect_pixel 100 100 '#000000' "placeholder"
expect_pixel $((picture_x + 512)) 300 '#000000' "placeholder's last column"
expect_pixel 300 $((picture_y + 512)) '#000000' "placeholder's last row"
expect_pixel $((picture_x + 513)) 300 '#E0E0E0' "past the placeholder"
# The arrow pictures: Command5's fill at row 4, column 5 of the picture centred on the button.
expect_pixel $((753 + 2 + 5)) $((99 + 2 + 4)) '#00FF00' "Command5's arrow fill"
expect_pixel $((753 + 2 + 5)) $((99 + 2 + 1)) '#008000' "Command5's arrow tip"
expect_pixel $((753 + 2 + 5)) $((113 + 2 + 6)) '#008000' "Command4's arrow tip"
expect_pixel $((697 + 5)) $((238 + 5)) '#80FF80' "Command1"
# A font dropped on the window by a small XDND client, which Wine hands on as WM_DROPFILES.
"$build/tests/xdnd_drop" "$(find_window '^Runeplot 1.1$')" $((client_x + 300)) $((client_y + 300)) "$work/good/font1.gmf" ||
  fail "the window did not take the dropped font"
wait_pixel $((picture_x + 128)) $((picture_y + 270)) '#FF0000' "outline after the drop"
stop_program

# --- Started on a font in a Cyrillic folder with a space -----------------------------------
start_exe "$(windows_path "$cyrillic/мой шрифт.gmf")"
x_session_find_main_window
sleep 0.5
import -window root "$shots/loaded.png"
expect_pixel $((picture_x + 300)) $((picture_y + 100)) '#404040' "texture"
expect_pixel $((picture_x + 512)) 300 '#E0E0E0' "hidden placeholder's last column"
# Glyph 1: Left 0.25, Top 0.5, Right 0.3125 and 32 pixels tall: its left side is column 128 and its
# right side column 157, rows 256 to 288.
for point in "128 270" "157 270" "140 256" "140 288"; do
  set -- $point; expect_pixel $((picture_x + $1)) $((picture_y + $2)) '#FF0000' "outline"
done
expect_pixel $((picture_x + 140)) $((picture_y + 270)) '#404040' "texture inside the outline"
expect_pixel $((picture_x + 127)) $((picture_y + 270)) '#404040' "texture left of the outline"

edit_glyphs
import -window root "$shots/edited.png"
[ "$(bytes_at "$cyrillic/мой шрифт.gmf" 44 4)" = "0000843e" ] || fail "glyph 1's Left is not 66/256: $(bytes_at "$cyrillic/мой шрифт.gmf" 44 4)"
[ "$(bytes_at "$cyrillic/мой шрифт.gmf" 8 4)" = "0000a041" ] || fail "the font size is not 20: $(bytes_at "$cyrillic/мой шрифт.gmf" 8 4)"

# The last step undone and done again from the keyboard: the save of the font size.
xdotool key ctrl+z; sleep 0.5
[ "$(bytes_at "$cyrillic/мой шрифт.gmf" 8 4)" = "00008041" ] || fail "Ctrl+Z did not undo the font size: $(bytes_at "$cyrillic/мой шрифт.gmf" 8 4)"
xdotool key ctrl+y; sleep 0.5
[ "$(bytes_at "$cyrillic/мой шрифт.gmf" 8 4)" = "0000a041" ] || fail "Ctrl+Y did not redo the font size: $(bytes_at "$cyrillic/мой шрифт.gmf" 8 4)"

# A message raised while the mouse is held on the selector waits for the release: the font is
# gone, and the selector's left arrow is held down.
mv "$cyrillic/мой шрифт.gmf" "$cyrillic/в стороне.gmf"
set -- $scr_left
xdotool mousemove --sync $((client_x + $1)) $((client_y + $2)) mousedown 1; sleep 1.5
held=$(xdotool search --onlyvisible --name '^Ошибка$' 2>/dev/null || true)
xdotool mouseup 1
[ -z "$held" ] || fail "a message opened while the mouse was held on the selector"
message=$(find_window '^Ошибка$')
xdotool windowfocus "$message"; sleep 0.3; xdotool key Return; sleep 0.5
mv "$cyrillic/в стороне.gmf" "$cyrillic/мой шрифт.gmf"
kill -0 "$app" 2>/dev/null || fail "the program ended"
stop_program

# --- The Linux window, the same clicks -------------------------------------------------------
x_session_start_program "$build/app/runeplot" "$work/linux/font1.gmf"
x_session_find_main_window
sleep 0.5
edit_glyphs
stop_program
cmp -s "$work/linux/font1.gmf" "$cyrillic/мой шрифт.gmf" ||
  fail "the fonts differ after the same clicks: $(cmp -l "$work/linux/font1.gmf" "$cyrillic/мой шрифт.gmf" | head -n 5 | tr '\n' ' ')"

# --- Open through Windows' dialogs, typing the paths -------------------------------------------
start_exe
x_session_find_main_window
sleep 0.5
open_font() {  # "Открыть", then font1.gmf and font1.bmp of the folder $1
  xdotool mousemove --sync $((X + 25)) $((Y + menu_height / 2)) click 1
  answer_dialog '^Загрузить файл \*\.gmf$' "$(windows_path "$1/font1.gmf")"
  answer_dialog '^Загрузить файл font1\.bmp$' "$(windows_path "$1/font1.bmp")"
  wait_dialogs_gone
}
open_font "$work/good"
import -window root "$shots/opened.png"
wait_pixel $((picture_x + 128)) $((picture_y + 270)) '#FF0000' "outline after the open"
red_at_96=$(red_pixels 512)
save_texture_again 140 512 '#606060'
import -window root "$shots/reload-96.png"

# --- The box's own undo: Ctrl+Z takes the typing back once, Ctrl+Y and Ctrl+Shift+Z make it again
# Each row types a value the box did not hold, over the value the row before saved.
type_keys_save 33 "ctrl+z ctrl+z" 00008041  # 16: a second Ctrl+Z does not put "33" back
type_keys_save 50 "ctrl+z ctrl+y" 00004842  # 50
type_keys_save 40 "ctrl+z ctrl+shift+z" 00002042
type_keys_save 24 "ctrl+z End 5 ctrl+y" 0080ca43  # typing after the undo leaves nothing to redo: 405

# --- On the picture: a click selects glyph 2 (columns 256 to 285, rows 128 to 160), a drag of
# its left side stores it once, Ctrl+Z takes it back, and Ctrl+L opens and closes the magnifier
click_client $((picture_x + 270)) $((picture_y + 140))
wait_pixel $((picture_x + 256)) $((picture_y + 140)) '#FF0000' "outline of the clicked glyph"
xdotool mousemove --sync $((client_x + picture_x + 256)) $((client_y + picture_y + 140)) mousedown 1; sleep 0.3
xdotool mousemove --sync $((client_x + picture_x + 259)) $((client_y + picture_y + 140)); sleep 0.3
xdotool mousemove --sync $((client_x + picture_x + 262)) $((client_y + picture_y + 140)); sleep 0.3
xdotool mouseup 1; sleep 0.5
[ "$(bytes_at "$work/good/font1.gmf" 60 4)" = "0000033f" ] || fail "the drag did not store Left 131/256: $(bytes_at "$work/good/font1.gmf" 60 4)"
wait_pixel $((picture_x + 262)) $((picture_y + 140)) '#FF0000' "outline where the drag left the edge"
xdotool key ctrl+z; sleep 0.5
[ "$(bytes_at "$work/good/font1.gmf" 60 4)" = "0000003f" ] || fail "Ctrl+Z did not take the drag back: $(bytes_at "$work/good/font1.gmf" 60 4)"
xdotool key ctrl+l
magnifier=$(find_window '^Лупа$')
sleep 0.5
import -window root "$shots/magnifier.png"
click_client 640 450  # the help box: the main window's keys again
xdotool key ctrl+l
# Wine unmaps a hidden window once further X events come in.
for _ in $(seq 25); do
  is_shown '^Лупа$' "$magnifier" || break
  xdotool mousemove_relative 1 0; sleep 0.2
done
is_shown '^Лупа$' "$magnifier" && fail "Ctrl+L did not close the magnifier"

# --- The picture dialog cancelled: back to the start-up state, where a disabled group refuses a click
xdotool mousemove --sync $((X + 25)) $((Y + menu_height / 2)) click 1
answer_dialog '^Загрузить файл \*\.gmf$' "$(windows_path "$work/good/font1.gmf")"
dialog=$(find_window '^Загрузить файл font1\.bmp$')
xdotool windowfocus "$dialog"; sleep 0.3; xdotool key Escape
wait_dialogs_gone
wait_pixel 100 100 '#000000' "placeholder after the cancelled picture"
before=$(md5sum <"$work/good/font1.gmf")
click_command 5
[ "$before" = "$(md5sum <"$work/good/font1.gmf")" ] || fail "a click on an arrow of a disabled group wrote the font"

# --- A picture of the wrong size -------------------------------------------------------------
open_font "$work/bad"
message=$(find_window '^Ошибка$')
import -window root "$shots/message.png"
xdotool windowfocus "$message"; sleep 0.3; xdotool key Return
wait_pixel 100 100 '#000000' "placeholder after the refused picture"
# --- "Вид" > "Язык / Language": English, the font dialog with it, and Russian again; each kept ----
settings=$(echo "$WINEPREFIX"/drive_c/users/*/AppData/Roaming)/Runeplot/runeplot.ini
choose_language() {  # "Вид" ("View") at $1 in the menu bar, "Язык / Language", then the item $2 below "Русский"
  xdotool windowfocus "$(find_window '^Runeplot 1.1$')"; sleep 0.3
  xdotool mousemove --sync $((X + $1)) $((Y + menu_height / 2)) click 1; sleep 0.5
  xdotool key Down; sleep 0.2; xdotool key Down; sleep 0.2; xdotool key Right; sleep 0.3  # below "Лупа"
  for _ in $(seq "$2"); do xdotool key Down; done
  xdotool key Return; sleep 0.5
}
choose_language 120 1
import -window root "$shots/english.png"
grep -q 'Language=en' "$settings" || fail "English was not kept: $(cat "$settings")"
xdotool mousemove --sync $((X + 20)) $((Y + menu_height / 2)) click 1
dialog=$(find_window '^Open file \*\.gmf$')
xdotool windowfocus "$dialog"; sleep 0.3; xdotool key Escape
for _ in $(seq 50); do is_shown '^Open file' "$dialog" || break; sleep 0.2; done
choose_language 87 0
grep -q 'Language=ru' "$settings" || fail "Russian was not kept: $(cat "$settings")"
kill -0 "$app" 2>/dev/null || fail "the program ended"
stop_program

# --- Glyphs drawn from DejaVu Sans in the dialog: the bytes gmftool render writes, then Undo ----
# Glyphs 2 to 4 side by side on one row, 32 pixels wide, so that the preview shows them all.
F_0_34375=0x3EB00000; F_0_40625=0x3ED00000; F_0_4375=0x3EE00000; F_0_53125=0x3F080000; F_0_59375=0x3F180000
ttf=/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf
mkdir -p "$work/draw" "$work/draw-before" "$work/draw-gmftool"
make_table "$work/draw/font1.gmf" $F_0_25 $F_0_5 $F_0_3125 $F_1  $F_0_34375 $F_0_5 $F_0_40625 $F_1 \
  $F_0_4375 $F_0_5 $F_0_5 $F_1  $F_0_53125 $F_0_5 $F_0_59375 $F_1
make_bmp "$work/draw/font1.bmp" 512 512
cp "$work/draw/"* "$work/draw-before/"; cp "$work/draw/"* "$work/draw-gmftool/"
(cd "$work/draw-gmftool" && "$wine" "$win/gmftool/gmftool.exe" render font1.gmf --ttf "$(windows_path "$ttf")" --chars АБВ --at 2 \
  --no-backup >/dev/null 2>"$work/err") || fail "gmftool render: $(cat "$work/err")"
same_files() {  # waits up to five seconds for the drawn font and texture to be those of the folder $1
  for _ in $(seq 25); do
    cmp -s "$work/draw/font1.gmf" "$1/font1.gmf" && cmp -s "$work/draw/font1.bmp" "$1/font1.bmp" && return 0
    sleep 0.2
  done
  return 1
}
start_exe "$(windows_path "$work/draw/font1.gmf")"
x_session_find_main_window
sleep 0.5
click_client 640 450
xdotool key ctrl+r
dialog=$(find_window '^Нарисовать символы из шрифта$')
xdotool windowfocus "$dialog"; sleep 0.3
# The font's box has the focus; the characters' box is three Tabs on, the first glyph's one more.
xdotool key ctrl+a; xdotool type --delay 5 "$(windows_path "$ttf")"
xdotool key Tab Tab Tab
# A letter missing from the layout xdotool types through a key it maps for a moment, which Wine may
# read before the mapping: the Russian layout has the letters.
setxkbmap -layout ru; sleep 0.5; xdotool type --delay 20 "АБВ"; sleep 0.3; setxkbmap -layout us; sleep 0.3
xdotool key Tab; xdotool type "2"; sleep 0.5
import -window root "$shots/draw-ru.png"
# The preview, at 8, 170 of the dialog, shows the glyphs with their outlines.
eval "$(xdotool getwindowgeometry --shell "$dialog" | sed 's/^/dialog_/')"
red=$(import -window root -crop "480x160+$((dialog_X + 8))+$((dialog_Y + 170))" -depth 8 txt:- | grep -ci '#FF0000' || true)
[ "$red" -gt 0 ] || fail "no outline in the preview"
xdotool key Return
same_files "$work/draw-gmftool" || fail "the dialog drew other bytes than gmftool render: $(cmp "$work/draw/font1.gmf" \
  "$work/draw-gmftool/font1.gmf") $(cmp "$work/draw/font1.bmp" "$work/draw-gmftool/font1.bmp")"
xdotool mousemove --sync $((X + 80)) $((Y + menu_height / 2)) click 1; sleep 0.5  # "Правка"
xdotool key Down Return  # "Отменить"
same_files "$work/draw-before" || fail "Undo did not put the font and the texture back"
# In English the dialog speaks English; cancelled, it writes nothing.
choose_language 120 1
xdotool key ctrl+r
dialog=$(find_window '^Draw glyphs from a font$')
sleep 0.5
import -window root "$shots/draw-en.png"
xdotool windowfocus "$dialog"; sleep 0.3; xdotool key Escape
for _ in $(seq 50); do is_shown '^Draw glyphs' "$dialog" || break; sleep 0.2; done
same_files "$work/draw-before" || fail "the cancelled dialog wrote"
choose_language 87 0
stop_program

# --- --help and --version: told in a message box, and the program ends without its window ---
for option in --help --version; do
  start_exe "$option"
  box=$(find_window '^Runeplot$')
  xdotool search --onlyvisible --name '^Runeplot 1.1$' >/dev/null 2>&1 && fail "runeplot.exe $option opened its window"
  import -window root "$shots/${option#--}.png"
  xdotool windowfocus "$box"; sleep 0.3; xdotool key Return
  for _ in $(seq 50); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$app" 2>/dev/null && fail "runeplot.exe $option did not end after its message"
  status=0; wait "$app" || status=$?; app=""
  [ "$status" -eq 0 ] || fail "runeplot.exe $option ended with status $status"
done

# --- At 120 DPI: the layout grows, the picture stays in whole pixels at its top left ---------
dpi_set=1
"$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 120 /f >/dev/null 2>&1
start_exe "$(windows_path "$work/good/font1.gmf")"
x_session_find_main_window 971 670  # 11655 x 8040 twips at 120 DPI
picture_x=10; picture_y=20          # 120 and 240 twips
wait_pixel $((picture_x + 300)) $((picture_y + 100)) '#606060' "texture at 120 DPI"
# Each texture pixel one screen pixel: the outline where it is at 96 DPI, with as many pixels.
for point in "128 270" "157 270" "140 256" "140 288"; do
  set -- $point; expect_pixel $((picture_x + $1)) $((picture_y + $2)) '#FF0000' "outline at 120 DPI"
done
[ "$(red_pixels 640)" -eq "$red_at_96" ] || fail "$(red_pixels 640) red pixels at 120 DPI, $red_at_96 at 96 DPI"
# The rest of the picture's place, to its right and below it, is the panel's colour.
expect_pixel $((picture_x + 512)) 300 '#E0E0E0' "right of the picture at 120 DPI"
expect_pixel $((picture_x + 639)) $((picture_y + 639)) '#E0E0E0' "the place's last pixel at 120 DPI"
expect_pixel 300 $((picture_y + 512)) '#E0E0E0' "below the picture at 120 DPI"
save_texture_again 100 640 '#404040'
import -window root "$shots/reload-120.png"
stop_program
echo "real_window (Windows): passed"
