#!/bin/bash
# End to end: a user clicks the demo host's menu buttons with the real mouse.
#
# Starts VorDemo (scene "buttons", interactive) under wine on the X display, reads the buttons'
# places and face colours from the host's log, then drives the X pointer with xdotool: hover and
# press must show the hover and pressed faces on the screen (read back from the X root window), a
# click must deliver exactly one WM_COMMAND, the button that runs out must show its disabled face
# and ignore a click, and Quit must end the host. Every wait polls with a time limit.
#   tests/e2e/button_click_test.sh path/to/VorDemo.exe
set -u
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$here/../.."
source "$root/scripts/common.sh"
demo="$1"

work="$(mktemp -d)"
log="$work/clicks.log"
host_pid=""
own_display=""
if [ -z "${DISPLAY:-}" ]; then
  vor_start_display
  own_display=1
fi

cleanup() {
  [ -n "$host_pid" ] && kill "$host_pid" 2>/dev/null
  [ -n "$own_display" ] && vor_stop_display
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*"
  echo "--- host log"; cat "$log" 2>/dev/null
  echo "--- host output"; cat "$work/host.out" 2>/dev/null
  exit 1
}

# wait_for SECONDS WHAT COMMAND...: runs COMMAND until it succeeds, or fails the test after SECONDS.
wait_for() {
  local limit=$1 what=$2
  shift 2
  local end=$((SECONDS + limit))
  until "$@"; do
    [ "$SECONDS" -ge "$end" ] && fail "timed out after ${limit}s waiting for $what"
    sleep 0.1
  done
}

# xdotool with a time limit: a pointer that cannot be moved fails the test instead of hanging it.
xdo() { timeout 20 xdotool "$@" || fail "xdotool $* failed"; }

# Windows path of a file on the Unix side (wine maps / to drive Z:).
winpath() { echo "Z:${1//\//\\}"; }

"$root/scripts/wine-run.sh" "$demo" --scene buttons --interactive 240 --log "$(winpath "$log")" \
  --out "$(winpath "$work")" >"$work/host.out" 2>&1 &
host_pid=$!

# The log's lines without the carriage returns of Windows text files.
log_lines() { [ -f "$log" ] && tr -d '\r' <"$log"; }
host_ready() { log_lines | grep -q '^ready$'; }
wait_for 180 "the host to show its menu" host_ready

# The host's window origin and client origin in its own screen coordinates, and its buttons.
read -r _ win_x win_y _ client_x client_y < <(log_lines | grep '^window ')
declare -A bx by bw bh sx sy face_normal face_hover face_pressed face_disabled
while read -r _ id name x y w h _ dx dy _ n hv p d; do
  bx[$name]=$x; by[$name]=$y; bw[$name]=$w; bh[$name]=$h; sx[$name]=$dx; sy[$name]=$dy
  face_normal[$name]=$n; face_hover[$name]=$hv; face_pressed[$name]=$p; face_disabled[$name]=$d
  echo "button $name (id $id) at $x,$y ${w}x$h"
done < <(log_lines | grep '^button ')
[ "${#bx[@]}" -eq 3 ] || fail "expected three buttons in the log"

# Where the client area lies on the X screen: the X window wine made for the demo window covers
# either the client area alone or the whole window.
find_window() { wid="$(timeout 5 xdotool search --name '^VorImage4 demo$' 2>/dev/null | head -1)"; [ -n "$wid" ]; }
wait_for 30 "the demo window on the X screen" find_window
geometry="$(timeout 20 xdotool getwindowgeometry --shell "$wid")" || fail "no geometry for window $wid"
eval "$geometry"
if [ "$WIDTH" -eq 800 ] && [ "$HEIGHT" -eq 600 ]; then
  origin_x=$X; origin_y=$Y
else
  origin_x=$((X + client_x - win_x)); origin_y=$((Y + client_y - win_y))
fi
echo "client area at $origin_x,$origin_y on the X screen (X window $WIDTH x $HEIGHT at $X,$Y)"

# Colour of an X screen pixel as rrggbb.
screen_pixel() {
  import -window root -crop "1x1+$1+$2" -depth 8 txt:- 2>/dev/null | grep -o '#[0-9A-Fa-f]\{6\}' | tail -1 |
    tr -d '#' | tr 'A-F' 'a-f'
}
# face_is NAME COLOUR: the button's sample point shows COLOUR on the screen.
face_is() {
  local got
  got="$(screen_pixel $((origin_x + bx[$1] + sx[$1])) $((origin_y + by[$1] + sy[$1])))"
  [ "$got" = "$2" ]
}
expect_face() {  # expect_face NAME KIND
  local colour
  case "$2" in
    normal) colour=${face_normal[$1]} ;; hover) colour=${face_hover[$1]} ;;
    pressed) colour=${face_pressed[$1]} ;; disabled) colour=${face_disabled[$1]} ;;
  esac
  wait_for 20 "the $2 face of $1 ($colour) on the screen" face_is "$1" "$colour"
  echo "ok: $1 shows its $2 face"
}
point_at() {  # point_at NAME: the pointer to the middle of the button
  xdo mousemove --sync $((origin_x + bx[$1] + bw[$1] / 2)) $((origin_y + by[$1] + bh[$1] / 2))
}
commands() { log_lines | grep '^command ' | awk '{print $2}' | tr '\n' ' '; }
commands_are() { [ "$(commands)" = "$1" ]; }
expect_commands() {
  wait_for 20 "commands '$1'" commands_are "$1"
  echo "ok: commands received: $1"
}

# Away from every button first: all faces normal.
xdo mousemove --sync $((origin_x + 20)) $((origin_y + 20))
expect_face pause normal
expect_face more normal
expect_face quit normal

# Hover, press, release on Pause: hover face, pressed face, one command, normal face again.
point_at pause
expect_face pause hover
xdo mousedown 1
expect_face pause pressed
xdo mouseup 1
expect_commands "1001 "
expect_face pause normal

# Press on Quit, leave it, release outside: no command, the press is cancelled.
point_at quit
expect_face quit hover
xdo mousedown 1
expect_face quit pressed
xdo mousemove --sync $((origin_x + 20)) $((origin_y + 20))
expect_face quit normal
xdo mouseup 1

# "More blocks" twice: the second click uses it up and it shows its disabled face.
point_at more
expect_face more hover
xdo click 1
expect_commands "1001 1002 "
xdo click 1
expect_commands "1001 1002 1002 "
expect_face more disabled
# A click on the disabled button sends nothing: the next click's command comes right after.
xdo click 1
point_at pause
xdo click 1
expect_commands "1001 1002 1002 1001 "

# Quit ends the host, cleanly.
point_at quit
xdo click 1
expect_commands "1001 1002 1002 1001 1003 "
host_gone() { ! kill -0 "$host_pid" 2>/dev/null; }
wait_for 60 "the host to exit" host_gone
wait "$host_pid"
status=$?
host_pid=""
[ "$status" -eq 0 ] || fail "the host exited with status $status"
log_lines | grep -q '^quit$' || fail "the host did not log its quit"
echo "PASS: hover, pressed and disabled faces shown; commands 1001 1002 1002 1001 1003 arrived; host quit"
