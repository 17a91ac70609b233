# The built program in a real X window under Xvfb, found and driven with xdotool from the
# window's geometry alone. Sourced; the caller sets $work (a scratch folder) and defines fail.

x_session_check_tools() {
  local tool
  for tool in Xvfb xdotool import "$@"; do
    command -v "$tool" >/dev/null || fail "$tool is missing (Debian: xvfb, xdotool, imagemagick)"
  done
}

x_session_start_server() {
  local display=":$((90 + RANDOM % 100))"
  # -noreset: a server that resets as its last client leaves refuses the next one for a moment.
  Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp -noreset >/dev/null 2>&1 &
  xvfb=$!
  export DISPLAY=$display
  for _ in $(seq 50); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done
  xdotool getdisplaygeometry >/dev/null 2>&1 || fail "Xvfb did not start"
}

# Starts the given command in a point locale with Qt's own dialogs and no desktop theme, and
# settings of its own in $work/config; $app is its pid.
x_session_start_program() {
  env -u QT_QPA_PLATFORMTHEME -u XDG_CURRENT_DESKTOP LANG=C.UTF-8 LC_ALL=C.UTF-8 QT_QPA_PLATFORM=xcb \
    XDG_CONFIG_HOME="$work/config" \
    "$@" >"$work/app.log" 2>&1 &
  app=$!
}

x_session_stop() {
  [ -n "${app:-}" ] && kill "$app" 2>/dev/null || true
  [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null || true
}

shown_windows() {
  local id
  for id in $(xdotool search --onlyvisible --name . 2>/dev/null); do
    printf "'%s' " "$(xdotool getwindowname "$id" 2>/dev/null)"
  done
}

find_window() {  # waits for a window whose name matches $1
  local id=""
  for _ in $(seq 100); do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1 || true)
    [ -n "$id" ] && { echo "$id"; return 0; }
    kill -0 "$app" 2>/dev/null || fail "the program ended: $(cat "$work/app.log")"
    sleep 0.1
  done
  fail "no window named '$1'; shown: $(shown_windows)"
}

# Finds the main window and sets X, Y, WIDTH, HEIGHT, menu_height, client_x and client_y. The
# client area is 777 x 536 at 96 DPI; another density gives its size as $1 and $2.
x_session_find_main_window() {
  local window client_width=${1:-777} client_height=${2:-536}
  window=$(find_window '^Runeplot 1.1$')
  eval "$(xdotool getwindowgeometry --shell "$window")"
  # The client area lies below the menu bar.
  menu_height=$((HEIGHT - client_height))
  [ "$WIDTH" -eq "$client_width" ] || fail "window is $WIDTH wide, not $client_width"
  [ "$menu_height" -gt 0 ] || fail "no menu bar above the client area"
  client_x=$X; client_y=$((Y + menu_height))
}

click_client() { xdotool mousemove --sync $((client_x + $1)) $((client_y + $2)) click 1; sleep 0.3; }
pixel() { import -window root -crop "1x1+$((client_x + $1))+$((client_y + $2))" -depth 8 txt:- | tail -n 1; }

is_shown() { xdotool search --onlyvisible --name "$1" 2>/dev/null | grep -qx "$2"; }

answer_dialog() {  # types a path into the file dialog named $1 and waits until it has taken it
  local dialog attempt
  dialog=$(find_window "$1")
  # On a busy machine a dialog can act on part of the path before the rest is typed (it opens
  # the folder typed so far and empties its name box): the whole path is then typed again.
  for attempt in 1 2 3; do
    xdotool windowfocus "$dialog" 2>/dev/null || return 0
    sleep 0.3
    xdotool key ctrl+a; xdotool type --delay 5 "$2"; sleep 0.3; xdotool key Return
    for _ in $(seq 32); do
      sleep 0.25
      is_shown "$1" "$dialog" || { sleep 0.25; return 0; }
    done
  done
  fail "the dialog '$1' did not take $2; shown: $(shown_windows)"
}

open_font() {  # "Открыть", then font1.gmf and font1.bmp of the folder $1
  xdotool mousemove --sync $((X + 25)) $((Y + menu_height / 2)) click 1
  answer_dialog '^Загрузить файл \*\.gmf$' "$1/font1.gmf"
  answer_dialog '^Загрузить файл font1\.bmp$' "$1/font1.bmp"
}
