# Shell helpers the end-to-end scenario scripts share (sourced, POSIX sh): the library the
# scenario defines, typing as a user with xdotool, the keyboard layout, and `tolvan-cli run`
# started and stopped. The sourcing script sets `work` (its temporary folder) first.

entries=
# abbr ABBREVIATION TRIGGER CASE EXPANSION (XML-escaped): trigger 3 immediate, 4 trigger
# key, 5 word ending; case 0 sensitive, 1 insensitive, 2 adapt.
abbr() {
  entries="$entries<a a=\"$1\" d=\"\" e=\"$4\" c=\"$3\" t=\"$2\" r=\"0\" x=\"030f07dc0e0509\" y=\"030f07dc0e0509\"/>"
}
type_text() { xdotool type --delay 80 "$1"; }
keys() { xdotool key --delay 80 "$@"; }

# use_layout LAYOUT [VARIANT]: the X server's keyboard layout for the scenario.
use_layout() {
  if [ -n "${2:-}" ]; then setxkbmap "$1" -variant "$2"; else setxkbmap "$1"; fi
}

folder_attributes=
subfolders=
# write_library FILE: the abbreviations given with abbr, in one folder "E2E" with the
# attributes $folder_attributes (XML) and the subfolders $subfolders (XML).
write_library() {
  printf '%s' "<Tolvan n=\"All Abbreviations / Folders\" t=\"0\" d=\"0\" m=\"1\"><f n=\"E2E\" t=\"0\" d=\"0\"$folder_attributes>$entries$subfolders</f></Tolvan>" >"$1"
}

# wait_for_line FILE LINE PID WHAT: waits until FILE holds LINE while PID lives; fails with
# a message naming WHAT otherwise.
wait_for_line() {
  tries=0
  until grep -qx "$2" "$1" 2>/dev/null; do
    tries=$((tries + 1))
    if [ $tries -gt 100 ] || ! kill -0 "$3" 2>/dev/null; then
      echo "$4 did not get ready"
      return 1
    fi
    sleep 0.1
  done
}

cli_pid=
# start_cli TOLVAN_CLI [PREFS]: `tolvan-cli run` on the library in $work/lib.tlv, with the
# preference lines PREFS (name=value, one a line) set first.
start_cli() {
  mkdir -p "$work/config"
  if [ -n "${2:-}" ]; then
    echo "$2" | while IFS='=' read -r pref value; do
      "$1" --config-dir "$work/config" prefs set "$pref" "$value" >/dev/null || exit 1
    done || { echo "cannot set the preferences"; return 1; }
  fi
  "$1" --config-dir "$work/config" run --library "$work/lib.tlv" >"$work/cli.out" 2>"$work/cli.err" &
  cli_pid=$!
  wait_for_line "$work/cli.out" ready "$cli_pid" "tolvan-cli run" || { cat "$work/cli.err"; return 1; }
}

# stop_cli: ends `tolvan-cli run` as a user would and checks that it ended cleanly.
stop_cli() {
  kill -TERM "$cli_pid"
  wait "$cli_pid"
  cli_status=$?
  cli_pid=
  [ $cli_status -eq 0 ] || { echo "tolvan-cli run ended with $cli_status"; cat "$work/cli.err"; return 1; }
}

# wait_until_still FILE: returns once FILE has not changed for a while (the typing is over).
wait_until_still() {
  last=-
  for i in $(seq 60); do
    sleep 0.25
    now=$(cksum <"$1" 2>/dev/null)
    [ "$now" = "$last" ] && return 0
    last=$now
  done
}

# wait_active WINDOW: until the window manager has given WINDOW the focus.
wait_active() {
  for i in $(seq 50); do
    [ "$(xdotool getactivewindow 2>/dev/null)" = "$1" ] && return 0
    sleep 0.1
  done
  return 1
}
